#include "app/session/Preferences.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>

#include "app/session/Session.h"

namespace orven {
namespace {

// A genuine file holds a line of flags and one path; anything far larger is
// not a preferences file, and is not read into memory.
constexpr std::uintmax_t LargestPreferencesFile = 64 * 1024;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

// Integers are read as whitespace-separated numbers, across line ends; a
// token that is not a whole 32-bit integer makes the file unreadable.
std::optional<std::int32_t> NextInteger(std::string_view text, std::size_t& position) {
  while (position < text.size() && IsBlank(text[position])) ++position;
  const std::size_t start = position;
  while (position < text.size() && !IsBlank(text[position])) ++position;
  std::string_view token = text.substr(start, position - start);
  if (!token.empty() && token.front() == '+') token.remove_prefix(1);
  if (token.empty() || token.front() == '+') return std::nullopt;
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
  if (error != std::errc{} || end != token.data() + token.size()) return std::nullopt;
  return value;
}

}  // namespace

PreferencesReading ReadPreferencesFile(const std::string& path) {
  PreferencesReading reading;
  std::error_code error;
  reading.Exists = std::filesystem::exists(path, error);
  if (!reading.Exists) return reading;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error || size > LargestPreferencesFile) return reading;
  std::ifstream file(path, std::ios::binary);
  if (!file) return reading;
  const std::string text(std::istreambuf_iterator<char>(file), {});
  if (file.bad()) return reading;

  std::size_t position = 0;
  std::array<std::int32_t, 5> flags{};
  for (std::int32_t& flag : flags) {
    const std::optional<std::int32_t> value = NextInteger(text, position);
    if (!value) return reading;
    flag = *value;
  }
  Preferences& values = reading.Values;
  values.English = flags[0] == 1;
  values.AutoUpdate = flags[1] == 1;
  values.VerticalShift = flags[2] == 1;
  values.ShowA0param = flags[3] == 1;
  values.TabDelimiter = flags[4] == 1;

  // The rest of the flag line is skipped; whatever follows is the recent file.
  const std::size_t lineEnd = text.find('\n', position);
  if (lineEnd != std::string::npos && lineEnd + 1 < text.size()) {
    const std::size_t start = lineEnd + 1;
    std::string line = text.substr(start, text.find('\n', start) - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    values.RecentFileName = line;
  }
  reading.Read = true;
  return reading;
}

std::string PreferencesText(const Preferences& p) {
  std::string text;
  for (bool on : {p.English, p.AutoUpdate, p.VerticalShift, p.ShowA0param, p.TabDelimiter})
    text += on ? " 1" : " 0";
  text += '\n';
  // A name with a line break in it could not be read back as one line.
  const bool oneLine = p.RecentFileName.find_first_of("\r\n") == std::string::npos;
  if (!p.RecentFileName.empty() && oneLine) text += p.RecentFileName + '\n';
  return text;
}

bool WritePreferencesFile(const std::string& path, const Preferences& preferences) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) return false;
  file << PreferencesText(preferences);
  file.close();
  return !file.fail();
}

// --- the session's side ----------------------------------------------------------

void Session::ApplyPreferences(const PreferencesReading& reading) {
  if (!reading.Exists) return;
  // The file is only ever written after an accepted run.
  WelcomeAccepted = true;
  if (!reading.Read) return;
  const Preferences& values = reading.Values;
  SetLanguage(values.English ? Language::English : Language::Danish);
  AutoUpdate = values.AutoUpdate;
  VerticalShift = values.VerticalShift;
  SiteView.ShowA0param = values.ShowA0param;
  TabDelimiter = values.TabDelimiter;
  if (!values.RecentFileName.empty()) RecentFileName = values.RecentFileName;
  PreferencesRead = true;
}

Preferences Session::PreferencesToSave() const {
  Preferences p;
  p.English = language_ == Language::English;
  p.AutoUpdate = AutoUpdate;
  p.VerticalShift = VerticalShift;
  p.ShowA0param = SiteView.ShowA0param;
  p.TabDelimiter = TabDelimiter;
  p.RecentFileName = CurrentFileName.empty() ? RecentFileName : CurrentFileName;
  return p;
}

}  // namespace orven
