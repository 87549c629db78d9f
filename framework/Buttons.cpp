#include "framework/Buttons.h"

TSpeedButton::TSpeedButton(QWidget* owner) : QPushButton(owner)
{
    setFocusPolicy(Qt::NoFocus);
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, &TSpeedButton::OnClick);
}
