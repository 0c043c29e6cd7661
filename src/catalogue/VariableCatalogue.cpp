#include "catalogue/VariableCatalogue.h"

namespace orven {
namespace {

// Symbol EN/DK, unit EN/DK, name EN/DK, decimals, plausible range, computed.
constexpr std::array<VariableInfo, VariableRows> Catalogue = {{
    {"T", "T", "[Years]", "[År]", "Age (years), T", "Alder (år), T", 0, 0, 300, true},  // 0 T
    {"HD1", "HD1", "[m]", "[m]", "Dom. height before thinning (m), HD1", "Overhøjde før tynding (m), HD1", 1, 1.3, 55, false},  // 1 HD1
    {"Hg1", "Hg1", "[m]", "[m]", "Height before thinning (m), Hg1", "Højde før tynding (m), Hg1", 1, 1.3, 55, false},  // 2 Hg1
    {"D1", "D1", "[cm]", "[cm]", "Diameter before thinning (cm), D1", "Diameter før tynding (cm), D1", 1, 1, 200, false},  // 3 D1
    {"N1", "N1", "[/ha]", "[/ha]", "Stem number before thinning (/ha), N1", "Stamtal før tynding (/ha), N1", 0, 0, 25000, false},  // 4 N1
    {"G1", "G1", "[m2/ha]", "[m2/ha]", "Basal area before thinning (m2/ha), G1", "Grundflade før tynding (m2/ha), G1", 2, 0, 100, false},  // 5 G1
    {"V1", "V1", "[m3/ha]", "[m3/ha]", "Volume before thinning (m3/ha), V1", "Vedmasse før tynding (m3/ha), V1", 1, 0, 1500, true},  // 6 V1
    {"F1", "F1", "", "", "Form factor before thinning, F1", "Formtal før tynding, F1", 3, 0.1, 1, true},  // 7 F1
    {"RS1", "RTA1", "[%]", "[%]", "Rel. spacing before thinning (%), RS1", "Rel. træafst., før tynding (%), RTA1", 1, 5, 200, false},  // 8 RTA1
    {"HD2", "HD2", "[m]", "[m]", "Dom. height, thinned trees (m), HD2", "Overhøjde i tyndingen (m), HD2", 1, 1.3, 55, true},  // 9 HD2
    {"Hg2", "Hg2", "[m]", "[m]", "Height, thinned trees (m), Hg2", "Højde i tyndingen (m), Hg2", 1, 1.3, 55, true},  // 10 Hg2
    {"D2", "D2", "[cm]", "[cm]", "Diameter, thinned trees (cm), D2", "Diameter i tyndingen (cm), D2", 1, 1, 200, false},  // 11 D2
    {"N2", "N2", "[/ha]", "[/ha]", "Stem number, thinned trees (/ha), N2", "Stamtal i tyndingen (/ha), N2", 0, 0, 25000, false},  // 12 N2
    {"G2", "G2", "[m2/ha]", "[m2/ha]", "Thinned basal area (m2/ha), G2", "Grundflade i tyndingen (m2/ha), G2", 2, 0, 100, false},  // 13 G2
    {"V2", "V2", "[m3/ha]", "[m3/ha]", "Thinned volume (m3/ha), V2", "Vedmasse i tyndingen (m3/ha), V2", 1, 0, 1500, false},  // 14 V2
    {"F2", "F2", "", "", "Form factor, thinned trees, F2", "Formtal i tyndingen, F2", 3, 0.1, 1, true},  // 15 F2
    {"RS2", "RTA2", "[%]", "[%]", "Rel. spacing, thinned trees (%), RS2", "Rel. træafst., tynding (%), RTA2", 1, 5, 4000, true},  // 16 RTA2
    {"D2/D1", "D2/D1", "", "", "Diameter ratio, D2/D1", "Udhugningsforhold, D2/D1", 3, 0.4, 1.6, false},  // 17 Q1
    {"D2/D3", "D2/D3", "", "", "Diameter ratio, D2/D3", "Udhugningsforhold, D2/D3", 3, 0.4, 1.6, false},  // 18 Q3
    {"HD3", "HD3", "[m]", "[m]", "Dom. height of remaining stand (m), HD3", "Overhøjde i blivende bestand (m), HD3", 1, 1.3, 55, true},  // 19 HD3
    {"Hg3", "Hg3", "[m]", "[m]", "Height of remaining stand (m), Hg3", "Højde i blivende bestand (m), Hg3", 1, 1.3, 55, true},  // 20 Hg3
    {"D3", "D3", "[cm]", "[cm]", "Diameter of remaining stand (cm), D3", "Diameter i blivende bestand (cm), D3", 1, 1, 200, false},  // 21 D3
    {"N3", "N3", "[/ha]", "[/ha]", "Stem number of remaining stand (/ha), N3", "Stamtal i blivende bestand (/ha), N3", 0, 0, 25000, false},  // 22 N3
    {"G3", "G3", "[m2/ha]", "[m2/ha]", "Basal area of remaining stand (m2/ha), G3", "Grundflade i blivende bestand (m2/ha), G3", 2, 0, 100, false},  // 23 G3
    {"V3", "V3", "[m3/ha]", "[m3/ha]", "Volume of remaining stand (m3/ha), V3", "Vedmasse i blivende bestand (m3/ha), V3", 1, 0, 1500, false},  // 24 V3
    {"F3", "F3", "", "", "Form factor of remaining stand, F3", "Formtal i blivende bestand, F3", 3, 0.1, 1, true},  // 25 F3
    {"RS3", "RTA3", "[%]", "[%]", "Rel. spacing of rem. stand (%), RS3", "Rel. træafst., blivende bestand (%), RTA3", 1, 5, 200, false},  // 26 RTA3
    {"dHD/dt", "dHD/dt", "[m/yr]", "[m/år]", "Current dom. height incr. (m/yr), dHD/dt", "Løbende overhøjdetilvækst (m/år), dHD/dt", 2, 0, 2, true},  // 27 dHD/dt
    {"dHg/dt", "dHg/dt", "[m/yr]", "[m/år]", "Current height incr. (m/yr), dHg/dt", "Løbende højdetilvækst (m/år), dHg/dt", 2, 0, 2, true},  // 28 dHg/dt
    {"dD/dt", "dD/dt", "[cm/yr]", "[cm/år]", "Current diameter incr. (cm/yr), dD/dt", "Løbende diametertilvækst (cm/år), dD/dt", 2, 0, 2, true},  // 29 dD/dt
    {"dN/dt", "dN/dt", "[/ha/yr]", "[/ha/år]", "Current mortality (/ha/yr), dN/dt", "Løbende dødelighed (/ha/år), dN/dt", 1, -400, 0, true},  // 30 dN/dt
    {"dG/dt", "dG/dt", "[m2/ha/yr]", "[m2/ha/år]", "Current basal area incr. (m2/ha/yr), dG/dt", "Løbende grundfladetilv. (m2/ha/år), dG/dt", 3, 0, 4, true},  // 31 dG/dt
    {"dV/dt", "dV/dt", "[m3/ha/yr]", "[m3/ha/år]", "Current volume incr. (m3/ha/yr), dV/dt", "Løbende vedmassetilvækst (m3/ha/år), dV/dt", 2, 0, 60, true},  // 32 dV/dt
    {"dF/dt", "dF/dt", "[/yr]", "[/år]", "Current form factor incr. (/yr), dF/dt", "Løbende formtalstilvækst (/år), dF/dt", 3, -0.2, 0.2, true},  // 33 dF/dt
    {"dRS/dt", "dRT/dt", "[%/yr]", "[%/år]", "Current change of rel. spacing (%/yr), dRS/dt", "Løb. ændring i rel. træafst. (%/år), dRT/dt", 2, -5, 5, true},  // 34 dRTA/dt
    {"mdHD/dt", "mdHD/dt", "[m/yr]", "[m/år]", "Average dom. height incr. (m/yr), dHD/dt", "Gnsn. overhøjdetilvækst (m/år), dHD/dt", 2, 0, 1.5, true},  // 35 mdHD/dt
    {"mdHg/dt", "mdHg/dt", "[m/yr]", "[m/år]", "Average height increment (m/yr), dHg/dt", "Gnsn. højdetilvækst (m/år), dHg/dt", 2, 0, 1.5, true},  // 36 mdHg/dt
    {"mdD/dt", "mdD/dt", "[cm/yr]", "[cm/år]", "Average diameter increment (cm/yr), dD/dt", "Gnsn. diametertilvækst (cm/år), dD/dt", 2, 0, 1.5, true},  // 37 mdD/dt
    {"mdN/dt", "mdN/dt", "[/ha/yr]", "[/ha/år]", "Average mortality (/ha/yr), dN/dt", "Gnsn. dødelighed (/ha/år), dN/dt", 1, -200, 0, true},  // 38 mdN/dt
    {"mdG/dt", "mdG/dt", "[m2/ha/yr]", "[m2/ha/år]", "Average basal area incr. (m2/ha/yr), dG/dt", "Gnsn. grundfladetilv. (m2/ha/år), dG/dt", 3, 0, 3, true},  // 39 mdG/dt
    {"mdV/dt", "mdV/dt", "[m3/ha/yr]", "[m3/ha/år]", "Average volume increment (m3/ha/yr), dV/dt", "Gnsn. vedmassetilvækst (m3/ha/år), dV/dt", 2, 0, 40, true},  // 40 mdV/dt
    {"mdF/dt", "mdF/dt", "[/yr]", "[/år]", "Average form factor incr. (/yr), dF/dt", "Gnsn. formtalstilvækst (/år), dF/dt", 3, -0.15, 0.15, true},  // 41 mdF/dt
    {"mdR/dt", "mdR/dt", "[%/yr]", "[%/år]", "Avg. change of rel. spacing (%/yr), mdR/dt", "Gnsn. ændring af rel. træafst. (%/år), dRT/dt", 2, -3, 3, true},  // 42 mdRTA/dt
    {"dNtot", "dNtot", "[/ha]", "[/ha]", "Cumulative mortality (/ha), dNtot", "Akkumuleret dødelighed (/ha), dNtot", 1, -10000, 0, true},  // 43 dNtot
    {"dGtot", "dGtot", "[m2/ha]", "[m2/ha]", "Cum. basal area incr. (m2/ha), dGtot", "Akkum. grundfladetilv. (m2/ha), dGtot", 2, 0, 150, true},  // 44 dGtot
    {"dVtot", "dVtot", "[m3/ha]", "[m3/ha]", "Cum. volume incr. (m3/ha), dVtot", "Akkum. vedmassetilv. (m3/ha), dVtot", 1, 0, 2500, true},  // 45 dVtot
    {"???", "???", "", "", "No variable specified!?", "Ingen variabel specificeret!?", 0, 0, 0, true},  // 46 (NoVariable)
}};

}  // namespace

const VariableInfo& InfoOf(int variable) {
  return variable >= 0 && variable < VariableRows ? Catalogue[variable] : Catalogue[NoVariable];
}

bool IsComputedVariable(int variable) { return InfoOf(variable).Computed; }

std::string SymbolOf(int variable, Language language) {
  const VariableInfo& info = InfoOf(variable);
  return language == Language::English ? info.SymbolEN : info.SymbolDK;
}

std::string NameOf(int variable, Language language) {
  const VariableInfo& info = InfoOf(variable);
  return language == Language::English ? info.NameEN : info.NameDK;
}

std::string UnitOf(int variable, Language language) {
  if (variable < 0 || variable >= VariableCount) return {};
  const VariableInfo& info = InfoOf(variable);
  return language == Language::English ? info.UnitEN : info.UnitDK;
}

int Decimals(int variable) {
  return variable >= 0 && variable < VariableCount ? InfoOf(variable).Decimals : 0;
}

bool WithinDisplayRange(int variable, double x) {
  if (variable < 0 || variable >= VariableCount) return false;
  const double min = VariableMin(variable), max = VariableMax(variable);
  if (min < 0) return 10 * min <= x && x <= 10 * max;
  return min - max / 1000 <= x && x <= 10 * max;
}

ColumnSelection::ColumnSelection() {
  for (int item : {0, 1, 3, 4, 5, 6}) BeforeThinChecked[item] = true;
  for (int item : {3, 4, 5, 6, 8}) ThinningChecked[item] = true;
  for (int item : {1, 3, 4, 5, 6, 8, 17, 22, 27}) RemainingChecked[item] = true;
  InitialiseCheckListBoxes(true);
  SetVariables();
}

void ColumnSelection::InitialiseCheckListBoxes(bool dominantHeight) {
  // (dominant, mean) item pairs of each list.
  auto follow = [dominantHeight](std::array<bool, Slots>& checked, int dominant, int mean) {
    int preferred = dominantHeight ? dominant : mean;
    int other = dominantHeight ? mean : dominant;
    if (!checked[preferred]) {
      checked[preferred] = checked[other];
      checked[other] = false;
    }
  };
  follow(BeforeThinChecked, 1, 2);
  follow(ThinningChecked, 1, 2);
  follow(RemainingChecked, 1, 2);
  follow(RemainingChecked, 9, 10);
  follow(RemainingChecked, 17, 18);
}

void ColumnSelection::SetVariables() {
  auto apply = [](const std::array<bool, Slots>& checked, int items, int (*variableOf)(int),
                  std::array<bool, Slots>& selected, std::array<std::uint8_t, Slots>& columns,
                  std::int32_t& last) {
    selected.fill(false);
    columns.fill(NoVariable);
    int count = 0;
    for (int item = 0; item < items; ++item) {
      if (!checked[item]) continue;
      selected[item] = true;
      columns[count++] = static_cast<std::uint8_t>(variableOf(item));
    }
    last = count > 0 ? count - 1 : 0;
  };
  apply(BeforeThinChecked, BeforeThinItems, BeforeThinItemVariable, BeforeThinSelected,
        BeforeThinColumns, LastBeforeThinColumn);
  apply(ThinningChecked, ThinningItems, ThinningItemVariable, ThinningSelected, ThinningColumns,
        LastThinningColumn);
  apply(RemainingChecked, RemainingItems, RemainingItemVariable, RemainingSelected,
        RemainingColumns, LastRemainingColumn);
}

void ColumnSelection::UncheckAll() {
  BeforeThinChecked.fill(false);
  ThinningChecked.fill(false);
  RemainingChecked.fill(false);
}

}  // namespace orven
