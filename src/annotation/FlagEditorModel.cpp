#include "annotation/FlagEditorModel.h"

#include <algorithm>
#include <cmath>

#include "shared/NumberText.h"

namespace kal {

namespace {

using C = FlagCheck;

constexpr C kRowBoxes[] = {C::CheckActual, C::CheckNominal, C::CheckDev, C::CheckUse};
constexpr C kColumnBoxes[] = {C::CheckX,   C::CheckY,     C::CheckZ,          C::CheckR,          C::CheckPhi,
                              C::CheckRho, C::CheckTheta, C::CheckLegendexyz, C::CheckLegendeName};
// What checking "Show only Point Number" clears, in this order.
constexpr C kClearedByPointNumber[] = {C::CheckX,          C::CheckY,   C::CheckZ,   C::CheckActual,
                                       C::CheckNominal,    C::CheckDev, C::CheckUse, C::CheckLegendeName,
                                       C::CheckLegendexyz, C::CheckR,   C::CheckPhi, C::CheckRho,
                                       C::CheckTheta};

bool isOneOf(C c, const auto& list) {
    return std::find(std::begin(list), std::end(list), c) != std::end(list);
}

// A text the box accepted earlier, read back.
double acceptedValue(const std::string& text) {
    try {
        return leadingOwnNumber(text);
    } catch (const std::exception&) {
        return 0;
    }
}

constexpr const char* kFaktorBox = "place radial, Length =";
constexpr const char* kFlagOnEveryBox = "put to every";
constexpr const char* kGridLengthBox = "Grid Length for Snap";

}  // namespace

const char* flagCheckCaption(FlagCheck check) {
    static constexpr const char* kCaptions[kFlagCheckCount] = {
        "Actuals",
        "Nominals",
        "dev",
        "Use / not use",
        "X",
        "Y",
        "Z = H",
        "R",
        "Phi",
        "Rho",
        "Theta",
        "3D dev",
        "Legend xyz",
        "Legend Name",
        "Show only Point Number",
        "Show Grid",
        "set Tolerance Colour",
        "change all Flags to new settings",
        "put Flag on all visible Points",
        "put to every ",
        "Snap to invisible Grid",
        "Show Flag only if Point is visible on Screen"};
    return kCaptions[static_cast<std::size_t>(check)];
}

FlagEditorModel::FlagEditorModel() { refreshEnabled(); }

void FlagEditorModel::refreshEnabled() {
    state_.gridLengthEnabled = state_.is(C::CheckSnaptoGrid);
    state_.placementEnabled = state_.is(C::CheckPutAll);
    state_.faktorEnabled = state_.placementEnabled && state_.placement == FlagPlacement::Radial;
}

std::optional<std::string> FlagEditorModel::setChecked(FlagCheck check, bool value) {
    auto& box = state_.checked[static_cast<std::size_t>(check)];
    if (box == value) return std::nullopt;  // no change, no reaction
    box = value;
    std::optional<std::string> message;
    if (isOneOf(check, kRowBoxes)) {
        if (value) setChecked(C::CheckShowOnlyPointNumber, false);
        const bool anyRow =
            std::any_of(std::begin(kRowBoxes), std::end(kRowBoxes), [&](C c) { return state_.is(c); });
        if (!anyRow && !state_.is(C::CheckShowOnlyPointNumber)) {
            message = kLastRowMessage;
            box = true;
        }
    } else if (isOneOf(check, kColumnBoxes)) {
        if (value) setChecked(C::CheckShowOnlyPointNumber, false);
    } else if (check == C::CheckShowOnlyPointNumber) {
        if (value) {
            for (C c : kClearedByPointNumber) setChecked(c, false);
        } else if (std::none_of(std::begin(kRowBoxes), std::end(kRowBoxes),
                                [&](C c) { return state_.is(c); })) {
            setChecked(C::CheckActual, true);
        }
    }
    refreshEnabled();
    return message;
}

void FlagEditorModel::selectPlacement(FlagPlacement placement) {
    state_.placement = placement;
    refreshEnabled();
}

void FlagEditorModel::load(const FahneRecord& r, std::int16_t gridLength) {
    state_ = FlagEditorState{};
    const std::pair<C, bool> fields[] = {{C::CheckActual, r.ShowActual},
                                         {C::CheckNominal, r.ShowNominal},
                                         {C::CheckX, r.showX},
                                         {C::CheckY, r.showY},
                                         {C::CheckZ, r.showZ},
                                         {C::Check3D, r.show3D},
                                         {C::CheckR, r.showR},
                                         {C::CheckPhi, r.showPhi},
                                         {C::CheckRho, r.showRho},
                                         {C::CheckTheta, r.showTheta},
                                         {C::CheckDev, r.ShowDev},
                                         {C::CheckSetTolCol, r.ShowTolCol},
                                         {C::CheckLegendexyz, r.ShowLegendeXYZ},
                                         {C::CheckLegendeName, r.ShowLegendeName},
                                         {C::CheckUse, r.ShowUseNotUse},
                                         {C::CheckGrid, r.ShowGrid},
                                         {C::CheckChangeAll, r.ChangeAll},
                                         {C::CheckSnaptoGrid, r.SnaptoGrid},
                                         {C::CheckFlagWithinScreen, r.WithinScreen},
                                         {C::CheckShowOnlyPointNumber, r.ShowPointNumber}};
    for (const auto& [check, value] : fields) setChecked(check, value);
    // The window's grid length as it stands, limited to the box's 10..1000.
    const int length = std::clamp<int>(gridLength, 10, 1000);
    state_.TextGridLength = std::to_string(length);
    state_.VScroll1 = length;
    radialFactor_ = 1.1;
    refreshEnabled();
}

void FlagEditorModel::setPictureSize(int width, int height) {
    pictureWidth_ = std::max(width, 0);
    pictureHeight_ = std::max(height, 0);
}

int FlagEditorModel::largestGridLength() const {
    const int side = std::max(pictureWidth_, pictureHeight_);
    if (side <= 0) return 1000;
    // A corner inside the picture snaps to the grid point below it: a grid as long as the
    // larger side takes every corner to the top left one.
    return std::clamp(side - 1, 10, 1000);
}

BoxCommit FlagEditorModel::editFaktor(const std::string& text) {
    const auto value = plainNumber(text, {.minus = false, .fraction = true});
    double factor = 0;
    if (value) {
        try {
            factor = ownNumber(formatNumber(*value, "0.00", '.'));
        } catch (const std::exception&) {
            factor = 0;
        }
    }
    if (!(factor > 0)) {
        // An unreadable or zero factor would put every flag on the centre of the points.
        return {state_.TextFaktor,
                refusedNumberMessage(kFaktorBox, text, "a number greater than 0, such as 1.1",
                                     state_.TextFaktor)};
    }
    radialFactor_ = factor;
    state_.TextFaktor = generalText(factor, '.');
    return {state_.TextFaktor, std::nullopt};
}

BoxCommit FlagEditorModel::editFlagOnEvery(const std::string& text) {
    const auto value = plainNumber(text, {.minus = false, .fraction = false});
    if (!value || *value < 1 || *value > 32767) {
        return {state_.TextFlagOnEvery,
                refusedNumberMessage(kFlagOnEveryBox, text, "a whole number from 1 to 32767",
                                     state_.TextFlagOnEvery)};
    }
    state_.TextFlagOnEvery = std::to_string(static_cast<int>(*value));
    return {state_.TextFlagOnEvery, std::nullopt};
}

BoxCommit FlagEditorModel::editGridLength(const std::string& text) {
    // The text the box already holds stands: a length the window had before it shrank is
    // refused only when typed again.
    if (text == state_.TextGridLength) return {text, std::nullopt};
    // A snap grid is whole pixels: "19,5" is refused rather than quietly taken as 20.
    const auto value = plainNumber(text, {.minus = true, .fraction = false});
    if (!value) {
        return {state_.TextGridLength,
                refusedNumberMessage(kGridLengthBox, text, "a whole number from 10 to 1000",
                                     state_.TextGridLength)};
    }
    // A number outside 10..1000 is taken as the nearer limit.
    const int length = static_cast<int>(std::nearbyint(std::clamp(*value, 10.0, 1000.0)));
    if (length > largestGridLength()) {
        std::string m = "\"";
        m.append(kGridLengthBox).append("\": a grid of ").append(std::to_string(length));
        m.append(" pixels would put every flag on one spot of this picture (")
            .append(std::to_string(pictureWidth_))
            .append(" x ")
            .append(std::to_string(pictureHeight_))
            .append(" pixels); the box takes at most ")
            .append(std::to_string(largestGridLength()))
            .append(".\nIt keeps ")
            .append(state_.TextGridLength)
            .append(".");
        return {state_.TextGridLength, m};
    }
    state_.TextGridLength = std::to_string(length);
    state_.VScroll1 = length;
    return {state_.TextGridLength, std::nullopt};
}

void FlagEditorModel::scrollGridLength(int value) {
    value = std::clamp(value, 10, largestGridLength());
    state_.VScroll1 = value;
    state_.TextGridLength = std::to_string(value);
}

FlagEditorModel::Applied FlagEditorModel::apply(FahneRecord& r) const {
    const FlagEditorState& s = state_;
    r.ShowActual = s.is(C::CheckActual);
    r.ShowNominal = s.is(C::CheckNominal);
    r.showX = s.is(C::CheckX);
    r.showY = s.is(C::CheckY);
    r.showZ = s.is(C::CheckZ);
    r.show3D = s.is(C::Check3D);
    r.showR = s.is(C::CheckR);
    r.showPhi = s.is(C::CheckPhi);
    r.showRho = s.is(C::CheckRho);
    r.showTheta = s.is(C::CheckTheta);
    r.ShowDev = s.is(C::CheckDev);
    r.ShowTolCol = s.is(C::CheckSetTolCol);
    r.ShowLegendeXYZ = s.is(C::CheckLegendexyz);
    r.ShowLegendeName = s.is(C::CheckLegendeName);
    r.ShowUseNotUse = s.is(C::CheckUse);
    r.ShowGrid = s.is(C::CheckGrid);
    r.SnaptoGrid = s.is(C::CheckSnaptoGrid);
    r.WithinScreen = s.is(C::CheckFlagWithinScreen);
    r.ChangeAll = s.is(C::CheckChangeAll);
    const bool anyColumn =
        r.showX || r.showY || r.showZ || r.show3D || r.showR || r.showPhi || r.showRho || r.showTheta;
    r.ShowPointNumber = s.is(C::CheckShowOnlyPointNumber) || !anyColumn;

    Applied applied;
    applied.gridLength =
        static_cast<std::int16_t>(std::clamp(std::nearbyint(acceptedValue(s.TextGridLength)), 10.0, 1000.0));
    applied.putAll = s.is(C::CheckPutAll);
    if (s.is(C::CheckPutToEvery))
        applied.flagOnEvery =
            static_cast<int>(std::clamp(std::trunc(acceptedValue(s.TextFlagOnEvery)), 1.0, 32767.0));
    applied.placement = s.placement;
    applied.radialFactor = radialFactor_;
    return applied;
}

}  // namespace kal
