#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/Language.h"

namespace orven {

// The 46 stand variables. The index is the row of the projection tables, the
// number stored for columns and graph axes, and the position in the variable
// lists. Index 46 is the no-variable entry (and, in the projection tables,
// the row of solver iteration counts).
enum Variable : int {
  T = 0,
  HD1, Hg1, D1, N1, G1, V1, F1, RTA1,                  // stand before thinning
  HD2, Hg2, D2, N2, G2, V2, F2, RTA2, Q1, Q3,          // the thinning
  HD3, Hg3, D3, N3, G3, V3, F3, RTA3,                  // remaining stand
  dHDdt, dHgdt, dDdt, dNdt, dGdt, dVdt, dFdt, dRTAdt,  // current increments
  mdHDdt, mdHgdt, mdDdt, mdNdt, mdGdt, mdVdt, mdFdt, mdRTAdt,  // mean increments
  dNtot, dGtot, dVtot,                                 // cumulative totals
  NoVariable = 46,
};

inline constexpr int VariableCount = 46;   // indices 0..45
inline constexpr int VariableRows = 47;    // with the extra row 46

struct VariableInfo {
  const char* SymbolEN;
  const char* SymbolDK;
  const char* UnitEN;
  const char* UnitDK;
  const char* NameEN;
  const char* NameDK;
  int Decimals;
  double Min;
  double Max;
  bool Computed;  // can never be typed into a grid
};

// Catalogue entry of an index; indices outside 0..46 give the no-variable entry.
const VariableInfo& InfoOf(int variable);

inline double VariableMin(int variable) { return InfoOf(variable).Min; }
inline double VariableMax(int variable) { return InfoOf(variable).Max; }
bool IsComputedVariable(int variable);  // membership of ComputedVariables

std::string SymbolOf(int variable, Language language);
std::string NameOf(int variable, Language language);
std::string UnitOf(int variable, Language language);
int Decimals(int variable);

// The display test: wider than the plausible range, so that only wild values
// (the sentinel among them) are not printed.
bool WithinDisplayRange(int variable, double x);

inline bool IsCurrentIncrement(int variable) { return variable >= dHDdt && variable <= dRTAdt; }
inline bool IsThinningVariable(int variable) { return variable >= HD2 && variable <= Q3; }

// The choice of table columns. The check marks are those of the variable
// dialog's three lists, in item order; SetVariables turns them into the
// column lists of the three result grids.
struct ColumnSelection {
  static constexpr int Slots = 28;
  static constexpr int BeforeThinItems = 9;
  static constexpr int ThinningItems = 11;
  static constexpr int RemainingItems = 28;

  std::array<bool, Slots> BeforeThinChecked{};
  std::array<bool, Slots> ThinningChecked{};
  std::array<bool, Slots> RemainingChecked{};

  std::array<bool, Slots> BeforeThinSelected{};
  std::array<bool, Slots> ThinningSelected{};
  std::array<bool, Slots> RemainingSelected{};
  std::array<std::uint8_t, Slots> BeforeThinColumns{};
  std::array<std::uint8_t, Slots> ThinningColumns{};
  std::array<std::uint8_t, Slots> RemainingColumns{};
  std::int32_t LastBeforeThinColumn = 5;
  std::int32_t LastThinningColumn = 4;
  std::int32_t LastRemainingColumn = 8;

  ColumnSelection();  // the default selection

  // Moves check marks between dominant- and mean-height variants.
  void InitialiseCheckListBoxes(bool dominantHeight);
  // Turns the check marks into column lists (always in catalogue order).
  void SetVariables();
  void UncheckAll();
};

// Catalogue index of a dialog item of each list.
inline int BeforeThinItemVariable(int item) { return item; }
inline int ThinningItemVariable(int item) { return item == 0 ? T : item + 8; }
inline int RemainingItemVariable(int item) { return item == 0 ? T : item + 18; }

}  // namespace orven
