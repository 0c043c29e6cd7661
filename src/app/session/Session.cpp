#include "app/session/Session.h"

#include "messages/NumberText.h"
#include "model/Sentinel.h"
#include "projection/ProjectionEngine.h"
#include "projection/ThinningSchedule.h"
#include "site/SitePresets.h"
#include "tables/TableCells.h"

namespace orven {
namespace {

// Without a window there is no font to measure; an average character of the
// window font is about six pixels wide.
int EstimatedTextWidth(const std::string& text) {
  int characters = 0;
  for (unsigned char c : text) characters += (c & 0xC0) != 0x80;
  return 6 * characters;
}

}  // namespace

Session::Session(const ParameterStore& store, Language language, char decimalSeparator,
                 TextWidth textWidth)
    : store_(&store),
      language_(language),
      decimalSeparator_(decimalSeparator),
      textWidth_(textWidth ? std::move(textWidth) : TextWidth(EstimatedTextWidth)) {
  Regime.language = language;
  Regime.decimalSeparator = decimalSeparator;
  ResetInProgress = true;
  InitialisePresetParameters();
  InitialiseUserInterface();
  GraphXVariable.fill(T);
  GraphYVariable = {HD3, N3, V3, D3, G3, RTA3, HD3};
  SetTableLength();
  SetThinningParameters(Regime);
  Typing.ForgetPendingEdits();
  Typing.EditChecked = false;
  ResetInProgress = false;
  Steps.DisableAll();
  Steps.EnableStep(1);
}

MessageList Session::TakeMessages() {
  MessageList taken;
  taken.swap(messages_);
  return taken;
}

void Session::Say(const MessageList& messages) {
  messages_.insert(messages_.end(), messages.begin(), messages.end());
}

std::vector<std::string> Session::SpeciesItems() const {
  std::vector<std::string> items;
  for (const SpeciesEntry& entry : store_->SpeciesTable)
    if (entry.Present) items.push_back(SpeciesListItem(entry, language_, textWidth_));
  return items;
}

StandSettings Session::Stand() const {
  return StandSettings{store_, Species.CurrentSpecies, VolumeDefinition, Site};
}

CheckContext Session::Checks() const {
  CheckContext context;
  context.language = language_;
  context.decimalSeparator = decimalSeparator_;
  context.TableStartAge = Tables.TableStartAge;
  context.TableEndAge = Tables.TableEndAge;
  context.ThinStartAge = Regime.Regime.ThinStartAge;
  context.ThinEndAge = Regime.Regime.ThinEndAge;
  return context;
}

std::span<const std::uint8_t> Session::ColumnsOf(ResultGrid grid) const {
  switch (grid) {
    case ResultGrid::BeforeThin: return UsedColumns(Columns.BeforeThinColumns, Columns.LastBeforeThinColumn);
    case ResultGrid::Thinning: return UsedColumns(Columns.ThinningColumns, Columns.LastThinningColumn);
    case ResultGrid::Remaining: break;
  }
  return UsedColumns(Columns.RemainingColumns, Columns.LastRemainingColumn);
}

// --- a new table ---------------------------------------------------------------

void Session::InitialisePresetParameters() {
  Tables.TableStartAge = 20;
  Tables.TableEndAge = 80;
  Regime.Regime = RegimeSettings{};
  Regime.TargetG = 20;
  Site = SiteParameters{};
  SiteValues = SiteState{};
  Species.CurrentSpecies = 0;
  VolumeDefinition = 0;
}

void Session::InitialiseUserInterface() {
  SiteView.rgSpecies = -1;
  SiteView.rgVolume = -1;
  SiteInputs& inputs = SiteView.Inputs;
  inputs.rgSiteQuality = -1;
  inputs.rgHeight = -1;
  Regime.rgPreset = -1;
  Regime.rgTargetG = -1;
  Regime.rgMeasure = 0;
  SetIntensityLabels(Regime);
  SiteView.ShowA0param = false;
  VerticalShift = true;
  Species.SetYieldTableReference();

  const char sep = decimalSeparator_;
  SiteView.edtA0parameter = A0EditText(Site.A0Parameter, sep);
  inputs.edtSiteClass = FormatGeneral(Site.SiteClass, sep);
  inputs.edtYieldClass = FormatGeneral(SiteValues.YieldClass, sep);
  inputs.edtStandHeight = FormatGeneral(SiteValues.StandHeight, sep);
  SiteView.edtGcorrection = FormatGeneral(Site.GrowthCorrection, sep);
  inputs.edtStandAge = "20";
  Regime.edtThinStart = "20";
  Regime.edtThinEnd = "80";
  Regime.edtTargetG = "20";
  Schedule.edtThinInterval1 = "5";
  Schedule.edtThinInterval2 = "10";
  Tables.ThinIntervalYears = 5;
  Tables.ThinIntervalDivisor = 10;
  Schedule.edtStartAge = "20";
  Schedule.edtEndAge = "80";
  Schedule.lblInitState = InitStateLabel(Tables.TableStartAge, language_);

  inputs.sgInventory = {};
  inputs.sgSoil = {};
  for (int column : {1, 2})
    for (int row = 1; row <= 4; ++row) Regime.sgConstraints[column][row].clear();
  SetConstraintHeadings(Regime);
  InitStateCells = {};

  SetTableFontSize(8);
  TableChanged = false;
  Tables.ClearUserFixed();
  Results.ProjectionOk = true;
  SiteView.lblSC.clear();
  SiteView.lblYC.clear();
  SiteView.lblSI.clear();
  SiteView.lblA0.clear();
}

std::optional<Message> Session::NewTableQuestion() const {
  if (!TableChanged) return std::nullopt;
  const bool english = language_ == Language::English;
  return Message{MessageKind::Question,
                 english ? "   Clear everything without saving the growth and yield table?   "
                         : "   Slet alle indtastninger uden at lagre produktionsoversigten?   ",
                 english ? "   Clear everything?" : "   Slet alt?"};
}

std::optional<Message> Session::CloseQuestion() const {
  if (!TableChanged) return std::nullopt;
  const bool english = language_ == Language::English;
  return Message{MessageKind::Question,
                 english ? "   Close without saving growth and yield table?   "
                         : "   Afslut programmet uden at lagre produktionsoversigten?   ",
                 english ? "   Close?" : "   Afslut?"};
}

void Session::NewTable() {
  ResetInProgress = true;
  NoTableComputed = true;
  InitialisePresetParameters();
  InitialiseUserInterface();
  Typing.ForgetPendingEdits();
  Typing.EditChecked = false;
  SetTableLength();
  ResetInProgress = false;
  DescriptionEdited = false;
  ReloadDescription();
  Steps.DisableAll();
  Steps.EnableStep(1);
  InitStateCells = {};
  Results.InitState = {};
  if (!CurrentFileName.empty()) {
    RecentFileName = CurrentFileName;
    CurrentFileName.clear();
  }
}

// --- species and site page ---------------------------------------------------

void Session::ApplyEstimate(const SiteEstimate& estimate) {
  SiteView.lblSC = estimate.lblSC;
  SiteView.lblYC = estimate.lblYC;
  SiteView.lblSI = estimate.lblSI;
  SiteView.lblA0 = estimate.lblA0;
  if (estimate.edtStartAge) {
    Schedule.edtStartAge = *estimate.edtStartAge;
    Schedule.lblInitState = InitStateLabel(Tables.TableStartAge, language_);
  }
  if (estimate.edtA0parameter) SiteView.edtA0parameter = *estimate.edtA0parameter;
  SiteView.Focus = estimate.focus;
}

void Session::Reestimate(bool showMessages) {
  SiteView.Inputs.inputsEnabled = Steps.StepEnabled[4];
  ApplyEstimate(ReestimateA0parameter(showMessages, *store_, Species.CurrentSpecies, Site, SiteValues,
                                      SiteView.Inputs, Tables, Checks(), messages_));
}

void Session::PresetStandHeight() {
  if (auto text = orven::PresetStandHeight(SiteValues, Site, Model(), Species.CurrentSpecies,
                                           DominantHeight(), decimalSeparator_))
    SiteView.Inputs.edtStandHeight = *text;
}

void Session::rgSpeciesClick(int item) {
  SiteView.rgSpecies = item;
  if (item < 0) return;
  Steps.EnableStep(2);
  Species.CurrentSpecies = SpeciesAtRadioIndex(*store_, item);
  Species.SetYieldTableReference();
  if (auto text = PresetYieldClass(SiteValues, Species.CurrentSpecies, decimalSeparator_))
    SiteView.Inputs.edtYieldClass = *text;
  if (!Site.UserA0Fixed) PresetUserA0parameter(Site, Species.CurrentSpecies);
  PresetStandHeight();
  if (SiteView.Inputs.rgSiteQuality == SoilTexture) {
    std::string note = SoilNote(Species.CurrentSpecies, language_);
    if (!note.empty()) Say({MessageKind::Error, note, {}});
  }
  Reestimate(true);
  SetTargetBasalAreas(Regime, Species.CurrentSpecies, textWidth_);
}

void Session::rgSiteQualityClick(int item) {
  SiteView.Inputs.rgSiteQuality = item;
  if (item < 0) return;
  if (item == SoilTexture) {
    std::string note = SoilNote(Species.CurrentSpecies, language_);
    if (!note.empty()) Say({MessageKind::Error, note, {}});
  }
  Steps.EnableStep(3);
  Reestimate(true);
}

void Session::rgHeightClick(int item) {
  SiteView.Inputs.rgHeight = item;
  if (item < 0) return;
  Steps.EnableStep(4);
  Columns.InitialiseCheckListBoxes(item == 0);
  Columns.SetVariables();
  PresetStandHeight();
  Reestimate(true);
}

void Session::rgVolumeClick(int item) {
  Reestimate(true);
  SiteView.rgVolume = item;
  if (item < 0) return;
  if (Site.A0Parameter > 1e-12) Steps.EnableStep(6);
  VolumeDefinition = item >= 1 && item <= 3 ? item : 0;
}

void Session::ChangeA0parameterSettings() {
  Site.UserA0Fixed = !Site.UserA0Fixed;
  Reestimate(true);
  SiteView.edtA0parameter = Site.UserA0Fixed ? FormatGeneral(Site.UserA0Parameter, decimalSeparator_)
                                             : A0EditText(Site.A0Parameter, decimalSeparator_);
}

bool Session::SiteEditExit(SiteEdit edit, const std::string& text) {
  struct Rule {
    int kind;
    bool integer;
    std::string* shown;
  };
  SiteInputs& inputs = SiteView.Inputs;
  const Rule rules[] = {
      {6, false, &inputs.edtSiteClass},  {7, false, &inputs.edtStandHeight},
      {8, false, &inputs.edtYieldClass}, {9, true, &inputs.edtStandAge},
      {10, false, &SiteView.edtA0parameter}, {12, false, &SiteView.edtGcorrection},
  };
  const Rule& rule = rules[static_cast<int>(edit)];
  *rule.shown = text;
  const CheckContext context = Checks();
  const bool syntax = rule.integer ? CheckInteger(text, context, messages_) : CheckFloat(text, context, messages_);
  if (!syntax || !CheckRange(rule.kind, text, context, messages_)) return false;
  double value = 0;
  ParseFloat(text, decimalSeparator_, value);
  switch (edit) {
    case SiteEdit::SiteClass: Site.SiteClass = value; break;
    case SiteEdit::StandHeight:
      SiteValues.StandHeight = value;
      SiteValues.StandHeightKeyed = true;
      break;
    case SiteEdit::YieldClass:
      SiteValues.YieldClass = value;
      SiteValues.YieldClassKeyed = true;
      break;
    case SiteEdit::StandAge: SiteValues.StandAge = static_cast<std::int32_t>(value); break;
    case SiteEdit::A0parameter: Site.UserA0Parameter = value; break;
    case SiteEdit::Gcorrection: Site.GrowthCorrection = value; break;
  }
  return true;
}

void Session::edtGcorrectionEnter() {
  Steps.EnableStep(5);
  Reestimate(true);
}

void Session::SiteInputEntered() { Steps.EnableStep(5); }

void Session::SiteGridEdited() { Steps.EnableStep(5); }

void Session::LeaveSitePage() {
  SiteView.Inputs.inputsEnabled = Steps.StepEnabled[4];
  SiteEstimate estimate = EstimateA0parameter(false, *store_, Species.CurrentSpecies, Site, SiteValues,
                                              SiteView.Inputs, Tables, Checks(), messages_);
  Site.A0Parameter = estimate.A0;
  estimate.edtA0parameter.reset();
  ApplyEstimate(estimate);
  const bool typed = Tables.StateTableTyped || Tables.ThinTableTyped;
  if (!Site.UserA0Fixed || typed)
    SiteView.edtA0parameter = A0EditText(Site.A0Parameter, decimalSeparator_);
  else
    Say({MessageKind::Information, KeyedInParameterNote(language_), {}});
}

// --- thinning-preset page ------------------------------------------------------

void Session::rgPresetClick(int item) {
  const bool measureMoves = item == 0 && Regime.rgMeasure != 0;
  if (item >= 0) Steps.EnableStep7(item == 1);
  if (measureMoves) Steps.EnableStep8(Tables.StateTableTyped || Tables.ThinTableTyped);
  if (orven::rgPresetClick(Regime, item, messages_)) TableChanged = true;
}

void Session::rgTargetGClick(int item) {
  if (item >= 0) Steps.EnableStep8(Tables.StateTableTyped || Tables.ThinTableTyped);
  orven::rgTargetGClick(Regime, item);
}

void Session::rgMeasureClick(int item) {
  Steps.EnableStep8(Tables.StateTableTyped || Tables.ThinTableTyped);
  if (orven::rgMeasureClick(Regime, item, messages_)) TableChanged = true;
}

void Session::RegimeInputEntered() { Steps.EnableStep8(Tables.StateTableTyped || Tables.ThinTableTyped); }

void Session::RegimeEditEntered(RegimeEdit edit) {
  // Only the four value edits take the track bars out of the user's hands.
  if (edit != RegimeEdit::TargetG && edit != RegimeEdit::ThinStart && edit != RegimeEdit::ThinEnd)
    ThinEditEnter(Regime);
  RegimeInputEntered();
}

void Session::TrackBarEntered() {
  TrackBarEnter(Regime);
  RegimeInputEntered();
}

void Session::TrackBarMoved(TrackBar bar, int position) { SetTrackBarPosition(Regime, bar, position); }

bool Session::RegimeEditExit(RegimeEdit edit, const std::string& text) {
  switch (edit) {
    case RegimeEdit::TargetG: Regime.edtTargetG = text; return edtTargetGExit(Regime, messages_);
    case RegimeEdit::ThinStart: Regime.edtThinStart = text; return edtThinStartExit(Regime, messages_);
    case RegimeEdit::ThinEnd: Regime.edtThinEnd = text; return edtThinEndExit(Regime, messages_);
    case RegimeEdit::ThinIstart: Regime.edtThinIstart = text; return ReadThinIstart(Regime, messages_);
    case RegimeEdit::ThinIend: Regime.edtThinIend = text; return ReadThinIend(Regime, messages_);
    case RegimeEdit::ThinMstart: Regime.edtThinMstart = text; return ReadThinMstart(Regime, messages_);
    case RegimeEdit::ThinMend: Regime.edtThinMend = text; return ReadThinMend(Regime, messages_);
  }
  return true;
}

bool Session::ReadConstraints() {
  const std::size_t before = messages_.size();
  if (orven::ReadConstraints(Regime, true, messages_)) TableChanged = true;
  return messages_.size() == before;
}

void Session::ConstraintEdited() {
  Steps.EnableStep(10);
  // Opening step 10 shows the first-year state in its grid.
  Results.InitState = WriteInitialState(Typing, Tables, true, DominantHeight(), language_, decimalSeparator_);
  InitStateCells = Results.InitState;
}

void Session::ConstraintEdited(int column, int row, const std::string& text) {
  if (row >= 1 && row <= 4 && column >= 0 && column <= 2 && ConstraintCellSelectable(column, row))
    Regime.sgConstraints[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)] = text;
  ConstraintEdited();
}

