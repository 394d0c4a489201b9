#include "core/platform/read_file.h"

#include "core/platform/platform.h"

namespace orvane::platform {

namespace {

// Room for the few lines an edit adds, so that editing a large file in
// memory does not move it to a second buffer.
constexpr std::size_t kEditRoomBytes = 64 * 1024;

}  // namespace

void readFileInPieces(std::u16string_view path, const std::function<bool(std::string_view)>& take) {
    readOpenedFile(path, {}, take);
}

std::string readWholeFile(std::u16string_view path) {
    std::string content;
    // Growing by doubling would hold up to twice a large file at once.
    readOpenedFile(
        path, [&content](std::size_t size) { content.reserve(size + kEditRoomBytes); },
        [&content](std::string_view piece) {
            content.append(piece);
            return true;
        });
    return content;
}

}  // namespace orvane::platform
