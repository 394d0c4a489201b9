#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/panelcore.h"
#include "core/targetcadlist.h"
#include "ui/handlerrun.h"
#include "ui/typeahead.h"

namespace orvane::ui {

inline constexpr int kModalResultOK = 1;
inline constexpr int kModalResultCancel = 2;

// The target CAD dialog's controls that can hold the focus, in tab order;
// views may index their controls by it.
enum class TargetCADControl { ListBox1, Button1, Button2, Edit1, Edit2 };

// What the dialog's logic needs of the window that shows it.
class TargetCADView {
public:
    virtual ~TargetCADView() = default;

    // The list shows these entries, in this order, with this one selected or none.
    virtual void showList(const std::vector<std::u16string>& entries, std::optional<std::size_t> selected) = 0;
    // Edit1 (the label) and Edit2 (the ProgID).
    virtual std::u16string labelText() const = 0;
    virtual std::u16string progIdText() const = 0;
    virtual void setFieldTexts(std::u16string_view label, std::u16string_view progId) = 0;
    // nullopt when no control of the dialog has the focus.
    virtual std::optional<TargetCADControl> focusedControl() const = 0;
    virtual void focusControl(TargetCADControl control) = 0;
    // Ends the modal wait with this result.
    virtual void closeModal(int result) = 0;
    // The default error box.
    virtual void showError(std::u16string_view caption, std::u16string_view text) = 0;
};

struct TargetCADFormSettings {
    // The executable's full path: the list file lies beside it, and error
    // boxes carry its title.
    std::u16string programPath;
    // TargetProgID is set by OK.
    SharedValues& shared;
    TypeAhead::Clock clock = std::chrono::steady_clock::now;
};

// The target CAD dialog's handlers over the target CAD list. The handlers
// throw; the events (showing, selecting, typing in the list) report what
// escapes them in the default error box, and the dialog stays open.
class TargetCADFormLogic {
public:
    TargetCADFormLogic(TargetCADView& view, TargetCADFormSettings settings);

    // Before the modal wait: runs FormShow and puts the focus on the list the
    // first time, later where it was when the dialog last closed.
    void showing();
    // Whenever the dialog closes, whatever closes it.
    void closing();
    bool shownBefore() const noexcept { return shownBefore_; }

    void FormShow();
    void ListBox1Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    // True when the key was Enter, which the field never receives.
    bool Edit1KeyPress(char16_t key);
    void Button1Click();

    // The user selected an entry in the list, or took the selection away.
    void listSelectionChanged(std::optional<std::size_t> row);
    // A character, or Backspace, typed into the list.
    void listTyped(char16_t character);
    void listBackspace();

    // Runs a handler of an event, reporting what escapes it.
    template <typename Handler>
    void report(Handler&& handler) {
        reportingErrors(settings_.programPath,
                        [this](std::u16string_view caption, std::u16string_view text) { view_.showError(caption, text); },
                        std::forward<Handler>(handler));
    }

    const TargetCADList& targetCADList() const noexcept { return list_; }

private:
    void showList();
    void fillFieldsFromSelection();
    void selectByUser(std::size_t row);
    void listTypeAhead(const TypeAhead::Selection& selection);

    TargetCADView& view_;
    TargetCADFormSettings settings_;
    TargetCADList list_;
    TypeAhead typeAhead_;
    bool shownBefore_ = false;
    std::optional<TargetCADControl> lastFocus_;
};

// The dialog's handlers as each view offers them, over the logic that it
// shows; the view passes itself.
class TargetCADFormHandlers {
public:
    void FormShow() { logic_.FormShow(); }
    void ListBox1Click() { logic_.ListBox1Click(); }
    void SpeedButton1Click() { logic_.SpeedButton1Click(); }
    void SpeedButton2Click() { logic_.SpeedButton2Click(); }
    void SpeedButton3Click() { logic_.SpeedButton3Click(); }
    // True when the key was Enter, which the field never receives.
    bool Edit1KeyPress(char16_t key) { return logic_.Edit1KeyPress(key); }
    void Button1Click() { logic_.Button1Click(); }

    const TargetCADList& targetCADList() const noexcept { return logic_.targetCADList(); }

protected:
    TargetCADFormHandlers(TargetCADView& view, TargetCADFormSettings settings) : logic_(view, std::move(settings)) {}

    TargetCADFormLogic logic_;
};

// What a view of the dialog is made with: the logic's settings and the
// view's own boxes.
template <typename Boxes>
struct TargetCADViewDependencies {
    // The executable's full path: the list file lies beside it, and error
    // boxes carry its title.
    std::u16string programPath;
    // TargetProgID is set by OK.
    SharedValues& shared;
    Boxes& boxes;
    TypeAhead::Clock clock = std::chrono::steady_clock::now;

    TargetCADFormSettings settings() const { return {programPath, shared, clock}; }
};

}  // namespace orvane::ui
