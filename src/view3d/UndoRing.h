#pragma once
// The undo ring of one graphics window (UndoRing, UndoIndex, UndoBackCount, UndoForwardCount):
// the last 50 views the window stored, so that the user can step back up to 49 views and
// forward again, and the enabled states and tooltips of the main window's Last and Next
// controls that follow from its counters.
//
// Slots 1..50 take views, slot 0 is never written. A store goes to the slot after the current
// one (after 50 comes 1) and cuts off the views ahead of the current one; a step back or forward
// moves the current slot without storing. Steps that have no stored view to land on are refused
// and change nothing, so a window never shows an empty slot, whoever enabled the control.
//
// Memory: a slot holds one view record, whose size is that of its flags, flag layouts, lines and
// angles (FlagOfPoint is sparse); 50 stored views of a cloud of 10^6 points cost no more than 50
// views of 10 points. A store copies the record once into the slot and once into the default
// view record, both proportional to the record.
#include <array>
#include <cstdint>
#include <string>

#include "shared/ViewRecords.h"
#include "view3d/ViewRecordCopy.h"

namespace kal {

inline constexpr std::int32_t kUndoRingSlots = 50;  // stored views; 49 steps back

// What the main window's "&last View" / "&next View" entries and the toolbar's LastView and
// NextView buttons show for a ring.
struct UndoControls {
    bool lastEnabled = false;
    bool nextEnabled = false;
    std::string lastTooltip;  // "Last View " and the steps back possible
    std::string nextTooltip;  // "Next View " and UndoForwardCount (0 or negative)
    bool operator==(const UndoControls&) const = default;
};

class UndoRing {
  public:
    UndoRing() = default;

    // (StoreScreenPropertiesToRecord) Stores the window's view in the next slot and makes it the
    // current view, dropping the views ahead of the previous current one; then replaces
    // `defaultRecord` (DefaultScreenProperties) by a copy of it. `outer` is the window's outer
    // size in twips.
    void store(const ScreenProperties& window, WindowSizeTwips outer, ScreenProperties& defaultRecord);

    // (Rückgängig_Back) One view back: false, and nothing changed, when there is none.
    bool stepBack();
    // (Rückgängig_Force) One view forward: false, and nothing changed, when there is none.
    bool stepForward();

    // True once a view has been stored.
    bool hasView() const { return UndoIndex_ >= 1; }
    // The current view (slot UndoIndex); an empty record before the first store.
    const ScreenProperties& current() const { return slots_[static_cast<std::size_t>(UndoIndex_)]; }
    const ScreenProperties& slot(std::int32_t index) const {
        return slots_.at(static_cast<std::size_t>(index));
    }

    std::int32_t UndoIndex() const { return UndoIndex_; }
    std::int32_t UndoBackCount() const { return UndoBackCount_; }
    std::int32_t UndoForwardCount() const { return UndoForwardCount_; }
    std::int32_t stepsBack() const { return UndoBackCount_ + UndoForwardCount_ - 1; }
    std::int32_t stepsForward() const { return -UndoForwardCount_; }

    // The Last and Next controls for this ring: after a store, a step, and when the window
    // becomes the default one (one formula everywhere).
    UndoControls controls() const;

  private:
    std::array<ScreenProperties, kUndoRingSlots + 1> slots_{};
    std::int32_t UndoIndex_ = 0;
    std::int32_t UndoBackCount_ = 0;
    std::int32_t UndoForwardCount_ = 0;
};

}  // namespace kal
