#pragma once
// A frame that a window draws around its control holding the keyboard
// focus, two pixels outside the control, in white or black, whichever stands
// out more from the window's colour. The style's own focus marks are drawn
// inside the controls in its colours, and are lost on a strong window colour.
#include <QColor>
#include <QObject>

class QPainter;
class QWidget;

class FocusFrame : public QObject {
public:
    // window: the top-level widget that paints the frame; it is repainted
    // whenever the focus enters, moves within or leaves it.
    explicit FocusFrame(QWidget* window);

    // Draws the frame on the window while it is active; called from its paint event.
    void Paint(QPainter& painter, const QColor& background) const;

private:
    void FocusChanged(QWidget* old, QWidget* now);

    QWidget* window_;
};
