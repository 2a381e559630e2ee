#pragma once
// The view record of a graphics window and the layout of one flag (point label). A view record
// is an undo-ring slot of a graphics window, a saved view of the job, or the process-wide
// default view, which the INI file carries from one run to the next (sections "LocalGraphics"
// and "FahnenProp"). Records copy by value: two records never share an array.
//
// Booleans are bool here (the files store them as 16-bit -1/0); singles are float. Field names
// are the ones the job file and the INI keys use, with umlauts and ß spelt out in ASCII
// (`Vec_Massstab` is the INI key "Vec_Maßstab", `BinaerModus` is "BinärModus").
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "shared/Matrix.h"

namespace kal {

// The layout of one flag: which rows and columns it shows, where it stands, and its font and
// colour. Fields in the order the job file stores them.
struct FahneRecord {
    bool ShowPointNumber = false;  // only the point name ("Show only Point Number")
    bool ShowActual = false;       // row of the actual values
    bool ShowNominal = false;      // row of the nominal values
    bool ShowDevXYZ = false;       // kept with the layout; no content depends on it
    bool showX = false;            // column of the first Cartesian component
    bool showY = false;
    bool showZ = false;
    bool show3D = false;  // column of the 3-D deviation
    bool showR = false;
    bool showPhi = false;
    bool showRho = false;
    bool showTheta = false;
    bool ShowDev = false;          // row of the deviations
    bool ShowTolCol = false;       // the flag takes its point's tolerance colour
    bool ShowLegendeXYZ = false;   // header row naming the columns
    bool ShowLegendeName = false;  // legend column naming the rows
    bool ShowUseNotUse = false;    // row of the use marks
    bool ShowGrid = false;         // grid lines inside the flag
    bool ChangeAll = false;        // the flag editor applies the layout to every flag
    bool SnaptoGrid = false;       // position snaps to the invisible grid of `GridLength`
    bool WithinScreen = false;     // shown only while its point is visible
    std::int16_t Left = 0;         // flag position in the graphics window
    std::int16_t Top = 0;
    bool Bold = false;
    std::int16_t Charset = 0;  // font character set
    bool Italic = false;
    std::string Name;  // font name
    float Size = 0;    // font size in points
    bool Strikethrough = false;
    bool Underline = false;
    float Weight = 0;            // font weight
    std::int32_t Forecolor = 0;  // text colour, R + 256 G + 65536 B

    bool operator==(const FahneRecord&) const = default;
};

// For each row 0..upper() of the point cloud, the number of the flag labelling that row, 0 for
// none. Held sparse: a view record is copied on every view change (undo ring, default record)
// while the cloud may hold millions of rows and only a handful carry a flag. The job file
// expands it to the dense 16-bit array. A new array is "never sized" until resize() is called,
// which the job file stores as an array without dimensions.
class FlagOfPointArray {
  public:
    bool isSized() const { return sized_; }
    std::int32_t upper() const { return upper_; }

    // Sizes the array to rows 0..upper, keeping the flags of the rows that remain.
    void resize(std::int32_t upper) {
        sized_ = true;
        upper_ = upper < 0 ? 0 : upper;
        flags_.erase(flags_.upper_bound(upper_), flags_.end());
    }
    // Back to the never-sized state.
    void clear() {
        sized_ = false;
        upper_ = 0;
        flags_.clear();
    }

    // The flag on `row`; 0 for none and for rows outside 0..upper().
    std::int16_t operator[](std::int32_t row) const {
        auto it = flags_.find(row);
        return it == flags_.end() ? std::int16_t{0} : it->second;
    }
    // Puts flag `flag` on `row` (0 removes it). A row beyond upper() grows the array.
    void set(std::int32_t row, std::int16_t flag) {
        if (row < 0) return;
        if (!sized_ || row > upper_) resize(row);
        if (flag == 0)
            flags_.erase(row);
        else
            flags_[row] = flag;
    }

    // The rows that carry a flag, ascending, with their flag numbers.
    const std::map<std::int32_t, std::int16_t>& flaggedRows() const { return flags_; }

    bool operator==(const FlagOfPointArray&) const = default;

