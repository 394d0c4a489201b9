#include "cadlink/dbus/replyvalue.h"

#include <QDBusObjectPath>
#include <QDBusSignature>
#include <QDBusUnixFileDescriptor>
#include <QDBusVariant>
#include <QStringList>
#include <gtest/gtest.h>

#include <limits>

namespace orvane::cadlink::dbus {
namespace {

class PathObject final : public AutomationObject {
public:
    explicit PathObject(QString path) : path(std::move(path)) {}
    DispId GetIDsOfNames(std::u16string_view) override { return 1; }
    Variant Invoke(DispId, CallKind, const std::optional<std::u16string>&, bool) override { return {}; }
    QString path;
};

Variant convert(const QVariant& value) {
    return variantFromReply(value, [](const QString& path) { return std::make_shared<PathObject>(path); });
}

QVariant wrapped(const QVariant& value, int times) {
    QVariant result = value;
    for (int i = 0; i < times; ++i) {
        result = QVariant::fromValue(QDBusVariant(result));
    }
    return result;
}

TEST(ReplyValue, BasicTypesKeepTheirValueAndSign) {
    EXPECT_EQ(convert(true), Variant(true));
    EXPECT_EQ(convert(QVariant::fromValue<uchar>(200)), Variant(std::uint64_t{200}));
    EXPECT_EQ(convert(QVariant::fromValue<short>(-5)), Variant(std::int64_t{-5}));
    EXPECT_EQ(convert(QVariant::fromValue<ushort>(65535)), Variant(std::uint64_t{65535}));
    EXPECT_EQ(convert(QVariant::fromValue<int>(-2147483647 - 1)), Variant(std::int64_t{-2147483647 - 1}));
    EXPECT_EQ(convert(QVariant::fromValue<uint>(4294967295U)), Variant(std::uint64_t{4294967295U}));
    EXPECT_EQ(convert(QVariant::fromValue(std::numeric_limits<qlonglong>::min())),
              Variant(std::numeric_limits<std::int64_t>::min()));
    EXPECT_EQ(convert(QVariant::fromValue(std::numeric_limits<qulonglong>::max())),
              Variant(std::numeric_limits<std::uint64_t>::max()));
    EXPECT_EQ(convert(2.5), Variant(2.5));
    EXPECT_EQ(convert(QString::fromUtf16(u"\u7DDA\u5206 \U0001F600")), Variant(std::u16string(u"\u7DDA\u5206 \U0001F600")));
    EXPECT_EQ(convert(QVariant::fromValue(QDBusSignature(QStringLiteral("a{sv}")))), Variant(std::u16string(u"a{sv}")));
}

TEST(ReplyValue, ObjectPathsBecomeObjectsOfThatPath) {
    const Variant value = convert(QVariant::fromValue(QDBusObjectPath(QStringLiteral("/Document1"))));
    const auto* object = std::get_if<ObjectRef>(&value);
    ASSERT_NE(object, nullptr);
    const auto* path = dynamic_cast<PathObject*>(object->get());
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(path->path, QStringLiteral("/Document1"));
}

TEST(ReplyValue, VariantsAreUnwrapped) {
    EXPECT_EQ(convert(wrapped(QVariant::fromValue<int>(7), 1)), Variant(std::int64_t{7}));
    EXPECT_EQ(convert(wrapped(QStringLiteral("x"), 3)), Variant(std::u16string(u"x")));
}

TEST(ReplyValue, UnusableAnswersAreTypeMismatches) {
    const QVariant unusable[] = {
        QVariant(QStringList{QStringLiteral("a")}),
        QVariant::fromValue(QDBusUnixFileDescriptor()),
        QVariant(),
        wrapped(QVariant::fromValue<int>(1), 100),  // nested beyond reason
    };
    for (const QVariant& value : unusable) {
        try {
            convert(value);
            ADD_FAILURE() << "converted " << (value.typeName() ? value.typeName() : "invalid");
        } catch (const AutomationError& error) {
            EXPECT_EQ(error.code(), status::TypeMismatch);
        }
    }
}

}  // namespace
}  // namespace orvane::cadlink::dbus
