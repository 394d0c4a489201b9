#include "tools/democad-windows/automationobjects.h"

#include <memory>
#include <string>
#include <utility>

#include "tools/democad-windows/comref.h"
#include "tools/democad-windows/eventlog.h"
#include "tools/democad-windows/membernames.h"
#include "tools/democad-windows/variantvalue.h"
#include "tools/democad/commandtext.h"

namespace democad {

namespace {

using Answer = std::function<HRESULT(DispatchObject&, const std::u16string&, VARIANT&)>;

std::u16string programPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) return {path.begin(), path.begin() + length};
        path.resize(path.size() * 2);
    }
}

// The folder of a path, without the last separator.
std::u16string folderOf(const std::u16string& path) {
    const std::size_t separator = path.find_last_of(u"\\/");
    return separator == std::u16string::npos ? std::u16string() : path.substr(0, separator);
}

Answer text(std::u16string value) {
    return [value = std::move(value)](DispatchObject&, const std::u16string&, VARIANT& answer) {
        answer.vt = VT_BSTR;
        answer.bstrVal = bstrOf(value);
        return answer.bstrVal == nullptr ? E_OUTOFMEMORY : S_OK;
    };
}

Answer object(const ComRef<DispatchObject>& target) {
    return [target](DispatchObject&, const std::u16string&, VARIANT& answer) {
        answer.vt = VT_DISPATCH;
        answer.pdispVal = target.share();
        return S_OK;
    };
}

Answer given(const TypedValue& value) {
    auto storage = std::make_shared<ByrefStorage>();
    return [value, storage](DispatchObject& self, const std::u16string&, VARIANT& answer) {
        return makeVariant(value, &self, *storage, answer);
    };
}

ComRef<DispatchObject> makeDocument(const Options& options, EventLog& log, const CadFacts& facts) {
    Answer sendCommand = [&log, facts](DispatchObject&, const std::u16string& command, VARIANT&) {
        const std::u16string escaped = escapedCommandText(command);
        log.write(u"COMMAND " + escaped);
        facts.onCommand(escaped);
        return S_OK;
    };
    return ComRef<DispatchObject>::adopt(DispatchObject::create(
        {{std::u16string(sendCommandMember), true, std::move(sendCommand)}}, options, log));
}

ComRef<DispatchObject> makeState(const Options& options, EventLog& log) {
    Answer isQuiescent = [quiescent = !options.notQuiescent](DispatchObject&, const std::u16string&, VARIANT& answer) {
        answer.vt = VT_BOOL;
        answer.boolVal = quiescent ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    };
    return ComRef<DispatchObject>::adopt(
        DispatchObject::create({{std::u16string(isQuiescentMember), false, std::move(isQuiescent)}}, options, log));
}

}  // namespace

DispatchObject* makeApplication(const Options& options, EventLog& log, CadFacts facts) {
    // A handle is 32 bits wide however wide the pointer, and is sign-extended back.
    const LONG handle = options.hwndZero ? 0 : static_cast<LONG>(reinterpret_cast<INT_PTR>(facts.window));
    Answer hwnd = [handle](DispatchObject&, const std::u16string&, VARIANT& answer) {
        answer.vt = VT_I4;
        answer.lVal = handle;
        return S_OK;
    };
    const std::u16string fullName = programPath();
    std::vector<Member> members = {
        {std::u16string(hwndMember), false, std::move(hwnd)},
        {std::u16string(fullNameMember), false, text(fullName)},
        {std::u16string(pathMember), false, text(folderOf(fullName))},
        {std::u16string(activeDocumentMember), false, object(makeDocument(options, log, facts))},
    };
    const ComRef<DispatchObject> state = makeState(options, log);
    for (const std::u16string_view name : stateMembers) members.push_back({std::u16string(name), false, object(state)});
    // A value given on the command line takes the place of the demo's own.
    for (const auto& property : options.properties) {
        const std::u16string& name = property.first;
        std::erase_if(members, [&name](const Member& member) { return sameMemberName(member.name, name); });
        members.push_back({name, false, given(property.second)});
    }
    return DispatchObject::create(std::move(members), options, log);
}

}  // namespace democad
