#include "site/SiteEstimation.h"

#include <algorithm>
#include <cmath>

#include "messages/NumberText.h"
#include "model/FloatFault.h"
#include "model/YieldTable.h"
#include "site/SiteSearch.h"
#include "site/SiteTexts.h"

namespace orven {
namespace {

bool Filled(const std::string& text) { return !IsBlankCell(text); }

bool IsSiteMethod(int item) { return item >= RepeatedInventories && item <= SoilTexture; }

// Only the inputs of the chosen method are visible; see SiteInputs.
bool InputsComplete(const SiteInputs& in, bool tablesTyped) {
  if (!in.inputsEnabled && !tablesTyped) return false;
  const int method = in.rgSiteQuality;
  if (method == SoilTexture) return std::ranges::any_of(in.sgSoil, Filled);
  if (method == RepeatedInventories || !IsSiteMethod(method))
    return std::ranges::any_of(in.sgInventory, [](const auto& row) { return std::ranges::any_of(row, Filled); });
  const std::string& value = method == StandHeightAtAge     ? in.edtStandHeight
                             : method == ClassicalSiteClass ? in.edtSiteClass
                                                            : in.edtYieldClass;
  return Filled(value) && Filled(in.edtStandAge);
}

// Fixed format limited to `precision` digits before the point: larger values
// (the sentinel) take the general format.
std::string FixedText(double value, int decimals, int precision, char separator) {
  if (std::abs(value) >= std::pow(10.0, precision)) return FormatGeneral(value, separator);
  return FormatFixed(value, decimals, separator);
}

// The two reads of one branch: a first text that does not parse changes
// nothing, an age that does not parse changes only the first value.
void ReadValueAndAge(const std::string& text, double& value, const std::string& ageText,
                     std::int32_t& age, char separator) {
  double parsed = 0;
  if (!ParseFloat(text, separator, parsed)) return;
  value = parsed;
  int parsedAge = 0;
  if (ParseInteger(ageText, parsedAge)) age = parsedAge;
}

struct Estimation {
  const GrowthModel& model;
  int species;
  SiteParameters& site;
  SiteState& state;
  const SiteInputs& inputs;
  const CheckContext& context;
  bool showMessages;
  MessageList& messages;
  SiteFocus focus = SiteFocus::None;

  bool HeightIsHdom() const { return inputs.rgHeight == 0; }

  void Report(const BilingualText& text) {
    messages.push_back({MessageKind::Error, Choose(text, context.language), {}});
  }

  double FromGrowthRate(double A0) {
    site.SiteIndex = SiteIndexFromA0(model, species, A0);
    state.StandAge = 50;
    state.StandHeight = site.SiteIndex;
    SetStandHeights(state, model, species, true);
    site.SiteClass = CatchFloatFault([&] { return SiteClassFromHg(species, state.StandHg, 50); });
    state.YieldClass = YieldClassFromSiteClass(species, site.SiteClass);
    return A0;
  }

  double ToGrowthRate() {
    site.SiteIndex = model.DominantHeightAtAge(species, 50, state.StandAge, state.StandHdom);
    return A0FromSiteIndex(model, species, site.SiteIndex);
  }

  double FromStandHeight() {
    site.SiteClass =
        CatchFloatFault([&] { return SiteClassFromHg(species, state.StandHg, state.StandAge); });
    state.YieldClass =
        CatchFloatFault([&] { return YieldClassFromHg(species, state.StandHg, state.StandAge); });
    return ToGrowthRate();
  }

  double ByInventories() {
    const InventoryReading reading =
        ReadInventoryData(inputs.sgInventory, inputs.rgHeight == 1, model, species, context,
                          showMessages, messages);
    if (reading.ok) {
      site.UseA0Model = true;
      return FromGrowthRate(EstimateA0FromInventories(model, species, reading.records));
    }
    if (reading.single) {
      site.UseA0Model = false;
      const auto& row = inputs.sgInventory[reading.firstRow];
      ReadValueAndAge(row[1], state.StandHeight, row[0], state.StandAge, context.decimalSeparator);
      SetStandHeights(state, model, species, HeightIsHdom());
      return FromStandHeight();
    }
    site.UseA0Model = true;
    focus = SiteFocus::Inventory;
    return 0;
  }

