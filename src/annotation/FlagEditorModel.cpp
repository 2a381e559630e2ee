#include "annotation/FlagEditorModel.h"

#include <algorithm>
#include <cctype>
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

// A number text the program reads back itself: its leading number with "." as the decimal
// point, 0 when there is none or it cannot be represented.
double leadingValue(const std::string& text) {
    try {
        return leadingNumber(text);
    } catch (const std::exception&) {
        return 0;
    }
}

// Two decimals, written back as the shortest text of that number ("1.239" → "1.24").
std::string normalised(const std::string& text) {
    try {
        return generalText(leadingNumber(formatNumber(leadingValue(text), "0.00", '.')), '.');
    } catch (const std::exception&) {
        return "0";
    }
}

struct Filtered {
    std::string text;
    bool reachedEnd = false;  // a removal made the text shorter than the positions examined
};

// Examines the typed text position by position, as the box's change handler does: a removal
// moves the next character into the examined position, which is then passed over.
Filtered filterTyped(std::string s) {
    const std::size_t n = s.size();
    for (std::size_t b = 1; b <= n; ++b) {
        if (b > s.size()) return {s, true};
        const char ch = s[b - 1];
        if (ch == '-') {
            if (s.size() > 1 && b > 1) s.erase(b - 1, 1);
        } else if (ch == '.' || ch == ',') {
            if (s.find_first_of(".,") == b - 1)
                s[b - 1] = '.';
            else
                s.erase(b - 1, 1);
        } else if (!std::isdigit(static_cast<unsigned char>(ch))) {
            s.erase(b - 1, 1);
        }
    }
    return {s, false};
}

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

std::string filterFaktorText(const std::string& text) {
    if (text.empty() || text == "-") return text;  // left for further typing
    return normalised(filterTyped(text).text);
}

std::string filterFlagOnEveryText(const std::string& text) {
    if (text.empty() || text == "-") return "2";
    const Filtered f = filterTyped(text);
    if (!f.reachedEnd) return text;  // nothing removed past the end: the box keeps what was typed
    std::string s = normalised(f.text);
    if (s.empty() || leadingValue(s) < 2) s = "2";
    return s;
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
    editGridLength(std::to_string(gridLength));
    refreshEnabled();
}

std::string FlagEditorModel::editFaktor(const std::string& text) {
    state_.TextFaktor = filterFaktorText(text);
    return state_.TextFaktor;
}

std::string FlagEditorModel::editFlagOnEvery(const std::string& text) {
    state_.TextFlagOnEvery = filterFlagOnEveryText(text);
    return state_.TextFlagOnEvery;
}

std::string FlagEditorModel::editGridLength(const std::string& text) {
    const double value = leadingValue(text);
    std::string shown = text;
    double limited = value;
    if (value < 10) {
        shown = "10";
        limited = 10;
    } else if (value > 1000) {
        shown = "1000";
        limited = 1000;
    }
    state_.TextGridLength = shown;
    state_.VScroll1 = static_cast<int>(std::nearbyint(limited));
    return shown;
}

void FlagEditorModel::scrollGridLength(int value) {
    value = std::clamp(value, 10, 1000);
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
        static_cast<std::int16_t>(std::clamp(std::nearbyint(leadingValue(s.TextGridLength)), 10.0, 1000.0));
    applied.putAll = s.is(C::CheckPutAll);
    if (s.is(C::CheckPutToEvery))
        applied.flagOnEvery =
            static_cast<int>(std::clamp(std::trunc(leadingValue(s.TextFlagOnEvery)), 1.0, 32767.0));
    applied.placement = s.placement;
    applied.radialFactor = leadingValue(s.TextFaktor);
    return applied;
}

}  // namespace kal
