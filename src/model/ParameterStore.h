#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/Language.h"

namespace orven {

inline constexpr int SpeciesCount = 7;  // codes 0..6
inline constexpr int GroupCount = 13;
inline constexpr int ItemsPerGroup = 6;
inline constexpr int ParametersPerSpecies = GroupCount * ItemsPerGroup;  // 78
inline constexpr int ParameterRecordSize = 184;
inline constexpr int ShortStringLength = 50;

enum SpeciesCode : int {
  Beech = 0,
  Oak = 1,
  Ash = 2,
  NorwaySpruce = 3,
  SitkaSpruce = 4,
  DouglasFir = 5,
  SilverFir = 6,
};

inline bool IsSpeciesCode(int code) { return code >= 0 && code < SpeciesCount; }

// One record of the parameter data file: one coefficient, and the species'
// three names (held here as UTF-8; Windows-1252 on disk).
struct ParameterRecord {
  int Species = 0;
  std::int32_t Group = 1;
  std::int32_t Item = 1;
  double Value = 0;
  std::string NameDK;
  std::string NameUK;
  std::string ScientificName;
};

// The on-disk form of a record: 184 little-endian bytes. Names longer than 50
// Windows-1252 characters are cut; characters outside Windows-1252 become '?'.
std::string EncodeParameterRecord(const ParameterRecord& record);

struct SpeciesEntry {
  std::int32_t RadioIndex = -1;  // position in the species list; -1 until listed
  bool Present = false;
  std::string NameDK;  // UTF-8
  std::string NameUK;
  std::string ScientificName;
};

using SpeciesParameters = std::array<double, ParametersPerSpecies>;

// The species parameters: read once at start-up, shared read-only afterwards.
struct ParameterStore {
  std::array<SpeciesEntry, SpeciesCount> SpeciesTable{};
  std::array<SpeciesParameters, SpeciesCount> ModelParameters{};  // zero until set
  std::array<double, SpeciesCount> MaxSiteIndex{};                // see ComputeMaxSiteIndex

  // Element k = 6*(group-1) + (item-1) of the species' row.
  double P(int species, int k) const { return ModelParameters[species][k]; }
};

struct ParameterFileResult {
  bool found = false;
  std::string message;  // the not-found message, empty when found
};

inline constexpr std::string_view ParameterFileName = "OrvenPar.drc";

// Reads the parameter file at `path` into `store` (cleared first). A file that
// is absent or cannot be opened counts as missing. Records whose species,
// group or item lie outside 0..6, 1..13, 1..6 are skipped, and a trailing
// partial record is ignored. The message is in the language in force.
ParameterFileResult ReadParameterFile(ParameterStore& store, const std::string& path,
                                      Language language);

// Lists the present species in code order: sets each RadioIndex to its
// position and returns the number listed.
int AssignRadioIndices(ParameterStore& store);

// The text of one species-list item before padding: the name in the interface
// language; the caller pads it with blanks and appends "(" scientific name ")".
const std::string& SpeciesDisplayName(const SpeciesEntry& entry, Language language);

// Builds a species-list item: name + blanks + "(" + scientific name + ")". The
// blanks start at two and grow until textWidth(item) exceeds minimumWidth, so
// that the scientific names line up in a column.
template <class TextWidth>
std::string SpeciesListItem(const SpeciesEntry& entry, Language language, TextWidth&& textWidth,
                            int minimumWidth = 330) {
  const std::string& name = SpeciesDisplayName(entry, language);
  const std::string tail = "(" + entry.ScientificName + ")";
  std::string blanks = "  ";
  // Bounded: a width function that never grows must not hang the caller.
  for (int i = 0; i < 1000; ++i) {
    std::string item = name + blanks + tail;
    if (textWidth(item) > minimumWidth) return item;
    blanks += ' ';
  }
  return name + blanks + tail;
}

// The species code at a position of the species list; 0 when none matches.
int SpeciesAtRadioIndex(const ParameterStore& store, int radioIndex);

// Citation of the classical yield table that the site and yield classes of
// the species follow.
const std::string& YieldTableReferenceFor(int species);

}  // namespace orven
