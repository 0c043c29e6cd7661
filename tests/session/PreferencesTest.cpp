#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/session/Preferences.h"
#include "session/SessionFixture.h"

namespace orven {
namespace {

std::string Flags(const Preferences& p) {
  std::string flags;
  for (bool on : {p.English, p.AutoUpdate, p.VerticalShift, p.ShowA0param, p.TabDelimiter}) flags += on ? '1' : '0';
  return flags;
}

TEST(PreferencesFile, TextOfTheOptionsAndTheRecentFile) {
  EXPECT_EQ(PreferencesText(Preferences{}), " 0 1 1 0 1\n");
  Preferences p{true, false, false, true, false, "/home/anna/tables/Beech.orven"};
  EXPECT_EQ(PreferencesText(p), " 1 0 0 1 0\n/home/anna/tables/Beech.orven\n");
  // A name that spans two lines could not be read back as the recent file.
  p.RecentFileName = "/home/anna/two\nlines.orven";
  EXPECT_EQ(PreferencesText(p), " 1 0 0 1 0\n");
}

TEST(PreferencesFile, WrittenFileReadsBack) {
  test::TemporaryFolder folder;
  const std::string path = folder.PathOf(PreferencesFileName);
  const Preferences written{true, false, true, true, false, "C:\\Data\\Tables\\Bøg.orven"};
  ASSERT_TRUE(WritePreferencesFile(path, written));
  EXPECT_EQ(test::ReadBytes(path), PreferencesText(written));
  const PreferencesReading reading = ReadPreferencesFile(path);
  EXPECT_TRUE(reading.Exists && reading.Read);
  EXPECT_EQ(Flags(reading.Values), "10110");
  EXPECT_EQ(reading.Values.RecentFileName, written.RecentFileName);

  EXPECT_FALSE(WritePreferencesFile(folder.PathOf("no-such-folder/" + std::string(PreferencesFileName)), written));
}

TEST(PreferencesFile, ReadingToleratesWhatAFileMayHold) {
  struct Case {
    std::string bytes;
    std::string flags;  // empty: unreadable, the defaults stay
    std::string recent;
  };
  const Case cases[] = {
      {" 1 0 1 1 0\r\nC:\\Data\\Beech.orven\r\n", "10110", "C:\\Data\\Beech.orven"},
      {" 1 0 1 1 0\n/home/anna/Beech.orven", "10110", "/home/anna/Beech.orven"},
      {"1 2 1 -1 1", "10101", ""},  // only 1 is on
      {"0\n1\n1\n0\n1\n/a/b.orven\n", "01101", "/a/b.orven"},  // integers across line ends
      {" 1 1 1 1 1 and more words\n/p.orven\nignored\n", "11111", "/p.orven"},
      {" 1 1 1 1 1\n\n", "11111", ""},
      {"+1 0 0 0 0\n", "10000", ""},
      {"", "", ""},
      {" 1 1", "", ""},
      {"garbage\n", "", ""},
      {"1x 1 1 1 1\n", "", ""},
      {"99999999999 1 1 1 1\n", "", ""},
      {"1 1 1 1 1.0\n", "", ""},
      {std::string("1 1 \0 1 1\n", 10), "", ""},
  };
  test::TemporaryFolder folder;
  for (const Case& c : cases) {
    const PreferencesReading reading = ReadPreferencesFile(folder.Write(PreferencesFileName, c.bytes));
    SCOPED_TRACE(c.bytes);
    EXPECT_TRUE(reading.Exists);
    EXPECT_EQ(reading.Read, !c.flags.empty());
    EXPECT_EQ(Flags(reading.Values), c.flags.empty() ? "01101" : c.flags);
    EXPECT_EQ(reading.Values.RecentFileName, c.recent);
  }
}

TEST(PreferencesFile, MissingFolderOrHugeFile) {
  test::TemporaryFolder folder;
  EXPECT_FALSE(ReadPreferencesFile(folder.PathOf(PreferencesFileName)).Exists);

  // Present but not a readable preferences file: exists, not read.
  std::filesystem::create_directory(folder.PathOf("dir"));
  const PreferencesReading directory = ReadPreferencesFile(folder.PathOf("dir"));
  EXPECT_TRUE(directory.Exists);
  EXPECT_FALSE(directory.Read);
  const PreferencesReading huge =
      ReadPreferencesFile(folder.Write("huge", " 1 1 1 1 1\n/" + std::string(1 << 20, 'x') + "\n"));
  EXPECT_TRUE(huge.Exists);
  EXPECT_FALSE(huge.Read);
}

TEST(SessionPreferences, StartUpAppliesTheFile) {
  Session session(test::ShippedStore(), Language::Danish, ',');
  PreferencesReading reading{true, true, {true, false, false, true, false, "/home/anna/Beech.orven"}};
  session.ApplyPreferences(reading);
  EXPECT_EQ(session.language(), Language::English);
  EXPECT_EQ(session.Regime.language, Language::English);
  EXPECT_EQ(session.Results.ErrorLine, "No table created");
  EXPECT_FALSE(session.AutoUpdate);
  EXPECT_FALSE(session.VerticalShift);
  EXPECT_TRUE(session.SiteView.ShowA0param);
  EXPECT_FALSE(session.TabDelimiter);
  EXPECT_EQ(session.RecentFileName, "/home/anna/Beech.orven");
  EXPECT_TRUE(session.WelcomeAccepted && session.PreferencesRead);
  EXPECT_EQ(PreferencesText(session.PreferencesToSave()), " 1 0 0 1 0\n/home/anna/Beech.orven\n");
}

TEST(SessionPreferences, UnreadableOrMissingFile) {
  Session unreadable(test::ShippedStore(), Language::Danish, ',');
  PreferencesReading reading;
  reading.Exists = true;
  reading.Values.English = true;  // not read: ignored
  unreadable.ApplyPreferences(reading);
  EXPECT_TRUE(unreadable.WelcomeAccepted);  // the file exists, so an earlier run was accepted
  EXPECT_FALSE(unreadable.PreferencesRead);
  EXPECT_EQ(unreadable.language(), Language::Danish);

  Session firstRun(test::ShippedStore(), Language::Danish, ',');
  firstRun.ApplyPreferences(PreferencesReading{});
  EXPECT_FALSE(firstRun.WelcomeAccepted || firstRun.PreferencesRead);
  // What an accepted first run leaves behind.
  EXPECT_EQ(PreferencesText(firstRun.PreferencesToSave()), " 0 1 1 0 1\n");
}

TEST(SessionPreferences, TheCurrentFileIsSavedBeforeTheRecentOne) {
  Session session(test::ShippedStore(), Language::Danish, ',');
  session.RecentFileName = "/old.orven";
  EXPECT_EQ(session.PreferencesToSave().RecentFileName, "/old.orven");
  session.CurrentFileName = "/current.orven";
  EXPECT_EQ(session.PreferencesToSave().RecentFileName, "/current.orven");
}

}  // namespace
}  // namespace orven
