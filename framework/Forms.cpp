#include "Forms.h"

#include "Application.h"
#include "FormLoader.h"

#include <QCloseEvent>
#include <QFile>
#include <QResizeEvent>
#include <QShowEvent>

TForm::TForm(QObject* owner, const QMetaObject& formClass, const QString& layoutPath)
    : TWinControl(nullptr), owner_(owner)
{
    QFile layout(layoutPath);
    if (!layout.open(QIODevice::ReadOnly))
        throw Exception("Form layout " + layoutPath.toStdString() + " is missing");
    LoadFormLayout(*this, formClass, layout.readAll(), layoutPath);
}

QObject* TForm::FindComponent(const char* name) const
{
    return findChild<QObject*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
}

void TForm::SetColor(TColor color)
{
    color_ = color;
    QPalette colours = palette();
    colours.setColor(QPalette::Window, ColorToQColor(color));
    setPalette(colours);
    setAutoFillBackground(true);
}

void TForm::SetHeight(int height)
{
    const int frameExtra = frameGeometry().height() - geometry().height();
    resize(width(), std::max(0, height - frameExtra));
}

void TForm::Show()
{
    show();
    raise();
    activateWindow();
}

void TForm::BeforeDestruction()
{
    hide();
    emit OnDestroy();
}

void TForm::showEvent(QShowEvent* event)
{
    TWinControl::showEvent(event);
    if (!event->spontaneous())
        emit OnShow();
}

void TForm::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (Application != nullptr && Application->MainForm() == this)
        Application->Terminate();
}

void TForm::resizeEvent(QResizeEvent* event)
{
    TWinControl::resizeEvent(event);
    anchors_.Apply(event->size());
}

void TFormDeleter::operator()(TForm* form) const
{
    form->BeforeDestruction();
    delete form;
}
