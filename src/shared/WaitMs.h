#pragma once
// Waiting while the windows stay alive.
#include "platform/EventPump.h"

namespace kal {

// Returns after `ms` milliseconds on the monotonic clock (no midnight or clock-change case),
// letting pending events through meanwhile; a handler may run during the wait (WaitMs). Sleeps a
// millisecond between rounds rather than spinning. A null pump just sleeps; ms <= 0 returns
// at once.
void waitMs(double ms, platform::EventPump* pump);

}  // namespace kal
