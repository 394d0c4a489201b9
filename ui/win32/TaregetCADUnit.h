#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "ui/targetcadform.h"
#include "ui/win32/fonts.h"

namespace orvane::ui::win32 {

class MessageBoxes;

using TargetCADFormDependencies = TargetCADViewDependencies<MessageBoxes>;

// The target CAD dialog's native window: the target CAD list with fields for
// one entry's label and ProgID. Created once, hidden, owned by the panel's
// window, and shown modally by ShowModal. Its events go to the portable
// logic, whose handlers it forwards.
class TTargetCADForm final : private TargetCADView, public TargetCADFormHandlers {
public:
    TTargetCADForm(HWND owner, TargetCADFormDependencies dependencies);
    ~TTargetCADForm() override;
    TTargetCADForm(const TTargetCADForm&) = delete;
    TTargetCADForm& operator=(const TTargetCADForm&) = delete;

    // Centres the dialog in the work area of its monitor, disables the owner,
    // runs FormShow, puts the focus where it belongs and runs the dialog's
    // messages until it ends: kModalResultOK or kModalResultCancel. A quit
    // message ends it with kModalResultCancel and is passed on.
    int ShowModal();
    // Ends the modal wait with this result; the program's end cancels.
    void endModal(int result);
    bool isShowing() const noexcept { return showing_; }
    HWND handle() const noexcept { return window_; }

    HWND ListBox1 = nullptr;
    HWND GroupBox1 = nullptr;
    HWND Label1 = nullptr;
    HWND Edit1 = nullptr;
    HWND Label2 = nullptr;
    HWND Edit2 = nullptr;
    HWND SpeedButton1 = nullptr;
    HWND SpeedButton2 = nullptr;
    HWND SpeedButton3 = nullptr;
    HWND Button1 = nullptr;
    HWND Button2 = nullptr;

private:
    void showList(const std::vector<std::u16string>& entries, std::optional<std::size_t> selected) override;
    std::u16string labelText() const override;
    std::u16string progIdText() const override;
    void setFieldTexts(std::u16string_view label, std::u16string_view progId) override;
    std::optional<TargetCADControl> focusedControl() const override;
    void focusControl(TargetCADControl control) override;
    void closeModal(int result) override;
    void showError(std::u16string_view caption, std::u16string_view text) override;

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK fieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR form);
    static LRESULT CALLBACK speedButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                            DWORD_PTR form);
    LRESULT dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void command(int id, int notification, HWND control);
    LRESULT listCharacter(char16_t character);

    void createControls();
    struct Bounds {
        int x, y, width, height;
    };
    HWND child(const wchar_t* windowClass, const wchar_t* text, DWORD style, int id, Bounds at96,
               FontHandle TTargetCADForm::*font, DWORD exStyle = 0);
    void applyDpi(UINT dpi);
    void centreOnWorkArea();
    void setListTabStop(const std::vector<std::u16string>& entries);
    std::array<HWND, 5> focusable() const;

    MessageBoxes& boxes_;
    HWND owner_;
    HWND window_ = nullptr;
    // Each control with its bounds at 96 DPI, in the client area.
    struct Placed {
        HWND control;
        Bounds at96;
        FontHandle TTargetCADForm::*font;
    };
    std::vector<Placed> placed_;
    UINT dpi_ = 0;
    FontHandle buttonFont_;
    FontHandle fieldFont_;
    FontHandle labelFont_;
    bool showing_ = false;
    int result_ = kModalResultCancel;
};

}  // namespace orvane::ui::win32
