#pragma once
// The rules of the graphics options dialog (FormGraphicsOptions): its fourteen boxes and the
// deviation / correction choice over the process-wide display switches GraphicsFlags, "Auto
// Apply", and what applying does (Übernehmen): the switches are set, the fifteen keys of the
// settings section "GraphicsSettings" are written in one rewrite of the file, and every open
// graphics window rebuilds its point cloud and redraws once.
#include <array>
#include <functional>
#include <vector>

#include "platform/FontDialogs.h"
#include "platform/TextMetrics.h"
#include "shared/IniFile.h"
#include "shared/JobState.h"
#include "shared/ViewRecords.h"

namespace kal {

inline constexpr const char* kGraphicsSettingsSection = "GraphicsSettings";

// One box of the dialog: its control name, caption, switch (whose INI key is the switch's name)
// and the frame it stands in.
struct GraphicsOptionBox {
    const char* control;
    const char* caption;
    const char* key;
    bool GraphicsFlagSet::*flag;
    const char* frame;
};

inline constexpr const char* kVisiblePointsFrame = "Visible Points in Graphics";
inline constexpr const char* kLabelsFrame = "Labels...";
inline constexpr const char* kDirectionFrame = "Deviation Vector Direction";
inline constexpr const char* kMoreSettingsFrame = "... more Settings";

// The fourteen boxes in the order applying sets and writes their switches.
const std::array<GraphicsOptionBox, 14>& graphicsOptionBoxes();

// The fifteen "GraphicsSettings" keys: the fourteen boxes' switches in their order, then
// "DevVecDirection"; values "True" / "False".
std::vector<IniEntry> graphicsSettingsEntries(const GraphicsFlagSet& flags);

class GraphicsOptionsModel {
  public:
    struct State {
        GraphicsFlagSet chosen;  // the boxes and the direction as the dialog shows them
        bool autoApply = false;  // "Auto Apply"
        bool operator==(const State&) const = default;
    };

    // The dialog loads: each box from its switch, the direction from DevVecDirection, "Auto
    // Apply" off (so loading applies nothing).
    explicit GraphicsOptionsModel(const GraphicsFlagSet& current);

    const State& state() const { return state_; }

    // A click on box `index` (0..13 of graphicsOptionBoxes()) or on a direction button. True
    // when "Auto Apply" asks for an apply now.
    bool setBox(std::size_t index, bool checked);
    bool chooseDeviation(bool deviation);  // OptionVecDeviation (true) / OptionVecCorrection
    void setAutoApply(bool on) { state_.autoApply = on; }

  private:
    State state_;
};

struct GraphicsOptionsServices {
    // Writes the entries into the settings file in one rewrite; empty when there is none.
    std::function<void(const std::vector<IniEntry>&)> writeSettings;
    // Rebuilds the point cloud of every open graphics window and redraws each once; nothing when
    // none is open.
    std::function<void()> rebuildGraphicsWindows;
};

// (Übernehmen) Sets job.GraphicsFlags to `chosen`, writes the fifteen keys, then rebuilds and
// redraws the graphics windows.
void applyGraphicsOptions(const GraphicsFlagSet& chosen, JobState& job,
                          const GraphicsOptionsServices& services);

// The label font that "Label &Font" edits: one setting shared by the labels of every graphics
// window (the template each new label copies), never a window of its own.
struct LabelFontServices {
    std::function<std::int32_t()> labelCount;  // FlagLabelCount of the last redraw
    std::function<platform::TextFont()> font;
    std::function<void(const platform::TextFont&)> setFont;
    platform::FontDialogs* dialogs = nullptr;
};

// "Label &Font": while labels are shown (FlagLabelCount > 0) the font dialog opens on the label
// font and a confirmed choice replaces it. Only the font: a label's colour follows the
// background. True when the font changed.
bool chooseLabelFont(const LabelFontServices& services);

}  // namespace kal
