#include <gtest/gtest.h>

#include <windows.h>

#include <imm.h>

#include <fstream>

#include "core/tests/scratch_dir.h"
#include "ui/win32/TaregetCADUnit.h"
#include "ui/win32/tests/modalscript.h"
#include "ui/win32/tests/recordingboxes.h"
#include "ui/win32/widetext.h"

namespace orvane::ui::win32 {
namespace {

using testing::ModalScript;
using testing::RecordingBoxes;

struct Win32DialogTest : ::testing::Test {
    orvane::testing::ScratchDir directory;
    SharedValues shared{u"Matches.Nothing", {}, {}, false};
    RecordingBoxes boxes;
    std::chrono::steady_clock::time_point now{};
    TTargetCADForm dialog{nullptr, {(directory.path() / "Orvane.exe").u16string(), shared, boxes, [this] { return now; }}};

    void writeList(const std::string& lines) {
        std::ofstream(directory / "TargetCAD_APIVersion.txt", std::ios::binary) << "\xEF\xBB\xBF" << lines;
    }
    // Shows the dialog modally while the steps run, one per tick; the last
    // one should end it.
    int showWhile(std::deque<std::function<void()>> steps) {
        const ModalScript script(std::move(steps));
        return dialog.ShowModal();
    }
    void key(HWND control, WPARAM virtualKey) { PostMessageW(control, WM_KEYDOWN, virtualKey, 0); }
    void click(HWND button) {
        SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
        SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    }
    void setText(HWND control, const wchar_t* text) { SetWindowTextW(control, text); }
    std::u16string listText(int index) {
        std::wstring text(static_cast<std::size_t>(SendMessageW(dialog.ListBox1, LB_GETTEXTLEN, index, 0)) + 1, L'\0');
        SendMessageW(dialog.ListBox1, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
        return std::u16string(text.begin(), text.end() - 1);
    }
    LRESULT selectedRow() { return SendMessageW(dialog.ListBox1, LB_GETCURSEL, 0, 0); }
    void cancel() { dialog.endModal(kModalResultCancel); }
};

TEST_F(Win32DialogTest, CaptionAndClientSizeAt96Dpi) {
    EXPECT_EQ(windowText(dialog.handle()), u"ターゲット CAD");
    RECT client{};
    GetClientRect(dialog.handle(), &client);
    EXPECT_EQ(client.right, 315);
    EXPECT_EQ(client.bottom, 307);
}

TEST_F(Win32DialogTest, TitleBarHasOnlyTheCloseButton) {
    const LONG_PTR style = GetWindowLongPtrW(dialog.handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
}

TEST_F(Win32DialogTest, ControlsCarryTheirTexts) {
    EXPECT_EQ(windowText(dialog.Label1), u"名称 （説明）");
    EXPECT_EQ(windowText(dialog.Label2), u"ProgID （クラス文字列）");
    EXPECT_EQ(windowText(dialog.SpeedButton1), u"追加");
    EXPECT_EQ(windowText(dialog.SpeedButton2), u"削除");
    EXPECT_EQ(windowText(dialog.SpeedButton3), u"変更");
    EXPECT_EQ(windowText(dialog.Button1), u"OK");
    EXPECT_EQ(windowText(dialog.Button2), u"取り消し");
}

TEST_F(Win32DialogTest, TabGoesListOkCancelLabelProgIdAndAround) {
    std::vector<HWND> order;
    showWhile({[&] {
        HWND control = dialog.ListBox1;
        for (int i = 0; i < 5; ++i) {
            order.push_back(control);
            control = GetNextDlgTabItem(dialog.handle(), control, FALSE);
        }
        order.push_back(control);
        cancel();
    }});
    EXPECT_EQ(order, (std::vector<HWND>{dialog.ListBox1, dialog.Button1, dialog.Button2, dialog.Edit1, dialog.Edit2,
                                        dialog.ListBox1}));
}

TEST_F(Win32DialogTest, ListShowsEntriesInGivenOrderWithTabStops) {
    writeList("Beta\tB.App\r\nAlpha\tA.App\r\n");
    showWhile({[&] { cancel(); }});
    const LONG_PTR style = GetWindowLongPtrW(dialog.ListBox1, GWL_STYLE);
    EXPECT_TRUE(style & LBS_USETABSTOPS);
    EXPECT_FALSE(style & LBS_SORT);
    EXPECT_EQ(listText(0), u"Alpha\tA.App");
    EXPECT_EQ(listText(1), u"Beta\tB.App");
}

TEST_F(Win32DialogTest, EnterInAFieldChangesTheEntryAndKeepsTheDialogOpen) {
    writeList("Alpha\tA.App\r\n");
    shared.TargetProgID = u"A.App";
    bool open = false;
    showWhile({[&] {
                   SetFocus(dialog.Edit1);
                   setText(dialog.Edit1, L"Renamed");
                   key(dialog.Edit1, VK_RETURN);
               },
               [&] {
                   open = dialog.isShowing();
                   cancel();
               }});
    EXPECT_TRUE(open);
    EXPECT_EQ(listText(0), u"Renamed\tA.App");
    EXPECT_EQ(windowText(dialog.Edit1), u"Renamed");
}

TEST_F(Win32DialogTest, EscapeDoesNothing) {
    bool open = false;
    showWhile({[&] { key(dialog.ListBox1, VK_ESCAPE); },
               [&] {
                   open = dialog.isShowing();
                   cancel();
               }});
    EXPECT_TRUE(open);
}

TEST_F(Win32DialogTest, EnterOnTheListDoesNothing) {
    bool open = false;
    showWhile({[&] { key(dialog.ListBox1, VK_RETURN); },
               [&] {
                   open = dialog.isShowing();
                   cancel();
               }});
    EXPECT_TRUE(open);
}

TEST_F(Win32DialogTest, CloseButtonCancels) {
    const int result = showWhile({[&] { PostMessageW(dialog.handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }});
    EXPECT_EQ(result, kModalResultCancel);
    EXPECT_FALSE(IsWindowVisible(dialog.handle()));
}

TEST_F(Win32DialogTest, OkEndsWithOneAndTakesTheProgIdField) {
    const int result = showWhile({[&] {
        setText(dialog.Edit2, L"Typed.App");
        click(dialog.Button1);
    }});
    EXPECT_EQ(result, kModalResultOK);
    EXPECT_EQ(shared.TargetProgID, u"Typed.App");
}

TEST_F(Win32DialogTest, CancelButtonEndsWithTwo) {
    EXPECT_EQ(showWhile({[&] { click(dialog.Button2); }}), kModalResultCancel);
}

TEST_F(Win32DialogTest, AddingLeavesTheFocusInTheField) {
    HWND focus = nullptr;
    showWhile({[&] {
        SetFocus(dialog.Edit2);
        setText(dialog.Edit1, L"Alpha");
        setText(dialog.Edit2, L"A.App");
        click(dialog.SpeedButton1);
        focus = GetFocus();
        cancel();
    }});
    EXPECT_EQ(focus, dialog.Edit2);
    EXPECT_EQ(listText(0), u"Alpha\tA.App");
}

TEST_F(Win32DialogTest, FieldClosesTheInputMethodWhenFocused) {
    BOOL open = TRUE;
    showWhile({[&] {
        HIMC context = ImmGetContext(dialog.Edit1);
        ImmSetOpenStatus(context, TRUE);
        SetFocus(dialog.Edit1);
        open = ImmGetOpenStatus(context);
        ImmReleaseContext(dialog.Edit1, context);
        cancel();
    }});
    EXPECT_FALSE(open);
}

TEST_F(Win32DialogTest, TypingInTheListSelectsByTheWholeTypedText) {
    writeList("Bar\tB.App\r\nBeta\tC.App\r\nEcho\tE.App\r\n");
    showWhile({[&] {
                   SetFocus(dialog.ListBox1);
                   key(dialog.ListBox1, 'B');
                   key(dialog.ListBox1, 'E');
               },
               [&] { cancel(); }});
    EXPECT_EQ(selectedRow(), 1);
    EXPECT_EQ(windowText(dialog.Edit2), u"C.App");
}

TEST_F(Win32DialogTest, SelectingInTheListFillsTheFields) {
    writeList("Alpha\tA.App\r\nBeta\tB.App\r\n");
    showWhile({[&] {
                   SetFocus(dialog.ListBox1);
                   key(dialog.ListBox1, VK_DOWN);
               },
               [&] { cancel(); }});
    EXPECT_EQ(windowText(dialog.Edit1), u"Alpha");
    EXPECT_EQ(windowText(dialog.Edit2), u"A.App");
}

TEST_F(Win32DialogTest, CentredInTheWorkArea) {
    RECT window{};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    showWhile({[&] {
        GetWindowRect(dialog.handle(), &window);
        GetMonitorInfoW(MonitorFromWindow(dialog.handle(), MONITOR_DEFAULTTONEAREST), &monitor);
        cancel();
    }});
    const RECT& work = monitor.rcWork;
    EXPECT_NEAR(window.left - work.left, work.right - window.right, 1);
    EXPECT_NEAR(window.top - work.top, work.bottom - window.bottom, 1);
}

TEST_F(Win32DialogTest, HandlerErrorGoesToTheBoxesAndTheDialogStaysOpen) {
    bool open = false;
    showWhile({[&] { click(dialog.SpeedButton3); },
               [&] {
                   open = dialog.isShowing();
                   cancel();
               }});
    ASSERT_EQ(boxes.errors.size(), 1U);
    EXPECT_EQ(boxes.errors[0].owner, dialog.handle());
    EXPECT_EQ(boxes.errors[0].caption, u"Orvane");
    EXPECT_EQ(boxes.errors[0].text, u"リストのインデックスが範囲を超えています (-1)");
    EXPECT_TRUE(open);
}

}  // namespace
}  // namespace orvane::ui::win32
