// Damaged settings files handed to orven-table from outside: whatever the
// bytes, the program ends with status 0 and a table, 1 with the message that
// names the damaged line, or 2 when the file cannot be read; never a crash.

#include <gtest/gtest.h>

#include <random>

#include "CommandSupport.h"
#include "app/session/Session.h"
#include "model/GrowthModel.h"
#include "projection/RegimeControls.h"

namespace orven {
namespace {

std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(bytes.substr(start, end - start));
  return lines;
}

std::string Join(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  return bytes;
}

// Beech by site class, a first/last-thinning regime with constraints and one
// typed first-year diameter: 37 settings lines and one typed-value line.
std::string GoodFile() {
  Session s(test::ProgramStore(), Language::English, '.');
  s.rgSpeciesClick(Beech);
  s.rgSiteQualityClick(ClassicalSiteClass);
  s.rgHeightClick(0);
  s.SiteEditExit(SiteEdit::SiteClass, "1.5");
  s.SiteEditExit(SiteEdit::StandAge, "30");
  s.edtGcorrectionEnter();
  s.rgVolumeClick(0);
  s.LeaveSitePage();
  s.rgPresetClick(1);
  s.AgeRangeEntered();
  s.edtEndAgeExit("100");
  s.ConstraintEdited();
  s.Regime.sgConstraints[1][2] = "10";
  s.Regime.sgConstraints[2][3] = "30";
  s.ReadConstraints();
  s.InitStateEntered();
  s.InitStateCells[2] = "7.5";
  s.ReadInitialState();
  s.ShowTablesPage();
  return s.SettingsFileText();
}

// The line named by "Invalid numeric input in line N of the settings file:
// FILE", the whole of standard error; 0 when it says anything else.
int DamagedLine(const std::string& err, const std::string& file) {
  const std::string head = "Invalid numeric input in line ", tail = " of the settings file: " + file + "\n";
  if (err.rfind(head, 0) != 0 || err.size() <= head.size() + tail.size() ||
      err.compare(err.size() - tail.size(), tail.size(), tail) != 0)
    return 0;
  const std::string number = err.substr(head.size(), err.size() - head.size() - tail.size());
  if (number.find_first_not_of("0123456789") != std::string::npos || number.size() > 6) return 0;
  return std::stoi(number);
}

struct Outcome {
  int status;       // -1 when the program did not exit by itself
  std::string out, err;
  int damagedLine;  // the line the message names; 0 without it
};

class DamagedFileCommandTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() { good = new std::vector<std::string>(Lines(GoodFile())); }
  static void TearDownTestSuite() { delete good; }

  // Runs orven-table on the bytes and checks what every outcome must satisfy.
  Outcome Run(const std::string& bytes) {
    const std::string file = folder.Write("damaged.orven", bytes);
    const test::CommandOutcome command = test::RunOrvenTable(folder, "--english '" + file + "'");
    Outcome run{command.status, command.out, command.err, 0};
    switch (run.status) {
      case 0:
        EXPECT_EQ(run.out.rfind("T\t", 0), 0u) << "no table header";
        EXPECT_EQ(run.err.find("Invalid numeric input"), std::string::npos);
        break;
      case 1:
        EXPECT_EQ(run.out, "");
        run.damagedLine = DamagedLine(run.err, file);
        EXPECT_GT(run.damagedLine, 0) << run.err;
        break;
      case 2:
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err, "");
        break;
      default: ADD_FAILURE() << "status " << run.status << ", standard error:\n" << run.err.substr(0, 2000);
    }
    return run;
  }
  void ExpectDamagedAt(const std::string& bytes, int line) {
    const Outcome run = Run(bytes);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.damagedLine, line);
  }
  static std::vector<std::string> With(int line, const std::string& text) {
    std::vector<std::string> lines = *good;
    lines[line - 1] = text;
    return lines;
  }

  static std::vector<std::string>* good;
  test::TemporaryFolder folder;
};

std::vector<std::string>* DamagedFileCommandTest::good = nullptr;

