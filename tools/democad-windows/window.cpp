#include "tools/democad-windows/window.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "tools/democad-windows/eventlog.h"

namespace democad {

namespace {

const wchar_t className[] = L"OrvaneDemoCad";
constexpr UINT_PTR closeTimer = 1;
constexpr std::size_t keptLines = 1000;

void registerClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = className;
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throw std::runtime_error("cannot register the window class: " + systemMessage(GetLastError()));
    }
}

}  // namespace

DemoCadWindow::DemoCadWindow(std::function<void()> onEscape, std::function<void()> onActivated)
    : onEscape_(std::move(onEscape)), onActivated_(std::move(onActivated)) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    registerClass(instance, &DemoCadWindow::procedure);
    CreateWindowExW(0, className, L"Demo CAD", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 640, 400,
                    nullptr, nullptr, instance, this);
    if (window_ == nullptr) {
        throw std::runtime_error("cannot create the window (is there a display?): " +
                                 systemMessage(GetLastError()));
    }
}

DemoCadWindow::~DemoCadWindow() {
    if (window_ != nullptr) DestroyWindow(window_);
}

void DemoCadWindow::show(bool minimised) {
    ShowWindow(window_, minimised ? SW_SHOWMINIMIZED : SW_SHOWNORMAL);
    UpdateWindow(window_);
}

void DemoCadWindow::addLine(std::u16string_view line) {
    lines_.emplace_back(line.begin(), line.end());
    if (lines_.size() > keptLines) lines_.erase(lines_.begin());
    InvalidateRect(window_, nullptr, TRUE);
}

void DemoCadWindow::closeAfter(int seconds) { SetTimer(window_, closeTimer, static_cast<UINT>(seconds) * 1000, nullptr); }

LRESULT CALLBACK DemoCadWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<DemoCadWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<DemoCadWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        PostQuitMessage(0);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->handle(message, wParam, lParam);
}

LRESULT DemoCadWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
        // Bit 30 is set on the repeats of a key held down.
        if (wParam != VK_ESCAPE) break;
        if ((lParam & (1 << 30)) == 0) {
            addLine(u"*Cancel*");
            onEscape_();
        }
        return 0;
    case WM_ACTIVATE:
        // A panel that brought the CAD forward shows here, even where the
        // window manager keeps the window where it was.
        if (LOWORD(wParam) != WA_INACTIVE) onActivated_();
        break;
    case WM_TIMER:
        if (wParam == closeTimer) DestroyWindow(window_);
        return 0;
    case WM_PAINT:
        paint();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void DemoCadWindow::paint() {
    PAINTSTRUCT paintStruct;
    const HDC dc = BeginPaint(window_, &paintStruct);
    const HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    RECT client{};
    GetClientRect(window_, &client);
    const int lineHeight = metrics.tmHeight > 0 ? metrics.tmHeight : 16;
    // The latest lines that fit, oldest at the top.
    const std::size_t fitting = static_cast<std::size_t>(std::max(0L, client.bottom - 8) / lineHeight);
    const std::size_t first = lines_.size() > fitting ? lines_.size() - fitting : 0;
    int y = 4;
    for (std::size_t i = first; i < lines_.size(); ++i, y += lineHeight) {
        TextOutW(dc, 6, y, lines_[i].c_str(), static_cast<int>(lines_[i].size()));
    }
    SelectObject(dc, oldFont);
    EndPaint(window_, &paintStruct);
}

}  // namespace democad
