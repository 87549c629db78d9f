#include "tests/support/ModalAnswerer.h"

#include <QAbstractButton>
#include <QApplication>

namespace {

SeenMessageBox seenBox(const QMessageBox* box)
{
    return {box->windowTitle(), box->text(), box->icon(), static_cast<int>(box->buttons().size())};
}

}  // namespace

ModalAnswerer::ModalAnswerer()
{
    poll_.setInterval(5);
    connect(&poll_, &QTimer::timeout, this, &ModalAnswerer::poll);
}

void ModalAnswerer::expect(std::function<void(QWidget*)> answer)
{
    pending_.push_back(std::move(answer));
    poll_.start();
}

void ModalAnswerer::expectMessageBox()
{
    expect([this](QWidget* dialog) {
        auto* box = qobject_cast<QMessageBox*>(dialog);
        if (box == nullptr) {
            dialog->close();
            boxes_.push_back({"(not a message box)", dialog->metaObject()->className(), QMessageBox::NoIcon, 0});
            return;
        }
        boxes_.push_back(seenBox(box));
        QAbstractButton* ok = box->button(QMessageBox::Ok);
        (ok != nullptr ? ok : box->buttons().front())->click();
    });
}

void ModalAnswerer::poll()
{
    QWidget* modal = QApplication::activeModalWidget();
    // A dialog that was answered may still be closing; wait for the next.
    if (modal == nullptr || !modal->isVisible() || modal == lastAnswered_ || pending_.empty())
        return;
    auto answer = std::move(pending_.front());
    pending_.pop_front();
    lastAnswered_ = modal;
    ++answered_;
    answer(modal);
    if (pending_.empty())
        poll_.stop();
}

std::vector<QMessageBox*> openMessageBoxes()
{
    std::vector<QMessageBox*> boxes;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(widget); box != nullptr && box->isVisible())
            boxes.push_back(box);
    return boxes;
}

MessageBoxWatch::MessageBoxWatch(std::function<void(const std::vector<QMessageBox*>& boxes)> look)
{
    QObject::connect(&poll_, &QTimer::timeout, [this, look = std::move(look)] {
        const std::vector<QMessageBox*> boxes = openMessageBoxes();
        mostAtOnce_ = std::max(mostAtOnce_, boxes.size());
        if (!boxes.empty())
            look(boxes);
    });
    poll_.start(20);
}

BoxAnswerer::BoxAnswerer()
{
    QObject::connect(&poll_, &QTimer::timeout, [this] {
        for (QMessageBox* box : openMessageBoxes()) {
            seen_.push_back(seenBox(box));
            if (QAbstractButton* ok = box->button(QMessageBox::Ok))
                ok->click();
            else
                box->close();
        }
    });
    poll_.start(20);
}

std::vector<QString> BoxAnswerer::texts() const
{
    std::vector<QString> texts;
    for (const SeenMessageBox& box : seen_)
        texts.push_back(box.text);
    return texts;
}
