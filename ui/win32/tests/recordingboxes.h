#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "ui/win32/boxes.h"

namespace orvane::ui::win32::testing {

// Boxes as they would have been shown, without their modal loops.
struct RecordingBoxes final : MessageBoxes {
    struct Box {
        HWND owner;
        std::u16string caption;
        std::u16string text;
    };
    void showError(HWND owner, std::u16string_view caption, std::u16string_view text) override {
        errors.push_back({owner, std::u16string(caption), std::u16string(text)});
    }
    void showInformation(HWND owner, std::u16string_view caption, std::u16string_view text) override {
        information.push_back({owner, std::u16string(caption), std::u16string(text)});
    }
    std::vector<Box> errors;
    std::vector<Box> information;
};

}  // namespace orvane::ui::win32::testing
