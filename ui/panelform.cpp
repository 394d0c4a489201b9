#include "ui/panelform.h"

namespace orvane::ui {

void PanelFormLogic::boundsReported() {
    if (applyingBounds_ || !view_.windowShown() || view_.windowMinimised()) {
        return;
    }
    if (view_.windowMaximised()) {
        view_.leaveMaximised();
        return;
    }
    recordBounds();
}

void PanelFormLogic::boundsChanged() {
    if (recordingBounds_) {
        return;
    }
    applyingBounds_ = true;
    view_.applyOuterBounds(core_.state().bounds());
    applyingBounds_ = false;
    // A size below the window's minimum is not taken: the state holds what
    // the window took, for the centring, the pull-back and shutdown.
    recordBounds();
}

void PanelFormLogic::recordBounds() {
    recordingBounds_ = true;
    core_.state().setBounds(view_.outerBounds());
    recordingBounds_ = false;
}

void PanelFormLogic::ComboBox1Change(int index) {
    if (index >= 0) {
        report([&] { core_.chooserPickedByUser(static_cast<std::size_t>(index)); });
    }
}

void PanelFormLogic::closeProgram() {
    view_.cancelModalWindows();
    view_.closeWindow();
}

}  // namespace orvane::ui
