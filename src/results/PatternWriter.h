#pragma once
// A number pattern read once and applied to many values, for texts of many numbers (the report's
// 25 fields a point). Gives exactly the text formatNumber gives (15 significant digits first, then
// halves away from zero, never "-0"); the plain patterns "0" and "0.000…" take a fast path without
// allocation, every other pattern goes through formatNumber.
#include <string>
#include <string_view>

namespace kal {

class PatternWriter {
  public:
    explicit PatternWriter(std::string_view pattern);

    // Appends the text of `value` with `decimalSeparator`; appends nothing and returns false
    // for a value that is not finite or a pattern formatNumber refuses.
    bool append(std::string& out, double value, char decimalSeparator) const;

  private:
    // The direct road for plain patterns and values far from a rounding half; false: not taken.
    bool appendSmall(std::string& out, double value, char decimalSeparator) const;

    std::string pattern_;
    bool fast_ = false;
    int decimals_ = 0;
};

}  // namespace kal
