#pragma once
// The 17 parameter rows of the calculation window: captions, unit kinds and default texts, one
// entry per slot of the parameter block (slot 0 unused). Slots 15 to 17 share the "use ABC" box.
#include <array>
#include <string_view>

#include "shared/JobState.h"

namespace kal {

// How a row's texts are shown: a length (display unit via LengthFactor), an angle (AngleFactor)
// or a dimensionless scale.
enum class RowKind { Length, Angle, Scale };

struct RowInfo {
    std::string_view caption;  // the estimate box's caption ("tra x"); the vector rows name their label
    RowKind kind;
    std::string_view fixedDefault;  // what an unticked row puts in place of "float"
};

inline constexpr std::array<RowInfo, kParamCount + 1> kRowInfo{{
    {"", RowKind::Length, "0"},
    {"tra x", RowKind::Length, "0"},
    {"tra y", RowKind::Length, "0"},
    {"tra z", RowKind::Length, "0"},
    {"rot x", RowKind::Angle, "0"},
    {"rot y'", RowKind::Angle, "0"},
    {"rot z''", RowKind::Angle, "0"},
    {"scale x", RowKind::Scale, "1"},
    {"scale y", RowKind::Scale, "1"},
    {"scale z", RowKind::Scale, "1"},
    {"scale xyz", RowKind::Scale, "1"},
    {"xy", RowKind::Angle, "0"},
    {"Azimuth z", RowKind::Angle, "0"},
    {"z to xy", RowKind::Angle, "0"},
    {"R Dist.", RowKind::Length, "0"},
    {"vec_x", RowKind::Length, "0"},
    {"vec_y", RowKind::Length, "0"},
    {"vec_z", RowKind::Length, "0"},
}};

inline constexpr std::string_view kFloat = "float";
inline constexpr std::string_view kNotUsed = "not used";

// The seed text a ticked seed box starts with: "1" on the scale rows, "0" elsewhere.
inline constexpr std::string_view seedDefault(int slot) { return kRowInfo[slot].fixedDefault; }

inline constexpr bool isVectorSlot(int slot) { return slot >= kRvecX && slot <= kRvecZ; }
inline constexpr bool isAxisScaleSlot(int slot) { return slot >= kScaleX && slot <= kScaleZ; }
inline constexpr bool isShapeSlot(int slot) { return slot >= kParXY && slot <= kZtoXY; }

}  // namespace kal
