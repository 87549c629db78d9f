#pragma once
// One event of a component bound to a handler slot of its form: the
// component's signal fires the binding, which calls the handler with the
// component as Sender under the application's exception guard.
#include <QMetaMethod>
#include <QObject>
#include <QPointer>

class EventBinding : public QObject {
    Q_OBJECT
public:
    // Lives as a child of sender; handler is a method of receiver taking
    // (QObject* Sender).
    EventBinding(QObject* sender, QObject* receiver, QMetaMethod handler);

public Q_SLOTS:
    void Fire();

private:
    QObject* sender_;
    QPointer<QObject> receiver_;
    QMetaMethod handler_;
};
