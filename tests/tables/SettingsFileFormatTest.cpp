#include <gtest/gtest.h>

#include "tables/SettingsFileFormat.h"

namespace orven {
namespace {

TEST(SettingsFileFormat, FieldsHaveTheirWidthsAndAlwaysTheDecimalPoint) {
  EXPECT_EQ(FieldI(3, 3), "  3");
  EXPECT_EQ(FieldI(-1, 3), " -1");
  EXPECT_EQ(FieldI(12345, 3), "12345");  // a longer number takes the room it needs
  EXPECT_EQ(FieldI(42, 9), "       42");
  EXPECT_EQ(FieldI(30, 0), "30");
  EXPECT_EQ(FieldR(1, 6), " 1.000000");
  EXPECT_EQ(FieldR(25, 4), "  25.0000");
  EXPECT_EQ(FieldR(-0.5, 6), "-0.500000");
  EXPECT_EQ(FieldT9("0,9"), "      0,9");
  EXPECT_EQ(FieldT9("a long text"), "a long text");
}

TEST(SettingsFileFormat, E15KeepsSevenSignificantDigitsInFifteenCharacters) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {25, " 2.500000E+0001"},        {12.3456789, " 1.234568E+0001"}, {-0.00123, "-1.230000E-0003"},
      {0, " 0.000000E+0000"},         {9.9999999, " 1.000000E+0001"},  {1e-300, " 1.000000E-0300"},
      {14000, " 1.400000E+0004"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FieldE15(c.value), c.text);
    EXPECT_EQ(FieldE15(c.value).size(), 15u);
  }
  const std::string written = FieldE15(12.3456789);
  LineFields back(written);
  EXPECT_EQ(back.Real(), 12.34568);
}

TEST(SettingsFileFormat, LinesAreWindows1252WithCarriageReturns) {
  std::string bytes = JoinSettingsLines({"Bøg¬", "x"});
  EXPECT_EQ(bytes, "B\xF8g\xAC\r\nx\r\n");
  EXPECT_EQ(SplitSettingsLines(bytes), (std::vector<std::string>{"Bøg¬", "x"}));
  EXPECT_EQ(SplitSettingsLines("a\nb\r\n\r\nc"), (std::vector<std::string>{"a", "b", "", "c"}));
  EXPECT_TRUE(SplitSettingsLines("").empty());
}

TEST(SettingsFileFormat, NumbersAreReadFromTheirOwnLineOnly) {
  LineFields fields("  3   25.5      {Label 7}");
  EXPECT_EQ(fields.Integer(), 3);
  EXPECT_EQ(fields.Real(), 25.5);
  EXPECT_FALSE(fields.AtEnd());
  EXPECT_EQ(fields.Integer(), std::nullopt);  // the label is no number

  LineFields empty("   ");
  EXPECT_EQ(empty.Integer(), std::nullopt);
  EXPECT_TRUE(empty.AtEnd());
  for (const char* bad : {"12.5", "1e3", "abc", "99999999999999999999", "-", "+"}) {
    LineFields f(bad);
    EXPECT_EQ(f.Integer(), std::nullopt) << bad;
  }
  for (const char* bad : {"0,9", "inf", "nan", "1e999"}) {
    LineFields f(bad);
    EXPECT_EQ(f.Real(), std::nullopt) << bad;
  }
}

TEST(SettingsFileFormat, LenientReaderTakesCommasAndSemicolons) {
  struct Case {
    const char* line;
    std::optional<double> value;
  };
  const Case cases[] = {
      {"      0,9      {Thinning mode, start}", 0.9},
      {"60", 60.0},
      {" ;\t;12,5;", 12.5},
      {",5", std::nullopt},  // a comma first is no decimal point
      {"", std::nullopt},
      {"   x1", std::nullopt},
  };
  for (const Case& c : cases) {
    LineFields fields(c.line);
    EXPECT_EQ(fields.Lenient(), c.value) << c.line;
  }
}

TEST(SettingsFileFormat, HashFieldsEndAtTheLineEnd) {
  EXPECT_EQ(HashFields("20#8.5###      {Inventory data}", 5),
            (std::vector<std::string>{"20", "8.5", "", "", "      {Inventory data}"}));
  EXPECT_EQ(HashFields("a#b", 4), (std::vector<std::string>{"a", "b", "", ""}));
  EXPECT_EQ(HashFields("", 2), (std::vector<std::string>{"", ""}));
}

}  // namespace
}  // namespace orven
