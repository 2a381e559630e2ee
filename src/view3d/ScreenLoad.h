#pragma once
// The steps of opening a graphics window that set its own view: the starting values, the vector
// scale and tolerance limit taken from the cloud, the grid spacing that fits the window, the
// display settings of the default view record, and the one line slot of a new window. Building
// the cloud, the extents and the fit to the window run between them (see FormScreen's load).
#include <cstdint>

#include "shared/JobState.h"
#include "view3d/PointCloud.h"
#include "view3d/ScreenModel.h"

namespace kal {

inline constexpr double kTopViewFirstAngle = -3.14159265358979;

// ViewAngles 0..2 by 0..3 with (1, 1) = −3.14159265358979, zoom 1, offsets 0, grid length 100,
// point size 2, modes off, every deviation component shown, absolute colour basis, Cartesian
// components, 10 classes on each side, hiding plane not initialised, background `backColour`.
void initialiseNewScreen(ScreenModel& screen, StoredColour backColour);

// The largest colour-basis value (column 4) over rows 1..count, from 0, in single precision.
float largestColourBasis(const PointCloud& cloud);

// From the cloud's extents (screen.arrays ViewMin/Max, filled by Max_Min) and the largest
// deviation m: Vec_Maßstab := mean extent / (m + 1E-10) / 500 when a transformation is calculated,
// else 400; Max := m, Min := 0. A result that is not positive and finite (an empty or flat
// cloud) keeps 400, so the vectors stay drawable.
void setLoadVectorScale(ScreenModel& screen, float largestDeviation, bool trafoCalculated);

// A fingerprint of the job's points (counts, names and coordinates of the MCS and the OCS), never
// 0: a view record made for other points shows in its stamp.
std::uint64_t pointsStamp(const JobState& job);

// What a new window's vectors are drawn into: the largest deviation of the current residuals
// (millimetres; the drawn vector is at most that long times the magnification) and the picture.
struct VectorPicture {
    float largestDeviation = 0;
    int width = 0;  // the drawing surface, pixels
    int height = 0;
};

// Whether `scale` draws the largest vector of `picture` at a length the picture can show: no
// longer than the picture's larger side and no shorter than two pixels. Residuals that are all
// 0 draw nothing at any magnification, so every magnification suits them.
bool vectorScaleSuits(float scale, const VectorPicture& picture);

// The length in pixels a magnification computed afresh gives the largest vector of `picture`: a
// twentieth of the picture's shorter side, never under two pixels.
double readableVectorLength(const VectorPicture& picture);

// The magnification a window takes where the default view record's cannot serve: the load's own
// (`ownScale`) where that draws the largest vector at least readableVectorLength long and inside
// the picture, else the one that draws it exactly that long. Within the limits of the "longer"
// and "shorter" commands, so residuals too small for any allowed magnification stay short.
// Residuals all 0 keep the load's own.
float recomputedVectorScale(float ownScale, const VectorPicture& picture);

// The display settings of the default view record for a window on points with stamp
// `windowStamp`: the 24 settings are copied, but a vector magnification made for other points
// (or for unknown ones), or one that would draw the current residuals' largest vector longer
// than the picture or shorter than two pixels (the same points with new residuals), gives way to
// recomputedVectorScale. Either way the magnification is kept within the limit the "longer"
// command keeps.
void takeDefaultViewRecord(ScreenProperties& view, const ScreenProperties& defaults,
                           std::uint64_t defaultStamp, std::uint64_t windowStamp,
                           const VectorPicture& picture);

// The magnification brought within the "longer" limit (and above the "shorter" one): a load never
// sets what the commands could not reach. A value that is not finite and positive becomes 400.
float clampedVectorScale(float scale);

// ADis: the power of ten that fits about seven times across the surface, 10^floor(Log10(W / 7 /
// Massstab)) rounded to the nearest integer (0 below 1). A zoom or width that gives no logarithm
// (not positive, not finite) gives 1.
std::int32_t gridSpacingForWidth(int surfaceWidth, double massstab);

// Load: ADis = BDis = Cdis := gridSpacingForWidth.
void setLoadGridSpacing(ScreenModel& screen);

// The 24 display settings that the default view record carries from window to window (the
// "LocalGraphics" fields), copied into `view`.
void takeDefaultDisplaySettings(ScreenProperties& view, const ScreenProperties& defaults);

// Lines sized to 0..2 by 0..1 keeping what it holds: a new window has one empty segment slot.
void sizeNewWindowLines(ScreenProperties& view);

}  // namespace kal
