#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace democad {

// The CAD's main window: a history of every command text and Escape key it
// receives, drawn by the window itself, which so has no child to take the
// keyboard focus away from it. Destroying it ends the message loop.
class DemoCadWindow {
public:
    // onActivated runs each time the window becomes the active one. Throws
    // std::runtime_error when no window can be made, as without a display.
    DemoCadWindow(std::function<void()> onEscape, std::function<void()> onActivated);
    ~DemoCadWindow();
    DemoCadWindow(const DemoCadWindow&) = delete;
    DemoCadWindow& operator=(const DemoCadWindow&) = delete;

    HWND handle() const { return window_; }
    void show(bool minimised);
    void addLine(std::u16string_view line);
    // Closes the window after that many seconds.
    void closeAfter(int seconds);

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void paint();

    HWND window_ = nullptr;
    std::function<void()> onEscape_;
    std::function<void()> onActivated_;
    std::vector<std::wstring> lines_;
};

}  // namespace democad