void Session::AgeRangeEntered() { Steps.EnableStep(9); }

bool Session::edtStartAgeExit(const std::string& text) {
  Schedule.edtStartAge = text;
  if (!ReadStartAge(Tables, text, language_, messages_)) return false;
  SetTableLength();
  SiteValues.StartAgeKeyed = true;
  Schedule.lblInitState = InitStateLabel(Tables.TableStartAge, language_);
  return true;
}

bool Session::edtEndAgeExit(const std::string& text) {
  Schedule.edtEndAge = text;
  if (!ReadEndAge(Tables, text, language_, messages_)) return false;
  EstablishThinList();
  SetTableLength();
  Schedule.lblInitState = InitStateLabel(Tables.TableStartAge, language_);
  return true;
}

// --- tables page -----------------------------------------------------------------

void Session::EstablishThinList() {
  orven::EstablishThinList(Tables, Schedule.rgThinInterval, Schedule.edtThinYear);
}

void Session::rgThinIntervalClick(int item) {
  Schedule.rgThinInterval = item;
  EstablishThinList();
  SetTableLength();
}

void Session::rgShowYearsClick(int item) {
  Schedule.rgShowYears = item;
  if (ResetInProgress) return;
  EstablishThinList();
  SetTableLength();
}

bool Session::ExamineThinInterval() {
  if (!orven::ExamineThinInterval(Tables, Schedule.rgThinInterval, Schedule.edtThinInterval1,
                                  Schedule.edtThinInterval2, language_, messages_))
    return false;
  EstablishThinList();
  SetTableLength();
  return true;
}

