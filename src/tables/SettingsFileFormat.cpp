#include "tables/SettingsFileFormat.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "messages/NumberText.h"
#include "model/Windows1252.h"

namespace orven {
namespace {

std::string RightAligned(std::string text, int width) {
  if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), ' ');
  return text;
}

std::optional<double> FiniteNumber(std::string_view token) {
  double value = 0;
  if (!ParseFloat(token, '.', value)) return std::nullopt;
  return value;
}

}  // namespace

std::string FieldI(long long value, int width) { return RightAligned(std::to_string(value), width); }

std::string FieldR(double value, int decimals) {
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  return RightAligned(buffer, 9);
}

std::string FieldE15(double value) {
  // printf gives "2.500000E+01"; the field wants a sign place and four exponent digits.
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.6E", std::fabs(value));
  std::string text = buffer;
  std::size_t e = text.find('E');
  int exponent = std::atoi(text.c_str() + e + 1);
  char tail[16];
  std::snprintf(tail, sizeof tail, "E%c%04d", exponent < 0 ? '-' : '+', std::abs(exponent));
  return (value < 0 ? "-" : " ") + text.substr(0, e) + tail;
}

std::string FieldT9(std::string_view text) { return RightAligned(std::string(text), 9); }

std::vector<std::string> SplitSettingsLines(std::string_view fileBytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < fileBytes.size()) {
    std::size_t end = fileBytes.find('\n', start);
    std::size_t next = end == std::string_view::npos ? fileBytes.size() : end + 1;
    std::string_view line = fileBytes.substr(start, (end == std::string_view::npos ? fileBytes.size() : end) - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(Windows1252ToUtf8(line));
    start = next;
  }
  return lines;
}

std::string JoinSettingsLines(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += Utf8ToWindows1252(line) + "\r\n";
  return bytes;
}

std::string_view LineFields::NextToken(std::string_view separators) {
  while (position_ < line_.size() && separators.find(line_[position_]) != std::string_view::npos)
    ++position_;
  std::size_t start = position_;
  while (position_ < line_.size() && separators.find(line_[position_]) == std::string_view::npos)
    ++position_;
  return line_.substr(start, position_ - start);
}

std::optional<long long> LineFields::Integer() {
  std::string_view token = NextToken(" \t");
  if (token.empty() || token.size() > 18) return std::nullopt;
  std::size_t i = token[0] == '-' || token[0] == '+' ? 1 : 0;
  if (i == token.size()) return std::nullopt;
  for (std::size_t k = i; k < token.size(); ++k)
    if (token[k] < '0' || token[k] > '9') return std::nullopt;
  return std::strtoll(std::string(token).c_str(), nullptr, 10);
}

std::optional<double> LineFields::Real() { return FiniteNumber(NextToken(" \t")); }

std::optional<double> LineFields::Lenient() {
  std::string token(NextToken(" \t;"));
  for (std::size_t k = 1; k < token.size(); ++k)
    if (token[k] == ',') token[k] = '.';
  return FiniteNumber(token);
}

bool LineFields::AtEnd() const {
  for (std::size_t k = position_; k < line_.size(); ++k)
    if (line_[k] != ' ' && line_[k] != '\t') return false;
  return true;
}

std::vector<std::string> HashFields(std::string_view line, int count) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (int k = 0; k < count; ++k) {
    if (start >= line.size()) {
      fields.emplace_back();
      continue;
    }
    std::size_t hash = line.find('#', start);
    std::size_t end = hash == std::string_view::npos ? line.size() : hash;
    fields.emplace_back(line.substr(start, end - start));
    start = hash == std::string_view::npos ? line.size() : hash + 1;
  }
  return fields;
}

}  // namespace orven
