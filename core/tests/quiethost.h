#pragma once

#include "core/panelcore.h"

namespace orvane::testing {

// A host of the panel core with no window: a panel of the design's size on
// a 1280 × 1024 screen, and nothing to do for the rest.
class QuietHost final : public PanelHost {
public:
    Size currentSize() const override { return {483, 80}; }
    Size primaryScreenSize() const override { return {1280, 1024}; }
    void SetTopMost(bool) override {}
    void processPendingMessages() override {}
};

}  // namespace orvane::testing
