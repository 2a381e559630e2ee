#pragma once
// The flags (point labels) of every graphics window in the program. Each window keeps its drawn
// flags beside its view record; the redraw shows or hides them and draws their leader lines at
// its flag stage, and the window paints the flag tables on top of the picture. A click in flag
// mode puts a flag on the hovered point, the dynamic flag follows the mouse, and the mouse on a
// flag drags it, toggles a use mark or opens the flag editor; Ctrl+C copies its cells.
//
// The flags are refilled after a calculation, a use-flag or units change and the colour bar's
// apply, and rebuilt when a stored view is shown (FahnenReset).
#include <QPointer>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "annotation/FlagLayout.h"
#include "annotation/WindowFlags.h"
#include "annotation/ui/FormEditFahne.h"
#include "app/ScreenWindows.h"
#include "platform/Clipboard.h"
#include "platform/EventPump.h"
#include "platform/FontDialogs.h"
#include "platform/Progress.h"
#include "platform/Prompter.h"
#include "platform/qt/QtPlatform.h"
#include "shared/JobEvents.h"
#include "shared/JobState.h"
#include "shell/ui/FormMain.h"
#include "view3d/ViewHistory.h"

namespace kal {

class CalculationWindows;
class ColorBarWindows;
class ViewRecordWindows;

class FlagWindows {
  public:
    // `calculation` (may be null) is the calculation window whose point table follows a use mark
    // toggled on a flag.
    FlagWindows(JobState& job, JobEvents& events, FormMain& main, platform::Prompter& prompter,
                ScreenWindows& screens, CalculationWindows* calculation,
                std::unique_ptr<platform::FontDialogs> fonts, platform::Clipboard& clipboard);
    ~FlagWindows();
    FlagWindows(const FlagWindows&) = delete;
    FlagWindows& operator=(const FlagWindows&) = delete;

    // Restored views rebuild their flags; the colour bar's apply refills them.
    void connectTo(ViewRecordWindows& views, ColorBarWindows& colourBar);

    // The drawn flags of a window; null for a window this object did not see open.
    FlagBoxes* flagsOf(const FormScreen& window);

    // Alle_Fahnen_neu_zeichnen on one window, or on every open one; each is redrawn.
    void refillFlags(FormScreen& window);
    void refillAllWindows();
    // AlleLöschen and FahnenReset, as a restored view needs them.
    void removeFlags(FormScreen& window);
    void rebuildFlags(FormScreen& window, FlagSource source, std::int32_t pointer);

    // The click in flag mode on cloud row `row` at the window's last mouse position: a new flag
    // when the row may carry one; the view is stored. Returns the flag's number or 0.
    std::int16_t createFlagOnRow(FormScreen& window, std::int32_t row);
    // The dynamic flag: the flag it put last is removed and one is put on `row`, with the same
    // number when that number is still the window's last, so numbers do not run away.
    void moveDynamicFlag(FormScreen& window, std::int32_t row);
    // "Dynamic Flag" (F6): on or off for every window; off takes the flag it put off each window.
    void toggleDynamicFlagMode();
    bool dynamicFlagMode() const { return dynamicFlagMode_; }

    // The double click on flag `number` at cell (row, column): a use mark, or the editor.
    void flagDoubleClicked(FormScreen& window, std::int16_t number, int row, int column);
    // How the modal editor is shown (exec by default); tests answer it in place.
    void setEditorRunner(std::function<void(FormEditFahne&)> run) { runEditor_ = std::move(run); }

    // "put Flag on all visible Points" on a window, as the editor's OK starts it once the editor
    // has gone: long work with the main window's progress window, Stop keeping the flags made so
    // far, and a question first when the flags could not be read. The view is stored once.
    FlagLayoutOutcome putFlagsOnAllVisiblePoints(FormScreen& window, const FlagEditorModel::Applied& applied);
    // The progress window and the events of that run (the main window's and Qt's by default);
    // tests pass fakes and a shorter interval.
    void setLongWork(platform::Progress& progress, platform::EventPump& events,
                     std::chrono::milliseconds interval) {
        progress_ = &progress;
        pump_ = &events;
        interval_ = interval;
    }

  private:
    struct Window;
    class EditorTarget;
    Window* entryOf(const FormScreen& window) const;
    Window* entryOfView(const ScreenProperties& view) const;
    void attach(FormScreen& window);
    FlagSources sourcesOf(Window& w) const;
    std::int16_t createFlagAt(Window& w, std::int32_t row, float x, float y, bool placeAtMouse);
    // Takes the flag the dynamic flag put last off its window; false when there is none.
    bool removeDynamicFlag(Window& w);
    void useMarkToggled();

    JobState& job_;
    JobEvents& events_;
    FormMain& main_;
    platform::Prompter& prompter_;
    ScreenWindows& screens_;
    CalculationWindows* calculation_;
    std::unique_ptr<platform::FontDialogs> fonts_;
    platform::Clipboard& clipboard_;
    std::function<void(FormEditFahne&)> runEditor_;
    platform::QtEventPump qtEvents_;
    platform::Progress* progress_ = nullptr;  // null: the main window's progress window
    platform::EventPump* pump_ = &qtEvents_;
    std::chrono::milliseconds interval_{50};
    bool flagRunActive_ = false;        // no second run starts inside a run
    std::unique_ptr<QObject> context_;  // ends the connections to the windows with this object
    std::map<const FormScreen*, std::unique_ptr<Window>> windows_;
    std::vector<Subscription> subscriptions_;
    int openedListener_ = 0;
    bool dynamicFlagMode_ = false;
};

}  // namespace kal
