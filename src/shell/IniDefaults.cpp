#include "shell/IniDefaults.h"

#include "shared/AtomicFile.h"

namespace kal {

namespace {

struct WindowDefault {
    const char* name;
    bool heightFirst;  // written Height, Top, Width, Left instead of Top, Left, Height, Width
    int top, left, height, width;
};

// Initial window placement in twips.
constexpr WindowDefault kWindows[] = {
    {"FormTrafoBerechnung", false, 100, 100, 11610, 19380},
    {"FormOptions", false, 100, 100, 7050, 6855},
    {"FormColorBar", false, 100, 100, 5505, 12045},
    {"FormGrafik", false, 100, 100, 500, 500},
    {"FormGraphData", false, 100, 100, 50, 50},
    {"FormGraphicsOptions", false, 100, 100, 10095, 11340},
    {"FormInputFiles", false, 100, 100, 10458, 9540},
    {"FormInputStatistic", false, 100, 100, 6810, 6180},
    {"FormMenuHelpInfo", false, 100, 100, 5880, 13410},
    {"FormScreen", false, 100, 100, 11700, 16515},
    {"FormTrafoDetails", false, 100, 100, 11625, 17895},
    {"FormTrompete", false, 100, 100, 10845, 13845},
    {"FormUnits", false, 100, 100, 3315, 4575},
    {"FormMainSheet", false, 100, 100, 13470, 9570},
    {"FormBlackPlane", true, 100, 100, 3840, 5400},
    {"FormBatch", false, 1635, 4965, 10110, 8610},
    {"FormChangeDir", false, 2295, 6540, 8130, 8265},
    {"FormStopParaTrafo", true, 1125, 7245, 2580, 3675},
};

}  // namespace

std::vector<IniEntry> iniDefaultEntries() {
    std::vector<IniEntry> e = {
        {"Global", "MaxIteration", 100},
        {"Global", "Omrivel_Etta", 1E-09},
        {"GraphicsSettings", "DevVecDirection", true},
        {"GraphicsSettings", "ViewAllOCS", false},
        {"GraphicsSettings", "ViewAllMCS", true},
        {"GraphicsSettings", "ViewAllonlyOCS", true},
        {"GraphicsSettings", "ViewAllonlyMCS", true},
        {"GraphicsSettings", "ShowPointsBigger", true},
        {"GraphicsSettings", "ShowCoordinateSystemLabels", true},
        {"GraphicsSettings", "ShowPointNames", false},
        {"GraphicsSettings", "ShowColorBar", true},
        {"GraphicsSettings", "ScreenBackColor", 0},
        {"Settings", "ClipboardValue", 2},
        {"Settings", "RawScale", 2},
    };
    for (const WindowDefault& w : kWindows) {
        const std::string n = w.name;
        if (w.heightFirst) {
            e.push_back({"Window", n + "Height", w.height});
            e.push_back({"Window", n + "Top", w.top});
            e.push_back({"Window", n + "Width", w.width});
            e.push_back({"Window", n + "Left", w.left});
        } else {
            e.push_back({"Window", n + "Top", w.top});
            e.push_back({"Window", n + "Left", w.left});
            e.push_back({"Window", n + "Height", w.height});
            e.push_back({"Window", n + "Width", w.width});
        }
    }
    return e;
}

std::string iniDefaultText() {
    std::string text;
    for (const IniEntry& e : iniDefaultEntries())
        text = iniTextWithValue(text, e.section, e.key, e.value.text());
    return text;
}

void createIniFile(JobState& job) {
    job.GraphicsFlags.DevVecDirection = true;
    writeFileAtomically(job.IniFilePath, iniDefaultText());
}

void applyIniDefaults(JobState& job) {
    job.MaxIteration = 100;
    job.IterationThreshold = 1E-09;
    GraphicsFlagSet& g = job.GraphicsFlags;
    g.DevVecDirection = true;
    g.ViewAllOCS = false;
    g.ViewAllMCS = true;
    g.ViewAllonlyOCS = true;
    g.ViewAllonlyMCS = true;
    g.ShowPointsBigger = true;
    g.ShowCoordinateSystemLabels = true;
    g.ShowPointNames = false;
    g.ShowColorBar = true;
    job.ScreenBackColor = 0;
    job.ClipboardMode = 2;
    job.RawScale = 2;
}

}  // namespace kal
