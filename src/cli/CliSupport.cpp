#include "cli/CliSupport.h"

#include <filesystem>
#include <iostream>
#include <vector>

#include "model/GrowthModel.h"

namespace fs = std::filesystem;

namespace orven::cli {

std::string LocateParameterFile(const std::string& explicitPath) {
  if (!explicitPath.empty()) return explicitPath;
  std::vector<fs::path> candidates = {fs::path(ParameterFileName)};
  std::error_code error;
  fs::path program = fs::read_symlink("/proc/self/exe", error);
  if (!error) {
    candidates.push_back(program.parent_path() / ParameterFileName);
    candidates.push_back(program.parent_path().parent_path() / "share" / "orven" / ParameterFileName);
  }
  for (const fs::path& candidate : candidates)
    if (fs::is_regular_file(candidate, error)) return candidate.string();
  return candidates.front().string();
}

std::optional<ParameterStore> LoadParameterStore(const std::string& explicitPath, Language language) {
  ParameterStore store;
  ParameterFileResult read = ReadParametersAtStartUp(store, LocateParameterFile(explicitPath), language);
  if (!read.found) {
    std::cerr << MessageLine(read.message) << '\n';
    return std::nullopt;
  }
  return store;
}

std::string MessageLine(const std::string& message) {
  std::string joined;
  std::size_t start = 0;
  while (start <= message.size()) {
    std::size_t end = message.find('\n', start);
    if (end == std::string::npos) end = message.size();
    std::string line = message.substr(start, end - start);
    std::size_t first = line.find_first_not_of(" \r");
    std::size_t last = line.find_last_not_of(" \r");
    if (first != std::string::npos) {
      if (!joined.empty()) joined += ' ';
      joined += line.substr(first, last - first + 1);
    }
    start = end + 1;
  }
  return joined;
}

}  // namespace orven::cli
