#pragma once

// Running orven-table from a test, as a user runs it from a shell.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "model/GrowthModel.h"
#include "support/ParameterFileFixture.h"

namespace orven::test {

inline const std::string ParameterPath = ORVEN_DATA_DIR "/OrvenPar.drc";

inline std::string Slurp(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// The parameter store as the desktop program builds it at start-up.
inline const ParameterStore& ProgramStore() {
  static const ParameterStore store = [] {
    ParameterStore s;
    EXPECT_TRUE(ReadParametersAtStartUp(s, ParameterPath, Language::English).found);
    return s;
  }();
  return store;
}

struct CommandOutcome {
  int status;  // -1 when the program did not exit by itself
  std::string out, err;
};

// orven-table with the shipped parameter file and these arguments (quoted as
// for the shell); its output goes through files in the folder.
inline CommandOutcome RunOrvenTable(const TemporaryFolder& folder, const std::string& arguments) {
  const std::string out = folder.PathOf("stdout"), err = folder.PathOf("stderr");
  const std::string command = "'" ORVEN_TABLE_PATH "' --parameters '" + ParameterPath + "' " + arguments + " > '" +
                              out + "' 2> '" + err + "'";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(out), Slurp(err)};
}

}  // namespace orven::test
