#pragma once
// The rules of the colour-bar dialog (FormColorBar): what its controls hold, how they load from
// the default graphics window (SetFormtoVars), how they are written into it (Update) and which
// user actions apply at once while "Auto Apply" is ticked.
//
// Unlike a handler chain that applies field by field, an apply first checks every field (both
// limits, the three grid spacings) and writes nothing when one is unreadable; the reason is
// returned and "Auto Apply" keeps its state. Cascades (class-count clamp, limit mirroring, grid
// boxes, "Set max" after a vector setting) are explicit calls made for user actions only.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "annotation/ClassColours.h"
#include "annotation/LimitBoxes.h"
#include "platform/FontDialogs.h"
#include "shared/JobState.h"
#include "shared/ViewRecords.h"
#include "view3d/PointCloud.h"

namespace kal {

enum class CoordinateSystem { Cartesian, Cylindrical, Spherical };  // OptCART, OptCYL, OptSPH
enum class ColourBasisRule { Absolute, X, Y, Z };                   // ColorABS, ColorX, ColorY, ColorZ

// Captions of the component boxes and sign rules for a coordinate type (CS_Type_Wahl).
struct ComponentCaptions {
    std::string showX, showY, showZ, showXYZ;
    std::string colorX, colorY, colorZ;
    bool operator==(const ComponentCaptions&) const = default;
};
ComponentCaptions componentCaptions(CoordinateSystem system);

// What the dialog's controls hold.
struct ColourBarFields {
    std::string positiveCountText = "100";  // TextAnzahlTolKlassePos
    std::string negativeCountText = "100";  // TextAnzahlTolKlasseNeg
    bool outerColourOn = false;             // CheckAusserhalbTol
    bool twoColour = false;                 // CheckBinärModus
    std::optional<CoordinateSystem> coordinateSystem;
    std::optional<ColourBasisRule> basis;
    bool showX = false, showY = false, showZ = false, showXYZ = false;
    bool showOnlyUsed = false;                                // CheckShowOnlyUsed
    bool setMaxOnChange = false;                              // CheckSetMinMax
    bool gridXY = false, gridYZ = false, gridZX = false;      // CheckShowXY, CheckShowYZ, CheckShowZX
    bool showGridDim = false;                                 // CheckShowGridDim
    std::string aText = "100", bText = "100", cText = "100";  // TextADis, TextBDis, TextCDis
    bool autoApply = true;                                    // CheckAutoApply
    bool operator==(const ColourBarFields&) const = default;
};

// Which grid controls are enabled: a spacing while a grid using it is ticked (X Y uses A and B,
// Y Z uses B and C, Z X uses C and A), "Show Grid dim." while any grid is ticked.
struct GridControlStates {
    bool aEnabled = false, bEnabled = false, cEnabled = false, gridDimEnabled = false;
    bool operator==(const GridControlStates&) const = default;
};
GridControlStates gridControlStates(const ColourBarFields& fields);

struct ApplyOutcome {
    bool applied = false;
    std::string problem;  // why nothing was applied; empty when applied or no window
    std::optional<std::string> refusal{};  // a typed number the box refused (shown as a message)
};

// The captions of the three grid-distance boxes (TextADis, TextBDis, TextCDis).
const char* gridDistanceCaption(int index);

// A finished class-count text: above 100 the message "max = 100" and "100"; below 1 (0, empty,
// letters) "1" without a message; otherwise the whole number.
struct ClassCountCommit {
    std::string text;
    std::optional<std::string> message;
    std::int16_t value = 1;
    ApplyOutcome outcome;  // of the apply a changed count ran
};
ClassCountCommit commitClassCount(std::string_view text);

// The default graphics window as the dialog sees it. The window implements it.
class ColourBarTarget {
  public:
    virtual ~ColourBarTarget() = default;
    // The window's view settings the dialog reads and writes (limits, class counts, vector and
    // colour-basis choice, out-of-tolerance colour, two-colour flag, grids and their spacings).
    virtual ScreenProperties& colourSettings() = 0;
    // Its `SetMinMaxOnChange`, kept beside the view record.
    virtual bool& setMinMaxOnChange() = 0;
    // Classes, then colours, of its own point cloud for its current settings
    // (Transform_dev_to_klasse, Calculate_RGB); `twoColour` is the two-colour switch.
    virtual void recolour(bool twoColour) = 0;
    // Its point cloud with the colour-basis values (column 4) of its current settings.
    virtual const PointCloud& classifiedCloud() = 0;
    // After an apply: the view into its undo ring and the default record, a redraw, its flags
    // refilled (StoreScreenPropertiesToRecord, Stelle_Grafik_dar, Alle_Fahnen_neu_zeichnen).
    virtual void storeViewAndRedraw() = 0;
};

class ColourBarDialogModel {
  public:
    // `findTarget` finds the default graphics window anew for every action (null when none).
    ColourBarDialogModel(const JobState& job, std::function<ColourBarTarget*()> findTarget);

