#include "cli/ModelCommand.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <istream>
#include <ostream>
#include <sstream>
#include <variant>

#include "messages/NumberText.h"
#include "model/DataRanges.h"
#include "model/FloatFault.h"
#include "model/Sentinel.h"
#include "model/TreeVolume.h"
#include "model/YieldTable.h"
#include "site/SiteSearch.h"

namespace orven::cli {
namespace {

// Argument names; those marked integer are parsed as whole numbers.
struct Parameter {
  const char* name;
  bool integer;
};

constexpr Parameter species{"species", true};
constexpr Parameter definition{"volumeDefinition", true};
constexpr Parameter code{"code", true};
constexpr Parameter Number(const char* name) { return {name, false}; }

using Value = std::variant<double, bool, SiteClassRange>;
using Arguments = std::vector<double>;

struct Routine {
  const char* name;
  std::vector<Parameter> parameters;
  std::function<Value(const GrowthModel&, const Arguments&)> evaluate;
};

int Int(double value) { return static_cast<int>(value); }

// The site searches fall back to beech's built-in ranges for unknown codes;
// here such a code gives the sentinel, as the growth-model routines do.
bool KnownSpecies(double code) { return IsSpeciesCode(Int(code)); }

const std::vector<Routine>& Routines() {
  static const std::vector<Routine> routines = {
      {"HdomIncrementA0", {species, Number("Hdom"), Number("G"), Number("A0")},
       [](const GrowthModel& m, const Arguments& a) {
         return Value(m.HdomIncrementA0(Int(a[0]), a[1], a[2], a[3]));
       }},
      {"BasalAreaIncrementA0", {species, Number("G"), Number("Hdom"), Number("A0")},
       [](const GrowthModel& m, const Arguments& a) {
         return Value(m.BasalAreaIncrementA0(Int(a[0]), a[1], a[2], a[3]));
       }},
      {"StemNumberChangeA0", {species, Number("N"), Number("Hdom")},
       [](const GrowthModel& m, const Arguments& a) {
         return Value(m.StemNumberChangeA0(Int(a[0]), a[1], a[2]));
       }},
      {"HdomIncrementSI", {species, Number("Hdom"), Number("G"), Number("SI")},
       [](const GrowthModel& m, const Arguments& a) {
         return Value(m.HdomIncrementSI(Int(a[0]), a[1], a[2], a[3]));
       }},
      {"BasalAreaIncrementSI", {species, Number("G"), Number("Hdom"), Number("SI")},
       [](const GrowthModel& m, const Arguments& a) {
         return Value(m.BasalAreaIncrementSI(Int(a[0]), a[1], a[2], a[3]));
       }},
      {"StemNumberChangeSI", {species, Number("N"), Number("Hdom")},
       [](const GrowthModel& m, const Arguments& a) {
         return Value(m.StemNumberChangeSI(Int(a[0]), a[1], a[2]));
       }},
      {"DominantHeightAtAge",
       {species, Number("age"), Number("referenceAge"), Number("referenceHeight")},
       [](const GrowthModel& m, const Arguments& a) {
         return Value(m.DominantHeightAtAge(Int(a[0]), a[1], a[2], a[3]));
       }},
      {"HgFromHdom", {species, Number("Hdom")},
       [](const GrowthModel& m, const Arguments& a) { return Value(m.HgFromHdom(Int(a[0]), a[1])); }},
      {"HdomFromHg", {species, Number("Hg")},
       [](const GrowthModel& m, const Arguments& a) { return Value(m.HdomFromHg(Int(a[0]), a[1])); }},
      {"HdomAfterThinning", {species, Number("Dbefore"), Number("Dafter"), Number("HdomBefore")},
       [](const GrowthModel& m, const Arguments& a) {
         return Value(m.HdomAfterThinning(Int(a[0]), a[1], a[2], a[3]));
       }},
      {"MaxSiteIndex", {species},
       [](const GrowthModel& m, const Arguments& a) { return Value(m.MaxSiteIndex(Int(a[0]))); }},
      {"A0FromSiteIndex", {species, Number("SI")},
       [](const GrowthModel& m, const Arguments& a) { return Value(KnownSpecies(a[0]) ? A0FromSiteIndex(m, Int(a[0]), a[1]) : Sentinel); }},
      {"SiteIndexFromA0", {species, Number("A0")},
       [](const GrowthModel& m, const Arguments& a) { return Value(KnownSpecies(a[0]) ? SiteIndexFromA0(m, Int(a[0]), a[1]) : Sentinel); }},
      {"A0FromSoilTexture", {species, Number("coarseSand")},
       [](const GrowthModel& m, const Arguments& a) { return Value(KnownSpecies(a[0]) ? A0FromSoilTexture(m, Int(a[0]), a[1]) : Sentinel); }},
      {"TreeVolume", {definition, species, Number("d"), Number("h"), Number("Dg")},
       [](const GrowthModel&, const Arguments& a) {
         return Value(TreeVolume(Int(a[0]), Int(a[1]), a[2], a[3], a[4]));
       }},
      {"MerchDiameterLimit", {definition},
       [](const GrowthModel&, const Arguments& a) { return Value(MerchDiameterLimit(Int(a[0]))); }},
      {"SmallTreeVolume", {Number("d"), Number("h")},
       [](const GrowthModel&, const Arguments& a) { return Value(SmallTreeVolume(a[0], a[1])); }},
      {"HeightForTreeVolume", {definition, species, Number("v"), Number("d"), Number("Dg")},
       [](const GrowthModel&, const Arguments& a) {
         return Value(HeightForTreeVolume(Int(a[0]), Int(a[1]), a[2], a[3], a[4]));
       }},
      {"YieldTableHg", {species, Number("T"), Number("S")},
       [](const GrowthModel&, const Arguments& a) { return Value(YieldTableHg(Int(a[0]), a[1], a[2])); }},
      {"YieldTableAgeAtHg", {species, Number("Hg"), Number("S")},
       [](const GrowthModel&, const Arguments& a) {
         return Value(YieldTableAgeAtHg(Int(a[0]), a[1], a[2]));
       }},
      {"SiteClassFromHg", {species, Number("Hg"), Number("T")},
       [](const GrowthModel&, const Arguments& a) { return Value(SiteClassFromHg(Int(a[0]), a[1], a[2])); }},
      {"YieldClassFromHg", {species, Number("Hg"), Number("T")},
       [](const GrowthModel&, const Arguments& a) { return Value(YieldClassFromHg(Int(a[0]), a[1], a[2])); }},
      {"SiteClassFromYieldClass", {species, Number("Y")},
       [](const GrowthModel&, const Arguments& a) { return Value(SiteClassFromYieldClass(Int(a[0]), a[1])); }},
      {"YieldClassFromSiteClass", {species, Number("S")},
       [](const GrowthModel&, const Arguments& a) { return Value(YieldClassFromSiteClass(Int(a[0]), a[1])); }},
      {"SiteClassLimits", {species},
       [](const GrowthModel&, const Arguments& a) { return Value(SiteClassLimits(Int(a[0]))); }},
      {"YieldTableDiameter", {species, Number("T"), Number("S")},
       [](const GrowthModel&, const Arguments& a) { return Value(YieldTableDiameter(Int(a[0]), a[1], a[2])); }},
      {"YieldTableBasalArea", {species, Number("T"), Number("S")},
       [](const GrowthModel&, const Arguments& a) { return Value(YieldTableBasalArea(Int(a[0]), a[1], a[2])); }},
      {"YieldTableStemNumber", {species, Number("T"), Number("S")},
       [](const GrowthModel&, const Arguments& a) {
         return Value(YieldTableStemNumber(Int(a[0]), a[1], a[2]));
       }},
      {"OutsideDataRange", {code, species, Number("value")},
       [](const GrowthModel& m, const Arguments& a) {
         return Value(OutsideDataRange(m, Int(a[0]), Int(a[1]), a[2]));
       }},
      {"OutsideModelData", {species, code, Number("T"), Number("HD"), Number("value")},
       [](const GrowthModel& m, const Arguments& a) {
         return Value(OutsideModelData(m, Int(a[0]), Int(a[1]), a[2], a[3], a[4]));
       }},
      {"SiteIndexOutsideData", {species, Number("age"), Number("Hdom")},
       [](const GrowthModel&, const Arguments& a) {
         return Value(SiteIndexOutsideData(Int(a[0]), a[1], a[2]));
       }},
      {"DiameterOutsideData", {species, Number("D"), Number("HD")},
       [](const GrowthModel&, const Arguments& a) { return Value(DiameterOutsideData(Int(a[0]), a[1], a[2])); }},
      {"BasalAreaOutsideData", {species, Number("G"), Number("HD")},
       [](const GrowthModel&, const Arguments& a) {
         return Value(BasalAreaOutsideData(Int(a[0]), a[1], a[2]));
       }},
  };
  return routines;
}

std::string Signature(const Routine& routine) {
  std::string text = routine.name;
  for (const Parameter& p : routine.parameters) text += std::string(" ") + p.name;
  return text;
}

// A finite decimal number written in full, or an integer within int's range.
bool ParseArgument(const std::string& word, bool integer, double& value) {
  if (integer) {
    int n = 0;
    if (!ParseInteger(word, n)) return false;
    value = n;
    return true;
  }
  return ParseFloat(word, '.', value);
}

// The shortest text that reads back as the same double (at most 17
// significant digits), so the sentinel prints as -1e+24.
std::string FormatNumber(double value) {
  char buffer[40];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general);
  return std::string(buffer, result.ptr);
}

// A fault raised during the evaluation, or a non-finite result, is a fault.
bool Finite(const Value& value) {
  if (const double* number = std::get_if<double>(&value)) return std::isfinite(*number);
  if (const SiteClassRange* range = std::get_if<SiteClassRange>(&value))
    return std::isfinite(range->lo) && std::isfinite(range->hi);
  return true;
}

std::string Format(const Value& value) {
  if (const double* number = std::get_if<double>(&value)) return FormatNumber(*number);
  if (const bool* flag = std::get_if<bool>(&value)) return *flag ? "1" : "0";
  const SiteClassRange& range = std::get<SiteClassRange>(value);
  return FormatNumber(range.lo) + " " + FormatNumber(range.hi);
}

}  // namespace

