#pragma once
// The rules of the flag editor ("Edit Flag..."): which rows and columns a flag shows, its grid
// and colour, snapping, the automatic layout's options, and the interlocks that keep at least
// one row (or the point name alone) on. The window shows the state and sends each user action
// to one command here.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "annotation/BoxNumbers.h"
#include "annotation/FlagLayout.h"
#include "shared/ViewRecords.h"

namespace kal {

inline constexpr const char* kFlagEditorCaption = "Edit Flag...";
inline constexpr const char* kLastRowMessage = "It makes no sense to turn this of";

// The editor's check boxes, by control name.
enum class FlagCheck : std::uint8_t {
    CheckActual,
    CheckNominal,
    CheckDev,
    CheckUse,
    CheckX,
    CheckY,
    CheckZ,
    CheckR,
    CheckPhi,
    CheckRho,
    CheckTheta,
    Check3D,
    CheckLegendexyz,
    CheckLegendeName,
    CheckShowOnlyPointNumber,
    CheckGrid,
    CheckSetTolCol,
    CheckChangeAll,
    CheckPutAll,
    CheckPutToEvery,
    CheckSnaptoGrid,
    CheckFlagWithinScreen,
    Count
};
inline constexpr std::size_t kFlagCheckCount = static_cast<std::size_t>(FlagCheck::Count);

// Caption of each check box, in the order of FlagCheck.
const char* flagCheckCaption(FlagCheck check);

struct FlagEditorState {
    std::array<bool, kFlagCheckCount> checked{};
    FlagPlacement placement = FlagPlacement::CloseToPoint;
    std::string TextFaktor = "1.1";
    std::string TextFlagOnEvery = "1";
    std::string TextGridLength;
    int VScroll1 = 10;  // 10..1000
    // Enabled states that follow from the boxes.
    bool gridLengthEnabled = false;  // TextGridLength and VScroll1
    bool placementEnabled = false;   // the four options, CheckPutToEvery, TextFlagOnEvery
    bool faktorEnabled = false;      // TextFaktor

    bool is(FlagCheck c) const { return checked[static_cast<std::size_t>(c)]; }
    bool operator==(const FlagEditorState&) const = default;
};

class FlagEditorModel {
  public:
    FlagEditorModel();

    const FlagEditorState& state() const { return state_; }

    // The double click on a flag: its layout into the boxes (the point-name box last, so that
    // it clears the content boxes it controls), and the window's grid length.
    void load(const FahneRecord& layout, std::int16_t gridLength);

    // A click on a box (or a change by code). Returns the message to show when the click would
    // turn the last row off; the box is then checked again.
    std::optional<std::string> setChecked(FlagCheck check, bool value);
    void selectPlacement(FlagPlacement placement);

    // The picture the flags lie on, in pixels: a snap grid at least as long as its larger side
    // would put every flag on one spot. 0 when unknown (no such limit).
    void setPictureSize(int width, int height);
    // The longest grid length the box takes: 1000, or less on a small picture.
    int largestGridLength() const;

    // Finished editing of a text box. A plain number of the box's form is taken (the radial
    // factor to two decimals and above 0, "put to every " a whole number from 1 to 32767, the
    // grid length a whole number limited to 10..1000 and below the picture's larger side); anything else is
    // refused with a message naming the box, and the box keeps its last accepted text.
    BoxCommit editFaktor(const std::string& text);
    BoxCommit editFlagOnEvery(const std::string& text);
    BoxCommit editGridLength(const std::string& text);
    void scrollGridLength(int value);

    // OK: the boxes back into `layout` (the font is the caller's: the chosen one or the
    // flag's), the grid length, and the layout run's settings when flags are to be put on all
    // visible points.
    struct Applied {
        std::int16_t gridLength = 10;
        bool putAll = false;
        int flagOnEvery = 1;  // 1..32767, whatever the box holds
        FlagPlacement placement = FlagPlacement::CloseToPoint;
        double radialFactor = 1.1;
    };
    Applied apply(FahneRecord& layout) const;

  private:
    void refreshEnabled();
    FlagEditorState state_;
    double radialFactor_ = 1.1;  // the value of the last accepted TextFaktor
    int pictureWidth_ = 0, pictureHeight_ = 0;
};

}  // namespace kal