void Session::edtThinYearExit(const std::string& text) {
  Schedule.edtThinYear = text;
  EstablishThinList();
  SetTableLength();
}

void Session::ShowTablesPage() {
  EstablishThinList();
  SetTableLength();
}

void Session::SetTableLength() {
  SetTableRowCount(Tables, Schedule.rgShowYears);
  WriteTables();
}

void Session::WriteTables() {
  Tables.ClearComputedValues();
  Results.ProjectionOk = ProjectTable(Tables, Regime.Regime, Stand());
  // The table of defaults that a reset computes is nobody's table yet.
  if (!ResetInProgress) NoTableComputed = false;
  FillGrids();
  const bool gridsEnabled = Steps.FinalEnabled;
  if (gridsEnabled) {
    const RowModel rows = Schedule.rgShowYears == 0 ? RowModel::AllYears : RowModel::ThinningsOnly;
    Results.ErrorLine = ErrorLineText(ErrorString(Tables, Columns, rows), language_);
  }
  Results.InitState = WriteInitialState(Typing, Tables, Steps.StepEnabled[10], DominantHeight(),
                                        language_, decimalSeparator_);
  InitStateCells = Results.InitState;
}

void Session::FillGrids() {
  Results.RowYears = MapRowsToYears(Tables, Schedule.rgShowYears);
  const bool enabled = Steps.FinalEnabled;
  for (ResultGrid grid : {ResultGrid::BeforeThin, ResultGrid::Thinning, ResultGrid::Remaining}) {
    GridTexts& texts = Results.Grids[static_cast<int>(grid)];
    texts = {};
    for (std::uint8_t variable : ColumnsOf(grid)) {
      texts.Headers.push_back(SymbolOf(variable, language_));
      texts.Units.push_back(UnitOf(variable, language_));
    }
    for (int year : Results.RowYears) {
      std::vector<std::string>& row = texts.Rows.emplace_back();
      for (std::uint8_t variable : ColumnsOf(grid))
        row.push_back(DataCellText(Tables, grid, variable, year, enabled, language_, decimalSeparator_));
    }
  }
}

