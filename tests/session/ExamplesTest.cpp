#include "session/SessionFixture.h"

#include <filesystem>
#include <set>

namespace orven {
namespace {

using test::FileLines;
using test::ShippedStore;

std::vector<std::string> ExampleFiles() {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(ORVEN_EXAMPLES_DIR))
    if (entry.path().extension() == ".orven") files.push_back(entry.path().string());
  std::sort(files.begin(), files.end());
  return files;
}

// Opens an example in the language it was saved in, with the decimal
// separator its thinning-mode edit shows (always two decimals).
Session OpenExample(const std::string& path, const std::vector<std::string>& lines) {
  const Language language = lines[0].starts_with("Settings") ? Language::English : Language::Danish;
  const char separator = lines[30].substr(0, 9).find(',') != std::string::npos ? ',' : '.';
  Session session(ShippedStore(), language, separator);
  EXPECT_EQ(session.Open(path), OpenOutcome::Opened);
  return session;
}

TEST(Examples, CoverEverySpeciesAndEverySiteMethodInBothLanguages) {
  std::set<int> species, methods;
  std::set<Language> languages;
  bool typed = false, spacingWithConstraints = false;
  for (const std::string& path : ExampleFiles()) {
    const std::vector<std::string> lines = FileLines(test::ReadBytes(path));
    Session session = OpenExample(path, lines);
    species.insert(session.Species.CurrentSpecies);
    methods.insert(session.SiteView.Inputs.rgSiteQuality);
    languages.insert(session.language());
    typed = typed || (session.Tables.StateTableTyped && session.Tables.ThinTableTyped);
    const RegimeSettings& regime = session.Regime.Regime;
    spacingWithConstraints = spacingWithConstraints ||
                             (session.Regime.rgPreset == 1 && !regime.MeasureIsBasalArea &&
                              (regime.ThinVMin > -10000 || regime.ThinPctMax < 10000));
  }
  EXPECT_EQ(species.size(), 7u);
  EXPECT_EQ(methods.size(), 5u);
  EXPECT_EQ(languages.size(), 2u);
  EXPECT_TRUE(typed);
  EXPECT_TRUE(spacingWithConstraints);
}

TEST(Examples, OpenQuietlyAndSaveBackUnchanged) {
  for (const std::string& path : ExampleFiles()) {
    SCOPED_TRACE(path);
    const std::string bytes = test::ReadBytes(path);
    Session session = OpenExample(path, FileLines(bytes));
    EXPECT_TRUE(session.TakeMessages().empty());
    EXPECT_EQ(session.SettingsFileText(), bytes);
  }
}

// Heights, diameters and the production grow from year to year, stems only
// fall, every value lies in its plausible range, and the stand is thinned.
TEST(Examples, ComputeSensibleTables) {
  for (const std::string& path : ExampleFiles()) {
    SCOPED_TRACE(path);
    Session session = OpenExample(path, FileLines(test::ReadBytes(path)));
    const ProjectionTables& t = session.Tables;
    EXPECT_TRUE(session.Results.ProjectionOk);
    EXPECT_EQ(session.Results.ErrorLine, "");
    int thinnings = 0;
    for (int i = 0; i <= t.LastYearIndex(); ++i) {
      thinnings += t.StandTable[V2][i] > 0;
      if (i == 0) continue;
      const auto& s = t.StandTable;
      EXPECT_GT(s[HD1][i], s[HD1][i - 1]) << "year " << i;
      EXPECT_GT(s[Hg1][i], s[Hg1][i - 1]) << "year " << i;
      EXPECT_GT(s[D1][i], s[D1][i - 1]) << "year " << i;
      EXPECT_LE(s[N1][i], s[N1][i - 1]) << "year " << i;
      EXPECT_GT(s[V1][i], s[V3][i - 1]) << "year " << i;
      EXPECT_GT(s[dVtot][i], s[dVtot][i - 1]) << "year " << i;
    }
    EXPECT_GE(thinnings, 3);
  }
}

}  // namespace
}  // namespace orven
