#pragma once
// While it lives, ALSA's messages on the calling thread go to a logging
// category (platform/win/Logging.h) instead of the terminal: a card or
// sound server that is missing is an answer to the caller, not news for
// the terminal. ALSA's handler is the thread's own, so other users of ALSA
// keep their messages.
#include <QLoggingCategory>
#include <cstdarg>
#include <cstdio>
// This version of the header declares snd_lib_error_set_local outside its
// extern "C" block; included first, its include guard keeps it so.
extern "C" {
#include <alsa/error.h>
}
#include <alsa/asoundlib.h>

class QuietAlsaErrors {
public:
    explicit QuietAlsaErrors(const QLoggingCategory& (*category)())
        : outer_(category_), previous_(snd_lib_error_set_local(&toCategory))
    {
        category_ = category;
    }
    ~QuietAlsaErrors()
    {
        snd_lib_error_set_local(previous_);
        category_ = outer_;
    }
    QuietAlsaErrors(const QuietAlsaErrors&) = delete;
    QuietAlsaErrors& operator=(const QuietAlsaErrors&) = delete;

private:
    static void toCategory(const char* file, int line, const char* function, int error, const char* format,
                           va_list arguments)
    {
        const QLoggingCategory& category = category_();
        if (!category.isDebugEnabled())
            return;
        char text[512];
        std::vsnprintf(text, sizeof text, format, arguments);
        qCDebug(category) << "ALSA:" << text << (error != 0 ? snd_strerror(error) : "") << "at" << function << file
                          << line;
    }

    static inline thread_local const QLoggingCategory& (*category_)() = nullptr;
    const QLoggingCategory& (*outer_)();
    snd_local_error_handler_t previous_;
};
