#pragma once

class QWidget;

namespace orvane::ui {

// Switches the input method off for a field that has just received the focus:
// any composition in progress is dropped, the field asks for plain Latin
// input, and a running Fcitx 5 is told to deactivate. The user can switch it
// on again by the usual key.
void switchInputMethodOff(QWidget* field);

}  // namespace orvane::ui
