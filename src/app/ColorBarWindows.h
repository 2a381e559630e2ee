#pragma once
// The colour-bar dialog and the tolerance colours in the program. "Color Bar" (Ctrl+R, toolbar
// button "ColorBar") shows the modeless dialog or closes it; "Settings" (Ctrl+E) folds its
// settings open or shut. Both act on the default graphics window. Every graphics window colours
// its cloud by its tolerance classes and draws the colour bar through the hooks set here. The
// entries are enabled by the state refresher only while a graphics window is open.
//
// The graphics windows reach the dialog as they load (windowLoaded: the dialog's Update), when one
// becomes active (windowActivated: the controls follow it while the dialog is shown) and when the
// last one closes (lastWindowClosed); ScreenWindows' hooks call these.
#include <QObject>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>

#include "annotation/ColourBarDialogModel.h"
#include "annotation/ui/FormColorBar.h"
#include "app/ScreenWindows.h"
#include "app/ViewRecordWindows.h"
#include "platform/qt/QtFontDialogs.h"
#include "shared/JobState.h"
#include "shell/ui/FormMain.h"

namespace kal {

class ColorBarWindows {
  public:
    ColorBarWindows(JobState& job, FormMain& main, platform::Prompter& prompter, ScreenWindows& screens);
    ~ColorBarWindows();
    ColorBarWindows(const ColorBarWindows&) = delete;
    ColorBarWindows& operator=(const ColorBarWindows&) = delete;

    // How the default graphics window is found (tests; by default ScreenWindows' default window).
    void setTargetFinder(std::function<ColourBarTarget*()> find) { find_ = std::move(find); }

    // Refills the flags of the window an apply recoloured (Alle_Fahnen_neu_zeichnen).
    void setFlagRefill(std::function<void(FormScreen&)> refill);

    // "Color Bar": closes the dialog when it is shown, otherwise shows it.
    void toggleDialog();
    // "Settings": folds the dialog's settings shut, or open (then "Color Bar" is checked too).
    void toggleSettings();

    void windowLoaded();
    void windowActivated();
    void lastWindowClosed();
    // A view was restored into the default window (GetScreenPropertiesFromRecord, or with
    // `savedView` GetScreenPropertiesFromSavedView): the controls follow it (a record only while
    // the dialog is shown), then the dialog's Update.
    void viewRestored(bool savedView);
    // Restoring a view brings its colour settings into the dialog and the window (the undo ring's
    // colour hooks); new points close the dialog (the input dialog's OK unloads it).
    void attach(JobEvents& events, ViewRecordWindows& records);
    // Two-colour mode: "Color Bar" checked and the dialog's "Binär Mode" ticked.
    bool twoColourActive() const { return model_.twoColourActive(); }

    FormColorBar* dialog() const { return form_; }
    ColourBarDialogModel& model() { return model_; }

  private:
    class ScreenTarget;
    FormColorBar& ensureLoaded();
    void dialogClosed();
    void setColourBarChecked(bool checked);
    ColourBarTarget* defaultScreenTarget();

    JobState& job_;
    FormMain& main_;
    platform::Prompter& prompter_;
    ScreenWindows& screens_;
    std::unique_ptr<QObject> context_;  // ends the connections to the windows with this object
    int openedListener_ = 0;            // the window-opened listener this wiring added
    platform::QtFontDialogs colours_;
    std::unique_ptr<ScreenTarget> screenTarget_;
    std::map<const FormScreen*, bool> setMaxOnChange_;  // SetMinMaxOnChange of each open window
    std::function<ColourBarTarget*()> find_;
    ColourBarDialogModel model_;
    QPointer<FormColorBar> form_;
    std::unique_ptr<QObject> closeWatcher_;
    Subscription newPoints_;
};

}  // namespace kal
