#include <gtest/gtest.h>

#include "messages/InputChecks.h"
#include "messages/NumberText.h"

namespace orven {
namespace {

CheckContext English(char separator = '.') {
  CheckContext context;
  context.language = Language::English;
  context.decimalSeparator = separator;
  return context;
}

TEST(NumberText, GeneralFormatIsShortestWithTheRegionalSeparator) {
  EXPECT_EQ(FormatGeneral(0.001, '.'), "0.001");
  EXPECT_EQ(FormatGeneral(1.5, ','), "1,5");
  EXPECT_EQ(FormatGeneral(25, ','), "25");
  EXPECT_EQ(FormatGeneral(-10000, '.'), "-10000");
  EXPECT_EQ(FormatGeneral(0.1 + 0.2, '.'), "0.30000000000000004");
  EXPECT_EQ(FormatGeneral(1e-7, ','), "1E-7");
  EXPECT_EQ(FormatGeneral(-1e24, '.'), "-1E+24");
  EXPECT_EQ(FormatFixed(14.25, 1, ','), "14,2");
  EXPECT_EQ(FormatFixed(-0.5, 0, '.'), "-0");
}

TEST(NumberText, ParsingAcceptsOnlyNumbersInTheRegionalForm) {
  struct Case {
    const char* text;
    char separator;
    bool ok;
    double value;
  };
  const Case cases[] = {
      {"20,5", ',', true, 20.5},  {" -1,5E2 ", ',', true, -150}, {"20.5", '.', true, 20.5},
      {"20,5", '.', false, 0},    {"20.5", ',', false, 0},       {"", '.', false, 0},
      {"abc", '.', false, 0},     {"inf", '.', false, 0},        {"nan", '.', false, 0},
      {"0x10", '.', false, 0},    {"1e999", '.', false, 0},      {"1.5.2", '.', false, 0},   {"1e-310", '.', true, 1e-310},
  };
  for (const Case& c : cases) {
    double value = 0;
    EXPECT_EQ(ParseFloat(c.text, c.separator, value), c.ok) << c.text;
    if (c.ok) {
      EXPECT_DOUBLE_EQ(value, c.value) << c.text;
    }
  }
  int n = 0;
  EXPECT_TRUE(ParseInteger(" 42 ", n));
  EXPECT_EQ(n, 42);
  EXPECT_TRUE(ParseInteger("-2147483648", n));
  for (const char* bad : {"12.0", "2147483648", "", "4a", "--3", "+-3"}) EXPECT_FALSE(ParseInteger(bad, n)) << bad;
}

TEST(InputChecks, InvalidNumbersQuoteTheTextOnlyForReals) {
  MessageList messages;
  EXPECT_FALSE(CheckFloat("20,5", English('.'), messages));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].Kind, MessageKind::Error);
  EXPECT_EQ(messages[0].Text, "   Invalid character(s): String is not a valid number!     \"20,5\"");
  messages.clear();
  EXPECT_FALSE(CheckInteger("12.0", English(), messages));
  EXPECT_EQ(messages.at(0).Text, "   Invalid character(s): String is not a valid number!   ");
  CheckContext danish;
  messages.clear();
  EXPECT_FALSE(CheckInteger("x", danish, messages));
  EXPECT_EQ(messages.at(0).Text, "   Ugyldig(e) tegn: Det indtastede er ikke et gyldigt tal!   ");
}

TEST(InputChecks, RangeBoundsComeFromTheSettingsAtTheMomentOfTheCheck) {
  CheckContext context = English();
  context.TableEndAge = 60;
  MessageList messages;
  EXPECT_FALSE(CheckRange(1, "60", context, messages));
  EXPECT_EQ(messages.at(0).Text,
            "   The value entered (60) is out or range!   \r\n   The valid range is: 16 - 59   ");
  EXPECT_TRUE(CheckRange(1, "59", context, messages));
  messages.clear();
  EXPECT_FALSE(CheckRange(10, "0,0005", English(','), messages));
  EXPECT_EQ(messages.at(0).Text,
            "   The value entered (0,0005) is out or range!   \r\n   The valid range is: 0,001 - 1,5   ");
  for (const char* bound : {"0.8", "1.2"}) EXPECT_TRUE(CheckRange(15, bound, context, messages)) << bound;
  context.ThinStartAge = 30;
  EXPECT_EQ(RangeOfKind(5, context).lower, 31);
  EXPECT_EQ(RangeOfKind(20, context).upper, 200);
}

TEST(InputChecks, DerivedValuesReportOnlyWhenAsked) {
  CheckContext danish;
  MessageList messages;
  EXPECT_FALSE(CheckRangeA(17, "250", danish, false, messages));
  EXPECT_TRUE(messages.empty());
  EXPECT_FALSE(CheckRangeA(17, "250", danish, true, messages));
  EXPECT_EQ(messages.at(0).Text,
            "   En indtastet eller afledt værdi (250) er uden for det tilladte interval!   \r\n"
            "   Det tilladte interval er: 1 - 200   ");
  EXPECT_TRUE(CheckRangeA(18, "25000", danish, true, messages));
}

TEST(InputChecks, CharIsNumberTestsTheFirstCharacter) {
  EXPECT_TRUE(CharIsNumber("0"));
  EXPECT_TRUE(CharIsNumber("9"));
  EXPECT_FALSE(CharIsNumber(","));
  EXPECT_FALSE(CharIsNumber(""));
  EXPECT_FALSE(CharIsNumber("x1"));
}

}  // namespace
}  // namespace orven
