#pragma once

#include <string>

namespace orven {

// The small file that carries the user's interface choices from one run to
// the next, in the working directory.
inline constexpr const char* PreferencesFileName = "$OrvStat.tmp";

struct Preferences {
  bool English = false, AutoUpdate = true, VerticalShift = true, ShowA0param = false, TabDelimiter = true;
  std::string RecentFileName;  // empty: no second line
};

struct PreferencesReading {
  bool Exists = false;  // the file is there, even when it could not be read
  bool Read = false;    // it was read; otherwise Values hold the defaults
  Preferences Values;
};

// Line 1: five whitespace-separated integers (language, automatic updating,
// vertical shifts, growth parameter shown, tab delimiter), each "on" only
// when it equals 1; line 2, when there is more text, the recent file. A file
// that cannot be opened or whose five integers do not parse is not read.
PreferencesReading ReadPreferencesFile(const std::string& path);

// " 0 1 1 0 1" and a line end, then the recent file and a line end when it
// is not empty.
std::string PreferencesText(const Preferences& preferences);

// False when the file cannot be created or written.
bool WritePreferencesFile(const std::string& path, const Preferences& preferences);

}  // namespace orven
