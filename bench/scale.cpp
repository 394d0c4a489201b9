#include "bench/scale.h"

#include <fstream>
#include <memory>
#include <vector>

#include "bench/stats.h"
#include "cadlink/fake/fakeautomation.h"
#include "cadlink/fake/fakewindowsystem.h"
#include "core/menulist.h"
#include "core/utf.h"
#include "ui/listwatch.h"
#include "ui/panel.h"
#include "ui/tests/fakepanelwindow.h"

namespace orvane::bench {

namespace {

void writeSmallList(const std::string& path, int number) {
    std::ofstream out(path, std::ios::binary);
    out << "\xEF\xBB\xBF[Menu " << number << "]\r\n";
    for (int item = 0; item < kItemsPerList; ++item) out << "_LINE" << item << ": line " << number << "\r\n";
}

struct NoTimer final : ui::WatchTimer {
    void startTimer(int) override {}
    void stopTimer() override {}
};

// A panel over fakes in a program directory of its own.
struct PanelOver {
    explicit PanelOver(const std::string& directory)
        : panel(window, ui::PanelServices{fromUtf8(directory) + u"/Orvane", runtime, windows, u"Platform = bench"}) {
        panel.create();
    }
    ui::testing::FakePanelWindow window;
    cadlink::fake::FakeAutomationRuntime runtime;
    cadlink::fake::FakeWindowSystem windows;
    ui::Panel panel;
};

}  // namespace

void writeManyLists(const std::string& directory, int lists) {
    writeSmallList(directory + "/OrvaneList.txt", 0);
    for (int list = 1; list < lists; ++list) {
        writeSmallList(directory + "/Bench" + std::to_string(list) + "List.txt", list);
    }
}

ScaleTimes measureScale(const std::string& changeDirectory, const std::string& searchDirectory, int runs) {
    ScaleTimes times;
    {
        PanelOver panel(changeDirectory);
        NoTimer timer;
        ui::ListWatch watch(panel.panel.core(), panel.panel.logic(), timer);
        std::vector<double> changes;
        std::vector<double> names;
        for (int run = 0; run < runs; ++run) {
            const std::u16string name = u"Added" + fromUtf8(std::to_string(run)) + u"List.txt";
            changes.push_back(timeOnce([&] {
                writeSmallList(changeDirectory + "/" + toUtf8(name), run);
                watch.fileChanged(name);
                watch.timerExpired();
            }));
            names.push_back(timeOnce([&] { ListMenuListFiles(panel.panel.core().programDirectory()); }));
        }
        times.change = median(changes);
        times.listNames = median(names);
    }
    PanelOver panel(searchDirectory);
    // The first opening reads every list; later ones find them unchanged.
    const std::vector<ui::SearchItem> items = panel.panel.searchItems();
    std::vector<double> opens;
    std::vector<double> ofItems;
    std::size_t seen = 0;
    for (int run = 0; run < runs; ++run) {
        opens.push_back(timeOnce([&] { seen += ui::CommandSearch(panel.panel.searchItems()).items().size(); }));
        ofItems.push_back(timeOnce([&] { seen += ui::CommandSearch(items).items().size(); }));
    }
    if (seen == 0) return {};
    times.searchOpen = median(opens);
    times.searchOfItems = median(ofItems);
    return times;
}

}  // namespace orvane::bench
