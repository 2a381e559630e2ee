#pragma once
// The rules of the input-files dialog (FormInputFiles), apart from its window: what each control
// holds, which controls are usable, what the browse, edit and explorer buttons act on, the resize
// rule, and the load that OK and Apply run.
//
// The boxes are filled from the job at every opening (open) and are not stored when the dialog
// closes. Choosing a format or a method changes the dialog only: the job takes the format, the
// paths and the display names when a load commits them, so a dialog that is cancelled, or a load
// that fails, leaves the job as it was.
//
// While a load runs (the distance search lets events through), OK, Apply, Cancel and the close
// box are blocked and a second load is refused; the window and the program around it hear of the
// running load through `LoadHooks`.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "input/PointLoad.h"
#include "platform/FileDialogs.h"
#include "shared/JobState.h"

namespace kal {

// The seven entries of ComboOCS_Data, index = OcsFormat.
inline constexpr std::array<const char*, 7> kOcsFormatEntries = {
    "Default - [Ptnr = optional], x, y z",
    "Kuka Robot file (*.dat) A = Rz, B = Ry', C = Rx''",
    "ABB Robot file (*.modx) x y z q1 q2 q3 q4",
    "Fanuc Robot file (*.ls) W = Rx, P = Ry', R = Rz''",
    "only coordinates and R-Angles x, y, z, A = Rz, B = Ry', C = Rx''",
    "only coordinates and quaternions x, y, z, q1, q2, q3, q4",
    "Paraboloid Shape Data",
};

// The window's texts, letter for letter.
namespace input_files_text {
inline constexpr const char* kCaption = "Input Files";
inline constexpr const char* kFrameMcs = "MCS File = Measurement Coordinate System = Start System";
inline constexpr const char* kFrameOcs = "OCS File = Object Coordinate System =  Target System";
inline constexpr const char* kBrowse = "&Browse";
inline constexpr const char* kExplorer = "E&xplorer...";
inline constexpr const char* kExplorerTip = "Browse File with Windows Explorer";
inline constexpr const char* kEdit = "&Edit";
inline constexpr const char* kFromClipboard = "..from Clipboard";
inline constexpr const char* kRenameMcs = "Rename MCS";
inline constexpr const char* kRenameOcs = "Rename OCS";
inline constexpr const char* kInformation = "Information in OCS File";
inline constexpr const char* kFrameAutoFind = "Identically Points definition";
inline constexpr const char* kById = "by Point ID / Point Number (default)";
inline constexpr const char* kByDistance = "Auto Find by identically distances in MCS and OCS";
inline constexpr const char* kUseOnlyFirst = "Use only the first";
inline constexpr const char* kMaxOcsDefault = "10";
inline constexpr const char* kPointsForAutoFind = "Points of OCS for Auto Find";
inline constexpr const char* kByCoordinate = "identify just by coordinate comparison";
inline constexpr const char* kRenamePointsMcs =
    "Rename Points in MCS = Start related to OCS Point Names (save old file as *.$)";
inline constexpr const char* kRenamePointsOcs =
    "Rename Points in OCS = Target related to MCS Point Names (save old file as *.$)";
inline constexpr const char* kOk = "&OK";
inline constexpr const char* kApply = "&Apply";
inline constexpr const char* kCancel = "&Cancel";
inline constexpr const char* kFrameMoreMcs =
    "&more MCS (Start System) Points to transform into OCS (Target System)";
inline constexpr const char* kImport = "&Import ";
inline constexpr const char* kPrefix = "&Prefix";
inline constexpr const char* kSuffix = "&Suffix";
inline constexpr const char* kNetworkButton = "&B\xC3\xBCndel Input";
}  // namespace input_files_text

// The three path boxes.
enum class PathBox { Mcs, Ocs, MoreMcs };

// Everything the window shows. The window applies it and sets only what changed.
struct InputFilesState {
    // Texts
    std::string mcsPath;      // TextNameMCS
    std::string ocsPath;      // TextNameOCS
    std::string nameMcs;      // TextRenameMCS
    std::string nameOcs;      // TextRenameOCS
    std::string moreMcsPath;  // TextNameMoreMCS
    std::string maxOcsText = input_files_text::kMaxOcsDefault;  // TextMaxOCS
    std::string affix;        // TextPreSuff
    // Choices
    OcsFormat format = kOcsAscii;  // ComboOCS_Data
    PointMatchMethod method = PointMatchMethod::ByName;
    bool useOnlyFirst = false;  // CheckUseOnlyFirst
    bool renameMcs = false;     // CheckRenameMCS
    bool renameOcs = false;     // CheckRenameOCS
    bool affixIsPrefix = true;  // OptionPrefix (else Option2, "&Suffix")
    // Enabled states
    bool moreMcsEnabled = false;       // FrameMoreMCS and its five buttons
    bool useOnlyFirstEnabled = false;  // CheckUseOnlyFirst
    bool limitEnabled = false;         // LabelMaxOCS1, TextMaxOCS, LabelMaxOCS2
    bool renameEnabled = false;        // CheckRenameMCS, CheckRenameOCS
    bool loadRunning = false;          // OK, Apply, Cancel and the close box wait
    bool jobBusy = false;              // other long work runs (a calculation): OK and Apply wait

