#include "core/panelcore.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <limits>

#include "core/menulist.h"
#include "core/paths.h"
#include "core/settingsfile.h"
#include "core/targetcadlist.h"
#include "core/utf.h"

namespace orvane {

namespace {

// Settings values are arbitrary 32-bit integers; window arithmetic on them
// must not overflow.
std::int32_t saturate(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// (screen - window) / 2, truncated toward zero.
std::int32_t centred(std::int32_t screen, std::int32_t window) {
    return saturate((static_cast<std::int64_t>(screen) - window) / 2);
}

// Pulls an edge back so that start + length does not pass the screen's end;
// equality leaves it, and nothing pulls at the left or top.
std::int32_t pulledBack(std::int32_t start, std::int32_t length, std::int32_t screen) {
    if (static_cast<std::int64_t>(start) + length > screen) {
        return saturate(static_cast<std::int64_t>(screen) - length);
    }
    return start;
}

}  // namespace

PanelCore::PanelCore(std::u16string programPath, PanelHost& host,
                     CallRetryFilterFactory filterFactory, ErrorSink errorSink)
    : programPath_(std::move(programPath)),
      programDirectory_(extractFilePath(programPath_)),
      settingsPath_(orvane::settingsPath(programPath_)),
      host_(host),
      filterFactory_(std::move(filterFactory)),
      errorSink_(std::move(errorSink)) {}

PanelCore::~PanelCore() = default;

void PanelCore::FormCreate() {
    try {
        shared_.TargetProgID = kDefaultProgID;
        state_.setShape1Fill(kLampBlack);
        shared_.CADSeen = false;
        state_.replaceChooserEntries(ListMenuListFiles(programDirectory_), {});
        std::u16string listName;
        readSettings(listName);
        state_.selectChooserEntry(state_.comboBox1().find(listName));
        loadMenuList(listName);
        if (auto label = FindTargetCADName(programDirectory_, shared_.TargetProgID)) {
            setTargetCADName(std::move(*label));
        }
        if (filterFactory_) {
            messageFilter_ = filterFactory_();
            if (messageFilter_) {
                messageFilter_->RegisterFilter();
            }
        }
        host_.SetTopMost(true);
        host_.processPendingMessages();
    } catch (const Error& error) {
        if (errorSink_) {
            errorSink_(error);
        }
    } catch (const std::exception& error) {
        // Whatever else goes wrong, the panel still opens in the state reached.
        if (errorSink_) {
            errorSink_(Error(fromUtf8(error.what())));
        }
    }
}

// The settings file object lives for this call only, also when a read fails;
// the file is read once, when it is opened.
void PanelCore::readSettings(std::u16string& listName) {
    const SettingsFile settings(settingsPath_);
    listName = settings.ReadString(u"MenuList", u"FileName", kDefaultMenuListName);

    // Each value is applied before the next is read, so the defaults and the
    // pull-back use what the window actually took.
    const Size designed = host_.currentSize();
    Bounds bounds = state_.bounds();
    bounds.width = settings.ReadInteger(u"Form", u"Width", designed.width);
    state_.setBounds(bounds);
    bounds = state_.bounds();
    bounds.height = settings.ReadInteger(u"Form", u"Height", designed.height);
    state_.setBounds(bounds);

    const Size screen = host_.primaryScreenSize();
    bounds = state_.bounds();
    bounds.left = settings.ReadInteger(u"Form", u"Left", centred(screen.width, bounds.width));
    state_.setBounds(bounds);
    bounds = state_.bounds();
    bounds.top = settings.ReadInteger(u"Form", u"Top", centred(screen.height, bounds.height));
    state_.setBounds(bounds);

    bounds = state_.bounds();
    bounds.left = pulledBack(bounds.left, bounds.width, screen.width);
    bounds.top = pulledBack(bounds.top, bounds.height, screen.height);
    state_.setBounds(bounds);

    shared_.TargetProgID = settings.ReadString(u"TargetCAD", u"ProgId", shared_.TargetProgID);
    state_.setCheckBox1(settings.ReadBool(u"ImeOff", u"Check", true));
}

void PanelCore::FormDestroy() {
    if (messageFilter_) {
        try {
            messageFilter_->RevokeFilter();
        } catch (...) {
            // Revoking is best effort: shutdown goes on with the writes.
        }
        messageFilter_.reset();
    }
    try {
        writeSettings();
    } catch (const Error& error) {
        if (errorSink_) {
            errorSink_(error);
        }
    }
}

// One read-modify-write of the file, locked against other panels closing at
// the same time. The first refused write throws and skips the rest; the file
// object is released either way.
void PanelCore::writeSettings() {
    SettingsUpdate settings(settingsPath_);
    const Bounds& bounds = state_.bounds();
    settings.WriteString(u"MenuList", u"FileName", state_.chooserSelectedText());
    settings.WriteInteger(u"Form", u"Width", bounds.width);
    settings.WriteInteger(u"Form", u"Height", bounds.height);
    settings.WriteInteger(u"Form", u"Left", bounds.left);
    settings.WriteInteger(u"Form", u"Top", bounds.top);
    settings.WriteString(u"TargetCAD", u"ProgId", shared_.TargetProgID);
    settings.WriteBool(u"ImeOff", u"Check", state_.checkBox1());
    settings.save();
}

MenuTitleHandler PanelCore::menuTitleSetter() {
    return [this](std::u16string title) {
        shared_.MenuTitle = std::move(title);
        recomposeCaption();
    };
}

void PanelCore::loadMenuList(std::u16string_view lstname) {
    orvane::loadMenuList(programDirectory_, lstname, state_.slots(), menuTitleSetter());
}

void PanelCore::ComboBox1Change() {
    if (const std::u16string* selected = state_.comboBox1().selectedText()) {
        loadMenuList(std::u16string(*selected));
    }
}

void PanelCore::refreshChooser() {
    state_.replaceChooserEntries(ListMenuListFiles(programDirectory_), state_.chooserSelectedText());
}

void PanelCore::reloadSelectedList() {
    if (const std::u16string* selected = state_.comboBox1().selectedText()) {
        orvane::reloadMenuList(programDirectory_, std::u16string(*selected), state_.slots(), menuTitleSetter());
    }
}

void PanelCore::chooserPickedByUser(std::size_t index) {
    state_.selectChooserEntry(index);
    ComboBox1Change();
}

void PanelCore::recomposeCaption() {
    state_.setCaption(shared_.MenuTitle + u" [ " + shared_.TargetCADName + u" ]");
}

void PanelCore::setTargetCADName(std::u16string label) {
    shared_.TargetCADName = std::move(label);
    recomposeCaption();
}

}  // namespace orvane
