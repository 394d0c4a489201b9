#pragma once

#include <QDialog>

#include <array>
#include <string>

#include "ui/targetcadform.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

namespace orvane::ui {

class MessageBoxes;

struct TargetCADFormDependencies {
    // The executable's full path: the list file lies beside it, and error
    // boxes carry its title.
    std::u16string programPath;
    // TargetProgID is set by OK.
    SharedValues& shared;
    MessageBoxes& boxes;
    TypeAhead::Clock clock = std::chrono::steady_clock::now;
};

// The target CAD dialog's Qt window: the target CAD list with fields for one
// entry's label and ProgID. Created once, hidden, and shown modally by
// ShowModal. Its events go to the portable logic, whose handlers it forwards.
class TTargetCADForm final : public QDialog, private TargetCADView {
    Q_OBJECT

public:
    TTargetCADForm(QWidget* panel, TargetCADFormDependencies dependencies);

    // Centres the dialog in the work area of its monitor, runs FormShow, puts
    // the focus where it belongs and waits: kModalResultOK or kModalResultCancel.
    int ShowModal();

    void FormShow() { logic_.FormShow(); }
    void ListBox1Click() { logic_.ListBox1Click(); }
    void SpeedButton1Click() { logic_.SpeedButton1Click(); }
    void SpeedButton2Click() { logic_.SpeedButton2Click(); }
    void SpeedButton3Click() { logic_.SpeedButton3Click(); }
    // True when the key was Enter, which the field never receives.
    bool Edit1KeyPress(char16_t key) { return logic_.Edit1KeyPress(key); }
    void Button1Click() { logic_.Button1Click(); }

    const TargetCADList& targetCADList() const noexcept { return logic_.targetCADList(); }

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
    void showList(const std::vector<std::u16string>& entries, std::optional<std::size_t> selected) override;
    std::u16string labelText() const override;
    std::u16string progIdText() const override;
    void setFieldTexts(std::u16string_view label, std::u16string_view progId) override;
    std::optional<TargetCADControl> focusedControl() const override;
    void focusControl(TargetCADControl control) override;
    void closeModal(int result) override;
    void showError(std::u16string_view caption, std::u16string_view text) override;

    void createControls();
    std::array<QWidget*, 5> focusable() const;
    void centreOnWorkArea();
    bool listKeyPress(QKeyEvent* event);
    bool buttonKeyPress(QPushButton* button, QKeyEvent* event);
    void listSelectionChanged();

    MessageBoxes& boxes_;
    TargetCADFormLogic logic_;
};

}  // namespace orvane::ui
