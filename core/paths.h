#pragma once

#include <string>
#include <string_view>

namespace orvane {

// The characters that end a directory part of a path. Windows uses "\" and
// ":"; POSIX adds "/" and keeps the Windows pair, so a menu list shows the
// same captions on both.
struct PathSyntax {
    std::u16string_view separators;
    bool isSeparator(char16_t c) const noexcept;
};

const PathSyntax& windowsPathSyntax();
const PathSyntax& posixPathSyntax();
// The syntax of the system the program was built for.
const PathSyntax& nativePathSyntax();

std::u16string extractFileName(std::u16string_view path,
                               const PathSyntax& syntax = nativePathSyntax());
std::u16string extractFilePath(std::u16string_view path,
                               const PathSyntax& syntax = nativePathSyntax());
std::u16string extractFileExt(std::u16string_view path,
                              const PathSyntax& syntax = nativePathSyntax());
std::u16string changeFileExt(std::u16string_view path, std::u16string_view extension,
                             const PathSyntax& syntax = nativePathSyntax());

}  // namespace orvane
