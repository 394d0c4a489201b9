#include "bench/search.h"

#include <string>
#include <vector>

#include "bench/stats.h"
#include "core/utf.h"
#include "ui/commandsearch.h"
#include "ui/searchtext.h"

namespace orvane::bench {

namespace {

constexpr int kLists = 15;
constexpr int kMenus = 15;
constexpr int kItems = 30;
// What a user types, one keystroke after the other.
const char16_t* const kKeystrokes[] = {u"l", u"li", u"lin", u"line", u"line ", u"line 7", u"line 72", u"ｌｉｎｅ　線"};

std::vector<ui::SearchItem> fifteenFullLists() {
    std::vector<ui::SearchItem> items;
    for (int list = 0; list < kLists; ++list) {
        for (int menu = 1; menu <= kMenus; ++menu) {
            for (int item = 1; item <= kItems; ++item) {
                const std::u16string number = fromUtf8(std::to_string((list * kMenus + menu) * 100 + item));
                items.push_back({u"_LINE" + number + u": 線分 " + number, u"Draw " + number, menu * 100 + item,
                                 u"List" + number + u".txt"});
            }
        }
    }
    return items;
}

}  // namespace

SearchTimes measureCommandSearch(int runs) {
    const ui::CommandSearch search(fifteenFullLists());
    std::vector<std::u16string> forms;
    for (const ui::SearchItem& item : search.items()) forms.push_back(ui::searchForm(item.caption));

    std::vector<double> searches;
    std::vector<double> scans;
    std::size_t seen = 0;
    for (int run = 0; run < runs; ++run) {
        for (const char16_t* typed : kKeystrokes) {
            searches.push_back(timeOnce([&] { seen += search.find(typed).size(); }));
            const std::u16string text(typed);
            scans.push_back(timeOnce([&] {
                for (const std::u16string& form : forms) seen += form.find(text) != std::u16string::npos ? 1 : 0;
            }));
        }
    }
    // Keeps the work from being optimised away.
    if (seen == 0) return {};
    return {median(searches), median(scans)};
}

}  // namespace orvane::bench
