#include "shell/EditCommands.h"

namespace kal {

void copyPreparedText(const JobState& job, platform::Clipboard& clipboard) {
    clipboard.clear();
    clipboard.setText(job.ClipboardText);
}

bool mayGraphSelection(std::int32_t identicalCount, platform::Prompter& prompter) {
    if (identicalCount != 0) return true;
    prompter.message(kNoPointsToGraphMessage);
    return false;
}

bool hasRowsToGraph(std::size_t selectedRows, platform::Prompter& prompter) {
    if (selectedRows != 0) return true;
    prompter.message(kNoRowsToGraphMessage);
    return false;
}

bool mayAnalyseDistances(std::int32_t identicalCount, platform::Prompter& prompter) {
    if (identicalCount != 0) return true;
    prompter.message(kNoPointsForDistanceScaleMessage);
    return false;
}

}  // namespace kal
