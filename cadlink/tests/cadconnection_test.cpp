#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "cadlink/tests/cadworld.h"

namespace orvane::cadlink {
namespace {

using testing::CadWindow;
using testing::CadWorld;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// One HWND read as the fakes log it.
const std::vector<std::string> HwndRead = {"app.GetIDsOfNames(HWND)", "app.Invoke(HWND,3,want)"};

std::vector<std::string> concat(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

template <typename Call>
std::int32_t failureCode(Call call) {
    try {
        call();
    } catch (const AutomationError& error) {
        return error.code();
    }
    return 0;
}

class CadConnectionTest : public ::testing::Test, protected CadWorld {};

TEST_F(CadConnectionTest, RunningWhenRegisteredAndActive) {
    EXPECT_TRUE(connection.IsTargetCADRunning());
    EXPECT_THAT(log->entries(), ElementsAre("CLSIDFromProgID(BricscadApp.AcadApplication)",
                                            "GetActiveObject({CAD})"));
}

TEST_F(CadConnectionTest, NotRunningForEmptyUnknownOrInactiveTargets) {
    progId.clear();
    EXPECT_FALSE(connection.IsTargetCADRunning());
    progId = u"Nobody.Application";
    EXPECT_FALSE(connection.IsTargetCADRunning());
    progId = u"Idle.Application";
    runtime.registerProgId(progId, "{IDLE}");
    EXPECT_FALSE(connection.IsTargetCADRunning());
    runtime.failOn("GetActiveObject", status::CallFailed);
    progId = testing::DefaultProgId;
    EXPECT_FALSE(connection.IsTargetCADRunning());
}

TEST_F(CadConnectionTest, EveryLookupReadsTheTargetAfresh) {
    fake::FakeCad other(log);
    other.runIn(runtime, u"Other.Application", "{OTHER}");
    EXPECT_EQ(connection.AttachTargetCAD(), cad.application);
    progId = u"Other.Application";
    EXPECT_EQ(connection.AttachTargetCAD(), other.application);
    EXPECT_EQ(log->matching("CLSIDFromProgID"),
              (std::vector<std::string>{"CLSIDFromProgID(BricscadApp.AcadApplication)",
                                        "CLSIDFromProgID(Other.Application)"}));
}

TEST_F(CadConnectionTest, AttachFailsWithTheLookupsStatus) {
    progId = u"Nobody.Application";
    EXPECT_EQ(failureCode([&] { connection.AttachTargetCAD(); }), status::ClassNotRegistered);
    runtime.registerProgId(progId, "{IDLE}");
    EXPECT_EQ(failureCode([&] { connection.AttachTargetCAD(); }), status::NotRunning);
}

TEST(CadConnectionAttach, ANullRunningObjectIsAFailureNotACrash) {
    struct NullRuntime final : AutomationRuntime {
        ClassId CLSIDFromProgID(std::u16string_view /*progId*/) override { return {"{NULL}"}; }
        ObjectRef GetActiveObject(const ClassId& /*classId*/) override { return nullptr; }
        MessageFilterRef CoRegisterMessageFilter(MessageFilterRef /*filter*/) override {
            return nullptr;
        }
    } runtime;
    fake::FakeWindowSystem windows;
    const CadConnection connection(runtime, windows,
                                   [] { return std::u16string(u"Null.Application"); });
    EXPECT_EQ(failureCode([&] { connection.AttachTargetCAD(); }), status::NoInterface);
}

struct KindCase {
    bool wantResult;
    bool withArgument;
    CallKind kind;
};

class CallKindTest : public CadConnectionTest, public ::testing::WithParamInterface<KindCase> {};

TEST_P(CallKindTest, PropertyGetOnlyForAResultWithoutArguments) {
    const auto [wantResult, withArgument, kind] = GetParam();
    cad.application->setValue(u"Probe", std::int64_t{5});
    const auto argument = withArgument ? std::optional<std::u16string>(u"x") : std::nullopt;
    const Variant result =
        connection.CallCADMember(cad.application, u"Probe", argument, wantResult);
    ASSERT_EQ(cad.application->invocations().size(), 1U);
    const auto& call = cad.application->invocations().front();
    EXPECT_EQ(call.kind, kind);
    EXPECT_EQ(call.argument, argument);
    EXPECT_EQ(call.wantResult, wantResult);
    EXPECT_EQ(result, wantResult ? Variant{std::int64_t{5}} : Variant{});
}

INSTANTIATE_TEST_SUITE_P(Table, CallKindTest,
                         ::testing::Values(KindCase{true, false, CallKind::MethodOrPropertyGet},
                                           KindCase{false, false, CallKind::Method},
                                           KindCase{true, true, CallKind::Method},
                                           KindCase{false, true, CallKind::Method}));

TEST_F(CadConnectionTest, NamesAreResolvedOnEveryCall) {
    connection.CallCADMember(cad.application, u"FullName", std::nullopt, true);
    connection.CallCADMember(cad.application, u"FullName", std::nullopt, true);
    EXPECT_EQ(log->count("app.GetIDsOfNames(FullName)"), 2U);
}

TEST_F(CadConnectionTest, CallFailuresKeepTheirStatus) {
    cad.application->removeMember(u"Path");
    const auto unknown = [&] {
        connection.CallCADMember(cad.application, u"Path", std::nullopt, true);
    };
    EXPECT_EQ(failureCode(unknown), status::UnknownName);
    try {
        unknown();
    } catch (const AutomationError& error) {
        EXPECT_NE(std::string(error.what()).find("Path"), std::string::npos);
    }
    cad.application->failMember(u"FullName", status::Exception);
    EXPECT_EQ(failureCode([&] {
                  connection.CallCADMember(cad.application, u"FullName", std::nullopt, true);
              }),
              status::Exception);
    EXPECT_EQ(failureCode([&] { connection.CallCADMember(nullptr, u"HWND", std::nullopt, true); }),
              status::NullObject);
}

struct HandleCase {
    const char* name;
    Variant hwnd;
    WindowHandle handle;
};

class ReadHandleTest : public CadConnectionTest,
                       public ::testing::WithParamInterface<HandleCase> {};

TEST_P(ReadHandleTest, TakesTheLow32Bits) {
    cad.setHwnd(GetParam().hwnd);
    EXPECT_EQ(connection.ReadCADWindowHandle(cad.application), GetParam().handle);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReadHandleTest,
    ::testing::Values(HandleCase{"Plain", std::int64_t{0x1000}, 0x1000},
                      HandleCase{"HighBits", std::int64_t{0x123400005678}, 0x5678},
                      HandleCase{"SignExtended", std::int64_t{-2147479552}, 0x80001000U},
                      HandleCase{"Double", 4096.0, 0x1000},
                      HandleCase{"Text", std::u16string(u"4096"), 0x1000},
                      HandleCase{"Empty", Variant{}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CadConnectionTest, ReadHandleFailsOnAnUnconvertibleValue) {
    cad.setHwnd(std::u16string(u"window"));
    EXPECT_EQ(failureCode([&] { connection.ReadCADWindowHandle(cad.application); }),
              status::TypeMismatch);
    cad.setHwnd(ObjectRef(cad.document));
    EXPECT_EQ(failureCode([&] { connection.ReadCADWindowHandle(cad.application); }),
              status::TypeMismatch);
}

const std::vector<std::string> EscapePress = {"keybd_event(27,down)", "Sleep(5)",
                                              "keybd_event(27,up)", "Sleep(100)"};

TEST_F(CadConnectionTest, FrontWindowReadsHwndThreeTimesAndPressesEscape) {
    connection.BringCADToFront(cad.application);
    EXPECT_EQ(log->entries(), concat({HwndRead,
                                      {"IsIconic(4096)"},
                                      HwndRead,
                                      {"SetForegroundWindow(4096)"},
                                      {"GetForegroundWindow()"},
                                      HwndRead,
                                      EscapePress}));
}

TEST_F(CadConnectionTest, MinimisedWindowIsRestoredFirstAndHwndReadFourTimes) {
    windows.setIconic(CadWindow, true);
    connection.BringCADToFront(cad.application);
    EXPECT_EQ(log->entries(), concat({HwndRead,
                                      {"IsIconic(4096)"},
                                      HwndRead,
                                      {"OpenIcon(4096)", "Sleep(500)"},
                                      HwndRead,
                                      {"SetForegroundWindow(4096)"},
                                      {"GetForegroundWindow()"},
                                      HwndRead,
                                      EscapePress}));
}

TEST_F(CadConnectionTest, NoEscapeWhenAnotherWindowKeepsTheForeground) {
    windows.addWindow(0x2000);
    windows.setForeground(0x2000);
    windows.refuseActivation(true);
    connection.BringCADToFront(cad.application);
    EXPECT_EQ(log->entries(), concat({HwndRead,
                                      {"IsIconic(4096)"},
                                      HwndRead,
                                      {"SetForegroundWindow(4096)"},
                                      {"GetForegroundWindow()"},
                                      HwndRead}));
    connection.SendCADCommand(cad.application, u"_LINE\r");
    EXPECT_THAT(cad.sentCommands(), ElementsAre(u"_LINE\r"));
}

TEST_F(CadConnectionTest, AFailedHwndReadStopsButKeepsWhatWasDone) {
    windows.setIconic(CadWindow, true);
    int reads = 0;
    cad.application->setMember(u"HWND", [&reads](const auto&) -> Variant {
        if (++reads == 3) {
            throw AutomationError(status::CallRejected, "busy");
        }
        return std::int64_t{CadWindow};
    });
    EXPECT_EQ(failureCode([&] { connection.BringCADToFront(cad.application); }),
              status::CallRejected);
    EXPECT_EQ(
        log->entries(),
        concat(
            {HwndRead, {"IsIconic(4096)"}, HwndRead, {"OpenIcon(4096)", "Sleep(500)"}, HwndRead}));
    EXPECT_FALSE(windows.IsIconic(CadWindow));
}

TEST_F(CadConnectionTest, AFailedLastHwndReadLeavesTheWindowInFrontWithoutEscape) {
    int reads = 0;
    cad.application->setMember(u"HWND", [&reads](const auto&) -> Variant {
        if (++reads == 3) {
            throw AutomationError(status::Exception, "gone");
        }
        return std::int64_t{CadWindow};
    });
    EXPECT_EQ(failureCode([&] { connection.BringCADToFront(cad.application); }), status::Exception);
    EXPECT_EQ(windows.GetForegroundWindow(), CadWindow);
    EXPECT_EQ(log->count("keybd_event"), 0U);
}

// The foreground window is compared as a signed 32-bit number with the whole
// value the CAD reports.
struct InFrontCase {
    const char* name;
    Variant hwnd;
    bool escape;
};

class InFrontTest : public CadConnectionTest, public ::testing::WithParamInterface<InFrontCase> {};

TEST_P(InFrontTest, EscapeOnlyWhenTheWholeValueMatches) {
    cad.setHwnd(GetParam().hwnd);
    const WindowHandle handle = connection.ReadCADWindowHandle(cad.application);
    windows.addWindow(handle);
    log->clear();
    connection.BringCADToFront(cad.application);
    EXPECT_EQ(windows.GetForegroundWindow(), handle);
    EXPECT_EQ(log->count("keybd_event"), GetParam().escape ? 2U : 0U);
}

INSTANTIATE_TEST_SUITE_P(
    Table, InFrontTest,
    ::testing::Values(InFrontCase{"Int64", std::int64_t{0x1000}, true},
                      InFrontCase{"Double", 4096.0, true},
                      InFrontCase{"Text", std::u16string(u"4096"), true},
                      InFrontCase{"BitsAbove32", std::int64_t{0x100001000}, false},
                      InFrontCase{"Bit31AsPositive", std::int64_t{0x80001000}, false},
                      InFrontCase{"Bit31SignExtended", std::int64_t{-2147479552}, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CadConnectionTest, SendCommandGoesToTheActiveDocumentUnchanged) {
    connection.SendCADCommand(cad.application, u"(load \"a b.lsp\")\r");
    EXPECT_THAT(log->entries(),
                ElementsAre("app.GetIDsOfNames(ActiveDocument)",
                            "app.Invoke(ActiveDocument,3,want)", "doc.GetIDsOfNames(SendCommand)",
                            "doc.Invoke(SendCommand,1,none,\"(load \"a b.lsp\")\\r\")"));
    EXPECT_THAT(cad.sentCommands(), ElementsAre(u"(load \"a b.lsp\")\r"));
}

TEST_F(CadConnectionTest, SendCommandFailsWithoutADocument) {
    cad.application->setValue(u"ActiveDocument", Variant{});
    EXPECT_EQ(failureCode([&] { connection.SendCADCommand(cad.application, u"_LINE\r"); }),
              status::TypeMismatch);
    cad.application->removeMember(u"ActiveDocument");
    EXPECT_EQ(failureCode([&] { connection.SendCADCommand(cad.application, u"_LINE\r"); }),
              status::UnknownName);
    cad.application->setValue(u"ActiveDocument", ObjectRef(cad.state));
    EXPECT_EQ(failureCode([&] { connection.SendCADCommand(cad.application, u"_LINE\r"); }),
              status::UnknownName);
    EXPECT_THAT(cad.sentCommands(), IsEmpty());
}

}  // namespace
}  // namespace orvane::cadlink
