#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "model/Sentinel.h"
#include "projection/TypedValues.h"

namespace orven {
namespace {

constexpr char Point = '.';
constexpr char Comma = ',';

// A table from age 20 to 40 with thinnings at 25 and 30, all years shown,
// and a grid whose column k shows variable k, so that edits name variables.
class TypedValuesTest : public ::testing::Test {
protected:
  void SetUp() override {
    tables.TableStartAge = 20;
    tables.TableEndAge = 40;
    tables.TableRowCount = 21;
    for (int r = 1; r <= tables.TableRowCount; ++r) tables.RowAges[r - 1] = 19 + r;
    for (int age : {25, 30}) {
      tables.ThinAgeSet.set(age);
      tables.IsThinYear[age - 20] = true;
    }
    for (int year = 0; year <= 20; ++year) {
      tables.Value(D1, year) = 14.46;
      tables.Value(N1, year) = 1000;
      tables.Value(G1, year) = 30;
      tables.Value(V1, year) = 250;
      tables.Value(RTA1, year) = 20;
    }
    columns.resize(VariableCount);
    std::iota(columns.begin(), columns.end(), 0);
  }

  // Types a text into a cell and moves on.
  CommitResult Type(ResultGrid grid, int variable, int row, const std::string& text,
                    Language language = Language::English, char separator = Point) {
    GridSelectCell(state);
    GridSetEditText(state, tables, grid, columns, variable, row, text, language);
    return CommitEdit(state, tables, grid, columns, regime, language, separator);
  }

  void TypeAt(int variable, int year) {
    tables.UserFixed[variable][year] = true;
  }

