#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "ui/win32/TaregetCADUnit.h"
#include "ui/win32/listfollower.h"
#include "ui/win32/tests/modalscript.h"
#include "ui/win32/tests/panelfixture.h"
#include "ui/win32/widetext.h"

namespace orvane::ui::win32 {
namespace {

using testing::ModalScript;
using Win32PanelTest = testing::PanelFixture;

TEST_F(Win32PanelTest, DesignedWindowBeforeAnyList) {
    TForm91& form = create();
    EXPECT_EQ(windowText(form.handle()), u"Orvane");
    EXPECT_EQ(clientRect(form.handle()).right, 467);
    const auto style = GetWindowLongPtrW(form.handle(), GWL_STYLE);
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
    EXPECT_NE(style & WS_MINIMIZEBOX, 0);
    EXPECT_NE(style & WS_THICKFRAME, 0);
    EXPECT_NE(GetWindowLongPtrW(form.handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(windowText(form.CheckBox1), u"IMEOFF");
    EXPECT_EQ(SendMessageW(form.CheckBox1, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(form.ComboBox1, CB_GETMINVISIBLE, 0, 0), 8);
    EXPECT_EQ(GetWindowLongPtrW(form.ComboBox1, GWL_STYLE) & WS_TABSTOP, 0);
    // The numbered grid: 15 drop-downs of 30 items.
    ASSERT_EQ(GetMenuItemCount(form.MainMenu1), 15);
    EXPECT_EQ(menuText(form.MainMenu1, 14), u"1500");
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(form.MainMenu1, 14)), 30);
    EXPECT_TRUE(boxes.errors.empty());
}

TEST_F(Win32PanelTest, MenuBarShowsTheLoadedListAsWrittenWithSeparatorsAndSlotNumbersAsIds) {
    write("OrvaneList.txt", "[&Draw]\n_LINE: line\n-\n-\nA&&B\n[Tools]\n&Escape: x\n");
    TForm91& form = create();
    ASSERT_EQ(GetMenuItemCount(form.MainMenu1), 2);
    EXPECT_EQ(menuText(form.MainMenu1, 0), u"&Draw");
    const HMENU draw = GetSubMenu(form.MainMenu1, 0);
    ASSERT_EQ(GetMenuItemCount(draw), 4);
    EXPECT_EQ(GetMenuItemID(draw, 0), 101u);
    EXPECT_TRUE(isSeparator(draw, 1));
    EXPECT_TRUE(isSeparator(draw, 2));
    EXPECT_EQ(menuText(draw, 3), u"A&&B");
    EXPECT_EQ(GetMenuItemID(GetSubMenu(form.MainMenu1, 1), 0), 201u);
}

TEST_F(Win32PanelTest, ClientAreaIsTheDesignedSizeBelowAListsMenuBar) {
    write("OrvaneList.txt", "[Draw]\n_LINE: line\n[Modify]\n_MOVE: move\n");
    TForm91& form = create();
    EXPECT_EQ(clientRect(form.handle()).right, 467);
    EXPECT_EQ(clientRect(form.handle()).bottom, 26);
}

TEST_F(Win32PanelTest, MenuCommandRunsTheClickedSlotsCommand) {
    write("OrvaneList.txt", "[Help]\nVER_: about\n");
    create();
    clickItem(101);
    ASSERT_EQ(boxes.information.size(), 1u);
    EXPECT_EQ(boxes.information[0].caption, u" バージョン情報");
    EXPECT_EQ(boxes.information[0].owner, panel->handle());
}

TEST_F(Win32PanelTest, TheListWatchsTimerEndsWhenItFires) {
    write("OrvaneList.txt", "[Help]\nVER_: about\n");
    TForm91& form = create();
    PostMessageW(form.handle(), ListFollower::kFolderChanged, 0, 0);
    pump();
    MSG message{};
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (message.wParam != ListFollower::kTimerId && std::chrono::steady_clock::now() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_TIMER);
        if (PeekMessageW(&message, form.handle(), WM_TIMER, WM_TIMER, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
    }
    ASSERT_EQ(message.wParam, ListFollower::kTimerId) << "the list watch's timer never fired";
    EXPECT_FALSE(KillTimer(form.handle(), ListFollower::kTimerId)) << "it is still running";
}

TEST_F(Win32PanelTest, ChooserChangeByTheUserLoadsTheList) {
    write("AList.txt", "[From A]\n");
    write("BList.txt", "[From B]\n");
    write("Orvane.ini", "[MenuList]\nFileName=alist.txt\n");
    TForm91& form = create();
    ASSERT_EQ(SendMessageW(form.ComboBox1, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(form.ComboBox1, CB_GETCURSEL, 0, 0), 0);
    SendMessageW(form.ComboBox1, CB_SETCURSEL, 1, 0);
    SendMessageW(form.handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(form.ComboBox1), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(form.ComboBox1));
    pump();
    EXPECT_EQ(form.core().state().comboBox1().selectedIndex(), 1u);
    EXPECT_EQ(menuText(form.MainMenu1, 0), u"From B");
}

TEST_F(Win32PanelTest, CheckBoxClickReachesTheState) {
    TForm91& form = create();
    SendMessageW(form.CheckBox1, BM_CLICK, 0, 0);
    EXPECT_FALSE(form.core().state().checkBox1());
}

TEST_F(Win32PanelTest, ChooserWidensWithTheWindow) {
    TForm91& form = create();
    RECT before{};
    GetWindowRect(form.ComboBox1, &before);
    RECT outer{};
    GetWindowRect(form.handle(), &outer);
    SetWindowPos(form.handle(), nullptr, 0, 0, outer.right - outer.left + 100, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT after{};
    GetWindowRect(form.ComboBox1, &after);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.right - after.left, before.right - before.left + 100);
}

TEST_F(Win32PanelTest, ClosingTheProgramCancelsTheOpenDialogAndEndsTheLoop) {
    write("OrvaneList.txt", "CAPTION_: Drawing\n[Set]\nCAD_: choose\n");
    TForm91& form = create();
    const ModalScript script({[&] {
        SetWindowTextW(form.targetCADForm()->Edit1, L"never taken");
        form.closeProgram();
    }});
    clickItem(101);
    EXPECT_FALSE(form.targetCADForm()->isShowing());
    EXPECT_EQ(windowText(form.handle()), u"Drawing [  ]");
    EXPECT_TRUE(quitPosted);
}

TEST_F(Win32PanelTest, ClosingTheProgramEndsAnOpenMessageBox) {
    write("OrvaneList.txt", "[Help]\nVER_: about\n");
    Win32MessageBoxes realBoxes;
    TForm91& form = create(realBoxes);
    bool boxOutlivedTheClose = false;
    const ModalScript script({[&] { form.closeProgram(); },
                              [&] {
                                  if (const HWND box = FindWindowW(L"#32770", L" バージョン情報"); box != nullptr) {
                                      boxOutlivedTheClose = true;
                                      PostMessageW(box, WM_CLOSE, 0, 0);
                                  }
                              }});
    clickItem(101);
    EXPECT_FALSE(boxOutlivedTheClose);
    EXPECT_TRUE(quitPosted);
}

TEST_F(Win32PanelTest, SessionEndWritesTheSettingsAtOnce) {
    TForm91& form = create();
    SendMessageW(form.handle(), WM_QUERYENDSESSION, 0, 0);
    SendMessageW(form.handle(), WM_ENDSESSION, TRUE, 0);
    const std::string settings = read("Orvane.ini");
    EXPECT_NE(settings.find("[MenuList]"), std::string::npos);
    EXPECT_NE(settings.find("[ImeOff]"), std::string::npos);
}

TEST_F(Win32PanelTest, ShutdownDoesNotRunAgainAfterTheSessionEnded) {
    TForm91& form = create();
    SendMessageW(form.handle(), WM_ENDSESSION, TRUE, 0);
    std::filesystem::remove(directory / "Orvane.ini");
    panel.reset();
    EXPECT_FALSE(std::filesystem::exists(directory / "Orvane.ini"));
}

}  // namespace
}  // namespace orvane::ui::win32
