#include "cadlink/com/comapartment.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <thread>

namespace orvane::cadlink::com {
namespace {

// Each test on a thread of its own, so no other test's apartment is seen.
template <typename Body>
void onFreshThread(Body body) {
    std::thread(body).join();
}

TEST(ComApartmentScope, MakesTheThreadASingleThreadedApartment) {
    onFreshThread([] {
        const ComApartment apartment;
        EXPECT_TRUE(apartment.initialised());
        APTTYPE type{};
        APTTYPEQUALIFIER qualifier{};
        ASSERT_EQ(CoGetApartmentType(&type, &qualifier), S_OK);
        EXPECT_TRUE(type == APTTYPE_STA || type == APTTYPE_MAINSTA);
    });
}

TEST(ComApartmentScope, EndsWithTheObject) {
    onFreshThread([] {
        { const ComApartment apartment; }
        APTTYPE type{};
        APTTYPEQUALIFIER qualifier{};
        EXPECT_EQ(CoGetApartmentType(&type, &qualifier), CO_E_NOTINITIALIZED);
    });
}

TEST(ComApartmentScope, AThreadAlreadyMultiThreadedStaysSoAndIsLeftAlone) {
    onFreshThread([] {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        {
            const ComApartment apartment;
            EXPECT_FALSE(apartment.initialised());
        }
        APTTYPE type{};
        APTTYPEQUALIFIER qualifier{};
        ASSERT_EQ(CoGetApartmentType(&type, &qualifier), S_OK);
        EXPECT_EQ(type, APTTYPE_MTA);
        CoUninitialize();
    });
}

}  // namespace
}  // namespace orvane::cadlink::com
