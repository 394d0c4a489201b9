#pragma once

#include <windows.h>

#include <string>

#include "tools/democad-windows/classid.h"

namespace democad {

GUID toGuid(const ClassId& id);

// Writes <ProgID>\CLSID into the classes of the machine and of the user:
// Wine reads only the machine's, Windows merges the user's in, and only an
// administrator may write the machine's there. Throws std::runtime_error
// when neither could be written.
void registerProgId(const std::u16string& progId, const ClassId& id);

}  // namespace democad
