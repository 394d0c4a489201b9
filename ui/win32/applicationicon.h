#pragma once

// The application icon's resource id; the resource script includes this too.
#define ORVANE_APPLICATION_ICON 1

#ifndef RC_INVOKED
#include <windows.h>

namespace orvane::ui::win32 {

// The application icon's image nearest to this size, from the executable's
// resources; the system's default icon when the executable carries none.
HICON applicationIcon(HINSTANCE instance, int size);

}  // namespace orvane::ui::win32
#endif
