#include "site/SitePresets.h"

#include <array>
#include <cmath>

#include "messages/NumberText.h"
#include "model/FloatFault.h"
#include "model/YieldTable.h"
#include "site/SiteTexts.h"

namespace orven {
namespace {

struct SpeciesPresets {
  double UserA0Parameter;
  double YieldClass;
};

// Oak's 0.99 (not 0.099) lies outside its search range but inside the range
// accepted for a keyed-in parameter.
constexpr std::array<SpeciesPresets, SpeciesCount> Presets = {{
    {0.025, 8.9},   // beech
    {0.99, 6.1},    // oak
    {0.05, 6.1},    // ash
    {0.007, 16.4},  // Norway spruce
    {0.025, 16.5},  // Sitka spruce
    {0.12, 20.8},   // Douglas fir
    {0.045, 16.2},  // silver fir
}};

const SpeciesPresets& PresetsFor(int species) { return Presets[IsSpeciesCode(species) ? species : Beech]; }

}  // namespace

void PresetUserA0parameter(SiteParameters& site, int species) {
  site.UserA0Parameter = PresetsFor(species).UserA0Parameter;
}

double DefaultYieldClass(int species) { return PresetsFor(species).YieldClass; }

std::optional<std::string> PresetYieldClass(SiteState& state, int species, char decimalSeparator) {
  if (state.YieldClassKeyed) return std::nullopt;
  state.YieldClass = DefaultYieldClass(species);
  return FormatGeneral(state.YieldClass, decimalSeparator);
}

std::optional<std::string> PresetStandHeight(SiteState& state, const SiteParameters& site,
                                             const GrowthModel& model, int species,
                                             bool heightIsHdom, char decimalSeparator) {
  if (state.StandHeightKeyed || !(site.SiteClass > 1.8 && site.SiteClass < 2.2)) return std::nullopt;
  double h = YieldTableHg(species, state.StandAge, site.SiteClass);
  if (heightIsHdom) h = CatchFloatFault([&] { return model.HdomFromHg(species, h); });
  // nearbyint rounds halves to even in the default rounding mode
  state.StandHeight = std::nearbyint(h * 10) / 10;
  return FormatGeneral(state.StandHeight, decimalSeparator);
}

std::string SoilNote(int species, Language language) {
  if (species == Beech) return Choose(site_text::NoSoilEffect, language);
  if (species == SitkaSpruce)
    return Choose(site_text::NoSoilEffect, language) + Choose(site_text::SitkaSoilRemark, language);
  return {};
}

std::string KeyedInParameterNote(Language language) {
  return Choose(site_text::KeyedInParameterNote, language);
}

}  // namespace orven
