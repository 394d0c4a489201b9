#include "ui/listwatch.h"

#include <algorithm>

#include "core/platform/platform.h"

namespace orvane::ui {

void ListWatch::folderChanged() {
    chooserStale_ = true;
    listStale_ = true;
    changed();
}

void ListWatch::fileChanged(std::u16string_view name) {
    const bool list = isMenuListFileName(name);
    const bool selected = platform::sameText(name, core_.state().chooserSelectedText());
    if (!list && !selected) {
        return;
    }
    chooserStale_ = chooserStale_ || list;
    listStale_ = listStale_ || selected;
    changed();
}

// A list that could not be read is tried again on the next change, whatever
// changed.
void ListWatch::changed() {
    listStale_ = listStale_ || failedList_.has_value();
    const auto now = timer_.now();
    if (waiting_ != Wait::Quiet) {
        burstStart_ = now;
    }
    const auto held = std::chrono::duration_cast<std::chrono::milliseconds>(now - burstStart_).count();
    start(Wait::Quiet, static_cast<int>(std::clamp<decltype(held)>(kBurstMilliseconds - held, 0, kQuietMilliseconds)));
}

void ListWatch::start(Wait wait, int milliseconds) {
    waiting_ = wait;
    timer_.startTimer(milliseconds);
}

void ListWatch::menuOpened() {
    menuOpen_ = true;
}

void ListWatch::menusClosed() {
    menuOpen_ = false;
    if (due_) {
        due_ = false;
        // The pick's handler reads the slot the menu showed.
        timer_.startTimer(0);
    }
}

void ListWatch::timerExpired() {
    if (menuOpen_) {
        due_ = true;
        return;
    }
    const Wait wait = waiting_;
    waiting_ = Wait::None;
    if (wait == Wait::Quiet) {
        apply();
    } else if (wait == Wait::ErrorCheck) {
        checkError();
    }
}

void ListWatch::apply() {
    if (chooserStale_) {
        chooserStale_ = false;
        try {
            core_.refreshChooser();
        } catch (const Error&) {
            // Only a program directory too long to list fails here, and
            // start-up has shown that; the chooser keeps its entries.
        }
    }
    if (listStale_) {
        listStale_ = false;
        reload();
    }
}

// A half-written or locked file is no error yet: the next change or the
// error check tries again.
void ListWatch::reload() {
    std::u16string selected = core_.state().chooserSelectedText();
    try {
        core_.reloadSelectedList();
        failedList_.reset();
        reportedList_.reset();
    } catch (const Error&) {
        failedList_.reset();
        if (reportedList_ != selected) {
            failedList_ = std::move(selected);
            start(Wait::ErrorCheck, kErrorDelayMilliseconds);
        }
    }
}

// Shown once, and only for the list still selected.
void ListWatch::checkError() {
    if (!failedList_ || *failedList_ != core_.state().chooserSelectedText()) {
        failedList_.reset();
        return;
    }
    reportedList_ = std::move(failedList_);
    failedList_.reset();
    bool read = false;
    logic_.report([this, &read] {
        core_.reloadSelectedList();
        read = true;
    });
    if (read) {
        reportedList_.reset();
    }
}

}  // namespace orvane::ui
