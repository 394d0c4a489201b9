#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cadlink/fake/fakeautomation.h"

namespace orvane::cadlink::fake {

// A running CAD as its automation objects show it: an application object
// ("app") with HWND, ActiveDocument, FullName, Path and the three state
// members, a document ("doc") whose SendCommand records the texts, and a
// state object ("state") with IsQuiescent. Every member can be re-scripted
// through the objects themselves.
class FakeCad {
public:
    static constexpr std::int64_t DefaultWindow = 0x1000;

    explicit FakeCad(const CallLogRef& log = std::make_shared<CallLog>());

    // Makes this CAD the running instance of progId's class.
    void runIn(FakeAutomationRuntime& runtime, const std::u16string& progId,
               const std::string& classId = "{CAD}");

    void setHwnd(Variant value) { application->setValue(u"HWND", std::move(value)); }
    void setQuiescent(bool quiescent) { state->setValue(u"IsQuiescent", quiescent); }
    const std::vector<std::u16string>& sentCommands() const { return *sentCommands_; }

    const std::shared_ptr<FakeAutomationObject> application;
    const std::shared_ptr<FakeAutomationObject> document;
    const std::shared_ptr<FakeAutomationObject> state;

private:
    std::shared_ptr<std::vector<std::u16string>> sentCommands_;
};

}  // namespace orvane::cadlink::fake
