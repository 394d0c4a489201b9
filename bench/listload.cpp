#include "bench/listload.h"

#include <QString>

#include <fstream>
#include <vector>

#include "bench/stats.h"
#include "core/menulist.h"
#include "core/slotgrid.h"
#include "core/utf.h"

namespace orvane::bench {

void writeMenuList(const std::string& path, std::size_t atLeastBytes) {
    std::ofstream out(path, std::ios::binary);
    std::size_t written = 0;
    const auto line = [&](const std::string& text) {
        out << text << "\r\n";
        written += text.size() + 2;
    };
    out << "\xEF\xBB\xBF";
    line("CAPTION_: Bench");
    // Past 30 items a section's lines are read and dropped, as in any list.
    const int perSection = 30;
    int round = 0;
    do {
        for (int menu = 1; menu <= 15; ++menu) {
            line("[Menu " + std::to_string(menu) + "]");
            for (int item = 1; item <= perSection; ++item) {
                line("_CMD" + std::to_string(menu * 100 + item) + ": \xE7\xB7\x9A\xE5\x88\x86 item " +
                     std::to_string(round * perSection + item));
            }
        }
        ++round;
    } while (written < atLeastBytes);
}

void writeHugeLineList(const std::string& path, int lines, std::size_t lineBytes) {
    std::ofstream out(path, std::ios::binary);
    out << "\xEF\xBB\xBF" << "CAPTION_: Bench\r\n[Huge]\r\n";
    for (int line = 1; line <= lines; ++line) {
        const std::string command = "_HUGE" + std::to_string(line) + ": ";
        out << command << std::string(lineBytes - command.size(), 'x') << "\r\n";
    }
    out << "[Tools]\r\nESC_: stop\r\n";
}

ListLoad measureListLoad(const std::string& directory, const std::string& name, int runs) {
    const std::u16string programDirectory = fromUtf8(directory + "/");
    const std::u16string listName = fromUtf8(name);
    std::vector<double> loads;
    std::vector<double> floors;
    // Keeps the decoded text from being optimised away.
    volatile std::size_t decodedUnits = 0;
    for (int run = 0; run < runs; ++run) {
        SlotGrid grid;
        loads.push_back(timeOnce([&] { loadMenuList(programDirectory, listName, grid, [](std::u16string) {}); }));
        floors.push_back(timeOnce([&] {
            std::ifstream in(directory + "/" + name, std::ios::binary | std::ios::ate);
            std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
            in.seekg(0);
            in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            decodedUnits = QString::fromUtf8(bytes.data() + 3, static_cast<qsizetype>(bytes.size() - 3)).size();
        }));
    }
    return {median(loads), median(floors)};
}

}  // namespace orvane::bench
