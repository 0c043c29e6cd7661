#include "projection/RegimeControls.h"

#include <algorithm>
#include <cmath>

#include "messages/InputChecks.h"
#include "messages/NumberText.h"
#include "model/ParameterStore.h"

namespace orven {
namespace {

constexpr int TargetGKind = 13, TargetRSKind = 14, QuotientKind = 15;
constexpr int FirstThinningKind = 4, LastThinningKind = 5;
constexpr int MinimumTextWidth = 180;
constexpr double NoMinimum = -10000, NoMaximum = 10000;


constexpr BilingualText RegimeNames[3] = {{"Light thinning", "Svag tynding"},
                                          {"Heavy thinning", "Hård tynding"},
                                          {"Very heavy thinning", "Meget hård tynding"}};
// Quotients at the first and last thinning of the three standard regimes.
constexpr double RegimeQuotients[3][2] = {{0.85, 0.95}, {0.90, 1.00}, {0.95, 1.00}};

constexpr BilingualText ConstraintHeadings[4] = {
    {" Stand basal area required to execute thinnings (m2/ha)",
     " Grundflade før tynding, for at tynding udføres (m2/ha)"},
    {" Volume removed in thinning (m3/ha)", " Vedmasseudtag i tyndingen (i m3/ha)"},
    {" Per cent of basal area removed in thinning", " Tyndingens procentuelle andel af grundfladen"},
    {" Relative spacing after thinning (in per cent)", " Relativ træafstand efter tynding (i procent)"}};
constexpr BilingualText RemainingBasalAreaHeading = {" Target residual basal area after thinning (m2/ha)",
                                                     " Målgrundflade efter tynding (m2/ha)"};
constexpr BilingualText NotDefinedHeading = {" (Not defined until choice in Box 6 has been made)",
                                             " (Ikke defineret før valg i Boks 6 er udført)"};
constexpr BilingualText NotAvailable = {"N.A.", "UDEF."};
constexpr BilingualText TargetGHeading = {"Gtarg.", "Mål-G"};
constexpr BilingualText TargetRSHeading = {"RS%", "RTA%"};
constexpr BilingualText MinimumNotBelowMaximum = {
    "   One or more of the maximum values are not truely larger than the corresponding minimum "
    "values!   ",
    "   En eller flere af de angivne maximumsværdier er ikke større end de modsvarende "
    "minimumsværdier!   "};

// Rounding to the nearest whole number, halves to even (the default mode).
int RoundedPosition(double position) {
  return static_cast<int>(std::nearbyint(position));
}

CheckContext ContextOf(const RegimePage& page) {
  CheckContext context;
  context.language = page.language;
  context.decimalSeparator = page.decimalSeparator;
  context.ThinStartAge = page.Regime.ThinStartAge;
  context.ThinEndAge = page.Regime.ThinEndAge;
  return context;
}

bool ReadCheckedFloat(const RegimePage& page, const std::string& text, int kind, MessageList& messages,
                      double& value) {
  const CheckContext context = ContextOf(page);
  return CheckFloat(text, context, messages) && CheckRange(kind, text, context, messages) &&
         ParseFloat(text, page.decimalSeparator, value);
}

bool ReadCheckedInteger(const RegimePage& page, const std::string& text, int kind, MessageList& messages,
                        int& value) {
  const CheckContext context = ContextOf(page);
  return CheckInteger(text, context, messages) && CheckRange(kind, text, context, messages) &&
         ParseInteger(text, value);
}

std::string RegimeItem(const BilingualText& name, double presetTargetG, const RegimePage& page,
                       const TextWidth& textWidth) {
  const std::string head = Choose(name, page.language);
  const std::string tail = "(" + FormatGeneral(presetTargetG, page.decimalSeparator) + " m2/ha)";
  std::string blanks = "  ";
  // Bounded: a width function that never grows must not hang the caller.
  for (int i = 0; i < 1000 && textWidth(head + blanks + tail) < MinimumTextWidth; ++i) blanks += ' ';
  return head + blanks + tail;
}

// Shows a standard regime: the track bars by the target-G mapping and
// the four edits. Each move runs the change handler, as the widget does.
void ShowStandardRegime(RegimePage& page) {
  const RegimeSettings& regime = page.Regime;
  SetTrackBarPosition(page, tbThinIstart, TargetGPosition(regime.TargetGStart));
  SetTrackBarPosition(page, tbThinIend, TargetGPosition(regime.TargetGEnd));
  SetTrackBarPosition(page, tbThinMstart, QuotientPosition(regime.QuotientStart));
  SetTrackBarPosition(page, tbThinMend, QuotientPosition(regime.QuotientEnd));
  const char separator = page.decimalSeparator;
  page.edtThinIstart = FormatFixed(regime.TargetGStart, 0, separator);
  page.edtThinIend = FormatFixed(regime.TargetGEnd, 0, separator);
  page.edtThinMstart = FormatFixed(regime.QuotientStart, 2, separator);
  page.edtThinMend = FormatFixed(regime.QuotientEnd, 2, separator);
}

void TrackBarChange(RegimePage& page) {
  if (page.TrackBarInUse) SetThinningParameters(page);
  if (page.rgPreset == 1) page.rgTargetG = -1;
}

bool ReadIntensity(RegimePage& page, bool first, MessageList& messages) {
  const bool spacing = page.rgMeasure == 1;
  double value = 0;
  if (!ReadCheckedFloat(page, first ? page.edtThinIstart : page.edtThinIend,
                        spacing ? TargetRSKind : TargetGKind, messages, value))
    return false;
  RegimeSettings& regime = page.Regime;
  if (spacing)
    (first ? regime.TargetRSStart : regime.TargetRSEnd) = value;
  else
    (first ? regime.TargetGStart : regime.TargetGEnd) = value;
  SetTrackBarPosition(page, first ? tbThinIstart : tbThinIend,
                      spacing ? TargetRSPosition(value) : TargetGPosition(value));
  return true;
}

bool ReadQuotient(RegimePage& page, bool first, MessageList& messages) {
  double value = 0;
  if (!ReadCheckedFloat(page, first ? page.edtThinMstart : page.edtThinMend, QuotientKind, messages, value))
    return false;
  (first ? page.Regime.QuotientStart : page.Regime.QuotientEnd) = value;
  SetTrackBarPosition(page, first ? tbThinMstart : tbThinMend, QuotientPosition(value));
  return true;
}

}  // namespace

double TargetGAtPosition(int position) { return 10 + 50.0 * position / TrackBarMax; }
double TargetRSAtPosition(int position) { return 10 + 40.0 * position / TrackBarMax; }
double QuotientAtPosition(int position) { return 0.8 + 0.4 * position / TrackBarMax; }
int TargetGPosition(double targetG) { return RoundedPosition((targetG - 10) * TrackBarMax / 50); }
int TargetRSPosition(double targetRS) { return RoundedPosition((targetRS - 10) * TrackBarMax / 40); }
int QuotientPosition(double quotient) { return RoundedPosition((quotient - 0.8) * TrackBarMax / 0.4); }

std::array<double, 3> PresetTargetBasalAreas(int species) {
  if (species <= Ash) return {35, 25, 15};
  return {45, 35, 25};
}

void SetTargetBasalAreas(RegimePage& page, int species, const TextWidth& textWidth) {
  page.PresetTargetG = PresetTargetBasalAreas(species);
  const int chosen = page.rgTargetG;
  page.rgTargetG = -1;  // clearing the items deselects
  for (int i = 0; i < 3; ++i)
    page.rgTargetGItems[i] = RegimeItem(RegimeNames[i], page.PresetTargetG[i], page, textWidth);
  if (chosen >= 0) rgTargetGClick(page, chosen);
}

bool rgPresetClick(RegimePage& page, int item, MessageList& messages) {
  page.rgPreset = item;
  bool changed = false;
  if (item == 0) {
    page.Regime.MeasureIsBasalArea = true;
    // Moving the radio group runs its click handler, as the widget does.
    if (page.rgMeasure != 0) changed = rgMeasureClick(page, 0, messages);
  } else {
    page.Regime.MeasureIsBasalArea = page.rgMeasure == 0;
  }
  SetConstraintHeadings(page);
  changed = ResetConstraint4(page, messages) || changed;
  SetG3targetValue(page);
  return changed;
}

void rgTargetGClick(RegimePage& page, int item) {
  if (item < 0 || item > 2) {
    page.rgTargetG = -1;
    return;
  }
  page.rgTargetG = item;
  page.TargetG = page.PresetTargetG[item];
  page.edtTargetG = FormatGeneral(page.TargetG, page.decimalSeparator);
  RegimeSettings& regime = page.Regime;
  regime.TargetGStart = regime.TargetGEnd = page.TargetG;
  regime.QuotientStart = RegimeQuotients[item][0];
  regime.QuotientEnd = RegimeQuotients[item][1];
  ShowStandardRegime(page);
}

bool rgMeasureClick(RegimePage& page, int item, MessageList& messages) {
  page.rgMeasure = item;
  page.Regime.MeasureIsBasalArea = item != 1;
  SetIntensityLabels(page);
  SetThinningParameters(page);
  if (page.rgPreset == 1) page.rgTargetG = -1;
  SetConstraintHeadings(page);
  return ResetConstraint4(page, messages);
}

void SetUpTargetBasalAreaElements(RegimePage& page) {
  const std::array<double, 3>& presets = page.PresetTargetG;
  page.rgTargetG = -1;
  for (int i = 0; i < 3; ++i) {
    if (std::abs(page.TargetG - presets[i]) < 0.001) {
      rgTargetGClick(page, i);
      return;
    }
  }
  // A custom regime: the quotients run on linearly from the light to the
  // very heavy preset, held within [0.8, 1.0].
  RegimeSettings& regime = page.Regime;
  regime.TargetGStart = regime.TargetGEnd = page.TargetG;
  const double p0 = presets[0], p2 = presets[2];
  regime.QuotientStart = std::clamp(std::nearbyint(10 * (p0 - page.TargetG) / (p0 - p2) + 85) / 100, 0.8, 1.0);
  regime.QuotientEnd = std::clamp(std::nearbyint(5 * (p0 - page.TargetG) / (p0 - p2) + 95) / 100, 0.8, 1.0);
  ShowStandardRegime(page);
}

void SetG3targetValue(RegimePage& page) {
  if (page.rgPreset != 0) return;
  if (!page.edtTargetG.empty())
    SetUpTargetBasalAreaElements(page);
  else
    page.rgTargetG = -1;
}

void SetThinningParameters(RegimePage& page) {
  RegimeSettings& regime = page.Regime;
  const bool spacing = page.rgMeasure == 1;
  if (page.rgPreset == 1) {
    const std::array<int, 4>& p = page.TrackBarPositions;
    if (spacing) {
      regime.TargetRSStart = TargetRSAtPosition(p[tbThinIstart]);
      regime.TargetRSEnd = TargetRSAtPosition(p[tbThinIend]);
    } else {
      regime.TargetGStart = TargetGAtPosition(p[tbThinIstart]);
      regime.TargetGEnd = TargetGAtPosition(p[tbThinIend]);
    }
    regime.QuotientStart = QuotientAtPosition(p[tbThinMstart]);
    regime.QuotientEnd = QuotientAtPosition(p[tbThinMend]);
  }
  const char separator = page.decimalSeparator;
  page.edtThinIstart = spacing ? FormatFixed(regime.TargetRSStart, 1, separator)
                               : FormatFixed(regime.TargetGStart, 0, separator);
  page.edtThinIend = spacing ? FormatFixed(regime.TargetRSEnd, 1, separator)
                             : FormatFixed(regime.TargetGEnd, 0, separator);
  page.edtThinMstart = FormatFixed(regime.QuotientStart, 2, separator);
  page.edtThinMend = FormatFixed(regime.QuotientEnd, 2, separator);
}

void SetIntensityLabels(RegimePage& page) {
  if (page.rgMeasure == 1) {
    page.lblI = {"10", "30", "50%"};
    page.lblThinIset = Choose(TargetRSHeading, page.language);
    page.IntensityUnit = " %";
  } else {
    page.lblI = {"10", "35", "60 m2/ha"};
    page.lblThinIset = Choose(TargetGHeading, page.language);
    page.IntensityUnit = "m2/ha";
  }
}

void SetTrackBarPosition(RegimePage& page, TrackBar bar, int position) {
  position = std::clamp(position, 0, TrackBarMax);
  if (page.TrackBarPositions[bar] == position) return;
  page.TrackBarPositions[bar] = position;
  TrackBarChange(page);
}

void TrackBarEnter(RegimePage& page) { page.TrackBarInUse = true; }
void ThinEditEnter(RegimePage& page) { page.TrackBarInUse = false; }

bool ReadThinIstart(RegimePage& page, MessageList& messages) { return ReadIntensity(page, true, messages); }
bool ReadThinIend(RegimePage& page, MessageList& messages) { return ReadIntensity(page, false, messages); }
bool ReadThinMstart(RegimePage& page, MessageList& messages) { return ReadQuotient(page, true, messages); }
bool ReadThinMend(RegimePage& page, MessageList& messages) { return ReadQuotient(page, false, messages); }

bool edtThinStartExit(RegimePage& page, MessageList& messages) {
  return ReadCheckedInteger(page, page.edtThinStart, FirstThinningKind, messages, page.Regime.ThinStartAge);
}

bool edtThinEndExit(RegimePage& page, MessageList& messages) {
  return ReadCheckedInteger(page, page.edtThinEnd, LastThinningKind, messages, page.Regime.ThinEndAge);
}

bool edtTargetGExit(RegimePage& page, MessageList& messages) {
  double value = 0;
  if (!ReadCheckedFloat(page, page.edtTargetG, TargetGKind, messages, value)) return false;
  page.TargetG = value;
  SetUpTargetBasalAreaElements(page);
  return true;
}

Constraint4 ConstraintApproach(const RegimePage& page) {
  if (page.rgPreset == 0) return Constraint4::RemainingSpacing;
  if (page.rgPreset != 1) return Constraint4::NotDefined;
  return page.rgMeasure == 1 ? Constraint4::RemainingBasalArea : Constraint4::RemainingSpacing;
}

void SetConstraintHeadings(RegimePage& page) {
  auto& headings = page.sgConstraints[0];
  for (int row = 1; row <= 3; ++row) headings[row] = Choose(ConstraintHeadings[row - 1], page.language);
  switch (ConstraintApproach(page)) {
    case Constraint4::RemainingSpacing: headings[4] = Choose(ConstraintHeadings[3], page.language); break;
    case Constraint4::RemainingBasalArea: headings[4] = Choose(RemainingBasalAreaHeading, page.language); break;
    case Constraint4::NotDefined: headings[4] = Choose(NotDefinedHeading, page.language); break;
  }
  page.sgConstraints[1][0] = " Minimum";
  page.sgConstraints[2][0] = " Maximum";
  page.sgConstraints[2][1] = Choose(NotAvailable, page.language);
}

bool ResetConstraint4(RegimePage& page, MessageList& messages) {
  std::string& minimum = page.sgConstraints[1][4];
  std::string& maximum = page.sgConstraints[2][4];
  const bool held = !minimum.empty() || !maximum.empty();
  minimum.clear();
  maximum.clear();
  const bool changed = ReadConstraints(page, true, messages);
  return held || changed;
}

bool ReadConstraints(RegimePage& page, bool markChanges, MessageList& messages) {
  RegimeSettings& regime = page.Regime;
  bool changed = false;
  bool readable = true;
  // Reading stops at the first cell that is not a number; the bounds read
  // before it keep their new values.
  auto read = [&](int column, int row, double& bound) {
    if (!readable) return;
    const std::string& text = page.sgConstraints[column][row];
    double value = column == 1 ? NoMinimum : NoMaximum;
    if (!text.empty() && !ParseFloat(text, page.decimalSeparator, value)) {
      readable = false;
      return;
    }
    changed = changed || value != bound;
    bound = value;
  };
  read(1, 1, regime.ThinGMin);
  read(1, 2, regime.ThinVMin);
  read(2, 2, regime.ThinVMax);
  read(1, 3, regime.ThinPctMin);
  read(2, 3, regime.ThinPctMax);
  switch (ConstraintApproach(page)) {
    case Constraint4::RemainingSpacing:
      read(1, 4, regime.RemRSMin);
      read(2, 4, regime.RemRSMax);
      if (readable) {
        regime.RemGMin = NoMinimum;
        regime.RemGMax = NoMaximum;
      }
      break;
    case Constraint4::RemainingBasalArea:
      read(1, 4, regime.RemGMin);
      read(2, 4, regime.RemGMax);
      if (readable) {
        regime.RemRSMin = NoMinimum;
        regime.RemRSMax = NoMaximum;
      }
      break;
    case Constraint4::NotDefined:
      if (readable) {
        regime.RemRSMin = regime.RemGMin = NoMinimum;
        regime.RemRSMax = regime.RemGMax = NoMaximum;
      }
      break;
  }

  if (!readable) messages.push_back({MessageKind::Error, InvalidNumberText(page.language), {}});
  if (regime.ThinGMin >= regime.ThinGMax || regime.ThinVMin >= regime.ThinVMax ||
      regime.ThinPctMin >= regime.ThinPctMax || regime.RemRSMin >= regime.RemRSMax ||
      regime.RemGMin >= regime.RemGMax)
    messages.push_back({MessageKind::Error, Choose(MinimumNotBelowMaximum, page.language), {}});
  return markChanges && changed;
}

bool ConstraintCellSelectable(int column, int row) {
  return column != 0 && !(column == 2 && row == 1);
}

}  // namespace orven
