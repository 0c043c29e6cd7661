// orven-table: the command-line companion of the ORVEN desktop program.

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/ModelCommand.h"
#include "model/GrowthModel.h"
#include "model/ParameterStore.h"
#include "tables/NumberText.h"

namespace fs = std::filesystem;
using namespace orven;

namespace {

constexpr int ExitUsage = 2;
constexpr int ExitFault = 3;

const char* const Usage =
    "usage: orven-table [--parameters PATH] [--growth-correction X] model NAME ARG...\n"
    "       orven-table [--parameters PATH] [--growth-correction X] model --batch\n"
    "       orven-table model --list\n";

int Fail(const std::string& problem) {
  std::cerr << "orven-table: " << problem << '\n';
  return ExitUsage;
}

// The explicit path, else OrvenPar.drc in the working directory, else the file
// installed beside the program (build tree) or in its share directory.
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

// The not-found message on one line: its blanks trimmed, its lines joined.
std::string OneLine(const std::string& message) {
  std::string line, word;
  for (char c : message) {
    if (c == ' ' || c == '\r' || c == '\n') {
      if (!word.empty()) line += (line.empty() ? "" : " ") + word;
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) line += (line.empty() ? "" : " ") + word;
  return line;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string parameterPath;
  double growthCorrection = 1;
  std::size_t i = 0;
  for (; i < args.size() && args[i].rfind("--", 0) == 0; ++i) {
    if (args[i] == "--help") {
      std::cout << Usage;
      return 0;
    }
    if (i + 1 >= args.size()) return Fail(args[i] + " needs a value");
    if (args[i] == "--parameters") {
      parameterPath = args[++i];
    } else if (args[i] == "--growth-correction") {
      if (!ParseFloat(args[++i], '.', growthCorrection))
        return Fail("--growth-correction is not a number: '" + args[i] + "'");
    } else {
      return Fail("unknown option " + args[i]);
    }
  }
  if (i >= args.size() || args[i] != "model") {
    std::cerr << Usage;
    return ExitUsage;
  }
  std::vector<std::string> words(args.begin() + static_cast<long>(i) + 1, args.end());
  if (words.size() == 1 && words[0] == "--list") {
    cli::ListModelRoutines(std::cout);
    return 0;
  }

  ParameterStore store;
  ParameterFileResult read = ReadParameterFile(store, LocateParameterFile(parameterPath),
                                               Language::English);
  if (!read.found) {
    std::cerr << OneLine(read.message) << '\n';
    return ExitUsage;
  }
  ComputeMaxSiteIndex(store);
  GrowthModel model(store, growthCorrection);

  if (words.size() == 1 && words[0] == "--batch") {
    cli::RunModelBatch(model, std::cin, std::cout);
    return 0;
  }
  cli::CallOutcome outcome = cli::EvaluateModelCall(model, words);
  switch (outcome.status) {
    case cli::CallStatus::Ok: std::cout << outcome.text << '\n'; return 0;
    case cli::CallStatus::Fault: std::cout << outcome.text << '\n'; return ExitFault;
    case cli::CallStatus::Error: return Fail(outcome.text);
  }
  return ExitUsage;
}
