#pragma once
// The framework's exception class: every failure that reaches the standard
// exception display is one of these, carrying only an 8-bit message.
#include <exception>
#include <string>
#include <utility>

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

class EConvertError : public Exception {
public:
    using Exception::Exception;
};