    const ColourBarFields& fields() const { return fields_; }
    const LimitBoxes& limits() const { return limits_; }
    ComponentCaptions captions() const {
        return componentCaptions(fields_.coordinateSystem.value_or(CoordinateSystem::Cartesian));
    }

    // The main window's colour-bar entry carries its check mark (the dialog is shown). Two-colour
    // mode needs both that mark and the "Binär Mode" box.
    void setMenuChecked(bool checked) { menuChecked_ = checked; }
    bool twoColourActive() const { return menuChecked_ && fields_.twoColour; }
    // The class colours of the default window for the preview strip; nullopt without a window.
    std::optional<ClassColourSettings> previewSettings() const;

    // The default window's settings into the fields (SetFormtoVars); nothing without a window.
    void load();
    // The fields into the default window, classes and colours recomputed (Update).
    ApplyOutcome update();
    // Update, then the window stores its view and redraws (BtnApply_Click).
    ApplyOutcome apply();

    // ---- User actions; each applies at once while "Auto Apply" is ticked ----
    enum class Setting {
        OuterColourOn,
        TwoColour,
        ShowGridDim,  // apply
        ShowOnlyUsed,
        Basis,
        ShowXYZ,       // apply, then "Set max" when asked for
        ComponentBox,  // unticks ShowXYZ, then as above
        Grid,
        Spacing,  // apply
    };
    // The field has been changed in fields() by the caller through mutableFields().
    ApplyOutcome settingChanged(Setting setting);
    ColourBarFields& mutableFields() { return fields_; }
    // A coordinate-type button: "Set max" from the previous type's values when asked for, then apply.
    ApplyOutcome coordinateSystemChosen(CoordinateSystem system);
    // "Set max on every Vector Settings change": ticking it ticks "Auto Apply" too.
    void setMaxOnChangeToggled(bool ticked);
    // A class-count box finished editing; returns the commit (the message to show, if any).
    ClassCountCommit classCountFinished(bool positive, std::string_view text);
    // The limit boxes.
    const std::string& limitEdited(LimitBox box, std::string_view text) { return limits_.edit(box, text); }
    ApplyOutcome limitFinished(LimitBox box);
    // A grid-distance box (0 A, 1 B, 2 C) finished editing: a whole number of at least 1 is
    // taken and applied; anything else is refused and the box keeps its last accepted text.
    ApplyOutcome spacingFinished(int index, std::string_view text);
    ApplyOutcome limitStep(LimitBox box, int direction);
    // "Set max as Tol" (upper) / "Set min as Tol" (lower).
    ApplyOutcome limitFromData(LimitBox box);
    // "&Set Color ": a cancelled colour dialog keeps `OuterColor`.
    ApplyOutcome chooseOuterColour(platform::FontDialogs& dialogs);

  private:
    ApplyOutcome applyIfAuto();
    ApplyOutcome applyThenSetMax();

    const JobState& job_;
    std::function<ColourBarTarget*()> findTarget_;
    ColourBarFields fields_;
    LimitBoxes limits_;
    bool menuChecked_ = false;
};

}  // namespace kal
