#include "projection/TypedValues.h"

#include <algorithm>
#include <initializer_list>

#include "catalogue/VariableCatalogue.h"
#include "messages/InputChecks.h"
#include "messages/NumberText.h"

namespace orven {
namespace {


Message Error(std::string text) { return {MessageKind::Error, std::move(text), {}}; }
Message Warning(std::string text) { return {MessageKind::Information, std::move(text), {}}; }

constexpr BilingualText FirstYearOnlyText = {
    "   This variable can only be assigned a value in   \r\n   the first year of the growth and yield table!   ",
    "   Denne variabel kan kun tilskrives en værdi   \r\n   i produktionsoversigtens første år!   "};
constexpr BilingualText ComputedText = {
    "   This variable is computed and cannot be assigned a value!   ",
    "   Denne variabel beregnes og kan ikke tilskrives en værdi!   "};
constexpr BilingualText ThinningYearsOnlyText = {
    "   This variable can only be assigned a value in years of thinning!   ",
    "   Denne variabel kan kun tilskrives en værdi i år hvor der udføres tynding!   "};
constexpr BilingualText BlockedText = {
    "   Because of previous specifications this variable is blocked this year!   ",
    "   På grund af tidligere indtastninger er denne variabel blokeret!   "};

constexpr BilingualText RangeOpening = {"   The value entered, ", "   Den indtastede værdi, "};
constexpr BilingualText RangeMiddle = {", is out of range!   \r\n   The allowed range of ",
                                       ", er uden for det tilladte interval!   \r\n   Det tilladte interval for "};
constexpr BilingualText RangeIs = {" is: ", " er: "};

constexpr BilingualText TypedOpening = {"   With the value entered for ", "   Med den indtastede værdi af "};
constexpr BilingualText WouldExceed = {", the thinning would exceed what existed before thinning!   ",
                                       ", ville udhugningen overstige det der fandtes før tynding!   "};
constexpr BilingualText MoreToRemain = {", you require more to remain than existed before thinning!   ",
                                        ", kræver du at mere skal efterlades end der fandtes før tynding!   "};
constexpr BilingualText G1WindowText = {
    "   Please note that this year the basal area before thinning   \r\n   is not within the G1 range specified. However, the constraint   \r\n   is overruled by your thinning specification!   ",
    "   Bemærk at dette år er grundfladen før tynding uden for   \r\n   det angivne G1 interval. Din tyndingsspecifikation   \r\n   sætter denne, tidligere angivne begrænsning ud af kraft!   "};
constexpr BilingualText V2Violated = {", you violate the V2 constraints specified!   ",
                                      ", opstår der konflikt med de angivne V2 begrænsninger!   "};
constexpr BilingualText ShareViolated = {", the ratio G2/G1 violates the constraints!   ",
                                         ", vil G2/G1 være i konflikt med de angivne begrænsninger!   "};
constexpr BilingualText RS3Violated = {", you violate the RS3 constraints specified!   ",
                                       ", opstår der konflikt med de angivne RTA3 begrænsninger!   "};
constexpr BilingualText G3Violated = {", you violate the G3 constraints specified!   ",
                                      ", opstår der konflikt med de angivne G3 begrænsninger!   "};

constexpr BilingualText ClearCaption = {"   Clear thinning specification?   ", "   Slet hugstbeskrivelse?   "};
constexpr BilingualText ClearQuestion = {
    "   Clear the thinning specification that you have entered in the tables?   ",
    "   Vil du slette den hugstbeskrivelse som du har indtastet i tabellerne?   "};

constexpr BilingualText InitStateHeadings[InitStateRows] = {
    {" Stand height, Hdom (m)", " Bevoksningshøjde, Hdom (m)"},
    {" Stand diameter, Dg (cm)", " Bevoksningsdiameter, Dg (cm)"},
    {" Stem number (stems/ha)", " Stamtal (stammer/ha)"},
    {" Basal area (m2/ha)", " Grundflade (m2/ha)"},
    {" Relative spacing (%)", " Relativ træafstand (%)"}};
constexpr BilingualText MeanHeightHeading = {" Stand height, Hg (m)", " Bevoksningshøjde, Hg (m)"};

constexpr int FirstStateRangeKind = 16;  // kinds 16..20 check the five rows

bool IsFirstYearVariable(int v) {
  return v == HD1 || v == Hg1 || v == D1 || v == N1 || v == G1 || v == RTA1;
}

// Typed values of variables 1..8 are counted as first-year state, all others
// as thinning values.
bool IsStateVariable(int v) { return v >= HD1 && v <= RTA1; }

void CountTyped(ProjectionTables& tables, int v) {
  if (IsStateVariable(v)) {
    ++tables.StateTypedCount;
    tables.StateTableTyped = true;
  } else {
    ++tables.ThinTypedCount;
    tables.ThinTableTyped = true;
  }
}

void UncountTyped(ProjectionTables& tables, int v) {
  auto drop = [](std::int32_t& count, bool& typed) {
    count = std::max(count - 1, 0);
    if (count == 0) typed = false;
  };
  if (IsStateVariable(v))
    drop(tables.StateTypedCount, tables.StateTableTyped);
  else
    drop(tables.ThinTypedCount, tables.ThinTableTyped);
}

// Stores a typed value; the count rises only for a cell not typed before.
void StoreTyped(ProjectionTables& tables, int v, int year, double value) {
  if (!tables.UserFixed[v][year]) CountTyped(tables, v);
  tables.SetTyped(v, year, value);
}

bool Outside(double x, double min, double max) { return x < min || x > max; }

std::string Quoted(double value, char separator) {
  return "\"" + FormatGeneral(value, separator) + "\"";
}

// The refusals and warnings of a typed thinning or remaining-stand value,
// in the order they are shown; false when the value must not be stored.
bool JudgeThinningValue(const ProjectionTables& tables, ResultGrid grid, const RegimeSettings& regime,
                        int v, int year, double value, Language language, char separator,
                        MessageList& messages) {
  const std::string typed =
      Choose(TypedOpening, language) + SymbolOf(v, language) + ", " + Quoted(value, separator);
  const double G1value = tables.Value(G1, year);
  const double N1value = tables.Value(N1, year);
  const double V1value = tables.Value(V1, year);

  if (grid == ResultGrid::Thinning) {
    const bool exceeds = (v == N2 && value > N1value) || (v == G2 && value > G1value) ||
                         (v == V2 && value > V1value);
    if (exceeds) {
      messages.push_back(Error(typed + Choose(WouldExceed, language)));
      return false;
    }
  } else {
    const bool moreRemains = (v == N3 && value > N1value) || (v == G3 && value > G1value) ||
                             (v == V3 && value > V1value) ||
                             (v == RTA3 && value < tables.Value(RTA1, year));
    if (moreRemains) {
      messages.push_back(Error(typed + Choose(MoreToRemain, language)));
      return false;
    }
  }

  if (Outside(G1value, regime.ThinGMin, regime.ThinGMax))
    messages.push_back(Warning(Choose(G1WindowText, language)));

  if ((v == V2 && Outside(value, regime.ThinVMin, regime.ThinVMax)) ||
      (v == V3 && Outside(V1value - value, regime.ThinVMin, regime.ThinVMax)))
    messages.push_back(Warning(typed + Choose(V2Violated, language)));

  // Without a basal area before thinning there is no share to judge.
  if (G1value > 0 && ((v == G2 && Outside(100 * value / G1value, regime.ThinPctMin, regime.ThinPctMax)) ||
                      (v == G3 && Outside(100 * (G1value - value) / G1value, regime.ThinPctMin,
                                          regime.ThinPctMax))))
    messages.push_back(Warning(typed + Choose(ShareViolated, language)));

  if (grid == ResultGrid::Remaining && regime.MeasureIsBasalArea && v == RTA3 &&
      Outside(value, regime.RemRSMin, regime.RemRSMax))
    messages.push_back(Warning(typed + Choose(RS3Violated, language)));

  if (!regime.MeasureIsBasalArea &&
      ((v == G2 && Outside(G1value - value, regime.RemGMin, regime.RemGMax)) ||
       (v == G3 && Outside(value, regime.RemGMin, regime.RemGMax))))
    messages.push_back(Warning(typed + Choose(G3Violated, language)));

  return true;
}

bool IsErrorOrNotApplicable(const std::string& text) {
  for (Language language : {Language::English, Language::Danish})
    if (text == ErrorText(language) || text == NotApplicableText(language)) return true;
  return false;
}

}  // namespace

const char* ErrorText(Language language) {
  return language == Language::English ? "ERROR" : "FEJL";
}

const char* NotApplicableText(Language language) {
  return language == Language::English ? "N.A." : "UDEF.";
}

bool TypingConflict(const ProjectionTables& tables, int v, int yearIndex) {
  if (yearIndex < 0 || yearIndex >= YearSlots) return false;
  auto typed = [&](int k) { return tables.UserFixed[k][yearIndex]; };
  auto anyTyped = [&](std::initializer_list<int> variables) {
    return std::any_of(variables.begin(), variables.end(), typed);
  };
  auto othersTyped = [&](int first, int last) {
    int count = 0;
    for (int k = first; k <= last; ++k)
      if (k != v && typed(k)) ++count;
    return count;
  };

  if (IsFirstYearVariable(v)) {
    if (othersTyped(HD1, RTA1) >= 3) return true;
    switch (v) {
      case HD1: return typed(Hg1) || (typed(N1) && typed(RTA1));
      case Hg1: return typed(HD1) || (typed(N1) && typed(RTA1));
      case D1: return typed(G1) && typed(N1);
      case N1:
        return (typed(D1) && typed(G1)) || (typed(Hg1) && typed(RTA1)) || (typed(HD1) && typed(RTA1));
      case G1: return typed(D1) && typed(N1);
      default: return (typed(Hg1) && typed(N1)) || (typed(HD1) && typed(N1));  // RTA1
    }
  }

  if (othersTyped(D2, RTA3) >= 2) return true;
  switch (v) {
    case D2: return anyTyped({Q1, Q3, D3, N3, G3, V3, RTA3});
    case N2: return anyTyped({D3, N3, G3, V3, RTA3});
    case G2: return anyTyped({V2, D3, N3, G3, V3, RTA3});
    case V2: return anyTyped({G2, D3, N3, G3, V3, RTA3});
    case Q1: return anyTyped({D2, Q3, D3, N3, G3, V3, RTA3});
    case Q3: return anyTyped({D2, Q1, D3, N3, G3, V3, RTA3});
    case D3: return anyTyped({D2, N2, G2, V2, Q1, Q3});
    case N3: return anyTyped({D2, N2, G2, V2, Q1, Q3, RTA3});
    case G3: return anyTyped({D2, N2, G2, V2, Q1, Q3, V3});
    case V3: return anyTyped({D2, N2, G2, V2, Q1, Q3, G3});
    case RTA3: return anyTyped({D2, N2, G2, V2, Q1, Q3, N3});
    default: return false;
  }
}

int VariableOfColumn(std::span<const std::uint8_t> columns, int column) {
  return column >= 0 && static_cast<std::size_t>(column) < columns.size() ? columns[column] : -1;
}

int YearIndexOfRow(const ProjectionTables& tables, int row) {
  if (row < 1 || row > tables.TableRowCount || row > YearSlots) return -1;
  const int year = tables.RowAges[row - 1] - tables.TableStartAge;
  return year >= 0 && year <= tables.LastYearIndex() && year < YearSlots ? year : -1;
}

EditRefusal JudgeEdit(const ProjectionTables& tables, ResultGrid grid, int variable, int row) {
  const int year = YearIndexOfRow(tables, row);
  if (year < 0) return EditRefusal::OutsideTable;
  const bool computed = IsComputedVariable(variable);
  if (grid == ResultGrid::BeforeThin && row > 1 && !computed) return EditRefusal::FirstYearOnly;
  if (computed) return EditRefusal::Computed;
  if (grid != ResultGrid::BeforeThin && !tables.IsThinningAge(tables.RowAges[row - 1]))
    return EditRefusal::ThinningYearsOnly;
  if (TypingConflict(tables, variable, year)) return EditRefusal::Blocked;
  return EditRefusal::None;
}

std::optional<Message> RefusalMessage(EditRefusal refusal, Language language) {
  switch (refusal) {
    case EditRefusal::FirstYearOnly: return Error(Choose(FirstYearOnlyText, language));
    case EditRefusal::Computed: return Error(Choose(ComputedText, language));
    case EditRefusal::ThinningYearsOnly: return Error(Choose(ThinningYearsOnlyText, language));
    case EditRefusal::Blocked: return Error(Choose(BlockedText, language));
    default: return std::nullopt;
  }
}

KeystrokeVerdict GridSetEditText(TypingState& state, const ProjectionTables& tables, ResultGrid grid,
                                 std::span<const std::uint8_t> columns, int column, int row,
                                 const std::string& text, Language language) {
  state.PendingOf(grid) = {column, row, text};
  const int variable = VariableOfColumn(columns, column);
  const EditRefusal refusal =
      variable < 0 ? EditRefusal::OutsideTable : JudgeEdit(tables, grid, variable, row);
  if (refusal == EditRefusal::OutsideTable) return {};

  KeystrokeVerdict verdict;
  if (refusal != EditRefusal::None && !state.EditChecked) {
    verdict.Refusal = RefusalMessage(refusal, language);
    verdict.ResetCell = true;
  }
  state.EditChecked = true;
  return verdict;
}

bool CellIsTyped(const ProjectionTables& tables, std::span<const std::uint8_t> columns, int column,
                 int row) {
  const int variable = VariableOfColumn(columns, column);
  const int year = YearIndexOfRow(tables, row);
  return variable >= 0 && year >= 0 && tables.Typed(variable, year);
}

CommitResult CommitEdit(TypingState& state, ProjectionTables& tables, ResultGrid grid,
                        std::span<const std::uint8_t> columns, const RegimeSettings& regime,
                        Language language, char decimalSeparator) {
  const PendingEdit edit = state.PendingOf(grid);
  state.PendingOf(grid) = {};

  CommitResult result;
  const int v = VariableOfColumn(columns, edit.Column);
  if (v < 0 || edit.Row < 1 || edit.Row > tables.TableRowCount) return result;
  result.Committed = true;
  result.Column = edit.Column;
  result.Row = edit.Row;
  if (edit.Text.empty() || JudgeEdit(tables, grid, v, edit.Row) != EditRefusal::None) return result;

  const int year = YearIndexOfRow(tables, edit.Row);
  std::string text = edit.Text;
  std::replace(text.begin(), text.end(), ',', '.');
  double value = 0;
  if (!ParseFloat(text, '.', value)) {
    if (tables.UserFixed[v][year]) {
      tables.UserFixed[v][year] = false;
      UncountTyped(tables, v);
      result.TypedValuesChanged = true;
    }
    result.Messages.push_back(Error(InvalidNumberText(language)));
    return result;
  }

  if (Outside(value, VariableMin(v), VariableMax(v))) {
    result.Messages.push_back(Error(
        Choose(RangeOpening, language) + Quoted(value, decimalSeparator) + Choose(RangeMiddle, language) +
        SymbolOf(v, language) + Choose(RangeIs, language) + "[" +
        FormatGeneral(VariableMin(v), decimalSeparator) + "; " +
        FormatGeneral(VariableMax(v), decimalSeparator) + "]   "));
    return result;
  }

  if (grid != ResultGrid::BeforeThin &&
      !JudgeThinningValue(tables, grid, regime, v, year, value, language, decimalSeparator,
                          result.Messages))
    return result;

  StoreTyped(tables, v, year, value);
  result.Stored = true;
  result.TypedValuesChanged = true;
  return result;
}

int InitStateVariableOfRow(int row, bool dominantHeight) {
  switch (row) {
    case 0: return dominantHeight ? HD1 : Hg1;
    case 1: return D1;
    case 2: return N1;
    case 3: return G1;
    case 4: return RTA1;
    default: return NoVariable;
  }
}

InitStateTexts SetInitStateVariables(bool dominantHeight, Language language) {
  InitStateTexts headings;
  for (int row = 0; row < InitStateRows; ++row) headings[row] = Choose(InitStateHeadings[row], language);
  if (!dominantHeight) headings[0] = Choose(MeanHeightHeading, language);
  return headings;
}

std::string InitStateCellText(const ProjectionTables& tables, int row, bool dominantHeight,
                              Language language, char decimalSeparator) {
  const int v = InitStateVariableOfRow(row, dominantHeight);
  const double x = tables.Value(v, 0);
  return WithinDisplayRange(v, x) ? FormatFixed(x, Decimals(v), decimalSeparator) : ErrorText(language);
}

InitStateTexts WriteInitialState(TypingState& state, const ProjectionTables& tables,
                                 bool gridEnabled, bool dominantHeight, Language language,
                                 char decimalSeparator) {
  InitStateTexts cells;
  if (!gridEnabled) return cells;
  for (int row = 0; row < InitStateRows; ++row) {
    cells[row] = InitStateCellText(tables, row, dominantHeight, language, decimalSeparator);
    // What the row shows, rounded: only a change of it counts as an edit.
    double shown = 0;
    if (ParseFloat(cells[row], decimalSeparator, shown)) state.InitStateShown[row] = shown;
  }
  return cells;
}

ReadInitialStateResult ReadInitialState(TypingState& state, ProjectionTables& tables,
                                        const InitStateTexts& cells, bool dominantHeight,
                                        Language language, char decimalSeparator) {
  ReadInitialStateResult result;
  std::array<bool, InitStateRows> holdsNumber{};
  std::array<double, InitStateRows> numbers{};
  for (int row = 0; row < InitStateRows; ++row) {
    if (cells[row].empty() || IsErrorOrNotApplicable(cells[row])) continue;
    holdsNumber[row] = true;
    if (!ParseFloat(cells[row], decimalSeparator, numbers[row])) {
      result.Messages.push_back(Error(InvalidNumberText(language)));
      result.FocusGrid = true;
      return result;
    }
  }

  const CheckContext context{language, decimalSeparator};
  bool earlierRowsOk = true;
  for (int row = 0; row < InitStateRows; ++row) {
    bool ok = !cells[row].empty();  // an error or not-applicable text counts as ok, unchanged
    if (holdsNumber[row]) {
      ok = CheckRangeA(FirstStateRangeKind + row, cells[row], context, earlierRowsOk, result.Messages);
      const int v = InitStateVariableOfRow(row, dominantHeight);
      if (ok && numbers[row] != state.InitStateShown[row] && !TypingConflict(tables, v, 0)) {
        StoreTyped(tables, v, 0, numbers[row]);
        state.InitStateShown[row] = numbers[row];
        result.Stored = true;
      }
    }
    earlierRowsOk = earlierRowsOk && ok;
  }
  return result;
}

InitStateKeystrokeVerdict InitStateSetEditText(TypingState& state, const ProjectionTables& tables,
                                               int row, bool dominantHeight, Language language,
                                               char decimalSeparator) {
  InitStateKeystrokeVerdict verdict;
  const int v = InitStateVariableOfRow(row, dominantHeight);
  if (!state.EditChecked && v != NoVariable && TypingConflict(tables, v, 0)) {
    verdict.Refusal = Error(Choose(BlockedText, language));
    verdict.ResetText = InitStateCellText(tables, row, dominantHeight, language, decimalSeparator);
  }
  state.EditChecked = true;
  return verdict;
}

bool DeleteEntry(ProjectionTables& tables, int variable, int yearIndex) {
  if (variable < 0 || variable >= VariableCount || yearIndex < 0 || yearIndex >= YearSlots ||
      !tables.UserFixed[variable][yearIndex])
    return false;
  tables.UserFixed[variable][yearIndex] = false;
  UncountTyped(tables, variable);
  return true;
}

bool DeleteInitStateEntry(ProjectionTables& tables, int row, bool dominantHeight) {
  return DeleteEntry(tables, InitStateVariableOfRow(row, dominantHeight), 0);
}

std::optional<Message> ClearTableQuestion(const ProjectionTables& tables, Language language) {
  if (!tables.StateTableTyped && !tables.ThinTableTyped) return std::nullopt;
  return Message{MessageKind::Question, Choose(ClearQuestion, language), Choose(ClearCaption, language)};
}

bool ClearTable(ProjectionTables& tables, TypingState& state) {
  const bool hadTypedValues = tables.StateTableTyped || tables.ThinTableTyped;
  tables.ClearUserFixed();
  state.ForgetPendingEdits();
  return hadTypedValues;
}

}  // namespace orven
