#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/cadaccess.h"
#include "core/panelcore.h"

namespace orvane {

inline constexpr char16_t kInformationCaption[] = u" 情報";
inline constexpr char16_t kVersionCaption[] = u" バージョン情報";
inline constexpr char16_t kFileNotFoundText[] = u"ファイルが見つかりません。";

// What the menu commands need of the windows.
class CommandWindows {
public:
    virtual ~CommandWindows() = default;
    // A box with the information icon and one OK button; returns when closed.
    virtual void showInformation(std::u16string_view caption, std::u16string_view text) = 0;
    // Shows the target CAD dialog modally; true when it closed with OK.
    virtual bool showTargetCADDialog() = 0;
    // The dialog's name field (Edit1).
    virtual std::u16string targetDialogName() const = 0;
    virtual void setDialogTopMost(bool on) = 0;
    virtual void setPanelTopMost(bool on) = 0;
    virtual void processPendingMessages() = 0;
};

// A clicked item's caption split at its first ":".
struct ItemCommand {
    std::u16string keyword;
    std::u16string argument;
};
ItemCommand parseItemCaption(std::u16string_view caption);

// The text that makes the CAD load a LISP file, without the closing "\r".
// Backslashes are doubled and a double quote is escaped, so the name always
// stays one LISP string.
std::u16string lispLoadExpression(std::u16string_view fileName);

// The CAD's executable as the "APP_" box shows it, from FullName and (only
// when FullName is unusable) Path. readPath is called at most once.
// Windows: FullName unless it has no extension, else Path + "\" + "bricscad.exe".
std::u16string windowsExecutablePath(std::u16string_view fullName,
                                     const std::function<std::u16string()>& readPath);
// POSIX executables rarely carry an extension: FullName unless it names no
// file (empty or ending in "/", "\" or ":"), else Path + "bricscad", with a
// "/" between unless Path already ends in one of those.
std::u16string posixExecutablePath(std::u16string_view fullName,
                                   const std::function<std::u16string()>& readPath);

// The third line of the version box for the system the program was built for.
std::u16string platformVersionLine();

// N1011Click, the handler shared by every item slot.
class MenuCommands {
public:
    // All three must outlive the commands. versionLine is the version box's
    // third line.
    MenuCommands(PanelCore& core, CadAccess& cad, CommandWindows& windows,
                 std::u16string versionLine = platformVersionLine());

    // Runs the command of the item slot with this number, of its whole
    // caption where the slot holds only its start; a number without
    // a slot does nothing. Errors outside the CAD guard escape to the caller.
    void N1011Click(int slotNumber);
    // The same for a caption already read from the slot. A "LOAD_" looks its
    // file up in the list named by listName, or by default in the selected
    // list as it is at this call.
    void runCaption(std::u16string_view caption, std::optional<std::u16string_view> listName = std::nullopt);

private:
    void loadLisp(std::u16string_view name, std::optional<std::u16string_view> listName);
    std::u16string resolveLispPath(std::u16string name, std::optional<std::u16string_view> listName) const;
    void showVersion();
    void switchMenuList(std::u16string_view name);
    void chooseTargetCAD();
    void showExecutablePath();
    void interruptCAD();
    void sendCADCommand(std::u16string_view keyword);

    PanelCore& core_;
    CadAccess& cad_;
    CommandWindows& windows_;
    std::u16string versionLine_;
};

}  // namespace orvane
