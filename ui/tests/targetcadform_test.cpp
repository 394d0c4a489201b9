#include <gtest/gtest.h>

#include <fstream>

#include "core/tests/scratch_dir.h"
#include "ui/targetcadform.h"

namespace orvane::ui {
namespace {

// A window that only remembers what the logic asked of it.
class FakeView final : public TargetCADView {
public:
    void showList(const std::vector<std::u16string>& shown, std::optional<std::size_t> row) override {
        entries = shown;
        selected = row;
    }
    std::u16string labelText() const override { return label; }
    std::u16string progIdText() const override { return progId; }
    void setFieldTexts(std::u16string_view newLabel, std::u16string_view newProgId) override {
        label = newLabel;
        progId = newProgId;
    }
    std::optional<TargetCADControl> focusedControl() const override { return focus; }
    void focusControl(TargetCADControl control) override { focus = control; }
    void closeModal(int result) override { results.push_back(result); }
    void showError(std::u16string_view caption, std::u16string_view text) override {
        errors.push_back(std::u16string(caption) + u": " + std::u16string(text));
    }

    std::vector<std::u16string> entries;
    std::optional<std::size_t> selected;
    std::u16string label;
    std::u16string progId;
    std::optional<TargetCADControl> focus;
    std::vector<int> results;
    std::vector<std::u16string> errors;
};

struct TargetCADFormLogicTest : ::testing::Test {
    testing::ScratchDir directory;
    SharedValues shared{u"B.App", {}, {}, false};
    FakeView view;
    std::chrono::steady_clock::time_point now{};
    TargetCADFormLogic logic{view, {(directory.path() / "Orvane").u16string(), shared, [this] { return now; }}};

    void writeList(const std::string& lines) {
        std::ofstream(directory / "TargetCAD_APIVersion.txt", std::ios::binary) << "\xEF\xBB\xBF" << lines;
    }
};

TEST_F(TargetCADFormLogicTest, KeysOtherThanEnterPassThroughAndChangeNothing) {
    writeList("A\tA.App\r\nB\tB.App\r\n");
    logic.FormShow();
    view.label = u"edited";
    EXPECT_FALSE(logic.Edit1KeyPress(u'a'));
    EXPECT_EQ(logic.targetCADList().entries().at(1), u"B\tB.App");
}

TEST_F(TargetCADFormLogicTest, OkWithAnEmptyProgIdFieldEmptiesTheTarget) {
    logic.Button1Click();
    EXPECT_EQ(shared.TargetProgID, u"");
    EXPECT_EQ(view.results, std::vector<int>{kModalResultOK});
}

TEST_F(TargetCADFormLogicTest, FocusGoesToTheListWhenNoControlHadItAtClosing) {
    logic.showing();
    view.focus = TargetCADControl::Edit1;
    logic.closing();
    logic.showing();
    view.focus.reset();
    logic.closing();
    view.focus = TargetCADControl::Edit2;
    logic.showing();
    EXPECT_EQ(view.focus, TargetCADControl::ListBox1);
}

TEST_F(TargetCADFormLogicTest, TypingWithoutAMatchKeepsTheSelectionAndTheFields) {
    writeList("A\tA.App\r\nB\tB.App\r\n");
    logic.FormShow();
    view.label = u"typed";
    logic.listTyped(u'z');
    EXPECT_EQ(view.selected, 1u);
    EXPECT_EQ(view.label, u"typed");
}

TEST_F(TargetCADFormLogicTest, AddingAnEqualEntrySelectsTheFirstOneAndFillsTheFields) {
    writeList("a\tx\r\nA\tX\r\n");
    logic.FormShow();
    view.setFieldTexts(u"A", u"X");
    logic.SpeedButton1Click();
    EXPECT_EQ(view.selected, 0u);
    EXPECT_EQ(view.label, u"a");
    EXPECT_EQ(view.progId, u"x");
}

TEST_F(TargetCADFormLogicTest, AnErrorInAnEventReachesTheViewWithTheApplicationTitle) {
    logic.listBackspace();
    EXPECT_EQ(view.errors, std::vector<std::u16string>{u"Orvane: リストのインデックスが範囲を超えています (-1)"});
}

}  // namespace
}  // namespace orvane::ui
