#include "ui/targetcadform.h"

#include "core/paths.h"
#include "core/sortedlist.h"

namespace orvane::ui {

namespace {

constexpr char16_t kEnter = 13;

}  // namespace

TargetCADFormLogic::TargetCADFormLogic(TargetCADView& view, TargetCADFormSettings settings)
    : view_(view),
      settings_(std::move(settings)),
      list_(extractFilePath(settings_.programPath)),
      typeAhead_(settings_.clock) {}

void TargetCADFormLogic::showing() {
    // An error while showing is reported, and the dialog still opens.
    report([&] { FormShow(); });
    view_.focusControl(shownBefore_ && lastFocus_ ? *lastFocus_ : TargetCADControl::ListBox1);
    shownBefore_ = true;
}

void TargetCADFormLogic::closing() { lastFocus_ = view_.focusedControl(); }

void TargetCADFormLogic::FormShow() {
    if (!list_.Reload()) {
        return;
    }
    showList();
    if (list_.SelectProgID(settings_.shared.TargetProgID)) {
        showList();
        fillFieldsFromSelection();
    }
}

void TargetCADFormLogic::ListBox1Click() { fillFieldsFromSelection(); }

void TargetCADFormLogic::SpeedButton1Click() {
    list_.AddEntry(view_.labelText(), view_.progIdText());
    showList();
    fillFieldsFromSelection();
    list_.Save();
}

void TargetCADFormLogic::SpeedButton2Click() {
    const bool hadSelection = list_.selectedIndex().has_value();
    list_.DeleteSelected();
    showList();
    view_.setFieldTexts({}, {});
    if (!hadSelection && list_.count() > 0) {
        throw listIndexError(-1);
    }
    fillFieldsFromSelection();
    list_.Save();
}

void TargetCADFormLogic::SpeedButton3Click() {
    list_.ChangeSelected(view_.labelText(), view_.progIdText());
    showList();
    list_.Save();
}

bool TargetCADFormLogic::Edit1KeyPress(char16_t key) {
    if (key != kEnter) {
        return false;
    }
    SpeedButton3Click();
    return true;
}

void TargetCADFormLogic::Button1Click() {
    settings_.shared.TargetProgID = view_.progIdText();
    view_.closeModal(kModalResultOK);
}

void TargetCADFormLogic::listSelectionChanged(std::optional<std::size_t> row) {
    report([&] {
        if (row) {
            selectByUser(*row);
        } else {
            list_.select(std::nullopt);
        }
    });
}

void TargetCADFormLogic::listTyped(char16_t character) {
    report([&] { listTypeAhead(typeAhead_.type(character, list_.entries().entries())); });
}

void TargetCADFormLogic::listBackspace() {
    report([&] { listTypeAhead(typeAhead_.backspace(list_.entries().entries())); });
}

void TargetCADFormLogic::listTypeAhead(const TypeAhead::Selection& selection) {
    if (selection.first) {
        if (list_.count() == 0) {
            throw listIndexError(-1);
        }
        selectByUser(0);
        showList();
    } else if (selection.index) {
        selectByUser(*selection.index);
        showList();
    }
}

void TargetCADFormLogic::selectByUser(std::size_t row) {
    list_.select(row);
    ListBox1Click();
}

void TargetCADFormLogic::showList() { view_.showList(list_.entries().entries(), list_.selectedIndex()); }

void TargetCADFormLogic::fillFieldsFromSelection() {
    if (const auto selected = list_.selectedIndex()) {
        const TargetCADEntry entry = list_.SplitEntry(*selected);
        view_.setFieldTexts(entry.label, entry.progId);
    }
}

}  // namespace orvane::ui
