#include <gtest/gtest.h>

#include "tools/democad-windows/classid.h"

namespace democad {
namespace {

TEST(ClassId, SameProgIdGivesSameClassWhateverTheCase) {
    EXPECT_EQ(classIdText(classIdForProgId(u"BricscadApp.AcadApplication")),
              classIdText(classIdForProgId(u"bricscadapp.ACADAPPLICATION")));
}

TEST(ClassId, DifferentProgIdsGiveDifferentClasses) {
    EXPECT_NE(classIdText(classIdForProgId(u"OrvaneTest.A1")), classIdText(classIdForProgId(u"OrvaneTest.A2")));
    EXPECT_NE(classIdText(classIdForProgId(u"OrvaneTest.Ä")), classIdText(classIdForProgId(u"OrvaneTest.ä")));
}

TEST(ClassId, IsAVersionEightUuidInRegistryForm) {
    const std::u16string text = classIdText(classIdForProgId(u"BricscadApp.AcadApplication"));
    ASSERT_EQ(text.size(), 38u);
    EXPECT_EQ(text.front(), u'{');
    EXPECT_EQ(text[9], u'-');
    EXPECT_EQ(text[15], u'8');
    EXPECT_TRUE(text[20] == u'8' || text[20] == u'9' || text[20] == u'A' || text[20] == u'B');
    EXPECT_EQ(text.back(), u'}');
}

TEST(ClassId, TextShowsTheFieldsInOrder) {
    const ClassId id{0x0123ABCD, 0x4567, 0x89EF, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};
    EXPECT_EQ(classIdText(id), u"{0123ABCD-4567-89EF-0123-456789ABCDEF}");
}

}  // namespace
}  // namespace democad
