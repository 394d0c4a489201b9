#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/commandsearch.h"

namespace orvane::ui {

// What the command search box's logic needs of the window that shows it.
class SearchBoxView {
public:
    virtual ~SearchBoxView() = default;
    // The matching items, best first, with this one highlighted; none when
    // nothing matches.
    virtual void showRows(const std::vector<const SearchItem*>& rows, std::optional<std::size_t> current) = 0;
    // Takes the box away; the panel keeps the focus.
    virtual void closeBox() = 0;
};

// The box that Ctrl+F opens under the panel's menu bar: typed text lists the
// matching items, Up and Down move, Enter runs the highlighted item as a
// click on it would, and Escape or losing the focus closes it and runs
// nothing.
class SearchBoxLogic {
public:
    using Runner = std::function<void(const SearchItem&)>;

    SearchBoxLogic(SearchBoxView& view, Runner run) : view_(view), run_(std::move(run)) {}

    // Opens the box, empty, over these items.
    void open(std::vector<SearchItem> items);
    bool isOpen() const noexcept { return search_.has_value(); }

    void textChanged(std::u16string_view text);
    void up();
    void down();
    // Closes the box first, so that the item's command finds the panel as a
    // click would, then runs the highlighted item, if any.
    void enter();
    // Escape, or the box lost the focus.
    void dismiss();

private:
    void show();

    SearchBoxView& view_;
    Runner run_;
    std::optional<CommandSearch> search_;
    std::vector<const SearchItem*> found_;
    std::optional<std::size_t> current_;
};

}  // namespace orvane::ui
