#pragma once
// The load of a job's points, as OK and Apply of the input dialog and the clipboard quick
// transformation run it (myBtn_OK). It works in stages: the files are read, checked and matched
// into sets of its own while the job stays as it was; only when every step passed is the job
// reset and are the new points committed to it, with one PointsReplaced event. A refusal, a
// failure, a No to the overwrite question or a cancelled search leaves the job exactly as it was
// (paths and display names included): the user's messages have been shown, nothing else happened.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/SeedValueSource.h"
#include "input/ReadOptions.h"
#include "platform/EventPump.h"
#include "platform/Progress.h"
#include "platform/Prompter.h"
#include "shared/IniFile.h"
#include "shared/JobEvents.h"
#include "shared/JobState.h"

namespace kal {

// How the identical points are found: the three option buttons of the matching frame.
enum class PointMatchMethod {
    ByName,         // OptionByID: "by Point ID / Point Number (default)"
    ByDistances,    // OptionByDis: "Auto Find by identically distances in MCS and OCS"
    ByCoordinates,  // OptionByCoordinate: "identify just by coordinate comparison"
};

// What the input dialog chose when OK or Apply was pressed (or what the quick transformation asks
// for). Plain values, taken from the controls at that moment.
struct PointLoadRequest {
    std::string mcsFile;              // TextNameMCS
    std::string ocsFile;              // TextNameOCS: for a robot or shape format, that file
    std::string nameMcs = "MCS";      // TextRenameMCS
    std::string nameOcs = "OCS";      // TextRenameOCS
    OcsFormat ocsFormat = kOcsAscii;  // ComboOCS_Data's index
    PointMatchMethod method = PointMatchMethod::ByName;
    // "Use only the first" n "Points of OCS for Auto Find" (distances only); nullopt: all of them
    // (box not ticked, or ticked with an empty text). See ocsLimitFromControls.
    std::optional<std::int32_t> ocsLimit;
    bool renameMcs = false;  // CheckRenameMCS (coordinates only)
    bool renameOcs = false;  // CheckRenameOCS (coordinates only)
    // Points pasted from the clipboard: they replace loaded points without the overwrite question.
    bool fromClipboard = false;
    // BundleFileName, set only by the hidden network button: the load reads this network file and
    // nothing else.
    std::string networkFile;
};

// The distance search's OCS limit from the check box and its digits-only text: nullopt when the
// box is not ticked, when the text is empty or when it does not fit 32 bits.
std::optional<std::int32_t> ocsLimitFromControls(bool useOnlyFirstTicked, const std::string& maxOcsText);

// What the load needs besides the job. The prompter is required; any other pointer may be null.
struct PointLoadServices {
    platform::Prompter* prompter = nullptr;
    platform::EventPump* events = nullptr;   // let through during the distance search
    platform::Progress* progress = nullptr;  // the distance search's window ("AutoFind ... - Progress")
    SeedValueSource* seedValues = nullptr;   // the calculation window's seed, while it is loaded
    JobEvents* jobEvents = nullptr;          // hears PointsReplaced once when a load commits
    // The job reset before the commit when points were loaded (FormMain.Initialisieren, the
    // colour-bar window unloaded, the graphics windows closed). The shell supplies it.
    std::function<void(JobState&)> resetJob;
    // The settings file the load's seven keys go to; empty: none written.
    std::string iniFile;
};

enum class PointLoadStatus {
    Loaded,         // the new points are the job's
    NetworkLoaded,  // the network file's tables are the job's
    Declined,       // No to the overwrite question
    Cancelled,      // the tolerance prompt was cancelled, or the distance search stopped
    Refused,        // a check, a reader or the matching refused (its message was shown)
};

struct PointLoadOutcome {
    PointLoadStatus status = PointLoadStatus::Refused;
    bool hasNameColumn = true;       // HasNameColumn: the OCS file's (or the MCS file's for robot formats)
    std::vector<IniEntry> settings;  // the keys written after a complete load, in their order
};

// The messages of the load that no reader shows.
inline constexpr const char* kOverwriteTitle = "Overwrite old Points?";
inline constexpr const char* kOverwriteQuestion =
    "This will not add points, it will delete the old imported Points and import the new Points";
inline constexpr const char* kSearchStopped =
    "The search for identical points was stopped; no points were loaded.";

// The lines "<path>", "", " is not existing".
std::string fileNotExistingMessage(const std::string& path);

// The whole load (myBtn_OK). `job` changes only when the result is Loaded or NetworkLoaded.
PointLoadOutcome loadPoints(JobState& job, const PointLoadRequest& request,
                            const PointLoadServices& services);

// The folder of a path: the text before its last "/" or "\" (Pfad). A path without one, or with
// only one at its first character, shows "Error in Function Pfad" and gives "".
std::string pathFolder(const std::string& path, platform::Prompter* prompter);

// The read options of the job's units and the system's decimal separator.
ReadOptions readOptionsFor(const JobState& job, platform::Prompter* prompter);

}  // namespace kal
