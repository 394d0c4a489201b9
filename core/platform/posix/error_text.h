#pragma once

#include <string>

namespace orvane::platform {

// The system's text for an errno value, in UTF-16.
std::u16string errorText(int error);

}  // namespace orvane::platform
