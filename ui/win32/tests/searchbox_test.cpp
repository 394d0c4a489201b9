#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <string>

#include "ui/win32/tests/panelfixture.h"
#include "ui/win32/widetext.h"

namespace orvane::ui::win32 {
namespace {

struct Win32SearchBoxTest : testing::PanelFixture {
    void SetUp() override {
        write("OrvaneList.txt", "[&Draw]\n_LINE: line\n_PLINE: polyline\n[Help]\nVER_: about\n");
    }

    // A key as the program's loop gets it, with Ctrl held or not.
    void press(HWND target, WPARAM key, bool withCtrl = false) {
        std::array<BYTE, 256> keys{};
        GetKeyboardState(keys.data());
        const BYTE ctrlBefore = keys[VK_CONTROL];
        keys[VK_CONTROL] = withCtrl ? 0x80 : 0;
        SetKeyboardState(keys.data());
        PostMessageW(target, WM_KEYDOWN, key, 1);
        pump();
        keys[VK_CONTROL] = ctrlBefore;
        SetKeyboardState(keys.data());
    }
    void type(const std::wstring& text) {
        for (const wchar_t c : text) {
            PostMessageW(box().field(), WM_CHAR, c, 1);
        }
        pump();
    }
    const SearchBox& box() const { return panel->searchBox(); }
    bool boxShown() const { return box().handle() != nullptr && IsWindowVisible(box().handle()) != FALSE; }
    std::u16string row(int index) const {
        wchar_t text[300] = {};
        SendMessageW(box().list(), LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
        return fromWide(text);
    }
};

TEST_F(Win32SearchBoxTest, CtrlFOpensTheBoxJustBelowTheMenuBarWithTheFocusInItsField) {
    TForm91& form = create();
    press(form.handle(), 'F', true);
    ASSERT_TRUE(boxShown());
    MENUBARINFO bar{};
    bar.cbSize = sizeof bar;
    GetMenuBarInfo(form.handle(), OBJID_MENU, 0, &bar);
    POINT clientOrigin{0, 0};
    ClientToScreen(form.handle(), &clientOrigin);
    RECT placed{};
    GetWindowRect(box().handle(), &placed);
    // Wine's bar reaches one pixel into the client area.
    EXPECT_GT(placed.top, bar.rcBar.top);
    EXPECT_EQ(placed.top, clientOrigin.y);
    EXPECT_EQ(placed.left, clientOrigin.x);
    EXPECT_EQ(GetWindow(box().handle(), GW_OWNER), form.handle());
    EXPECT_NE(GetWindowLongPtrW(box().handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(GetFocus(), box().field());
}

TEST_F(Win32SearchBoxTest, CtrlFInTheChooserOpensTheBox) {
    TForm91& form = create();
    press(form.ComboBox1, 'F', true);
    EXPECT_TRUE(boxShown());
}

TEST_F(Win32SearchBoxTest, FWithoutCtrlOpensNothing) {
    TForm91& form = create();
    press(form.ComboBox1, 'F');
    EXPECT_FALSE(boxShown());
}

TEST_F(Win32SearchBoxTest, TypingListsTheMatchingCaptionsBestFirstWithTheFirstHighlighted) {
    TForm91& form = create();
    press(form.handle(), 'F', true);
    type(L"line");
    ASSERT_EQ(SendMessageW(box().list(), LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(row(0), u"_LINE: line");
    EXPECT_EQ(row(1), u"_PLINE: polyline");
    EXPECT_EQ(SendMessageW(box().list(), LB_GETCURSEL, 0, 0), 0);
}

TEST_F(Win32SearchBoxTest, RowsShowCaptionsAsTheMenuDoes) {
    write("OrvaneList.txt", "[Tools]\nS&ave && Quit\n");
    TForm91& form = create();
    press(form.handle(), 'F', true);
    type(L"save");
    EXPECT_EQ(row(0), u"Save & Quit");
}

TEST_F(Win32SearchBoxTest, DownMovesTheHighlight) {
    TForm91& form = create();
    press(form.handle(), 'F', true);
    type(L"line");
    press(box().field(), VK_DOWN);
    EXPECT_EQ(SendMessageW(box().list(), LB_GETCURSEL, 0, 0), 1);
}

TEST_F(Win32SearchBoxTest, EnterRunsTheHighlightedItemAsAClickAndClosesTheBox) {
    TForm91& form = create();
    press(form.handle(), 'F', true);
    type(L"ver");
    press(box().field(), VK_RETURN);
    EXPECT_FALSE(boxShown());
    ASSERT_EQ(boxes.information.size(), 1u);
    EXPECT_EQ(boxes.information[0].caption, u" バージョン情報");
    EXPECT_EQ(boxes.information[0].owner, form.handle());
}

TEST_F(Win32SearchBoxTest, EscapeClosesTheBoxRunsNothingAndGivesTheFocusBack) {
    TForm91& form = create();
    SetFocus(form.CheckBox1);
    press(form.CheckBox1, 'F', true);
    type(L"ver");
    press(box().field(), VK_ESCAPE);
    EXPECT_FALSE(boxShown());
    EXPECT_TRUE(boxes.information.empty());
    EXPECT_EQ(GetFocus(), form.CheckBox1);
}

TEST_F(Win32SearchBoxTest, AnotherWindowTakingTheActivationClosesTheBoxAndRunsNothing) {
    TForm91& form = create();
    press(form.handle(), 'F', true);
    type(L"ver");
    const HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                       nullptr, nullptr, nullptr);
    SetActiveWindow(other);
    pump();
    EXPECT_FALSE(boxShown());
    EXPECT_TRUE(boxes.information.empty());
    EXPECT_EQ(GetActiveWindow(), other);
    DestroyWindow(other);
}

}  // namespace
}  // namespace orvane::ui::win32
