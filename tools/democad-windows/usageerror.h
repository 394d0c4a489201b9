#pragma once

#include <stdexcept>
#include <string>

namespace democad {

// A mistake on the command line; the message is what the user is told.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace democad
