#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "messages/InputChecks.h"
#include "site/SiteGrids.h"
#include "site/SiteTestStore.h"
#include "site/SiteTexts.h"

namespace orven {
namespace {

std::string English(const BilingualText& text) { return text.English; }

std::vector<std::string> Texts(const MessageList& messages) {
  std::vector<std::string> texts;
  for (const Message& m : messages) texts.push_back(m.Text);
  return texts;
}

class ReadInventoryDataTest : public ::testing::Test {
protected:
  InventoryReading Read(bool heightIsHg = false, bool showMessages = true) {
    return ReadInventoryData(cells, heightIsHg, model, Beech, context, showMessages, messages);
  }
  void Row(int index, std::array<std::string, 4> row) { cells[index] = std::move(row); }

  ParameterStore store = test::SiteTestStore();
  GrowthModel model{store};
  CheckContext context{Language::English, '.'};
  InventoryCells cells{};
  MessageList messages;
};

TEST_F(ReadInventoryDataTest, TwoInventoriesGiveCompletedRecords) {
  Row(2, {"30", "15", "20", "3"});
  Row(3, {"35", "16.5", "21", "0"});
  InventoryReading r = Read();
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.firstRow, 2);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(r.records[0].Age, 30);
  EXPECT_EQ(r.records[0].Hdom, 15);
  EXPECT_DOUBLE_EQ(r.records[0].Hg, model.HgFromHdom(Beech, 15));
  EXPECT_EQ(r.records[0].GAfter, 20);
  EXPECT_EQ(r.records[0].GThinned, 3);
  EXPECT_EQ(r.records[0].GBefore, 23);
  EXPECT_EQ(r.records[1].Age, 35);
  EXPECT_EQ(r.records[1].GBefore, 21);
  EXPECT_EQ(r.records[2].Age, -1);
}

TEST_F(ReadInventoryDataTest, MeanHeightsAreConvertedToDominantHeights) {
  Row(0, {"30", "15", "20", "0"});
  Row(1, {"35", "16", "21", "0"});
  InventoryReading r = Read(/*heightIsHg=*/true);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.records[0].Hg, 15);
  EXPECT_DOUBLE_EQ(r.records[0].Hdom, model.HdomFromHg(Beech, 15));
}

TEST_F(ReadInventoryDataTest, EmptyRowsBetweenInventoriesAreClosedUp) {
  Row(0, {"30", "15", "20", "3"});
  Row(1, {" ", "", "  ", ""});  // blanks only: empty, not a number error
  Row(4, {"35", "16.5", "21", "0"});
  InventoryReading r = Read();
  ASSERT_TRUE(r.ok);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(r.records[0].Age, 30);
  EXPECT_EQ(r.records[1].Age, 35);
  EXPECT_EQ(r.records[2].Age, -1);
}

TEST_F(ReadInventoryDataTest, BlankCellsWithinARowAreEmptyFields) {
  Row(0, {"30", "15", "20", "  "});
  Row(1, {"35", "16.5", "21", "0"});
  InventoryReading r = Read();
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(Texts(messages), std::vector<std::string>{English(site_text::MissingBasalArea)});
}

TEST_F(ReadInventoryDataTest, NoDataAndOneInventory) {
  InventoryReading none = Read();
  EXPECT_FALSE(none.ok);
  EXPECT_FALSE(none.single);
  EXPECT_EQ(Texts(messages), std::vector<std::string>{English(site_text::NoInventoryData)});

  messages.clear();
  Row(3, {"42", "17.5", "", ""});
  InventoryReading one = Read();
  EXPECT_FALSE(one.ok);
  EXPECT_TRUE(one.single);
  EXPECT_EQ(one.firstRow, 3);
  EXPECT_EQ(Texts(messages),
            std::vector<std::string>{English(site_text::OneInventory) + std::string("42.   ")});

  messages.clear();
  EXPECT_TRUE(Read(false, /*showMessages=*/false).single);
  EXPECT_TRUE(messages.empty());
}

TEST_F(ReadInventoryDataTest, NumberErrorsReportAlwaysAndSpoilTheSingleFallbackOnlyInTheFirstRow) {
  Row(0, {"30", "15,5", "20", "3"});
  Row(1, {"35", "16.5", "21", "0"});
  InventoryReading first = Read(false, /*showMessages=*/false);
  EXPECT_FALSE(first.ok);
  EXPECT_FALSE(first.single);
  EXPECT_EQ(Texts(messages), std::vector<std::string>{InvalidNumberText(Language::English) + "  \"15,5\""});

  messages.clear();
  Row(0, {"30", "15", "20", "3"});
  Row(1, {"35.5", "16.5", "21", "0"});
  InventoryReading later = Read();
  EXPECT_FALSE(later.ok);
  EXPECT_TRUE(later.single);
  EXPECT_EQ(Texts(messages), std::vector<std::string>{InvalidNumberText(Language::English)});
}