  ProjectionTables tables;
  RegimeSettings regime;
  TypingState state;
  std::vector<std::uint8_t> columns;
};

constexpr int ThinRow = 6;  // age 25
constexpr int ThinYear = 5;

TEST_F(TypedValuesTest, TypingConflictFollowsBothTables) {
  struct Case {
    std::vector<int> typed;
    int variable;
    bool conflict;
  };
  const Case cases[] = {
      {{D1, N1, G1}, HD1, true},  // three first-year values already
      {{N1, RTA1}, HD1, true},    {{N1, RTA1}, Hg1, true},   {{N1, RTA1}, D1, false},
      {{HD1}, Hg1, true},         {{Hg1}, HD1, true},        {{D1, G1}, N1, true},
      {{D1}, N1, false},          {{HD1, RTA1}, N1, true},   {{HD1, N1}, RTA1, true},
      {{D1, N1}, G1, true},       {{D1, HD1}, G1, false},    {{}, HD1, false},
      {{G2}, V2, true},           {{V2}, G2, true},          {{G2}, D2, false},
      {{N2}, G2, false},          {{D2}, Q1, true},          {{Q1}, Q3, true},
      {{G2, D2}, N2, true},  // a third thinning value
      {{G3}, V3, true},           {{N3}, RTA3, true},        {{G3}, N3, false},
      {{D3}, RTA3, false},        {{D3, G3}, RTA3, true},    {{G2, D2}, HD1, false},
  };
  for (const Case& c : cases) {
    tables.ClearUserFixed();
    for (int v : c.typed) TypeAt(v, ThinYear);
    EXPECT_EQ(TypingConflict(tables, c.variable, ThinYear), c.conflict)
        << SymbolOf(c.variable, Language::English) << " after " << c.typed.size() << " typed";
    EXPECT_FALSE(TypingConflict(tables, c.variable, ThinYear + 1)) << "other years are free";
  }
}

TEST_F(TypedValuesTest, ThinningAndRemainingValuesNeverCombine) {
  for (int thinning : {D2, N2, G2, V2, Q1, Q3})
    for (int remaining : {D3, N3, G3, V3, RTA3}) {
      tables.ClearUserFixed();
      TypeAt(thinning, ThinYear);
      EXPECT_TRUE(TypingConflict(tables, remaining, ThinYear));
      tables.ClearUserFixed();
      TypeAt(remaining, ThinYear);
      EXPECT_TRUE(TypingConflict(tables, thinning, ThinYear));
    }
}

TEST_F(TypedValuesTest, RefusalsAreLookedForInOrder) {
  TypeAt(G2, ThinYear);
  struct Case {
    ResultGrid grid;
    int variable, row;
    EditRefusal refusal;
  };
  const Case cases[] = {
      {ResultGrid::BeforeThin, D1, 1, EditRefusal::None},
      {ResultGrid::BeforeThin, D1, 2, EditRefusal::FirstYearOnly},
      {ResultGrid::BeforeThin, V1, 2, EditRefusal::Computed},
      {ResultGrid::Thinning, N2, 2, EditRefusal::ThinningYearsOnly},
      {ResultGrid::Thinning, RTA2, 2, EditRefusal::Computed},
      {ResultGrid::Thinning, V2, ThinRow, EditRefusal::Blocked},
      {ResultGrid::Thinning, D2, ThinRow, EditRefusal::None},
      {ResultGrid::Remaining, D3, ThinRow + 5, EditRefusal::None},
      {ResultGrid::Remaining, D3, 22, EditRefusal::OutsideTable},
  };
  for (const Case& c : cases)
    EXPECT_EQ(JudgeEdit(tables, c.grid, c.variable, c.row), c.refusal)
        << SymbolOf(c.variable, Language::English) << " row " << c.row;
}

TEST_F(TypedValuesTest, DecimalCommaIsStoredAndCounted) {
  CommitResult result = Type(ResultGrid::BeforeThin, D1, 1, "14,5");
  EXPECT_TRUE(result.Messages.empty());
  EXPECT_TRUE(result.Stored);
  EXPECT_DOUBLE_EQ(tables.Value(D1, 0), 14.5);
  EXPECT_TRUE(tables.Typed(D1, 0));
  EXPECT_EQ(tables.StateTypedCount, 1);
  EXPECT_TRUE(tables.StateTableTyped);
  EXPECT_EQ(tables.ThinTypedCount, 0);

  // Typing over a typed value does not count it twice.
  Type(ResultGrid::BeforeThin, D1, 1, "15.25");
  EXPECT_DOUBLE_EQ(tables.Value(D1, 0), 15.25);
  EXPECT_EQ(tables.StateTypedCount, 1);
  EXPECT_EQ(state.PendingOf(ResultGrid::BeforeThin).Row, -1);
}

TEST_F(TypedValuesTest, TextThatIsNotANumberClearsATypedValue) {
  Type(ResultGrid::BeforeThin, D1, 1, "14,5");
  CommitResult result = Type(ResultGrid::BeforeThin, D1, 1, "abc");
  ASSERT_EQ(result.Messages.size(), 1u);
  EXPECT_EQ(result.Messages[0].Text, "   Invalid character(s): String is not a valid number!   ");
  EXPECT_FALSE(result.Stored);
  EXPECT_TRUE(result.TypedValuesChanged);
  EXPECT_FALSE(tables.Typed(D1, 0));
  EXPECT_EQ(tables.StateTypedCount, 0);
  EXPECT_FALSE(tables.StateTableTyped);

  // Never a NaN or an infinity in a cell.
  for (const char* text : {"nan", "inf", "1e999", "-1e999", "1,2,3", "0x10", "1.5.", "- 3"}) {
    CommitResult refused = Type(ResultGrid::Thinning, G2, ThinRow, text);
    EXPECT_FALSE(refused.Stored) << text;
    EXPECT_FALSE(refused.TypedValuesChanged) << text;
    ASSERT_EQ(refused.Messages.size(), 1u) << text;
    EXPECT_EQ(refused.Messages[0].Kind, MessageKind::Error);
  }
  EXPECT_EQ(tables.ThinTypedCount, 0);
}

TEST_F(TypedValuesTest, RefusalIsShownOncePerEdit) {
  std::vector<KeystrokeVerdict> verdicts;
  GridSelectCell(state);
  for (const char* text : {"1", "12", "12,"})
    verdicts.push_back(GridSetEditText(state, tables, ResultGrid::BeforeThin, columns, D1, 2, text,
                                       Language::Danish));
  ASSERT_TRUE(verdicts[0].Refusal.has_value());
  EXPECT_EQ(verdicts[0].Refusal->Text,
            "   Denne variabel kan kun tilskrives en værdi   \r\n   i produktionsoversigtens første år!   ");
  EXPECT_TRUE(verdicts[0].ResetCell);
  for (int k : {1, 2}) {
    EXPECT_FALSE(verdicts[k].Refusal.has_value());
    EXPECT_FALSE(verdicts[k].ResetCell);
  }
  CommitResult result = CommitEdit(state, tables, ResultGrid::BeforeThin, columns, regime,
                                   Language::Danish, Comma);
  EXPECT_TRUE(result.Committed);  // the cell is rewritten from the table
  EXPECT_FALSE(result.Stored);
  EXPECT_TRUE(result.Messages.empty());
  EXPECT_FALSE(tables.Typed(D1, 1));

  GridSelectCell(state);
  EXPECT_TRUE(GridSetEditText(state, tables, ResultGrid::BeforeThin, columns, D1, 2, "1",
                              Language::Danish).Refusal.has_value());
}

TEST_F(TypedValuesTest, NothingPendingOrEmptyTextCommitsNothing) {
  CommitResult nothing = CommitEdit(state, tables, ResultGrid::Thinning, columns, regime,
                                    Language::English, Point);
  EXPECT_FALSE(nothing.Committed);

  CommitResult empty = Type(ResultGrid::Thinning, G2, ThinRow, "");
  EXPECT_TRUE(empty.Committed);
  EXPECT_FALSE(empty.Stored);
  EXPECT_TRUE(empty.Messages.empty());

  GridSetEditText(state, tables, ResultGrid::Thinning, columns, VariableCount + 3, ThinRow, "5",
                  Language::English);
  EXPECT_FALSE(CommitEdit(state, tables, ResultGrid::Thinning, columns, regime, Language::English,
                          Point).Committed);
}

TEST_F(TypedValuesTest, OutOfRangeValueIsRefusedWithItsRange) {
  CommitResult english = Type(ResultGrid::Thinning, D2, ThinRow, "250");
  ASSERT_EQ(english.Messages.size(), 1u);
  EXPECT_EQ(english.Messages[0].Text,
            "   The value entered, \"250\", is out of range!   \r\n"
            "   The allowed range of D2 is: [1; 200]   ");

  CommitResult danish = Type(ResultGrid::Remaining, RTA3, ThinRow, "250,5", Language::Danish, Comma);
  ASSERT_EQ(danish.Messages.size(), 1u);
  EXPECT_EQ(danish.Messages[0].Text,
            "   Den indtastede værdi, \"250,5\", er uden for det tilladte interval!   \r\n"
            "   Det tilladte interval for RTA3 er: [5; 200]   ");
  EXPECT_EQ(tables.ThinTypedCount, 0);
  EXPECT_FALSE(tables.Typed(D2, ThinYear));
}

TEST_F(TypedValuesTest, ThinningCannotExceedTheStandBeforeThinning) {
  CommitResult result = Type(ResultGrid::Thinning, N2, ThinRow, "1200");
  ASSERT_EQ(result.Messages.size(), 1u);
  EXPECT_EQ(result.Messages[0].Text,
            "   With the value entered for N2, \"1200\", the thinning would exceed what existed before thinning!   ");
  EXPECT_FALSE(tables.Typed(N2, ThinYear));
  EXPECT_TRUE(Type(ResultGrid::Thinning, N2, ThinRow, "1000").Stored);  // all of it is allowed
}

TEST_F(TypedValuesTest, RemainingStandCannotExceedTheStandBeforeThinning) {
  struct Case {
    int variable;
    const char* text;
    bool refused;
  };
  const Case cases[] = {
      {RTA3, "12,5", true}, {RTA3, "20", false}, {G3, "30,5", true},
      {V3, "251", true},    {N3, "1001", true},  {N3, "999", false},
  };
  for (const Case& c : cases) {
    tables.ClearUserFixed();
    CommitResult result = Type(ResultGrid::Remaining, c.variable, ThinRow, c.text, Language::Danish, Comma);
    EXPECT_EQ(result.Stored, !c.refused) << c.text;
    if (c.refused && c.variable == RTA3) {
      EXPECT_EQ(result.Messages.at(0).Text,
                "   Med den indtastede værdi af RTA3, \"12,5\", kræver du at mere skal efterlades end der fandtes før tynding!   ");
    }
  }
}

TEST_F(TypedValuesTest, ConstraintWarningsComeInOrderAndDoNotPreventStoring) {
  const std::string g1Window =
      "   Please note that this year the basal area before thinning   \r\n   is not within the G1 range specified. However, the constraint   \r\n   is overruled by your thinning specification!   ";
  struct Case {
    ResultGrid grid;
    int variable;
    const char* text;
    bool basalAreaMeasure;
    std::vector<std::string> warnings;
  };
  const Case cases[] = {
      {ResultGrid::Thinning, V2, "80", true,
       {g1Window, "   With the value entered for V2, \"80\", you violate the V2 constraints specified!   "}},
      {ResultGrid::Remaining, V3, "240", true, {g1Window}},  // 10 m3 thinned: within limits
      {ResultGrid::Thinning, G2, "12", false,
       {g1Window, "   With the value entered for G2, \"12\", the ratio G2/G1 violates the constraints!   ",
        "   With the value entered for G2, \"12\", you violate the G3 constraints specified!   "}},
      {ResultGrid::Remaining, G3, "18", true,
       {g1Window, "   With the value entered for G3, \"18\", the ratio G2/G1 violates the constraints!   "}},
      {ResultGrid::Remaining, RTA3, "45", true,
       {g1Window, "   With the value entered for RS3, \"45\", you violate the RS3 constraints specified!   "}},
      {ResultGrid::Remaining, RTA3, "45", false, {g1Window}},
  };
  regime.ThinGMax = 28;  // G1 = 30 lies above the window
  regime.ThinVMin = 5;
  regime.ThinVMax = 50;
  regime.ThinPctMax = 30;
  regime.RemRSMax = 40;
  regime.RemGMin = 20;
  for (const Case& c : cases) {
    tables.ClearUserFixed();
    regime.MeasureIsBasalArea = c.basalAreaMeasure;
    CommitResult result = Type(c.grid, c.variable, ThinRow, c.text);
    EXPECT_TRUE(result.Stored) << c.text;
    EXPECT_EQ(tables.ThinTypedCount, 1);
    EXPECT_TRUE(tables.ThinTableTyped);
    ASSERT_EQ(result.Messages.size(), c.warnings.size()) << c.text;
    for (std::size_t k = 0; k < c.warnings.size(); ++k) {
      EXPECT_EQ(result.Messages[k].Text, c.warnings[k]);
      EXPECT_EQ(result.Messages[k].Kind, MessageKind::Information);
    }
  }
}

TEST_F(TypedValuesTest, SecondThinningValueIsStoredUnlessBlocked) {
  EXPECT_TRUE(Type(ResultGrid::Thinning, G2, ThinRow, "5").Stored);
  EXPECT_FALSE(Type(ResultGrid::Thinning, V2, ThinRow, "40").Stored);
  EXPECT_TRUE(Type(ResultGrid::Thinning, D2, ThinRow, "13").Stored);
  EXPECT_EQ(tables.ThinTypedCount, 2);
  EXPECT_FALSE(Type(ResultGrid::Thinning, N2, ThinRow, "100").Stored);  // a third
}

TEST_F(TypedValuesTest, InitialStateShowsRoundedValuesAndErrors) {
  tables.Value(HD1, 0) = 12.34;
  tables.Value(Hg1, 0) = 11.0;
  tables.Value(N1, 0) = Sentinel;
  InitStateTexts cells = WriteInitialState(state, tables, true, true, Language::Danish, Comma);
  EXPECT_EQ(cells, (InitStateTexts{"12,3", "14,5", "FEJL", "30,00", "20,0"}));
  EXPECT_DOUBLE_EQ(state.InitStateShown[1], 14.5);
  EXPECT_EQ(WriteInitialState(state, tables, true, false, Language::English, Point)[0], "11.0");
  EXPECT_EQ(WriteInitialState(state, tables, false, true, Language::English, Point), InitStateTexts{});

  EXPECT_EQ(SetInitStateVariables(false, Language::English)[0], " Stand height, Hg (m)");
  EXPECT_EQ(InitStateVariableOfRow(0, false), Hg1);
  EXPECT_EQ(InitStateVariableOfRow(4, true), RTA1);
}

TEST_F(TypedValuesTest, ReadingTheShownValuesChangesNothing) {
  tables.Value(HD1, 0) = 12.34;
  InitStateTexts cells = WriteInitialState(state, tables, true, true, Language::Danish, Comma);
  ReadInitialStateResult same = ReadInitialState(state, tables, cells, true, Language::Danish, Comma);
  EXPECT_FALSE(same.Stored);
  EXPECT_TRUE(same.Messages.empty());
  EXPECT_FALSE(tables.StateTableTyped);

  cells[1] = "16";
  cells[2] = "FEJL";
  ReadInitialStateResult changed = ReadInitialState(state, tables, cells, true, Language::Danish, Comma);
  EXPECT_TRUE(changed.Stored);
  EXPECT_DOUBLE_EQ(tables.Value(D1, 0), 16);
  EXPECT_EQ(tables.StateTypedCount, 1);
  EXPECT_FALSE(tables.Typed(N1, 0));
  EXPECT_DOUBLE_EQ(state.InitStateShown[1], 16);
}

TEST_F(TypedValuesTest, ReadingStopsAtATextThatIsNotANumber) {
  InitStateTexts cells = WriteInitialState(state, tables, true, true, Language::English, Point);
  cells[0] = "15";
  cells[3] = "3O";
  ReadInitialStateResult result = ReadInitialState(state, tables, cells, true, Language::English, Point);
  EXPECT_TRUE(result.FocusGrid);
  ASSERT_EQ(result.Messages.size(), 1u);
  EXPECT_EQ(result.Messages[0].Text, "   Invalid character(s): String is not a valid number!   ");
  EXPECT_FALSE(tables.StateTableTyped);
}

TEST_F(TypedValuesTest, OnlyTheFirstOutOfRangeRowIsReported) {
  InitStateTexts cells = WriteInitialState(state, tables, true, true, Language::English, Point);
  cells[0] = "60";
  cells[1] = "300";
  cells[2] = "900";
  ReadInitialStateResult result = ReadInitialState(state, tables, cells, true, Language::English, Point);
  ASSERT_EQ(result.Messages.size(), 1u);
  EXPECT_EQ(result.Messages[0].Text,
            "   A value entered or derived (60) is out or range!   \r\n   The valid range is: 1.3 - 55   ");
  EXPECT_TRUE(tables.Typed(N1, 0));  // a valid row is still stored
  EXPECT_FALSE(tables.Typed(HD1, 0));
  EXPECT_EQ(tables.StateTypedCount, 1);

  // An empty row is not ok either: the later message is left out.
  cells = {"", "300", "1000", "30.00", "20.0"};
  EXPECT_TRUE(ReadInitialState(state, tables, cells, true, Language::English, Point).Messages.empty());
}

TEST_F(TypedValuesTest, BlockedInitialStateRowIsRefusedAndReset) {
  TypeAt(N1, 0);
  TypeAt(RTA1, 0);
  tables.Value(HD1, 0) = 12.34;
  state.EditChecked = false;
  InitStateKeystrokeVerdict first = InitStateSetEditText(state, tables, 0, true, Language::English, Point);
  ASSERT_TRUE(first.Refusal.has_value());
  EXPECT_EQ(first.Refusal->Text, "   Because of previous specifications this variable is blocked this year!   ");
  EXPECT_EQ(first.ResetText, "12.3");
  EXPECT_FALSE(InitStateSetEditText(state, tables, 0, true, Language::English, Point).Refusal.has_value());

  // A blocked row that was changed is not stored.
  InitStateTexts cells = WriteInitialState(state, tables, true, true, Language::English, Point);
  cells[0] = "14";
  EXPECT_FALSE(ReadInitialState(state, tables, cells, true, Language::English, Point).Stored);
}

TEST_F(TypedValuesTest, DeletingTheLastTypedEntryClearsItsFlag) {
  Type(ResultGrid::Thinning, G2, ThinRow, "5");
  Type(ResultGrid::Thinning, D2, ThinRow, "13");
  Type(ResultGrid::BeforeThin, D1, 1, "15");

  EXPECT_TRUE(DeleteEntry(tables, G2, ThinYear));
  EXPECT_TRUE(tables.ThinTableTyped);
  EXPECT_FALSE(DeleteEntry(tables, G2, ThinYear));  // nothing typed there any more
  EXPECT_EQ(tables.ThinTypedCount, 1);
  EXPECT_TRUE(DeleteEntry(tables, D2, ThinYear));
  EXPECT_EQ(tables.ThinTypedCount, 0);
  EXPECT_FALSE(tables.ThinTableTyped);
  EXPECT_TRUE(tables.StateTableTyped);

  EXPECT_TRUE(DeleteInitStateEntry(tables, 1, true));
  EXPECT_FALSE(tables.StateTableTyped);
  EXPECT_FALSE(tables.Typed(D1, 0));
}

TEST_F(TypedValuesTest, ClearingAsksFirstAndForgetsEverything) {
  EXPECT_FALSE(ClearTableQuestion(tables, Language::English).has_value());
  EXPECT_FALSE(ClearTable(tables, state));

  Type(ResultGrid::Remaining, N3, ThinRow, "500");
  GridSetEditText(state, tables, ResultGrid::Thinning, columns, G2, ThinRow, "5", Language::English);
  std::optional<Message> question = ClearTableQuestion(tables, Language::Danish);
  ASSERT_TRUE(question.has_value());
  EXPECT_EQ(question->Kind, MessageKind::Question);
  EXPECT_EQ(question->Caption, "   Slet hugstbeskrivelse?   ");
  EXPECT_EQ(question->Text,
            "   Vil du slette den hugstbeskrivelse som du har indtastet i tabellerne?   ");

  EXPECT_TRUE(ClearTable(tables, state));
  EXPECT_FALSE(tables.Typed(N3, ThinYear));
  EXPECT_FALSE(tables.ThinTableTyped);
  EXPECT_EQ(tables.ThinTypedCount, 0);
  EXPECT_FALSE(CommitEdit(state, tables, ResultGrid::Thinning, columns, regime, Language::English,
                          Point).Committed);
}

}  // namespace
}  // namespace orven
