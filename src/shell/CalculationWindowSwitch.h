#pragma once
// The main window's "&Calculation" command (menu entry and toolbar button 3): opens the calculation
// window, or closes it when it is open, after checking that the job has enough identical points.
#include <cstdint>
#include <functional>

#include "platform/Prompter.h"

namespace kal {

inline constexpr const char* kLessThanTwoPointsMessage =
    "There are less then two identically Points for a calculation!\r\n"
    "That makes no sence.\r\n"
    "Please load more identically Points to do Transformation Calculations.";
inline constexpr const char* kLessThanThreePointsMessage =
    "There are less than three identically Points for a calculation.\r\n"
    "By rational settings of the Transformation Parameters logical Calculations can be made.\r\n"
    "Be sure what you are doing!";

struct CalculationWindowHooks {
    std::function<bool()> isOpen;
    std::function<void()> open;
    std::function<void()> close;
};

// (MenuTransformationCalculation_Click) With fewer than two identical points only the message
// shows and nothing switches; with two a warning shows first; then the window is closed when it
// is open and opened otherwise. Returns whether the window is open afterwards: the check mark of
// the menu entry and the pressed state of the toolbar button.
bool switchCalculationWindow(std::int32_t identicalCount, platform::Prompter& prompter,
                             const CalculationWindowHooks& hooks);

}  // namespace kal
