#include "shared/IniSettings.h"

#include <cctype>
#include <cfloat>
#include <cmath>
#include <functional>
#include <optional>
#include <unordered_map>

#include "shared/AtomicFile.h"
#include "shared/Errors.h"
#include "shared/IniFile.h"
#include "shared/NumberText.h"
#include "shared/TextEncoding.h"
#include "shared/TextLines.h"
#include "shared/Units.h"

namespace kal {

namespace {

// The conversions of the key map. Each throws (FormatError or NumericError) when the value
// does not convert; the caller then skips the line.
std::string asText(const std::string& v) { return v; }
std::int16_t valInt16(const std::string& v) { return roundToInt16(leadingOwnNumber(v)); }
double valDouble(const std::string& v) { return leadingOwnNumber(v); }
std::int16_t int16(const std::string& v) { return roundToInt16(ownNumber(v)); }
std::int32_t int32(const std::string& v) { return roundToInt32(ownNumber(v)); }
double dbl(const std::string& v) { return ownNumber(v); }
float single(const std::string& v) {
    const double d = ownNumber(v);
    if (std::fabs(d) > FLT_MAX) throw NumericError("Overflow: " + v + " does not fit a single");
    return static_cast<float>(d);
}
bool flag(const std::string& v) {
    auto equalsNoCase = [&](std::string_view word) {
        if (v.size() != word.size()) return false;
        for (std::size_t i = 0; i < v.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(v[i])) !=
                std::tolower(static_cast<unsigned char>(word[i])))
                return false;
        return true;
    };
    if (equalsNoCase("True")) return true;
    if (equalsNoCase("False")) return false;
    return ownNumber(v) != 0.0;
}
std::string lengthUnit(const std::string& v) {
    if (!lengthFactorOf(v)) throw FormatError("\"" + v + "\" is no length unit");
    return v;
}
std::string angleUnit(const std::string& v) {
    if (!angleFactorOf(v)) throw FormatError("\"" + v + "\" is no angle unit");
    return v;
}
std::int16_t digits0to6(const std::string& v) {
    const std::int16_t d = valInt16(v);
    if (d < 0 || d > 6) throw FormatError("the number of decimals must lie between 0 and 6");
    return d;
}
std::int16_t digits0to1(const std::string& v) {
    const std::int16_t d = valInt16(v);
    if (d < 0 || d > 1) throw FormatError("the scale format must be 0 or 1");
    return d;
}

// The flag layout that "FahnenProp" keys fill: the one at FahneAnzahl. Keys met before any
// "ShowPointNumber" (a hand-edited file) create flag 1 instead of writing out of range.
FahneRecord& currentFlag(JobState& j) {
    auto& d = j.DefaultScreenProperties;
    if (d.FahneAnzahl < 1) {
        d.FahneProps.assign(2, FahneRecord{});
        d.FahneAnzahl = 1;
    } else if (d.FahneProps.size() <= static_cast<std::size_t>(d.FahneAnzahl)) {
        d.FahneProps.resize(static_cast<std::size_t>(d.FahneAnzahl) + 1);
    }
    return d.FahneProps[static_cast<std::size_t>(d.FahneAnzahl)];
}

using Setter = std::function<void(JobState&, const std::string&)>;

// Converts first and assigns after, so a value that fails leaves the variable as it was.
#define KAL_KEY(key, field, conv)                                         \
    {                                                                     \
        key, [](JobState& j, const std::string& v) { j.field = conv(v); } \
    }
#define KAL_FLAG_KEY(key, field, conv)               \
    {                                                \
        key, [](JobState& j, const std::string& v) { \
            auto x = conv(v);                        \
            currentFlag(j).field = x;                \
        }                                            \
    }

const std::unordered_map<std::string, Setter>& keyMap() {
    static const std::unordered_map<std::string, Setter> map = {
        // Settings
        KAL_KEY("Editor", EditorPfad, asText),
        KAL_KEY("LastFile1", RecentFiles[1], asText),
        KAL_KEY("LastFile2", RecentFiles[2], asText),
        KAL_KEY("LastFile3", RecentFiles[3], asText),
        KAL_KEY("LastFile4", RecentFiles[4], asText),
        KAL_KEY("MaxIteration", MaxIteration, valInt16),
        KAL_KEY("Omrivel_Etta", IterationThreshold, valDouble),
        KAL_KEY("NameMCS", NameMCS, asText),
        KAL_KEY("NameOCS", NameOCS, asText),
        KAL_KEY("UnitLength", LengthUnitName, lengthUnit),
        KAL_KEY("UnitAngle", AngleUnitName, angleUnit),
        KAL_KEY("DigitLength", DigitLength, digits0to6),
        KAL_KEY("DigitAngle", DigitAngle, digits0to6),
        KAL_KEY("DigitScale", DigitScale, digits0to1),
        KAL_KEY("LastMCSRoot", LastMCSRoot, asText),
        KAL_KEY("LastOCSRoot", LastOCSRoot, asText),
        KAL_KEY("LastRobCadRoot", LastRobCadRoot, asText),
        KAL_KEY("LastRocalRoot", LastRocalRoot, asText),
        KAL_KEY("LastDropDownInfoInOCS", OcsFormatIndex, int16),
        KAL_KEY("Place", Place, asText),
        KAL_KEY("ToolName", ToolName, asText),
        KAL_KEY("MCS_FileName", MCS_FileName, asText),
        KAL_KEY("OCS_FileName", OCS_FileName, asText),
        KAL_KEY("LastDir", LastDialogFolder, asText),
        KAL_KEY("RawScale", RawScale, int16),
        KAL_KEY("ScreenBackColor", ScreenBackColor, int32),
        KAL_KEY("sigmaX", sigmaX, dbl),
        KAL_KEY("sigmaY", sigmaY, dbl),
        KAL_KEY("sigmaZ", sigmaZ, dbl),
        KAL_KEY("MonteCarloRuns", MonteCarloRuns, int32),
        KAL_KEY("GimbalLockBorder", GimbalLockBorder, dbl),
        KAL_KEY("InvertedBMW", InvertedBMW, flag),
        KAL_KEY("AdTCP", AdTCP, flag),
        KAL_KEY("PhiThetaAsQ", PhiThetaAsQ, flag),
        KAL_KEY("TabelHeadMainSheet", TabelHeadMainSheet, flag),
        KAL_KEY("CheckForGimbalLock", CheckForGimbalLock, flag),
        // GraphicsSettings
        KAL_KEY("ViewAllOCS", GraphicsFlags.ViewAllOCS, flag),
        KAL_KEY("ViewAllMCS", GraphicsFlags.ViewAllMCS, flag),
        KAL_KEY("ViewAllonlyOCS", GraphicsFlags.ViewAllonlyOCS, flag),
        KAL_KEY("ViewAllonlyMCS", GraphicsFlags.ViewAllonlyMCS, flag),
        KAL_KEY("ViewOnlyIfTrafo", GraphicsFlags.ViewOnlyIfTrafo, flag),
        KAL_KEY("ViewOnlyIfNotTrafo", GraphicsFlags.ViewOnlyIfNotTrafo, flag),
        KAL_KEY("DontViewOOT", GraphicsFlags.DontViewOOT, flag),
        KAL_KEY("ShowPointsBigger", GraphicsFlags.ShowPointsBigger, flag),
        KAL_KEY("ShowCoordinateSystemLabels", GraphicsFlags.ShowCoordinateSystemLabels, flag),
        KAL_KEY("ShowPointNames", GraphicsFlags.ShowPointNames, flag),
        KAL_KEY("ShowColorBar", GraphicsFlags.ShowColorBar, flag),
        KAL_KEY("VectorThick", GraphicsFlags.VectorThick, flag),
        KAL_KEY("DevVecDirection", GraphicsFlags.DevVecDirection, flag),
        KAL_KEY("VectorQuat", GraphicsFlags.VectorQuat, flag),
        KAL_KEY("ShowRVec", GraphicsFlags.ShowRVec, flag),
        // LocalGraphics: the default view record
        KAL_KEY("VectorMode", DefaultScreenProperties.VectorMode, flag),
        KAL_KEY("BigNess", DefaultScreenProperties.BigNess, int16),
        KAL_KEY("Vec_Maßstab", DefaultScreenProperties.Vec_Massstab, single),
        KAL_KEY("GridLength", DefaultScreenProperties.GridLength, int16),
        KAL_KEY("AnzKlassenPos", DefaultScreenProperties.AnzKlassenPos, int16),
        KAL_KEY("AnzKlassenNeg", DefaultScreenProperties.AnzKlassenNeg, int16),
        KAL_KEY("AusserhalbTol", DefaultScreenProperties.AusserhalbTol, flag),
        KAL_KEY("Min", DefaultScreenProperties.Min, dbl),
        KAL_KEY("Max", DefaultScreenProperties.Max, dbl),
        KAL_KEY("showVeX", DefaultScreenProperties.showVeX, flag),
        KAL_KEY("showVeY", DefaultScreenProperties.showVeY, flag),
        KAL_KEY("showVeZ", DefaultScreenProperties.showVeZ, flag),
        KAL_KEY("ColorBased", DefaultScreenProperties.ColorBased, asText),
        KAL_KEY("ShowOnlyUsedComponent", DefaultScreenProperties.ShowOnlyUsedComponent, flag),
        KAL_KEY("OuterColor", DefaultScreenProperties.OuterColor, int32),
        KAL_KEY("CS_Type", DefaultScreenProperties.CS_Type, asText),
        KAL_KEY("BinärModus", DefaultScreenProperties.BinaerModus, flag),
        KAL_KEY("GridXY", DefaultScreenProperties.GridXY, flag),
        KAL_KEY("GridYZ", DefaultScreenProperties.GridYZ, flag),
        KAL_KEY("GridZX", DefaultScreenProperties.GridZX, flag),
        KAL_KEY("ADis", DefaultScreenProperties.ADis, int32),
        KAL_KEY("BDis", DefaultScreenProperties.BDis, int32),
        KAL_KEY("Cdis", DefaultScreenProperties.Cdis, int32),
        KAL_KEY("ShowGridDim", DefaultScreenProperties.ShowGridDim, flag),
        // FahnenProp: one flag layout
        {"ShowPointNumber",
         [](JobState& j, const std::string& v) {
             const bool x = flag(v);
             auto& d = j.DefaultScreenProperties;
             d.FahneProps.assign(2, FahneRecord{});
             d.FahneAnzahl = 1;
             d.FahneProps[1].ShowPointNumber = x;
         }},
        KAL_FLAG_KEY("ShowActual", ShowActual, flag),
        KAL_FLAG_KEY("ShowNominal", ShowNominal, flag),
        KAL_FLAG_KEY("ShowDevXYZ", ShowDevXYZ, flag),
        KAL_FLAG_KEY("showX", showX, flag),
        KAL_FLAG_KEY("showY", showY, flag),
        KAL_FLAG_KEY("showZ", showZ, flag),
        KAL_FLAG_KEY("show3D", show3D, flag),
        KAL_FLAG_KEY("showR", showR, flag),
        KAL_FLAG_KEY("showPhi", showPhi, flag),
        KAL_FLAG_KEY("showRho", showRho, flag),
        KAL_FLAG_KEY("showTheta", showTheta, flag),
        KAL_FLAG_KEY("ShowDev", ShowDev, flag),
        KAL_FLAG_KEY("ShowTolCol", ShowTolCol, flag),
        KAL_FLAG_KEY("ShowLegendeXYZ", ShowLegendeXYZ, flag),
        KAL_FLAG_KEY("ShowLegendeName", ShowLegendeName, flag),
        KAL_FLAG_KEY("ShowUseNotUse", ShowUseNotUse, flag),
        KAL_FLAG_KEY("ShowGrid", ShowGrid, flag),
        KAL_FLAG_KEY("ChangeAll", ChangeAll, flag),
        KAL_FLAG_KEY("SnaptoGrid", SnaptoGrid, flag),
        KAL_FLAG_KEY("WithinScreen", WithinScreen, flag),
        KAL_FLAG_KEY("Bold", Bold, flag),
        KAL_FLAG_KEY("Italic", Italic, flag),
        KAL_FLAG_KEY("Strikethrough", Strikethrough, flag),
        KAL_FLAG_KEY("Underline", Underline, flag),
        KAL_FLAG_KEY("Left", Left, int16),
        KAL_FLAG_KEY("Top", Top, int16),
        KAL_FLAG_KEY("Charset", Charset, int16),
        KAL_FLAG_KEY("Name", Name, asText),
        KAL_FLAG_KEY("Size", Size, single),
        KAL_FLAG_KEY("Weight", Weight, single),
        KAL_FLAG_KEY("Forecolor", Forecolor, int32),
    };
    return map;
}

#undef KAL_KEY
#undef KAL_FLAG_KEY

constexpr std::int32_t kMaxMonteCarloRuns = 1000000;

std::string skipped(std::size_t lineNumber, const std::string& line, const std::string& why) {
    return "Settings file, line " + std::to_string(lineNumber) + ": \"" + line + "\" was skipped (" + why +
           "); the previous value is kept.";
}

}  // namespace

