#include "shared/WaitMs.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace kal {

void waitMs(double ms, platform::EventPump* pump) {
    if (!(ms > 0)) return;
    using Clock = std::chrono::steady_clock;
    const auto wait = std::chrono::duration<double, std::milli>(std::min(ms, 1e9));
    const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(wait);
    for (auto now = Clock::now(); now < end; now = Clock::now()) {
        if (pump) pump->processEvents();
        const auto left = end - Clock::now();
        if (left > Clock::duration::zero())
            std::this_thread::sleep_for(std::min<Clock::duration>(left, std::chrono::milliseconds(1)));
    }
}

}  // namespace kal
