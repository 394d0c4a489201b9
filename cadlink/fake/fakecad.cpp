#include "cadlink/fake/fakecad.h"

namespace orvane::cadlink::fake {

FakeCad::FakeCad(const CallLogRef& log)
    : application(std::make_shared<FakeAutomationObject>("app", log)),
      document(std::make_shared<FakeAutomationObject>("doc", log)),
      state(std::make_shared<FakeAutomationObject>("state", log)),
      sentCommands_(std::make_shared<std::vector<std::u16string>>()) {
    application->setValue(u"HWND", DefaultWindow);
    application->setValue(u"ActiveDocument", ObjectRef(document));
    application->setValue(u"FullName", std::u16string(u"C:\\Program Files\\FakeCAD\\fakecad.exe"));
    application->setValue(u"Path", std::u16string(u"C:\\Program Files\\FakeCAD"));
    for (const char16_t* member : {u"GetAcadState", u"GetGcadState", u"GetZcadState"}) {
        application->setValue(member, ObjectRef(state));
    }
    document->setMember(u"SendCommand",
                        [sent = sentCommands_](const std::optional<std::u16string>& text) {
                            sent->push_back(text.value_or(u""));
                            return Variant{};
                        });
    state->setValue(u"IsQuiescent", true);
}

void FakeCad::runIn(FakeAutomationRuntime& runtime, const std::u16string& progId,
                    const std::string& classId) {
    runtime.registerProgId(progId, classId);
    runtime.setRunning(classId, application);
}

}  // namespace orvane::cadlink::fake
