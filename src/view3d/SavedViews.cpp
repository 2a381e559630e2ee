#include "view3d/SavedViews.h"

#include <algorithm>

#include "view3d/PointCloudBuild.h"

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
    recordMarkedRowNames(job.SavedViews[static_cast<std::size_t>(slot)], job);
    job.SavedViewNames.push_back(name);
    job.ViewCount = slot;
    return SaveViewOutcome::Saved;
}

namespace {

std::int32_t segmentCount(const ScreenProperties& view) {
    return view.Lines.rows() >= 2 ? std::max(0, std::min(view.LineCount, view.Lines.cols())) : 0;
}

std::int32_t rowOf(double value) {
    return value >= 1 && value <= 2147483647.0 ? static_cast<std::int32_t>(value) : 0;
}

std::string plural(std::int32_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

void recordMarkedRowNames(ScreenProperties& record, const JobState& job) {
    auto& names = record.markedRowNames.byRow;
    names.clear();
    const std::int32_t rows = cloudRowCount(job);
    auto take = [&](std::int32_t row) {
        if (row >= 1 && row <= rows) names[row] = cloudRowName(job, row);
    };
    for (std::int32_t k = 1; k <= segmentCount(record); ++k) {
        take(rowOf(record.Lines(1, k)));
        take(rowOf(record.Lines(2, k)));
    }
    take(record.LineStartPoint);
    for (const auto& [row, flag] : record.FlagOfPoint.flaggedRows()) take(row);
}

void recordSavedViewRowNames(JobState& job) {
    for (std::int32_t n = 1; n <= job.ViewCount && static_cast<std::size_t>(n) < job.SavedViews.size(); ++n)
        recordMarkedRowNames(job.SavedViews[static_cast<std::size_t>(n)], job);
}

DroppedMarks dropMarksOfOtherPoints(ScreenProperties& window, const JobState& job) {
    const auto& names = window.markedRowNames.byRow;
    auto holdsItsPoint = [&](std::int32_t row) {
        const auto it = names.find(row);
        return it == names.end() || cloudRowName(job, row) == it->second;
    };
    DroppedMarks dropped;
    const std::int32_t stored = segmentCount(window);
    std::int32_t kept = 0;
    for (std::int32_t k = 1; k <= stored; ++k) {
        if (!holdsItsPoint(rowOf(window.Lines(1, k))) || !holdsItsPoint(rowOf(window.Lines(2, k)))) {
            ++dropped.lines;
            continue;
        }
        ++kept;
        for (std::int32_t i = 0; i <= 2; ++i) window.Lines(i, kept) = window.Lines(i, k);
    }
    if (dropped.lines > 0) {
        Matrix fitted(2, kept);
        for (std::int32_t i = 0; i <= 2; ++i)
            for (std::int32_t k = 0; k <= kept; ++k) fitted(i, k) = window.Lines(i, k);
        window.Lines = std::move(fitted);
        window.LineCount = kept;
    }
    if (window.LineStartPoint != 0 && !holdsItsPoint(window.LineStartPoint)) window.LineStartPoint = 0;
    std::vector<std::int32_t> gone;
    for (const auto& [row, flag] : window.FlagOfPoint.flaggedRows())
        if (!holdsItsPoint(row)) gone.push_back(row);
    for (std::int32_t row : gone) window.FlagOfPoint.set(row, 0);
    dropped.flags = static_cast<std::int32_t>(gone.size());
    return dropped;
}

DroppedMarks marksOf(const ScreenProperties& view) {
    return {segmentCount(view), static_cast<std::int32_t>(view.FlagOfPoint.flaggedRows().size())};
}

std::string droppedMarksMessage(const DroppedMarks& dropped) {
    return "This view was saved on other points: " + plural(dropped.lines, "line", "lines") + " and " +
           plural(dropped.flags, "flag", "flags") +
           " stood on points that are no longer in their places and were dropped.";
}

}  // namespace kal
