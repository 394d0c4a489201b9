#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include "core/panelcore.h"
#include "ui/qt/TaregetCADUnit.h"
#include "ui/qt/tests/uitestsupport.h"

namespace orvane::ui {
namespace {

using namespace std::chrono_literals;
using testing::ProgramDirectory;
using testing::RecordingBoxes;
using testing::whenModal;

const QString kListFile = QStringLiteral("TargetCAD_APIVersion.txt");
const QByteArray kBom = "\xEF\xBB\xBF";
const QString kIndexError = QStringLiteral("リストのインデックスが範囲を超えています (-1)");

struct DialogTest : ::testing::Test {
    ProgramDirectory directory;
    // An empty target would match every entry with a TAB.
    SharedValues shared{u"Matches.Nothing", {}, {}, false};
    RecordingBoxes boxes;
    std::chrono::steady_clock::time_point now{};
    TTargetCADForm dialog{nullptr, TargetCADFormDependencies{directory.programPath(), shared, boxes,
                                                              [this] { return now; }}};

    void writeList(const QString& text) { directory.write(kListFile, text); }
    QByteArray listFile() const { return directory.read(kListFile); }
    int selectedRow() const { return dialog.ListBox1->selectionModel()->hasSelection() ? dialog.ListBox1->currentRow() : -1; }
    QStringList shownEntries() const {
        QStringList shown;
        for (int i = 0; i < dialog.ListBox1->count(); ++i) shown << dialog.ListBox1->item(i)->text();
        return shown;
    }
    void expectOnlyIndexError() {
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].kind, QStringLiteral("error"));
        EXPECT_EQ(boxes.boxes[0].caption, QStringLiteral("Orvane"));
        EXPECT_EQ(boxes.boxes[0].text, kIndexError);
    }
};

TEST_F(DialogTest, LayoutTextsAndFocusRules) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("ターゲット CAD"));
    EXPECT_EQ(dialog.size(), QSize(315, 307));
    EXPECT_EQ(dialog.Label1->text(), QStringLiteral("名称 （説明）"));
    EXPECT_EQ(dialog.Label2->text(), QStringLiteral("ProgID （クラス文字列）"));
    EXPECT_EQ(dialog.SpeedButton1->text(), QStringLiteral("追加"));
    EXPECT_EQ(dialog.SpeedButton2->text(), QStringLiteral("削除"));
    EXPECT_EQ(dialog.SpeedButton3->text(), QStringLiteral("変更"));
    EXPECT_EQ(dialog.Button1->text(), QStringLiteral("OK"));
    EXPECT_EQ(dialog.Button2->text(), QStringLiteral("取り消し"));
    EXPECT_EQ(dialog.Edit2->geometry(), QRect(16, 73, 198, 24));
    EXPECT_EQ(dialog.Edit2->parentWidget(), dialog.GroupBox1);
    EXPECT_EQ(dialog.Button2->geometry(), QRect(161, 271, 88, 25));
    for (QToolButton* button : {dialog.SpeedButton1, dialog.SpeedButton2, dialog.SpeedButton3}) {
        EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
    }
    for (QPushButton* button : {dialog.Button1, dialog.Button2}) {
        EXPECT_FALSE(button->autoDefault());
        EXPECT_FALSE(button->isDefault());
    }
}

TEST_F(DialogTest, TabGoesListOkCancelNameProgId) {
    std::vector<QWidget*> order;
    QWidget* widget = dialog.ListBox1;
    do {
        if (widget->focusPolicy() & Qt::TabFocus) order.push_back(widget);
        widget = widget->nextInFocusChain();
    } while (widget != dialog.ListBox1);
    const std::vector<QWidget*> expected{dialog.ListBox1, dialog.Button1, dialog.Button2, dialog.Edit1, dialog.Edit2};
    EXPECT_EQ(order, expected);
}

TEST_F(DialogTest, FirstUseAddCreatesTheFileAndSelectsTheEntry) {
    dialog.FormShow();
    EXPECT_EQ(dialog.ListBox1->count(), 0);
    dialog.Edit1->setText(QStringLiteral("Plant"));
    dialog.Edit2->setText(QStringLiteral("Plant.Application"));
    dialog.SpeedButton1->click();
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(listFile(), QByteArray("Plant\tPlant.Application\r\n"));
    EXPECT_EQ(selectedRow(), 0);
}

