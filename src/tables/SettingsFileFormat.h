#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orven {

// The field formats of the settings file. Numbers always use the decimal
// point, whatever the regional settings.

std::string FieldI(long long value, int width);       // I3, I4, I9; I with width 0
std::string FieldR(double value, int decimals);       // R9.6, R9.4: fixed, 9 wide
std::string FieldE15(double value);                   // " 2.500000E+0001"
std::string FieldT9(std::string_view text);           // right-aligned in 9
inline constexpr std::string_view Separator = "      ";  // before each line's label

// The lines of a settings file, decoded from Windows-1252 into UTF-8; line
// ends CRLF or LF.
std::vector<std::string> SplitSettingsLines(std::string_view fileBytes);

// Joins lines with CRLF after each and encodes them in Windows-1252.
std::string JoinSettingsLines(const std::vector<std::string>& lines);

// Reads the numbers of one line from left to right, as a text file's number
// reading does: blanks and tabs before a number are skipped; a number ends at
// a blank, a tab or the end of the line. Every read fails (nullopt) when the
// line holds no further number or the next token is not one.
class LineFields {
public:
  explicit LineFields(std::string_view line) : line_(line) {}
  explicit LineFields(const char* line) : line_(line) {}
  LineFields(std::string&&) = delete;  // it keeps a view of the line

  std::optional<long long> Integer();
  std::optional<double> Real();
  // The lenient reader of the thinning-intensity and site lines: blanks, tabs
  // and semicolons separate tokens, and a comma after the first character is
  // a decimal point.
  std::optional<double> Lenient();
  // True when only blanks and tabs are left.
  bool AtEnd() const;
  // The text from here to the end of the line.
  std::string_view Rest() const { return line_.substr(position_); }

private:
  std::string_view NextToken(std::string_view separators);
  std::string_view line_;
  std::size_t position_ = 0;
};

// The first `count` fields of a grid line: each runs to the next `#` or to
// the end of the line, whichever comes first; fields beyond the end are empty.
std::vector<std::string> HashFields(std::string_view line, int count);

}  // namespace orven
