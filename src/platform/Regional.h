#pragma once
// The regional number settings: the decimal separator of the system locale, taken at start-up.
// Process-wide, as the system setting it stands for; tests set "." or "," explicitly.
namespace kal::platform {

class Regional {
  public:
    static char decimalSeparator() { return separator_; }
    static void setDecimalSeparator(char c) { separator_ = (c == ',') ? ',' : '.'; }

  private:
    static inline char separator_ = '.';
};

// Sets a separator for the lifetime of a scope (tests), restoring the previous one after.
class ScopedDecimalSeparator {
  public:
    explicit ScopedDecimalSeparator(char c) : previous_(Regional::decimalSeparator()) {
        Regional::setDecimalSeparator(c);
    }
    ~ScopedDecimalSeparator() { Regional::setDecimalSeparator(previous_); }
    ScopedDecimalSeparator(const ScopedDecimalSeparator&) = delete;
    ScopedDecimalSeparator& operator=(const ScopedDecimalSeparator&) = delete;

  private:
    char previous_;
};

}  // namespace kal::platform