void Session::GridSetEditText(ResultGrid grid, int column, int row, const std::string& text) {
  KeystrokeVerdict verdict = orven::GridSetEditText(Typing, Tables, grid, ColumnsOf(grid), column, row,
                                                    text, language_);
  if (verdict.Refusal) Say(*verdict.Refusal);
}

void Session::CommitEdit(ResultGrid grid) {
  CommitResult result = orven::CommitEdit(Typing, Tables, grid, ColumnsOf(grid), Regime.Regime,
                                          language_, decimalSeparator_);
  Say(result.Messages);
  if (result.TypedValuesChanged) TableChanged = true;
  if (!result.Committed) return;
  if (AutoUpdate) {
    WriteTables();
    return;
  }
  // Without automatic updating only the edited cell shows the stored value.
  const int variable = VariableOfColumn(ColumnsOf(grid), result.Column);
  const int year = YearIndexOfRow(Tables, result.Row);
  auto& rows = Results.Grids[static_cast<int>(grid)].Rows;
  if (variable >= 0 && year >= 0 && result.Row >= 1 && result.Row <= static_cast<int>(rows.size()))
    rows[result.Row - 1][result.Column] =
        DataCellText(Tables, grid, variable, year, Steps.FinalEnabled, language_, decimalSeparator_);
}