TEST_F(DialogTest, ShowingSelectsTheTargetAndFillsTheFields) {
    writeList(QStringLiteral("Zeta\tZ.App\nAlpha\tA.App\nMid\tM.App\n"));
    shared.TargetProgID = u"M.App";
    dialog.FormShow();
    EXPECT_EQ(shownEntries(), QStringList({"Alpha\tA.App", "Mid\tM.App", "Zeta\tZ.App"}));
    EXPECT_EQ(selectedRow(), 1);
    EXPECT_EQ(dialog.Edit1->text(), QStringLiteral("Mid"));
    EXPECT_EQ(dialog.Edit2->text(), QStringLiteral("M.App"));
}

TEST_F(DialogTest, UnmatchedTargetKeepsTheFieldsAsTheyWere) {
    writeList(QStringLiteral("Alpha\tA.App\n"));
    dialog.Edit1->setText(QStringLiteral("kept"));
    shared.TargetProgID = u"Other.App";
    dialog.FormShow();
    EXPECT_EQ(selectedRow(), -1);
    EXPECT_EQ(dialog.Edit1->text(), QStringLiteral("kept"));
}

TEST_F(DialogTest, ClickingAnEntryFillsTheFields) {
    writeList(QStringLiteral("Alpha\tA.App\nNoTab\n"));
    dialog.FormShow();
    dialog.show();
    QListWidget* list = dialog.ListBox1;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(dialog.Edit1->text(), QString());
    EXPECT_EQ(dialog.Edit2->text(), QStringLiteral("NoTab"));
    dialog.hide();
}

// What the list shows as selected is what 変更 and 削除 act on.
struct DialogShownSelectionTest : DialogTest {
    void SetUp() override {
        writeList(QStringLiteral("A\t1\nB\t2\n"));
        shared.TargetProgID = u"1";
        dialog.FormShow();
        dialog.show();
        before = listFile();
    }
    void TearDown() override { dialog.hide(); }
    void clickEntry(int row, Qt::KeyboardModifiers modifiers = {}) {
        QListWidget* list = dialog.ListBox1;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, list->visualItemRect(list->item(row)).center());
    }
    QByteArray before;
};

TEST_F(DialogShownSelectionTest, ClickBelowTheEntriesLeavesChangeNothingToActOn) {
    QListWidget* list = dialog.ListBox1;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->viewport()->rect().bottomLeft() + QPoint(5, -5));
    ASSERT_EQ(selectedRow(), -1);
    dialog.Edit1->setText(QStringLiteral("new"));
    dialog.SpeedButton3->click();
    expectOnlyIndexError();
    EXPECT_EQ(shownEntries(), QStringList({"A\t1", "B\t2"}));
    EXPECT_EQ(listFile(), before);
}

TEST_F(DialogShownSelectionTest, CtrlClickOnTheSelectedEntryLeavesDeleteNothingToActOn) {
    clickEntry(0, Qt::ControlModifier);
    ASSERT_EQ(selectedRow(), -1);
    dialog.SpeedButton2->click();
    expectOnlyIndexError();
    EXPECT_EQ(dialog.Edit1->text(), QString());
    EXPECT_EQ(shownEntries(), QStringList({"A\t1", "B\t2"}));
    EXPECT_EQ(listFile(), before);
}

TEST_F(DialogShownSelectionTest, EnterInAFieldWithTheHighlightGoneChangesNothing) {
    clickEntry(0, Qt::ControlModifier);
    ASSERT_EQ(selectedRow(), -1);
    dialog.Edit2->setText(QStringLiteral("26"));
    QTest::keyClick(dialog.Edit2, Qt::Key_Return);
    expectOnlyIndexError();
    EXPECT_EQ(listFile(), before);
}

TEST_F(DialogShownSelectionTest, TheEntryClickedAgainAfterCtrlClickIsTheOneChanged) {
    clickEntry(0, Qt::ControlModifier);
    clickEntry(0);
    ASSERT_EQ(selectedRow(), 0);
    dialog.Edit2->setText(QStringLiteral("26"));
    dialog.SpeedButton3->click();
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(shownEntries(), QStringList({"A\t26", "B\t2"}));
}

TEST_F(DialogTest, DeletingTheSecondToLastSelectsTheLast) {
    writeList(QStringLiteral("A\t1\nB\t2\nC\t3\n"));
    shared.TargetProgID = u"2";
    dialog.FormShow();
    dialog.SpeedButton2->click();
    EXPECT_EQ(shownEntries(), QStringList({"A\t1", "C\t3"}));
    EXPECT_EQ(selectedRow(), 1);
    EXPECT_EQ(dialog.Edit1->text(), QStringLiteral("C"));
    EXPECT_EQ(listFile(), kBom + QByteArray("A\t1\r\nC\t3\r\n"));
}

