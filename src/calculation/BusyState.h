#pragma once
// Whether a calculation is running. The calculation lets events through (STOP must be seen), so a
// click, an automatic recalculation or a question answered mid-run could otherwise start a second
// calculation inside the first or change the job under it. One instance per calculation window;
// every entry that calculates or changes the rows asks it first.
namespace kal {

class BusyState {
  public:
    bool busy() const { return busy_; }

  private:
    friend class BusyGuard;
    bool busy_ = false;
};

// Marks the state busy for its lifetime when it was idle; `acquired()` is false when another
// calculation already holds it, and then the guard changes nothing.
class BusyGuard {
  public:
    explicit BusyGuard(BusyState& state) : state_(state), acquired_(!state.busy_) {
        if (acquired_) state_.busy_ = true;
    }
    ~BusyGuard() {
        if (acquired_) state_.busy_ = false;
    }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

    bool acquired() const { return acquired_; }

  private:
    BusyState& state_;
    bool acquired_;
};

}  // namespace kal
