// The input-method backend's logic with fake frameworks and a fake bus: no
// bus and no display needed.

#include <gtest/gtest.h>

#include <QDBusVariant>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "cadlink/x11/fcitx5.h"
#include "cadlink/x11/ibus.h"
#include "cadlink/x11/inputmethod.h"

namespace orvane::cadlink::x11 {
namespace {

using Log = std::vector<std::string>;

class ScriptedFramework final : public InputMethodFramework {
public:
    ScriptedFramework(std::string name, Log& log) : name_(std::move(name)), log_(log) {}
    bool answers = true;
    bool open = false;

    std::optional<bool> isOpen() override {
        log_.push_back(name_ + ".isOpen");
        return answers ? std::optional<bool>(open) : std::nullopt;
    }
    bool setOpen(bool on) override {
        log_.push_back(name_ + (on ? ".open" : ".close"));
        if (answers) {
            open = on;
        }
        return answers;
    }

private:
    std::string name_;
    Log& log_;
};

constexpr WindowHandle kCad = 0x400001;
constexpr WindowHandle kOther = 0x600001;

class InputMethodSwitchTest : public ::testing::Test {
protected:
    InputMethodSwitchTest() {
        auto first = std::make_unique<ScriptedFramework>("fcitx", log);
        auto second = std::make_unique<ScriptedFramework>("ibus", log);
        fcitx = first.get();
        ibus = second.get();
        std::vector<std::unique_ptr<InputMethodFramework>> frameworks;
        frameworks.push_back(std::move(first));
        frameworks.push_back(std::move(second));
        ime = std::make_unique<InputMethodSwitch>(
            [this] {
                ++focusQueries;
                if (!focusSequence.empty()) {
                    focused = focusSequence.front();
                    focusSequence.pop_front();
                }
                return focused;
            },
            std::move(frameworks));
    }

    Log log;
    ScriptedFramework* fcitx = nullptr;
    ScriptedFramework* ibus = nullptr;
    WindowHandle focused = kCad;
    // Focus answers for the next queries, then focused stays.
    std::deque<WindowHandle> focusSequence;
    int focusQueries = 0;
    std::unique_ptr<InputMethodSwitch> ime;
};

TEST_F(InputMethodSwitchTest, FocusedWindowIsItsOwnImeWindowWhileAFrameworkAnswers) {
    EXPECT_EQ(ime->defaultImeWindow(kCad), kCad);
    fcitx->answers = false;
    EXPECT_EQ(ime->defaultImeWindow(kCad), kCad);
    ibus->answers = false;
    EXPECT_EQ(ime->defaultImeWindow(kCad), 0U);
}

TEST_F(InputMethodSwitchTest, WindowWithoutTheFocusHasNoImeWindowAndNoBusCall) {
    focused = kOther;
    EXPECT_EQ(ime->defaultImeWindow(kCad), 0U);
    EXPECT_EQ(ime->openStatus(kCad), 0);
    fcitx->open = true;
    ime->setOpenStatus(kCad, false);
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(fcitx->open);
    focused = 0;
    EXPECT_EQ(ime->defaultImeWindow(0), 0U);
}

TEST_F(InputMethodSwitchTest, FcitxIsAskedFirstAndDecides) {
    fcitx->open = false;
    ibus->open = true;
    EXPECT_EQ(ime->openStatus(kCad), 0);
    EXPECT_EQ(log, (Log{"fcitx.isOpen"}));
    fcitx->open = true;
    EXPECT_EQ(ime->openStatus(kCad), 1);
}

TEST_F(InputMethodSwitchTest, IBusDecidesWhereFcitxDoesNotAnswer) {
    fcitx->answers = false;
    ibus->open = true;
    EXPECT_EQ(ime->openStatus(kCad), 1);
    ime->setOpenStatus(kCad, false);
    EXPECT_FALSE(ibus->open);
    EXPECT_EQ(log, (Log{"fcitx.isOpen", "ibus.isOpen", "fcitx.close", "ibus.close"}));
}

TEST_F(InputMethodSwitchTest, ClosingChecksTheFocusAgain) {
    fcitx->open = true;
    focusSequence = {kCad, kCad, kOther};
    ASSERT_EQ(ime->defaultImeWindow(kCad), kCad);
    ASSERT_EQ(ime->openStatus(kCad), 1);
    ime->setOpenStatus(kCad, false);
    EXPECT_TRUE(fcitx->open);
    EXPECT_EQ(focusQueries, 3);

    ime->setOpenStatus(kOther, false);
    EXPECT_FALSE(fcitx->open);
    EXPECT_EQ(log.back(), "fcitx.close");
}

struct SessionCase {
    const char* wayland;
    const char* display;
    bool waylandOnly;
};

class WaylandSessionTest : public ::testing::TestWithParam<SessionCase> {};

TEST_P(WaylandSessionTest, OnlyWaylandWithoutXDisplayCounts) {
    EXPECT_EQ(isWaylandOnlySession(GetParam().wayland, GetParam().display), GetParam().waylandOnly);
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, WaylandSessionTest,
    ::testing::Values(SessionCase{"wayland-0", nullptr, true}, SessionCase{"wayland-0", "", true},
                      SessionCase{"wayland-0", ":0", false}, SessionCase{nullptr, ":0", false},
                      SessionCase{"", nullptr, false}, SessionCase{nullptr, nullptr, false}));

// ---- Fcitx 5 over a fake bus ---------------------------------------------------

class FakeBus {
public:
    // The reply to each member; members without one get NameHasNoOwner.
    std::map<QString, QVariantList> replies;
    std::vector<QDBusMessage> calls;

