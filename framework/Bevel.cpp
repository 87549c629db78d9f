#include "framework/Bevel.h"

TBevel::TBevel(QWidget* owner) : QFrame(owner)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    UpdateFrame();
}

void TBevel::SetShape(TBevelShape shape)
{
    shape_ = shape;
    UpdateFrame();
}

void TBevel::SetStyle(TBevelStyle style)
{
    style_ = style;
    UpdateFrame();
}

void TBevel::UpdateFrame()
{
    // A box is a shaded panel; a frame is the etched double line.
    setFrameShape(shape_ == bsFrame ? QFrame::Box : QFrame::Panel);
    setFrameShadow(style_ == bsLowered ? QFrame::Sunken : QFrame::Raised);
    setLineWidth(1);
}
