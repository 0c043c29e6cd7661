#include <gtest/gtest.h>

#include <cstring>

#include "model/ParameterStore.h"
#include "model/SiteParameters.h"
#include "model/Windows1252.h"
#include "support/ParameterFileFixture.h"

namespace orven {
namespace {

using test::Encode;
using test::Record;

class ParameterStoreTest : public ::testing::Test {
protected:
  ParameterFileResult Read(const std::string& bytes, Language language = Language::Danish) {
    return ReadParameterFile(store, folder.Write("OrvenPar.drc", bytes), language);
  }
  test::TemporaryFolder folder;
  ParameterStore store;
};

// Builds one record byte by byte, independently of the encoder.
std::string HandMadeRecord(unsigned char species, std::int32_t group, std::int32_t item,
                           double value, const std::string& nameDK1252) {
  std::string bytes(ParameterRecordSize, '\x55');  // padding must not matter
  bytes[0] = static_cast<char>(species);
  std::memcpy(&bytes[4], &group, 4);
  std::memcpy(&bytes[8], &item, 4);
  std::memcpy(&bytes[16], &value, 8);
  auto shortString = [&](int offset, const std::string& text) {
    bytes[offset] = static_cast<char>(text.size());
    std::memcpy(&bytes[offset + 1], text.data(), text.size());
  };
  shortString(24, nameDK1252);
  shortString(75, "Silver fir");
  shortString(126, "Abies alba");
  return bytes;
}

TEST_F(ParameterStoreTest, ReadsTheRecordLayoutAndConvertsNamesToUtf8) {
  // "Alm. ædelgran" in Windows-1252: æ is byte 0xE6.
  ASSERT_TRUE(Read(HandMadeRecord(6, 4, 3, 36.709, "Alm. \xE6" "delgran")).found);
  const SpeciesEntry& fir = store.SpeciesTable[SilverFir];
  EXPECT_TRUE(fir.Present);
  EXPECT_EQ(fir.NameDK, "Alm. ædelgran");
  EXPECT_EQ(fir.NameUK, "Silver fir");
  EXPECT_EQ(fir.ScientificName, "Abies alba");
  EXPECT_EQ(store.P(SilverFir, 6 * 3 + 2), 36.709);
  for (int code = 0; code < SilverFir; ++code) EXPECT_FALSE(store.SpeciesTable[code].Present);
}

TEST_F(ParameterStoreTest, EncoderWritesTheSameBytesAsTheLayout) {
  std::string encoded = EncodeParameterRecord(Record(6, 4, 3, 36.709, "Alm. ædelgran",
                                                     "Silver fir", "Abies alba"));
  std::string hand = HandMadeRecord(6, 4, 3, 36.709, "Alm. \xE6" "delgran");
  ASSERT_EQ(encoded.size(), hand.size());
  EXPECT_EQ(encoded[0], hand[0]);
  for (int offset : {4, 8}) EXPECT_EQ(encoded.substr(offset, 4), hand.substr(offset, 4));
  EXPECT_EQ(encoded.substr(16, 8), hand.substr(16, 8));
  for (int offset : {24, 75, 126}) {
    int length = static_cast<unsigned char>(hand[offset]) + 1;
    EXPECT_EQ(encoded.substr(offset, length), hand.substr(offset, length));
  }
}

TEST_F(ParameterStoreTest, OnlyPresentSpeciesAreListedInCodeOrder) {
  ASSERT_TRUE(Read(Encode({Record(5, 1, 1, 1.0, "Douglasgran", "Douglas fir", "P. menziesii"),
                           Record(1, 1, 1, 1.0, "Eg", "Oak", "Quercus robur"),
                           Record(3, 1, 1, 1.0, "Rødgran", "Norway spruce", "Picea abies")}))
                  .found);
  for (const SpeciesEntry& entry : store.SpeciesTable) EXPECT_EQ(entry.RadioIndex, -1);
  EXPECT_EQ(AssignRadioIndices(store), 3);
  // The n-th item of the list is the n-th present code, not code n.
  EXPECT_EQ(SpeciesAtRadioIndex(store, 0), Oak);
  EXPECT_EQ(SpeciesAtRadioIndex(store, 1), NorwaySpruce);
  EXPECT_EQ(SpeciesAtRadioIndex(store, 2), DouglasFir);
  EXPECT_EQ(SpeciesAtRadioIndex(store, 3), 0);  // no such item
  EXPECT_EQ(store.SpeciesTable[Beech].RadioIndex, -1);
}

TEST_F(ParameterStoreTest, LaterRecordWinsForValuesFirstRecordForNames) {
  ASSERT_TRUE(Read(Encode({Record(0, 2, 3, 1.5, "Bøg", "Beech"),
                           Record(0, 2, 3, 2.5, "Other", "Other"),
                           Record(0, 13, 6, -7.25, "Third", "Third")}))
                  .found);
  EXPECT_EQ(store.P(Beech, 6 + 2), 2.5);
  EXPECT_EQ(store.P(Beech, 77), -7.25);
  EXPECT_EQ(store.SpeciesTable[Beech].NameDK, "Bøg");
  EXPECT_EQ(store.SpeciesTable[Beech].NameUK, "Beech");
}

TEST_F(ParameterStoreTest, SkipsRecordsOutsideTheTablesAndATrailingPartialRecord) {
  std::string bytes = Encode({Record(7, 1, 1, 9.0), Record(255, 1, 1, 9.0), Record(0, 0, 1, 9.0),
                              Record(0, 14, 1, 9.0), Record(0, 1, 0, 9.0), Record(0, 1, 7, 9.0),
                              Record(0, -1, 1, 9.0), Record(2, 5, 1, 1.25)});
  bytes += EncodeParameterRecord(Record(4, 1, 1, 9.0)).substr(0, 100);
  ASSERT_TRUE(Read(bytes).found);
  EXPECT_FALSE(store.SpeciesTable[Beech].Present);
  EXPECT_FALSE(store.SpeciesTable[SitkaSpruce].Present);
  EXPECT_TRUE(store.SpeciesTable[Ash].Present);
  EXPECT_EQ(store.P(Ash, 24), 1.25);
  for (const SpeciesParameters& row : {store.ModelParameters[Beech], store.ModelParameters[SitkaSpruce]})
    for (double p : row) EXPECT_EQ(p, 0);
}

TEST_F(ParameterStoreTest, EmptyFileIsFoundWithNoSpecies) {
  ParameterFileResult result = Read("");
  EXPECT_TRUE(result.found);
  EXPECT_TRUE(result.message.empty());
  EXPECT_EQ(AssignRadioIndices(store), 0);
}

TEST_F(ParameterStoreTest, MissingFileGivesTheMessageInTheLanguageInForce) {
  store.SpeciesTable[Beech].Present = true;  // a previous read is forgotten
  ParameterFileResult danish = ReadParameterFile(store, folder.PathOf("absent.drc"), Language::Danish);
  EXPECT_FALSE(danish.found);
  EXPECT_EQ(danish.message,
            "   Parameter-filen OrvenPar.drc blev ikke fundet!   \r\n   Programmet afsluttes.   ");
  EXPECT_FALSE(store.SpeciesTable[Beech].Present);
  ParameterFileResult english = ReadParameterFile(store, folder.PathOf("absent.drc"), Language::English);
  EXPECT_EQ(english.message,
            "   The parameter file OrvenPar.drc was not found!   \r\n"
            "   The program execution terminates.   ");
}

TEST_F(ParameterStoreTest, AFolderCountsAsMissing) {
  EXPECT_FALSE(ReadParameterFile(store, folder.PathOf(""), Language::English).found);
}

TEST(SpeciesList, ItemsArePaddedUntilWiderThanTheColumn) {
  SpeciesEntry beech{0, true, "Bøg", "Beech", "Fagus sylvatica"};
  auto width = [](const std::string& text) { return static_cast<int>(text.size()) * 10; };
  std::string item = SpeciesListItem(beech, Language::English, width);
  EXPECT_EQ(item.substr(0, 7), "Beech  ");
  EXPECT_GT(width(item), 330);
  EXPECT_LE(width(item) - 10, 330);  // one blank fewer would not be wide enough
  EXPECT_EQ(SpeciesListItem(beech, Language::Danish, width).substr(0, 6), "Bøg  ");
  // A wide name still gets two blanks; a width that never grows still ends.
  EXPECT_EQ(SpeciesListItem(beech, Language::English, [](const std::string&) { return 999; }),
            "Beech  (Fagus sylvatica)");
  EXPECT_FALSE(SpeciesListItem(beech, Language::English, [](const std::string&) { return 0; }).empty());
}

TEST(YieldTableReference, BeechAndOakShareOneTextAndUnknownCodesFallBackToIt) {
  SpeciesSelection selection;
  selection.CurrentSpecies = Oak;
  selection.SetYieldTableReference();
  EXPECT_EQ(selection.YieldTableReference, YieldTableReferenceFor(Beech));
  EXPECT_FALSE(selection.YieldTableReference.empty());
  EXPECT_EQ(YieldTableReferenceFor(9), YieldTableReferenceFor(Beech));
  EXPECT_EQ(YieldTableReferenceFor(-1), YieldTableReferenceFor(Beech));
}

TEST(Windows1252, RoundTripsDanishLettersAndMapsTheRestToQuestionMarks) {
  EXPECT_EQ(Windows1252ToUtf8("\xE6\xF8\xE5\xC6\xD8\xC5\x80"), "æøåÆØÅ€");
  EXPECT_EQ(Utf8ToWindows1252("æøåÆØÅ€"), "\xE6\xF8\xE5\xC6\xD8\xC5\x80");
  EXPECT_EQ(Utf8ToWindows1252("a\u4e2db"), "a?b");     // outside the code page
  EXPECT_EQ(Utf8ToWindows1252("a\xC3"), "a?");          // cut sequence
  EXPECT_EQ(Utf8ToWindows1252("\xC3(x"), "?(x");         // malformed continuation
  for (int byte = 0; byte < 256; ++byte) {
    std::string one(1, static_cast<char>(byte));
    EXPECT_EQ(Utf8ToWindows1252(Windows1252ToUtf8(one)), one) << byte;
  }
}

TEST(ParameterRecordEncoding, CutsNamesToFiftyCharacters) {
  std::string bytes = EncodeParameterRecord(Record(0, 1, 1, 0, std::string(60, 'x')));
  EXPECT_EQ(static_cast<unsigned char>(bytes[24]), 50);
  EXPECT_EQ(bytes.size(), 184u);
}

}  // namespace
}  // namespace orven
