#pragma once
// The main sheet in the program: the Window menu's "&MainSheet" switches it (with its check mark);
// a load of points and an opened job fill it, opening it when it is closed; a calculation's results
// and a change of units refill it while it is open. It is an MDI child of the main window; its row
// goes to the main window's status panel 3, its right button opens the Edit menu, and its position
// and column widths are stored when it closes.
#include <QMdiSubWindow>
#include <QPointer>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/qt/QtPlatform.h"
#include "results/ui/FormMainSheet.h"
#include "shared/JobEvents.h"
#include "shared/JobState.h"
#include "shell/ui/FormMain.h"

namespace kal {

class SheetWindows {
  public:
    // `settingsWritable` tells whether settings may be written this run (the column widths).
    SheetWindows(JobState& job, JobEvents& events, FormMain& main, platform::Prompter& prompter,
                 std::function<bool()> settingsWritable = {});
    ~SheetWindows();
    SheetWindows(const SheetWindows&) = delete;
    SheetWindows& operator=(const SheetWindows&) = delete;

    // The open window; null when it is closed.
    FormMainSheet* window() const { return form_; }
    // Fills the sheet, opening it first when it is closed (FuellenHaupttabelle).
    void fill();
    // The command: closes the sheet when it is open, else opens and fills it (MenuVievMainSheet_Click).
    void switchWindow();
    // A point picked elsewhere becomes the current row when the sheet is shown: nothing when it
    // is closed, else the sheet row (0 when the sheet does not list the name).
    std::optional<int> goToPoint(const std::string& name);
    // Told the point of the sheet's current row before the graphics windows redraw (DrawActualPoint).
    void setPointSelected(std::function<void(const std::string&)> selected) {
        pointSelected_ = std::move(selected);
    }

  private:
    FormMainSheet& ensureOpen();
    void close();
    void showOpenState();

    JobState& job_;
    JobEvents& events_;
    FormMain& main_;
    platform::Prompter& prompter_;
    std::function<bool()> settingsWritable_;
    platform::QtClipboard clipboard_;
    QPointer<QMdiSubWindow> sub_;
    QPointer<FormMainSheet> form_;
    std::vector<Subscription> subscriptions_;
    std::function<void(const std::string&)> pointSelected_;
};

}  // namespace kal
