// A demo CAD for Windows: a COM automation server under a ProgID, with a
// main window, for trying the panel out and for the integration tests.
#include <ole2.h>
#include <oleauto.h>
#include <windows.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/utf.h"
#include "tools/democad-windows/automationobjects.h"
#include "tools/democad-windows/comref.h"
#include "tools/democad-windows/eventlog.h"
#include "tools/democad-windows/options.h"
#include "tools/democad-windows/registration.h"
#include "tools/democad-windows/usageerror.h"
#include "tools/democad-windows/window.h"

namespace {

using namespace democad;

// The user-interface thread as a single-threaded apartment, for the process's life.
class OleSession {
public:
    OleSession() {
        const HRESULT status = OleInitialize(nullptr);
        if (FAILED(status)) throw std::runtime_error("cannot initialise OLE: " + systemMessage(status));
    }
    ~OleSession() { OleUninitialize(); }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;
};

// The application object in the running object table; on the way out it is
// revoked and cut off from its clients, so that none keeps the process.
class RunningObject {
public:
    RunningObject(IDispatch* object, const GUID& classId) : object_(object) {
        const HRESULT status = RegisterActiveObject(object, classId, ACTIVEOBJECT_STRONG, &cookie_);
        if (FAILED(status)) throw std::runtime_error("cannot register the running object: " + systemMessage(status));
    }
    ~RunningObject() {
        RevokeActiveObject(cookie_, nullptr);
        CoDisconnectObject(object_, 0);
    }
    RunningObject(const RunningObject&) = delete;
    RunningObject& operator=(const RunningObject&) = delete;

private:
    IDispatch* object_;
    DWORD cookie_ = 0;
};

int serve(const Options& options, const GUID& classId) {
    EventLog log(options.logFile);
    const OleSession ole;
    DemoCadWindow window([&log] { log.write(u"ESCAPE"); }, [&log] { log.write(u"ACTIVATE"); });
    window.show(options.startMinimised);
    const auto application = ComRef<DispatchObject>::adopt(makeApplication(
        options, log,
        {window.handle(), [&window](std::u16string_view escaped) { window.addLine(u"Command: " + std::u16string(escaped)); }}));
    const RunningObject running(application.get(), classId);
    if (options.quitAfterSeconds > 0) window.closeAfter(options.quitAfterSeconds);
    log.write(u"READY " + orvane::fromUtf8(std::to_string(static_cast<LONG>(reinterpret_cast<INT_PTR>(window.handle())))));
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::u16string> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i], argv[i] + std::wcslen(argv[i]));
    try {
        const Options options = parseOptions(arguments);
        const ClassId classId = classIdForProgId(options.progId);
        registerProgId(options.progId, classId);
        return options.registerOnly ? 0 : serve(options, toGuid(classId));
    } catch (const UsageError& error) {
        std::fprintf(stderr, "democad: %s\n", error.what());
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "democad: %s\n", error.what());
        return 1;
    }
}
