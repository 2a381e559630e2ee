#pragma once
// Typed errors of the core. Window event handlers catch them at their edge, show the message
// and leave the job as it was.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace kal {

// Arithmetic the program refuses to carry on with: a division by zero, an overflow, an invalid
// operation, a singular system. Nothing non-finite is ever stored.
class NumericError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A file that cannot be read or written; `line` is 1-based, 0 when the error concerns no line.
class FileError : public std::runtime_error {
  public:
    FileError(std::string path, std::int32_t line, const std::string& what)
        : std::runtime_error(describe(path, line, what)), path_(std::move(path)), line_(line) {}
    const std::string& path() const { return path_; }
    std::int32_t line() const { return line_; }

  private:
    static std::string describe(const std::string& path, std::int32_t line, const std::string& what) {
        std::string s = path.empty() ? std::string() : path;
        if (line > 0) s += (s.empty() ? "" : ", ") + std::string("line ") + std::to_string(line);
        return s.empty() ? what : s + ": " + what;
    }
    std::string path_;
    std::int32_t line_;
};

// Content that does not have the expected layout (a malformed number, a damaged record).
class FormatError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Throws NumericError when x is not finite; returns x otherwise. Used before a result is stored.
inline double checkedFinite(double x, const char* what) {
    if (!(x - x == 0.0)) throw NumericError(std::string("Invalid floating-point result in ") + what);
    return x;
}

// Throws NumericError when den is 0 or the quotient is not finite; returns num / den otherwise.
// IEEE division does not trap, so a division the program must refuse is tested here.
inline double checkedDivide(double num, double den, const char* what) {
    if (den == 0.0) throw NumericError(std::string("Division by zero in ") + what);
    return checkedFinite(num / den, what);
}

}  // namespace kal
