#include "shell/CalculationWindowSwitch.h"

namespace kal {

bool switchCalculationWindow(std::int32_t identicalCount, platform::Prompter& prompter,
                             const CalculationWindowHooks& hooks) {
    const bool open = hooks.isOpen && hooks.isOpen();
    if (identicalCount < 2) {
        prompter.message(kLessThanTwoPointsMessage);
        return open;
    }
    if (identicalCount == 2) prompter.message(kLessThanThreePointsMessage);
    if (open) {
        if (hooks.close) hooks.close();
    } else if (hooks.open) {
        hooks.open();
    }
    return hooks.isOpen && hooks.isOpen();
}

}  // namespace kal
