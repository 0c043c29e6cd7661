#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "messages/InputChecks.h"
#include "projection/ThinningSchedule.h"

namespace orven {
namespace {

constexpr int ProportionalItem = 1;
constexpr int ThinningsOnlyItem = 1;

class ThinningScheduleTest : public ::testing::Test {
protected:
  void SetAges(int start, int end) {
    tables.TableStartAge = start;
    tables.TableEndAge = end;
  }
  int Establish(int item, std::string text = "") {
    thinYearText = std::move(text);
    return EstablishThinList(tables, item, thinYearText);
  }
  std::vector<int> ListedAges() const {
    return {tables.ThinAges.begin(), tables.ThinAges.begin() + tables.ThinAgeCount};
  }
  std::vector<int> ThinYearAges() const {
    std::vector<int> ages;
    for (int i = 0; i < YearSlots; ++i)
      if (tables.IsThinYear[i]) ages.push_back(tables.TableStartAge + i);
    return ages;
  }
  std::vector<int> RowAgesShown() {
    std::vector<int> years = MapRowsToYears(tables, ThinningsOnlyItem);
    std::vector<int> ages;
    for (std::size_t r = 0; r < years.size(); ++r) {
      EXPECT_EQ(tables.RowAges[r], tables.TableStartAge + years[r]);
      ages.push_back(tables.RowAges[r]);
    }
    return ages;
  }