std::vector<std::string> readAllIniSettings(JobState& job) {
    const std::string& path = job.IniFilePath;
    const std::vector<std::string> lines = splitLines(decodeText(readFileBytes(path)).text);
    std::vector<std::string> warnings;
    std::optional<std::string> clipboardValue;  // converted by its repair below
    bool monteCarloRunsRead = false;
    std::string key, value;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        if (line.empty() || line[0] == '[' || line[0] == '\'' || line.compare(0, 3, "REM") == 0) continue;
        if (!splitIniLine(line, key, value)) continue;
        if (value == "Wahr") value = "True";
        if (value == "Falsch") value = "False";
        if (key == "ClipboardValue") {
            clipboardValue = value;
            continue;
        }
        const auto it = keyMap().find(key);
        if (it == keyMap().end()) continue;
        try {
            it->second(job, value);
            if (key == "MonteCarloRuns") monteCarloRunsRead = true;
        } catch (const std::exception& e) {
            warnings.push_back(skipped(n + 1, line, e.what()));
        }
    }

    // Runs are bounded as the options window bounds them: the run arrays are sized by them.
    if (monteCarloRunsRead && (job.MonteCarloRuns < 0 || job.MonteCarloRuns > kMaxMonteCarloRuns)) {
        const std::int32_t clamped = job.MonteCarloRuns < 0 ? 0 : kMaxMonteCarloRuns;
        warnings.push_back("Settings file: MonteCarloRuns=" + std::to_string(job.MonteCarloRuns) +
                           " lies outside 0 to 1000000; " + std::to_string(clamped) + " is used.");
        job.MonteCarloRuns = clamped;
    }

    std::vector<IniEntry> repairs;
    if (clipboardValue) {
        std::optional<double> mode;
        try {
            mode = ownNumber(*clipboardValue);
        } catch (const FormatError&) {
        }
        if (mode && (*mode == 1 || *mode == 2 || *mode == 3 || *mode == 4 || *mode == 5)) {
            job.ClipboardMode = static_cast<std::int16_t>(*mode);
        } else {
            job.ClipboardMode = 2;
            repairs.push_back({"Settings", "ClipboardValue", 2});
        }
    }
    if (job.IterationThreshold == 0) repairs.push_back({"Global", "Omrivel_Etta", 1E-09});
    if (!repairs.empty()) {
        try {
            writeIniValues(path, repairs);
        } catch (const std::exception& e) {
            warnings.push_back(std::string("The settings file could not be repaired: ") + e.what());
        }
    }
    return warnings;
}

}  // namespace kal
