#pragma once

#include <array>
#include <functional>
#include <string>

#include "messages/Messages.h"
#include "model/Language.h"
#include "projection/ThinningRegime.h"

namespace orven {

enum TrackBar : int { tbThinIstart, tbThinIend, tbThinMstart, tbThinMend };
inline constexpr int TrackBarMax = 20;

// The quantity that row 4 of the constraints limits: the one the chosen
// measure does not target.
enum class Constraint4 { NotDefined, RemainingSpacing, RemainingBasalArea };

// The thinning-preset page without its widgets: what the controls show and
// the regime they set. The view copies the texts and positions to its
// controls, passes the user's texts back, and shows the returned messages.
//
// The workflow steps are left to the caller, which advances them after these:
//   rgPresetClick -> EnableStep7;
//   rgTargetGClick, rgMeasureClick, and entering any edit or track bar of
//   either regime group (TrackBarEnter, ThinEditEnter) -> EnableStep8;
//   editing a cell of sgConstraints -> EnableStep10;
//   SetTargetBasalAreas disables gbAgeRange again when it was disabled before,
//   so that reselecting a regime does not unlock a later step.
// The click handlers and track bars also consume a pending help-pointer click
// in the caller.
struct RegimePage {
  Language language = Language::Danish;
  char decimalSeparator = ',';  // the system's; the view passes it in

  int rgPreset = -1;   // 0 standard regime, 1 first/last thinning, -1 none chosen
  int rgMeasure = 0;   // 0 target basal area, 1 relative spacing
  int rgTargetG = -1;  // the standard regime chosen, -1 none
  std::array<std::string, 3> rgTargetGItems;

  double TargetG = 20;
  std::array<double, 3> PresetTargetG{35, 25, 15};  // beech's until a species is set
  std::array<int, 4> TrackBarPositions{10, 10, 10, 10};  // by TrackBar, 0 .. TrackBarMax
  bool TrackBarInUse = false;  // the user moves the track bars, not the program

  std::string edtTargetG = "20";
  std::string edtThinStart = "20", edtThinEnd = "80";
  // Written by SetThinningParameters (the view calls it at start-up).
  std::string edtThinIstart, edtThinIend, edtThinMstart, edtThinMend;

  // The intensity column by the measure (SetIntensityLabels).
  std::array<std::string, 3> lblI{"10", "35", "60 m2/ha"};  // scale lblI1 .. lblI3
  std::string lblThinIset;              // column heading; the language switch writes it
  std::string IntensityUnit = "m2/ha";  // lblThinIstart and lblThinIend

  // Cell texts of sgConstraints as Cells[column][row]: headings in column 0,
  // minimum in 1, maximum in 2; the headings in row 0.
  std::array<std::array<std::string, 5>, 3> sgConstraints;

  RegimeSettings Regime;
};

// Track-bar positions and the values they stand for.
double TargetGAtPosition(int position);
double TargetRSAtPosition(int position);
double QuotientAtPosition(int position);
int TargetGPosition(double targetG);
int TargetRSPosition(double targetRS);
int QuotientPosition(double quotient);

using TextWidth = std::function<int(const std::string&)>;

// The three standard regimes of the species and the items of rgTargetG, each
// padded to at least 180 pixels by `textWidth`; a chosen regime is re-applied
// with the new values. Also the language switch calls it.
// Target basal areas of the light, heavy and very heavy standard regimes.
std::array<double, 3> PresetTargetBasalAreas(int species);
void SetTargetBasalAreas(RegimePage& page, int species, const TextWidth& textWidth);

// The three choices. The results say whether the table changed (TableChanged).
bool rgPresetClick(RegimePage& page, int item, MessageList& messages);
void rgTargetGClick(RegimePage& page, int item);
bool rgMeasureClick(RegimePage& page, int item, MessageList& messages);

// TargetG as a standard regime, or as a custom one between them.
void SetUpTargetBasalAreaElements(RegimePage& page);
// Re-applies edtTargetG when the approach is the standard regime.
void SetG3targetValue(RegimePage& page);
// Reads the track bars into a user-defined regime; rewrites the four edits.
void SetThinningParameters(RegimePage& page);
// Scale, heading and unit of the intensity column; also on a language switch.
void SetIntensityLabels(RegimePage& page);

// Sets a position as the widget does (clamped), running its change handler
// when the position moves.
void SetTrackBarPosition(RegimePage& page, TrackBar bar, int position);
void TrackBarEnter(RegimePage& page);  // a track bar gets the focus
void ThinEditEnter(RegimePage& page);  // one of the four regime edits gets the focus

// The edits, on leaving them or on Enter. Each returns false when it refuses
// the text: the edit then gets the focus with its text selected.
bool ReadThinIstart(RegimePage& page, MessageList& messages);
bool ReadThinIend(RegimePage& page, MessageList& messages);
bool ReadThinMstart(RegimePage& page, MessageList& messages);
bool ReadThinMend(RegimePage& page, MessageList& messages);
bool edtThinStartExit(RegimePage& page, MessageList& messages);
bool edtThinEndExit(RegimePage& page, MessageList& messages);
bool edtTargetGExit(RegimePage& page, MessageList& messages);

// The constraints grid. Whenever one of these adds a message, the grid gets
// the focus.
Constraint4 ConstraintApproach(const RegimePage& page);
void SetConstraintHeadings(RegimePage& page);
bool ResetConstraint4(RegimePage& page, MessageList& messages);
bool ReadConstraints(RegimePage& page, bool markChanges, MessageList& messages);
// Selecting a cell first runs ReadConstraints(true); leaving the grid too.
bool ConstraintCellSelectable(int column, int row);

}  // namespace orven
