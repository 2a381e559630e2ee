#pragma once
// The rules of the flag editor ("Edit Flag..."): which rows and columns a flag shows, its grid
// and colour, snapping, the automatic layout's options, and the interlocks that keep at least
// one row (or the point name alone) on. The window shows the state and sends each user action
// to one command here.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

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

    // Finished editing of a text box: the number filters of the two layout boxes and the
    // 10..1000 limits of the grid length. Return the text the box shows afterwards.
    std::string editFaktor(const std::string& text);
    std::string editFlagOnEvery(const std::string& text);
    std::string editGridLength(const std::string& text);
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
};

// The number filter of the two layout boxes, as typed text is cleaned: digits, one decimal
// point ("," becomes "."), a minus only in front; anything else dropped. Exposed for tests.
std::string filterFaktorText(const std::string& text);
std::string filterFlagOnEveryText(const std::string& text);

}  // namespace kal