  double ByStandHeight() {
    site.UseA0Model = false;
    ReadValueAndAge(inputs.edtStandHeight, state.StandHeight, inputs.edtStandAge, state.StandAge,
                    context.decimalSeparator);
    SetStandHeights(state, model, species, HeightIsHdom());
    const double A0 = FromStandHeight();
    if (!(site.SiteIndex < 0)) return A0;
    // The height-age curve cannot take this height: fall back on the highest site index.
    Report(site_text::SiteIndexError);
    site.SiteIndex = model.MaxSiteIndex(species);
    return site.SiteClass >= -10 ? A0FromSiteIndex(model, species, site.SiteIndex) : 0;
  }

  double BySiteClass() {
    site.UseA0Model = false;
    ReadValueAndAge(inputs.edtSiteClass, site.SiteClass, inputs.edtStandAge, state.StandAge,
                    context.decimalSeparator);
    state.StandHeight = YieldTableHg(species, state.StandAge, site.SiteClass);
    SetStandHeights(state, model, species, false);
    state.YieldClass =
        CatchFloatFault([&] { return YieldClassFromHg(species, state.StandHg, state.StandAge); });
    return ToGrowthRate();
  }

  double ByYieldClass() {
    site.UseA0Model = false;
    ReadValueAndAge(inputs.edtYieldClass, state.YieldClass, inputs.edtStandAge, state.StandAge,
                    context.decimalSeparator);
    site.SiteClass = CatchFloatFault([&] { return SiteClassFromYieldClass(species, state.YieldClass); });
    state.StandHeight = YieldTableHg(species, state.StandAge, site.SiteClass);
    SetStandHeights(state, model, species, false);
    return ToGrowthRate();
  }

  double BySoil() {
    site.UseA0Model = true;
    const SoilReading soil = ReadSoilTextureData(inputs.sgSoil, context, messages);
    if (!soil.ok) {
      focus = SiteFocus::Soil;
      return 0;
    }
    state.CoarseSandPercent = soil.coarseSand;
    return FromGrowthRate(A0FromSoilTexture(model, species, state.CoarseSandPercent));
  }

  double ByNoMethod() {
    site.UseA0Model = false;
    site.SiteClass = 2;
    state.StandAge = 20;
    state.StandHeight = YieldTableHg(species, 20, 2);
    SetStandHeights(state, model, species, false);
    state.YieldClass = CatchFloatFault([&] { return YieldClassFromHg(species, state.StandHg, 20); });
    return ToGrowthRate();
  }

