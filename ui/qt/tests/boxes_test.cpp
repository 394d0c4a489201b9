#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>

#include <gtest/gtest.h>

#include "core/error.h"
#include "ui/qt/boxes.h"
#include "ui/qt/tests/uitestsupport.h"
#include "ui/qt/theme.h"

namespace orvane::ui {
namespace {

using testing::RecordingBoxes;
using testing::whenModal;

struct ShownBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    // Images in the box's window icon.
    qsizetype iconImages = 0;
};

// Shows a real box and reads it while its loop runs.
template <typename Show>
ShownBox showAndRead(Show&& show) {
    ShownBox seen;
    whenModal([&seen](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        seen = {box->windowTitle(), box->text(), box->icon(), {}, box->windowIcon().availableSizes().size()};
        for (QAbstractButton* button : box->buttons()) seen.buttons << button->text();
        box->buttons().front()->click();
    });
    show();
    return seen;
}

TEST(Boxes, TheDefaultErrorBoxCarriesTheTitleAndTheDotRule) {
    QtMessageBoxes boxes;
    const ShownBox seen = showAndRead([&] {
        runHandler(boxes, nullptr, u"/opt/tools/ORVANE.bin.x", [] { throw Error(u"ファイル x は開けません"); });
    });
    EXPECT_EQ(seen.caption, QStringLiteral("Orvane"));
    EXPECT_EQ(seen.text, QStringLiteral("ファイル x は開けません."));
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons.size(), 1);
    // Even a box shown before the panel, which installs the icon later.
    EXPECT_EQ(seen.iconImages, 15);
}

TEST(Boxes, InformationBoxHasTheInformationIconAndOneButton) {
    QtMessageBoxes boxes;
    const ShownBox seen = showAndRead([&] { boxes.showInformation(nullptr, QStringLiteral(" 情報"), QStringLiteral("a\nb")); });
    EXPECT_EQ(seen.caption, QStringLiteral(" 情報"));
    EXPECT_EQ(seen.text, QStringLiteral("a\nb"));
    EXPECT_EQ(seen.icon, QMessageBox::Information);
    EXPECT_EQ(seen.buttons.size(), 1);
}

TEST(Boxes, AnErrorEscapingAHandlerIsReportedAndTheProgramGoesOn) {
    RecordingBoxes boxes;
    bool after = false;
    runHandler(boxes, nullptr, u"/x/Orvane", [] { throw Error(u"リストのインデックスが範囲を超えています (-1)"); });
    runHandler(boxes, nullptr, u"/x/Orvane", [&] { after = true; });
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].caption, QStringLiteral("Orvane"));
    EXPECT_EQ(boxes.boxes[0].text, QStringLiteral("リストのインデックスが範囲を超えています (-1)"));
    EXPECT_TRUE(after);
}

TEST(Theme, AMissingStyleIsReportedWithACloseButton) {
    RecordingBoxes recording;
    applyVisualStyleOrReport(QStringLiteral("Windows10 Nowhere"), recording, QStringLiteral("Orvane"));
    ASSERT_EQ(recording.boxes.size(), 1u);
    EXPECT_EQ(recording.boxes[0].kind, QStringLiteral("style"));
    EXPECT_EQ(recording.boxes[0].text, QStringLiteral("スタイル 'Windows10 Nowhere' が見つかりません"));

    QtMessageBoxes boxes;
    const ShownBox seen = showAndRead([&] { boxes.showStyleMissing(QStringLiteral("Orvane"), QStringLiteral("x")); });
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    ASSERT_EQ(seen.buttons.size(), 1);
    EXPECT_EQ(seen.buttons.front(), QMessageBox(QMessageBox::NoIcon, {}, {}, QMessageBox::Close).buttons().front()->text());
}

TEST(Theme, TheCarriedStyleIsFoundAndApplied) {
    RecordingBoxes recording;
    applyVisualStyleOrReport(QString::fromLatin1(kVisualStyleName), recording, QStringLiteral("Orvane"));
    EXPECT_TRUE(recording.boxes.empty());
    EXPECT_EQ(QApplication::palette().color(QPalette::Active, QPalette::Window), QColor(0x5b, 0x67, 0x70));
    EXPECT_TRUE(qApp->styleSheet().contains(QStringLiteral("QMenuBar")));
}

TEST(Theme, TheIconComesInEverySizeFrom16To256) {
    const QList<QSize> sizes = applicationIcon().availableSizes();
    EXPECT_EQ(sizes.size(), 15);
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    EXPECT_TRUE(sizes.contains(QSize(256, 256)));
    EXPECT_FALSE(applicationIcon().pixmap(QSize(32, 32)).isNull());
}

}  // namespace
}  // namespace orvane::ui
