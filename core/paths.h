#pragma once

#include <string>
#include <string_view>

namespace orvane {

// The characters that end a directory part of a path.
struct PathSyntax {
    std::u16string_view separators;
    bool isSeparator(char16_t c) const noexcept;
};

// "\" and ":".
const PathSyntax& windowsPathSyntax();
// "/" alone: a POSIX file name may hold "\" and ":".
const PathSyntax& posixPathSyntax();
// The syntax of the system the program was built for: its own paths.
const PathSyntax& nativePathSyntax();
// Paths written in text (menu list lines, the CAD's answers). On POSIX they
// may follow either system, so "/" joins the Windows pair there and a menu
// list shows the same captions on both.
const PathSyntax& textPathSyntax();

std::u16string extractFileName(std::u16string_view path,
                               const PathSyntax& syntax = nativePathSyntax());
std::u16string extractFilePath(std::u16string_view path,
                               const PathSyntax& syntax = nativePathSyntax());
std::u16string extractFileExt(std::u16string_view path,
                              const PathSyntax& syntax = nativePathSyntax());
std::u16string changeFileExt(std::u16string_view path, std::u16string_view extension,
                             const PathSyntax& syntax = nativePathSyntax());

}  // namespace orvane
