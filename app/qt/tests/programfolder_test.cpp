#include "app/qt/programfolder.h"

#include <gtest/gtest.h>

#include <fstream>

#include "core/tests/scratch_dir.h"
#include "core/utf.h"

namespace orvane::app {
namespace {

using orvane::testing::ScratchDir;

constexpr char16_t kExecutable[] = u"/usr/lib/orvane/Orvane";

std::u16string text(const std::filesystem::path& path) { return fromFileNameBytes(path.string()); }

TEST(ProgramFolderUnset, TheExecutablesPathIsTheProgramPath) {
    EXPECT_EQ(programPathIn(kExecutable, nullptr), kExecutable);
}

TEST(ProgramFolderUnset, AnEmptyValueCountsAsUnset) {
    EXPECT_EQ(programPathIn(kExecutable, ""), kExecutable);
}

TEST(ProgramFolderGiven, TheFolderTakesTheExecutablesFileName) {
    const ScratchDir dir;
    EXPECT_EQ(programPathIn(kExecutable, dir.path().c_str()), text(dir / "Orvane"));
}

TEST(ProgramFolderGiven, TrailingSlashesAreDropped) {
    const ScratchDir dir;
    EXPECT_EQ(programPathIn(kExecutable, (dir.path().string() + "//").c_str()), text(dir / "Orvane"));
}

TEST(ProgramFolderGiven, TheRootFolderHasOneSlash) {
    EXPECT_EQ(programPathIn(kExecutable, "/"), u"/Orvane");
}

TEST(ProgramFolderGiven, ARelativeFolderIsTakenFromTheCurrentDirectory) {
    const ScratchDir dir;
    std::filesystem::create_directory(dir / "menus");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const std::u16string path = programPathIn(kExecutable, "menus");
    std::filesystem::current_path(previous);
    EXPECT_EQ(path, text(std::filesystem::canonical(dir.path()) / "menus" / "Orvane"));
}

TEST(ProgramFolderRefused, AMissingFolderIsRefusedWithTheSystemsReason) {
    const ScratchDir dir;
    const std::string missing = (dir / "missing").string();
    try {
        programPathIn(kExecutable, missing.c_str());
        FAIL() << "no error";
    } catch (const ProgramFolderError& error) {
        EXPECT_EQ(std::string(error.what()), "ORVANE_PROGRAM_DIR: cannot use \"" + missing +
                                                 "\" as the program folder: No such file or directory");
    }
}

TEST(ProgramFolderRefused, AFileIsNoFolder) {
    const ScratchDir dir;
    std::ofstream(dir / "file") << "x";
    EXPECT_THROW(programPathIn(kExecutable, (dir / "file").c_str()), ProgramFolderError);
}

}  // namespace
}  // namespace orvane::app
