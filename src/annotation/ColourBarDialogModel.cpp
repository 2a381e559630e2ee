#include "annotation/ColourBarDialogModel.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "annotation/BoxNumbers.h"
#include "shared/NumberText.h"

namespace kal {

namespace {

// A grid spacing: a whole number of at least 1 (0 would mark a view record as never set).
std::optional<std::int32_t> spacingOf(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc{} || ptr != end || value < 1) return std::nullopt;
    return value;
}

// Keeps "Auto Apply" as it was however an apply ends: nested actions during the apply see it
// unticked and do not apply again.
class AutoApplyPause {
  public:
    explicit AutoApplyPause(bool& autoApply) : autoApply_(autoApply), was_(autoApply) { autoApply_ = false; }
    ~AutoApplyPause() { autoApply_ = was_; }
    AutoApplyPause(const AutoApplyPause&) = delete;
    AutoApplyPause& operator=(const AutoApplyPause&) = delete;

  private:
    bool& autoApply_;
    bool was_;
};

}  // namespace

ComponentCaptions componentCaptions(CoordinateSystem system) {
    switch (system) {
        case CoordinateSystem::Cylindrical:
            return {"Show ve.R Component", "Show ve.Phi Component",
                    "Show ve.H Component", "Show ve.R_Phi_H Component",
                    "based on ve.R",       "based on ve.Phi",
                    "based on ve.H"};
        case CoordinateSystem::Spherical:
            return {"Show ve.Rho Component",   "Show ve.Phi Component",
                    "Show ve.Theta Component", "Show ve.Rho_Phi_Theta Component",
                    "based on ve.Rho",         "based on ve.Phi",
                    "based on ve.Theta"};
        case CoordinateSystem::Cartesian:
            break;
    }
    return {"Show ve.x Component", "Show ve.y Component", "Show ve.z Component", "Show ve.xyz Component",
            "based on ve.x",       "based on ve.y",       "based on ve.z"};
}

GridControlStates gridControlStates(const ColourBarFields& f) {
    GridControlStates s;
    s.aEnabled = f.gridXY || f.gridZX;
    s.bEnabled = f.gridXY || f.gridYZ;
    s.cEnabled = f.gridYZ || f.gridZX;
    s.gridDimEnabled = f.gridXY || f.gridYZ || f.gridZX;
    return s;
}

ClassCountCommit commitClassCount(std::string_view text) {
    double v = 0;
    try {
        v = leadingNumber(text);
    } catch (const std::exception&) {
        v = std::numeric_limits<double>::max();  // a number too large to hold
    }
    ClassCountCommit c;
    if (v > 100) {
        c.message = "max = 100";
        c.value = 100;
    } else if (v < 1) {
        c.value = 1;
    } else {
        c.value = roundToInt16(v);
    }
    c.text = std::to_string(c.value);
    return c;
}

ColourBarDialogModel::ColourBarDialogModel(const JobState& job, std::function<ColourBarTarget*()> findTarget)
    : job_(job), findTarget_(std::move(findTarget)), limits_(job.LengthFactor) {}

std::optional<ClassColourSettings> ColourBarDialogModel::previewSettings() const {
    ColourBarTarget* w = findTarget_ ? findTarget_() : nullptr;
    if (!w) return std::nullopt;
    return classColourSettings(w->colourSettings(), twoColourActive());
}

void ColourBarDialogModel::load() {
    ColourBarTarget* w = findTarget_ ? findTarget_() : nullptr;
    if (!w) return;
    ScreenProperties& view = w->colourSettings();
    // Limits still to be derived from the data are derived first, so the boxes show them.
    if (view.Max == 0 && view.Min == 0) w->classifiedCloud();
    limits_.setLengthFactor(job_.LengthFactor);
    limits_.load(view.Min, view.Max);

    fields_.showX = view.showVeX;
    fields_.showY = view.showVeY;
    fields_.showZ = view.showVeZ;
    if (view.ColorBased == "x")
        fields_.basis = ColourBasisRule::X;
    else if (view.ColorBased == "y")
        fields_.basis = ColourBasisRule::Y;
    else if (view.ColorBased == "z")
        fields_.basis = ColourBasisRule::Z;
    else if (view.ColorBased.empty())
        fields_.basis = ColourBasisRule::Absolute;
    else
        fields_.basis.reset();
    if (view.CS_Type == "CART" || view.CS_Type.empty())
        fields_.coordinateSystem = CoordinateSystem::Cartesian;
    else if (view.CS_Type == "CYL")
        fields_.coordinateSystem = CoordinateSystem::Cylindrical;
    else if (view.CS_Type == "SPH")
        fields_.coordinateSystem = CoordinateSystem::Spherical;
    fields_.outerColourOn = view.AusserhalbTol;
    fields_.setMaxOnChange = w->setMinMaxOnChange();
    fields_.positiveCountText = std::to_string(view.AnzKlassenPos);
    fields_.negativeCountText = std::to_string(view.AnzKlassenNeg);
    fields_.showOnlyUsed = view.ShowOnlyUsedComponent;
    fields_.twoColour = view.BinaerModus;
    fields_.gridXY = view.GridXY;
    fields_.gridYZ = view.GridYZ;
    fields_.gridZX = view.GridZX;
    fields_.showGridDim = view.ShowGridDim;
    fields_.aText = std::to_string(view.ADis);
    fields_.bText = std::to_string(view.BDis);
    fields_.cText = std::to_string(view.Cdis);
}

