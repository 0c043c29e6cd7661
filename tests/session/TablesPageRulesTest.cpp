// The rules of the tables page outside the session's handlers: the controls
// below the grids, the up-down buttons, the heading positions, the colours of
// the first-year grid, the column dialog, and the File menu's core side.
#include "session/SessionFixture.h"

#include "app/session/FileCommandRules.h"
#include "app/session/TablesPageRules.h"

namespace orven {
namespace {

using test::ShippedStore;
using test::WalkThrough;

TEST(ScheduleControls, FollowTheRuleAndLockWhileThinningsAreTyped) {
  Session s(ShippedStore(), Language::English, '.');
  const ScheduleControls before = ScheduleControlsOf(s);  // before the final step
  EXPECT_FALSE(before.ShowYears || before.ThinInterval || before.Objects.Interval1 || before.Objects.Interval2);
  WalkThrough(s, {});
  ScheduleControls controls = ScheduleControlsOf(s);
  EXPECT_TRUE(controls.ShowYears && controls.ThinInterval);
  EXPECT_TRUE(controls.Objects.Interval2);  // proportional, as the final step chooses
  EXPECT_FALSE(controls.Objects.Interval1 || controls.Objects.ThinYearEdit || controls.Objects.ThinYearLabel);

  test::TypeCell(s, ResultGrid::Thinning, G2, test::SecondThinningAge(s), "2");
  ASSERT_TRUE(s.Tables.ThinTableTyped);
  controls = ScheduleControlsOf(s);
  EXPECT_TRUE(controls.ShowYears);
  EXPECT_FALSE(controls.ThinInterval || controls.Objects.Interval2);
}

TEST(UpDown, StepsWithinOneTo200) {
  const struct {
    const char* text;
    int step;
    const char* expected;
  } cases[] = {{"5", 1, "6"}, {"5", -1, "4"}, {"1", -1, "1"}, {"200", 1, "200"},
               {"250", -1, "199"}, {"x", 1, "2"}, {"", -1, "1"}, {" 7 ", 1, "8"}};
  for (const auto& c : cases) EXPECT_EQ(UpDownText(c.text, c.step), c.expected) << c.text << " " << c.step;
}

TEST(UpDown, AStepAppliesTheInterval) {
  Session s(ShippedStore(), Language::English, '.');
  WalkThrough(s, {});
  const std::string before = s.Schedule.edtThinYear;
  ThinIntervalStepped(s, 2, +1);
  EXPECT_EQ(s.Schedule.edtThinInterval2, "11");
  EXPECT_NE(s.Schedule.edtThinYear, before);
  EXPECT_FALSE(ThinIntervalEntered(s, 2, "0"));
  EXPECT_EQ(s.TakeMessages().size(), 1u);
}

TEST(CaptionPositions, CentreEachHeadingWithinItsLimits) {
  // Wide grids: each heading centred and moved left by its own amount.
  EXPECT_EQ(CaptionPositions({0, 310, 560}, {308, 248, 308}, {100, 60, 180}, 900),
            (std::array<int, 3>{94, 399, 594}));
  // The first heading never left of 0; the second kept 20 pixels after the
  // first; the third never right of the panel width minus 215.
  EXPECT_EQ(CaptionPositions({0, 60, 120}, {60, 60, 600}, {100, 60, 180}, 500),
            (std::array<int, 3>{0, 120, 285}));
}

TEST(InitStateColours, TypedBlockedErrorAndDisabled) {
  Session s(ShippedStore(), Language::English, '.');
  WalkThrough(s, {});
  ProjectionTables& t = s.Tables;
  const auto rgb = [](int r, int g, int b) {
    return CellColour::Of(static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b));
  };
  EXPECT_EQ(InitStateColours(t, 1, true, true, false).background.kind, CellColour::Kind::Window);
  t.SetTyped(D1, 0, 10.0);
  t.SetTyped(N1, 0, 2000.0);
  EXPECT_EQ(InitStateColours(t, 1, true, true, false).background, rgb(250, 250, 150));
  EXPECT_EQ(InitStateColours(t, 1, true, true, false).text, rgb(0, 128, 0));
  // G1 with D1 and N1 typed over-determines the stand.
  EXPECT_EQ(InitStateColours(t, 3, true, true, false).background, rgb(190, 250, 190));
  t.ValueError[RTA1][0] = true;
  EXPECT_EQ(InitStateColours(t, 4, true, true, false).background, rgb(250, 190, 190));
  EXPECT_EQ(InitStateColours(t, 4, true, true, false).text, rgb(220, 0, 0));
  EXPECT_EQ(InitStateColours(t, 1, true, true, true).background, rgb(0, 100, 150));
  EXPECT_EQ(InitStateColours(t, 1, true, true, true).text, rgb(255, 255, 255));
  EXPECT_EQ(InitStateColours(t, 1, true, false, true).background, rgb(0xE6, 0xE6, 0xE6));
}

TEST(InitStateKeystroke, ABlockedRowIsRefusedOncePerEdit) {
  Session s(ShippedStore(), Language::English, '.');
  WalkThrough(s, {});
  s.Tables.SetTyped(D1, 0, 10.0);
  s.Tables.SetTyped(N1, 0, 2000.0);
  GridSelectCell(s.Typing);
  EXPECT_FALSE(InitStateKeystroke(s, 1, "9").has_value());  // D1 itself is not blocked
  EXPECT_EQ(s.InitStateCells[1], "9");
  GridSelectCell(s.Typing);
  const auto reset = InitStateKeystroke(s, 3, "5");
  ASSERT_TRUE(reset.has_value());
  EXPECT_EQ(s.InitStateCells[3], *reset);
  EXPECT_EQ(s.TakeMessages().size(), 1u);
  EXPECT_FALSE(InitStateKeystroke(s, 3, "55").has_value());
  EXPECT_TRUE(s.TakeMessages().empty());
}

TEST(ColumnDialog, ClosingAppliesTheChecksInCatalogueOrder) {
  Session s(ShippedStore(), Language::English, '.');
  WalkThrough(s, {});
  s.Columns.BeforeThinChecked.fill(false);
  s.Columns.BeforeThinChecked[8] = s.Columns.BeforeThinChecked[0] = true;
  ColumnDialogClosed(s);
  EXPECT_EQ(s.Results.Grids[0].Headers, (std::vector<std::string>{"T", "RS1"}));
  s.Columns.BeforeThinChecked.fill(false);
  ColumnDialogClosed(s);
  EXPECT_EQ(s.Results.Grids[0].Headers, (std::vector<std::string>{"???"}));
}

TEST(FileCommands, TheOpenQuestionOnlyWhileChanged) {
  Session s(ShippedStore(), Language::Danish, ',');
  EXPECT_FALSE(OpenQuestion(s).has_value());
  s.TableChanged = true;
  const auto question = OpenQuestion(s);
  ASSERT_TRUE(question.has_value());
  EXPECT_EQ(question->Kind, MessageKind::Question);
  EXPECT_EQ(question->Caption, " Overskriv den aktuelle produktionsoversigt?");
}

TEST(FileCommands, DialogTextsAndDefaultExtensions) {
  const FileDialogTexts english = FileDialogTextsOf(Language::English);
  EXPECT_EQ(english.OpenTitle, " Open a growth and yield table ");
  EXPECT_EQ(english.Filters[FileDialogTexts::TableFilter].Pattern, "*.orven");
  EXPECT_EQ(FileDialogTextsOf(Language::Danish).Filters[0].Name, "Tekstfiler (*.txt)");
  EXPECT_EQ(WithDefaultExtension("/a/b", "orven"), "/a/b.orven");
  EXPECT_EQ(WithDefaultExtension("/a.b/c", "orven"), "/a.b/c.orven");
  EXPECT_EQ(WithDefaultExtension("/a/c.txt", "orven"), "/a/c.txt");
}

TEST(FileCommands, ExportWritesTheChosenDelimiterAndReportsAFailedWrite) {
  test::TemporaryFolder folder;
  Session s(ShippedStore(), Language::English, '.');
  WalkThrough(s, {});
  s.TabDelimiter = false;
  const std::string path = folder.PathOf("table.txt");
  ASSERT_TRUE(ExportToFile(s, path));
  EXPECT_EQ(test::ReadBytes(path), s.ExportText(';'));
  EXPECT_FALSE(ExportToFile(s, folder.PathOf("missing/table.txt")));
  EXPECT_EQ(s.TakeMessages().size(), 1u);
}

TEST(FileCommands, AGoneRecentFileIsForgottenAndAnOpenedOneGreysTheSteps) {
  test::TemporaryFolder folder;
  Session s(ShippedStore(), Language::English, '.');
  WalkThrough(s, {});
  const std::string path = folder.PathOf("beech.orven");
  ASSERT_TRUE(s.Save(path));
  s.RecentFileName = path;
  ASSERT_EQ(OpenRecentFile(s), OpenOutcome::Opened);
  for (int step = 1; step <= Workflow::Steps; ++step) EXPECT_FALSE(s.Steps.LabelBlue[step]) << step;
  s.RecentFileName = folder.PathOf("gone.orven");
  EXPECT_EQ(OpenRecentFile(s), OpenOutcome::Missing);
  EXPECT_TRUE(s.RecentFileName.empty());
}

}  // namespace
}  // namespace orven

