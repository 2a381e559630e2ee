#pragma once
// The direction switch: the MCS and OCS exchange their roles, so that the same model
// OCS = T + R·K·S·MCS gives the transformation from the OCS into the MCS.
#include <functional>
#include <string>

#include "shared/JobState.h"

namespace kal {

// What the direction label and the switch button show.
struct DirectionLabel {
    std::string caption;     // "MCS -> OCS", "OCS -> MCS"; the window's set-up shows "=>"
    bool red = false;        // red text (255, 0, 0) instead of black
    std::string tooltip;     // the display names joined by " => ", source first
    bool buttonRed = false;  // the button's back colour red instead of the button face

    bool operator==(const DirectionLabel&) const = default;
};

// The label as the window's set-up shows it, from RichtungMCStoOCS.
DirectionLabel directionLabelAtSetUp(const JobState& job);

// The switch button without its calculation (the caller calculates next): toggles the
// exchange and the direction, exchanges the sets and returns the new label. The direction is
// toggled on each press rather than derived from the exchange, so a job saved while exchanged
// (the job file keeps the direction but not the exchange) shows the right direction after it
// is reopened and switched back. `refreshStatistics` reopens the input statistics window when
// it is shown.
DirectionLabel pressDirectionSwitch(JobState& job, const std::function<void()>& refreshStatistics = {});

}  // namespace kal
