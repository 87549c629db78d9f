#pragma once
// Answers dialogs the way a user would: the expected modal dialogs each in
// turn, from inside the dialog's own event loop once it is showing; or every
// message box that opens, closed at once. What the message boxes showed is
// kept for the test to check.
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>
#include <vector>

struct SeenMessageBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttonCount = 0;
};

class ModalAnswerer : public QObject {
public:
    ModalAnswerer();

    // The next modal dialog gets answer (which must close it).
    void Expect(std::function<void(QWidget* dialog)> answer);
    // The next modal dialog is a message box: it is recorded and its OK
    // (or only) button pressed.
    void ExpectMessageBox();

    // Dialogs that were expected and answered.
    int Answered() const { return answered_; }
    bool AllAnswered() const { return pending_.empty(); }
    const std::vector<SeenMessageBox>& MessageBoxes() const { return boxes_; }

private:
    void Poll();

    QTimer poll_;
    std::deque<std::function<void(QWidget*)>> pending_;
    QPointer<QWidget> lastAnswered_;
    int answered_ = 0;
    std::vector<SeenMessageBox> boxes_;
};

// Message boxes open now, the one on top last.
std::vector<QMessageBox*> OpenMessageBoxes();

// While it lives, every message box that opens is recorded and closed with
// its OK button, as a user would, so that no box can stop a test.
class BoxAnswerer {
public:
    BoxAnswerer();
    const std::vector<SeenMessageBox>& seen() const { return seen_; }
    std::vector<QString> texts() const;

private:
    QTimer poll_;
    std::vector<SeenMessageBox> seen_;
};
