#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace orvane {

// A failure that reaches the user: the message is shown exactly as carried.
class Error : public std::runtime_error {
public:
    explicit Error(std::u16string message);
    const std::u16string& message() const noexcept { return message_; }

private:
    std::u16string message_;
};

// The error box's text: the message, with "." added when its last character
// comes after "." in code order.
std::u16string errorBoxText(std::u16string_view message);

// The application title: the executable's file name cut at its first ".",
// every character after the first in lower case.
std::u16string applicationTitle(std::u16string_view programPath);

// Replaces each "%s" of the pattern, from left to right, with the next argument.
std::u16string formatMessage(std::u16string_view pattern,
                             std::initializer_list<std::u16string_view> args);

}  // namespace orvane
