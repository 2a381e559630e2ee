#pragma once
// The batch run of the batch window (FormBatch): every point file of one folder (the MCS folder)
// transformed with the job's current transformation into a file of its own in a second folder
// (the TCS folder). The run works on files only: the job is read, never changed.
//
// Each output holds one line per point of its input: name, x, y, z joined by Tabs, CR LF at the
// end, the coordinates in the display length unit and format with "." as the decimal point
// (other programs read these files). The inputs are listed (sorted by name) before anything is
// written, so no file written by the run is read by it. Files that are no point files (the
// settings file, job files, binary documents, texts the point-file check refuses) are skipped,
// never rewritten, and listed at the end together with the outputs that could not be created;
// the run goes on after either.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "input/PointSet.h"
#include "platform/EventPump.h"
#include "platform/Progress.h"
#include "platform/Prompter.h"
#include "shared/IniFile.h"
#include "shared/JobState.h"

namespace kal {

inline constexpr const char* kBatchCaption = "Batch File Transform";
inline constexpr const char* kBatchProgressCaption = "Batch File Transform - Progress";
inline constexpr const char* kNoTransformationCalculated = "No Transformation calculated";
inline constexpr const char* kNoMcsDirectory = "No MCS Directory choosen";
inline constexpr const char* kNoTcsDirectory = "No TCS Directory choosen";
inline constexpr const char* kBatchOverwriteTitle = "File does exist";
inline constexpr const char* kOverwrite = "overwrite";
inline constexpr const char* kOverwriteAll = "overwrite all ";
inline constexpr const char* kCancelBatch = "Cancel Batch";

// The output file name of an input file name: "_out" goes before the first "." ("points.txt" gives
// "points_out.txt", "points.old.txt" gives "points_out.old.txt"); a name without a dot gets "_out"
// appended ("noext" gives "noext_out").
std::string batchOutputName(std::string_view fileName);

// A folder text ready to have a file name appended: a trailing "\" becomes "/", and "/" is
// added when the text ends with neither. An empty text stays empty.
std::string folderWithSeparator(std::string folder);

// The names (without folder) of the ordinary files of `folder`, sorted by name (DateiListe). A
// folder that does not exist or cannot be listed gives none.
std::vector<std::string> listFolderFiles(const std::string& folder);

// The status line of the run while it works on file `c` of `n`.
std::string batchStatusText(std::int32_t c, std::int32_t n);

// The overwrite question's text for an existing output file.
std::string overwriteQuestion(const std::string& outputPath);

// The output text of a point set (lengths in millimetres): the points transformed with the job's
// current parameters, in the display length unit (× LengthFactor) and format (LengthFormat) with
// ".", name and coordinates joined by Tabs, each line ended by CR LF. A transformed point that is
// not finite throws NumericError.
std::string batchOutputText(const PointSet& points, const JobState& job);

// What the window hands the run: the texts of its two folder boxes and its option numbers. The
// option numbers are the window's settings only; the run transforms every point of every file
// with the current parameters whatever they say.
struct BatchChoices {
    std::string mcsDirectory;  // TextNameMCSDirectory
    std::string tcsDirectory;  // TextNameTCSDirectory
    int batchType = 1;         // 1 actual parameters, 2 a new calculation per file (not offered)
    int writeType = 1;         // 1 MCS-only points, 2 all points (not offered)
};

// The settings a run stores once its folders are accepted: "BatchMCSDir" and "BatchTCSDir"
// (section "Roots", each ending with a separator) and "BatchType" and "BatchWriteType" (section
// "Settings").
std::vector<IniEntry> batchSettingsEntries(const BatchChoices& choices);

// What the batch window shows when it opens (Form_Load): each folder from its settings key, or
// `defaultFolder` when the key is missing; the option numbers 1 or 2 from theirs (1 otherwise).
// A stored folder ending in "\" is read as ending in "/".
struct BatchWindowSettings {
    std::string mcsDirectory, tcsDirectory;
    int batchType = 1, writeType = 1;
    bool operator==(const BatchWindowSettings&) const = default;
};
BatchWindowSettings batchWindowSettings(const std::string& iniPath, const std::string& defaultFolder);

struct BatchServices {
    platform::Prompter* prompter = nullptr;  // messages, the file check's questions, the overwrite question
    platform::Progress* progress = nullptr;  // the progress window: its Stop ends the run between files
    platform::EventPump* events = nullptr;   // events let through between files
    // The status labels of the window: "Calculating on File c of N Files" and the input path.
    std::function<void(const std::string& countText, const std::string& inputPath)> showStatus;
    char decimalSeparator = '.';  // the system's, for reading the input files
    // Stores the folders and option numbers (batchSettingsEntries) once the run has accepted them.
    std::function<void(const std::vector<IniEntry>& entries)> writeSettings;
};

// A file the run passed over, and why.
struct BatchFileNote {
    std::string path;
    std::string reason;
    bool operator==(const BatchFileNote&) const = default;
};

struct BatchOutcome {
    enum class End {
        Refused,    // no transformation, or a folder box empty: nothing was read or written
        Completed,  // every file of the list was handled
        Cancelled,  // "Cancel Batch" answered to an overwrite question
        Stopped,    // Stop pressed in the progress window
    } end = End::Refused;
    std::int32_t fileCount = 0;                // N, the files listed in the MCS folder
    std::vector<std::string> written;          // the output files written, in order
    std::vector<BatchFileNote> skipped;        // inputs that are no point files (left as they were)
    std::vector<BatchFileNote> notCreated;     // outputs that could not be created
    std::string lastCountText, lastInputPath;  // what the status labels show at the end
};

// The list shown at the end of a run (empty when nothing was skipped and every output was written).
std::string batchSummary(const BatchOutcome& outcome);

// The run of the Start button (BtnStartBatch_Click, without the pointer, which belongs to the
// window). Refuses with "No Transformation calculated" unless TrafoCalculated, and
// with "No MCS Directory choosen" / "No TCS Directory choosen" for an empty folder box; then the
// settings are stored (writeSettings) before the folder is listed. Shows the
// summary at the end of a run that skipped a file or could not create an output.
BatchOutcome runBatchTransform(const JobState& job, const BatchChoices& choices,
                               const BatchServices& services);

}  // namespace kal
