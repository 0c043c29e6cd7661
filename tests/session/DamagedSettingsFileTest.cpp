#include "session/SessionFixture.h"

#include <random>

namespace orven {
namespace {

using test::DamagedMessage;
using test::FileLines;
using test::JoinLines;
using test::ShippedStore;
using test::WalkThrough;

// A complete file of a first/last-thinning table with one typed value (line
// 38), and a fresh session to open its damaged copies in.
class DamagedSettingsFileTest : public ::testing::Test {
protected:
  DamagedSettingsFileTest() {
    Session session(ShippedStore(), Language::English, '.');
    WalkThrough(session, {Beech, ClassicalSiteClass, true, 0, true, false, "100", true});
    test::TypeCell(session, ResultGrid::BeforeThin, D1, session.Tables.TableStartAge, "7.5");
    good = FileLines(session.SettingsFileText());
    goodExport = session.ExportText(TabDelimiter);
  }

  struct Outcome {
    OpenOutcome outcome;
    MessageList messages;
    std::string path;
  };
  Outcome Open(const std::string& bytes, Language language = Language::English) {
    const std::string path = folder.Write("damaged.orven", bytes);
    Session session(ShippedStore(), language, '.');
    const OpenOutcome outcome = session.Open(path);
    EXPECT_EQ(session.CurrentFileName.empty(), outcome != OpenOutcome::Opened);
    return {outcome, session.TakeMessages(), path};
  }
  // Opens the file and expects the damaged-line message naming `line`, and nothing else.
  void ExpectDamagedAt(const std::string& bytes, int line) {
    Outcome result = Open(bytes);
    EXPECT_EQ(result.outcome, OpenOutcome::Damaged);
    ASSERT_FALSE(result.messages.empty());
    EXPECT_EQ(result.messages.back().Kind, MessageKind::Error);
    EXPECT_EQ(result.messages.back().Text, DamagedMessage(Language::English, line, result.path));
  }