    BusCaller caller() {
        return [this](const QDBusMessage& call) {
            calls.push_back(call);
            const auto reply = replies.find(call.member());
            if (reply == replies.end()) {
                return call.createErrorReply(
                    QStringLiteral("org.freedesktop.DBus.Error.NameHasNoOwner"),
                    QStringLiteral("no owner"));
            }
            return call.createReply(reply->second);
        };
    }
};

TEST(Fcitx5FrameworkTest, StateTwoIsOpenAndOtherStatesAreClosed) {
    FakeBus bus;
    Fcitx5Framework fcitx(bus.caller());
    for (const auto& [state, open] :
         std::vector<std::pair<int, bool>>{{2, true}, {1, false}, {0, false}}) {
        bus.replies[QStringLiteral("State")] = {state};
        EXPECT_EQ(fcitx.isOpen(), std::optional<bool>(open)) << state;
    }
    bus.replies[QStringLiteral("State")] = {QStringLiteral("two")};
    EXPECT_EQ(fcitx.isOpen(), std::nullopt);
    bus.replies[QStringLiteral("State")] = {};
    EXPECT_EQ(fcitx.isOpen(), std::nullopt);
}

TEST(Fcitx5FrameworkTest, EveryCallGoesToTheControllerWithoutAutoStart) {
    FakeBus bus;
    Fcitx5Framework fcitx(bus.caller());
    EXPECT_EQ(fcitx.isOpen(), std::nullopt);
    EXPECT_FALSE(fcitx.setOpen(false));
    bus.replies[QStringLiteral("Deactivate")] = {};
    bus.replies[QStringLiteral("Activate")] = {};
    EXPECT_TRUE(fcitx.setOpen(false));
    EXPECT_TRUE(fcitx.setOpen(true));
    std::vector<QString> members;
    for (const QDBusMessage& call : bus.calls) {
        members.push_back(call.member());
        EXPECT_EQ(call.service(), QLatin1String("org.fcitx.Fcitx5"));
        EXPECT_EQ(call.path(), QLatin1String("/controller"));
        EXPECT_EQ(call.interface(), QLatin1String("org.fcitx.Fcitx.Controller1"));
        EXPECT_FALSE(call.autoStartService());
        EXPECT_TRUE(call.arguments().isEmpty());
    }
    EXPECT_EQ(members, (std::vector<QString>{"State", "Deactivate", "Deactivate", "Activate"}));
}

// ---- IBus ------------------------------------------------------------------------

TEST(IBusFrameworkTest, NoAnswerOrAnUnreadableEngineIsNoAnswer) {
    FakeBus bus;
    IBusFramework ibus(bus.caller());
    EXPECT_EQ(ibus.isOpen(), std::nullopt);
    EXPECT_FALSE(ibus.setOpen(false));
    bus.replies[QStringLiteral("Get")] = {
        QVariant::fromValue(QDBusVariant(QStringLiteral("xkb:us::eng")))};
    EXPECT_EQ(ibus.isOpen(), std::nullopt);
    for (const QDBusMessage& call : bus.calls) {
        EXPECT_EQ(call.service(), QLatin1String("org.freedesktop.IBus"));
        EXPECT_FALSE(call.autoStartService());
    }
}

TEST(IBusRulesTest, KeyboardLayoutEnginesAreTheClosedState) {
    EXPECT_TRUE(isKeyboardEngine(QStringLiteral("xkb:jp::jpn")));
    EXPECT_FALSE(isKeyboardEngine(QStringLiteral("mozc-jp")));
    EXPECT_FALSE(isKeyboardEngine(QStringLiteral("XKB:us::eng")));
    EXPECT_EQ(firstKeyboardEngine({"anthy", "xkb:jp::jpn", "xkb:us::eng"}),
              QStringLiteral("xkb:jp::jpn"));
    EXPECT_EQ(firstKeyboardEngine({"anthy", "mozc-jp"}), std::nullopt);
}

TEST(IBusRulesTest, AddressFileIsNamedAfterMachineHostAndDisplayNumber) {
    EXPECT_EQ(ibusAddressFilePath("/home/u/.config", "abc", ":1"),
              "/home/u/.config/ibus/bus/abc-unix-1");
    EXPECT_EQ(ibusAddressFilePath("/c", "abc", "host:10.0"), "/c/ibus/bus/abc-host-10");
    EXPECT_EQ(ibusAddressFilePath("/c", "abc", ""), "/c/ibus/bus/abc-unix-0");
    EXPECT_EQ(ibusAddressFromFile(
                  "# comment\nIBUS_ADDRESS=unix:abstract=/tmp/x,guid=1\nIBUS_DAEMON_PID=7\n"),
              "unix:abstract=/tmp/x,guid=1");
    EXPECT_EQ(ibusAddressFromFile("IBUS_DAEMON_PID=7\n"), "");
}

}  // namespace
}  // namespace orvane::cadlink::x11