TEST_F(DamagedFileCommandTest, TruncatedAtAnyLineOrInsideIt) {
  ASSERT_EQ(good->size(), 38u);
  const std::string whole = Join(*good);
  EXPECT_EQ(Run(whole).status, 0);
  for (std::size_t kept = 0; kept <= 37; ++kept) {
    SCOPED_TRACE(kept);
    const std::vector<std::string> lines(good->begin(), good->begin() + static_cast<long>(kept));
    const Outcome run = Run(Join(lines));
    // Lines 1 and 2 are text; the settings end at line 37.
    if (kept == 37) {
      EXPECT_EQ(run.status, 0);
    } else {
      EXPECT_EQ(run.status, 1);
      EXPECT_EQ(run.damagedLine, std::max<int>(3, static_cast<int>(kept) + 1));
    }
  }
  // Cut inside a line: that line, or a later one, is named, or the part
  // kept still reads.
  std::size_t offset = 0;
  for (std::size_t line = 1; line <= good->size(); ++line) {
    const std::size_t length = (*good)[line - 1].size();
    SCOPED_TRACE(line);
    const Outcome run = Run(whole.substr(0, offset + length / 2));
    if (run.status == 1) {
      EXPECT_GE(run.damagedLine, std::max<int>(3, static_cast<int>(line)));
    }
    offset += length + 2;
  }
}

TEST_F(DamagedFileCommandTest, LettersInAnyNumberFieldNameTheLine) {
  std::vector<int> numberLines;
  for (int line = 3; line <= 34; ++line) numberLines.push_back(line);
  numberLines.push_back(38);
  for (int line : numberLines) {
    const std::string& text = (*good)[line - 1];
    const std::size_t end = std::min(text.find('{'), text.size());
    for (std::size_t start = text.find_first_not_of(' '); start < end;) {
      const std::size_t stop = std::min(text.find(' ', start), end);
      SCOPED_TRACE("line " + std::to_string(line) + " field at " + std::to_string(start));
      ExpectDamagedAt(Join(With(line, text.substr(0, start) + "O" + text.substr(start + 1))), line);
      start = text.find_first_not_of(' ', stop);
    }
  }
}

TEST_F(DamagedFileCommandTest, OutOfRangeValues) {
  struct Case {
    int line;
    const char* text;
    int damagedLine;  // 0: the file reads
  };
  const Case cases[] = {
      {3, " 99      {x}", 3},  {4, "-7      {x}", 4},  {12, " 2147483648      {x}", 12},
      {22, " -2147483648      {x}", 0},  // the stand age is taken as written
      {23, " 9999999999      {x}", 23},
      {25, "        -5      {x}", 25},  {26, "      9999      {x}", 26},
      {28, "         0      {x}", 28},  {34, "999   20 30      {x}", 34},
      {34, "  2   999999999999999999999 30      {x}", 34},
      {38, " 47   1  1.000000E+0001", 0},  {38, " -1   1  1.000000E+0001", 0},
      {38, "  3 251  1.000000E+0001", 0},  {38, "  3   0  1.000000E+0001", 0},
      {38, "  3   1  1.000000E+9999", 38},  {38, "  3   1  nan", 38},
      {38, "  3 99999999999999999999  1.0", 38},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.line) + ":" + c.text);
    const Outcome run = Run(Join(With(c.line, c.text)));
    EXPECT_EQ(run.status, c.damagedLine == 0 ? 0 : 1);
    EXPECT_EQ(run.damagedLine, c.damagedLine);
  }
}

TEST_F(DamagedFileCommandTest, RandomBytes) {
  std::mt19937 random(6151);
  const std::string whole = Join(*good);
  for (int k = 0; k < 24; ++k) {
    std::string bytes;
    if (k % 2 == 0) {
      bytes.resize(1 + random() % 3000);
      for (char& byte : bytes) byte = static_cast<char>(random());
    } else {
      // A good file with a few bytes overwritten: it mostly still reads.
      bytes = whole;
      for (int n = 0; n < 4; ++n) bytes[random() % bytes.size()] = static_cast<char>(random());
    }
    SCOPED_TRACE(k);
    Run(bytes);
  }
}

TEST_F(DamagedFileCommandTest, HugeLinesAndFiles) {
  // A long description is text only; long blank lines after the settings are skipped.
  EXPECT_EQ(Run(Join(With(2, std::string(2'000'000, 'a')))).status, 0);
  std::vector<std::string> lines = *good;
  lines.push_back(std::string(2'000'000, ' '));
  EXPECT_EQ(Run(Join(lines)).status, 0);
  // A number of a million digits, a line of a million numbers, a million lines.
  ExpectDamagedAt(Join(With(20, std::string(1'000'000, '7'))), 20);
  std::string ages = "  3";
  while (ages.size() < 1'000'000) ages += " 40";
  EXPECT_EQ(Run(Join(With(34, ages))).status, 0);
  EXPECT_EQ(Run(Join(*good) + std::string(1'000'000, '\n')).status, 0);
  // A file larger than any settings file cannot be read.
  const Outcome run = Run(std::string(17 * 1024 * 1024, '1'));
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err.find("The file could not be read"), 0u);
}

}  // namespace
}  // namespace orven