  test::TemporaryFolder folder;
  std::vector<std::string> good;
  std::string goodExport;
};

TEST_F(DamagedSettingsFileTest, TheUndamagedFileOpens) {
  ASSERT_EQ(good.size(), 38u);
  Outcome result = Open(JoinLines(good));
  EXPECT_EQ(result.outcome, OpenOutcome::Opened);
  EXPECT_TRUE(result.messages.empty());
}

TEST_F(DamagedSettingsFileTest, ATruncatedFileNamesTheFirstMissingLine) {
  for (std::size_t kept = 1; kept <= 36; ++kept) {
    SCOPED_TRACE(kept);
    const std::vector<std::string> lines(good.begin(), good.begin() + static_cast<long>(kept));
    // Line 2 is text and may be absent; line 3 holds the first number.
    ExpectDamagedAt(JoinLines(lines), kept == 1 ? 3 : static_cast<int>(kept) + 1);
  }
  // Without its typed values the file is complete.
  const std::vector<std::string> settingsOnly(good.begin(), good.begin() + 37);
  EXPECT_EQ(Open(JoinLines(settingsOnly)).outcome, OpenOutcome::Opened);
}

TEST_F(DamagedSettingsFileTest, LettersInAnyNumberFieldNameTheLine) {
  // Lines 3 to 34 and the typed-value line 38 hold numbers before their labels.
  std::vector<int> numberLines;
  for (int line = 3; line <= 34; ++line) numberLines.push_back(line);
  numberLines.push_back(38);
  for (int line : numberLines) {
    const std::string& text = good[line - 1];
    const std::size_t end = std::min(text.find('{'), text.size());
    for (std::size_t start = text.find_first_not_of(' '); start < end;) {
      std::size_t stop = std::min(text.find(' ', start), end);
      SCOPED_TRACE("line " + std::to_string(line) + " field at " + std::to_string(start));
      std::vector<std::string> lines = good;
      lines[line - 1] = text.substr(0, start) + "x" + text.substr(start + 1, std::string::npos);
      ExpectDamagedAt(JoinLines(lines), line);
      start = text.find_first_not_of(' ', stop);
    }
  }
}

TEST_F(DamagedSettingsFileTest, RadioItemsOutsideTheirGroupNameTheLine) {
  struct Case {
    int line;
    const char* values;
  };
  const Case cases[] = {
      {3, "  7"}, {3, " -2"}, {4, "  5"}, {5, "  2"}, {7, "  4"}, {8, "  2"},
      {9, "  3  20.0000"}, {10, "  2"}, {11, "  2"}, {12, "  3"}, {12, " -2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.values);
    std::vector<std::string> lines = good;
    lines[c.line - 1] = std::string(c.values) + "      {label}";
    ExpectDamagedAt(JoinLines(lines), c.line);
  }
  // No item chosen (-1) is a value of every group.
  std::vector<std::string> lines = good;
  lines[10] = " -1      {Years to be shown in tables}";
  EXPECT_EQ(Open(JoinLines(lines)).outcome, OpenOutcome::Opened);
}

TEST_F(DamagedSettingsFileTest, AgesThatCannotMakeATableNameTheLine) {
  // The good file: thinning ramp 25 to 60, table 20 to 100, sixteen thinning ages.
  struct Case {
    int line;
    const char* values;
  };
  const Case cases[] = {
      {24, "        25"},                     // last thinning not after the first
      {25, "        15"},                     // the table starts before 16 years
      {25, "       250"},                     // no room for a second year
      {26, "        20"},                     // the table ends where it starts
      {26, "       251"},                     // beyond the 250 years of the table
      {27, "         0"}, {27, "       201"},  // constant interval outside 1..200
      {28, "         0"}, {28, "       201"},  // divisor outside 1..200
      {34, " 17   20 22"},                    // fewer ages than announced
      {34, "251   20 22"},                    // more ages than years
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.line) + ":" + c.values);
    std::vector<std::string> lines = good;
    lines[c.line - 1] = std::string(c.values) + "      {label}";
    ExpectDamagedAt(JoinLines(lines), c.line);
  }
}

TEST_F(DamagedSettingsFileTest, TypedValuesThatCannotBeTypedAreSkipped) {
  std::vector<std::string> lines = good;
  for (const char* line : {" 47   1  1.000000E+0001",    // beyond the catalogue
                           " -1   1  1.000000E+0001",
                           " 46   1  1.000000E+0001",    // no variable
                           "  6   1  1.000000E+0002",    // V1 is always computed
                           "  4   0  1.000000E+0003",    // before the first year
                           "  4 251  1.000000E+0003",    // after the last slot
                           ""})                           // a blank line
    lines.push_back(line);
  const std::string path = folder.Write("extra.orven", JoinLines(lines));
  Session session(ShippedStore(), Language::English, '.');
  ASSERT_EQ(session.Open(path), OpenOutcome::Opened);
  EXPECT_TRUE(session.TakeMessages().empty());
  EXPECT_EQ(session.SettingsFileText(), JoinLines(good));
  EXPECT_EQ(session.ExportText(TabDelimiter), goodExport);
  EXPECT_EQ(session.Tables.StateTypedCount + session.Tables.ThinTypedCount, 1);
}

TEST_F(DamagedSettingsFileTest, ReadingStopsAtTheDamageAndKeepsWhatWasApplied) {
  std::vector<std::string> lines = good;
  lines[2] = "  3      {Tree species number}";   // Norway spruce
  lines[19] = " seven      {Yield class}";
  Session session(ShippedStore(), Language::English, '.');
  session.RecentFileName = "earlier.orven";
  const std::string path = folder.Write("stops.orven", JoinLines(lines));
  EXPECT_EQ(session.Open(path), OpenOutcome::Damaged);
  EXPECT_EQ(session.Species.CurrentSpecies, NorwaySpruce);
  EXPECT_EQ(session.Regime.rgPreset, 1);  // line 8
  EXPECT_FALSE(session.Tables.Typed(D1, 0));  // line 38 was never reached
  EXPECT_EQ(session.RecentFileName, "earlier.orven");
  EXPECT_TRUE(session.CurrentFileName.empty());
}

TEST_F(DamagedSettingsFileTest, TheMessageIsInTheInterfaceLanguage) {
  Outcome result = Open("", Language::Danish);
  EXPECT_EQ(result.outcome, OpenOutcome::Damaged);
  ASSERT_EQ(result.messages.size(), 1u);
  EXPECT_EQ(result.messages[0].Text, DamagedMessage(Language::Danish, 3, result.path));
}

TEST_F(DamagedSettingsFileTest, RandomBytesAreDamage) {
  std::mt19937 random(20240611);
  for (int file = 0; file < 20; ++file) {
    std::string bytes(1 + random() % 4000, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random());
    Outcome result = Open(bytes);
    EXPECT_EQ(result.outcome, OpenOutcome::Damaged);
    ASSERT_FALSE(result.messages.empty());
    EXPECT_NE(result.messages.back().Text.find("Invalid numeric input in line"), std::string::npos);
  }
}

TEST_F(DamagedSettingsFileTest, HugeLines) {
  // A long description is only text.
  std::vector<std::string> lines = good;
  lines[1] = std::string(3'000'000, 'a') + "\xAC";
  const std::string path = folder.Write("long.orven", JoinLines(lines));
  Session session(ShippedStore(), Language::English, '.');
  ASSERT_EQ(session.Open(path), OpenOutcome::Opened);
  ASSERT_EQ(session.Description.size(), 1u);
  EXPECT_EQ(session.Description[0].size(), 3'000'000u);

  // A number of a hundred thousand digits does not fit.
  lines = good;
  lines[2] = std::string(100'000, '1') + "      {Tree species number}";
  ExpectDamagedAt(JoinLines(lines), 3);
  lines = good;
  lines[5] = " 1" + std::string(100'000, '0') + ".0      {Basal area correction factor}";
  ExpectDamagedAt(JoinLines(lines), 6);
}

TEST_F(DamagedSettingsFileTest, AnEmptyFileIsDamaged) { ExpectDamagedAt("", 3); }

TEST_F(DamagedSettingsFileTest, AMissingFileChangesNothing) {
  for (Language language : {Language::English, Language::Danish}) {
    Session session(ShippedStore(), language, '.');
    WalkThrough(session, {});
    const std::string before = session.SettingsFileText();
    const std::string path = folder.PathOf("absent.orven");
    EXPECT_EQ(session.Open(path), OpenOutcome::Missing);
    const MessageList messages = session.TakeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Kind, MessageKind::Error);
    EXPECT_EQ(messages[0].Text, (language == Language::English ? "   The file does not exist:   \r\n   "
                                                               : "   Filen eksisterer ikke:   \r\n   ") +
                                    path + "   ");
    EXPECT_EQ(session.SettingsFileText(), before);
    EXPECT_TRUE(session.CurrentFileName.empty());
  }
}

TEST_F(DamagedSettingsFileTest, AFolderCannotBeOpened) {
  Session session(ShippedStore(), Language::English, '.');
  EXPECT_EQ(session.Open(folder.PathOf("")), OpenOutcome::Missing);
  const MessageList messages = session.TakeMessages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].Kind, MessageKind::Error);
  EXPECT_NE(messages[0].Text.find(folder.PathOf("")), std::string::npos);
}

}  // namespace
}  // namespace orven
