#pragma once
// The job's saved views (SavedViews, ViewCount, the names of the main window's list): saving the
// current view of a graphics window under a name (SaveView, with the naming dialog's rules of
// FormSaveView) and deleting one (DeleteView). The list's names are job.SavedViewNames; name k
// (from 0) names saved view k + 1. Every save or delete, even one that changes nothing, marks
// the job changed.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Prompter.h"
#include "shared/JobState.h"
#include "view3d/UndoRing.h"

namespace kal {

inline constexpr const char* kNameInUseTitle = "Name in use";
inline constexpr const char* kNoViewToSaveMessage =
    "This window has not stored a view yet. Change the view, then save it.";

// "max. 50 Views to save, you must delete a view to save a new one"
std::string tooManyViewsMessage();
// The name followed by " is already in use for a view, will you replace the old one?"
std::string nameInUseQuestion(const std::string& name);

// (DeleteView) Deletes saved view `viewToDelete` (1..ViewCount): the views after it move up one
// place and its name leaves the list. A number outside 1..ViewCount deletes nothing. Marks the
// job changed in every case. True when a view was deleted.
bool deleteSavedView(JobState& job, std::int32_t viewToDelete);

// The rules of the naming dialog (FormSaveView): the names to list, and what "&OK" does with a
// name. The dialog shows the model; tests drive it directly.
class SaveViewNaming {
  public:
    SaveViewNaming(JobState& job, platform::Prompter& prompter) : job_(job), prompter_(prompter) {}

    // The names of the saved views in their order (ListViews on load).
    const std::vector<std::string>& existingNames() const { return job_.SavedViewNames; }

    enum class Ok { Close, StayOpen };
    // "&OK" with the text of TextNewName. An empty name closes with no name. Otherwise each saved
    // view of that name (letter case counting) is offered for replacement in a Yes/No box: Yes
    // deletes it and the search goes on; No keeps it and leaves the dialog open with no name.
    // When every equal name was given up, the name is taken and the dialog closes.
    Ok confirm(const std::string& name);
    // "&Cancel": no name.
    void cancel() { NewViewName_.clear(); }

    // The name to save the view under (NewViewName); empty when nothing is to be saved.
    const std::string& NewViewName() const { return NewViewName_; }

  private:
    JobState& job_;
    platform::Prompter& prompter_;
    std::string NewViewName_;
};

enum class SaveViewOutcome { Saved, NotNamed, ListFull, NoView };

// (SaveView) Asks for a name with `askName` (which shows the naming dialog modally and returns
// its NewViewName) and saves the window's current ring view under it at the end of the list.
// With 50 views saved the message of tooManyViewsMessage() is shown instead; a window whose ring
// holds no view yet saves nothing and says so. Marks the job changed in every case.
SaveViewOutcome saveView(JobState& job, const UndoRing& ring, platform::Prompter& prompter,
                         const std::function<std::string()>& askName);

// The names of the points that the record's lines and flags stand on, from the job's points now
// (every row a segment end, the line start or a flag refers to). A saved view takes them when it
// is saved and when its job opens, so that it can tell later whether its rows still hold them.
void recordMarkedRowNames(ScreenProperties& record, const JobState& job);
// recordMarkedRowNames for every saved view of the job (1..ViewCount).
void recordSavedViewRowNames(JobState& job);

// Lines and flags of a restored view whose row no longer holds, by name, the point they were made
// for (the view was saved on other points) are dropped; rows without a recorded name are kept.
// Returns how many lines and flags went.
struct DroppedMarks {
    std::int32_t lines = 0;
    std::int32_t flags = 0;
    std::int32_t total() const { return lines + flags; }
};
DroppedMarks dropMarksOfOtherPoints(ScreenProperties& window, const JobState& job);

// Lines (segments) and flags a view holds.
DroppedMarks marksOf(const ScreenProperties& view);

// The one message that says how many lines and flags of a restored view were dropped.
std::string droppedMarksMessage(const DroppedMarks& dropped);

}  // namespace kal
