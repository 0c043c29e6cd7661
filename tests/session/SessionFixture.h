#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "app/session/Session.h"
#include "model/GrowthModel.h"
#include "projection/RegimeControls.h"
#include "support/ParameterFileFixture.h"

namespace orven::test {

// The shipped parameter file, read once as the program reads it at start-up.
// Tests depend on its behaviour, never on its numbers.
inline const ParameterStore& ShippedStore() {
  static const ParameterStore store = [] {
    ParameterStore s;
    if (!ReadParametersAtStartUp(s, ORVEN_PARAMETER_FILE, Language::English).found)
      ADD_FAILURE() << "no parameter file at " ORVEN_PARAMETER_FILE;
    return s;
  }();
  return store;
}

// What a user chooses on the way from the species page to the tables.
struct Walk {
  int species = Beech;
  SiteMethod method = ClassicalSiteClass;
  bool dominantHeight = true;
  int volume = 0;
  bool firstLastThinning = false;  // rgPreset item 1, else the moderate standard regime
  bool relativeSpacing = false;    // with firstLastThinning
  std::string endAge = "100";
  bool constraints = false;
};

// Texts typed with a decimal point, as the session's locale shows them.
inline std::string Local(const Session& session, std::string text) {
  std::replace(text.begin(), text.end(), '.', session.DecimalSeparator());
  return text;
}

// The walk as the handler calls the view makes, one user action a step, so
// that two sessions can be driven in turns.
inline std::vector<std::function<void(Session&)>> WalkSteps(const Walk& walk) {
  std::vector<std::function<void(Session&)>> steps;
  auto step = [&](std::function<void(Session&)> f) { steps.push_back(std::move(f)); };
  step([=](Session& s) {
    for (int item = 0; item < static_cast<int>(s.SpeciesItems().size()); ++item)
      if (SpeciesAtRadioIndex(s.Store(), item) == walk.species) s.rgSpeciesClick(item);
  });
  step([=](Session& s) { s.rgSiteQualityClick(walk.method); });
  step([=](Session& s) { s.rgHeightClick(walk.dominantHeight ? 0 : 1); });
  step([=](Session& s) {
    SiteInputs& inputs = s.SiteView.Inputs;
    switch (walk.method) {
      case RepeatedInventories:
        inputs.sgInventory[0] = {"25", Local(s, "11.2"), Local(s, "28.5"), "0"};
        inputs.sgInventory[1] = {"31", Local(s, "14.1"), Local(s, "30.2"), Local(s, "6.5")};
        inputs.sgInventory[2] = {"38", "17", "32", "7"};
        s.SiteGridEdited();
        return;
      case SoilTexture:
        inputs.sgSoil = {"8", "12", "60", "20"};
        s.SiteGridEdited();
        return;
      case StandHeightAtAge: s.SiteEditExit(SiteEdit::StandHeight, "15"); break;
      case ClassicalSiteClass: s.SiteEditExit(SiteEdit::SiteClass, Local(s, "1.5")); break;
      case ClassicalYieldClass: s.SiteEditExit(SiteEdit::YieldClass, "12"); break;
    }
    s.SiteEditExit(SiteEdit::StandAge, "30");
    s.edtGcorrectionEnter();
  });
  step([=](Session& s) { s.rgVolumeClick(walk.volume); });
  step([=](Session& s) { s.LeaveSitePage(); });
  step([=](Session& s) { s.rgPresetClick(walk.firstLastThinning ? 1 : 0); });
  step([=](Session& s) {
    if (!walk.firstLastThinning) {
      s.rgTargetGClick(1);
      return;
    }
    if (walk.relativeSpacing) s.rgMeasureClick(1);
    RegimePage& page = s.Regime;
    const std::string texts[] = {walk.relativeSpacing ? Local(s, "17.5") : "30", "22", Local(s, "0.85"),
                                 Local(s, "1.00")};
    std::string* edits[] = {&page.edtThinIstart, &page.edtThinIend, &page.edtThinMstart, &page.edtThinMend};
    bool (*readers[])(RegimePage&, MessageList&) = {ReadThinIstart, ReadThinIend, ReadThinMstart,
                                                    ReadThinMend};
    for (int k = 0; k < 4; ++k) {
      ThinEditEnter(page);
      s.RegimeInputEntered();
      *edits[k] = texts[k];
      readers[k](page, s.MessageSink());
    }
    page.edtThinStart = "25";
    page.edtThinEnd = "60";
    edtThinStartExit(page, s.MessageSink());
    edtThinEndExit(page, s.MessageSink());
  });
  step([=](Session& s) {
    s.AgeRangeEntered();
    s.edtEndAgeExit(walk.endAge);
  });
  step([=](Session& s) {
    s.ConstraintEdited();
    if (walk.constraints) {
      s.Regime.sgConstraints[1][2] = "10";
      s.Regime.sgConstraints[2][3] = "30";
      s.Regime.sgConstraints[1][4] = Local(s, "12.5");
    }
    s.ReadConstraints();
  });
  step([=](Session& s) { s.InitStateEntered(); });
  step([=](Session& s) { s.ShowTablesPage(); });
  return steps;
}

inline void WalkThrough(Session& session, const Walk& walk) {
  for (auto& step : WalkSteps(walk)) step(session);
}

// The grid cell of a variable in the row of an age; {-1, -1} when not shown.
inline std::pair<int, int> CellOf(const Session& s, ResultGrid grid, int variable, int age) {
  std::pair<int, int> cell{-1, -1};
  const auto columns = s.ColumnsOf(grid);
  for (std::size_t c = 0; c < columns.size(); ++c)
    if (columns[c] == variable) cell.first = static_cast<int>(c);
  for (int r = 1; r <= s.Tables.TableRowCount; ++r)
    if (s.Tables.RowAges[r - 1] == age) cell.second = r;
  return cell;
}

// Types a text into a result grid cell and moves on, as a user does.
inline void TypeCell(Session& s, ResultGrid grid, int variable, int age, const std::string& text) {
  auto [column, row] = CellOf(s, grid, variable, age);
  ASSERT_GE(column, 0) << "variable " << variable << " is not a column";
  ASSERT_GE(row, 1) << "age " << age << " is not a row";
  GridSelectCell(s.Typing);
  s.GridSetEditText(grid, column, row, text);
  s.CommitEdit(grid);
}

// The first age after the table's first year at which the stand is thinned.
inline int SecondThinningAge(const Session& s) {
  for (int r = 2; r < s.Tables.TableRowCount; ++r)
    if (s.Tables.IsThinningAge(s.Tables.RowAges[r - 1])) return s.Tables.RowAges[r - 1];
  return -1;
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// The lines of a settings file without their CRLF.
inline std::vector<std::string> FileLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(bytes.substr(start, end - start));
  if (start < bytes.size()) lines.push_back(bytes.substr(start));
  return lines;
}

inline std::string JoinLines(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return bytes;
}

inline std::string DamagedMessage(Language language, int line, const std::string& path) {
  return language == Language::English
             ? "   Invalid numeric input in line " + std::to_string(line) + " of the settings file:   \r\n   " +
                   path + "   "
             : "   Ugyldigt tal i linje " + std::to_string(line) + " i indstillingsfilen:   \r\n   " + path + "   ";
}

}  // namespace orven::test
