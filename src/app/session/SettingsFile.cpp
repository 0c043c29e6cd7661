// The settings file of a growth-and-yield table: 37 labelled lines of
// settings and one line per typed value, from which the table is recomputed.

#include <algorithm>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/session/Session.h"
#include "messages/NumberText.h"
#include "projection/ThinningSchedule.h"
#include "tables/SettingsFileFormat.h"

namespace orven {
namespace {

constexpr int SettingsLines = 37;
constexpr std::uintmax_t LargestSettingsFile = 16 * 1024 * 1024;

// Labels of lines 3 to 37, English and Danish.
constexpr BilingualText Labels[SettingsLines - 2] = {
    {"{Tree species number}", "{Nummer på træarten}"},  // 3
    {"{Site quality estimation}", "{Bonitetsfastlæggelse}"},  // 4
    {"{Applied stand height definition}", "{Bevoksningshøjde-definition}"},  // 5
    {"{Basal area correction factor}", "{Grundfladevækst-korrektionsfaktor}"},  // 6
    {"{Volume definition}", "{Vedmasse-definition}"},  // 7
    {"{Thinning preset approach}", "{Fremgangsmåde ved tyndingsforvalg}"},  // 8
    {"{Thinning regime (preset)}", "{Tyndingsstyrke (forvalg)}"},  // 9
    {"{Measure expressing thinning intensity}", "{Anvendt mål for tyndingsstyrke}"},  // 10
    {"{Years to be shown in tables}", "{År som skal inkluderes i tabeller}"},  // 11
    {"{Way to define thinning interval}", "{Måde hvorpå tyndingsintervaller defineres}"},  // 12
    {"{Use of user-specified a0 site parameter}", "{Anvendelse af bruger-specificeret a0 bonitetsparameter}"},  // 13
    {"{Variables shown for the stand before thinning}", "{Variabler som vises for bevoksningen før tynding}"},  // 14
    {"{Variables shown for the thinning}", "{Variabler som vises for tyndingen}"},  // 15
    {"{Variables shown for the remaining stand}", "{Variabler som vises for den blivende bestand}"},  // 16
    {"{Variables shown on the X axes of the graphs}", "{Variabler som vises på grafers X-akser}"},  // 17
    {"{Variables shown on the Y axes of the graphs}", "{Variabler som vises på grafers Y-akser}"},  // 18
    {"{Site class}", "{Bonitetsklasse}"},  // 19
    {"{Yield class}", "{Produktionsklasse}"},  // 20
    {"{Stand height}", "{Bevoksningshøjde}"},  // 21
    {"{Stand age}", "{Bevoksningsalder}"},  // 22
    {"{Age at which thinning starts}", "{Alder ved hvilken tyndingen starter}"},  // 23
    {"{Age at which thinning ends}", "{Alder ved hvilken tyndingen ophører}"},  // 24
    {"{Age at which the table starts}", "{Alder ved hvilken oversigten starter}"},  // 25
    {"{Age at which the table ends}", "{Alder ved hvilken oversigten slutter}"},  // 26
    {"{Constant thinning interval (every Nth year)}", "{Konstant tyndingsinterval (hvert Nte år)}"},  // 27
    {"{Incremental thinning interval (every age/Nth year)}", "{Stigende tyndingsinterval (hvert alder/Nte år)}"},  // 28
    {"{Thinning intensity, start}", "{Tyndingsintensitet, start}"},  // 29
    {"{Thinning intensity, end}", "{Tyndingsintensitet, slut}"},  // 30
    {"{Thinning mode, start}", "{Tyndingsmåde, start}"},  // 31
    {"{Thinning mode, end}", "{Tyndingsmåde, slut}"},  // 32
    {"{Font size in tables/graphs}", "{Font-størrelse i tabeller/grafer}"},  // 33
    {"{Years of thinning}", "{Tyndingsår}"},  // 34
    {"{Inventory data}", "{Taxationsdata}"},  // 35
    {"{Soil texture data}", "{Tekstur-data for jordbunden}"},  // 36
    {"{Thinning constraints}", "{Begrænsninger mht. tyndingen}"},  // 37
};

constexpr BilingualText Header = {
    "Settings defining a growth and yield table prepared in ORVEN v. 1.0",
    "Indstillinger som specificerer en produktionsoversigt i ORVEN v. 1.0"};
constexpr const char* DescriptionLineEnd = "¬";


}  // namespace

// --- writing -----------------------------------------------------------------------

std::string Session::SettingsFileText() const {
  std::vector<std::string> lines;
  auto labelled = [&](int line, const std::string& values) {
    lines.push_back(values + std::string(Separator) + Choose(Labels[line - 3], language_));
  };
  lines.push_back(Choose(Header, language_));
  std::string description;
  for (const std::string& line : Description) description += line + DescriptionLineEnd;
  lines.push_back(description);

  labelled(3, FieldI(SiteView.rgSpecies, 3));
  labelled(4, FieldI(SiteView.Inputs.rgSiteQuality, 3));
  labelled(5, FieldI(SiteView.Inputs.rgHeight, 3));
  labelled(6, FieldR(Site.GrowthCorrection, 6));
  labelled(7, FieldI(SiteView.rgVolume, 3));
  labelled(8, FieldI(Regime.rgPreset, 3));
  labelled(9, FieldI(Regime.rgTargetG, 3) + FieldR(Regime.TargetG, 4));
  labelled(10, FieldI(Regime.rgMeasure, 3));
  labelled(11, FieldI(Schedule.rgShowYears, 3));
  labelled(12, FieldI(Schedule.rgThinInterval, 3));
  labelled(13, Site.UserA0Fixed ? FieldI(1, 3) + FieldR(Site.UserA0Parameter, 6) : FieldI(0, 3) + " 0.010000");

  auto columnList = [](std::int32_t last, const std::array<bool, ColumnSelection::Slots>& selected, int items) {
    std::string text = FieldI(last, 3) + "   ";
    for (int item = 0; item < items; ++item)
      if (selected[item]) text += FieldI(item, 3);
    return text;
  };
  labelled(14, columnList(Columns.LastBeforeThinColumn, Columns.BeforeThinSelected, ColumnSelection::BeforeThinItems));
  labelled(15, columnList(Columns.LastThinningColumn, Columns.ThinningSelected, ColumnSelection::ThinningItems));
  labelled(16, columnList(Columns.LastRemainingColumn, Columns.RemainingSelected, ColumnSelection::RemainingItems));

  auto axes = [](const std::array<int, GraphCount>& variables) {
    std::string text;
    for (int variable : variables) text += FieldI(variable, 3);
    return text;
  };
  labelled(17, axes(GraphXVariable));
  labelled(18, axes(GraphYVariable));

  labelled(19, " " + FieldR(Site.SiteClass, 6));
  labelled(20, " " + FieldR(SiteValues.YieldClass, 6));
  labelled(21, " " + FieldR(SiteValues.StandHeight, 6));
  const RegimeSettings& regime = Regime.Regime;
  const int ages[] = {SiteValues.StandAge,     regime.ThinStartAge,      regime.ThinEndAge,
                      Tables.TableStartAge,    Tables.TableEndAge,       Tables.ThinIntervalYears,
                      Tables.ThinIntervalDivisor};
  for (int k = 0; k < 7; ++k) labelled(22 + k, " " + FieldI(ages[k], 9));
  labelled(29, FieldT9(Regime.edtThinIstart));
  labelled(30, FieldT9(Regime.edtThinIend));
  labelled(31, FieldT9(Regime.edtThinMstart));
  labelled(32, FieldT9(Regime.edtThinMend));
  labelled(33, FieldI(TableFontSize, 3));

  std::string thinAges = FieldI(Tables.ThinAgeCount, 3) + "   ";
  for (int k = 0; k < Tables.ThinAgeCount; ++k) thinAges += FieldI(Tables.ThinAges[k], 0) + " ";
  labelled(34, thinAges);

  std::string inventory;
  for (const auto& row : SiteView.Inputs.sgInventory)
    for (const std::string& cell : row) inventory += cell + "#";
  labelled(35, inventory + "#");
  std::string soil;
  for (const std::string& cell : SiteView.Inputs.sgSoil) soil += cell + "#";
  labelled(36, soil + "#");
  std::string constraints;
  for (int row = 1; row <= 4; ++row)
    for (int column = 1; column <= 2; ++column)
      constraints += (row == 1 && column == 2 ? std::string() : Regime.sgConstraints[column][row]) + "#";
  labelled(37, constraints + "#");

  for (int variable = 0; variable < VariableCount; ++variable)
    for (int year = 1; year <= YearSlots; ++year)
      if (Tables.UserFixed[variable][year - 1])
        lines.push_back(FieldI(variable, 3) + FieldI(year, 4) + " " +
                        FieldE15(Tables.TypedValue[variable][year - 1]));
  return JoinSettingsLines(lines);
}

bool Session::Save(const std::string& path) {
  TableChanged = false;
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  const std::string text = SettingsFileText();
  if (file) file.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (file) file.close();
  if (!file) {
    const bool english = language_ == Language::English;
    Say({MessageKind::Error,
         std::string(english ? "   The file could not be saved:   " : "   Filen kunne ikke gemmes:   ") +
             "\r\n   " + path + "   ",
         {}});
    TableChanged = true;
    return false;
  }
  return true;
}

// --- reading -----------------------------------------------------------------------

// Applies the lines of a settings file to a session, in file order, as the
// Open command does. Stops at the first damaged line.
class SettingsFileReader {
public:
  SettingsFileReader(Session& session, std::vector<std::string> lines, std::string path)
      : s_(session), lines_(std::move(lines)), path_(std::move(path)) {}