void Session::InitStateEntered() {
  if (!Tables.ThinTableTyped) EnableStepFinal();
  GridSelectCell(Typing);
}

void Session::ReadInitialState() {
  ReadInitialStateResult result =
      orven::ReadInitialState(Typing, Tables, InitStateCells, DominantHeight(), language_, decimalSeparator_);
  Say(result.Messages);
  if (result.FocusGrid) return;
  if (result.Stored) TableChanged = true;
  if (AutoUpdate) {
    WriteTables();
  } else {
    Results.InitState = WriteInitialState(Typing, Tables, Steps.StepEnabled[10], DominantHeight(),
                                          language_, decimalSeparator_);
    InitStateCells = Results.InitState;
  }
}

void Session::DeleteEntry(ResultGrid grid, int column, int row) {
  const int variable = VariableOfColumn(ColumnsOf(grid), column);
  const int year = YearIndexOfRow(Tables, row);
  if (variable < 0 || year < 0 || !orven::DeleteEntry(Tables, variable, year)) return;
  TableChanged = true;
  if (AutoUpdate) WriteTables();
}

void Session::DeleteInitStateEntry(int row) {
  if (!orven::DeleteInitStateEntry(Tables, row, DominantHeight())) return;
  TableChanged = true;
  if (AutoUpdate) WriteTables();
}