  ProjectionTables tables;
  std::string thinYearText;
  MessageList messages;
};

TEST_F(ThinningScheduleTest, ProportionalRuleRoundsHalvesToEven) {
  SetAges(20, 100);
  const std::vector<int> expected = {20, 22, 24, 27, 30, 33, 37, 41, 45, 50, 56, 62, 69, 77, 85, 94};
  for (int item : {ProportionalItem, -1}) {  // no item chosen acts as the proportional rule
    Establish(item, "ignored 99");
    EXPECT_EQ(ListedAges(), expected) << "item " << item;
    EXPECT_EQ(ThinYearAges(), expected);
    EXPECT_EQ(thinYearText, "20, 22, 24, 27, 30, 33, 37, 41, 45, 50, 56, 62, 69, 77, 85, 94, ");
    for (int age = 0; age < 256; ++age)
      EXPECT_EQ(tables.ThinAgeSet.test(age), age >= 20 && age <= 100 && tables.IsThinYear[age - 20]) << age;
  }
  EXPECT_EQ(tables.ThinAges[16], -1);
}

TEST_F(ThinningScheduleTest, FixedRuleStartsAtTheFirstYear) {
  struct Case {
    int interval, ages, rows, lastListedAge;
  };
  for (const Case c : {Case{5, 13, 13, 80}, Case{7, 9, 10, 76}}) {
    SetAges(20, 80);
    tables.ThinIntervalYears = c.interval;
    Establish(FixedIntervalItem);
    EXPECT_EQ(tables.ThinAgeCount, c.ages) << "interval " << c.interval;
    EXPECT_EQ(tables.ThinAges[0], 20);
    EXPECT_EQ(tables.ThinAges[1], 20 + c.interval);
    EXPECT_EQ(tables.ThinAges[c.ages - 1], c.lastListedAge);
    EXPECT_EQ(SetTableRowCount(tables, ThinningsOnlyItem), c.rows);
    EXPECT_EQ(tables.TableRowCount, c.rows);
    const std::vector<int> rows = RowAgesShown();
    ASSERT_EQ(static_cast<int>(rows.size()), c.rows);
    EXPECT_EQ(rows.back(), 80);
  }
}

TEST_F(ThinningScheduleTest, EndAgeExtendsTheFixedList) {
  tables.ThinIntervalYears = 5;
  Establish(FixedIntervalItem);
  ASSERT_TRUE(ReadEndAge(tables, "100", Language::English, messages));
  Establish(FixedIntervalItem);
  EXPECT_EQ(tables.ThinAgeCount, 17);
  EXPECT_EQ(ListedAges().back(), 100);
}

TEST_F(ThinningScheduleTest, FreeListKeepsTheTypedOrderAndDuplicates) {
  SetAges(20, 80);
  EXPECT_EQ(Establish(VaryingListItem, "40,30 30;x55"), 0);
  EXPECT_EQ(ListedAges(), (std::vector<int>{40, 30, 30, 55}));
  EXPECT_EQ(thinYearText, "40, 30, 30, 55, ");
  EXPECT_EQ(ThinYearAges(), (std::vector<int>{30, 40, 55}));
  EXPECT_TRUE(tables.IsThinningAge(55));
  EXPECT_FALSE(tables.IsThinningAge(56));

  // Signs, points and letters only separate; no digits gives an empty list.
  Establish(VaryingListItem, "-35.5 a");
  EXPECT_EQ(ListedAges(), (std::vector<int>{35, 5}));
  Establish(VaryingListItem, "none, at all");
  EXPECT_EQ(tables.ThinAgeCount, 0);
  EXPECT_EQ(thinYearText, "");
  EXPECT_TRUE(ThinYearAges().empty());
  EXPECT_TRUE(tables.ThinAgeSet.none());
}

TEST_F(ThinningScheduleTest, FreeListKeepsItsFirst250Ages) {
  SetAges(20, 250);
  std::string text;
  for (int age = 1; age <= 300; ++age) text += std::to_string(age) + ",";
  EXPECT_EQ(Establish(VaryingListItem, text), 50);
  EXPECT_EQ(tables.ThinAgeCount, 250);
  EXPECT_EQ(tables.ThinAges[249], 250);
  EXPECT_EQ(thinYearText.substr(thinYearText.size() - 10), "249, 250, ");
  EXPECT_FALSE(tables.IsThinningAge(251));
}

TEST_F(ThinningScheduleTest, NumbersBeyond32BitsMarkNoYear) {
  SetAges(20, 80);
  Establish(VaryingListItem, "30, 99999999999999999999999, 2147483648 40");
  const int largest = std::numeric_limits<std::int32_t>::max();
  EXPECT_EQ(ListedAges(), (std::vector<int>{30, largest, largest, 40}));
  EXPECT_EQ(ThinYearAges(), (std::vector<int>{30, 40}));
  EXPECT_EQ(tables.ThinAgeSet.count(), 2u);
}

TEST_F(ThinningScheduleTest, AgesOutsideTheTableMarkNoYear) {
  SetAges(20, 250);
  Establish(VaryingListItem, "260, 255, 10, 30");
  EXPECT_EQ(ListedAges(), (std::vector<int>{260, 255, 10, 30}));
  EXPECT_EQ(ThinYearAges(), (std::vector<int>{30}));
  EXPECT_TRUE(tables.ThinAgeSet.test(255));
  EXPECT_TRUE(tables.ThinAgeSet.test(10));
  EXPECT_FALSE(tables.IsThinningAge(260));
  EXPECT_EQ(SetTableRowCount(tables, ThinningsOnlyItem), 3);
}

TEST_F(ThinningScheduleTest, ThinningsOnlyShowsFirstThinningAndLastYearsOnce) {
  struct Case {
    const char* list;
    std::vector<int> rows;
  };
  const Case cases[] = {
      {"30, 40", {20, 30, 40, 60}},
      {"40, 20, 20", {20, 40, 60}},  // the start age is shown once
      {"60, 30", {20, 30, 60}},      // so is the end age
      {"", {20, 60}},
  };
  for (const Case& c : cases) {
    SetAges(20, 60);
    Establish(VaryingListItem, c.list);
    EXPECT_EQ(SetTableRowCount(tables, ThinningsOnlyItem), static_cast<int>(c.rows.size())) << c.list;
    EXPECT_EQ(RowAgesShown(), c.rows) << c.list;
    EXPECT_EQ(tables.RowAges[c.rows.size()], 0);
  }
}

TEST_F(ThinningScheduleTest, AllYearsShowsEveryYearOfTheLongestTable) {
  SetAges(16, 250);
  Establish(ProportionalItem);
  EXPECT_EQ(SetTableRowCount(tables, AllYearsItem), 235);
  const std::vector<int> years = MapRowsToYears(tables, AllYearsItem);
  ASSERT_EQ(years.size(), 235u);
  EXPECT_EQ(years.front(), 0);
  EXPECT_EQ(years.back(), 234);
  EXPECT_EQ(tables.RowAges[0], 16);
  EXPECT_EQ(tables.RowAges[234], 250);
  EXPECT_EQ(tables.RowAges[235], 0);
}

TEST_F(ThinningScheduleTest, EstablishThinListClearsTheRowMap) {
  Establish(ProportionalItem);
  MapRowsToYears(tables, AllYearsItem);
  ASSERT_EQ(tables.RowAges[0], 20);
  Establish(ProportionalItem);
  EXPECT_EQ(tables.RowAges[0], 0);
}

// A new start age does not rebuild the list, so IsThinYear may still mark
// years past the new end of the table: they must not produce rows.
TEST_F(ThinningScheduleTest, StaleThinYearsBeyondTheTableGiveNoRows) {
  SetAges(20, 80);
  tables.ThinIntervalYears = 5;
  Establish(FixedIntervalItem);
  ASSERT_TRUE(ReadStartAge(tables, "40", Language::English, messages));
  const int rows = SetTableRowCount(tables, ThinningsOnlyItem);
  const std::vector<int> shown = RowAgesShown();
  EXPECT_EQ(rows, static_cast<int>(shown.size()));
  EXPECT_EQ(shown.back(), 80);
  for (int age : shown) EXPECT_LE(age, 80);
}

TEST_F(ThinningScheduleTest, AgeEditsAreCheckedAgainstTheOtherAge) {
  struct Case {
    bool startEdit;
    const char* text;
    bool accepted;
    const char* message;
  };
  const Case cases[] = {
      {true, "16", true, nullptr},
      {true, "60", false, "   The value entered (60) is out or range!   \r\n   The valid range is: 16 - 59   "},
      {true, "15", false, "   The value entered (15) is out or range!   \r\n   The valid range is: 16 - 59   "},
      {true, "12.0", false, "   Invalid character(s): String is not a valid number!   "},
      {false, "250", true, nullptr},
      {false, "251", false, "   The value entered (251) is out or range!   \r\n   The valid range is: 21 - 250   "},
      {false, "20", false, "   The value entered (20) is out or range!   \r\n   The valid range is: 21 - 250   "},
  };
  for (const Case& c : cases) {
    SetAges(20, 60);
    messages.clear();
    const bool accepted = c.startEdit ? ReadStartAge(tables, c.text, Language::English, messages)
                                      : ReadEndAge(tables, c.text, Language::English, messages);
    EXPECT_EQ(accepted, c.accepted) << c.text;
    const int stored = c.startEdit ? tables.TableStartAge : tables.TableEndAge;
    EXPECT_EQ(stored, c.accepted ? std::stoi(c.text) : (c.startEdit ? 20 : 60)) << c.text;
    if (c.message) {
      ASSERT_EQ(messages.size(), 1u) << c.text;
      EXPECT_EQ(messages[0].Text, c.message);
      EXPECT_EQ(messages[0].Kind, MessageKind::Error);
    } else {
      EXPECT_TRUE(messages.empty()) << c.text;
    }
  }
}

TEST_F(ThinningScheduleTest, ExamineThinIntervalChecksTheActiveEditOnly) {
  struct Case {
    int item;
    const char* interval1;
    const char* interval2;
    bool accepted;
    int years, divisor;
  };
  const Case cases[] = {
      {FixedIntervalItem, "7", "12", true, 7, 12},
      {FixedIntervalItem, "7", "0", true, 7, 10},     // an invalid inactive edit keeps its setting
      {FixedIntervalItem, "7", "abc", true, 7, 10},
      {ProportionalItem, "abc", "12", true, 5, 12},
      {VaryingListItem, "3", "200", true, 3, 200},    // the free list checks the divisor's edit
      {FixedIntervalItem, "0", "12", false, 5, 10},
      {ProportionalItem, "7", "201", false, 5, 10},
      {ProportionalItem, "7", "1.5", false, 5, 10},
  };
  for (const Case& c : cases) {
    ProjectionTables fresh;
    messages.clear();
    EXPECT_EQ(ExamineThinInterval(fresh, c.item, c.interval1, c.interval2, Language::English, messages),
              c.accepted)
        << c.interval1 << " / " << c.interval2;
    EXPECT_EQ(fresh.ThinIntervalYears, c.years) << c.interval1 << " / " << c.interval2;
    EXPECT_EQ(fresh.ThinIntervalDivisor, c.divisor) << c.interval1 << " / " << c.interval2;
    EXPECT_EQ(messages.size(), c.accepted ? 0u : 1u);
  }
}

TEST_F(ThinningScheduleTest, IntervalControlsFollowTheRuleUnlessThinningsAreTyped) {
  struct Case {
    int item;
    bool typed;
    ThinIntervalObjects expected;
  };
  const Case cases[] = {
      {FixedIntervalItem, false, {true, false, false, false}},
      {ProportionalItem, false, {false, true, false, false}},
      {-1, false, {false, true, false, false}},
      {VaryingListItem, false, {false, false, true, true}},
      {FixedIntervalItem, true, {false, false, false, false}},
      {VaryingListItem, true, {false, false, false, true}},
  };
  for (const Case& c : cases) {
    const ThinIntervalObjects got = SetThinIntervalObjects(c.item, c.typed);
    EXPECT_EQ(got.Interval1, c.expected.Interval1) << c.item << " typed " << c.typed;
    EXPECT_EQ(got.Interval2, c.expected.Interval2) << c.item << " typed " << c.typed;
    EXPECT_EQ(got.ThinYearEdit, c.expected.ThinYearEdit) << c.item << " typed " << c.typed;
    EXPECT_EQ(got.ThinYearLabel, c.expected.ThinYearLabel) << c.item << " typed " << c.typed;
  }
}

TEST(InitStateLabelTest, ShowsTheStartAgeOrAQuestionMark) {
  EXPECT_EQ(InitStateLabel(20, Language::English), "S&tand state before thinning at age 20:");
  EXPECT_EQ(InitStateLabel(16, Language::Danish), "Bevo&ksningstilstand før tynding ved alder 16:");
  EXPECT_EQ(InitStateLabel(0, Language::English), "S&tand state before thinning at age ?");
  EXPECT_EQ(InitStateLabel(-3, Language::Danish), "Bevo&ksningstilstand før tynding ved alder ?");
}

}  // namespace
}  // namespace orven
