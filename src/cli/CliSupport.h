#pragma once

#include <optional>
#include <string>

#include "model/ParameterStore.h"

namespace orven::cli {

inline constexpr int ExitOk = 0;
inline constexpr int ExitDamaged = 1;  // reading stopped at a damaged line
inline constexpr int ExitUsage = 2;    // a bad call, or a file that is missing or unreadable
inline constexpr int ExitFault = 3;    // a floating-point fault a routine does not catch

// The explicit path, else OrvenPar.drc in the working directory, else the file
// installed beside the program (build tree) or in its share directory.
std::string LocateParameterFile(const std::string& explicitPath);

// Reads the parameter file and computes each species' highest site index;
// on failure prints the not-found message and gives nothing.
std::optional<ParameterStore> LoadParameterStore(const std::string& explicitPath, Language language);

// A message box's text on one line: each of its lines with the blanks around
// it trimmed, the lines joined by one blank.
std::string MessageLine(const std::string& message);

}  // namespace orven::cli
