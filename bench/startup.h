#pragma once

#include <string>
#include <vector>

namespace orvane::bench {

// One start of a windowed program: from exec to the moment its top-level
// window is mapped on the X server, and its peak resident memory once up.
struct StartUp {
    bool ok = false;
    double milliseconds = 0.0;
    long peakResidentKiB = 0;
};

// Starts program with no arguments in directory, on the X display, and ends
// it once measured.
StartUp measureStartUp(const std::string& program);

}  // namespace orvane::bench
