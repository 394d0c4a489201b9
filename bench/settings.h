#pragma once

#include <string>

namespace orvane::bench {

// The panel's start-up reads and shutdown writes of its settings file beside
// their floors. Medians of runs, in ms.
struct SettingsCosts {
    double startUpReads = 0.0;
    double wholeRead = 0.0;
    double shutdownWrites = 0.0;
    double safeRewrite = 0.0;
};

// directory holds an Orvane.ini and nothing else of the panel's.
SettingsCosts measureSettings(const std::string& directory, int runs);

// A settings file of at least the given bytes: other programs' sections,
// then the panel's own four.
void writeSettingsFile(const std::string& path, std::size_t atLeastBytes);

}  // namespace orvane::bench
