#pragma once
// The two tolerance limit boxes of the colour-bar dialog: texts in the display unit (LengthFactor
// times millimetres) that the dialog's apply turns into the window's `Max` and `Min`.
//
// A box shows what is typed. When editing finishes, a plain number (either decimal separator,
// an optional leading minus) is formatted with the unit's decimals and the pair is made
// symmetric: -a in the lower box and +a in the upper one, a at least one last digit. A limit of
// 0 is never left in a box. Any other finished text is refused with a message naming the box,
// and both boxes go back to their last accepted texts.
//
// Decimals follow the unit so that one last digit is at most 0.01 mm: millimetre 2 ("0.00"),
// metre 5, inch 4, feet 5. The step buttons move a limit by one last digit.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "annotation/BoxNumbers.h"
#include "shared/JobState.h"
#include "view3d/PointCloud.h"

namespace kal {

// Decimals of a limit in the display unit of `lengthFactor` (display value per millimetre).
int limitDecimals(double lengthFactor);

// The largest (or the smallest) colour-basis value (column 4, mm) among the identical points of
// `cloud`; with `onlyUsed`, only points whose three use flags are all set count. nullopt when no
// point counts.
std::optional<double> extremeColourBasis(const PointCloud& cloud, const JobState& job, bool onlyUsed,
                                         bool largest);

enum class LimitBox { Lower, Upper };  // TextUntereGrenze, TextObereGrenze

// The captions under the boxes, by which a refusal names them.
const char* limitBoxCaption(LimitBox box);

class LimitBoxes {
  public:
    // The design-time texts "min" and "max" until load() or a finished edit.
    explicit LimitBoxes(double lengthFactor = 1);

    void setLengthFactor(double lengthFactor) { lengthFactor_ = lengthFactor; }
    int decimals() const { return limitDecimals(lengthFactor_); }
    const std::string& text(LimitBox box) const { return box == LimitBox::Lower ? lower_ : upper_; }

    // The window's limits into the boxes (lower first, then upper, so the upper limit wins):
    // -|LF·Max| and |LF·Max|.
    void load(double minMm, double maxMm);

    // A user's edit: the box shows the typed text, which is returned.
    const std::string& edit(LimitBox box, std::string_view typed);
    // Editing of `box` finished: format, replace 0, mirror. `changed` when either text changed;
    // `refusal` when the text was no plain number (the boxes are back at their accepted texts).
    struct Finished {
        bool changed = false;
        std::optional<std::string> refusal{};
    };
    Finished finish(LimitBox box);
    // A press of a step button: one last digit up (+1) or down (-1) in `box`, then as finish().
    // A box that holds no number ("min", "", "-") ignores the press and false is returned.
    bool step(LimitBox box, int direction);

    // "Set max as Tol" / "Set min as Tol": the extreme value (mm) to two decimals of a millimetre,
    // in the display unit, into its box, and mirrored.
    void setFromData(LimitBox box, double extremeMm);

    // The limit in millimetres a box asks for: nullopt when it still reads exactly "min" / "max"
    // (the window keeps its value). Throws FormatError for a text that is no number and
    // NumericError for a LengthFactor of 0.
    std::optional<double> limitMm(LimitBox box) const;

  private:
    std::string& textOf(LimitBox box) { return box == LimitBox::Lower ? lower_ : upper_; }
    std::string format(double display) const;
    // The pair for magnitude `display` (any sign); false when it did not change.
    bool setPair(double display);

    double lengthFactor_;
    std::string lower_ = "min";
    std::string upper_ = "max";
    std::string acceptedLower_ = "min";
    std::string acceptedUpper_ = "max";
};

}  // namespace kal
