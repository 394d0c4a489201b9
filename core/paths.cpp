#include "core/paths.h"

namespace orvane {

namespace {

// Index of the last separator, or npos.
std::size_t lastSeparator(std::u16string_view path, const PathSyntax& syntax) {
    for (std::size_t i = path.size(); i > 0; --i) {
        if (syntax.isSeparator(path[i - 1])) return i - 1;
    }
    return std::u16string_view::npos;
}

// Index of the extension's ".", or npos when the path has no extension.
std::size_t extensionStart(std::u16string_view path, const PathSyntax& syntax) {
    for (std::size_t i = path.size(); i > 0; --i) {
        const char16_t c = path[i - 1];
        if (c == u'.') return i - 1;
        if (syntax.isSeparator(c)) break;
    }
    return std::u16string_view::npos;
}

}  // namespace

bool PathSyntax::isSeparator(char16_t c) const noexcept {
    return separators.find(c) != std::u16string_view::npos;
}

const PathSyntax& windowsPathSyntax() {
    static const PathSyntax syntax{u"\\:"};
    return syntax;
}

const PathSyntax& posixPathSyntax() {
    static const PathSyntax syntax{u"/"};
    return syntax;
}

const PathSyntax& nativePathSyntax() {
#ifdef _WIN32
    return windowsPathSyntax();
#else
    return posixPathSyntax();
#endif
}

const PathSyntax& textPathSyntax() {
#ifdef _WIN32
    return windowsPathSyntax();
#else
    static const PathSyntax syntax{u"\\:/"};
    return syntax;
#endif
}

std::u16string extractFileName(std::u16string_view path, const PathSyntax& syntax) {
    const std::size_t at = lastSeparator(path, syntax);
    return std::u16string(at == std::u16string_view::npos ? path : path.substr(at + 1));
}

std::u16string extractFilePath(std::u16string_view path, const PathSyntax& syntax) {
    const std::size_t at = lastSeparator(path, syntax);
    return at == std::u16string_view::npos ? std::u16string() : std::u16string(path.substr(0, at + 1));
}

std::u16string extractFileExt(std::u16string_view path, const PathSyntax& syntax) {
    const std::size_t at = extensionStart(path, syntax);
    return at == std::u16string_view::npos ? std::u16string() : std::u16string(path.substr(at));
}

std::u16string changeFileExt(std::u16string_view path, std::u16string_view extension,
                             const PathSyntax& syntax) {
    const std::size_t at = extensionStart(path, syntax);
    std::u16string result(at == std::u16string_view::npos ? path : path.substr(0, at));
    result.append(extension);
    return result;
}

}  // namespace orvane
