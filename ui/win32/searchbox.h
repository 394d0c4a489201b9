#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/searchbox.h"
#include "ui/win32/fonts.h"

namespace orvane::ui::win32 {

// The command search box as a native window: a popup owned by the panel,
// so without a task-bar button and above it, with a field to type in and
// the matching items below it, each with its menu's title in grey. The keys
// and the loss of activation go to the portable logic.
class SearchBox final : public SearchBoxView {
public:
    explicit SearchBox(SearchBoxLogic& logic) : logic_(logic) {}
    ~SearchBox() override;
    SearchBox(const SearchBox&) = delete;
    SearchBox& operator=(const SearchBox&) = delete;

    // Opens the box, empty and active, over the panel's client area, just
    // under its menu bar; the focus goes back where it was when it closes.
    void open(HWND panel, std::vector<SearchItem> items);

    HWND handle() const noexcept { return window_; }
    HWND field() const noexcept { return field_; }
    HWND list() const noexcept { return list_; }

private:
    void showRows(const std::vector<const SearchItem*>& rows, std::optional<std::size_t> current) override;
    void closeBox() override;

    void create(HWND panel);
    void placeUnder(HWND panel);
    void resizeToRows();
    void drawRow(const DRAWITEMSTRUCT& item) const;

    static LRESULT CALLBACK fieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR box);
    LRESULT dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    bool fieldKey(WPARAM key);

    SearchBoxLogic& logic_;
    HWND window_ = nullptr;
    HWND field_ = nullptr;
    HWND list_ = nullptr;
    FontHandle font_;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    // The menu titles of the rows shown, in their order.
    std::vector<std::u16string> titles_;
    HWND returnFocus_ = nullptr;
};

}  // namespace orvane::ui::win32
