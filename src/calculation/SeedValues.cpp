#include "calculation/SeedValues.h"

#include "shared/Errors.h"
#include "shared/NumberText.h"
#include "shared/Units.h"

namespace kal {

namespace {

bool isSeeded(const ParameterRow& r) { return r.estimate && r.seedChecked; }
bool isFixed(const ParameterRow& r) {
    return !r.estimate && r.valueText != kFloat && r.valueText != kNotUsed;
}

// Display units per internal unit of a row's kind.
double factorOf(RowKind kind, const JobState& job) {
    switch (kind) {
        case RowKind::Length:
            return job.LengthFactor;
        case RowKind::Angle:
            return job.AngleFactor;
        case RowKind::Scale:
            break;
    }
    return 1.0;
}

double toInternal(double shown, RowKind kind, const JobState& job) {
    if (kind == RowKind::Scale) return shown;
    const double f = factorOf(kind, job);
    if (f == 0.0) throw NumericError("The display unit has no factor: the units are not set");
    return checkedFinite(shown / f, "a seed or fixed value");
}

// Whether applySeed reads the row's seed box: an estimated row with its seed box ticked; the
// vector rows only while the offset-vector model is on.
bool readsSeed(int slot, const ParameterRow& r, const JobState& job) {
    return isSeeded(r) && (!isVectorSlot(slot) || job.UseAbcMode);
}
// Whether applySeed reads the row's value box as a fixed value; never for the vector rows.
bool readsFixed(int slot, const ParameterRow& r) { return !isVectorSlot(slot) && isFixed(r); }

double fixedValue(int slot, const ParameterRow& r, const JobState& job) {
    const RowKind kind = kRowInfo[static_cast<std::size_t>(slot)].kind;
    // A fixed angle may be typed in degrees, minutes and seconds; one that is no number reads 0.
    if (kind == RowKind::Angle) return toInternal(leadingOwnNumber(dmsToDecimalText(r.valueText)), kind, job);
    return toInternal(ownNumber(r.valueText), kind, job);
}

std::string quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

}  // namespace

void SeedValues::applySeed(JobState& job) {
    for (int slot = 1; slot <= kParamCount; ++slot) {
        const ParameterRow& r = panel_.row(slot);
        const RowKind kind = kRowInfo[static_cast<std::size_t>(slot)].kind;
        double value;
        if (readsSeed(slot, r, job))
            value = toInternal(ownNumber(r.seedText), kind, job);
        else if (readsFixed(slot, r))
            value = fixedValue(slot, r, job);
        else
            continue;
        if (slot == kScaleXYZ)
            job.ScaleX() = job.ScaleY() = job.ScaleZ() = value;
        else
            job.Params[static_cast<std::size_t>(slot)] = value;
    }
    for (int s = kScaleX; s <= kScaleZ; ++s)
        if (job.Params[static_cast<std::size_t>(s)] == 0.0) job.Params[static_cast<std::size_t>(s)] = 1.0;
    job.RotXSeed = job.RotX();
    job.RotYSeed = job.RotY();
    job.RotZSeed = job.RotZ();
}

std::optional<std::string> SeedValues::checkTexts(const JobState& job) const {
    for (int slot = 1; slot <= kParamCount; ++slot) {
        const ParameterRow& r = panel_.row(slot);
        const auto caption = kRowInfo[static_cast<std::size_t>(slot)].caption;
        try {
            if (readsSeed(slot, r, job)) {
                (void)ownNumber(r.seedText);
            }
        } catch (const FormatError&) {
            return "Seed value of " + quoted(caption) + " is not a number: " + quoted(r.seedText);
        }
        try {
            if (!readsSeed(slot, r, job) && readsFixed(slot, r) &&
                kRowInfo[static_cast<std::size_t>(slot)].kind != RowKind::Angle)
                (void)ownNumber(r.valueText);
        } catch (const FormatError&) {
            return "Fixed value of " + quoted(caption) + " is not a number: " + quoted(r.valueText);
        }
    }
    return std::nullopt;
}

bool isSeedPointName(const JobState& job, const std::string& name) {
    return name == job.SeedPointNames[1] || name == job.SeedPointNames[2] || name == job.SeedPointNames[3];
}

void valueToSeed(ParameterPanel& panel, const JobState& job) {
    auto holdsValue = [&](int slot) {
        const auto& t = panel.row(slot).valueText;
        return t != kFloat && t != kNotUsed;
    };
    auto write = [&](int slot, double value) {
        if (!holdsValue(slot)) return;
        switch (kRowInfo[static_cast<std::size_t>(slot)].kind) {
            case RowKind::Length:
                panel.setSeedText(slot, formatNumber(value * job.LengthFactor, job.LengthFormat));
                break;
            case RowKind::Angle:
                panel.setSeedText(slot, formatNumber(value * job.AngleFactor, job.AngleFormat));
                break;
            case RowKind::Scale:
                panel.setSeedText(slot, formatNumber(value, job.ScaleFormat));
                break;
        }
    };
    for (int slot = kTraX; slot <= kZtoXY; ++slot) write(slot, job.Params[static_cast<std::size_t>(slot)]);
    if (job.UseAbcMode)
        for (int slot = kRvecX; slot <= kRvecZ; ++slot)
            write(slot, job.Params[static_cast<std::size_t>(slot)]);
    if (holdsValue(kRDist)) panel.setSeedText(kRDist, generalText(job.Params[kRDist] * job.LengthFactor));
}

}  // namespace kal
