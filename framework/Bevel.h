#pragma once
// A bevel: a frame drawn around other controls, lowered or raised. It
// takes no input.
#include <QFrame>

class TBevel : public QFrame {
    Q_OBJECT
public:
    enum TBevelShape { bsBox, bsFrame };
    Q_ENUM(TBevelShape)
    enum TBevelStyle { bsLowered, bsRaised };
    Q_ENUM(TBevelStyle)

private:
    Q_PROPERTY(TBevelShape Shape READ Shape WRITE SetShape)
    Q_PROPERTY(TBevelStyle Style READ Style WRITE SetStyle)

public:
    explicit TBevel(QWidget* owner = nullptr);

    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape shape);
    TBevelStyle Style() const { return style_; }
    void SetStyle(TBevelStyle style);

private:
    void UpdateFrame();

    TBevelShape shape_ = bsBox;
    TBevelStyle style_ = bsLowered;
};