TEST_F(DialogTest, DeletingTheOnlyEntryLeavesEverythingEmpty) {
    writeList(QStringLiteral("A\t1\n"));
    shared.TargetProgID = u"1";
    dialog.FormShow();
    dialog.SpeedButton2->click();
    EXPECT_EQ(dialog.ListBox1->count(), 0);
    EXPECT_EQ(dialog.Edit1->text(), QString());
    EXPECT_EQ(dialog.Edit2->text(), QString());
    EXPECT_EQ(listFile(), kBom);
}

TEST_F(DialogTest, DeleteWithoutSelectionClearsTheFieldsAndReportsTheIndex) {
    writeList(QStringLiteral("A\t1\n"));
    dialog.FormShow();
    dialog.Edit1->setText(QStringLiteral("x"));
    dialog.Edit2->setText(QStringLiteral("y"));
    const QByteArray before = listFile();
    dialog.SpeedButton2->click();
    expectOnlyIndexError();
    EXPECT_EQ(dialog.Edit1->text(), QString());
    EXPECT_EQ(dialog.Edit2->text(), QString());
    EXPECT_EQ(listFile(), before);
}

TEST_F(DialogTest, DeleteOnAnEmptyListWritesTheEmptyFileWithoutAMessage) {
    dialog.FormShow();
    dialog.Edit1->setText(QStringLiteral("x"));
    dialog.SpeedButton2->click();
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(dialog.Edit1->text(), QString());
    EXPECT_TRUE(directory.exists(kListFile));
    EXPECT_EQ(listFile(), QByteArray());
}

TEST_F(DialogTest, ChangeWithoutSelectionReportsTheIndexAndWritesNothing) {
    writeList(QStringLiteral("A\t1\n"));
    dialog.FormShow();
    const QByteArray before = listFile();
    dialog.Edit1->setText(QStringLiteral("new"));
    dialog.SpeedButton3->click();
    expectOnlyIndexError();
    EXPECT_EQ(listFile(), before);
    EXPECT_EQ(shownEntries(), QStringList({"A\t1"}));
}

TEST_F(DialogTest, EnterInAFieldChangesTheEntryInPlaceAndNeverReachesTheField) {
    writeList(QStringLiteral("A\t1\nB\t2\nC\t3\n"));
    shared.TargetProgID = u"1";
    dialog.FormShow();
    dialog.Edit1->setText(QStringLiteral("Z"));
    dialog.Edit2->setText(QStringLiteral("26"));
    QSignalSpy returnPressed(dialog.Edit2, &QLineEdit::returnPressed);
    QTest::keyClick(dialog.Edit2, Qt::Key_Return);
    EXPECT_EQ(returnPressed.count(), 0);
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(shownEntries(), QStringList({"Z\t26", "B\t2", "C\t3"}));
    EXPECT_EQ(selectedRow(), 0);
    EXPECT_EQ(listFile(), kBom + QByteArray("Z\t26\r\nB\t2\r\nC\t3\r\n"));
}

TEST_F(DialogTest, AFileThatCannotBeWrittenIsReportedAndTheListKeepsTheEdit) {
    dialog.FormShow();
    QDir().mkdir(directory.path(kListFile));  // a directory where the file should go
    dialog.Edit1->setText(QStringLiteral("Plant"));
    dialog.Edit2->setText(QStringLiteral("P.App"));
    dialog.SpeedButton1->click();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_TRUE(boxes.boxes[0].text.contains(QStringLiteral("を作成できません")));
    EXPECT_EQ(shownEntries(), QStringList({"Plant\tP.App"}));
}

TEST_F(DialogTest, OkTakesTheEditedTextsWithoutTouchingTheFile) {
    writeList(QStringLiteral("A\t1\n"));
    shared.TargetProgID = u"1";
    const QByteArray before = listFile();
    whenModal([this](QWidget* modal) {
        ASSERT_EQ(modal, &dialog);
        dialog.Edit1->setText(QStringLiteral("Typed"));
        dialog.Edit2->setText(QStringLiteral("Typed.App"));
        dialog.Button1->click();
    });
    EXPECT_EQ(dialog.ShowModal(), kModalResultOK);
    EXPECT_EQ(shared.TargetProgID, u"Typed.App");
    EXPECT_EQ(listFile(), before);
}