  OpenOutcome Read();

private:
  struct Damaged {};

  LineFields Line(int number) {
    current_ = number;
    if (number > static_cast<int>(lines_.size())) throw Damaged{};
    return LineFields(lines_[number - 1]);
  }
  template <class T>
  T Need(std::optional<T> value) {
    if (!value) throw Damaged{};
    return *value;
  }
  int Int(LineFields& fields, long long lo = INT32_MIN, long long hi = INT32_MAX) {
    long long value = Need(fields.Integer());
    if (value < lo || value > hi) throw Damaged{};
    return static_cast<int>(value);
  }
  int Item(int line, int items) { LineFields f = Line(line); return Int(f, -1, items - 1); }

  void ReadColumnList(int line, std::array<bool, ColumnSelection::Slots>& checked, int items);
  void ReadTypedValues();

  Session& s_;
  std::vector<std::string> lines_;
  std::string path_;
  int current_ = 0;
};

void SettingsFileReader::ReadColumnList(int line, std::array<bool, ColumnSelection::Slots>& checked,
                                        int items) {
  LineFields fields = Line(line);
  const int last = Int(fields, 0, ColumnSelection::Slots - 1);
  // A list saved with nothing checked holds its last index 0 and no item.
  LineFields peek = fields;
  if (last == 0 && !peek.Integer()) return;
  for (int k = 0; k <= last; ++k) checked[Int(fields, 0, items - 1)] = true;
}

void SettingsFileReader::ReadTypedValues() {
  ProjectionTables& tables = s_.Tables;
  for (int number = SettingsLines + 1; number <= static_cast<int>(lines_.size()); ++number) {
    LineFields fields = Line(number);
    if (fields.AtEnd()) continue;
    const long long variable = Need(fields.Integer());
    const long long year = Need(fields.Integer());
    const double value = Need(fields.Real());
    // Only values a user can type are inputs of the projection.
    if (variable < 0 || variable >= VariableCount || IsComputedVariable(static_cast<int>(variable)) ||
        year < 1 || year > YearSlots)
      continue;
    const int v = static_cast<int>(variable), i = static_cast<int>(year) - 1;
    if (!tables.UserFixed[v][i]) {
      if (v >= HD1 && v <= RTA1) {
        ++tables.StateTypedCount;
      } else {
        ++tables.ThinTypedCount;
      }
    }
    tables.SetTyped(v, i, value);
    if (v >= HD1 && v <= RTA1) {
      tables.StateTableTyped = true;
    } else {
      tables.ThinTableTyped = true;
    }
  }
}

OpenOutcome SettingsFileReader::Read() {
  Session& s = s_;
  const char sep = s.DecimalSeparator();
  const Language language = s.language();
  try {
    // Line 1, the header, is not checked. Line 2: the description.
    s.Description.clear();
    if (lines_.size() >= 2) {
      const std::string& text = lines_[1];
      std::size_t start = 0;
      for (std::size_t mark; (mark = text.find(DescriptionLineEnd, start)) != std::string::npos;
           start = mark + std::string_view(DescriptionLineEnd).size())
        s.Description.push_back(text.substr(start, mark - start));
      if (start < text.size()) s.Description.push_back(text.substr(start));
    }
    s.DescriptionEdited = true;

    // Radio groups apply as if chosen: a changed item runs its click handler.
    int present = 0;
    for (const SpeciesEntry& entry : s.Store().SpeciesTable) present += entry.Present;
    if (int item = Item(3, present); item != s.SiteView.rgSpecies) s.rgSpeciesClick(item);
    if (int item = Item(4, 5); item != s.SiteView.Inputs.rgSiteQuality) s.rgSiteQualityClick(item);
    if (int item = Item(5, 2); item != s.SiteView.Inputs.rgHeight) s.rgHeightClick(item);
    {
      LineFields f = Line(6);
      s.Site.GrowthCorrection = Need(f.Real());
      s.SiteView.edtGcorrection = FormatGeneral(s.Site.GrowthCorrection, sep);
    }
    if (int item = Item(7, 4); item != s.SiteView.rgVolume) s.rgVolumeClick(item);
    if (int item = Item(8, 2); item != s.Regime.rgPreset) s.rgPresetClick(item);
    {
      LineFields f = Line(9);
      int item = Int(f, -1, 2);
      double targetG = Need(f.Real());
      if (item != s.Regime.rgTargetG) s.rgTargetGClick(item);
      s.Regime.TargetG = targetG;
      s.Regime.edtTargetG = FormatGeneral(targetG, sep);
    }
    if (int item = Item(10, 2); item != s.Regime.rgMeasure) s.rgMeasureClick(item);
    if (int item = Item(11, 2); item != s.Schedule.rgShowYears) s.rgShowYearsClick(item);
    if (int item = Item(12, 3); item != s.Schedule.rgThinInterval) s.rgThinIntervalClick(item);
    {
      LineFields f = Line(13);
      s.Site.UserA0Fixed = Int(f) == 1;
      s.Site.UserA0Parameter = Need(f.Real());
      s.SiteView.ShowA0param = s.Site.UserA0Fixed;
    }

    ColumnSelection& columns = s.Columns;
    columns.UncheckAll();
    ReadColumnList(14, columns.BeforeThinChecked, ColumnSelection::BeforeThinItems);
    ReadColumnList(15, columns.ThinningChecked, ColumnSelection::ThinningItems);
    ReadColumnList(16, columns.RemainingChecked, ColumnSelection::RemainingItems);
    columns.SetVariables();

    for (auto* axes : {&s.GraphXVariable, &s.GraphYVariable}) {
      LineFields f = Line(axes == &s.GraphXVariable ? 17 : 18);
      for (int& variable : *axes) {
        long long value = Need(f.Integer());
        variable = value >= 0 && value <= NoVariable ? static_cast<int>(value) : NoVariable;
      }
    }

    SiteInputs& inputs = s.SiteView.Inputs;
    const std::pair<double*, std::string*> siteLines[] = {{&s.Site.SiteClass, &inputs.edtSiteClass},
                                                          {&s.SiteValues.YieldClass, &inputs.edtYieldClass},
                                                          {&s.SiteValues.StandHeight, &inputs.edtStandHeight}};
    for (int k = 0; k < 3; ++k) {
      LineFields f = Line(19 + k);
      *siteLines[k].first = Need(f.Lenient());
      *siteLines[k].second = FormatGeneral(*siteLines[k].first, sep);
    }

    RegimeSettings& regime = s.Regime.Regime;
    ProjectionTables& tables = s.Tables;
    auto integerLine = [&](int line, int lo, int hi) {
      LineFields f = Line(line);
      return Int(f, lo, hi);
    };
    s.SiteValues.StandAge = integerLine(22, INT32_MIN, INT32_MAX);
    inputs.edtStandAge = std::to_string(s.SiteValues.StandAge);
    regime.ThinStartAge = integerLine(23, INT32_MIN, INT32_MAX);
    regime.ThinEndAge = integerLine(24, regime.ThinStartAge + 1LL, INT32_MAX);
    s.Regime.edtThinStart = std::to_string(regime.ThinStartAge);
    s.Regime.edtThinEnd = std::to_string(regime.ThinEndAge);
    tables.TableStartAge = integerLine(25, 16, 249);
    tables.TableEndAge = integerLine(26, tables.TableStartAge + 1, 250);
    s.Schedule.edtStartAge = std::to_string(tables.TableStartAge);
    s.Schedule.edtEndAge = std::to_string(tables.TableEndAge);
    tables.ThinIntervalYears = integerLine(27, 1, 200);
    tables.ThinIntervalDivisor = integerLine(28, 1, 200);
    s.Schedule.edtThinInterval1 = std::to_string(tables.ThinIntervalYears);
    s.Schedule.edtThinInterval2 = std::to_string(tables.ThinIntervalDivisor);
    s.Schedule.lblInitState = InitStateLabel(tables.TableStartAge, language);
    // Positions set below are the program's, not the user's: they must not feed back.
    s.Regime.TrackBarInUse = false;

    const bool spacing = s.Regime.rgMeasure == 1;
    for (int k = 0; k < 4; ++k) {
      LineFields f = Line(29 + k);
      const double x = Need(f.Lenient());
      const bool start = k % 2 == 0;
      if (k < 2) {
        (start ? s.Regime.edtThinIstart : s.Regime.edtThinIend) = FormatGeneral(x, sep);
        (spacing ? (start ? regime.TargetRSStart : regime.TargetRSEnd)
                 : (start ? regime.TargetGStart : regime.TargetGEnd)) = x;
        SetTrackBarPosition(s.Regime, start ? tbThinIstart : tbThinIend,
                            spacing ? TargetRSPosition(x) : TargetGPosition(x));
      } else {
        (start ? s.Regime.edtThinMstart : s.Regime.edtThinMend) = FormatFixed(x, 2, sep);
        (start ? regime.QuotientStart : regime.QuotientEnd) = x;
        SetTrackBarPosition(s.Regime, start ? tbThinMstart : tbThinMend, QuotientPosition(x));
      }
    }

    {
      LineFields f = Line(33);
      s.SetTableFontSize(Int(f));
    }
    {
      LineFields f = Line(34);
      const int count = Int(f, 0, YearSlots);
      std::string text;
      for (int k = 0; k < count; ++k) text += std::to_string(Int(f)) + ", ";
      s.Schedule.edtThinYear = text;
      s.EstablishThinList();
      s.SetTableLength();
    }

    current_ = 35;
    const std::vector<std::string> inventory = HashFields(Line(35).Rest(), 4 * InventoryRows);
    for (int k = 0; k < 4 * InventoryRows; ++k) inputs.sgInventory[k / 4][k % 4] = inventory[k];
    const std::vector<std::string> soil = HashFields(Line(36).Rest(), 4);
    for (int k = 0; k < 4; ++k) inputs.sgSoil[k] = soil[k];
    const std::vector<std::string> constraints = HashFields(Line(37).Rest(), 8);
    for (int k = 0; k < 8; ++k) {
      const int row = 1 + k / 2, column = 1 + k % 2;
      s.Regime.sgConstraints[column][row] =
          row == 1 && column == 2 ? (language == Language::English ? "N.A." : "UDEF.") : constraints[k];
    }
    orven::ReadConstraints(s.Regime, false, s.messages_);

    ReadTypedValues();
  } catch (const Damaged&) {
    const bool english = language == Language::English;
    s.Say({MessageKind::Error,
           std::string(english ? "   Invalid numeric input in line " : "   Ugyldigt tal i linje ") +
               std::to_string(current_) +
               (english ? " of the settings file:   " : " i indstillingsfilen:   ") + "\r\n   " + path_ + "   ",
           {}});
    return OpenOutcome::Damaged;
  }

  s.RecentFileName = path_;
  s.Reestimate(false);
  s.Steps.EnableStep7b(s.Regime.rgPreset == 1);
  return OpenOutcome::Opened;
}

OpenOutcome Session::Open(const std::string& path) {
  const bool english = language_ == Language::English;
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    Say({MessageKind::Error,
         std::string(english ? "   The file does not exist:   " : "   Filen eksisterer ikke:   ") + "\r\n   " + path + "   ",
         {}});
    return OpenOutcome::Missing;
  }
  std::ifstream file;
  const auto size = std::filesystem::file_size(path, error);
  if (!error && size <= LargestSettingsFile) file.open(path, std::ios::binary);
  std::ostringstream bytes;
  if (file) bytes << file.rdbuf();
  if (!file.is_open() || file.bad()) {
    Say({MessageKind::Error,
         std::string(english ? "   The file could not be read:   " : "   Filen kunne ikke læses:   ") + "\r\n   " + path + "   ",
         {}});
    return OpenOutcome::Missing;
  }

  Tables.ClearUserFixed();
  TableChanged = false;
  EnableAll();
  SiteValues.StartAgeKeyed = SiteValues.YieldClassKeyed = SiteValues.StandHeightKeyed = true;

  OpenOutcome outcome = SettingsFileReader(*this, SplitSettingsLines(bytes.str()), path).Read();
  if (outcome != OpenOutcome::Opened) return outcome;
  SiteView.edtA0parameter = Site.UserA0Fixed ? FormatGeneral(Site.UserA0Parameter, decimalSeparator_)
                                             : A0EditText(Site.A0Parameter, decimalSeparator_);
  CurrentFileName = path;
  ShowTablesPage();
  TableChanged = false;
  return OpenOutcome::Opened;
}

}  // namespace orven
