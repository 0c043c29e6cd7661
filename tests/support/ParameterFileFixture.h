#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "model/ParameterStore.h"

namespace orven::test {

// Writes parameter files into a fresh temporary folder and removes it again.
class TemporaryFolder {
public:
  TemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orven-test-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TemporaryFolder() { std::filesystem::remove_all(path_); }

  std::string Write(const std::string& name, const std::string& bytes) const {
    std::string file = (path_ / name).string();
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
  }
  std::string PathOf(const std::string& name) const { return (path_ / name).string(); }

private:
  std::filesystem::path path_;
};

inline ParameterRecord Record(int species, int group, int item, double value,
                              std::string nameDK = "Bøg", std::string nameUK = "Beech",
                              std::string scientific = "Fagus sylvatica") {
  return {species, group, item, value, std::move(nameDK), std::move(nameUK), std::move(scientific)};
}

inline std::string Encode(const std::vector<ParameterRecord>& records) {
  std::string bytes;
  for (const ParameterRecord& r : records) bytes += EncodeParameterRecord(r);
  return bytes;
}

}  // namespace orven::test