TEST_F(ReadInventoryDataTest, RangeMessagesFollowOneAnother) {
  Row(0, {"3", "51", "0.5", "91"});
  Row(1, {"-35", "-2", "21", "-1"});  // typed negatives are values, not empty fields
  InventoryReading r = Read();
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.single);
  EXPECT_EQ(Texts(messages), (std::vector<std::string>{
                                 English(site_text::AgeOutOfRange), English(site_text::HeightOutOfRange),
                                 English(site_text::BasalAreaOutOfRange), English(site_text::ThinnedOutOfRange),
                                 English(site_text::AgeOutOfRange), English(site_text::HeightOutOfRange),
                                 English(site_text::ThinnedOutOfRange)}));
  messages.clear();
  Read(false, /*showMessages=*/false);
  EXPECT_TRUE(messages.empty());
}

TEST_F(ReadInventoryDataTest, ConsistencyChecks) {
  struct Case {
    const char* name;
    std::array<std::string, 4> first, second;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"missing height", {"30", "", "20", "3"}, {"35", "16", "21", "0"}, {English(site_text::MissingHeight)}},
      {"missing age", {"", "15", "20", "3"}, {"35", "16", "21", "0"}, {English(site_text::MissingAge)}},
      {"missing thinned basal area", {"30", "15", "20", ""}, {"35", "16", "21", "0"},
       {English(site_text::MissingBasalArea)}},
      {"ages not increasing", {"35", "15", "20", "3"}, {"35", "16", "21", "0"},
       {English(site_text::AgeNotIncreasing)}},
      {"height falls 2.5 m", {"30", "15", "20", "3"}, {"35", "12.5", "21", "0"},
       {English(site_text::HeightDecreases)}},
      {"height falls 2 m", {"30", "15", "20", "3"}, {"35", "13", "21", "0"}, {}},
  };
  for (const Case& c : cases) {
    cells = {};
    messages.clear();
    Row(0, c.first);
    Row(1, c.second);
    InventoryReading r = Read();
    EXPECT_EQ(r.ok, c.expected.empty()) << c.name;
    EXPECT_TRUE(r.single) << c.name;
    EXPECT_EQ(Texts(messages), c.expected) << c.name;
  }
}

class ReadSoilTextureDataTest : public ::testing::Test {
protected:
  SoilReading Read(SoilCells cells) { return ReadSoilTextureData(cells, context, messages); }
  CheckContext context{Language::English, '.'};
  MessageList messages;
};

TEST_F(ReadSoilTextureDataTest, PercentagesMustSumToHundredWithinOneHundredth) {
  SoilReading ok = Read({"20", "30", "40", "9.995"});
  EXPECT_TRUE(ok.ok);
  EXPECT_EQ(ok.coarseSand, 9.995);
  EXPECT_TRUE(messages.empty());

  SoilReading short_ = Read({"20", "30", "40", "9.9"});
  EXPECT_FALSE(short_.ok);
  EXPECT_EQ(short_.coarseSand, 0);
  EXPECT_EQ(Texts(messages), std::vector<std::string>{English(site_text::SoilSum) + std::string("(99.90)   ")});

  messages.clear();
  context = {Language::Danish, ','};
  EXPECT_FALSE(Read({"20", "30", "40", "9,9"}).ok);
  EXPECT_EQ(Texts(messages),
            std::vector<std::string>{std::string(site_text::SoilSum.Danish) + "(99,90)   "});
}

TEST_F(ReadSoilTextureDataTest, TheFirstFailingCellStopsTheReading) {
  struct Case {
    const char* name;
    SoilCells cells;
    std::string expected;
  };
  const Case cases[] = {
      {"empty cell", {"20", "  ", "x", "10"}, English(site_text::SoilNotEntered)},
      {"not a number", {"20", "x", "", "10"}, InvalidNumberText(Language::English) + "  \"x\""},
      {"out of range", {"20", "130", "-50", "0"}, "   The value entered (130) is out or range!   \r\n   The valid range is: 0 - 100   "},
  };
  for (const Case& c : cases) {
    messages.clear();
    SoilReading r = Read(c.cells);
    EXPECT_FALSE(r.ok) << c.name;
    EXPECT_EQ(Texts(messages), std::vector<std::string>{c.expected}) << c.name;
  }
}

}  // namespace
}  // namespace orven