CallOutcome EvaluateModelCall(const GrowthModel& model, const std::vector<std::string>& words) {
  if (words.empty()) return {CallStatus::Error, "no routine named"};
  const Routine* routine = nullptr;
  for (const Routine& candidate : Routines())
    if (words[0] == candidate.name) routine = &candidate;
  if (routine == nullptr)
    return {CallStatus::Error, "unknown routine '" + words[0] + "' (see 'orven-table model --list')"};

  const std::size_t expected = routine->parameters.size();
  if (words.size() - 1 != expected)
    return {CallStatus::Error, std::string(routine->name) + " takes " + std::to_string(expected) +
                                   (expected == 1 ? " argument" : " arguments") + " (" +
                                   Signature(*routine) + "), " + std::to_string(words.size() - 1) +
                                   " given"};

  Arguments arguments(expected);
  for (std::size_t i = 0; i < expected; ++i) {
    const Parameter& parameter = routine->parameters[i];
    if (!ParseArgument(words[i + 1], parameter.integer, arguments[i]))
      return {CallStatus::Error, std::string(routine->name) + ": argument " + parameter.name +
                                     " is not " + (parameter.integer ? "an integer" : "a number") +
                                     ": '" + words[i + 1] + "'"};
  }

  ClearFloatFaults();
  Value value = routine->evaluate(model, arguments);
  if (FloatFaultRaised() || !Finite(value)) return {CallStatus::Fault, "fault"};
  return {CallStatus::Ok, Format(value)};
}

void ListModelRoutines(std::ostream& out) {
  for (const Routine& routine : Routines()) out << Signature(routine) << '\n';
}

void RunModelBatch(const GrowthModel& model, std::istream& in, std::ostream& out) {
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream split(line);
    std::vector<std::string> words;
    for (std::string word; split >> word;) words.push_back(word);
    if (words.empty()) continue;
    CallOutcome outcome = EvaluateModelCall(model, words);
    out << (outcome.status == CallStatus::Error ? "error: " : "") << outcome.text << '\n';
  }
}

}  // namespace orven::cli