    bool okEnabled() const { return !loadRunning && !jobBusy; }
    bool closeAllowed() const { return !loadRunning; }
    bool operator==(const InputFilesState&) const = default;
};

// The widths the resize rule gives, in twips.
struct InputFilesWidths {
    double window = 0;     // the window's width after the rule
    double frames = 0;     // FrameMCSFile, FrameOCSFile, FrameMoreMCS
    double pathBoxes = 0;  // TextNameMCS, TextNameOCS, TextNameMoreMCS
    bool operator==(const InputFilesWidths&) const = default;
};

// (Form_Resize) A window narrower than 650 twips becomes 800 twips wide (one narrower than 350
// first goes to 500, which the second test then takes to 800 as well); the frames are 450 twips
// narrower than the window, the path boxes 600.
InputFilesWidths inputFilesWidths(double windowTwips);

class InputFilesDialog {
  public:
    // What the program around the dialog hears while a load runs: the window blocks its
    // buttons, the program its job commands and the calculation.
    struct LoadHooks {
        std::function<void(bool running)> loadRunning;
    };

    InputFilesDialog() { open(JobState()); }

    const InputFilesState& state() const { return state_; }

    // (Form_Load) Fills every box from the job: paths (a relative one found beside the job file
    // when it lies there, pathBesideJobFile), display names ("MCS" / "OCS" when empty),
    // the format (index outside 0..6: the first entry), by-ID matching, the prefix option, and the
    // more-MCS controls usable only when points are loaded.
    void open(const JobState& job);

    // ---- The controls ----
    void setPath(PathBox box, std::string text);
    void setNameMcs(std::string text) { state_.nameMcs = std::move(text); }
    void setNameOcs(std::string text) { state_.nameOcs = std::move(text); }
    void setAffix(std::string text) { state_.affix = std::move(text); }
    void setAffixIsPrefix(bool prefix) { state_.affixIsPrefix = prefix; }
    // (ComboOCS_Data_Click) An index outside 0..6 selects the first entry.
    void selectFormat(int index);
    // (OptionByID_Click, OptionByDis_Click, OptionByCoordinate_Click)
    void chooseMethod(PointMatchMethod method);
    // (CheckUseOnlyFirst_Click)
    void setUseOnlyFirst(bool ticked);
    // (CheckRenameMCS_Click, CheckRenameOCS_Click) Ticking one clears the other.
    void setRenameMcs(bool ticked);
    void setRenameOcs(bool ticked);
    // (TextMaxOCS_Change) Digits only: a text with any other character, or a number beyond 32
    // bits, is set back to the last accepted text. Returns the text that stands in the box.
    const std::string& editMaxOcsText(const std::string& text);
    // Another long work of the job (a calculation) starts or ends.
    void setJobBusy(bool busy) { state_.jobBusy = busy; }

    // ---- The small buttons ----
    // (BtnBrowseMCS_Click, ButtonBrowseOCS_Click, BtnBrowseMoreMCS_Click) The open-file dialog in
    // LastMCSRoot (the OCS box: LastOCSRoot) showing all files; the chosen file goes into the box,
    // a cancelled dialog keeps its text. True when a file was chosen.
    bool browse(PathBox box, const JobState& job, platform::FileDialogs& dialogs);
    // (Command2_Click) The hidden network button: the next load reads this file instead of
    // points.
    bool browseNetworkFile(platform::FileDialogs& dialogs);
    // (BtnEdit…_Click) The file the system opens in its associated program: the box's path.
    std::string editTarget(PathBox box) const { return path(box); }
    // (BtnExplore…_Click) The folder the file browser shows: the folder of the box's path; ""
    // when it has none.
    std::string exploreTarget(PathBox box) const;

    // ---- The load ----
    // What OK and Apply load: the controls as they stand.
    PointLoadRequest request() const;
    // (myBtn_OK) The staged load of the request; nullopt, and nothing done, while a load already
    // runs. The hooks hear of the start and the end, on every way out.
    std::optional<PointLoadOutcome> load(JobState& job, const PointLoadServices& services,
                                         const LoadHooks& hooks = {});

  private:
    const std::string& path(PathBox box) const;
    void applyEnablingRules();

    InputFilesState state_;
    std::string lastAcceptedMaxOcs_ = input_files_text::kMaxOcsDefault;
    std::string networkFile_;  // BundleFileName, chosen by the hidden button
};

}  // namespace kal
