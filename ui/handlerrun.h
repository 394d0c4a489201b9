#pragma once

#include <exception>
#include <string_view>

#include "core/error.h"
#include "core/utf.h"

namespace orvane::ui {

// Runs a handler; an error that escapes it is shown in the default error box
// through show(caption, text), with the application title as caption and the
// message with its "." rule, and the program goes on with the next event.
template <typename Show, typename Handler>
void reportingErrors(std::u16string_view programPath, Show&& show, Handler&& handler) {
    try {
        handler();
    } catch (const Error& error) {
        show(applicationTitle(programPath), errorBoxText(error.message()));
    } catch (const std::exception& error) {
        // Anything else that goes wrong is reported the same way rather than
        // ending the program.
        show(applicationTitle(programPath), errorBoxText(fromUtf8(error.what())));
    }
}

}  // namespace orvane::ui
