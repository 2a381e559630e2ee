#pragma once
// The state of the current job: point sets, counts, use flags, the 17-parameter block and its
// states, the calculation modes, units and formats, job flags, file names and the settings read
// from the INI file. One instance, owned by the application; core routines take what they use
// as parameters so a test builds its own.
//
// Conventions: arrays are 1-based (element 0 unused), lengths in millimetres, angles in radians.
// Flags are plain bool here; the files that store them as 16-bit -1/0 convert at the door.
// Counts and indices are 32-bit.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "shared/Matrix.h"
#include "shared/TaggedArray.h"
#include "shared/ViewRecords.h"

namespace kal {

// Index of each slot of the parameter block.
enum ParamIndex : int {
    kTraX = 1,
    kTraY,
    kTraZ,
    kRotX,
    kRotY,
    kRotZ,
    kScaleX,
    kScaleY,
    kScaleZ,
    kScaleXYZ,
    kParXY,
    kAzimuth,
    kZtoXY,
    kRDist,
    kRvecX,
    kRvecY,
    kRvecZ
};
inline constexpr int kParamCount = 17;        // slots 1..17
inline constexpr int kStoredParamCount = 14;  // slots the job file keeps
inline constexpr int kMaxSavedViews = 50;     // SavedViews slots 1..50

// NormMode values.
enum NormModeValue : std::int16_t { kNormL1 = 1, kNormL2 = 2, kNormMinimax = 3 };

// OCS data types of the input dialog's list, by list index.
enum OcsFormat : std::int16_t {
    kOcsAscii = 0,
    kOcsKuka = 1,
    kOcsModx = 2,
    kOcsFanuc = 3,
    kOcsXyzAbc = 4,
    kOcsQuat = 5,
    kOcsParaboloid = 6
};

struct JobState {
    // ---- Point sets: four parallel arrays each, 0..count ----
    std::vector<std::string> MCS_Name{std::string()};
    TaggedArray MCS_X, MCS_Y;
    std::vector<double> MCS_Z{0.0};
    std::vector<std::string> OCS_Name{std::string()};
    TaggedArray OCS_X, OCS_Y;
    std::vector<double> OCS_Z{0.0};
    std::vector<std::string> MCSt_Name{std::string()};
    TaggedArray MCSt_X, MCSt_Y;
    std::vector<double> MCSt_Z{0.0};
    TaggedArray RVec_X, RVec_Y;
    std::vector<double> RVec_Z{0.0};
    std::vector<double> McBackupX, McBackupY, McBackupZ;

    // ---- Counts ----
    std::int32_t IdenticalCount = 0;
    std::int32_t McsCount = 0;
    std::int32_t OcsCount = 0;
    std::int32_t McsOnlyCount = 0;
    std::int32_t OcsOnlyCount = 0;

    // ---- Use flags: 0..3*IdenticalCount; point k owns 3(k-1)+1 (x), +2 (y), +3 (z) ----
    std::vector<std::int16_t> UseFlags{0};

    // ---- Robot and shape data ----
    Matrix OcsAngles;  // (0..OcsCount, 0..3): A, B, C in radians
    double AbcRange1 = 0, AbcRange2 = 0, AbcRange3 = 0;
    Matrix ShapeProfile;  // (0..n, 0..2)
    bool ParaboloidMode = false;

    // ---- Distance network input (read through the input dialog's hidden network button) ----
    std::vector<std::string> BuendelStation{std::string()};   // 0..AnzBuendelStation
    Matrix BuendelStationDaten;                               // (0..nS, 0..3)
    std::vector<std::string> BuendelPunkt{std::string()};     // 0..AnzBuendelPunkt
    Matrix BuendelPunktDaten;                                 // (0..nP, 0..3)
    std::vector<std::array<std::string, 3>> BuendelBeob{{}};  // 0..nD: [1] first, [2] second name
    std::vector<double> BuendelBeobWert{0.0};                 // 0..nD
    std::int32_t AnzBuendelStation = 0, AnzBuendelPunkt = 0, AnzBuendelBeob = 0;

    // ---- Seed points ----
    std::array<std::string, 4> SeedPointNames{};
    std::array<std::int32_t, 4> SeedPointIndex{};

    // ---- Parameter block (slots 1..17) ----
    std::array<double, kParamCount + 1> Params{};
    double& TraX() { return Params[kTraX]; }
    double& TraY() { return Params[kTraY]; }
    double& TraZ() { return Params[kTraZ]; }
    double& RotX() { return Params[kRotX]; }
    double& RotY() { return Params[kRotY]; }
    double& RotZ() { return Params[kRotZ]; }
    double& ScaleX() { return Params[kScaleX]; }
    double& ScaleY() { return Params[kScaleY]; }
    double& ScaleZ() { return Params[kScaleZ]; }
    double& ScaleXYZ() { return Params[kScaleXYZ]; }
    double& ParXY() { return Params[kParXY]; }
    double& Azimuth() { return Params[kAzimuth]; }
    double& ZtoXY() { return Params[kZtoXY]; }
    double& RDist() { return Params[kRDist]; }
    double& Rvec_x() { return Params[kRvecX]; }
    double& Rvec_y() { return Params[kRvecY]; }
    double& Rvec_z() { return Params[kRvecZ]; }

    // "float", "not used", or the fixed value as typed (display units). 0..17.
    std::array<std::string, kParamCount + 1> ParamState{};

