#pragma once

#include "cadlink/cadconnection.h"
#include "cadlink/com/comapartment.h"
#include "cadlink/com/comruntime.h"
#include "cadlink/win32/win32windowsystem.h"
#include "tests/windows/democadprocess.h"

#include <gtest/gtest.h>

#include <string>

namespace orvane::wintest {

// The CAD link as the panel builds it on Windows, on the test's thread as
// its apartment, aimed at a ProgID of the test's own.
class CadLinkTest : public ::testing::Test {
protected:
    cadlink::com::ComApartment apartment_;
    cadlink::com::ComAutomationRuntime runtime_;
    cadlink::win32::Win32WindowSystem windows_;
    std::u16string target_ = uniqueProgId(u"Link");
    cadlink::CadConnection connection_{runtime_, windows_, [this] { return target_; }};

    cadlink::ObjectRef attach() { return connection_.AttachTargetCAD(); }
    cadlink::Variant read(const cadlink::ObjectRef& object, std::u16string_view member) {
        return connection_.CallCADMember(object, member, std::nullopt, true);
    }
};

}  // namespace orvane::wintest
