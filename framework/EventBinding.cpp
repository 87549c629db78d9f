#include "framework/EventBinding.h"

#include "framework/Application.h"

EventBinding::EventBinding(QObject* sender, QObject* receiver, QMetaMethod handler)
    : QObject(sender), sender_(sender), receiver_(receiver), handler_(handler)
{
}

void EventBinding::Fire()
{
    if (!receiver_)
        return;
    RunGuarded([this] { handler_.invoke(receiver_.data(), Qt::DirectConnection, Q_ARG(QObject*, sender_)); });
}
