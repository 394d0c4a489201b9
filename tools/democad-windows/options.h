#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/democad-windows/typedvalue.h"

namespace democad {

// What Invoke of a member answers instead of running it: DISP_E_EXCEPTION
// with this code and text in the EXCEPINFO.
struct Failure {
    std::int32_t code = 0;
    std::u16string description;
};

// democad.exe [PROGID] [--log FILE] [--not-quiescent] [--hwnd-zero]
//             [--lack MEMBER]... [--property NAME=TYPE:VALUE]...
//             [--fail NAME=HRESULT:DESCRIPTION]... [--quit-after SECONDS]
//             [--minimized] [--register]
// A value may also follow its option after "=". TYPE is one of those of
// parseTypedValue; HRESULT is read as parseStatusCode reads it.
//
// How the demo CAD behaves; the switches exist for the tests. Member names
// are matched without regard to the case of ASCII letters, as automation
// names are.
struct Options {
    std::u16string progId = u"BricscadApp.AcadApplication";
    std::u16string logFile;
    bool notQuiescent = false;
    bool hwndZero = false;
    bool startMinimised = false;
    bool registerOnly = false;
    int quitAfterSeconds = 0;
    std::vector<std::u16string> lackingMembers;  // unknown names, whatever else gives them a value
    std::vector<std::pair<std::u16string, TypedValue>> properties;  // application members, one per name
    std::vector<std::pair<std::u16string, Failure>> failures;       // one per name, on any object
};

// The arguments after the program's name. Throws UsageError on a mistake.
Options parseOptions(const std::vector<std::u16string>& arguments);

bool sameMemberName(std::u16string_view a, std::u16string_view b);

// The entry of that member name, or nullptr.
template <typename Value>
const Value* findMember(const std::vector<std::pair<std::u16string, Value>>& members, std::u16string_view name) {
    for (const auto& [memberName, value] : members) {
        if (sameMemberName(memberName, name)) return &value;
    }
    return nullptr;
}

}  // namespace democad
