#include "view3d/GraphicsOptions.h"

namespace kal {

const std::array<GraphicsOptionBox, 14>& graphicsOptionBoxes() {
    using G = GraphicsFlagSet;
    static const std::array<GraphicsOptionBox, 14> boxes{{
        {"CheckPlotOCSIdent", "View all OCS Identically Points", "ViewAllOCS", &G::ViewAllOCS,
         kVisiblePointsFrame},
        {"CheckPlotMCSIdent", "View all MCS Identically Points", "ViewAllMCS", &G::ViewAllMCS,
         kVisiblePointsFrame},
        {"CheckPlotOnlyOCS", "View all only OCS Points", "ViewAllonlyOCS", &G::ViewAllonlyOCS,
         kVisiblePointsFrame},
        {"CheckPlotOnlyMCS", "View all only MCS Points", "ViewAllonlyMCS", &G::ViewAllonlyMCS,
         kVisiblePointsFrame},
        {"CheckViewOnlyTrafo", "View Identically Points which are used in Trafo", "ViewOnlyIfTrafo",
         &G::ViewOnlyIfTrafo, kVisiblePointsFrame},
        {"CheckViewOnlyNotTrafo", "View Identically Points which are NOT used in Trafo", "ViewOnlyIfNotTrafo",
         &G::ViewOnlyIfNotTrafo, kVisiblePointsFrame},
        {"CheckDontViewOOT", "dont View Points which are out of Tol.", "DontViewOOT", &G::DontViewOOT,
         kVisiblePointsFrame},
        {"CheckShowPointsBigger", "Show closer Points bigger", "ShowPointsBigger", &G::ShowPointsBigger,
         kMoreSettingsFrame},
        {"CheckShowCoordinateSystemLabels", "Show CoordinateSystem Labels", "ShowCoordinateSystemLabels",
         &G::ShowCoordinateSystemLabels, kLabelsFrame},
        {"CheckShowPointNames", "Show Point Names on visible Points", "ShowPointNames", &G::ShowPointNames,
         kLabelsFrame},
        {"CheckShowColorBar", "Show ColorBar in Graphics Window", "ShowColorBar", &G::ShowColorBar,
         kMoreSettingsFrame},
        {"CheckVectorThick", "Show Vectors as thick as Points", "VectorThick", &G::VectorThick,
         kMoreSettingsFrame},
        {"CheckVectorQuat", "Show Quaternion Vector", "VectorQuat", &G::VectorQuat, kMoreSettingsFrame},
        {"CheckShowRDistVec", "Show R_Dist Vectors or the Vectors rvec_x, rvec_y and rvec_z", "ShowRVec",
         &G::ShowRVec, kMoreSettingsFrame},
    }};
    return boxes;
}

std::vector<IniEntry> graphicsSettingsEntries(const GraphicsFlagSet& flags) {
    std::vector<IniEntry> entries;
    entries.reserve(15);
    for (const auto& box : graphicsOptionBoxes())
        entries.push_back({kGraphicsSettingsSection, box.key, flags.*box.flag});
    entries.push_back({kGraphicsSettingsSection, "DevVecDirection", flags.DevVecDirection});
    return entries;
}

GraphicsOptionsModel::GraphicsOptionsModel(const GraphicsFlagSet& current) { state_.chosen = current; }

bool GraphicsOptionsModel::setBox(std::size_t index, bool checked) {
    const auto& boxes = graphicsOptionBoxes();
    if (index >= boxes.size()) return false;
    state_.chosen.*boxes[index].flag = checked;
    return state_.autoApply;
}

bool GraphicsOptionsModel::chooseDeviation(bool deviation) {
    state_.chosen.DevVecDirection = deviation;
    return state_.autoApply;
}

void applyGraphicsOptions(const GraphicsFlagSet& chosen, JobState& job,
                          const GraphicsOptionsServices& services) {
    job.GraphicsFlags = chosen;
    if (services.writeSettings) services.writeSettings(graphicsSettingsEntries(chosen));
    if (services.rebuildGraphicsWindows) services.rebuildGraphicsWindows();
}

bool chooseLabelFont(const LabelFontServices& services) {
    if (!services.dialogs || !services.labelCount || services.labelCount() <= 0) return false;
    const platform::TextFont current = services.font ? services.font() : platform::TextFont{};
    platform::FontChoice initial;
    initial.name = current.name;
    initial.size = current.size;
    initial.bold = current.bold;
    initial.italic = current.italic;
    constexpr int kLargestLabelFont = 128;
    const auto chosen = services.dialogs->chooseFont(initial, kLargestLabelFont);
    if (!chosen) return false;
    platform::TextFont font;
    font.name = chosen->name;
    font.size = chosen->size >= 1 ? chosen->size : current.size;
    font.bold = chosen->bold;
    font.italic = chosen->italic;
    if (services.setFont) services.setFont(font);
    return true;
}

}  // namespace kal
