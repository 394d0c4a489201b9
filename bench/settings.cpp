#include "bench/settings.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <vector>

#include "bench/stats.h"
#include "core/panelcore.h"
#include "core/platform/platform.h"
#include "core/tests/quiethost.h"
#include "core/utf.h"

namespace orvane::bench {

namespace {

// The panel's own read of a whole file: the floor counts what the sequences
// add to it.
std::string readWhole(const std::string& path) { return platform::readWholeFile(fromUtf8(path)); }

// What any safe rewrite of the whole file costs: write a temporary beside
// it, sync it and rename it over the file.
void rewriteSafely(const std::string& path, const std::string& bytes) {
    const std::string temporary = path + ".bench";
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
        if (written <= 0) break;
        done += static_cast<std::size_t>(written);
    }
    fsync(fd);
    close(fd);
    std::rename(temporary.c_str(), path.c_str());
}

}  // namespace

void writeSettingsFile(const std::string& path, std::size_t atLeastBytes) {
    std::ofstream out(path, std::ios::binary);
    std::size_t written = 0;
    for (int section = 0; written < atLeastBytes; ++section) {
        std::string text = "[Other" + std::to_string(section) + "]\r\n";
        for (int key = 0; key < 20; ++key) {
            text += "Key" + std::to_string(key) + "=value " + std::to_string(key) + " of section " +
                    std::to_string(section) + ", some text\r\n";
        }
        out << text;
        written += text.size();
    }
    out << "[MenuList]\r\nFileName=OrvaneList.txt\r\n[Form]\r\nWidth=483\r\nHeight=120\r\n"
           "Left=100\r\nTop=100\r\n[TargetCAD]\r\nProgId=BricscadApp.AcadApplication\r\n"
           "[ImeOff]\r\nCheck=1\r\n";
}

SettingsCosts measureSettings(const std::string& directory, int runs) {
    const std::string file = directory + "/Orvane.ini";
    std::vector<double> starts;
    std::vector<double> reads;
    std::vector<double> shutdowns;
    std::vector<double> rewrites;
    // Keeps the read from being optimised away.
    volatile std::size_t readBytes = 0;
    for (int run = 0; run < runs; ++run) {
        testing::QuietHost host;
        PanelCore core(fromUtf8(directory + "/Orvane"), host, {}, {});
        starts.push_back(timeOnce([&] { core.FormCreate(); }));
        shutdowns.push_back(timeOnce([&] { core.FormDestroy(); }));
        reads.push_back(timeOnce([&] { readBytes = readWhole(file).size(); }));
        rewrites.push_back(timeOnce([&] { rewriteSafely(file, readWhole(file)); }));
    }
    return {median(starts), median(reads), median(shutdowns), median(rewrites)};
}

}  // namespace orvane::bench
