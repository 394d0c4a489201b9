#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

// The one read each backend provides; the whole-file and piecewise reads of
// platform.h are built on it the same way on every system.
namespace orvane::platform {

// Reads the file piece by piece under the rules of readWholeFile; sized
// learns the size the file has when it is opened, before the first piece.
void readOpenedFile(std::u16string_view path, const std::function<void(std::size_t)>& sized,
                    const std::function<bool(std::string_view)>& take);

}  // namespace orvane::platform
