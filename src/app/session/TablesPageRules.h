#pragma once

#include <array>
#include <optional>
#include <string>

#include "projection/ThinningSchedule.h"
#include "tables/TableCells.h"

namespace orven {

class Session;

// The rules of the tables page that are not handlers of the session itself:
// the controls below the grids, the up-down buttons, the heading positions,
// the colours of sgInitState and the closing of the column dialog.

// What the controls below the result grids let the user touch.
struct ScheduleControls {
  bool ShowYears = false;     // rgShowYears
  bool ThinInterval = false;  // rgThinInterval
  ThinIntervalObjects Objects;
};
ScheduleControls ScheduleControlsOf(const Session& session);

// What values typed into the tables lock on the thinning-preset page, on top
// of the workflow's own enabling: the first year's inputs while any value is
// typed, the regime and the end age while thinnings are typed.
struct ThinningPageLocks {
  bool Preset = true;         // rgPreset, sbtnHelpP4
  bool TargetGGroup = true;   // gbTargetG with its radio items and edit
  bool ThinningGroup = true;  // gbThinning with its edits, track bars and rgMeasure
  bool AgeRange = true;       // gbAgeRange, lblEndAge, edtEndAge, lblYear2
  bool StartAge = true;       // lblStartAge, edtStartAge, lblYear1
};
ThinningPageLocks ThinningPageLocksOf(const Session& session);

// The text an up-down button writes into its interval edit: one step from the
// edit's number, kept within 1 to 200. A text that is no number steps from 1.
std::string UpDownText(const std::string& editText, int step);

// An up-down button of edtThinInterval1 (which 1) or edtThinInterval2 (which
// 2) was clicked: the edit takes the stepped number and the interval is
// examined and applied.
void ThinIntervalStepped(Session& session, int which, int step);
// An interval edit was left, or Return pressed in it; false when refused.
bool ThinIntervalEntered(Session& session, int which, const std::string& text);

// Where the three headings of pnlLabels stand (left edges), from the grids'
// left edges and widths, the headings' text widths and the panel's width.
std::array<int, 3> CaptionPositions(const std::array<int, 3>& gridLeft, const std::array<int, 3>& gridWidth,
                                    const std::array<int, 3>& textWidth, int panelWidth);

// The colours of a value cell of sgInitState (the headings are button face on black).
CellColours InitStateColours(const ProjectionTables& tables, int row, bool dominantHeight, bool gridEnabled,
                             bool selected);

// A keystroke in row `row` of sgInitState: the text is kept for the reading
// of the grid, unless the row is blocked; then (once per edit) the refusal is
// queued and the text the cell must show again is returned.
std::optional<std::string> InitStateKeystroke(Session& session, int row, const std::string& text);

// The column dialog was closed: its check marks become the grids' columns and
// the table is computed again.
void ColumnDialogClosed(Session& session);

}  // namespace orven
