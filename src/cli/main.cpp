// orven-table: the command-line companion of the ORVEN desktop program. It
// runs the same core, so its numbers and tables are the program's.

#include <iostream>
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/ModelCommand.h"
#include "cli/TableCommand.h"
#include "messages/NumberText.h"

using namespace orven;
using namespace orven::cli;

namespace {

void PrintUsage(std::ostream& out) {
  out << "usage: orven-table [--parameters PATH] [--growth-correction X] model NAME ARG...\n"
         "       orven-table [--parameters PATH] [--growth-correction X] model --batch\n"
         "       orven-table model --list\n"
      << TableUsage
      << "\n"
         "model NAME ARG...  evaluates one routine of the growth model (see model --list).\n"
         "FILE.orven         opens a settings file as the desktop program does and writes\n"
         "                   the table as its \"Export to text file\" does: a tab between\n"
         "                   cells (--semicolon: a semicolon), the decimal point\n"
         "                   (--decimal-comma: the comma), Danish texts (--english).\n"
         "--full-precision   every number with 17 significant digits and the decimal point.\n"
         "-o OUT             write the table to OUT instead of standard output.\n"
         "--series X Y       the points of the chart of Y against X (symbols such as T\n"
         "                   and N3, or catalogue numbers) as the graphs page draws\n"
         "                   them, after its axis and style lines; --large orders them\n"
         "                   as the large graph does; --no-vertical-shift leaves out\n"
         "                   the drops in thinning years.\n"
         "--parameters PATH  the parameter file (default: OrvenPar.drc here, else the\n"
         "                   one installed with the program).\n"
         "\n"
         "Messages the desktop program would show go to standard error, one per line.\n"
         "Exit status: 0 done; 1 a settings file stopped at a damaged line; 2 a bad call or\n"
         "a missing or unreadable file; 3 a floating-point fault in a model routine.\n";
}

int Fail(const std::string& problem) {
  std::cerr << "orven-table: " << problem << '\n';
  return ExitUsage;
}

int RunModel(const std::vector<std::string>& args) {
  std::string parameterPath;
  double growthCorrection = 1;
  std::size_t i = 0;
  for (; i < args.size() && args[i] != "model"; ++i) {
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
  std::vector<std::string> words(args.begin() + static_cast<long>(i) + 1, args.end());
  if (words.size() == 1 && words[0] == "--list") {
    ListModelRoutines(std::cout);
    return ExitOk;
  }
  std::optional<ParameterStore> store = LoadParameterStore(parameterPath, Language::English);
  if (!store) return ExitUsage;
  GrowthModel model(*store, growthCorrection);
  if (words.size() == 1 && words[0] == "--batch") {
    RunModelBatch(model, std::cin, std::cout);
    return ExitOk;
  }
  CallOutcome outcome = EvaluateModelCall(model, words);
  switch (outcome.status) {
    case CallStatus::Ok: std::cout << outcome.text << '\n'; return ExitOk;
    case CallStatus::Fault: std::cout << outcome.text << '\n'; return ExitFault;
    case CallStatus::Error: return Fail(outcome.text);
  }
  return ExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      PrintUsage(std::cout);
      return ExitOk;
    }
    if (arg == "model") return RunModel(args);
  }
  if (args.empty()) {
    PrintUsage(std::cerr);
    return ExitUsage;
  }
  return RunTableCommand(args);
}
