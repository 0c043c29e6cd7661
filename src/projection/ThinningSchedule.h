#pragma once

#include <string>
#include <vector>

#include "messages/Messages.h"
#include "model/Language.h"
#include "projection/ProjectionTables.h"

namespace orven {

// Items of rgThinInterval. Every other item (1, or none chosen) is the rule
// proportional to age.
inline constexpr int FixedIntervalItem = 0;
inline constexpr int VaryingListItem = 2;
// Item of rgShowYears that shows every year; every other shows thinnings only.
inline constexpr int AllYearsItem = 0;

// Rebuilds the four forms of the thinning ages by the rule of rgThinInterval
// and rewrites `thinYearText` (edtThinYear) as "30, 34, 40, ". RowAges is
// cleared as well; WriteTables refills it. A free list keeps its first 250
// ages; the result is the number of ages dropped beyond them.
int EstablishThinList(ProjectionTables& tables, int thinIntervalItem, std::string& thinYearText);

// The row count of SetTableLength: sets and returns TableRowCount (each grid
// has one header row more). The caller then sizes the grids and recomputes.
int SetTableRowCount(ProjectionTables& tables, int showYearsItem);

// The rows WriteTables writes: fills RowAges and returns the year index shown
// in each data row (element r - 1 for row r).
std::vector<int> MapRowsToYears(ProjectionTables& tables, int showYearsItem);

// The caption of the initial-state grid (lblInitState).
std::string InitStateLabel(int tableStartAge, Language language);

// edtStartAge: on acceptance TableStartAge := the value. The caller follows
// with SetTableLength, StartAgeKeyed and SetInitStateLabel; the thinning list
// is rebuilt when the tables or graphs page is shown. On refusal the edit
// gets the focus with its text selected.
bool ReadStartAge(ProjectionTables& tables, const std::string& text, Language language,
                  MessageList& messages);
// edtEndAge: on acceptance TableEndAge := the value. The caller follows with
// EstablishThinList, SetTableLength and SetInitStateLabel.
bool ReadEndAge(ProjectionTables& tables, const std::string& text, Language language,
                MessageList& messages);

// Checks the interval edit of the active rule (edtThinInterval1 for the fixed
// rule, else edtThinInterval2); when it passes, both intervals are applied and
// the caller follows with EstablishThinList and SetTableLength. On refusal the
// active edit gets the focus with its text selected.
bool ExamineThinInterval(ProjectionTables& tables, int thinIntervalItem,
                         const std::string& interval1Text, const std::string& interval2Text,
                         Language language, MessageList& messages);

// Enabled states of the interval controls. Years with typed thinnings must
// not move, so everything that moves them is locked while any are typed.
struct ThinIntervalObjects {
  bool Interval1 = false;      // edtThinInterval1, udThinInterval1, lblThinInterval1
  bool Interval2 = false;      // edtThinInterval2, udThinInterval2, lblThinInterval2
  bool ThinYearEdit = false;   // edtThinYear
  bool ThinYearLabel = false;  // lblThinYear
};
ThinIntervalObjects SetThinIntervalObjects(int thinIntervalItem, bool thinTableTyped);

}  // namespace orven
