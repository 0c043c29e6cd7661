#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "messages/Messages.h"
#include "model/Language.h"
#include "projection/ProjectionTables.h"
#include "projection/ThinningRegime.h"

namespace orven {

// Values the user types into the tables: which may be typed where, how a
// typed text is judged, stored and counted, and the first-year state grid.
// Year positions are zero-based year indices throughout.

// The three result grids.
enum class ResultGrid { BeforeThin, Thinning, Remaining };

// The texts of a value that cannot be shown, and of a property of a thinning
// that removed next to nothing.
const char* ErrorText(Language language);
const char* NotApplicableText(Language language);

// An edit being typed into one result grid; column and row -1 when none.
struct PendingEdit {
  int Column = -1;
  int Row = -1;
  std::string Text;
};

inline constexpr int InitStateRows = 5;  // rows of sgInitState

// What the typing rules remember between events.
struct TypingState {
  std::array<double, InitStateRows> InitStateShown{};  // value last written into each sgInitState row
  std::array<PendingEdit, 3> Pending;      // by ResultGrid
  bool EditChecked = false;                // the current edit has been judged

  PendingEdit& PendingOf(ResultGrid grid) { return Pending[static_cast<int>(grid)]; }
  void ForgetPendingEdits() { Pending = {}; }
};

// True when typing the variable in that year would over-determine the stand,
// given the values already typed there.
bool TypingConflict(const ProjectionTables& tables, int variable, int yearIndex);

// The variable of a used column; -1 for a column outside them.
int VariableOfColumn(std::span<const std::uint8_t> columns, int column);

// The year index of data row `row` (from 1) through RowAges; -1 when the row
// lies outside the table.
int YearIndexOfRow(const ProjectionTables& tables, int row);

// The used columns of a grid: entries 0 .. lastColumn of its column list.
inline std::span<const std::uint8_t> UsedColumns(
    const std::array<std::uint8_t, ColumnSelection::Slots>& columns, int lastColumn) {
  return std::span<const std::uint8_t>(columns).first(static_cast<std::size_t>(lastColumn) + 1);
}

// Why an edit of a result-grid cell is refused, in the order the reasons are
// looked for.
enum class EditRefusal { None, FirstYearOnly, Computed, ThinningYearsOnly, Blocked, OutsideTable };

EditRefusal JudgeEdit(const ProjectionTables& tables, ResultGrid grid, int variable, int row);

// The message of a refusal (none for None and OutsideTable).
std::optional<Message> RefusalMessage(EditRefusal refusal, Language language);

// A keystroke in a result-grid cell. A refused edit is reported once per
// edit: the message, and the cell is to be rewritten with its text from the
// table (DataCellText of tables/TableCells.h, which never prints the sentinel).
struct KeystrokeVerdict {
  std::optional<Message> Refusal;
  bool ResetCell = false;
};

KeystrokeVerdict GridSetEditText(TypingState& state, const ProjectionTables& tables, ResultGrid grid,
                                 std::span<const std::uint8_t> columns, int column, int row,
                                 const std::string& text, Language language);

// Selecting a cell, or entering sgInitState, starts a new edit.
inline void GridSelectCell(TypingState& state) { state.EditChecked = false; }

// True when the cell holds a value typed by the user (the delete commands).
bool CellIsTyped(const ProjectionTables& tables, std::span<const std::uint8_t> columns, int column,
                 int row);

// The outcome of committing a pending edit. When Committed, the caller
// recomputes the table (automatic updating) or rewrites cell (Column, Row).
struct CommitResult {
  MessageList Messages;  // in the order they are shown
  bool Committed = false;
  bool Stored = false;
  bool TypedValuesChanged = false;  // a value was stored or a typed value was cleared
  int Column = -1;
  int Row = -1;
};

// Commits the pending edit of one grid (CheckBeforeThin, CheckThinning,
// CheckRemaining), then forgets it.
CommitResult CommitEdit(TypingState& state, ProjectionTables& tables, ResultGrid grid,
                        std::span<const std::uint8_t> columns, const RegimeSettings& regime,
                        Language language, char decimalSeparator);

// The first-year state grid sgInitState: one variable a row.
using InitStateTexts = std::array<std::string, InitStateRows>;

int InitStateVariableOfRow(int row, bool dominantHeight);
InitStateTexts SetInitStateVariables(bool dominantHeight, Language language);

// The text of one row: the first-year value, or the error text.
std::string InitStateCellText(const ProjectionTables& tables, int row, bool dominantHeight,
                              Language language, char decimalSeparator);

// The five value cells; remembers what each row shows. A disabled grid is empty.
InitStateTexts WriteInitialState(TypingState& state, const ProjectionTables& tables,
                                 bool gridEnabled, bool dominantHeight, Language language,
                                 char decimalSeparator);

struct ReadInitialStateResult {
  MessageList Messages;
  bool FocusGrid = false;  // a text was not a number: nothing was stored
  bool Stored = false;
};

// Reads the five cells back and stores every valid row that was changed.
ReadInitialStateResult ReadInitialState(TypingState& state, ProjectionTables& tables,
                                        const InitStateTexts& cells, bool dominantHeight,
                                        Language language, char decimalSeparator);

// A keystroke in sgInitState: a blocked row is refused once per edit and reset.
struct InitStateKeystrokeVerdict {
  std::optional<Message> Refusal;
  std::optional<std::string> ResetText;
};

InitStateKeystrokeVerdict InitStateSetEditText(TypingState& state, const ProjectionTables& tables,
                                               int row, bool dominantHeight, Language language,
                                               char decimalSeparator);

// Deletes one typed value (of a result grid, or of an sgInitState row) and
// drops its count; false when the cell held no typed value.
bool DeleteEntry(ProjectionTables& tables, int variable, int yearIndex);
bool DeleteInitStateEntry(ProjectionTables& tables, int row, bool dominantHeight);

// The question asked before every typed value is cleared; none when nothing
// is typed.
std::optional<Message> ClearTableQuestion(const ProjectionTables& tables, Language language);

// Clears every typed value and forgets the pending edits; true when typed
// values existed (the table must be recomputed).
bool ClearTable(ProjectionTables& tables, TypingState& state);

}  // namespace orven