  double ByMethod() {
    if (site.UserA0Fixed) {
      site.UseA0Model = true;
      return FromGrowthRate(site.UserA0Parameter);
    }
    switch (inputs.rgSiteQuality) {
      case RepeatedInventories: return ByInventories();
      case StandHeightAtAge: return ByStandHeight();
      case ClassicalSiteClass: return BySiteClass();
      case ClassicalYieldClass: return ByYieldClass();
      case SoilTexture: return BySoil();
      default: return ByNoMethod();
    }
  }
};

// Raises the start age to the first whole year after the yield-table mean
// height reaches 2 m, and on to the first year in which the yield table has a
// basal area: in a few poor young stands its formula still gives none, and a
// table started there would hold no stand. An age the start-age edit would
// refuse is never set.
std::optional<std::string> RaiseStartAge(int species, double siteClass, ProjectionTables& tables,
                                         const CheckContext& context) {
  const double age = CatchFloatFault([&] { return YieldTableAgeAtHg(species, 2, siteClass); });
  CheckContext ages = context;
  ages.TableEndAge = tables.TableEndAge;
  const RangeBounds valid = RangeOfKind(1, ages);
  // n = trunc(age) + 1 lies in [lower, upper] exactly for these ages (NaN fails too).
  if (!(age >= valid.lower - 1 && age < valid.upper)) return std::nullopt;
  const int n = FirstAgeWithClassicalStand(species, siteClass, static_cast<int>(age) + 1,
                                           static_cast<int>(valid.upper));
  if (tables.TableStartAge >= n) return std::nullopt;
  tables.TableStartAge = n;
  return std::to_string(n);
}

void WriteLabels(SiteEstimate& result, const SiteParameters& site, const SiteState& state,
                 const CheckContext& context) {
  const char separator = context.decimalSeparator;
  auto label = [&](const BilingualText& prefix, const std::string& value) {
    return Choose(prefix, context.language) + " = " + value;
  };
  auto number = [&](double value, int decimals) { return FixedText(value, decimals, 9, separator); };
  if (result.A0 <= 1e-12) {
    result.lblSI = label(site_text::SiteIndexPrefix, "?");
    result.lblSC = label(site_text::SiteClassPrefix, "?");
    result.lblYC = label(site_text::YieldClassPrefix, "?");
  } else {
    result.lblSI = label(site_text::SiteIndexPrefix, number(site.SiteIndex, 1));
    result.lblSC = label(site_text::SiteClassPrefix, number(site.SiteClass, 2));
    result.lblYC = label(site_text::YieldClassPrefix, number(state.YieldClass, 1));
  }
  result.lblA0 = label(site_text::GrowthRatePrefix, number(result.A0, 4));
}

}  // namespace

void SetStandHeights(SiteState& state, const GrowthModel& model, int species, bool isHdom) {
  if (isHdom) {
    state.StandHdom = state.StandHeight;
    state.StandHg = CatchFloatFault([&] { return model.HgFromHdom(species, state.StandHdom); });
  } else {
    state.StandHg = state.StandHeight;
    state.StandHdom = CatchFloatFault([&] { return model.HdomFromHg(species, state.StandHg); });
  }
}

SiteEstimate EstimateA0parameter(bool showMessages, const ParameterStore& store, int species,
                                 SiteParameters& site, SiteState& state, const SiteInputs& inputs,
                                 ProjectionTables& tables, const CheckContext& context,
                                 MessageList& messages) {
  SiteEstimate result;
  const bool typed = tables.StateTableTyped || tables.ThinTableTyped;
  if (site.UserA0Fixed || InputsComplete(inputs, typed)) {
    const GrowthModel model(store, site.GrowthCorrection);
    Estimation estimation{model, species, site, state, inputs, context, showMessages, messages};
    result.A0 = estimation.ByMethod();
    result.focus = estimation.focus;
    if (!(result.A0 >= 0) && showMessages) estimation.Report(site_text::NegativeParameter);
    const double top = SiteBuiltInsFor(species).TopSiteClassWithoutWarning;
    if (result.A0 > 0 && (site.SiteClass < 1 || site.SiteClass > top) && showMessages) {
      const Language language = context.language;
      messages.push_back(
          {MessageKind::Error,
           Choose(site_text::SiteClassWarningHead, language) + YieldTableReferenceFor(species) +
               Choose(site_text::SiteClassWarningMiddle, language) +
               FixedText(site.SiteClass, 1, 9, context.decimalSeparator) +
               Choose(site_text::SiteClassWarningTail, language),
           {}});
    }
    if (!state.StartAgeKeyed) result.edtStartAge = RaiseStartAge(species, site.SiteClass, tables, context);
  }
  WriteLabels(result, site, state, context);
  return result;
}

SiteEstimate ReestimateA0parameter(bool showMessages, const ParameterStore& store, int species,
                                   SiteParameters& site, SiteState& state,
                                   const SiteInputs& inputs, ProjectionTables& tables,
                                   const CheckContext& context, MessageList& messages) {
  SiteEstimate result = EstimateA0parameter(showMessages, store, species, site, state, inputs,
                                            tables, context, messages);
  site.A0Parameter = result.A0;
  if (!site.UserA0Fixed) result.edtA0parameter = A0EditText(result.A0, context.decimalSeparator);
  return result;
}

std::string A0EditText(double A0, char decimalSeparator) {
  return FixedText(A0, 4, 10, decimalSeparator);
}

}  // namespace orven
