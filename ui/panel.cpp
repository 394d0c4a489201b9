#include "ui/panel.h"

#include <iterator>
#include <optional>

#include "cadlink/messagefilter.h"
#include "core/paths.h"
#include "core/settingsfile.h"

namespace orvane::ui {

namespace {

constexpr char16_t kSearchSection[] = u"Search";
constexpr char16_t kAllListsKey[] = u"AllLists";

bool searchCoversEveryList(const std::u16string& settingsPath) {
    try {
        return SettingsFile(settingsPath).ReadBool(kSearchSection, kAllListsKey, true);
    } catch (const Error&) {
        return true;
    }
}

}  // namespace

Panel::Panel(PanelWindow& window, PanelServices services)
    : core_(services.programPath, window, cadlink::callRetryFilterFactory(services.runtime),
            [&window, path = services.programPath](const Error& error) {
                window.showError(applicationTitle(path), errorBoxText(error.message()));
            }),
      logic_(window, core_),
      connection_(services.runtime, services.windows, [this] { return core_.shared().TargetProgID; }),
      guard_(connection_),
      monitor_(connection_, logic_),
      commands_(core_, guard_, window, std::move(services.versionLine)) {}

void Panel::create() {
    logic_.recordBounds();
    core_.FormCreate();
}

std::vector<SearchItem> Panel::searchItems() {
    const SlotGrid& shown = core_.state().slots();
    const std::u16string current = extractFileName(shown.listPath());
    std::vector<SearchItem> items = searchableItems(shown, current);
    if (!searchCoversEveryList(core_.settingsPath())) return items;
    std::vector<std::u16string> others;
    others.reserve(core_.state().comboBox1().count());
    for (const std::u16string& name : core_.state().comboBox1().entries()) {
        if (name != current) others.push_back(name);
    }
    std::vector<SearchItem> more = otherLists_.items(core_.programDirectory(), others);
    items.insert(items.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
    return items;
}

void Panel::runSearchItem(const SearchItem& item) {
    logic_.report([&] {
        const SlotGrid& shown = core_.state().slots();
        if (item.listName == extractFileName(shown.listPath())) {
            const Slot* slot = shown.find(item.slotNumber);
            if (slot != nullptr && slot->caption == item.caption) commands_.N1011Click(item.slotNumber);
            return;
        }
        const auto grid = pouredList(core_.programDirectory(), item.listName);
        const Slot* slot = grid ? grid->find(item.slotNumber) : nullptr;
        if (slot != nullptr && slot->caption == item.caption) {
            commands_.runCaption(wholeCaption(*grid, item.slotNumber).value_or(slot->caption), item.listName);
        }
    });
}

void Panel::destroy() {
    if (!destroyed_) {
        destroyed_ = true;
        core_.FormDestroy();
    }
}

}  // namespace orvane::ui
