// make-examples [--parameters PATH] FOLDER
//
// Writes the example settings files of ORVEN into FOLDER. Each example is
// made the way a user makes one: a session is driven through the handlers of
// the species and site page, the thinning page and the tables, and then
// saved. examples/*.orven is this program's output and a test keeps the two
// identical, so a change of the settings file or of a handler shows up as a
// changed example.
//
// Together the examples cover every species, every site method, both
// languages and both decimal separators, typed values (a first-year diameter
// and a thinned basal area), and a first/last-thinning regime by relative
// spacing with constraints. A handler that shows any message is an error:
// an example must open without one.

#include <array>
#include <filesystem>
#include <iostream>
#include <string>
#include <tuple>
#include <vector>

#include "app/session/Session.h"
#include "model/GrowthModel.h"
#include "projection/RegimeControls.h"

using namespace orven;

namespace {

#ifndef ORVEN_PARAMETER_FILE
#define ORVEN_PARAMETER_FILE "OrvenPar.drc"
#endif

// A user at the keyboard: every step goes through the session's handlers, in
// the order the pages offer them. Messages are collected, never expected.
class User {
public:
  User(Session& session, std::string name) : s_(session), name_(std::move(name)) {}

  // --- species and site page ---
  User& Species(int code) {
    const int items = static_cast<int>(s_.SpeciesItems().size());
    for (int item = 0; item < items; ++item)
      if (SpeciesAtRadioIndex(s_.Store(), item) == code) s_.rgSpeciesClick(item);
    return Check("species");
  }
  User& Method(SiteMethod method) {
    s_.rgSiteQualityClick(method);
    return Check("site method");
  }
  User& Height(bool dominant) {
    s_.rgHeightClick(dominant ? 0 : 1);
    return Check("height");
  }
  // Types into a site edit and leaves it.
  User& Edit(SiteEdit edit, const std::string& text) {
    if (!s_.SiteEditExit(edit, text)) Fail("site edit refused " + text);
    return Check("site edit");
  }
  // Enters the basal-area correction factor (which estimates the site from the
  // edits) and leaves it with a value.
  User& Correction(const std::string& text) {
    s_.edtGcorrectionEnter();
    return Edit(SiteEdit::Gcorrection, text);
  }
  User& Inventory(const std::vector<std::array<std::string, 4>>& rows) {
    for (std::size_t r = 0; r < rows.size(); ++r) {
      s_.SiteView.Inputs.sgInventory[r] = rows[r];
      s_.SiteGridEdited();
    }
    return Check("inventory");
  }
  User& Soil(const std::array<std::string, 4>& cells) {
    s_.SiteView.Inputs.sgSoil = cells;
    s_.SiteGridEdited();
    return Check("soil");
  }
  User& Volume(int item) {
    s_.rgVolumeClick(item);
    if (!s_.Steps.StepEnabled[6]) Fail("the site data give no growth parameter");
    s_.LeaveSitePage();
    return Check("volume");
  }

  // --- thinning page ---
  User& StandardRegime(int item) {
    s_.rgPresetClick(0);
    s_.rgTargetGClick(item);
    return Check("standard regime");
  }
  // First and last thinning: intensities as basal area or relative spacing,
  // thinning modes, and the ages of the first and last thinning of the ramp.
  User& FirstLastRegime(bool spacing, const std::array<std::string, 4>& texts, const std::string& firstAge,
                        const std::string& lastAge) {
    s_.rgPresetClick(1);
    if (spacing) s_.rgMeasureClick(1);
    RegimePage& page = s_.Regime;
    std::string* edits[] = {&page.edtThinIstart, &page.edtThinIend, &page.edtThinMstart, &page.edtThinMend};
    bool (*readers[])(RegimePage&, MessageList&) = {ReadThinIstart, ReadThinIend, ReadThinMstart, ReadThinMend};
    for (int k = 0; k < 4; ++k) {
      ThinEditEnter(page);
      s_.RegimeInputEntered();
      *edits[k] = texts[k];
      if (!readers[k](page, s_.MessageSink())) Fail("regime edit refused " + texts[k]);
    }
    page.edtThinStart = firstAge;
    page.edtThinEnd = lastAge;
    if (!edtThinStartExit(page, s_.MessageSink()) || !edtThinEndExit(page, s_.MessageSink()))
      Fail("thinning ages refused");
    return Check("first/last regime");
  }
  User& Ages(const std::string& start, const std::string& end) {
    s_.AgeRangeEntered();
    if (!s_.edtEndAgeExit(end) || !s_.edtStartAgeExit(start)) Fail("age range refused");
    return Check("age range");
  }
  // Cells of sgConstraints: {column, row, text}.
  User& Constraints(const std::vector<std::tuple<int, int, std::string>>& cells) {
    s_.ConstraintEdited();
    for (const auto& [column, row, text] : cells) {
      s_.Regime.sgConstraints[column][row] = text;
      s_.ReadConstraints();
    }
    return Check("constraints");
  }
  User& NoConstraints() {
    s_.ConstraintEdited();
    s_.ReadConstraints();
    return Check("constraints");
  }
  User& InitialState(int row = -1, const std::string& text = {}) {
    s_.InitStateEntered();
    if (row >= 0) {
      s_.InitStateCells[row] = text;
      s_.ReadInitialState();
    }
    return Check("initial state");
  }

