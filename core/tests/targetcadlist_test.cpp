#include "core/targetcadlist.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "core/tests/paneltestfiles.h"

namespace orvane {
namespace {

using testing::kUtf8Mark;
using testing::ProgramDirectory;
using Entries = std::vector<std::u16string>;

constexpr char kListFile[] = "TargetCAD_APIVersion.txt";

class TargetCADFileTest : public ::testing::Test {
protected:
    std::optional<std::u16string> lookUp(const std::string& fileText, std::u16string_view progId) {
        dir.write(kListFile, fileText);
        return FindTargetCADName(dir.directory(), progId);
    }
    ProgramDirectory dir;
};

TEST_F(TargetCADFileTest, LookupWithoutFileFindsNothing) {
    EXPECT_EQ(FindTargetCADName(dir.directory(), u"BricscadApp.AcadApplication"), std::nullopt);
}

TEST_F(TargetCADFileTest, LookupMatchesTabAndProgIdAsASubstringInFileOrder) {
    EXPECT_EQ(lookUp("abc\tBricscadApp.AcadApplication\r\n", u"BricscadApp.AcadApplication"), u"abc");
    EXPECT_EQ(lookUp("abc\tbricscadapp.acadapplication\r\n", u"BricscadApp.AcadApplication"), std::nullopt);
    EXPECT_EQ(lookUp("X\tBricscadApp.AcadApplication\nY\tBricscadApp.Acad\n", u"BricscadApp.Acad"), u"X");
    EXPECT_EQ(lookUp("Y\tBricscadApp.Acad\nX\tBricscadApp.AcadApplication\n", u"BricscadApp.Acad"), u"Y");
    EXPECT_EQ(lookUp("A\tB\tC\n", u"C"), u"A\tB");
    EXPECT_EQ(lookUp("\tP\n", u"P"), u"");
    EXPECT_EQ(lookUp("no tab P\nfirst\tQ\tR\nsecond\tP\n", u""), u"first");
    EXPECT_EQ(lookUp("P\nPP\n", u"P"), std::nullopt);
}

TEST_F(TargetCADFileTest, UnreadableFileRaisesTheOpenError) {
    dir.makeUnreadable(kListFile);
    EXPECT_THROW(FindTargetCADName(dir.directory(), u"P"), Error);
    TargetCADList list(dir.directory());
    EXPECT_THROW(list.Reload(), Error);
    EXPECT_EQ(list.count(), 0u);
}

TEST(TargetCADEntryTest, SplitsAtTheFirstTab) {
    EXPECT_EQ(splitTargetCADEntry(u"A\tB\tC"), (TargetCADEntry{u"A", u"B\tC"}));
    EXPECT_EQ(splitTargetCADEntry(u"no tab"), (TargetCADEntry{u"", u"no tab"}));
    EXPECT_EQ(splitTargetCADEntry(u""), (TargetCADEntry{u"", u""}));
    EXPECT_EQ(splitTargetCADEntry(u"\t"), (TargetCADEntry{u"", u""}));
}

class TargetCADListTest : public TargetCADFileTest {
protected:
    TargetCADList& loaded(const std::string& fileText) {
        dir.write(kListFile, fileText);
        EXPECT_TRUE(list.Reload());
        return list;
    }
    TargetCADList list{dir.directory()};
};

TEST_F(TargetCADListTest, ReloadSortsClearsTheSelectionAndKeepsEmptyLines) {
    loaded("b\nC\na\n\n\r");
    EXPECT_EQ(list.entries().entries(), (Entries{u"", u"", u"a", u"b", u"C"}));
    list.select(2);
    loaded(kUtf8Mark);
    EXPECT_EQ(list.count(), 0u);
    EXPECT_EQ(list.selectedIndex(), std::nullopt);
    EXPECT_EQ(list.readEncoding(), TextEncoding::Utf8);
}

TEST_F(TargetCADListTest, ReloadWithoutFileChangesNothing) {
    loaded("x\t1\ny\t2\n");
    list.select(1);
    std::filesystem::remove(dir.path() / kListFile);
    EXPECT_FALSE(list.Reload());
    EXPECT_EQ(list.count(), 2u);
    EXPECT_EQ(list.selectedIndex(), 1u);
    EXPECT_EQ(list.readEncoding(), TextEncoding::Ansi);
}

TEST_F(TargetCADListTest, SelectProgIdTakesTheFirstMatchInDisplayOrder) {
    loaded("Y\tBricscadApp.Acad\nX\tBricscadApp.AcadApplication\nA\tB\tC\n");
    EXPECT_EQ(list.SelectProgID(u"BricscadApp.Acad"), 1u);
    EXPECT_EQ(list.SplitEntry(1).label, u"X");
    EXPECT_EQ(list.SelectProgID(u"C"), 0u);
    EXPECT_EQ(list.SplitEntry(0), (TargetCADEntry{u"A", u"B\tC"}));
    EXPECT_EQ(list.SelectProgID(u"Nothing"), std::nullopt);
    EXPECT_EQ(list.selectedIndex(), 0u);
}

TEST_F(TargetCADListTest, SavesInTheEncodingReadWithCrLfAfterEveryLine) {
    loaded(kUtf8Mark + "図面\tP\nlast without break");
    list.Save();
    EXPECT_EQ(dir.read(kListFile), kUtf8Mark + "last without break\r\n図面\tP\r\n");

    loaded(std::string("\xFF\xFE" "a\0\t\0P\0", 8));
    list.Save();
    EXPECT_EQ(dir.read(kListFile), std::string("\xFF\xFE" "a\0\t\0P\0\r\0\n\0", 12));

    loaded("b\tQ\na\tP\n");
    list.Save();
    EXPECT_EQ(dir.read(kListFile), "a\tP\r\nb\tQ\r\n");
}

TEST_F(TargetCADListTest, NeverLoadedListSavesAnsiWithoutMark) {
    EXPECT_EQ(list.readEncoding(), std::nullopt);
    EXPECT_EQ(list.AddEntry(u"", u""), 0u);
    list.Save();
    EXPECT_EQ(dir.read(kListFile), "\t\r\n");
}

TEST_F(TargetCADListTest, ChangeReplacesInPlaceUntilTheNextReload) {
    loaded("a\t1\nb\t2\nc\t3\n");
    list.select(0);
    list.ChangeSelected(u"z", u"1");
    EXPECT_EQ(list.selectedIndex(), 0u);
    list.Save();
    EXPECT_EQ(dir.read(kListFile), "z\t1\r\nb\t2\r\nc\t3\r\n");
    EXPECT_EQ(FindTargetCADName(dir.directory(), u""), u"z");
    list.Reload();
    EXPECT_EQ(list.entries().entries(), (Entries{u"b\t2", u"c\t3", u"z\t1"}));
}

TEST_F(TargetCADListTest, ChangeWithoutSelectionRaisesAndChangesNothing) {
    loaded("a\t1\n");
    try {
        list.ChangeSelected(u"z", u"9");
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(error.message(), u"リストのインデックスが範囲を超えています (-1)");
    }
    EXPECT_EQ(list.entries().entries(), (Entries{u"a\t1"}));
}

struct DeleteCase {
    std::size_t deleted;
    std::optional<std::size_t> selectedAfter;
    std::u16string selectedText;
};

class TargetCADDeleteTest : public TargetCADListTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(TargetCADDeleteTest, SelectsTheSuccessorElseThePredecessor) {
    loaded("a\nb\nc\nd\n");
    list.select(GetParam().deleted);
    EXPECT_EQ(list.DeleteSelected(), GetParam().selectedAfter);
    EXPECT_EQ(list.count(), 3u);
    EXPECT_EQ(list.entries().at(*list.selectedIndex()), GetParam().selectedText);
}

INSTANTIATE_TEST_SUITE_P(FourEntries, TargetCADDeleteTest,
                         ::testing::Values(DeleteCase{0, 0, u"b"}, DeleteCase{1, 1, u"c"},
                                           DeleteCase{2, 2, u"d"}, DeleteCase{3, 2, u"c"}));

TEST_F(TargetCADListTest, DeleteWithoutSelectionOrOfTheOnlyEntry) {
    loaded("a\n");
    EXPECT_EQ(list.DeleteSelected(), std::nullopt);
    EXPECT_EQ(list.count(), 1u);
    list.select(0);
    EXPECT_EQ(list.DeleteSelected(), std::nullopt);
    EXPECT_EQ(list.count(), 0u);
    EXPECT_EQ(list.selectedIndex(), std::nullopt);
}

TEST_F(TargetCADListTest, AddSortsAndSelectsTheFirstCaseEqualEntry) {
    loaded("m\tM\nABC\tX\n");
    EXPECT_EQ(list.AddEntry(u"", u""), 0u);
    EXPECT_EQ(list.AddEntry(u"abc", u"X"), 1u);
    EXPECT_EQ(list.entries().at(1), u"ABC\tX");
    EXPECT_EQ(list.entries().entries(), (Entries{u"\t", u"ABC\tX", u"abc\tX", u"m\tM"}));
    EXPECT_EQ(list.AddEntry(u"z", u"Z"), 4u);
    EXPECT_EQ(list.selectedIndex(), 4u);
}

}  // namespace
}  // namespace orvane
