#include "framework/FocusFrame.h"

#include <QApplication>
#include <QPainter>
#include <QWidget>

namespace {

constexpr int Margin = 2;

QColor ContrastingColour(const QColor& background)
{
    const double luminance = 0.299 * background.red() + 0.587 * background.green() + 0.114 * background.blue();
    return luminance < 128 ? QColor(Qt::white) : QColor(Qt::black);
}

}  // namespace

FocusFrame::FocusFrame(QWidget* window) : QObject(window), window_(window)
{
    connect(qApp, &QApplication::focusChanged, this, &FocusFrame::FocusChanged);
}

void FocusFrame::FocusChanged(QWidget* old, QWidget* now)
{
    const auto inWindow = [this](const QWidget* widget) { return widget != nullptr && widget->window() == window_; };
    if (inWindow(old) || inWindow(now))
        window_->update();
}

void FocusFrame::Paint(QPainter& painter, const QColor& background) const
{
    const QWidget* focused = window_->focusWidget();
    if (!window_->isActiveWindow() || focused == nullptr || focused == window_ || !focused->isVisible())
        return;
    const QRect control(focused->mapTo(window_, QPoint(0, 0)), focused->size());
    QPen pen(ContrastingColour(background));
    pen.setWidth(Margin);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    // A pen of width 2 is centred on the path: this path puts both of its
    // pixels outside the control.
    painter.drawRect(QRectF(control).adjusted(-Margin / 2.0, -Margin / 2.0, Margin / 2.0, Margin / 2.0));
}
