#pragma once

#include <windows.h>

#include <functional>
#include <string_view>

#include "tools/democad-windows/dispatchobject.h"

namespace democad {

// What the automation objects ask of the rest of the demo.
struct CadFacts {
    HWND window = nullptr;
    std::function<void(std::u16string_view escapedCommand)> onCommand;
};

// The application object, which gives the document and state objects; one
// reference, for the caller.
DispatchObject* makeApplication(const Options& options, EventLog& log, CadFacts facts);

}  // namespace democad
