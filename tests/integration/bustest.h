#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "cadlink/cadconnection.h"
#include "cadlink/dbus/dbusruntime.h"
#include "cadlink/fake/fakewindowsystem.h"
#include "tests/integration/democadprocess.h"
#include "tests/integration/desktop.h"

namespace orvane::integration {

// A test that talks to demo CADs over the session bus.
class BusTest : public testing::Test {
protected:
    void SetUp() override {
        if (!haveSessionBus()) {
            GTEST_SKIP() << "no session bus (run under dbus-run-session)";
        }
    }

    // Starts a demo CAD serving a fresh ProgID with the given options.
    std::unique_ptr<DemoCadProcess> startDemo(const QStringList& options = {}) {
        auto demo = std::make_unique<DemoCadProcess>(uniqueProgId(QStringLiteral("Bus")), options);
        EXPECT_TRUE(demo->waitReady()) << "the demo CAD did not come up";
        return demo;
    }
};

// Catches the automation error a call raises and gives its status, 0 when
// the call went through.
template <typename Call>
std::int32_t statusOf(Call&& call) {
    try {
        call();
        return 0;
    } catch (const cadlink::AutomationError& error) {
        return error.code();
    }
}

}  // namespace orvane::integration
