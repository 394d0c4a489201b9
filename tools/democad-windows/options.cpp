#include "tools/democad-windows/options.h"

#include <algorithm>

#include "core/utf.h"
#include "tools/democad-windows/membernames.h"
#include "tools/democad-windows/usageerror.h"

namespace democad {

namespace {

char16_t foldAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c; }

// "NAME=REST" split at the first "=", NAME not empty.
std::pair<std::u16string, std::u16string_view> named(std::u16string_view option, std::u16string_view text) {
    const std::size_t equals = text.find(u'=');
    if (equals == 0 || equals == std::u16string_view::npos) {
        throw UsageError(orvane::toUtf8(option) + " takes NAME=..., not \"" + orvane::toUtf8(text) + "\"");
    }
    return {std::u16string(text.substr(0, equals)), text.substr(equals + 1)};
}

// Adds or replaces the member's entry: the last one given counts.
template <typename Value>
void setMember(std::vector<std::pair<std::u16string, Value>>& members, std::u16string name, Value value) {
    std::erase_if(members, [&](const auto& entry) { return sameMemberName(entry.first, name); });
    members.emplace_back(std::move(name), std::move(value));
}

// At most a million, which a window timer still holds in milliseconds.
int seconds(std::u16string_view text) {
    constexpr int most = 1000000;
    int value = 0;
    for (const char16_t c : text) {
        value = c < u'0' || c > u'9' ? most + 1 : value * 10 + (c - u'0');
        if (value > most) break;
    }
    if (text.empty() || value > most) {
        throw UsageError("--quit-after takes a whole number of seconds up to 1000000, not \"" +
                         orvane::toUtf8(text) + "\"");
    }
    return value;
}

void setProgId(Options& options, bool& given, std::u16string_view text) {
    if (given) throw UsageError("only one ProgID");
    if (text.empty() || text.find(u'\\') != std::u16string_view::npos) {
        throw UsageError("\"" + orvane::toUtf8(text) + "\" is no ProgID");
    }
    options.progId = text;
    given = true;
}

// A switch naming a member that nothing serves would do nothing at all.
void checkNamesMembers(const Options& options, std::string_view option, std::u16string_view name) {
    std::vector<std::u16string_view> known = {hwndMember,         fullNameMember,     pathMember,
                                              activeDocumentMember, sendCommandMember, isQuiescentMember};
    known.insert(known.end(), std::begin(stateMembers), std::end(stateMembers));
    const bool given = findMember(options.properties, name) != nullptr;
    if (!given && std::ranges::none_of(known, [&](auto member) { return sameMemberName(member, name); })) {
        throw UsageError(std::string(option) + " names no member of the demo: " + orvane::toUtf8(name));
    }
}

}  // namespace

bool sameMemberName(std::u16string_view a, std::u16string_view b) {
    return std::ranges::equal(a, b, [](char16_t x, char16_t y) { return foldAscii(x) == foldAscii(y); });
}

Options parseOptions(const std::vector<std::u16string>& arguments) {
    Options options;
    bool progIdGiven = false;
    for (std::size_t at = 0; at < arguments.size(); ++at) {
        const std::u16string_view argument = arguments[at];
        if (!argument.starts_with(u"--")) {
            setProgId(options, progIdGiven, argument);
            continue;
        }
        const std::size_t equals = argument.find(u'=');
        const std::u16string_view option = argument.substr(0, equals);
        const bool inlineValue = equals != std::u16string_view::npos;
        const auto flag = [&](bool& into) {
            if (inlineValue) throw UsageError(orvane::toUtf8(option) + " takes no value");
            into = true;
        };
        const auto value = [&]() -> std::u16string_view {
            if (inlineValue) return argument.substr(equals + 1);
            if (++at == arguments.size()) throw UsageError(orvane::toUtf8(option) + " needs a value");
            return arguments[at];
        };
        if (option == u"--log") {
            options.logFile = value();
            if (options.logFile.empty()) throw UsageError("--log needs a file name");
        } else if (option == u"--not-quiescent") {
            flag(options.notQuiescent);
        } else if (option == u"--hwnd-zero") {
            flag(options.hwndZero);
        } else if (option == u"--minimized") {
            flag(options.startMinimised);
        } else if (option == u"--register") {
            flag(options.registerOnly);
        } else if (option == u"--quit-after") {
            options.quitAfterSeconds = seconds(value());
        } else if (option == u"--lack") {
            const std::u16string_view name = value();
            if (name.empty()) throw UsageError("--lack needs a member name");
            options.lackingMembers.emplace_back(name);
        } else if (option == u"--property") {
            auto [name, rest] = named(option, value());
            setMember(options.properties, std::move(name), parseTypedValue(rest));
        } else if (option == u"--fail") {
            auto [name, rest] = named(option, value());
            const std::size_t colon = rest.find(u':');
            if (colon == std::u16string_view::npos) {
                throw UsageError("--fail takes NAME=HRESULT:DESCRIPTION, not \"" + orvane::toUtf8(rest) + "\"");
            }
            setMember(options.failures, std::move(name),
                      Failure{parseStatusCode(rest.substr(0, colon)), std::u16string(rest.substr(colon + 1))});
        } else {
            throw UsageError("unknown option " + orvane::toUtf8(option));
        }
    }
    for (const std::u16string& name : options.lackingMembers) checkNamesMembers(options, "--lack", name);
    for (const auto& [name, failure] : options.failures) checkNamesMembers(options, "--fail", name);
    return options;
}

}  // namespace democad
