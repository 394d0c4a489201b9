// Measures the panel beside the floor of each thing it does, in one run,
// and prints each pair with its ratio. Needs an X display with a window
// manager and a session bus (run-bench.sh provides them).
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include "bench/cadcalls.h"
#include "bench/listload.h"
#include "bench/scale.h"
#include "bench/search.h"
#include "bench/settings.h"
#include "bench/startup.h"
#include "bench/stats.h"

namespace {

using orvane::bench::Comparison;
using orvane::bench::median;

constexpr int kStartUps = 20;
constexpr int kSmallLoads = 200;
constexpr int kLargeLoads = 7;
constexpr int kHugeStartUps = 5;
constexpr int kHugeLines = 5;
constexpr int kCadRuns = 300;
constexpr int kSettingsRuns = 5;
constexpr int kSearchRuns = 200;
constexpr int kScaleStartUps = 5;
constexpr int kScaleRuns = 21;
constexpr int kManyLists = 10000;
constexpr int kSearchedLists = 2000;
constexpr std::size_t kFullListBytes = 1;  // one round: 15 × 30 items
constexpr std::size_t kLargeListBytes = 10 * 1024 * 1024;
constexpr std::size_t kLargeSettingsBytes = 50 * 1024 * 1024;

void print(const std::vector<Comparison>& rows) {
    std::printf("%-44s %12s %12s %7s\n", "measure", "panel", "floor", "ratio");
    for (const Comparison& row : rows) {
        const double ratio = row.floor > 0.0 ? row.panel / row.floor : 0.0;
        std::printf("%-44s %9.3f %-2s %9.3f %-2s %7.2f%s\n", row.what, row.panel, row.unit, row.floor, row.unit, ratio,
                    ratio > 1.3 ? "  > 1.3" : "");
    }
}

// The three lines of the panel at scale, each with the goal it must stay under.
void printScale(const std::vector<Comparison>& rows, const std::vector<double>& goals) {
    std::printf("\n%-44s %12s %12s %7s %12s\n", "at scale", "panel", "floor", "ratio", "goal");
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const Comparison& line = rows[row];
        const double ratio = line.floor > 0.0 ? line.panel / line.floor : 0.0;
        std::printf("%-44s %9.3f %-2s %9.3f %-2s %7.2f %9.1f %-2s%s\n", line.what, line.panel, line.unit, line.floor,
                    line.unit, ratio, goals[row], line.unit, line.panel < goals[row] ? "" : "  over the goal");
    }
}