ApplyOutcome ColourBarDialogModel::update() {
    ColourBarTarget* w = findTarget_ ? findTarget_() : nullptr;
    if (!w) return {};
    AutoApplyPause pause(fields_.autoApply);
    ScreenProperties& view = w->colourSettings();

    // Every field is checked before anything is written.
    limits_.setLengthFactor(job_.LengthFactor);
    std::optional<double> maxMm, minMm;
    try {
        maxMm = limits_.limitMm(LimitBox::Upper);
        minMm = limits_.limitMm(LimitBox::Lower);
    } catch (const std::exception&) {
        return {false, "The tolerance limits must be numbers."};
    }
    const auto a = spacingOf(fields_.aText), b = spacingOf(fields_.bText), c = spacingOf(fields_.cText);
    if (!a || !b || !c) return {false, "The grid distances must be whole numbers of at least 1."};

    // The class counts flow from the window into the dialog; the count boxes write them.
    fields_.positiveCountText = std::to_string(view.AnzKlassenPos);
    fields_.negativeCountText = std::to_string(view.AnzKlassenNeg);
    if (fields_.showXYZ) fields_.showX = fields_.showY = fields_.showZ = true;
    view.showVeX = fields_.showX;
    view.showVeY = fields_.showY;
    view.showVeZ = fields_.showZ;
    w->setMinMaxOnChange() = fields_.setMaxOnChange;
    if (fields_.basis) {
        switch (*fields_.basis) {
            case ColourBasisRule::Absolute:
                view.ColorBased = "";
                break;
            case ColourBasisRule::X:
                view.ColorBased = "x";
                break;
            case ColourBasisRule::Y:
                view.ColorBased = "y";
                break;
            case ColourBasisRule::Z:
                view.ColorBased = "z";
                break;
        }
    }
    if (fields_.coordinateSystem) {
        switch (*fields_.coordinateSystem) {
            case CoordinateSystem::Cartesian:
                view.CS_Type = "CART";
                break;
            case CoordinateSystem::Cylindrical:
                view.CS_Type = "CYL";
                break;
            case CoordinateSystem::Spherical:
                view.CS_Type = "SPH";
                break;
        }
    }
    view.ShowOnlyUsedComponent = fields_.showOnlyUsed;
    view.AusserhalbTol = fields_.outerColourOn;
    view.BinaerModus = fields_.twoColour;
    if (maxMm) view.Max = *maxMm;
    if (minMm) view.Min = *minMm;
    w->recolour(twoColourActive());
    view.GridXY = fields_.gridXY;
    view.GridYZ = fields_.gridYZ;
    view.GridZX = fields_.gridZX;
    view.ShowGridDim = fields_.showGridDim;
    view.ADis = *a;
    view.BDis = *b;
    view.Cdis = *c;
    return {true, ""};
}

ApplyOutcome ColourBarDialogModel::apply() {
    ApplyOutcome outcome = update();
    if (outcome.applied)
        if (ColourBarTarget* w = findTarget_ ? findTarget_() : nullptr) w->storeViewAndRedraw();
    return outcome;
}

ApplyOutcome ColourBarDialogModel::applyIfAuto() { return fields_.autoApply ? apply() : ApplyOutcome{}; }

ApplyOutcome ColourBarDialogModel::applyThenSetMax() {
    ApplyOutcome outcome = applyIfAuto();
    if (fields_.setMaxOnChange) outcome = limitFromData(LimitBox::Upper);
    return outcome;
}

