#include "framework/Forms.h"

#include "framework/Application.h"
#include "framework/FormLoader.h"
#include "framework/ScreenFit.h"

#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>
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

void TForm::MakeFullyVisible()
{
    const QRect frame = frameGeometry();
    QScreen* target = QGuiApplication::screenAt(frame.center());
    if (target == nullptr)
        target = screen();
    if (target == nullptr)
        return;
    const QRect fitted = FitInside(frame, target->availableGeometry());
    if (fitted == frame)
        return;
    resize(fitted.size() - (frame.size() - size()));
    move(fitted.topLeft());
}

void TForm::BeforeDestruction()
{
    hide();
    emit OnDestroy();
}

void TForm::showEvent(QShowEvent* event)
{
    TWinControl::showEvent(event);
    if (event->spontaneous())
        return;
    MakeFullyVisible();
    // The window manager's frame is known only once the window is up.
    QTimer::singleShot(0, this, &TForm::MakeFullyVisible);
    emit OnShow();
}

void TForm::closeEvent(QCloseEvent* event)
{
    if (Application != nullptr && Application->MainForm() == this) {
        event->accept();
        Application->Terminate();
        return;
    }
    // A secondary form is only hidden. Letting Qt close it would also drop
    // its native window, and with it the frame that placing it relies on.
    event->ignore();
    hide();
}

void TForm::resizeEvent(QResizeEvent* event)
{
    TWinControl::resizeEvent(event);
    anchors_.Apply(event->size());
}

void TForm::SetTabOrder(std::vector<QWidget*> controls)
{
    tabOrder_.assign(controls.begin(), controls.end());
}

void TForm::changeEvent(QEvent* event)
{
    TWinControl::changeEvent(event);
    // The focus frame shows only while the window is active.
    if (event->type() == QEvent::ActivationChange)
        update();
    // A window that becomes active with no control made active gives the
    // focus to the first control in tab order that can take it.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && focusWidget() == nullptr)
        if (QWidget* first = NextInTabOrder(nullptr, true))
            first->setFocus(Qt::ActiveWindowFocusReason);
}

void TForm::paintEvent(QPaintEvent* event)
{
    TWinControl::paintEvent(event);
    QPainter painter(this);
    focusFrame_.Paint(painter, ColorToQColor(color_));
}

bool TForm::focusNextPrevChild(bool next)
{
    if (tabOrder_.empty())
        return TWinControl::focusNextPrevChild(next);
    if (QWidget* target = NextInTabOrder(focusWidget(), next)) {
        target->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }
    return false;
}

QWidget* TForm::NextInTabOrder(QWidget* from, bool forward) const
{
    const auto count = static_cast<std::ptrdiff_t>(tabOrder_.size());
    std::ptrdiff_t at = forward ? -1 : count;
    for (std::ptrdiff_t i = 0; i < count; ++i)
        if (tabOrder_[static_cast<std::size_t>(i)] == from)
            at = i;
    for (std::ptrdiff_t step = 1; step <= count; ++step) {
        const std::ptrdiff_t index = ((at + (forward ? step : -step)) % count + count) % count;
        QWidget* control = tabOrder_[static_cast<std::size_t>(index)];
        if (control != nullptr && control->isVisibleTo(const_cast<TForm*>(this)) && control->isEnabled() &&
            (control->focusPolicy() & Qt::TabFocus))
            return control;
    }
    return nullptr;
}

void TFormDeleter::operator()(TForm* form) const
{
    form->BeforeDestruction();
    delete form;
}
