#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "cadlink/fake/fakeautomation.h"
#include "cadlink/fake/fakewindowsystem.h"
#include "core/tests/scratch_dir.h"
#include "ui/win32/OrvaneUnit.h"
#include "ui/win32/tests/recordingboxes.h"

namespace orvane::ui::win32::testing {

// A panel over fakes in a program directory of its own, and its messages
// handled as the program's loop handles them.
struct PanelFixture : ::testing::Test {
    orvane::testing::ScratchDir directory;
    cadlink::fake::FakeAutomationRuntime runtime;
    cadlink::fake::FakeWindowSystem windows;
    RecordingBoxes boxes;
    std::unique_ptr<TForm91> panel;
    bool quitPosted = false;

    TForm91& create(MessageBoxes& shownBy) {
        panel = std::make_unique<TForm91>(
            PanelDependencies{(directory.path() / "Orvane.exe").u16string(), runtime, windows, shownBy});
        panel->createTargetCADForm();
        pump();
        return *panel;
    }
    TForm91& create() { return create(boxes); }

    // UTF-8 with its mark and CR/LF, as an editor saves it.
    void write(const std::string& name, const std::string& lines) {
        std::ofstream file(directory / name, std::ios::binary);
        file << "\xEF\xBB\xBF";
        for (const char c : lines) {
            file << (c == '\n' ? std::string("\r\n") : std::string(1, c));
        }
    }
    std::string read(const std::string& name) {
        std::ostringstream text;
        text << std::ifstream(directory / name, std::ios::binary).rdbuf();
        return text.str();
    }
    void pump() {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quitPosted = true;
                continue;
            }
            if (panel && panel->translateShortcut(message)) {
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    void clickItem(int slotNumber) {
        PostMessageW(panel->handle(), WM_COMMAND, MAKEWPARAM(slotNumber, 0), 0);
        pump();
    }
    static std::u16string menuText(HMENU menu, int position) {
        wchar_t text[300] = {};
        GetMenuStringW(menu, static_cast<UINT>(position), text, 300, MF_BYPOSITION);
        return fromWide(text);
    }
    static std::u16string fromWide(const wchar_t* text) {
        const std::wstring_view view(text);
        return std::u16string(view.begin(), view.end());
    }
    static bool isSeparator(HMENU menu, int position) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
        return (info.fType & MFT_SEPARATOR) != 0;
    }
    RECT clientRect(HWND window) const {
        RECT rect{};
        GetClientRect(window, &rect);
        return rect;
    }
};

}  // namespace orvane::ui::win32::testing
