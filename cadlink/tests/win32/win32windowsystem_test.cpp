#include "cadlink/win32/win32windowsystem.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <thread>

#include "cadlink/win32/windowhandle.h"

namespace orvane::cadlink::win32 {
namespace {

constexpr WPARAM ImcGetOpenStatus = 5;
constexpr WPARAM ImcSetOpenStatus = 6;

// A message-only window: no display needed, and no IME of its own.
class MessageWindow {
public:
    explicit MessageWindow(WNDPROC procedure = DefWindowProcW) {
        static const ATOM windowClass = [] {
            WNDCLASSW description{};
            description.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
                const auto procedure =
                    reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_USERDATA));
                return (procedure != nullptr ? procedure : DefWindowProcW)(window, message, wParam, lParam);
            };
            description.lpszClassName = L"OrvaneCadlinkTestWindow";
            return RegisterClassW(&description);
        }();
        window_ = CreateWindowExW(0, MAKEINTATOM(windowClass), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  nullptr, nullptr);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(procedure));
    }
    ~MessageWindow() { destroy(); }
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    WindowHandle handle() const { return fromHwnd(window_); }
    void destroy() {
        if (window_ != nullptr) DestroyWindow(window_);
        window_ = nullptr;
    }

private:
    HWND window_ = nullptr;
};

// What an IME window of the test was asked last.
WPARAM lastSetStatus = 0;
LPARAM lastSetValue = -1;

LRESULT CALLBACK openIme(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_IME_CONTROL) return DefWindowProcW(window, message, wParam, lParam);
    if (wParam == ImcGetOpenStatus) return 0x101;
    if (wParam == ImcSetOpenStatus) {
        lastSetStatus = wParam;
        lastSetValue = lParam;
    }
    return 0;
}

TEST(Win32WindowHandle, ATopBitIsSignExtended) {
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(toHwnd(0x80001234U)), static_cast<std::intptr_t>(0xFFFFFFFF80001234ULL));
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(toHwnd(0x00051234U)), 0x51234);
}

TEST(Win32WindowHandle, AHandleIsNarrowedToItsLow32Bits) {
    EXPECT_EQ(fromHwnd(reinterpret_cast<HWND>(static_cast<std::intptr_t>(0xFFFFFFFF80001234ULL))), 0x80001234U);
}

TEST(Win32WindowSystem, AWindowIsAWindowUntilDestroyed) {
    Win32WindowSystem windows;
    MessageWindow window;
    EXPECT_TRUE(windows.IsWindow(window.handle()));
    window.destroy();
    EXPECT_FALSE(windows.IsWindow(window.handle()));
}

TEST(Win32WindowSystem, CallsOnADestroyedWindowFailQuietly) {
    Win32WindowSystem windows;
    MessageWindow window;
    const WindowHandle gone = window.handle();
    window.destroy();
    EXPECT_FALSE(windows.IsIconic(gone));
    EXPECT_FALSE(windows.OpenIcon(gone));
    EXPECT_FALSE(windows.SetForegroundWindow(gone));
    EXPECT_EQ(windows.ImmGetDefaultIMEWnd(gone), 0U);
    EXPECT_EQ(windows.imeGetOpenStatus(gone), 0);
    windows.imeSetOpenStatus(gone, false);
}

TEST(Win32WindowSystem, AWindowWithoutImeHasNoImeWindow) {
    Win32WindowSystem windows;
    const MessageWindow window;
    EXPECT_EQ(windows.ImmGetDefaultIMEWnd(window.handle()), 0U);
    EXPECT_EQ(windows.ImmGetDefaultIMEWnd(0), 0U);
}

TEST(Win32WindowSystem, TheImeWindowIsAskedForItsOpenStatus) {
    Win32WindowSystem windows;
    const MessageWindow ime(openIme);
    EXPECT_EQ(windows.imeGetOpenStatus(ime.handle()), 0x101);
}

TEST(Win32WindowSystem, TheImeWindowIsToldToClose) {
    Win32WindowSystem windows;
    const MessageWindow ime(openIme);
    windows.imeSetOpenStatus(ime.handle(), false);
    EXPECT_EQ(lastSetStatus, ImcSetOpenStatus);
    EXPECT_EQ(lastSetValue, 0);
}

// The window's thread takes no messages until released.
TEST(Win32WindowSystem, AnImeWindowThatDoesNotAnswerCountsAsClosed) {
    Win32WindowSystem windows;
    const HANDLE created = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    WindowHandle busy = 0;
    std::thread owner([&] {
        MessageWindow window(openIme);
        busy = window.handle();
        SetEvent(created);
        WaitForSingleObject(release, INFINITE);
    });
    WaitForSingleObject(created, INFINITE);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(windows.imeGetOpenStatus(busy), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    SetEvent(release);
    owner.join();
    CloseHandle(created);
    CloseHandle(release);
}

}  // namespace
}  // namespace orvane::cadlink::win32
