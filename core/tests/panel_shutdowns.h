#pragma once

// Two panels sharing one program folder, closing together: what each leaves
// and how the file starts.

#include <array>
#include <filesystem>
#include <string>

#include "core/error.h"
#include "core/panelcore.h"
#include "core/tests/quiethost.h"

namespace orvane::testing {

struct PanelValues {
    Bounds bounds;
    std::u16string progId;
    bool check;
};

// Lengths differ, so that a file written over by the other panel's shorter
// or longer text shows.
inline const std::array<PanelValues, 2> kPanels{{
    {{1, 2, 300, 40}, u"A.Application", true},
    {{-1000, 2000, 30000, 400000}, u"BBBBBBBB.Application", false},
}};

// The real shutdown sequence of a panel in that program folder.
inline bool shutDown(const std::filesystem::path& programDirectory, const PanelValues& values) {
    QuietHost host;
    bool failed = false;
    PanelCore core((programDirectory / "Orvane").u16string(), host, {},
                   [&](const Error&) { failed = true; });
    core.state().setBounds(values.bounds);
    core.shared().TargetProgID = values.progId;
    core.state().setCheckBox1(values.check);
    core.FormDestroy();
    return !failed;
}

// Other programs' sections, large enough that a write takes a while.
inline std::string othersSections() {
    std::string text;
    for (int section = 0; section < 2000; ++section) {
        text += "[Other" + std::to_string(section) + "]\r\nKey=value of section " +
                std::to_string(section) + "\r\n";
    }
    return text;
}

// How the settings file is there when the panels close.
enum class Start { NoFile, OthersFile, HardLinkedOthersFile };

}  // namespace orvane::testing