std::optional<Message> Session::ClearTableQuestion() const {
  return orven::ClearTableQuestion(Tables, language_);
}

void Session::ClearTable() {
  const bool hadTypedValues = orven::ClearTable(Tables, Typing);
  TableChanged = true;
  if (hadTypedValues) WriteTables();
}

// --- workflow ----------------------------------------------------------------------

void Session::EnableStepFinal() {
  Steps.EnableStepFinalLabels();
  if (Schedule.rgShowYears != 1) rgShowYearsClick(1);
  if (Schedule.rgThinInterval != 1) rgThinIntervalClick(1);
}

void Session::EnableAll() {
  for (int step = 1; step <= 6; ++step) Steps.EnableStep(step);
  Steps.EnableStep7(Regime.rgPreset == 1);
  Steps.EnableStep8(Tables.StateTableTyped || Tables.ThinTableTyped);
  Steps.EnableStep(9);
  Steps.EnableStep(10);
  Results.InitState = WriteInitialState(Typing, Tables, true, DominantHeight(), language_, decimalSeparator_);
  InitStateCells = Results.InitState;
  EnableStepFinal();
}

std::string Session::ExportText(char delimiter) const { return TableText(Results.Grids, delimiter); }

std::optional<std::string> Session::CopySelectionText(std::optional<ResultGrid> focusedGrid, int left,
                                                      int right, int top, int bottom) {
  if (!focusedGrid) {
    const bool english = language_ == Language::English;
    // A plain box, without a sound.
    Say({MessageKind::Plain,
         english ? "   Before copying you must make a selection in one of the tables.   \r\n"
                   "   Click a cell and select area by pressing Shift + arrow keys!   "
                 : "   Før du kan kopiere må du markere et område i en af tabellerne.   \r\n"
                   "   Klik i en celle og marker området ved at trykke Shift + piltaster!   ",
         {}});
    return std::nullopt;
  }
  return SelectionText(Results.Grids[static_cast<int>(*focusedGrid)], left, right, top, bottom);
}

// --- description page ------------------------------------------------------------

void Session::DescriptionTyped(std::vector<std::string> lines) {
  Description = std::move(lines);
  DescriptionEdited = true;
  if (!ResetInProgress) TableChanged = true;
}

}  // namespace orven
