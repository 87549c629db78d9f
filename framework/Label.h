#pragma once
// A static text. With AutoSize (the default) it takes the size of its text
// once the layout is read and whenever its caption or font changes; its
// left and top stay.
#include <QLabel>

class TLabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
public:
    explicit TLabel(QWidget* owner = nullptr);

    QString Caption() const { return text(); }
    void SetCaption(const QString& caption);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);

    void Loaded();

protected:
    void changeEvent(QEvent* event) override;

private:
    void AdjustBounds();

    bool autoSize_ = true;
    bool loaded_ = false;
};
