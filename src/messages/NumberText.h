#pragma once

#include <string>
#include <string_view>

namespace orven {

// Numbers on screen, in the export and on the clipboard use the system's
// decimal separator, which the desktop program passes in; the settings file
// always uses the point.

// Fixed notation with the given number of decimals.
std::string FormatFixed(double value, int decimals, char decimalSeparator);

// The general format: the shortest text that reads back as the same double,
// without exponent where it is not needed (0.001, 1.5, 25, 1E-7).
std::string FormatGeneral(double value, char decimalSeparator);

// Reads a real number written with the given decimal separator, optional sign
// and exponent, and surrounding blanks; false when the text is not a number.
bool ParseFloat(std::string_view text, char decimalSeparator, double& value);

// Reads a 32-bit integer (optional sign, surrounding blanks).
bool ParseInteger(std::string_view text, int& value);

}  // namespace orven
