#include "view3d/UndoRing.h"

#include <algorithm>

namespace kal {

void UndoRing::store(const ScreenProperties& window, WindowSizeTwips outer, ScreenProperties& defaultRecord) {
    if (UndoIndex_ == kUndoRingSlots) UndoIndex_ = 0;
    ++UndoIndex_;
    // The views ahead of the current one leave the history. Taken also when the ring is full:
    // keeping the count at 50 there would let the oldest back steps replay views just undone.
    UndoBackCount_ = std::min(kUndoRingSlots, UndoBackCount_ + 1 + UndoForwardCount_);
    UndoForwardCount_ = 0;
    ScreenProperties& slot = slots_[static_cast<std::size_t>(UndoIndex_)];
    storeViewInRecord(window, outer, slot);
    defaultRecord = slot;
}

bool UndoRing::stepBack() {
    if (stepsBack() < 1) return false;
    if (--UndoIndex_ < 1) UndoIndex_ = kUndoRingSlots;
    --UndoForwardCount_;
    return true;
}

bool UndoRing::stepForward() {
    if (stepsForward() < 1) return false;
    if (++UndoIndex_ > kUndoRingSlots) UndoIndex_ = 1;
    ++UndoForwardCount_;
    return true;
}

UndoControls UndoRing::controls() const {
    UndoControls c;
    c.lastEnabled = stepsBack() >= 1;
    c.nextEnabled = stepsForward() >= 1;
    // An empty ring (no view stored yet) reads 0, not -1.
    c.lastTooltip = "Last View " + std::to_string(std::max(0, UndoForwardCount_ + UndoBackCount_ - 1));
    c.nextTooltip = "Next View " + std::to_string(UndoForwardCount_);
    return c;
}

}  // namespace kal
