#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <sstream>

#include "cli/ModelCommand.h"
#include "support/ParameterFileFixture.h"

namespace orven {
namespace {

using test::Record;

// Runs orven-table through the shell and captures standard output and error.
struct TableRun {
  int status;
  std::string out;
};

TableRun RunTable(const std::string& arguments, const std::string& workingDirectory = ".") {
  std::string command = "cd '" + workingDirectory + "' && '" ORVEN_TABLE_PATH "' " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  std::string out;
  std::array<char, 4096> buffer;
  for (std::size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) out.append(buffer.data(), n);
  int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

class ModelCommandTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string bytes;
    for (auto [group, item, value] : std::initializer_list<std::tuple<int, int, double>>{
             {1, 3, 0.8}, {1, 4, -0.05}, {1, 5, -0.01}, {4, 1, 1.7}, {4, 2, 4000}, {4, 3, 36},
             {5, 1, 1.05}, {5, 2, 1.5}, {2, 1, 0.2}, {2, 2, 20}, {2, 3, 0.5}})
      bytes += EncodeParameterRecord(Record(Beech, group, item, value));
    parameters = folder.Write("OrvenPar.drc", bytes);
  }
  std::string WithParameters(const std::string& rest) { return "--parameters '" + parameters + "' " + rest; }

  test::TemporaryFolder folder;
  std::string parameters;
};

TEST_F(ModelCommandTest, PrintsResultsInTheirFormats) {
  struct Case {
    std::string arguments, output;
  };
  const Case cases[] = {
      {"model HgFromHdom 0 22.5", "20\n"},
      {"model HdomIncrementA0 0 -1.0 20.0 0.02", "-1e+24\n"},
      {"model SiteClassLimits 3", "1 8\n"},
      {"model OutsideDataRange 0 0 212.0", "1\n"},
      {"model OutsideDataRange 0 0 211", "0\n"},
      {"model MerchDiameterLimit 3", "0.1\n"},
      {"model TreeVolume 0 7 0.3 25.0 0.3", "0\n"},
      {"model MaxSiteIndex 1", "0\n"},
      {"model A0FromSiteIndex 0 0", "-1e+24\n"},
      {"model SiteIndexFromA0 9 0.02", "-1e+24\n"},
      {"model A0FromSoilTexture -1 10", "-1e+24\n"},
  };
  for (const Case& c : cases) {
    TableRun run = RunTable(WithParameters(c.arguments));
    EXPECT_EQ(run.status, 0) << c.arguments;
    EXPECT_EQ(run.out, c.output) << c.arguments;
  }
}

TEST_F(ModelCommandTest, GrowthCorrectionScalesBasalAreaGrowth) {
  TableRun plain = RunTable(WithParameters("model BasalAreaIncrementA0 0 20.0 15.0 0.02"));
  TableRun corrected = RunTable("--growth-correction 1.5 " + WithParameters("model BasalAreaIncrementA0 0 20.0 15.0 0.02"));
  ASSERT_EQ(plain.status, 0);
  ASSERT_EQ(corrected.status, 0);
  EXPECT_NEAR(std::stod(corrected.out), 1.5 * std::stod(plain.out), 1e-15);
}

TEST_F(ModelCommandTest, BadCallsAreRefusedWithOneLineAndStatusTwo) {
  const char* cases[] = {
      "model NoSuchRoutine 1",
      "model HgFromHdom 0",
      "model HgFromHdom 0 1.0 2.0",
      "model HgFromHdom 0 abc",
      "model HgFromHdom 0.5 20.0",
      "model HgFromHdom 0 inf",
      "model HgFromHdom 0 nan",
      "model HgFromHdom 0 1e999",
      "model HgFromHdom 0 0x10",
      "model HgFromHdom 99999999999 1.0",
      "model",
      "--growth-correction x model HgFromHdom 0 1.0",
      "--bogus model HgFromHdom 0 1.0",
      "tables",
  };
  for (const char* arguments : cases) {
    TableRun run = RunTable(WithParameters(arguments));
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_FALSE(run.out.empty()) << arguments;
  }
  TableRun wrongCount = RunTable(WithParameters("model HgFromHdom 0"));
  EXPECT_EQ(wrongCount.out, "orven-table: HgFromHdom takes 2 arguments (HgFromHdom species Hdom), 1 given\n");
}

TEST_F(ModelCommandTest, AnUncaughtFaultPrintsFaultWithStatusThree) {
  TableRun run = RunTable(WithParameters("model HdomAfterThinning 0 0.0 25.0 20.0"));  // divides by zero
  EXPECT_EQ(run.status, 3);
  EXPECT_EQ(run.out, "fault\n");
  // An absent species has zero coefficients: the height conversion divides by zero.
  EXPECT_EQ(RunTable(WithParameters("model HgFromHdom 2 20.0")).status, 3);
  // A caught fault is the sentinel, not a fault.
  TableRun caught = RunTable(WithParameters("model DominantHeightAtAge 0 50.0 0.0 20.0"));
  EXPECT_EQ(caught.status, 0);
  EXPECT_EQ(caught.out, "-1e+24\n");
}

TEST_F(ModelCommandTest, MissingParameterFileGivesTheEnglishMessageOnOneLine) {
  TableRun run = RunTable("--parameters '" + folder.PathOf("absent.drc") + "' model HgFromHdom 0 1.0");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "The parameter file OrvenPar.drc was not found! The program execution terminates.\n");
}

TEST_F(ModelCommandTest, FindsTheParameterFileInTheWorkingDirectory) {
  // The fixture's file has beech with Hdom = 1.05 Hg + 1.5; the shipped one does not.
  TableRun run = RunTable("model HgFromHdom 0 22.5", folder.PathOf(""));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "20\n");
}

TEST_F(ModelCommandTest, BatchAnswersEveryLineAndListNamesEveryRoutine) {
  std::string input = folder.Write("calls.txt",
                                   "HgFromHdom 0 22.5\n\nHdomAfterThinning 0 0.0 25.0 20.0\nNope\nSiteClassLimits 0\n");
  TableRun run = RunTable(WithParameters("model --batch < '" + input + "'"));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "20\nfault\nerror: unknown routine 'Nope' (see 'orven-table model --list')\n1 5\n");

  TableRun list = RunTable("model --list");
  EXPECT_EQ(list.status, 0);
  std::istringstream lines(list.out);
  int count = 0;
  for (std::string line; std::getline(lines, line);) {
    ++count;
    std::string name = line.substr(0, line.find(' '));
    // Every listed routine can be called: a wrong count names the routine, not "unknown".
    TableRun call = RunTable(WithParameters("model " + name + " 1 2 3 4 5 6 7"));
    EXPECT_EQ(call.out.find("unknown"), std::string::npos) << name;
  }
  EXPECT_EQ(count, 33);
}

TEST(EvaluateModelCall, FaultsAreReportedNotPrintedAsNumbers) {
  ParameterStore store;
  store.ModelParameters[Beech][24] = 0;  // Hg = (Hdom - P25) / 0
  GrowthModel model(store);
  cli::CallOutcome outcome = cli::EvaluateModelCall(model, {"HgFromHdom", "0", "20"});
  EXPECT_EQ(outcome.status, cli::CallStatus::Fault);
  outcome = cli::EvaluateModelCall(model, {"HgFromHdom", "0", "0"});  // 0/0
  EXPECT_EQ(outcome.status, cli::CallStatus::Fault);
}

}  // namespace
}  // namespace orven