    // ---- Derived copies and results ----
    double RotXSeed = 0, RotYSeed = 0, RotZSeed = 0;
    double InvTraX = 0, InvTraY = 0, InvTraZ = 0;
    Matrix InverseSolutionTable;  // (0..n, 0..9)
    // Monte Carlo run arrays: McRuns[k] is parameter k's array (0..MonteCarloRuns), k = 1..17;
    // McRuns[18] is MC_SigmaXyz.
    std::array<std::vector<double>, kParamCount + 2> McRuns{};
    // The parameters (slots 1..17) whose runs a surface of revolution left open: with rot z''
    // estimated every run may end turned anywhere about the surface's axis, so the runs of the
    // values that turn with it scatter without meaning and give no sigma. Belongs to the runs
    // above; not saved.
    std::array<bool, kParamCount + 1> McOpenBySurface{};
    double SigmaXyz = 0;
    double MaxDevX = 0, MaxDevY = 0, MaxDevZ = 0, MinDevX = 0, MinDevY = 0, MinDevZ = 0;

    // ---- Calculation modes ----
    std::int16_t NormMode = 0;
    bool MonteCarloOn = false;
    bool UseAbcMode = false;
    bool AutoRecalc = false;
    bool RichtungMCStoOCS = false;
    bool MCSOCSGetauscht = false;
    bool McCompleted = false;
    bool WinkelWarnungGezeigt = false;

    // ---- OCS data type flags ----
    bool AsciiOcsMode = false, KukaOcsMode = false, ModxOcsMode = false, FanucOcsMode = false,
         XyzAbcOcsMode = false, QuatOcsMode = false;
    std::int16_t OcsFormatIndex = 0;
    std::string ParaboloidDatei, KUKADatei, ABBmodxDatei, QuaternionDatei, XYZABCDatei, FanucDatei;

    // ---- Units and formats ----
    std::string LengthUnitName, AngleUnitName;
    std::int16_t DigitLength = 0, DigitAngle = 0, DigitScale = 0;
    bool PhiThetaAsQ = false;
    double LengthFactor = 0;  // display value per millimetre; 0 until the units are fixed
    double AngleFactor = 0;   // display value per radian
    std::string LengthFormat, AngleFormat, ScaleFormat;
    std::string MatrixFormat = "0.00000000";

    // ---- Job flags ----
    bool DataLoaded = false;
    bool TrafoCalculated = false;
    bool JobDirty = false;
    bool StopFlag = false;
    bool ParaStopFlag = false;
    bool TrafoFormGeladen = false;
    bool ClipInput = false;
    bool ColourBarShown = false;        // the colour-bar window is shown
    std::int32_t OriginPointIndex = 0;  // the point selected in the main sheet and the graphics

    // ---- What a grid last prepared for the Edit menu ----
    std::string ClipboardText;       // the table text for "Copy"
    std::vector<double> AuswahlPkt;  // the anchor column's values of the last right-button selection
    std::int32_t AnzAuswahl = 0;     // how many (AuswahlPkt.size(); no 9001 cap)

    // ---- Files and folders ----
    std::string CurrentJobFile;
    std::array<std::string, 5> RecentFiles{};  // 1..4
    std::string IniFilePath, AppDataFolder;
    std::string OsNameString;  // the operating system's name, for the Info window
    std::string NameMCS, NameOCS, MCS_FileName, OCS_FileName;
    std::string FileDelimiter;
    std::string TempMCSDatei, TempOCSDatei;
    std::string LastMCSRoot, LastOCSRoot, LastRobCadRoot, LastRocalRoot, LastDialogFolder;

    // ---- Settings from the INI file ----
    std::int16_t MaxIteration = 0;
    double IterationThreshold = 0;  // 0 means 1e-9 to the solver
    std::int16_t ClipboardMode = 0;
    bool InvertedBMW = false, AdTCP = false, TabelHeadMainSheet = false;
    double sigmaX = 0, sigmaY = 0, sigmaZ = 0;
    std::int32_t MonteCarloRuns = 0;
    std::int16_t RawScale = 0;
    bool CheckForGimbalLock = false;
    double GimbalLockBorder = 0;
    std::string Place, ToolName, EditorPfad;
    GraphicsFlagSet GraphicsFlags;
    std::int32_t ScreenBackColor = 0;
    ScreenProperties DefaultScreenProperties;
    // Which points the default view record was stored for (the stamp of the storing window's
    // points); 0 when unknown, as for a record read from the settings file. Not saved anywhere.
    std::uint64_t DefaultViewPointsStamp = 0;

    // ---- Saved views of the job ----
    // Saved view n occupies slot n for n = 1..ViewCount; slot 0 is never written, slots above
    // ViewCount may hold copies left by a deletion. SavedViewNames[k] (the main window's list
    // entry k) names slot k + 1, so ViewCount == SavedViewNames.size().
    std::vector<ScreenProperties> SavedViews = std::vector<ScreenProperties>(kMaxSavedViews + 1);
    std::int32_t ViewCount = 0;
    std::vector<std::string> SavedViewNames;

    // Sizes UseFlags, MCSt and RVec for the current IdenticalCount and McsCount and keeps
    // McsOnlyCount and OcsOnlyCount consistent. Existing use flags keep their values by index;
    // new ones start at `newFlag`.
    void sizeDerivedArrays(std::int16_t newFlag = 0);

    // True when the count relations and array sizes hold (for checks at the door of readers).
    bool invariantsHold() const;
};

// Forgets the stored Monte Carlo runs: their sigmas belong to the points they were drawn from, so
// a job reset and a point load clear them and no window shows one job's sigmas with another job.
inline void clearMonteCarloRuns(JobState& job) {
    for (auto& runs : job.McRuns) runs.clear();
    job.McOpenBySurface = {};
    job.McCompleted = false;
}

}  // namespace kal
