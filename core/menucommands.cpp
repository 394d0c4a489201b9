#include "core/menucommands.h"

#include "core/linefile.h"
#include "core/menulist.h"
#include "core/paths.h"
#include "core/platform/platform.h"
#include "core/text.h"

namespace orvane {

namespace {

constexpr char16_t kProgramName[] = u"Orvane.exe";
constexpr char16_t kVersionText[] = u"Version = 2025.02.03";
constexpr char16_t kFallbackWindowsExecutable[] = u"bricscad.exe";
constexpr char16_t kFallbackPosixExecutable[] = u"bricscad";

// Adds the separator unless the directory already ends in one of the syntax.
std::u16string joinDirectory(std::u16string directory, const PathSyntax& endings,
                             char16_t separator, std::u16string_view file) {
    if (directory.empty() || !endings.isSeparator(directory.back())) {
        directory += separator;
    }
    directory += file;
    return directory;
}

// On Windows only a backslash counts as Path's ending: "C:" gets one added.
const PathSyntax& backslashOnly() {
    static const PathSyntax syntax{u"\\"};
    return syntax;
}

}  // namespace

ItemCommand parseItemCaption(std::u16string_view caption) {
    const std::size_t colon = findPos(u":", caption);
    if (colon == 0) {
        return {};
    }
    return {trim(caption.substr(0, colon - 1)), trim(caption.substr(colon))};
}

std::u16string lispLoadExpression(std::u16string_view fileName) {
    const std::u16string escaped = replaceAll(replaceAll(fileName, u"\\", u"\\\\"), u"\"", u"\\\"");
    return u"(load \"" + escaped + u"\")(princ)";
}

std::u16string windowsExecutablePath(std::u16string_view fullName,
                                     const std::function<std::u16string()>& readPath) {
    if (!extractFileExt(fullName, windowsPathSyntax()).empty()) {
        return std::u16string(fullName);
    }
    return joinDirectory(readPath(), backslashOnly(), u'\\', kFallbackWindowsExecutable);
}

std::u16string posixExecutablePath(std::u16string_view fullName,
                                   const std::function<std::u16string()>& readPath) {
    if (!extractFileName(fullName, textPathSyntax()).empty()) {
        return std::u16string(fullName);
    }
    return joinDirectory(readPath(), textPathSyntax(), u'/', kFallbackPosixExecutable);
}

std::u16string platformVersionLine() {
#if defined(_WIN32)
    return u"Platform = Windows";
#elif defined(__linux__)
    return u"Platform = Linux";
#else
    return u"Platform = POSIX";
#endif
}

MenuCommands::MenuCommands(PanelCore& core, CadAccess& cad, CommandWindows& windows,
                           std::u16string versionLine)
    : core_(core), cad_(cad), windows_(windows), versionLine_(std::move(versionLine)) {}

void MenuCommands::N1011Click(int slotNumber) {
    const SlotGrid& slots = core_.state().slots();
    const Slot* slot = slots.find(slotNumber);
    if (slot == nullptr) {
        return;
    }
    if (!slot->cut) {
        // The handler may reload the grid; work on a copy of the caption.
        runCaption(std::u16string(slot->caption));
    } else if (const auto whole = wholeCaption(slots, slotNumber)) {
        runCaption(*whole);
    }
}

void MenuCommands::runCaption(std::u16string_view caption, std::optional<std::u16string_view> listName) {
    const ItemCommand command = parseItemCaption(caption);
    const std::u16string& keyword = command.keyword;
    if (textEqual(keyword, u"LOAD_")) {
        loadLisp(command.argument, listName);
    } else if (textEqual(keyword, u"VER_")) {
        showVersion();
    } else if (textEqual(keyword, u"MENU_")) {
        switchMenuList(command.argument);
    } else if (textEqual(keyword, u"CAD_")) {
        chooseTargetCAD();
    } else if (textEqual(keyword, u"APP_")) {
        showExecutablePath();
    } else if (textEqual(keyword, u"ESC_")) {
        interruptCAD();
    } else if (!keyword.empty()) {
        sendCADCommand(keyword);
    }
}

void MenuCommands::loadLisp(std::u16string_view name, std::optional<std::u16string_view> listName) {
    const std::u16string path = resolveLispPath(std::u16string(name), listName);
    if (!platform::regularFileExists(path)) {
        windows_.showInformation(kInformationCaption, path + u"\n" + kFileNotFoundText);
        return;
    }
    cad_.runGuarded([&path](CadSession& session) {
        session.BringCADToFront();
        session.SendCADCommand(lispLoadExpression(path) + u"\r");
    });
}

// The caption keeps only the file name; the item's list, read anew, gives the
// full path back.
std::u16string MenuCommands::resolveLispPath(std::u16string name, std::optional<std::u16string_view> listName) const {
    const std::u16string selected = listName ? std::u16string(*listName) : core_.state().chooserSelectedText();
    const std::u16string listPath = core_.programDirectory() + selected;
    if (!selected.empty() && platform::fileExists(listPath)) {
        for (const std::u16string& line : readLineFile(listPath).lines) {
            if (findPos(name, line) == 0) {
                continue;
            }
            const std::size_t colon = findPos(u":", line);
            if (colon >= 2) {
                name = trim(std::u16string_view(line).substr(colon));
            }
            break;
        }
    }
    if (extractFilePath(name, textPathSyntax()).empty()) {
        return core_.programDirectory() + name;
    }
    return name;
}

void MenuCommands::showVersion() {
    windows_.showInformation(kVersionCaption, std::u16string(kProgramName) + u"\n" + kVersionText +
                                                  u"\n" + versionLine_);
}

void MenuCommands::switchMenuList(std::u16string_view name) {
    const std::u16string target = upperCase(name);
    const auto& entries = core_.state().comboBox1().entries();
    for (std::size_t index = 0; index < entries.size(); ++index) {
        if (textEqual(upperCase(entries[index]), target)) {
            core_.state().selectChooserEntry(index);
            core_.ComboBox1Change();
            return;
        }
    }
}

void MenuCommands::chooseTargetCAD() {
    windows_.setDialogTopMost(true);
    windows_.setPanelTopMost(false);
    const auto restoreZOrder = [this] {
        windows_.setDialogTopMost(false);
        windows_.setPanelTopMost(true);
        windows_.processPendingMessages();
    };
    try {
        windows_.processPendingMessages();
        if (windows_.showTargetCADDialog()) {
            core_.setTargetCADName(windows_.targetDialogName());
        }
    } catch (...) {
        restoreZOrder();
        throw;
    }
    restoreZOrder();
}

void MenuCommands::showExecutablePath() {
    cad_.runGuarded([this](CadSession& session) {
        const std::u16string fullName = session.ReadTextMember(u"FullName");
        const auto readPath = [&session] { return session.ReadTextMember(u"Path"); };
#ifdef _WIN32
        const std::u16string text = windowsExecutablePath(fullName, readPath);
#else
        const std::u16string text = posixExecutablePath(fullName, readPath);
#endif
        windows_.showInformation(kInformationCaption, text);
    });
}

void MenuCommands::interruptCAD() {
    cad_.runGuarded([](CadSession& session) { session.BringCADToFront(); });
}

void MenuCommands::sendCADCommand(std::u16string_view keyword) {
    const std::u16string line = std::u16string(keyword) + u"\r";
    cad_.runGuarded([&line](CadSession& session) {
        session.BringCADToFront();
        session.SendCADCommand(line);
    });
}

}  // namespace orvane
