#include "view3d/SavedViews.h"

namespace kal {

std::string tooManyViewsMessage() {
    return "max. " + std::to_string(kMaxSavedViews) +
           " Views to save, you must delete a view to save a new one";
}

std::string nameInUseQuestion(const std::string& name) {
    return name + " is already in use for a view, will you replace the old one?";
}

bool deleteSavedView(JobState& job, std::int32_t viewToDelete) {
    job.JobDirty = true;
    const std::int32_t count = job.ViewCount;
    if (viewToDelete < 1 || viewToDelete > count) return false;
    for (std::int32_t i = viewToDelete; i < count; ++i)
        job.SavedViews[static_cast<std::size_t>(i)] = job.SavedViews[static_cast<std::size_t>(i) + 1];
    job.ViewCount = count - 1;
    if (static_cast<std::size_t>(viewToDelete) <= job.SavedViewNames.size())
        job.SavedViewNames.erase(job.SavedViewNames.begin() + (viewToDelete - 1));
    return true;
}

SaveViewNaming::Ok SaveViewNaming::confirm(const std::string& name) {
    NewViewName_.clear();
    if (name.empty()) return Ok::Close;
    // The current list is walked: after a deletion the next name has moved into the same place.
    std::size_t i = 0;
    while (i < job_.SavedViewNames.size()) {
        if (job_.SavedViewNames[i] != name) {
            ++i;
            continue;
        }
        const auto answer =
            prompter_.message(nameInUseQuestion(name), platform::Buttons::YesNo, kNameInUseTitle);
        if (answer != platform::Answer::Yes) return Ok::StayOpen;
        deleteSavedView(job_, static_cast<std::int32_t>(i) + 1);
    }
    NewViewName_ = name;
    return Ok::Close;
}

SaveViewOutcome saveView(JobState& job, const UndoRing& ring, platform::Prompter& prompter,
                         const std::function<std::string()>& askName) {
    job.JobDirty = true;
    if (!ring.hasView()) {
        prompter.message(kNoViewToSaveMessage);
        return SaveViewOutcome::NoView;
    }
    if (job.ViewCount >= kMaxSavedViews) {
        prompter.message(tooManyViewsMessage());
        return SaveViewOutcome::ListFull;
    }
    const std::string name = askName ? askName() : std::string();
    if (name.empty()) return SaveViewOutcome::NotNamed;
    // The dialog may have deleted views it replaces; the view goes after the last one left.
    const std::int32_t slot = job.ViewCount + 1;
    if (static_cast<std::size_t>(slot) >= job.SavedViews.size())
        job.SavedViews.resize(static_cast<std::size_t>(slot) + 1);
    job.SavedViews[static_cast<std::size_t>(slot)] = ring.current();
    job.SavedViewNames.push_back(name);
    job.ViewCount = slot;
    return SaveViewOutcome::Saved;
}

}  // namespace kal
