#include "messages/NumberText.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace orven {
namespace {

std::string_view Trimmed(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string WithSeparator(std::string text, char decimalSeparator) {
  for (char& c : text)
    if (c == '.') c = decimalSeparator;
  return text;
}

}  // namespace

std::string FormatFixed(double value, int decimals, char decimalSeparator) {
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  return WithSeparator(buffer, decimalSeparator);
}

std::string FormatGeneral(double value, char decimalSeparator) {
  // Shortest digits that read back exactly; plain notation for moderate
  // magnitudes, an exponent ("1E-7", "1E+24") beyond them.
  char digits[64];
  auto [end, error] = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::scientific);
  std::string scientific(digits, end);
  std::size_t e = scientific.find('e');
  int exponent = std::atoi(scientific.c_str() + e + 1);
  if (exponent < -5 || exponent >= 15) {
    std::string mantissa = scientific.substr(0, e);
    char sign = exponent < 0 ? '-' : '+';
    std::string text = mantissa + "E" + sign + std::to_string(std::abs(exponent));
    return WithSeparator(text, decimalSeparator);
  }
  auto [plainEnd, plainError] = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed);
  return WithSeparator(std::string(digits, plainEnd), decimalSeparator);
}

bool ParseFloat(std::string_view text, char decimalSeparator, double& value) {
  text = Trimmed(text);
  if (text.empty()) return false;
  std::string copy(text);
  // Only the regional separator counts as a decimal separator.
  if (decimalSeparator != '.' && copy.find('.') != std::string::npos) return false;
  for (char& c : copy)
    if (c == decimalSeparator) c = '.';
  for (char c : copy)
    if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '+' || c == '-' || c == 'e' || c == 'E'))
      return false;  // no hexadecimal, infinity or NaN
  // Overflow gives infinity and is refused; underflow gives a tiny or zero value.
  char* end = nullptr;
  double parsed = std::strtod(copy.c_str(), &end);
  if (end != copy.c_str() + copy.size() || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

bool ParseInteger(std::string_view text, int& value) {
  text = Trimmed(text);
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return false;
  }
  if (text.empty()) return false;
  long long parsed = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (error != std::errc() || end != text.data() + text.size() || parsed < INT_MIN || parsed > INT_MAX)
    return false;
  value = static_cast<int>(parsed);
  return true;
}

}  // namespace orven
