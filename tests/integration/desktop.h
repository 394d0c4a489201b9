#pragma once

namespace orvane::integration {

bool haveSessionBus();
bool haveDisplay();

// Makes sure an EWMH window manager runs on the display, starting openbox
// when none does; false when none could be had. One started here is ended
// by stopStartedWindowManager.
bool ensureWindowManager();
void stopStartedWindowManager();

}  // namespace orvane::integration
