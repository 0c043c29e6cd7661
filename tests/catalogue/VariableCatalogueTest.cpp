#include <gtest/gtest.h>

#include "catalogue/VariableCatalogue.h"
#include "model/Sentinel.h"

namespace orven {
namespace {

TEST(VariableCatalogue, SymbolsUnitsAndDecimalsFollowTheLanguage) {
  EXPECT_EQ(UnitOf(T, Language::English), "[Years]");
  EXPECT_EQ(UnitOf(T, Language::Danish), "[År]");
  EXPECT_EQ(UnitOf(F1, Language::English), "");
  EXPECT_EQ(UnitOf(Q1, Language::Danish), "");
  EXPECT_EQ(UnitOf(dGdt, Language::Danish), "[m2/ha/år]");
  EXPECT_EQ(SymbolOf(RTA1, Language::English), "RS1");
  EXPECT_EQ(SymbolOf(RTA1, Language::Danish), "RTA1");
  EXPECT_EQ(SymbolOf(mdRTAdt, Language::Danish), "mdR/dt");
  EXPECT_EQ(SymbolOf(dRTAdt, Language::Danish), "dRT/dt");
  EXPECT_EQ(SymbolOf(NoVariable, Language::English), "???");
  EXPECT_EQ(NameOf(G3, Language::Danish), "Grundflade i blivende bestand (m2/ha), G3");
  EXPECT_EQ(Decimals(RTA2), 1);
  EXPECT_EQ(Decimals(dGdt), 3);
  EXPECT_EQ(VariableMax(RTA2), 4000);
  for (int beyond : {46, 47, 255, -1}) {
    EXPECT_EQ(UnitOf(beyond, Language::English), "") << beyond;
    EXPECT_EQ(Decimals(beyond), 0) << beyond;
  }
}

TEST(VariableCatalogue, OnlyTheDocumentedVariablesCanBeTyped) {
  const int typeable[] = {HD1, Hg1, D1, N1, G1, RTA1, D2, N2, G2, V2, Q1, Q3, D3, N3, G3, V3, RTA3};
  int count = 0;
  for (int v = 0; v <= NoVariable; ++v) count += !IsComputedVariable(v);
  EXPECT_EQ(count, static_cast<int>(std::size(typeable)));
  for (int v : typeable) EXPECT_FALSE(IsComputedVariable(v)) << v;
}

TEST(VariableCatalogue, DisplayRangeIsWiderThanThePlausibleRange) {
  struct Case {
    int variable;
    double x;
    bool shown;
  };
  const Case cases[] = {
      {HD3, 56, true},          {HD3, 550, true},       {HD3, 550.01, false},
      {HD3, 1.3 - 0.055, true}, {HD3, 1.2, false},      {dNdt, -4000, true},
      {dNdt, -4000.5, false},   {dNdt, 0, true},        {dFdt, 2.0, true},
      {dFdt, 2.01, false},      {G1, Sentinel, false},  {dNtot, Sentinel, false},
      {NoVariable, 0, false},
  };
  for (const Case& c : cases) EXPECT_EQ(WithinDisplayRange(c.variable, c.x), c.shown) << c.variable << " " << c.x;
}

TEST(ColumnSelection, DefaultColumnsAreInCatalogueOrder) {
  ColumnSelection selection;
  EXPECT_EQ(selection.LastBeforeThinColumn, 5);
  EXPECT_EQ(selection.LastThinningColumn, 4);
  EXPECT_EQ(selection.LastRemainingColumn, 8);
  const std::uint8_t before[] = {T, HD1, D1, N1, G1, V1};
  const std::uint8_t thinning[] = {D2, N2, G2, V2, RTA2};
  const std::uint8_t remaining[] = {HD3, D3, N3, G3, V3, RTA3, mdHDdt, mdVdt, dVtot};
  for (int k = 0; k < 6; ++k) EXPECT_EQ(selection.BeforeThinColumns[k], before[k]);
  for (int k = 0; k < 5; ++k) EXPECT_EQ(selection.ThinningColumns[k], thinning[k]);
  for (int k = 0; k < 9; ++k) EXPECT_EQ(selection.RemainingColumns[k], remaining[k]);
  EXPECT_EQ(selection.RemainingColumns[9], NoVariable);
  EXPECT_TRUE(selection.RemainingSelected[27]);
}

TEST(ColumnSelection, AnEmptyListKeepsOneColumnOfNoVariable) {
  ColumnSelection selection;
  selection.UncheckAll();
  selection.ThinningChecked[10] = true;  // Q3
  selection.ThinningChecked[0] = true;   // T, checked after Q3
  selection.SetVariables();
  EXPECT_EQ(selection.LastBeforeThinColumn, 0);
  EXPECT_EQ(selection.BeforeThinColumns[0], NoVariable);
  EXPECT_EQ(selection.LastThinningColumn, 1);
  EXPECT_EQ(selection.ThinningColumns[0], T);
  EXPECT_EQ(selection.ThinningColumns[1], Q3);
}

TEST(ColumnSelection, HeightDefinitionMovesChecksBetweenVariants) {
  ColumnSelection selection;  // HD1 checked, Hg1 not
  selection.InitialiseCheckListBoxes(false);
  selection.SetVariables();
  EXPECT_FALSE(selection.BeforeThinChecked[1]);
  EXPECT_TRUE(selection.BeforeThinChecked[2]);
  EXPECT_EQ(selection.BeforeThinColumns[1], Hg1);
  EXPECT_TRUE(selection.RemainingChecked[18]);   // mdHg/dt took mdHD/dt's mark
  EXPECT_FALSE(selection.RemainingChecked[17]);
  // With both variants checked both stay.
  selection.BeforeThinChecked[1] = true;
  selection.InitialiseCheckListBoxes(true);
  EXPECT_TRUE(selection.BeforeThinChecked[1]);
  EXPECT_TRUE(selection.BeforeThinChecked[2]);
}

}  // namespace
}  // namespace orven
