#pragma once
// The main window's "&Views" commands, its saved-view list and its Last / Next controls, and the
// graphics options dialog, in the program: "&Save View" names the default graphics window's
// current view and saves it in the job, "&Delete View" deletes the view chosen in the list,
// choosing a name shows that view, "&last View" / "&next View" step through the window's undo
// ring, and "General Graphics Settings" opens the options dialog (modeless), whose apply
// rebuilds and redraws every graphics window.
//
// The graphics windows reach this object for what is shared between them: the Last / Next
// controls after each store or step (showUndoControls), and the label font.
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/Prompter.h"
#include "platform/TextMetrics.h"
#include "platform/qt/QtFontDialogs.h"
#include "shared/JobEvents.h"
#include "shared/JobState.h"
#include "shell/ui/FormMain.h"
#include "view3d/ViewHistory.h"
#include "view3d/ViewRecordHost.h"
#include "view3d/ui/FormGraphicsOptions.h"

namespace kal {

class FormScreen;
class ScreenWindows;

class ViewRecordWindows {
  public:
    // `rebuildGraphicsWindows` rebuilds the point cloud of every open graphics window and
    // redraws each once (the options' apply); `labelCount` tells how many labels the default
    // window's last redraw placed. Both may be empty until the graphics windows exist.
    ViewRecordWindows(JobState& job, JobEvents& events, FormMain& main, platform::Prompter& prompter,
                      std::function<bool()> settingsWritable = {},
                      std::function<void()> rebuildGraphicsWindows = {},
                      std::function<std::int32_t()> labelCount = {});
    ~ViewRecordWindows();
    ViewRecordWindows(const ViewRecordWindows&) = delete;
    ViewRecordWindows& operator=(const ViewRecordWindows&) = delete;

    // The graphics window's hooks.
    void setRebuildGraphicsWindows(std::function<void()> rebuild) { rebuild_ = std::move(rebuild); }
    void setLabelCount(std::function<std::int32_t()> count) { labelCount_ = std::move(count); }
    // Connects the graphics windows: each window's store goes into an undo ring of its own, the
    // "&Views" commands act on the default window's ring, activating a window shows its ring's
    // Last / Next controls, the options' apply rebuilds and redraws every window, the point
    // names follow the label rules and the label font reaches every window.
    void attachScreens(ScreenWindows& screens);
    // The flags of a window as a view is restored: removed before the record is copied in
    // (AlleLöschen), rebuilt from it afterwards (FahnenReset).
    void setFlagHooks(std::function<void(FormScreen&)> remove,
                      std::function<void(FormScreen&, FlagSource, std::int32_t)> rebuild) {
        removeFlags_ = std::move(remove);
        rebuildFlags_ = std::move(rebuild);
    }
    // The undo ring of a graphics window (created with its first use); null without screens.
    const UndoRing* undoRingOf(FormScreen* form) const;

    // How "&Save View" asks for the name: by default the modal dialog FormSaveView (tests answer
    // without it).
    void setNameAsker(std::function<std::string()> ask) { askName_ = std::move(ask); }

    // The commands (also reached by their menu entries and buttons).
    void saveView();
    void deleteChosenView();
    void showChosenView(int comboIndex);
    void stepBack();
    void stepForward();
    FormGraphicsOptions& openGraphicsOptions();
    FormGraphicsOptions* graphicsOptions() const { return options_; }

    // The main window's Last / Next entries and buttons for a ring: enabled states and the
    // buttons' tooltips. A graphics window calls it after each store and step, and when it
    // becomes the default window (with its own ring's controls).
    void showUndoControls(const UndoControls& controls);
    // The default graphics window's ring decides the Last / Next controls (on activation).
    void refreshUndoControls();

    // The colour-bar dialog as a view is restored: filled from the window (SetFormtoVars; with
    // `onlyWhenShown` only while it is shown), then applied to it (Update).
    void setColourHooks(std::function<void(bool onlyWhenShown)> fill, std::function<void()> apply) {
        fillColourBarDialog_ = std::move(fill);
        applyColourSettings_ = std::move(apply);
    }

    // The font of the graphics windows' text labels, shared by all of them.
    const platform::TextFont& labelFont() const { return labelFont_; }
    void setLabelFont(const platform::TextFont& font);

  private:
    struct ScreenHistory;
    ScreenHistory& historyOf(FormScreen& form);
    void rebuildScreens();
    std::int32_t labelsOfDefaultScreen();
    void applyLabelFont(FormScreen& form) const;
    ViewRecordHost* defaultHost();
    void showSavedViewNames();
    void writeSettings(const std::vector<IniEntry>& entries);

    JobState& job_;
    JobEvents& events_;
    FormMain& main_;
    platform::Prompter& prompter_;
    std::function<bool()> settingsWritable_;
    std::function<void()> rebuild_;
    std::function<std::int32_t()> labelCount_;
    std::function<std::string()> askName_;
    std::function<void(FormScreen&)> removeFlags_;
    std::function<void(FormScreen&, FlagSource, std::int32_t)> rebuildFlags_;
    Subscription jobReset_;
    platform::TextFont labelFont_;
    platform::QtFontDialogs fontDialogs_;
    QPointer<FormGraphicsOptions> options_;
    ScreenWindows* screens_ = nullptr;
    std::function<void(bool)> fillColourBarDialog_;
    std::function<void()> applyColourSettings_;
    // Connections to the main window's widgets, which outlive this object.
    std::vector<QMetaObject::Connection> connections_;
    std::map<FormScreen*, std::unique_ptr<ScreenHistory>> histories_;
};

}  // namespace kal