  // --- tables page ---
  User& Tables() {
    s_.ShowTablesPage();
    return Check("tables");
  }
  // Types a value into the cell of a variable in the row of an age.
  User& Type(ResultGrid grid, int variable, int age, const std::string& text) {
    const auto columns = s_.ColumnsOf(grid);
    int column = -1;
    for (std::size_t c = 0; c < columns.size(); ++c)
      if (columns[c] == variable) column = static_cast<int>(c);
    int row = -1;
    for (int r = 1; r <= s_.Tables.TableRowCount; ++r)
      if (s_.Tables.RowAges[r - 1] == age) row = r;
    if (column < 0 || row < 0) Fail("no cell for variable " + std::to_string(variable) + " at " + std::to_string(age));
    GridSelectCell(s_.Typing);
    s_.GridSetEditText(grid, column, row, text);
    s_.CommitEdit(grid);
    if (!s_.Tables.Typed(variable, age - s_.Tables.TableStartAge)) Fail("typed value refused " + text);
    return Check("typed value");
  }
  User& Describe(std::vector<std::string> lines) {
    s_.Description = std::move(lines);
    s_.DescriptionEdited = true;
    return *this;
  }

  bool Failed() const { return failed_; }

private:
  User& Check(const std::string& step) {
    for (const Message& message : s_.TakeMessages()) Fail(step + ": " + message.Text);
    return *this;
  }
  void Fail(const std::string& problem) {
    std::cerr << "make-examples: " << name_ << ": " << problem << '\n';
    failed_ = true;
  }

