#pragma once

#include <QIcon>
#include <QString>

namespace orvane::ui {

class MessageBoxes;

inline constexpr char kVisualStyleName[] = "Windows10 SlateGray";

// Applies a visual style that the executable carries (a style sheet and a
// palette) to the whole application. False, with nothing changed, when the
// executable carries no style of that name.
bool applyVisualStyle(const QString& name);

// applyVisualStyle, and when the style cannot be found the box that says so;
// the program then goes on in the default look.
void applyVisualStyleOrReport(const QString& name, MessageBoxes& boxes, const QString& caption);

// The application icon in every size it is drawn in.
QIcon applicationIcon();

// Makes applicationIcon the icon of every window without one of its own; once.
// Decoding its 15 images is the costliest single step of a start, so the
// program installs it just after the panel is first shown, and a box shown
// before that installs it first.
void installApplicationIcon();

}  // namespace orvane::ui
