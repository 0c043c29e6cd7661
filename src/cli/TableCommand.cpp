#include "cli/TableCommand.h"

#include <cstdio>
#include <fstream>
#include <iostream>

#include "app/session/Session.h"
#include "cli/CliSupport.h"
#include "cli/SeriesCommand.h"
#include "tables/TableCells.h"

namespace orven::cli {

const char* const TableUsage =
    "       orven-table [--parameters PATH] [--english] [--semicolon] [--decimal-comma]\n"
    "                   [--full-precision] [-o OUT] FILE.orven\n"
    "       orven-table [--parameters PATH] [--no-vertical-shift] [--large]\n"
    "                   [-o OUT] --series X Y FILE.orven\n";

namespace {

struct TableOptions {
  std::string parameters;
  std::string file;
  std::string output;
  bool english = false;
  bool semicolon = false;
  bool decimalComma = false;
  bool fullPrecision = false;
  std::optional<int> seriesX, seriesY;  // --series: a chart's points instead of the table
  bool verticalShift = true;
  bool large = false;
};

int Refuse(const std::string& problem) {
  std::cerr << "orven-table: " << problem << '\n';
  return ExitUsage;
}

// Every number of the grids with 17 significant digits and the decimal point;
// cells that show a text keep it.
void WriteFullPrecision(Session& session) {
  ResultView& results = session.Results;
  for (ResultGrid grid : {ResultGrid::BeforeThin, ResultGrid::Thinning, ResultGrid::Remaining}) {
    auto columns = session.ColumnsOf(grid);
    auto& rows = results.Grids[static_cast<int>(grid)].Rows;
    for (std::size_t r = 0; r < rows.size(); ++r) {
      const int year = results.RowYears[r];
      for (std::size_t c = 0; c < columns.size(); ++c) {
        const int variable = columns[c];
        const double value = session.Tables.StandTable[variable][year];
        if (variable >= VariableCount || !WithinDisplayRange(variable, value)) continue;
        char buffer[40];
        std::snprintf(buffer, sizeof buffer, "%.17g", value);
        rows[r][c] = buffer;
      }
    }
  }
}

}  // namespace

int RunTableCommand(const std::vector<std::string>& arguments) {
  TableOptions options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& word = arguments[i];
    if (word == "--english") {
      options.english = true;
    } else if (word == "--semicolon") {
      options.semicolon = true;
    } else if (word == "--decimal-comma") {
      options.decimalComma = true;
    } else if (word == "--full-precision") {
      options.fullPrecision = true;
    } else if (word == "--series") {
      if (i + 2 >= arguments.size()) return Refuse("--series needs two variables");
      options.seriesX = ParseVariableName(arguments[++i]);
      options.seriesY = ParseVariableName(arguments[++i]);
      if (!options.seriesX || !options.seriesY)
        return Refuse("--series: no such variable: '" + arguments[i - (options.seriesX ? 0 : 1)] + "'");
    } else if (word == "--no-vertical-shift") {
      options.verticalShift = false;
    } else if (word == "--large") {
      options.large = true;
    } else if (word == "--parameters" || word == "-o") {
      if (i + 1 >= arguments.size()) return Refuse(word + " needs a value");
      (word == "-o" ? options.output : options.parameters) = arguments[++i];
    } else if (word.size() > 1 && word[0] == '-') {
      return Refuse("unknown option " + word);
    } else if (options.file.empty()) {
      options.file = word;
    } else {
      return Refuse("only one settings file, please: '" + word + "'");
    }
  }
  if (options.file.empty()) return Refuse("no settings file named");

  const Language language = options.english ? Language::English : Language::Danish;
  std::optional<ParameterStore> store = LoadParameterStore(options.parameters, language);
  if (!store) return ExitUsage;

  Session session(*store, language, options.decimalComma ? ',' : '.');
  const OpenOutcome outcome = session.Open(options.file);
  for (const Message& message : session.TakeMessages()) std::cerr << MessageLine(message.Text) << '\n';
  if (outcome == OpenOutcome::Missing) return ExitUsage;
  if (outcome == OpenOutcome::Damaged) return ExitDamaged;

  if (options.fullPrecision) WriteFullPrecision(session);
  std::string text;
  if (options.seriesX) {
    // The graph chart of the large window (sorted by x) or of the graphs page.
    const int chart = options.large ? LargeChart : 0;
    session.GraphXVariable[static_cast<std::size_t>(chart)] = *options.seriesX;
    session.GraphYVariable[static_cast<std::size_t>(chart)] = *options.seriesY;
    session.VerticalShift = options.verticalShift;
    text = SeriesText(ChartSeriesOf(session, chart));
  } else {
    text = session.ExportText(options.semicolon ? ';' : '\t');
  }
  if (options.output.empty()) {
    std::cout << text;
    std::cout.flush();
    return std::cout ? ExitOk : ExitUsage;
  }
  std::ofstream out(options.output, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) return Refuse("cannot write " + options.output);
  return ExitOk;
}

}  // namespace orven::cli
