// Number formats of every text file the program writes (input file, report,
// parameter file, temporary files). All of them use "." as the decimal point,
// whatever the locale.
//
//   F(w.d)  fixed point, d decimals, right-aligned in w characters
//   I(w)    integer right-aligned in w characters; I: no leading blanks
//   E(w)    scientific with w - 8 significant digits (2 .. 18): sign position
//           (blank or "-"), one digit, point, digits, "E", exponent sign and
//           four exponent digits.  E(10) of 0.5 is " 5.0E-0001".
//   "%10.3e" the report's pattern for tiny slopes: " 1.23E-003".
//
// Rounding is to nearest on the exact binary value; a value exactly halfway
// between two results goes away from zero (0.125 in F(5.2) is " 0.13").
#pragma once

#include <string>
#include <string_view>

namespace quilmor::textio {

// F(w.d). A value that rounds to zero is written without a minus sign.
std::string FormatF(double value, int width, int decimals);

// I(w); width 0 gives the plain integer (format I).
std::string FormatI(long long value, int width = 0);

// E(w): width - 8 significant digits, at least 2 and at most 18; right-aligned
// in `width` characters when the number is shorter.
std::string FormatE(double value, int width);

// E(23), the full form with 15 significant digits.
inline std::string FormatE23(double value) { return FormatE(value, 23); }

// The report's "%10.3e" pattern: three significant digits, "E", exponent sign
// and at least three exponent digits, right-aligned in ten characters.
std::string FormatE3(double value);

// Shortest general form with at most 15 significant digits, no trailing zeros
// ("0", "2.5", "1E-5" style as the windows show numbers).
std::string FormatGeneral(double value);

// Appends one right-aligned field to a table row. A number that has outgrown
// its field (no blank left on its left) is set off from the text before it
// by one blank, so that numbers never run into each other: "0" followed by
// F(15.0) of 2.2E+23 reads "0 215395866587996203515904", not as one number.
void AppendField(std::string& row, std::string_view field);

}  // namespace quilmor::textio
