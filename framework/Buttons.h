#pragma once
// A speed button: a raised push button that never takes the keyboard focus
// and reports clicks as OnClick.
#include <QPushButton>

class TSpeedButton : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
public:
    explicit TSpeedButton(QWidget* owner = nullptr);

    QString Caption() const { return text(); }
    void SetCaption(const QString& caption) { setText(caption); }

Q_SIGNALS:
    void OnClick();
};