TEST_F(DialogTest, CancelAfterEditsKeepsTheFileEditsAndTheTarget) {
    shared.TargetProgID = u"Old.App";
    whenModal([this](QWidget*) {
        dialog.Edit1->setText(QStringLiteral("New"));
        dialog.Edit2->setText(QStringLiteral("New.App"));
        dialog.SpeedButton1->click();
        dialog.Button2->click();
    });
    EXPECT_EQ(dialog.ShowModal(), kModalResultCancel);
    EXPECT_EQ(shared.TargetProgID, u"Old.App");
    EXPECT_EQ(listFile(), QByteArray("New\tNew.App\r\n"));
}

TEST_F(DialogTest, EscapeDoesNotCloseButTheCloseButtonCancels) {
    bool stillOpenAfterEscape = false;
    whenModal([&](QWidget*) {
        QTest::keyClick(dialog.Button1, Qt::Key_Escape);
        QTest::keyClick(dialog.ListBox1, Qt::Key_Escape);
        stillOpenAfterEscape = dialog.isVisible();
        dialog.close();
    });
    EXPECT_EQ(dialog.ShowModal(), kModalResultCancel);
    EXPECT_TRUE(stillOpenAfterEscape);
}

TEST_F(DialogTest, EnterOnTheFocusedOkButtonPressesIt) {
    whenModal([this](QWidget*) {
        dialog.Edit2->setText(QStringLiteral("Typed.App"));
        dialog.Button1->setFocus();
        QTest::keyClick(dialog.Button1, Qt::Key_Return);
        if (dialog.isVisible()) dialog.done(0);  // a missed press must not hang the test
    });
    EXPECT_EQ(dialog.ShowModal(), kModalResultOK);
    EXPECT_EQ(shared.TargetProgID, u"Typed.App");
}

TEST_F(DialogTest, EnterOnTheFocusedCancelButtonPressesIt) {
    whenModal([this](QWidget*) {
        dialog.Button2->setFocus();
        QTest::keyClick(dialog.Button2, Qt::Key_Enter, Qt::KeypadModifier);
        if (dialog.isVisible()) dialog.done(0);  // a missed press must not hang the test
    });
    EXPECT_EQ(dialog.ShowModal(), kModalResultCancel);
    EXPECT_EQ(shared.TargetProgID, u"Matches.Nothing");
}

TEST_F(DialogTest, EnterInTheListPressesNoButton) {
    bool stillOpenAfterEnter = false;
    whenModal([&](QWidget*) {
        QTest::keyClick(dialog.ListBox1, Qt::Key_Return);
        stillOpenAfterEnter = dialog.isVisible();
        dialog.Button2->click();
    });
    dialog.ShowModal();
    EXPECT_TRUE(stillOpenAfterEnter);
}

TEST_F(DialogTest, FocusStartsOnTheListAndReturnsToWhereItWas) {
    QWidget* focusAtFirst = nullptr;
    whenModal([&](QWidget*) {
        focusAtFirst = dialog.focusWidget();
        dialog.Edit2->setFocus();
        dialog.Button2->click();
    });
    dialog.ShowModal();
    EXPECT_EQ(focusAtFirst, dialog.ListBox1);

    QWidget* focusLater = nullptr;
    whenModal([&](QWidget*) {
        focusLater = dialog.focusWidget();
        dialog.Button2->click();
    });
    dialog.ShowModal();
    EXPECT_EQ(focusLater, dialog.Edit2);
}

TEST_F(DialogTest, TypingInTheListSelectsByPrefixAndFillsTheFields) {
    writeList(QStringLiteral("Alpha\tA.App\nBeta\tB.App\nBravo\tBr.App\nCharlie\tC.App\n"));
    dialog.FormShow();
    QTest::keyClicks(dialog.ListBox1, QStringLiteral("br"));
    EXPECT_EQ(selectedRow(), 2);
    EXPECT_EQ(dialog.Edit2->text(), QStringLiteral("Br.App"));
    now += 600ms;
    QTest::keyClick(dialog.ListBox1, Qt::Key_C);
    EXPECT_EQ(selectedRow(), 3);
    QTest::keyClick(dialog.ListBox1, Qt::Key_Backspace);
    EXPECT_EQ(selectedRow(), 0);
    EXPECT_EQ(dialog.Edit1->text(), QStringLiteral("Alpha"));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(DialogTest, BackspaceInAnEmptyListReportsTheIndex) {
    dialog.FormShow();
    QTest::keyClick(dialog.ListBox1, Qt::Key_Backspace);
    expectOnlyIndexError();
}

}  // namespace
}  // namespace orvane::ui
