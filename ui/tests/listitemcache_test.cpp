#include "ui/listitemcache.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "core/tests/scratch_dir.h"

namespace orvane::ui {
namespace {

TEST(ListItemCache, ReadsAListAgainOnlyWhenItsFileChanged) {
    orvane::testing::ScratchDir directory;
    const std::filesystem::path list = directory / "DrawList.txt";
    const auto write = [&](const char* text) { std::ofstream(list, std::ios::binary) << text; };
    const auto captionsNow = [&](ListItemCache& cache) {
        std::vector<std::u16string> captions;
        for (const SearchItem& item : cache.items(directory.path().u16string() + u"/", {u"DrawList.txt"})) {
            captions.push_back(item.caption);
        }
        return captions;
    };
    ListItemCache cache;
    write("[Draw]\n_LINE: line\n");
    // Whole seconds, which every system can set back exactly.
    const auto written = std::chrono::floor<std::chrono::seconds>(std::filesystem::last_write_time(list));
    std::filesystem::last_write_time(list, written);
    ASSERT_EQ(captionsNow(cache), std::vector<std::u16string>{u"_LINE: line"});

    // Same size and time: the items read before stand.
    write("[Draw]\n_XLINE: ray\n");
    std::filesystem::last_write_time(list, written);
    EXPECT_EQ(captionsNow(cache), std::vector<std::u16string>{u"_LINE: line"});

    write("[Draw]\n_CIRCLE: circle\n");
    EXPECT_EQ(captionsNow(cache), std::vector<std::u16string>{u"_CIRCLE: circle"});
}

}  // namespace
}  // namespace orvane::ui
