#pragma once

namespace orvane::bench {

struct SearchTimes {
    // Median milliseconds per keystroke over every item of 15 full lists.
    double search = 0.0;
    // A plain substring scan over the same captions, already folded.
    double plainScan = 0.0;
};

SearchTimes measureCommandSearch(int runs);

}  // namespace orvane::bench
