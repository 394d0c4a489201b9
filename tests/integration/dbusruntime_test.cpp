#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <signal.h>

#include <thread>

#include "cadlink/dbus/busname.h"

#include "tests/integration/bustest.h"

namespace orvane::integration {
namespace {

using cadlink::AutomationError;
using cadlink::CadConnection;
using cadlink::ObjectRef;
using cadlink::Variant;
namespace status = cadlink::status;

std::u16string toU16(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

class DBusRuntimeTest : public BusTest {
protected:
    cadlink::dbus::DBusAutomationRuntime runtime;
    cadlink::fake::FakeWindowSystem windows;
    std::u16string target;
    CadConnection connection{runtime, windows, [this] { return target; }};

    Variant call(const ObjectRef& object, std::u16string_view member,
                 const std::optional<std::u16string>& argument = std::nullopt, bool wantResult = true) {
        return connection.CallCADMember(object, member, argument, wantResult);
    }
};

// ProgIDs that find nothing: the lookup says "not running" and attaching
// fails with the reason.
struct Missing {
    const char* label;
    std::u16string progId;
    std::int32_t attachStatus;
};

class MissingProgId : public DBusRuntimeTest, public testing::WithParamInterface<Missing> {};

TEST_P(MissingProgId, IsNotRunningAndCannotBeAttached) {
    target = GetParam().progId;
    EXPECT_FALSE(connection.IsTargetCADRunning());
    EXPECT_EQ(statusOf([&] { connection.AttachTargetCAD(); }), GetParam().attachStatus);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MissingProgId,
    testing::Values(Missing{"empty", u"", status::ClassNotRegistered},
                    Missing{"emptyElement", u"Orvane..Test", status::ClassNotRegistered},
                    Missing{"tooLong", std::u16string(300, u'x'), status::ClassNotRegistered},
                    Missing{"loneSurrogate", std::u16string(u"Orvane.\xD800"), status::ClassNotRegistered},
                    Missing{"notRunning", u"OrvaneTest.NobodyServesThis", status::NotRunning}),
    [](const testing::TestParamInfo<Missing>& info) { return info.param.label; });

TEST_F(DBusRuntimeTest, EveryMemberOfTheCadAnswers) {
    const auto demo = startDemo();
    target = demo->progIdU16();
    ASSERT_TRUE(connection.IsTargetCADRunning());
    const ObjectRef application = connection.AttachTargetCAD();

    EXPECT_EQ(connection.ReadCADWindowHandle(application), 0U);  // offscreen: no X11 window
    const QString fullName = QFileInfo(democadPath()).canonicalFilePath();
    EXPECT_EQ(cadlink::variantToText(call(application, u"FullName")), toU16(fullName));
    EXPECT_EQ(cadlink::variantToText(call(application, u"Path")), toU16(QFileInfo(fullName).path()));
    for (const std::u16string_view member : {u"GetAcadState", u"GetGcadState", u"GetZcadState"}) {
        const ObjectRef state = cadlink::variantToObject(call(application, member));
        EXPECT_TRUE(cadlink::variantToBool(call(state, u"IsQuiescent")));
    }
    connection.SendCADCommand(application, u"_LINE\r");
    EXPECT_EQ(demo->countLines(QStringLiteral("COMMAND _LINE\\r")), 1);
}

TEST_F(DBusRuntimeTest, StateAndWindowSwitchesOfTheCadAreSeen) {
    const auto demo = startDemo({QStringLiteral("--not-quiescent")});
    target = demo->progIdU16();
    const ObjectRef application = connection.AttachTargetCAD();
    const ObjectRef state = cadlink::variantToObject(call(application, u"GetAcadState"));
    EXPECT_FALSE(cadlink::variantToBool(call(state, u"IsQuiescent")));
}

// Command texts reach the CAD exactly as given.
class CommandText : public DBusRuntimeTest, public testing::WithParamInterface<std::pair<std::u16string, QString>> {};

TEST_P(CommandText, ArrivesUnchanged) {
    const auto demo = startDemo();
    target = demo->progIdU16();
    connection.SendCADCommand(connection.AttachTargetCAD(), GetParam().first);
    const QStringList lines = demo->logLines();
    EXPECT_EQ(lines.count(QStringLiteral("COMMAND ") + GetParam().second), 1) << lines.join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandText,
    testing::Values(std::pair{std::u16string(u"_LINE\r"), QStringLiteral("_LINE\\r")},
                    std::pair{std::u16string(u"(load \"C:\\\\lisp\\\\a b.lsp\")\r"),
                              QStringLiteral("(load \"C:\\\\\\\\lisp\\\\\\\\a b.lsp\")\\r")},
                    std::pair{std::u16string(u"\u7DDA\u5206\r\n\t"), QString::fromUtf16(u"\u7DDA\u5206\\r\\n\\t")},
                    std::pair{std::u16string(u"\r"), QStringLiteral("\\r")},
                    std::pair{std::u16string(u""), QString()}));

TEST_F(DBusRuntimeTest, TextTheBusCannotCarryIsNotSentAtAll) {
    const auto demo = startDemo();
    target = demo->progIdU16();
    const ObjectRef application = connection.AttachTargetCAD();
    EXPECT_EQ(statusOf([&] { connection.SendCADCommand(application, std::u16string(u"_LINE\0_ERASE\r", 13)); }),
              status::TypeMismatch);
    EXPECT_EQ(statusOf([&] { connection.SendCADCommand(application, std::u16string(u"_LINE\xDC00\r")); }),
              status::TypeMismatch);
    EXPECT_EQ(demo->countLines(QStringLiteral("CALL SendCommand")), 0);
}

// Each answer type as a method and as a property; the property is read only
// after the method call says the member is unknown.
struct Conversion {
    const char* label;
    const char* typedValue;
    Variant expected;
};

const Conversion conversions[] = {
    {"byte", "y:200", std::uint64_t{200}},
    {"boolean", "b:true", true},
    {"int16", "n:-5", std::int64_t{-5}},
    {"uint16", "q:65535", std::uint64_t{65535}},
    {"int32", "i:-2147483648", std::int64_t{-2147483648LL}},
    {"uint32", "u:4294967295", std::uint64_t{4294967295ULL}},
    {"int64", "x:-9223372036854775807", std::int64_t{-9223372036854775807LL}},
    {"uint64", "t:18446744073709551615", std::uint64_t{18446744073709551615ULL}},
    {"double", "d:2.5", 2.5},
    {"string", "s:\xE7\xB7\x9A\xE5\x88\x86 x", std::u16string(u"\u7DDA\u5206 x")},
    {"signature", "g:a{sv}", std::u16string(u"a{sv}")},
    {"variant", "v:i:7", std::int64_t{7}},
    {"nestedVariant", "v:v:s:deep", std::u16string(u"deep")},
    {"none", "none", std::monostate{}},
};

class ConversionTest : public DBusRuntimeTest, public testing::WithParamInterface<bool> {};

TEST_P(ConversionTest, EveryBasicTypeArrives) {
    const bool asProperty = GetParam();
    QStringList options;
    for (const Conversion& conversion : conversions) {
        options << (asProperty ? QStringLiteral("--property") : QStringLiteral("--method"))
                << QStringLiteral("M%1=%2").arg(QLatin1String(conversion.label), QString::fromUtf8(conversion.typedValue));
    }
    const auto demo = startDemo(options);
    target = demo->progIdU16();
    const ObjectRef application = connection.AttachTargetCAD();
    for (const Conversion& conversion : conversions) {
        const std::u16string member = u"M" + toU16(QLatin1String(conversion.label));
        EXPECT_EQ(call(application, member), conversion.expected) << conversion.label;
    }
}

TEST_P(ConversionTest, AnObjectPathIsAnObjectOfTheSameCad) {
    const auto demo = startDemo({GetParam() ? QStringLiteral("--property") : QStringLiteral("--method"),
                                 QStringLiteral("Doc=o:/Document1")});
    target = demo->progIdU16();
    const ObjectRef document = cadlink::variantToObject(call(connection.AttachTargetCAD(), u"Doc"));
    call(document, u"SendCommand", u"_CIRCLE\r", false);
    EXPECT_EQ(demo->countLines(QStringLiteral("COMMAND _CIRCLE\\r")), 1);
}

TEST_P(ConversionTest, AnAnswerOfNoUsableTypeIsATypeMismatch) {
    const auto demo = startDemo({GetParam() ? QStringLiteral("--property") : QStringLiteral("--method"),
                                 QStringLiteral("List=as:a,b")});
    target = demo->progIdU16();
    const ObjectRef application = connection.AttachTargetCAD();
    EXPECT_EQ(statusOf([&] { call(application, u"List"); }), status::TypeMismatch);
    // Nothing is converted when no result is wanted; such a call is a method
    // call only, so a property is not found by it.
    EXPECT_EQ(statusOf([&] { call(application, u"List", std::nullopt, false); }),
              GetParam() ? status::UnknownName : 0);
}

INSTANTIATE_TEST_SUITE_P(MethodAndProperty, ConversionTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "property" : "method"; });

TEST_F(DBusRuntimeTest, MembersTheCadLacksAreUnknownNames) {
    const auto demo = startDemo({QStringLiteral("--lack"), QStringLiteral("HWND"), QStringLiteral("--lack"),
                                 QStringLiteral("ActiveDocument")});
    target = demo->progIdU16();
    const ObjectRef application = connection.AttachTargetCAD();
    EXPECT_EQ(statusOf([&] { connection.ReadCADWindowHandle(application); }), status::UnknownName);
    EXPECT_EQ(statusOf([&] { connection.SendCADCommand(application, u"_LINE\r"); }), status::UnknownName);
    EXPECT_EQ(statusOf([&] { call(application, u"NoSuchMember"); }), status::UnknownName);
    EXPECT_EQ(statusOf([&] { call(application, u"SendCommand", u"x", false); }), status::UnknownName);
    EXPECT_EQ(statusOf([&] { call(application, u"Not A Name"); }), status::UnknownName);
    EXPECT_EQ(demo->countLines(QStringLiteral("CALL Not A Name")), 0);
    // The rest of the CAD still answers.
    EXPECT_EQ(statusOf([&] { call(application, u"FullName"); }), 0);
}

TEST_F(DBusRuntimeTest, AnErrorOfTheCadIsAnException) {
    const auto demo = startDemo();
    target = demo->progIdU16();
    const ObjectRef document = cadlink::variantToObject(call(connection.AttachTargetCAD(), u"ActiveDocument"));
    // SendCommand without its text: the CAD answers with an error of its own.
    EXPECT_EQ(statusOf([&] { call(document, u"SendCommand"); }), status::Exception);
}

TEST_F(DBusRuntimeTest, ACadThatQuitsFailsTheCallsOnItsObjects) {
    auto demo = startDemo();
    target = demo->progIdU16();
    const ObjectRef application = connection.AttachTargetCAD();
    demo->stop();
    EXPECT_TRUE(waitUntil([&] { return !connection.IsTargetCADRunning(); }));
    EXPECT_EQ(statusOf([&] { call(application, u"HWND"); }), status::CallFailed);
    EXPECT_EQ(statusOf([&] { connection.AttachTargetCAD(); }), status::NotRunning);
}

TEST_F(DBusRuntimeTest, AnObjectStaysWithTheInstanceItCameFrom) {
    auto first = startDemo();
    target = first->progIdU16();
    const ObjectRef application = connection.AttachTargetCAD();
    first->stop();
    ASSERT_TRUE(waitUntil([&] { return !connection.IsTargetCADRunning(); }));
    DemoCadProcess second(first->progId(), {});
    ASSERT_TRUE(second.waitReady());
    EXPECT_EQ(statusOf([&] { call(application, u"HWND"); }), status::CallFailed);
    EXPECT_EQ(second.countLines(QStringLiteral("CALL HWND")), 0);
    EXPECT_EQ(statusOf([&] { call(connection.AttachTargetCAD(), u"HWND"); }), 0);
}

TEST_F(DBusRuntimeTest, ACommandARunningCadLeavesUnansweredIsBusyAndNotSentAgain) {
    const auto demo = startDemo({QStringLiteral("--ignore"), QStringLiteral("SendCommand")});
    target = demo->progIdU16();
    cadlink::dbus::DBusAutomationRuntime impatient(QDBusConnection::sessionBus(), 300);
    CadConnection quick(impatient, windows, [this] { return target; });
    EXPECT_EQ(statusOf([&] { quick.SendCADCommand(quick.AttachTargetCAD(), u"_LINE\r"); }), status::Busy);
    // The CAD takes one caller's calls in order: once a later call is
    // answered, a second sending of the command would have arrived.
    EXPECT_EQ(statusOf([&] { call(connection.AttachTargetCAD(), u"FullName"); }), 0);
    EXPECT_EQ(demo->countLines(QStringLiteral("CALL SendCommand")), 1);
}

TEST_F(DBusRuntimeTest, ACadThatQuitsWhileACallWaitsFailsTheCall) {
    const auto demo = startDemo({QStringLiteral("--ignore"), QStringLiteral("HWND")});
    target = demo->progIdU16();
    const auto pid = QDBusConnection::sessionBus().interface()->servicePid(
        QString::fromStdString(cadlink::dbus::busNameForProgId(target).value_or(std::string())));
    ASSERT_TRUE(pid.isValid());
    cadlink::dbus::DBusAutomationRuntime patient(QDBusConnection::sessionBus(), 60000);
    CadConnection slow(patient, windows, [this] { return target; });
    const ObjectRef application = slow.AttachTargetCAD();
    std::thread quit([&] {
        if (demo->waitForLine([](const QString& line) { return line == QLatin1String("IGNORED HWND"); })) {
            ::kill(static_cast<pid_t>(pid.value()), SIGKILL);
        }
    });
    EXPECT_EQ(statusOf([&] { slow.ReadCADWindowHandle(application); }), status::CallFailed);
    quit.join();
}

TEST_F(DBusRuntimeTest, ProgIdsBeyondAsciiFindTheirCad) {
    DemoCadProcess demo(QString::fromUtf16(u"Orvane Test.\u56F3\u9762-") + uniqueProgId(QStringLiteral("U")), {});
    ASSERT_TRUE(demo.waitReady());
    target = demo.progIdU16();
    EXPECT_TRUE(connection.IsTargetCADRunning());
    EXPECT_EQ(statusOf([&] { connection.AttachTargetCAD(); }), 0);
}

TEST_F(DBusRuntimeTest, AProgIdInOtherLetterCaseFindsItsCad) {
    const auto demo = startDemo();
    target = demo->progId().toLower().toStdU16String();
    ASSERT_NE(target, demo->progIdU16());
    EXPECT_TRUE(connection.IsTargetCADRunning());
    connection.SendCADCommand(connection.AttachTargetCAD(), u"_LINE\r");
    EXPECT_EQ(demo->countLines(QStringLiteral("COMMAND _LINE\\r")), 1);
}

TEST_F(DBusRuntimeTest, TheCadServingTheProgIdAsWrittenIsTakenBeforeOtherSpellings) {
    const QString progId = uniqueProgId(QStringLiteral("Spelt"));
    DemoCadProcess asWritten(progId, {});
    DemoCadProcess otherwise(progId.toUpper(), {});
    ASSERT_TRUE(asWritten.waitReady());
    ASSERT_TRUE(otherwise.waitReady());
    target = asWritten.progIdU16();
    connection.SendCADCommand(connection.AttachTargetCAD(), u"_LINE\r");
    EXPECT_EQ(asWritten.countLines(QStringLiteral("COMMAND _LINE\\r")), 1);
    EXPECT_EQ(otherwise.countLines(QStringLiteral("CALL SendCommand")), 0);
}

}  // namespace
}  // namespace orvane::integration
