#pragma once

// Shared by the fuzz targets: the shipped parameter file, a temporary file
// for readers that take a path, sessions walked to a computed table, and the
// invariants every table must keep whatever the input was.

#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <bitset>
#include <map>
#include <string>

#include "app/session/Session.h"
#include "model/GrowthModel.h"
#include "projection/RegimeControls.h"

namespace orven::fuzz {

// A broken invariant is a finding: print it and abort, so that libFuzzer
// keeps the input.
[[noreturn]] inline void Fail(const std::string& what) {
  std::fprintf(stderr, "invariant broken: %s\n", what.c_str());
  std::fflush(stderr);
  std::abort();
}

inline void Expect(bool condition, const std::string& what) {
  if (!condition) Fail(what);
}

inline const ParameterStore& ShippedStore() {
  static const ParameterStore store = [] {
    ParameterStore s;
    if (!ReadParametersAtStartUp(s, ORVEN_PARAMETER_FILE, Language::English).found)
      Fail("no parameter file at " ORVEN_PARAMETER_FILE);
    return s;
  }();
  return store;
}

// One file per process, rewritten for every input and removed at exit.
class ScratchFile {
public:
  explicit ScratchFile(const char* suffix) {
    std::string pattern = std::string(P_tmpdir) + "/orven-fuzz-XXXXXX" + suffix;
    int fd = ::mkstemps(pattern.data(), static_cast<int>(std::string(suffix).size()));
    if (fd < 0) Fail("cannot create a scratch file");
    ::close(fd);
    path_ = pattern;
  }
  ~ScratchFile() { std::remove(path_.c_str()); }
  const std::string& Write(const std::uint8_t* data, std::size_t size) {
    std::ofstream(path_, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path_;
  }

private:
  std::string path_;
};

// Every value of the table is finite, and typed values and their counts agree.
inline void CheckValues(const ProjectionTables& t) {
  int state = 0, thin = 0;
  for (int v = 0; v < VariableRows; ++v)
    for (int i = 0; i < YearSlots; ++i) {
      if (!std::isfinite(t.StandTable[v][i]))
        Fail("non-finite StandTable[" + std::to_string(v) + "][" + std::to_string(i) + "]");
      if (t.UserFixed[v][i]) {
        Expect(v < VariableCount && !IsComputedVariable(v), "a computed variable is typed");
        Expect(std::isfinite(t.TypedValue[v][i]), "non-finite typed value");
        (v >= HD1 && v <= RTA1 ? state : thin)++;
      }
    }
  Expect(t.StateTypedCount == state, "StateTypedCount " + std::to_string(t.StateTypedCount) +
                                         " but " + std::to_string(state) + " typed cells");
  Expect(t.ThinTypedCount == thin, "ThinTypedCount " + std::to_string(t.ThinTypedCount) + " but " +
                                       std::to_string(thin) + " typed cells");
  Expect(t.StateTableTyped == (state > 0), "StateTableTyped disagrees with the typed cells");
  Expect(t.ThinTableTyped == (thin > 0), "ThinTableTyped disagrees with the typed cells");

}

// The four forms of the thinning ages agree and the rows lie inside the
// table. (A settings file damaged after its age lines leaves them for the
// next showing of the tables page to rebuild.)
inline void CheckSchedule(const ProjectionTables& t) {
  Expect(t.ThinAgeCount <= YearSlots, "more thinning ages than slots");
  std::bitset<256> set;
  for (int k = 0; k < YearSlots; ++k) {
    if (k >= t.ThinAgeCount) {
      Expect(t.ThinAges[k] == -1, "a used entry beyond ThinAgeCount");
      continue;
    }
    if (t.ThinAges[k] >= 0 && t.ThinAges[k] <= 255) set.set(t.ThinAges[k]);
  }
  Expect(set == t.ThinAgeSet, "ThinAgeSet disagrees with ThinAges");
  // IsThinYear marks the thinning ages inside the table only.
  for (int i = 0; i < YearSlots; ++i)
    Expect(t.IsThinYear[i] == (i <= t.LastYearIndex() && t.IsThinningAge(t.TableStartAge + i)),
           "IsThinYear disagrees with ThinAgeSet at year index " + std::to_string(i) + " of a table " +
               std::to_string(t.TableStartAge) + ".." + std::to_string(t.TableEndAge));
  Expect(t.TableRowCount >= 0 && t.TableRowCount <= YearSlots, "row count outside 0..250");
  for (int r = 0; r < t.TableRowCount; ++r)
    Expect(t.RowAges[r] >= t.TableStartAge && t.RowAges[r] <= t.TableEndAge, "a row outside the table's ages");
}

inline void CheckTables(const ProjectionTables& t) {
  CheckValues(t);
  CheckSchedule(t);
}

// Session state that the view shows must be finite as well.
inline void CheckSession(const Session& s, bool schedule = true) {
  CheckValues(s.Tables);
  if (schedule) CheckSchedule(s.Tables);
  const double site[] = {s.Site.SiteClass, s.Site.A0Parameter, s.Site.GrowthCorrection, s.Site.UserA0Parameter,
                         s.Site.SiteIndex, s.SiteValues.StandHdom, s.SiteValues.StandHg,
                         s.SiteValues.YieldClass, s.SiteValues.StandHeight};
  for (double x : site) Expect(std::isfinite(x), "non-finite site value");
  for (const GridTexts& grid : s.Results.Grids)
    for (const auto& row : grid.Rows)
      for (const std::string& cell : row)
        Expect(cell.find("nan") == std::string::npos && cell.find("inf") == std::string::npos,
               "a grid cell shows " + cell);
}

// A session walked by the handlers to a computed table, in a few variants.
struct WalkChoice {
  int species = Beech;
  int method = 2;  // ClassicalSiteClass
  bool dominantHeight = true;
  bool firstLastThinning = false;
  bool relativeSpacing = false;
  int showYears = 0;
};

inline Session WalkedSession(const WalkChoice& w) {
  Session s(ShippedStore(), Language::English, '.');
  for (int item = 0; item < static_cast<int>(s.SpeciesItems().size()); ++item)
    if (SpeciesAtRadioIndex(s.Store(), item) == w.species) s.rgSpeciesClick(item);
  s.rgSiteQualityClick(w.method);
  s.rgHeightClick(w.dominantHeight ? 0 : 1);
  SiteInputs& inputs = s.SiteView.Inputs;
  switch (w.method) {
    case 0:
      inputs.sgInventory[0] = {"25", "11.2", "28.5", "0"};
      inputs.sgInventory[1] = {"31", "14.1", "30.2", "6.5"};
      inputs.sgInventory[2] = {"38", "17", "32", "7"};
      s.SiteGridEdited();
      break;
    case 4:
      inputs.sgSoil = {"8", "12", "60", "20"};
      s.SiteGridEdited();
      break;
    case 1: s.SiteEditExit(SiteEdit::StandHeight, "15"); break;
    case 3: s.SiteEditExit(SiteEdit::YieldClass, "12"); break;
    default: s.SiteEditExit(SiteEdit::SiteClass, "1.5"); break;
  }
  if (w.method >= 1 && w.method <= 3) s.SiteEditExit(SiteEdit::StandAge, "30");
  s.edtGcorrectionEnter();
  s.rgVolumeClick(0);
  s.LeaveSitePage();
  s.rgPresetClick(w.firstLastThinning ? 1 : 0);
  if (!w.firstLastThinning) {
    s.rgTargetGClick(1);
  } else {
    if (w.relativeSpacing) s.rgMeasureClick(1);
    RegimePage& page = s.Regime;
    const std::string texts[] = {w.relativeSpacing ? "17.5" : "30", "22", "0.85", "1.00"};
    std::string* edits[] = {&page.edtThinIstart, &page.edtThinIend, &page.edtThinMstart, &page.edtThinMend};
    bool (*readers[])(RegimePage&, MessageList&) = {ReadThinIstart, ReadThinIend, ReadThinMstart, ReadThinMend};
    for (int k = 0; k < 4; ++k) {
      ThinEditEnter(page);
      s.RegimeInputEntered();
      *edits[k] = texts[k];
      readers[k](page, s.MessageSink());
    }
  }
  s.AgeRangeEntered();
  s.edtEndAgeExit("100");
  s.ConstraintEdited();
  s.ReadConstraints();
  s.InitStateEntered();
  if (w.showYears != 1) s.rgShowYearsClick(w.showYears);
  s.ShowTablesPage();
  s.TakeMessages();
  return s;
}

// A walked session per choice, made once: walking is slower than the input.
inline const Session& CachedWalkedSession(const WalkChoice& w) {
  static std::map<int, Session> cache;
  const int key = ((((w.species * 8 + w.method) * 2 + w.dominantHeight) * 2 + w.firstLastThinning) * 2 +
                   w.relativeSpacing) * 4 + (w.showYears + 1);
  auto it = cache.find(key);
  if (it == cache.end()) it = cache.emplace(key, WalkedSession(w)).first;
  return it->second;
}

}  // namespace orven::fuzz
