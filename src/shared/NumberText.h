#pragma once
// Numbers to texts and texts to numbers, the one place where the program does either.
//
// Writing a number:
//   formatNumber(x, "0.000")   pattern text: display boxes, tables, reports, the status bar.
//                              Regional decimal separator. formatNumber(x, pattern, '.') for
//                              files made for other programs (RobCad, ROCAL, batch output,
//                              robot-controller files), which always take ".".
//   generalText(x)             the general form: at most 15 significant digits (7 for a float),
//                              no trailing zeros, exponent form below 1E-04 and from 1E+15
//                              ("1E-09"). Regional separator. INI values, the program's own
//                              angle and parameter texts. generalText(x, '.') for other programs.
//   signedText(x)              the signed form: a blank before zero and positive numbers, "."
//                              always, no 0 before the point (" .5", "-1E-09", " 3").
// No text ever shows "-0": a value that rounds to zero is written without its sign.
//
// Reading a number:
//   strictNumber(t)            the whole text with the regional separator, else FormatError.
//                              Texts typed by the user and boxes the program filled in this run.
//   ownNumber(t)               the whole text with "." or "," as the decimal point, else
//                              FormatError. Texts the program wrote and reads back later, when
//                              the regional separator may have changed: INI values of the
//                              integer, double and single kinds, the seconds of a
//                              degrees-minutes-seconds text, seed values.
//   leadingNumber(t)           the lenient form: blanks skipped, the leading number with "." as
//                              the decimal point, 0 when there is none ("12abc" -> 12). Texts
//                              that are not the program's own (leading numbers of point names).
//   leadingOwnNumber(t)        the lenient form taking "." or "," as the decimal point. The
//                              program's own texts read leniently: parameter states (fixed
//                              values, dmsToDecimalText's results), INI digit counts and
//                              thresholds, window positions and column widths.
// Group separators are never accepted: under "," the text "0.01" is 0.01 to ownNumber and an
// error to strictNumber, never 1. A result that is not finite is an error (NumericError for
// leadingNumber, FormatError for the whole-text readers).
#include <cstdint>
#include <string>
#include <string_view>

namespace kal {

// Pattern text. Patterns: integer placeholders "0" (digit always shown) and "#" (digit shown
// when not a leading zero), optionally "." with "0" (fixed) or "#" (dropped when trailing zero)
// decimals, optionally an exponent "E+00" (sign always) or "E-00" (sign only when negative)
// with its minimum number of digits: "0", "0.000", "0.000000000000", "0.0000E+00".
// Halves round away from zero, on the value taken to 15 significant digits (2.675 -> "2.68").
// An empty pattern gives the general text. Throws FormatError for another pattern and
// NumericError for a value that is not finite.
std::string formatNumber(double value, std::string_view pattern);
std::string formatNumber(double value, std::string_view pattern, char decimalSeparator);

// General text of a double (15 significant digits) and of a single (7).
std::string generalText(double value);
std::string generalText(double value, char decimalSeparator);
std::string generalTextSingle(float value);
std::string generalTextSingle(float value, char decimalSeparator);

// Signed text, always with ".".
std::string signedText(double value);

double strictNumber(std::string_view text);
// The same with a given decimal separator (files whose separator is fixed or known).
double strictNumber(std::string_view text, char decimalSeparator);
double ownNumber(std::string_view text);
double leadingNumber(std::string_view text);
double leadingOwnNumber(std::string_view text);

// Round to the nearest integer, halves to even (2.5 -> 2, 3.5 -> 4), as the integer
// conversions of the settings do. Throws NumericError when the result does not fit.
std::int16_t roundToInt16(double value);
std::int32_t roundToInt32(double value);

// The pattern of `digits` decimals: 0 -> "0", 1 -> "0.0", 3 -> "0.000".
std::string decimalsPattern(int digits);

}  // namespace kal
