#pragma once
// The colour-bar dialog in the program. "Color Bar" (Ctrl+R, toolbar button "ColorBar") shows the
// modeless dialog or closes it; "Settings" (Ctrl+E) folds its settings open or shut. Both act on
// the default graphics window, which the dialog reaches as a ColourBarTarget: a graphics window
// that implements that interface beside GraphicsWindow is found without further wiring. The
// entries are enabled by the state refresher only while a graphics window is open.
//
// The graphics windows call in: a window that loaded runs windowLoaded() (the dialog's Update), a
// window that became active runs windowActivated() (the controls follow it while the dialog is
// shown), the last window that closes runs lastWindowClosed(); the cloud colouring asks
// twoColourActive().
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

#include "annotation/ColourBarDialogModel.h"
#include "annotation/ui/FormColorBar.h"
#include "platform/qt/QtFontDialogs.h"
#include "shared/JobState.h"
#include "shell/ui/FormMain.h"

namespace kal {

class ColorBarWindows {
  public:
    ColorBarWindows(JobState& job, FormMain& main, platform::Prompter& prompter);
    ~ColorBarWindows();
    ColorBarWindows(const ColorBarWindows&) = delete;
    ColorBarWindows& operator=(const ColorBarWindows&) = delete;

    // How the default graphics window is found (tests; by default the main window's default
    // graphics window when it is a ColourBarTarget).
    void setTargetFinder(std::function<ColourBarTarget*()> find) { find_ = std::move(find); }

    // "Color Bar": closes the dialog when it is shown, otherwise shows it.
    void toggleDialog();
    // "Settings": folds the dialog's settings shut, or open (then "Color Bar" is checked too).
    void toggleSettings();

    void windowLoaded();
    void windowActivated();
    void lastWindowClosed();
    // Two-colour mode: "Color Bar" checked and the dialog's "Binär Mode" ticked.
    bool twoColourActive() const { return model_.twoColourActive(); }

    FormColorBar* dialog() const { return form_; }
    ColourBarDialogModel& model() { return model_; }

  private:
    FormColorBar& ensureLoaded();
    void dialogClosed();
    void setColourBarChecked(bool checked);

    JobState& job_;
    FormMain& main_;
    platform::Prompter& prompter_;
    platform::QtFontDialogs colours_;
    std::function<ColourBarTarget*()> find_;
    ColourBarDialogModel model_;
    QPointer<FormColorBar> form_;
    std::unique_ptr<QObject> closeWatcher_;
};

}  // namespace kal