namespace orven {
namespace {

TEST(ThinningPageLocks, TypedValuesLockWhatWouldMoveThem) {
  Session s(ShippedStore(), Language::English, '.');
  WalkThrough(s, {});
  ThinningPageLocks locks = ThinningPageLocksOf(s);
  EXPECT_TRUE(locks.Preset && locks.TargetGGroup && locks.AgeRange && locks.StartAge);
  EXPECT_FALSE(locks.ThinningGroup);  // the standard regime is chosen

  test::TypeCell(s, ResultGrid::BeforeThin, D1, s.Tables.TableStartAge, "8");
  ASSERT_TRUE(s.Tables.StateTableTyped);
  locks = ThinningPageLocksOf(s);
  EXPECT_TRUE(locks.Preset && locks.TargetGGroup && locks.AgeRange);
  EXPECT_FALSE(locks.StartAge);

  test::TypeCell(s, ResultGrid::Thinning, G2, test::SecondThinningAge(s), "2");
  ASSERT_TRUE(s.Tables.ThinTableTyped);
  locks = ThinningPageLocksOf(s);
  EXPECT_FALSE(locks.Preset || locks.TargetGGroup || locks.ThinningGroup || locks.AgeRange || locks.StartAge);
}

}  // namespace
}  // namespace orven
