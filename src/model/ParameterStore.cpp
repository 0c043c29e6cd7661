#include "model/ParameterStore.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "model/Windows1252.h"

namespace orven {
namespace {

static_assert(std::endian::native == std::endian::little,
              "the record layout is read by copying little-endian bytes");

// Byte offsets within a record.
constexpr int SpeciesOffset = 0;
constexpr int GroupOffset = 4;
constexpr int ItemOffset = 8;
constexpr int ValueOffset = 16;
constexpr int NameDKOffset = 24;
constexpr int NameUKOffset = 75;
constexpr int ScientificNameOffset = 126;

using RecordBytes = std::array<char, ParameterRecordSize>;

template <class T>
T ReadField(const RecordBytes& bytes, int offset) {
  T value;
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

template <class T>
void WriteField(std::string& bytes, int offset, T value) {
  std::memcpy(bytes.data() + offset, &value, sizeof value);
}

// A length byte, then 50 character bytes; a length above 50 is cut to 50.
std::string ReadShortString(const RecordBytes& bytes, int offset) {
  int length = std::min<int>(static_cast<unsigned char>(bytes[offset]), ShortStringLength);
  return Windows1252ToUtf8(std::string_view(bytes.data() + offset + 1, length));
}

void WriteShortString(std::string& bytes, int offset, const std::string& utf8) {
  std::string text = Utf8ToWindows1252(utf8).substr(0, ShortStringLength);
  bytes[offset] = static_cast<char>(text.size());
  std::memcpy(bytes.data() + offset + 1, text.data(), text.size());
}

const std::string& NotFoundMessage(Language language) {
  static const std::string english =
      "   The parameter file OrvenPar.drc was not found!   \r\n"
      "   The program execution terminates.   ";
  static const std::string danish =
      "   Parameter-filen OrvenPar.drc blev ikke fundet!   \r\n"
      "   Programmet afsluttes.   ";
  return language == Language::English ? english : danish;
}

}  // namespace

std::string EncodeParameterRecord(const ParameterRecord& record) {
  std::string bytes(ParameterRecordSize, '\0');
  bytes[SpeciesOffset] = static_cast<char>(record.Species);
  WriteField(bytes, GroupOffset, record.Group);
  WriteField(bytes, ItemOffset, record.Item);
  WriteField(bytes, ValueOffset, record.Value);
  WriteShortString(bytes, NameDKOffset, record.NameDK);
  WriteShortString(bytes, NameUKOffset, record.NameUK);
  WriteShortString(bytes, ScientificNameOffset, record.ScientificName);
  return bytes;
}

ParameterFileResult ReadParameterFile(ParameterStore& store, const std::string& path,
                                      Language language) {
  store = ParameterStore{};
  // A directory or a file that cannot be opened counts as missing.
  std::error_code error;
  std::ifstream file;
  if (std::filesystem::is_regular_file(path, error)) file.open(path, std::ios::binary);
  if (!file.is_open()) return {false, NotFoundMessage(language)};

  RecordBytes bytes;
  // A trailing partial record fails this read and is ignored.
  while (file.read(bytes.data(), bytes.size())) {
    int species = static_cast<unsigned char>(bytes[SpeciesOffset]);
    auto group = ReadField<std::int32_t>(bytes, GroupOffset);
    auto item = ReadField<std::int32_t>(bytes, ItemOffset);
    if (!IsSpeciesCode(species) || group < 1 || group > GroupCount || item < 1 ||
        item > ItemsPerGroup)
      continue;
    SpeciesEntry& entry = store.SpeciesTable[species];
    if (!entry.Present) {
      entry.Present = true;
      entry.RadioIndex = -1;
      entry.NameDK = ReadShortString(bytes, NameDKOffset);
      entry.NameUK = ReadShortString(bytes, NameUKOffset);
      entry.ScientificName = ReadShortString(bytes, ScientificNameOffset);
    }
    store.ModelParameters[species][ItemsPerGroup * (group - 1) + (item - 1)] =
        ReadField<double>(bytes, ValueOffset);
  }
  return {true, {}};
}

int AssignRadioIndices(ParameterStore& store) {
  int listed = 0;
  for (SpeciesEntry& entry : store.SpeciesTable) entry.RadioIndex = entry.Present ? listed++ : -1;
  return listed;
}

const std::string& SpeciesDisplayName(const SpeciesEntry& entry, Language language) {
  return language == Language::English ? entry.NameUK : entry.NameDK;
}

int SpeciesAtRadioIndex(const ParameterStore& store, int radioIndex) {
  for (int code = 0; code < SpeciesCount; ++code)
    if (store.SpeciesTable[code].RadioIndex == radioIndex) return code;
  return 0;
}

const std::string& YieldTableReferenceFor(int species) {
  // Beech and oak share one table; any other code falls back to it.
  static const std::array<std::string, SpeciesCount - 1> references = {
      "C. Mar. Møller (1933)",  // beech and oak
      "H. A. Henriksen (1988)",  // ash
      "C. Mar. Møller (1933)",   // Norway spruce
      "H. A. Henriksen (1988)",  // Sitka spruce
      "H. A. Henriksen (1988)",  // Douglas fir
      "H. A. Henriksen (1988)",  // silver fir
  };
  return species >= 2 && species < SpeciesCount ? references[species - 1] : references[0];
}

}  // namespace orven
