// One iteration is what the program does on every update: clear the computed
// cells and project the whole table.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <initializer_list>
#include <iostream>
#include <memory>

#include "model/ParameterStore.h"
#include "projection/ProjectionEngine.h"
#include "projection/ProjectionTables.h"
#include "projection/StandSettings.h"
#include "projection/ThinningRegime.h"

namespace orven {
namespace {

const ParameterStore& Parameters() {
  static const ParameterStore store = [] {
    ParameterStore s;
    if (!ReadParameterFile(s, ORVEN_PARAMETER_FILE, Language::English).found) {
      std::cerr << "Parameter file not found: " << ORVEN_PARAMETER_FILE << "\n";
      std::exit(1);
    }
    return s;
  }();
  return store;
}

struct Table {
  Table(int startAge, int endAge) {
    stand.Store = &Parameters();
    stand.Species = Beech;
    stand.Site.SiteIndex = 24;
    stand.Site.SiteClass = 2;
    tables.TableStartAge = startAge;
    tables.TableEndAge = endAge;
  }

  void ThinAt(int age) {
    tables.ThinAges[tables.ThinAgeCount++] = age;
    tables.ThinAgeSet.set(age);
    tables.IsThinYear[age - tables.TableStartAge] = true;
  }

  bool Project() {
    tables.ClearComputedValues();
    return ProjectTable(tables, regime, stand);
  }

  ProjectionTables tables;
  RegimeSettings regime;
  StandSettings stand;
};

// Beech, heavy thinning (target G 25 at both ends, quotients 0.90 and 1.00),
// ages 20 to 100 with thinning ages proportional to age.
std::unique_ptr<Table> TypicalTable() {
  auto t = std::make_unique<Table>(20, 100);
  for (int age : {20, 22, 24, 27, 30, 33, 37, 41, 45, 50, 56, 62, 69, 77, 85, 94}) t->ThinAt(age);
  t->regime.TargetGStart = t->regime.TargetGEnd = 25;
  t->regime.QuotientStart = 0.90;
  t->regime.QuotientEnd = 1.00;
  return t;
}

// Ages 16 to 250, a thinning every year toward a relative spacing, and
// constraints that send most years through corrective passes.
std::unique_ptr<Table> WorstCaseTable() {
  auto t = std::make_unique<Table>(16, 250);
  for (int age = 16; age <= 250; ++age) t->ThinAt(age);
  RegimeSettings& r = t->regime;
  r.MeasureIsBasalArea = false;
  r.ThinStartAge = 20;
  r.ThinEndAge = 120;
  r.TargetRSStart = 18;
  r.TargetRSEnd = 26;
  // About 6.6 thinning calls a year of the seven possible, every search converging.
  r.ThinVMin = 6;
  r.ThinVMax = 12;
  r.ThinPctMin = 4;
  r.ThinPctMax = 6;
  r.RemGMin = 22;
  r.RemGMax = 26;
  return t;
}

// The typical table with the removed basal area and the mean diameter of the
// removed trees typed in every thinning year, as the regime computed them.
std::unique_ptr<Table> TypedThinningsTable() {
  auto t = TypicalTable();
  t->Project();
  ProjectionTables& tables = t->tables;
  for (int k = 0; k < tables.ThinAgeCount; ++k) {
    const int i = tables.ThinAges[k] - tables.TableStartAge;
    for (int v : {G2, D2}) tables.SetTyped(v, i, tables.Value(v, i));
  }
  return t;
}

void Run(benchmark::State& state, Table& table) {
  // A table whose searches fail would not measure the intended case.
  if (!table.Project()) state.SkipWithError("a thinning search failed");
  for (auto _ : state) {
    benchmark::DoNotOptimize(table.Project());
    benchmark::ClobberMemory();
  }
}

void BM_TypicalTable(benchmark::State& state) { Run(state, *TypicalTable()); }
void BM_WorstCase(benchmark::State& state) { Run(state, *WorstCaseTable()); }
void BM_TwoTypedThinningValues(benchmark::State& state) { Run(state, *TypedThinningsTable()); }

BENCHMARK(BM_TypicalTable)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WorstCase)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TwoTypedThinningValues)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orven