  Session& s_;
  std::string name_;
  bool failed_ = false;
};

struct Example {
  const char* name;
  Language language;
  char decimalSeparator;
  void (*make)(User&);
};

const Example Examples[] = {
    {"beech-site-class.orven", Language::Danish, ',',
     [](User& u) {
       u.Species(Beech).Method(ClassicalSiteClass).Height(true)
           .Edit(SiteEdit::SiteClass, "1,5").Edit(SiteEdit::StandAge, "30").Correction("1").Volume(0)
           .StandardRegime(1).Ages("25", "120").NoConstraints().InitialState().Tables()
           .Describe({"Bøg, bonitet 1,5, moderat hugst efter standardprogrammet.", "Eksempel fra ORVEN."});
     }},
    {"oak-yield-class.orven", Language::English, '.',
     [](User& u) {
       u.Species(Oak).Method(ClassicalYieldClass).Height(false)
           .Edit(SiteEdit::YieldClass, "6.5").Edit(SiteEdit::StandAge, "40").Correction("1").Volume(3)
           .StandardRegime(1).Ages("30", "150").NoConstraints().InitialState().Tables()
           .Describe({"Oak of yield class 6.5, moderate thinning; volume to 10 cm top diameter."});
     }},
    {"ash-stand-height.orven", Language::Danish, ',',
     [](User& u) {
       u.Species(Ash).Method(StandHeightAtAge).Height(false)
           .Edit(SiteEdit::StandHeight, "20,5").Edit(SiteEdit::StandAge, "35").Correction("1").Volume(0)
           .StandardRegime(2).Ages("20", "90").NoConstraints().InitialState().Tables()
           .Describe({"Ask, middelhøjde 20,5 m ved 35 år, stærk hugst."});
     }},
    {"norway-spruce-inventory.orven", Language::English, '.',
     [](User& u) {
       u.Species(NorwaySpruce).Method(RepeatedInventories).Height(true)
           // About a classical stand of site class 2: its heights, basal areas and thinnings.
           .Inventory({{"25", "11.2", "26.0", "0"}, {"31", "14.1", "27.0", "7.0"}, {"38", "17.0", "28.0", "7.5"}})
           .Volume(2)
           .StandardRegime(1).Ages("25", "90").NoConstraints().InitialState().Tables()
           .Describe({"Norway spruce measured three times, at 25, 31 and 38 years.",
                      "Volume to 7 cm top diameter."});
     }},
    {"norway-spruce-soil-texture.orven", Language::Danish, ',',
     [](User& u) {
       u.Species(NorwaySpruce).Method(SoilTexture).Height(true).Soil({"8", "12", "60", "20"}).Volume(0)
           .StandardRegime(0).Ages("20", "80").NoConstraints().InitialState().Tables()
           .Describe({"Rødgran på sandet jord (20 % groft sand), svag hugst."});
     }},
    {"sitka-spruce-relative-spacing.orven", Language::English, '.',
     [](User& u) {
       u.Species(SitkaSpruce).Method(StandHeightAtAge).Height(true)
           .Edit(SiteEdit::StandHeight, "15").Edit(SiteEdit::StandAge, "25").Correction("1").Volume(0)
           .FirstLastRegime(true, {"17.5", "22", "0.85", "1.00"}, "25", "60").Ages("24", "80")
           .Constraints({{2, 3, "25"}, {1, 4, "20"}})
           .InitialState().Tables()
           .Describe({"Sitka spruce thinned to a relative spacing rising from 17.5 % to 22 %.",
                      "Thinnings remove at most 25 % of the basal area and leave at least 20 m2/ha."});
     }},
    {"douglas-fir-site-class.orven", Language::Danish, ',',
     [](User& u) {
       u.Species(DouglasFir).Method(ClassicalSiteClass).Height(false)
           .Edit(SiteEdit::SiteClass, "2,5").Edit(SiteEdit::StandAge, "25").Correction("1,1").Volume(1)
           .FirstLastRegime(false, {"30", "40", "0,90", "1,00"}, "20", "70").Ages("20", "80")
           .NoConstraints().InitialState().Tables()
           .Describe({"Douglasgran, bonitet 2,5, grundfladevækst øget 10 %.",
                      "Tyndes fra 30 til 40 m2/ha grundflade; vedmasse til 5 cm top."});
     }},
    {"silver-fir-typed-values.orven", Language::English, '.',
     [](User& u) {
       u.Species(SilverFir).Method(ClassicalSiteClass).Height(false)
           .Edit(SiteEdit::SiteClass, "2").Edit(SiteEdit::StandAge, "30").Correction("1").Volume(0)
           .StandardRegime(1).Ages("25", "100").NoConstraints().InitialState(1, "9.5").Tables()
           .Type(ResultGrid::Thinning, G2, 42, "4.2")
           .Describe({"Silver fir with a measured mean diameter of 9.5 cm at 25 years",
                      "and a thinning of 4.2 m2/ha at 42 years."});
     }},
};

}  // namespace

int main(int argc, char** argv) {
  std::string parameters = ORVEN_PARAMETER_FILE;
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 3 && args[0] == "--parameters") {
    parameters = args[1];
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.size() != 1) {
    std::cerr << "usage: make-examples [--parameters PATH] FOLDER\n";
    return 2;
  }
  ParameterStore store;
  ParameterFileResult read = ReadParameterFile(store, parameters, Language::English);
  if (!read.found) {
    std::cerr << "make-examples: " << read.message << '\n';
    return 2;
  }
  // As the program does at start-up: the species list, the highest site indices.
  AssignRadioIndices(store);
  ComputeMaxSiteIndex(store);

  const std::filesystem::path folder = args[0];
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  bool ok = true;
  for (const Example& example : Examples) {
    Session session(store, example.language, example.decimalSeparator);
    User user(session, example.name);
    example.make(user);
    if (!session.Save((folder / example.name).string())) {
      std::cerr << "make-examples: cannot write " << (folder / example.name).string() << '\n';
      ok = false;
    }
    ok = ok && !user.Failed();
  }
  return ok ? 0 : 1;
}