ApplyOutcome ColourBarDialogModel::settingChanged(Setting setting) {
    switch (setting) {
        case Setting::ComponentBox:
            fields_.showXYZ = false;
            return applyThenSetMax();
        case Setting::ShowOnlyUsed:
        case Setting::Basis:
        case Setting::ShowXYZ:
            return applyThenSetMax();
        case Setting::OuterColourOn:
        case Setting::TwoColour:
        case Setting::ShowGridDim:
        case Setting::Grid:
        case Setting::Spacing:
            break;
    }
    return applyIfAuto();
}

ApplyOutcome ColourBarDialogModel::coordinateSystemChosen(CoordinateSystem system) {
    fields_.coordinateSystem = system;
    if (!fields_.setMaxOnChange) return applyIfAuto();
    // The limit comes from the values of the type applied so far; one apply follows.
    const bool wasAuto = fields_.autoApply;
    {
        AutoApplyPause pause(fields_.autoApply);
        limitFromData(LimitBox::Upper);
    }
    return wasAuto ? apply() : ApplyOutcome{};
}

void ColourBarDialogModel::setMaxOnChangeToggled(bool ticked) {
    fields_.setMaxOnChange = ticked;
    if (ticked) fields_.autoApply = true;
}

ClassCountCommit ColourBarDialogModel::classCountFinished(bool positive, std::string_view text) {
    ClassCountCommit commit = commitClassCount(text);
    (positive ? fields_.positiveCountText : fields_.negativeCountText) = commit.text;
    if (ColourBarTarget* w = findTarget_ ? findTarget_() : nullptr) {
        std::int16_t& count =
            positive ? w->colourSettings().AnzKlassenPos : w->colourSettings().AnzKlassenNeg;
        if (count != commit.value) {
            count = commit.value;
            commit.outcome = applyIfAuto();  // the value the spin box already had applies nothing
        }
    }
    return commit;
}

ApplyOutcome ColourBarDialogModel::limitFinished(LimitBox box) {
    limits_.setLengthFactor(job_.LengthFactor);
    const LimitBoxes::Finished finished = limits_.finish(box);
    if (finished.refusal) return {false, "", finished.refusal};
    if (!finished.changed) return {};
    return applyIfAuto();
}

const char* gridDistanceCaption(int index) {
    static constexpr const char* kCaptions[3] = {"X Dis", "Y Dis", "Z Dis"};
    return kCaptions[std::clamp(index, 0, 2)];
}

ApplyOutcome ColourBarDialogModel::spacingFinished(int index, std::string_view text) {
    std::string& accepted = index == 0 ? fields_.aText : index == 1 ? fields_.bText : fields_.cText;
    if (!spacingOf(text)) {
        // 0 would mark the view record as never set, and a negative or unreadable distance
        // has no grid: the box keeps what it last took.
        return {
            false, "",
            refusedNumberMessage(gridDistanceCaption(index), text, "a whole number of at least 1", accepted)};
    }
    accepted = std::string(text);
    return settingChanged(Setting::Spacing);
}

ApplyOutcome ColourBarDialogModel::limitStep(LimitBox box, int direction) {
    limits_.setLengthFactor(job_.LengthFactor);
    if (!limits_.step(box, direction)) return {};
    return applyIfAuto();
}

ApplyOutcome ColourBarDialogModel::limitFromData(LimitBox box) {
    ColourBarTarget* w = findTarget_ ? findTarget_() : nullptr;
    if (!w) return {};
    const bool upper = box == LimitBox::Upper;
    const PointCloud& cloud = w->classifiedCloud();
    ScreenProperties& view = w->colourSettings();
    const std::optional<double> extreme = extremeColourBasis(cloud, job_, view.ShowOnlyUsedComponent, upper);
    if (!extreme) return {false, "No point counts for the tolerance limit."};  // limits left as they are
    limits_.setLengthFactor(job_.LengthFactor);
    limits_.setFromData(box, *extreme);
    // Until the next apply the window keeps the limit to a tenth of a millimetre, rounded down.
    (upper ? view.Max : view.Min) = std::floor(10 * *extreme) / 10;
    return applyIfAuto();
}

ApplyOutcome ColourBarDialogModel::chooseOuterColour(platform::FontDialogs& dialogs) {
    ColourBarTarget* w = findTarget_ ? findTarget_() : nullptr;
    if (!w) return {};
    const std::optional<std::int32_t> colour = dialogs.chooseColor(w->colourSettings().OuterColor);
    if (!colour) return {};  // cancelled: the colour stays
    w->colourSettings().OuterColor = *colour;
    return applyIfAuto();
}

}  // namespace kal
