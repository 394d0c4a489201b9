#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/panelform.h"

namespace orvane::ui::testing {

// A window that only remembers what the logic asked of it.
class FakePanelWindow final : public PanelView, public PanelHost {
public:
    bool windowShown() const override { return shown; }
    bool windowMinimised() const override { return minimised; }
    bool windowMaximised() const override { return maximised; }
    void leaveMaximised() override { calls.emplace_back("leaveMaximised"); }
    Bounds outerBounds() const override { return bounds; }
    void applyOuterBounds(const Bounds& taken) override { bounds = taken; }
    void cancelModalWindows() override { calls.emplace_back("cancelModalWindows"); }
    void closeWindow() override { calls.emplace_back("closeWindow"); }
    void showError(std::u16string_view, std::u16string_view text) override { errors.emplace_back(text); }

    Size currentSize() const override { return {bounds.width, bounds.height}; }
    Size primaryScreenSize() const override { return {1280, 1024}; }
    void SetTopMost(bool) override {}
    void processPendingMessages() override {}

    bool shown = true;
    bool minimised = false;
    bool maximised = false;
    Bounds bounds{10, 20, 467, 70};
    std::vector<std::string> calls;
    std::vector<std::u16string> errors;
};

}  // namespace orvane::ui::testing
