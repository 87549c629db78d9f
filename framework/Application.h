#pragma once
// The application object: owns the forms, knows the main form, runs the
// message loop, shows message boxes, and is the standard exception display
// for everything that leaves an event handler or the start-up.
#include "framework/Exception.h"
#include "framework/Forms.h"
#include "platform/win/WinTypes.h"

#include <QObject>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_ICONSTOP = 0x00000010;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONINFORMATION = 0x00000040;
constexpr int IDOK = 1;

class TApplication : public QObject {
    Q_OBJECT
public:
    // exeName: the executable's full path, which gives the title and the
    // folder of the program's files. Becomes the global Application.
    explicit TApplication(std::string exeName);
    // Destroys the forms, the most recently created first.
    ~TApplication() override;
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    // Creates a form owned by the application; reference is set only when
    // the form's constructor succeeds. The first form is the main form.
    template <class T>
    void CreateForm(T*& reference)
    {
        std::unique_ptr<T, TFormDeleter> form(new T(this));
        reference = form.get();
        if (mainForm_ == nullptr)
            mainForm_ = form.get();
        forms_.push_back(std::move(form));
    }

    // Shows the main form and dispatches messages until it is closed.
    void Run();
    // Ends the message loop.
    void Terminate();

    TForm* MainForm() const { return mainForm_; }
    const std::string& ExeName() const { return exeName_; }
    const std::string& Title() const { return title_; }

    // A modal box over all the application's windows; answers IDOK. Text
    // and caption are 8-bit strings in the locale's encoding.
    int MessageBox(const std::string& text, const std::string& caption, UINT flags);
    // A box of MessageBox is open (its loop runs handlers meanwhile).
    bool MessageBoxOpen() const { return openBoxes_ > 0; }

    // The standard exception display.
    void ShowException(const Exception& exception);
    // Shows a caught exception: a framework exception as it is, anything
    // else as a framework exception with an empty message.
    void HandleException(std::exception_ptr exception);

private:
    std::string exeName_;
    std::string title_;
    TForm* mainForm_ = nullptr;
    int openBoxes_ = 0;
    std::vector<std::unique_ptr<TForm, TFormDeleter>> forms_;
};

extern TApplication* Application;

// Runs handler; whatever leaves it goes to Application's exception display,
// so it never reaches Qt's event loop.
void RunGuarded(const std::function<void()>& handler);

// The title of an executable: its file name up to the first ".", first
// character upper-cased, the rest lower-cased ("kolviplayer" gives
// "Kolviplayer").
std::string ApplicationTitle(std::string_view exeName);

// What the exception display shows: the message, with "." added when the
// first byte of its last character sorts above ".".
std::string ExceptionDisplayText(std::string_view message);

// The full path of the running executable, as the file system names it.
std::string ExecutablePath();
