#include "core/paths.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

struct PathCase {
    std::u16string path;
    std::u16string fileName;
    std::u16string filePath;
    std::u16string extension;
};

void expectParts(const PathCase& c, const PathSyntax& syntax) {
    SCOPED_TRACE(std::string(c.path.begin(), c.path.end()));
    EXPECT_EQ(extractFileName(c.path, syntax), c.fileName);
    EXPECT_EQ(extractFilePath(c.path, syntax), c.filePath);
    EXPECT_EQ(extractFileExt(c.path, syntax), c.extension);
}

TEST(WindowsPaths, BackslashAndColonSeparate) {
    const PathCase cases[] = {
        {u"C:\\Tools\\Orvane.exe", u"Orvane.exe", u"C:\\Tools\\", u".exe"},
        {u"C:Orvane.exe", u"Orvane.exe", u"C:", u".exe"},
        {u"Orvane", u"Orvane", u"", u""},
        {u"a.b\\c", u"c", u"a.b\\", u""},
        {u"dir/sub/x.txt", u"dir/sub/x.txt", u"", u".txt"},
        {u"a.b/c", u"a.b/c", u"", u".b/c"},
        {u"C:\\a\\", u"", u"C:\\a\\", u""},
        {u"x.tar.gz", u"x.tar.gz", u"", u".gz"},
        {u"x.", u"x.", u"", u"."},
        {u"LOAD_:foo.lsp", u"foo.lsp", u"LOAD_:", u".lsp"},
        {u"", u"", u"", u""},
    };
    for (const PathCase& c : cases) expectParts(c, windowsPathSyntax());
}

TEST(PosixPaths, OnlySlashSeparates) {
    const PathCase cases[] = {
        {u"/opt/orvane/Orvane", u"Orvane", u"/opt/orvane/", u""},
        {u"/opt/orvane.d/Orvane", u"Orvane", u"/opt/orvane.d/", u""},
        {u"/opt/app/Or:vane", u"Or:vane", u"/opt/app/", u""},
        {u"/opt/a\\b/Or\\vane.bin", u"Or\\vane.bin", u"/opt/a\\b/", u".bin"},
        {u"/opt/app/Or.v:ane", u"Or.v:ane", u"/opt/app/", u".v:ane"},
    };
    for (const PathCase& c : cases) expectParts(c, posixPathSyntax());
}

#ifdef _WIN32
TEST(TextPaths, AreWindowsPathsOnWindows) {
    EXPECT_EQ(&textPathSyntax(), &windowsPathSyntax());
}
#else
TEST(TextPaths, SlashSeparatesBesideTheWindowsPair) {
    const PathCase cases[] = {
        {u"/opt/orvane/Orvane", u"Orvane", u"/opt/orvane/", u""},
        {u"/opt/orvane.d/Orvane", u"Orvane", u"/opt/orvane.d/", u""},
        {u"/opt/orvane/Orvane.bin", u"Orvane.bin", u"/opt/orvane/", u".bin"},
        {u"C:\\Tools\\Orvane.exe", u"Orvane.exe", u"C:\\Tools\\", u".exe"},
        {u"LOAD_:foo.lsp", u"foo.lsp", u"LOAD_:", u".lsp"},
        {u"a/b\\c:d.e", u"d.e", u"a/b\\c:", u".e"},
        {u"/", u"", u"/", u""},
    };
    for (const PathCase& c : cases) expectParts(c, textPathSyntax());
}
#endif

TEST(PathSyntax, NativeIsTheBuildSystems) {
#ifdef _WIN32
    EXPECT_EQ(&nativePathSyntax(), &windowsPathSyntax());
#else
    EXPECT_EQ(&nativePathSyntax(), &posixPathSyntax());
#endif
    EXPECT_TRUE(windowsPathSyntax().isSeparator(u'\\'));
    EXPECT_TRUE(windowsPathSyntax().isSeparator(u':'));
    EXPECT_FALSE(windowsPathSyntax().isSeparator(u'/'));
    EXPECT_TRUE(posixPathSyntax().isSeparator(u'/'));
    EXPECT_FALSE(posixPathSyntax().isSeparator(u':'));
    EXPECT_FALSE(posixPathSyntax().isSeparator(u'.'));
}

TEST(ChangeFileExt, ReplacesTheLastExtensionOrAppends) {
    const PathSyntax& win = windowsPathSyntax();
    EXPECT_EQ(changeFileExt(u"C:\\Tools\\Orvane.exe", u".ini", win), u"C:\\Tools\\Orvane.ini");
    EXPECT_EQ(changeFileExt(u"C:\\Tools\\Tools.exe", u".ini", win), u"C:\\Tools\\Tools.ini");
    EXPECT_EQ(changeFileExt(u"C:\\v1.2\\Orvane", u".ini", win), u"C:\\v1.2\\Orvane.ini");
    EXPECT_EQ(changeFileExt(u"a.tar.gz", u".ini", win), u"a.tar.ini");
    EXPECT_EQ(changeFileExt(u"a.txt", u"", win), u"a");
    const PathSyntax& posix = posixPathSyntax();
    EXPECT_EQ(changeFileExt(u"/opt/v1.2/Orvane", u".ini", posix), u"/opt/v1.2/Orvane.ini");
    EXPECT_EQ(changeFileExt(u"/opt/v1.2/Orvane", u".ini", win), u"/opt/v1.ini");
}

}  // namespace
}  // namespace orvane