// Medians of the panel's start-ups in a program directory of its own
// holding these many lists; nullopt when a window did not come up.
std::optional<double> startUpWithLists(int lists) {
    QTemporaryDir directory;
    const QString panel = directory.filePath(QStringLiteral("Orvane"));
    if (!directory.isValid() || !QFile::copy(QStringLiteral(ORVANE_PATH), panel)) return std::nullopt;
    orvane::bench::writeManyLists(directory.path().toStdString(), lists);
    std::vector<double> starts;
    for (int run = 0; run < kScaleStartUps; ++run) {
        const auto ofPanel = orvane::bench::measureStartUp(panel.toStdString());
        if (!ofPanel.ok) return std::nullopt;
        starts.push_back(ofPanel.milliseconds);
    }
    return median(starts);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (std::getenv("DISPLAY") == nullptr || std::getenv("DBUS_SESSION_BUS_ADDRESS") == nullptr) {
        std::fprintf(stderr, "bench: needs DISPLAY and a session bus; run it through run-bench.sh\n");
        return 2;
    }
    QTemporaryDir programDirectory;
    const QString panel = programDirectory.filePath(QStringLiteral("Orvane"));
    if (!programDirectory.isValid() || !QFile::copy(QStringLiteral(ORVANE_PATH), panel)) {
        std::fprintf(stderr, "bench: cannot prepare a program directory\n");
        return 1;
    }
    const std::string directory = programDirectory.path().toStdString();
    orvane::bench::writeMenuList(directory + "/OrvaneList.txt", kFullListBytes);
    orvane::bench::writeMenuList(directory + "/LargeList.txt", kLargeListBytes);
    orvane::bench::writeHugeLineList(directory + "/OneHugeList.txt", 1, kLargeListBytes);
    orvane::bench::writeHugeLineList(directory + "/FiveHugeList.txt", kHugeLines, kLargeListBytes);
    // The panel starting with five 10 MB lines in its list, in a program
    // directory of its own.
    QTemporaryDir hugeDirectory;
    const QString hugePanel = hugeDirectory.filePath(QStringLiteral("Orvane"));
    if (!hugeDirectory.isValid() || !QFile::copy(QStringLiteral(ORVANE_PATH), hugePanel)) {
        std::fprintf(stderr, "bench: cannot prepare a program directory\n");
        return 1;
    }
    orvane::bench::writeHugeLineList(hugeDirectory.filePath(QStringLiteral("OrvaneList.txt")).toStdString(), kHugeLines,
                                     kLargeListBytes);

    std::vector<double> panelStarts;
    std::vector<double> bareStarts;
    std::vector<double> panelPeaks;
    std::vector<double> barePeaks;
    for (int run = 0; run < kStartUps; ++run) {
        const auto ofPanel = orvane::bench::measureStartUp(panel.toStdString());
        const auto ofBare = orvane::bench::measureStartUp(BARE_WINDOW_PATH);
        if (!ofPanel.ok || !ofBare.ok) {
            std::fprintf(stderr, "bench: a window did not come up\n");
            return 1;
        }
        panelStarts.push_back(ofPanel.milliseconds);
        bareStarts.push_back(ofBare.milliseconds);
        panelPeaks.push_back(static_cast<double>(ofPanel.peakResidentKiB) / 1024.0);
        barePeaks.push_back(static_cast<double>(ofBare.peakResidentKiB) / 1024.0);
    }

    std::vector<double> hugeStarts;
    std::vector<double> hugePeaks;
    for (int run = 0; run < kHugeStartUps; ++run) {
        const auto ofPanel = orvane::bench::measureStartUp(hugePanel.toStdString());
        if (!ofPanel.ok) {
            std::fprintf(stderr, "bench: a window did not come up\n");
            return 1;
        }
        hugeStarts.push_back(ofPanel.milliseconds);
        hugePeaks.push_back(static_cast<double>(ofPanel.peakResidentKiB) / 1024.0);
    }

    const auto full = orvane::bench::measureListLoad(directory, "OrvaneList.txt", kSmallLoads);
    const auto large = orvane::bench::measureListLoad(directory, "LargeList.txt", kLargeLoads);
    const auto oneHuge = orvane::bench::measureListLoad(directory, "OneHugeList.txt", kLargeLoads);
    const auto fiveHuge = orvane::bench::measureListLoad(directory, "FiveHugeList.txt", kLargeLoads);
    const auto cad = orvane::bench::measureCadCalls(QStringLiteral(DEMOCAD_PATH), kCadRuns);

    // A program directory of its own: the start-up's reads alone, with no list to load.
    QTemporaryDir settingsDirectory;
    const std::string settingsPlace = settingsDirectory.path().toStdString();
    orvane::bench::writeSettingsFile(settingsPlace + "/Orvane.ini", kLargeSettingsBytes);
    const auto settings = orvane::bench::measureSettings(settingsPlace, kSettingsRuns);
    const auto search = orvane::bench::measureCommandSearch(kSearchRuns);

    const auto oneListStart = startUpWithLists(1);
    const auto manyListsStart = startUpWithLists(kManyLists);
    if (!oneListStart || !manyListsStart) {
        std::fprintf(stderr, "bench: a window did not come up\n");
        return 1;
    }
    QTemporaryDir changeDirectory;
    QTemporaryDir searchDirectory;
    orvane::bench::writeManyLists(changeDirectory.path().toStdString(), kManyLists);
    orvane::bench::writeManyLists(searchDirectory.path().toStdString(), kSearchedLists);
    const auto scale = orvane::bench::measureScale(changeDirectory.path().toStdString(),
                                                   searchDirectory.path().toStdString(), kScaleRuns);

    print({
        {"start-up to mapped window, 15 x 30 list", "ms", median(panelStarts), median(bareStarts)},
        {"peak resident memory (VmHWM)", "MB", median(panelPeaks), median(barePeaks)},
        {"loadMenuList, full list vs read+decode", "ms", full.load, full.readAndDecode},
        {"loadMenuList, 10 MB list vs read+decode", "ms", large.load, large.readAndDecode},
        {"start-up, five 10 MB lines vs bare window", "ms", median(hugeStarts), median(bareStarts)},
        {"peak memory, five 10 MB lines vs bare", "MB", median(hugePeaks), median(barePeaks)},
        {"loadMenuList, one 10 MB line vs read+decode", "ms", oneHuge.load, oneHuge.readAndDecode},
        {"loadMenuList, five 10 MB lines vs read+decode", "ms", fiveHuge.load, fiveHuge.readAndDecode},
        {"click to command vs its bus round trips", "ms", cad.click, cad.clickRoundTrips},
        {"monitor tick vs its bus round trips", "ms", cad.tick, cad.tickRoundTrips},
        {"start-up reads, 50 MB ini vs its read", "ms", settings.startUpReads, settings.wholeRead},
        {"shutdown writes, 50 MB ini vs safe rewrite", "ms", settings.shutdownWrites, settings.safeRewrite},
        {"command search keystroke, 15 lists vs scan", "ms", search.search, search.plainScan},
    });
    std::printf("\nmedians; start-up and memory of %d starts each (panel: Orvane, floor: bare Qt window with\n"
                "the same 450 actions), %d with five 10 MB lines; list loads of %d and %d runs; CAD paths of\n"
                "%d runs. One click made %d CAD calls and one tick %d, each plus 2 bus name lookups; the floors\n"
                "make 5 + 2 and 1 + 2. Settings sequences of %d runs. Command search: every item of 15 lists\n"
                "of 15 x 30 items, %d runs of 8 keystrokes (goal: under 1 ms each).\n",
                kStartUps, kHugeStartUps, kSmallLoads, kLargeLoads, kCadRuns, cad.callsPerClick, cad.callsPerTick,
                kSettingsRuns, kSearchRuns);
    printScale({{"start-up, 10 000 lists vs one list", "ms", *manyListsStart, *oneListStart},
                {"one list added among 10 000 vs their names", "ms", scale.change, scale.listNames},
                {"Ctrl+F over 2 000 lists vs their items", "ms", scale.searchOpen, scale.searchOfItems}},
               {1500.0, 50.0, 100.0});
    std::printf("\nmedians of %d starts each, and of %d changes and openings; lists of %d items, each\n"
                "change through the list watch as the folder reports it.\n",
                kScaleStartUps, kScaleRuns, orvane::bench::kItemsPerList);
    return 0;
}
