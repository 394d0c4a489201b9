#include <QLineEdit>
#include <QMenuBar>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "ui/qt/searchbox.h"
#include "ui/qt/tests/uitestsupport.h"

namespace orvane::ui {
namespace {

using testing::PanelWorld;

struct SearchBoxTest : ::testing::Test {
    void SetUp() override {
        world.directory.write(QStringLiteral("OrvaneList.txt"),
                              QStringLiteral("[&Help]\nVER_: About Orvane\n_LINE: Line\nLOAD_: about.lsp\n[Draw]\n_PLINE: Polyline\n"));
        panel = &world.create();
        panel->show();
        panel->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(panel));
    }
    void TearDown() override {
        if (panel != nullptr) panel->hide();
    }

    void openBox() {
        QTest::keyClick(panel, Qt::Key_F, Qt::ControlModifier);
        ASSERT_TRUE(QTest::qWaitFor([&] { return box()->isVisible(); }));
    }
    SearchBox* box() const { return panel->SearchBox1; }
    QStringList rowsShown() const {
        QStringList rows;
        const QTreeWidget* list = box()->rows();
        for (int i = 0; list->isVisible() && i < list->topLevelItemCount(); ++i) {
            rows << list->topLevelItem(i)->text(0) + u'|' + list->topLevelItem(i)->text(1);
        }
        return rows;
    }

    PanelWorld world;
    TForm91* panel = nullptr;
};

TEST_F(SearchBoxTest, CtrlFOpensTheBoxUnderTheMenuBar) {
    openBox();
    const QMenuBar* bar = panel->menuBar();
    EXPECT_EQ(box()->pos(), bar->mapToGlobal(QPoint(0, bar->height())));
    EXPECT_TRUE(box()->edit()->hasFocus());
    EXPECT_TRUE(box()->edit()->text().isEmpty());
}

TEST_F(SearchBoxTest, TypingListsMatchingCaptionsWithTheirMenuTitles) {
    openBox();
    QTest::keyClicks(box()->edit(), QStringLiteral("line"));
    EXPECT_EQ(rowsShown(), QStringList({QStringLiteral("_LINE: Line|Help"), QStringLiteral("_PLINE: Polyline|Draw")}));
    const QTreeWidgetItem* first = box()->rows()->topLevelItem(0);
    EXPECT_EQ(first->foreground(1).color(), box()->palette().color(QPalette::Disabled, QPalette::Text));
}

TEST_F(SearchBoxTest, EnterRunsTheHighlightedItemAsAClickDoes) {
    openBox();
    QTest::keyClicks(box()->edit(), QStringLiteral("about"));
    QTest::keyClick(box()->edit(), Qt::Key_Return);
    EXPECT_FALSE(box()->isVisible());
    ASSERT_EQ(world.boxes.boxes.size(), 1u);
    EXPECT_EQ(world.boxes.boxes[0].caption, QStringLiteral(" バージョン情報"));
}

TEST_F(SearchBoxTest, DownMovesTheHighlightThatEnterRuns) {
    openBox();
    QTest::keyClicks(box()->edit(), QStringLiteral("about"));
    QTest::keyClick(box()->edit(), Qt::Key_Down);
    EXPECT_EQ(box()->rows()->currentItem(), box()->rows()->topLevelItem(1));
    QTest::keyClick(box()->edit(), Qt::Key_Return);
    ASSERT_EQ(world.boxes.boxes.size(), 1u);
    EXPECT_EQ(world.boxes.boxes[0].caption, QStringLiteral(" 情報"));
}

TEST_F(SearchBoxTest, EscapeClosesAndRunsNothing) {
    openBox();
    QTest::keyClicks(box()->edit(), QStringLiteral("about"));
    QTest::keyClick(box()->edit(), Qt::Key_Escape);
    EXPECT_FALSE(box()->isVisible());
    EXPECT_TRUE(world.boxes.boxes.empty());
    EXPECT_TRUE(panel->isActiveWindow());
}

TEST_F(SearchBoxTest, ClickElsewhereClosesAndRunsNothing) {
    openBox();
    QTest::keyClicks(box()->edit(), QStringLiteral("about"));
    // The popup has the pointer: a click on the panel's menu bar reaches it.
    const QMenuBar* bar = panel->menuBar();
    const QPoint onBar = bar->mapToGlobal(QPoint(bar->width() - 5, bar->height() / 2));
    QTest::mouseClick(box()->windowHandle(), Qt::LeftButton, {}, box()->mapFromGlobal(onBar));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !box()->isVisible(); }));
    EXPECT_TRUE(world.boxes.boxes.empty());
}

TEST_F(SearchBoxTest, AnotherWindowTakingTheFocusClosesTheBox) {
    openBox();
    QTest::keyClicks(box()->edit(), QStringLiteral("about"));
    QWidget other;
    other.show();
    other.activateWindow();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !box()->isVisible(); }));
    QTest::keyClick(&other, Qt::Key_Return);
    EXPECT_TRUE(world.boxes.boxes.empty());
}

}  // namespace
}  // namespace orvane::ui
