#include "ParameterFileWriter.h"

#include <cstdio>
#include <fstream>
#include <iostream>

#include "StartingCoefficients.h"

namespace orven::calibrate {

namespace {

// The groups the model reads, in the order of the data file.
struct GroupLayout {
  int group, firstItem, count;
};
constexpr GroupLayout Layout[] = {{1, 3, 3}, {2, 1, 6}, {3, 1, 3}, {4, 1, 3},  {5, 1, 2},
                                  {6, 1, 2}, {7, 1, 2}, {11, 1, 5}, {12, 1, 6}, {13, 1, 3}};

}  // namespace

std::string EncodeParameterFile(const ParameterStore& store) {
  std::string bytes;
  for (const SpeciesCoefficients& s : Starting)
    for (const GroupLayout& g : Layout)
      for (int i = 0; i < g.count; ++i) {
        ParameterRecord record;
        record.Species = s.code;
        record.Group = g.group;
        record.Item = g.firstItem + i;
        record.Value = store.P(s.code, 6 * (g.group - 1) + g.firstItem - 1 + i);
        record.NameDK = s.nameDK;
        record.NameUK = s.nameUK;
        record.ScientificName = s.scientificName;
        bytes += EncodeParameterRecord(record);
      }
  return bytes;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    std::cerr << "calibrate: cannot write " << path << "\n";
    std::remove(path.c_str());
    return false;
  }
  return true;
}

}  // namespace orven::calibrate
