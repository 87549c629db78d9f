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
    void expect(std::function<void(QWidget* dialog)> answer);
    // The next modal dialog is a message box: it is recorded and its OK
    // (or only) button pressed.
    void expectMessageBox();

    // Dialogs that were expected and answered.
    int answered() const { return answered_; }
    bool allAnswered() const { return pending_.empty(); }
    const std::vector<SeenMessageBox>& messageBoxes() const { return boxes_; }

private:
    void poll();

    QTimer poll_;
    std::deque<std::function<void(QWidget*)>> pending_;
    QPointer<QWidget> lastAnswered_;
    int answered_ = 0;
    std::vector<SeenMessageBox> boxes_;
};

// Message boxes open now, the one on top last.
std::vector<QMessageBox*> openMessageBoxes();

// While it lives, looks at the screen every 20 ms as a user would: while
// message boxes are open, look gets them (the one on top last) and may
// close one. Counts the most that were open at once.
class MessageBoxWatch {
public:
    explicit MessageBoxWatch(std::function<void(const std::vector<QMessageBox*>& boxes)> look);
    std::size_t mostAtOnce() const { return mostAtOnce_; }

private:
    QTimer poll_;
    std::size_t mostAtOnce_ = 0;
};

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
