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

using TargetCADFormDependencies = TargetCADViewDependencies<MessageBoxes>;

// The target CAD dialog's Qt window: the target CAD list with fields for one
// entry's label and ProgID. Created once, hidden, and shown modally by
// ShowModal. Its events go to the portable logic, whose handlers it forwards.
class TTargetCADForm final : public QDialog, private TargetCADView, public TargetCADFormHandlers {
    Q_OBJECT

public:
    TTargetCADForm(QWidget* panel, TargetCADFormDependencies dependencies);

    // Centres the dialog in the work area of its monitor, runs FormShow, puts
    // the focus where it belongs and waits: kModalResultOK or kModalResultCancel.
    int ShowModal();

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
};

}  // namespace orvane::ui