  private:
    bool sized_ = false;
    std::int32_t upper_ = 0;
    std::map<std::int32_t, std::int16_t> flags_;
};

// A two-dimensional array field of a view record (`ViewAngles`, `Lines`) that was never sized
// holds the default Matrix (bounds 0..0 by 0..0); the job file stores it without dimensions.
// The graphics never size these arrays to 0..0 by 0..0.
inline bool isNeverSized(const Matrix& m) { return m.rows() == 0 && m.cols() == 0; }

// Which point (by name) each cloud row that a line or a flag of a record refers to held when the
// record was saved. Bookkeeping beside the view, not part of it: records compare equal whatever
// it holds, and no file stores it (a job's saved views take the names of its points when it
// opens). Rows without an entry are unknown and trusted.
struct MarkedRowNames {
    std::map<std::int32_t, std::string> byRow;
    bool operator==(const MarkedRowNames&) const { return true; }
};

// Everything that makes up one view of a graphics window. Fields in the order the job file
// stores them.
struct ScreenProperties {
    bool VectorMode = false;     // deviation vectors are drawn
    std::int16_t BigNess = 0;    // point size and line width
    bool Faehnchenmode = false;  // flag mode: a click on a point creates a flag
    float Massstab = 0;          // zoom: pixel = coordinate × Massstab + offset
    float OffsetX = 0;           // pixel offsets of the projection
    float OffsetY = 0;
    float Vec_Massstab = 0;               // scale factor of the deviation vectors ("Vec_Maßstab")
    std::int16_t GridLength = 0;          // cell size of the flags' snap grid
    Matrix ViewAngles;                    // view rotation angles in radians, elements (1, 1..3); 0..2 by 0..3
    std::int16_t FahneAnzahl = 0;         // number of flags of the window
    FlagOfPointArray FlagOfPoint;         // flag number per point-cloud row
    std::vector<FahneRecord> FahneProps;  // layout per flag number (1..); element 0 is the template
    std::int16_t CurrentFahne = 0;        // current flag, 0 for none
    std::int16_t WindowWidth = 0;         // outer size in twips, clamped to 32767 when stored
    std::int16_t WindowHeight = 0;
    std::int16_t AnzKlassenPos = 0;  // tolerance classes above zero
    std::int16_t AnzKlassenNeg = 0;  // tolerance classes below zero
    bool AusserhalbTol = false;      // points outside the tolerance drawn in OuterColor
    double Min = 0;                  // tolerance limits, millimetres
    double Max = 0;
    bool showVeX = false;  // deviation components shown
    bool showVeY = false;
    bool showVeZ = false;
    std::string ColorBased;  // "x", "y", "z", or empty for the absolute deviation
    bool ShowOnlyUsedComponent = false;
    std::int32_t OuterColor = 0;  // colour of out-of-tolerance points
    std::string CS_Type;          // "CART", "CYL" or "SPH"
    bool BinaerModus = false;     // two-colour mode ("BinärModus")
    bool BlackPlane = false;      // hiding plane on
    bool BlackPlaneBorders = false;
    bool BlackInitial = false;
    float BlackOffX = 0;  // pixel offsets recorded with the hiding plane
    float BlackOffY = 0;
    double BlackM = 0;         // zoom recorded with the hiding plane
    double BlackThick = 0;     // thickness of the hiding plane
    Matrix PlaneMatrix{3, 3};  // fixed 0..3 by 0..3; only (1..3, 1..3) is stored and restored
    float BlackZ = 0;          // depth of the hiding plane
    bool GridXY = false;
    bool GridYZ = false;
    bool GridZX = false;
    std::int32_t ADis = 0;  // grid spacings; ADis 0 marks a default record never set
    std::int32_t BDis = 0;
    std::int32_t Cdis = 0;
    bool ShowGridDim = false;
    Matrix Lines;  // segment k from cloud row Lines(1, k) to Lines(2, k); 0..2 by 0..LineCount
    std::int32_t LineStartPoint = 0;  // cloud row where the next segment starts
    bool LineMode = false;
    std::int32_t LineCount = 0;  // number of line segments

    MarkedRowNames markedRowNames;  // not stored: see MarkedRowNames

    bool operator==(const ScreenProperties&) const = default;
};

// Display switches of the graphics windows, INI section "GraphicsSettings" (each under its
// own name). ScreenBackColor, in the same section, is held apart in the job state.
struct GraphicsFlagSet {
    bool ViewAllOCS = false;          // "View all OCS Identically Points"
    bool ViewAllMCS = false;          // "View all MCS Identically Points"
    bool ViewAllonlyOCS = false;      // "View all only OCS Points"
    bool ViewAllonlyMCS = false;      // "View all only MCS Points"
    bool ViewOnlyIfTrafo = false;     // identical points used in the transformation
    bool ViewOnlyIfNotTrafo = false;  // identical points not used in it
    bool DontViewOOT = false;         // hide points out of tolerance
    bool ShowPointsBigger = false;    // closer points drawn bigger
    bool ShowCoordinateSystemLabels = false;
    bool ShowPointNames = false;
    bool ShowColorBar = false;
    bool VectorThick = false;      // vectors as thick as points
    bool VectorQuat = false;       // quaternion vector
    bool ShowRVec = false;         // R Dist vectors or the offset vectors
    bool DevVecDirection = false;  // true: deviation = actual - nominal; false: correction

    bool operator==(const GraphicsFlagSet&) const = default;
};

}  // namespace kal
