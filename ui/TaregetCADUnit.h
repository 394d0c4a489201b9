#pragma once

#include <QDialog>
#include <QPointer>

#include <string>

#include "core/panelcore.h"
#include "core/targetcadlist.h"
#include "ui/typeahead.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

namespace orvane::ui {

class MessageBoxes;

inline constexpr int kModalResultOK = 1;
inline constexpr int kModalResultCancel = 2;

struct TargetCADFormDependencies {
    // The executable's full path: the list file lies beside it, and error
    // boxes carry its title.
    std::u16string programPath;
    // TargetProgID is set by OK.
    SharedValues& shared;
    MessageBoxes& boxes;
    TypeAhead::Clock clock = std::chrono::steady_clock::now;
};

// The target CAD dialog: the target CAD list with fields for one entry's
// label and ProgID. Created once, hidden, and shown modally by ShowModal.
// The handlers throw; the dialog's own events report what escapes them in
// the default error box and stay open.
class TTargetCADForm final : public QDialog {
    Q_OBJECT

public:
    TTargetCADForm(QWidget* panel, TargetCADFormDependencies dependencies);

    // Centres the dialog in the work area of its monitor, runs FormShow, puts
    // the focus where it belongs and waits: kModalResultOK or kModalResultCancel.
    int ShowModal();

    void FormShow();
    void ListBox1Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    // True when the key was Enter, which the field never receives.
    bool Edit1KeyPress(char16_t key);
    void Button1Click();

    // A keystroke typed into the list.
    void listTypeAhead(const TypeAhead::Selection& selection);

    const TargetCADList& targetCADList() const noexcept { return list_; }

    void done(int result) override;
    void reject() override;

    QListWidget* ListBox1;
    QGroupBox* GroupBox1;
    QLabel* Label1;
    QLineEdit* Edit1;
    QLabel* Label2;
    QLineEdit* Edit2;
    QToolButton* SpeedButton1;
    QToolButton* SpeedButton2;
    QToolButton* SpeedButton3;
    QPushButton* Button1;
    QPushButton* Button2;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    template <typename Handler>
    void report(Handler&& handler);
    void createControls();
    void showList();
    void fillFieldsFromSelection();
    void selectByUser(std::size_t row);
    void centreOnWorkArea();
    bool listKeyPress(QKeyEvent* event);
    bool buttonKeyPress(QPushButton* button, QKeyEvent* event);
    void listSelectionChanged();

    TargetCADFormDependencies deps_;
    TargetCADList list_;
    TypeAhead typeAhead_;
    bool shownBefore_ = false;
    QPointer<QWidget> lastFocus_;
};

}  // namespace orvane::ui
