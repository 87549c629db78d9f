#include "framework/Label.h"

#include <QEvent>

TLabel::TLabel(QWidget* owner) : QLabel(owner)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TLabel::SetCaption(const QString& caption)
{
    setText(caption);
    AdjustBounds();
}

void TLabel::SetAutoSize(bool autoSize)
{
    autoSize_ = autoSize;
    AdjustBounds();
}

void TLabel::Loaded()
{
    loaded_ = true;
    AdjustBounds();
}

void TLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        AdjustBounds();
}

void TLabel::AdjustBounds()
{
    // While the layout is read its own width and height hold; the text's
    // size wins only afterwards.
    if (autoSize_ && loaded_)
        resize(sizeHint());
}
