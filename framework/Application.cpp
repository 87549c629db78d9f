#include "framework/Application.h"

#include "framework/Accessibility.h"
#include "framework/AnsiText.h"
#include "platform/files/CodePage.h"
#include "framework/SysUtils.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QShortcut>
#include <QtGlobal>
#include <unistd.h>

TApplication* Application = nullptr;

namespace {

QMessageBox::Icon IconOf(UINT flags)
{
    switch (flags & 0xF0) {
    case MB_ICONSTOP:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

}  // namespace

TApplication::TApplication(std::string exeName) : exeName_(std::move(exeName)), title_(ApplicationTitle(exeName_))
{
    // The loop ends when the main form closes, not with the last window.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    InstallAccessibleInterfaces();
    Application = this;
}

TApplication::~TApplication()
{
    while (!forms_.empty())
        forms_.pop_back();
    mainForm_ = nullptr;
    if (Application == this)
        Application = nullptr;
}

void TApplication::Run()
{
    if (mainForm_ == nullptr)
        return;
    mainForm_->show();
    QApplication::exec();
}

void TApplication::Terminate() { QCoreApplication::exit(0); }

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags)
{
    QMessageBox box(IconOf(flags), FromAnsi(caption), FromAnsi(text), QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    // As on Windows, Ctrl+C takes the box's caption and text to the clipboard.
    QShortcut copy(QKeySequence::Copy, &box);
    QObject::connect(&copy, &QShortcut::activated, &box, [&box] {
        QGuiApplication::clipboard()->setText(box.windowTitle() + "\n\n" + box.text() + "\n");
    });
    const QPointer<QWidget> previouslyActive = QApplication::activeWindow();
    ++openBoxes_;
    box.exec();
    --openBoxes_;
    // As on Windows, the window that was active before is active again.
    if (previouslyActive != nullptr && previouslyActive->isVisible())
        previouslyActive->activateWindow();
    return IDOK;
}

void TApplication::ShowException(const Exception& exception)
{
    MessageBox(ExceptionDisplayText(exception.Message()), title_, MB_OK | MB_ICONSTOP);
}

void TApplication::HandleException(std::exception_ptr exception)
{
    try {
        std::rethrow_exception(exception);
    } catch (const Exception& e) {
        ShowException(e);
    } catch (...) {
        ShowException(Exception(""));
    }
}

void RunGuarded(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (...) {
        if (Application != nullptr)
            Application->HandleException(std::current_exception());
        else
            qWarning("An exception left an event handler while no application object exists");
    }
}

std::string ApplicationTitle(std::string_view exeName)
{
    std::string name = ExtractFileName(exeName);
    name = name.substr(0, name.find('.'));
    if (name.empty())
        return name;
    const std::size_t first = characterLength(name, 0);
    return AnsiUpperCase(std::string_view(name).substr(0, first)) + AnsiLowerCase(std::string_view(name).substr(first));
}

std::string ExceptionDisplayText(std::string_view message)
{
    std::string text(message);
    if (text.empty())
        return text;
    std::size_t last = 0;
    for (std::size_t at = 0; at < text.size(); at += characterLength(text, at))
        last = at;
    if (static_cast<unsigned char>(text[last]) > '.')
        text += '.';
    return text;
}

std::string ExecutablePath()
{
    std::string path(256, '\0');
    while (true) {
        const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
        if (length < 0)
            return QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString();
        if (static_cast<std::size_t>(length) < path.size()) {
            path.resize(static_cast<std::size_t>(length));
            return path;
        }
        path.resize(path.size() * 2);
    }
}
