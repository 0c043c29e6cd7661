#include "messages/RichText.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace orven {
namespace {

std::string PlainText(const RichTextDocument& document) {
  std::string text;
  for (const std::string& line : document.Lines()) text += line + "|";
  return text;
}

TEST(RichTextReader, ParagraphsLineBreaksAndTabs) {
  const RichTextDocument d = ReadRichText("{\\rtf1\\ansi First\\par Second\\line half\\tab tabbed\\par\r\n\\par Last}");
  EXPECT_EQ(PlainText(d), "First|Second|half\ttabbed||Last|");
  ASSERT_EQ(d.Paragraphs.size(), 4u);
  EXPECT_EQ(d.Paragraphs[1].Runs.at(0).Text, "Second\nhalf\ttabbed");
}

TEST(RichTextReader, CharacterFormatsFollowGroupsAndSwitches) {
  const RichTextDocument d =
      ReadRichText("{\\rtf1 plain {\\b bold {\\i both}} \\ul under\\ul0  \\fs36 big\\plain  reset\\par}");
  struct Expected {
    const char* text;
    bool bold, italic, underline;
    int halfPoints;
  } expected[] = {{"plain ", false, false, false, 24}, {"bold ", true, false, false, 24},
                  {"both", true, true, false, 24},     {" ", false, false, false, 24},  // the groups closed
                  {"under", false, false, true, 24},   {" ", false, false, false, 24},
                  {"big", false, false, false, 36},    {" reset", false, false, false, 24}};
  const auto& runs = d.Paragraphs.at(0).Runs;
  ASSERT_EQ(runs.size(), std::size(expected));
  for (std::size_t i = 0; i < runs.size(); ++i) {
    EXPECT_EQ(runs[i].Text, expected[i].text) << i;
    EXPECT_EQ(runs[i].Format.Bold, expected[i].bold) << i;
    EXPECT_EQ(runs[i].Format.Italic, expected[i].italic) << i;
    EXPECT_EQ(runs[i].Format.Underline, expected[i].underline) << i;
    EXPECT_EQ(runs[i].Format.HalfPoints, expected[i].halfPoints) << i;
  }
}

TEST(RichTextReader, FontAndColourTables) {
  const RichTextDocument d = ReadRichText(
      "{\\rtf1{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\froman{\\*\\panose 02020603}Times New Roman;}}"
      "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue128;}"
      "\\f1\\cf2 Blue serif\\par}");
  EXPECT_EQ(d.Fonts.at(0), "Arial");
  EXPECT_EQ(d.Fonts.at(1), "Times New Roman");
  ASSERT_EQ(d.Colours.size(), 3u);
  EXPECT_TRUE(d.Colours[0].Automatic);
  EXPECT_EQ(d.Colours[1], (RichTextColour{255, 0, 0, false}));
  EXPECT_EQ(d.Colours[2], (RichTextColour{0, 0, 128, false}));
  const RichTextRun& run = d.Paragraphs.at(0).Runs.at(0);
  EXPECT_EQ(run.Text, "Blue serif");
  EXPECT_EQ(run.Format.Font, 1);
  EXPECT_EQ(run.Format.Colour, 2);
}

TEST(RichTextReader, ParagraphPropertiesLastUntilPard) {
  const RichTextDocument d = ReadRichText("{\\rtf1\\qc\\li720\\fi-360\\sb120\\sa60 one\\par two\\par\\pard three\\par}");
  ASSERT_EQ(d.Paragraphs.size(), 3u);
  EXPECT_EQ(d.Paragraphs[0].Alignment, RichTextParagraph::Align::Centre);
  EXPECT_EQ(d.Paragraphs[0].LeftIndent, 720);
  EXPECT_EQ(d.Paragraphs[0].FirstIndent, -360);
  EXPECT_EQ(d.Paragraphs[0].SpaceBefore, 120);
  EXPECT_EQ(d.Paragraphs[0].SpaceAfter, 60);
  EXPECT_EQ(d.Paragraphs[1].Alignment, RichTextParagraph::Align::Centre);
  EXPECT_EQ(d.Paragraphs[2].Alignment, RichTextParagraph::Align::Left);
  EXPECT_EQ(d.Paragraphs[2].LeftIndent, 0);
}

TEST(RichTextReader, EscapesInWindows1252AndUnicode) {
  struct Case {
    const char* rtf;
    const char* text;
  } cases[] = {
      {"{\\rtf1 Tr\\'e6art \\'f8 \\'e5 \\'c6\\'d8\\'c5}", "Træart ø å ÆØÅ"},
      {"{\\rtf1 \\'80 \\'96 \\'93x\\'94}", "€ – “x”"},
      {"{\\rtf1 \\u8364? euro}", "€ euro"},
      {"{\\rtf1 \\u-3? neg}", "\xEF\xBF\xBD neg"},  // -3 is U+FFFD
      {"{\\rtf1\\uc2 \\u945\\'e1\\'e2 alpha}", "α alpha"},
      {"{\\rtf1\\uc0 \\u946 beta}", "βbeta"},
      {"{\\rtf1 \\u-10179?\\u-8704? face}", "\xF0\x9F\x98\x80 face"},  // U+1F600 as a surrogate pair
      {"{\\rtf1 a\\{b\\}c\\\\d}", "a{b}c\\d"},
      {"{\\rtf1 x\\~y\\-z\\emdash w\\endash\\bullet}", "x\xC2\xA0yz\xE2\x80\x94w\xE2\x80\x93\xE2\x80\xA2"},
      {"{\\rtf1 \\lquote q\\rquote  \\ldblquote Q\\rdblquote}", "‘q’ “Q”"},
      {"{\\rtf1 bad\\'zz hex}", "badzz hex"},
      {"{\\rtf1 a\x01" "b\tc\\u1?d}", "ab\tcd"},  // control bytes are no text; a raw tab is one
  };
  for (const Case& c : cases) EXPECT_EQ(PlainText(ReadRichText(c.rtf)), std::string(c.text) + "|") << c.rtf;
}

TEST(RichTextReader, SkipsDestinationsPicturesAndUnknownWords) {
  const RichTextDocument d = ReadRichText(
      "{\\rtf1\\ansi\\deff0{\\stylesheet{\\s0 Normal;}}{\\info{\\title Secret}{\\author Someone}}"
      "{\\*\\generator Writer 1.0;}{\\*\\unknowndest {nested {deeper} text} more}"
      "{\\header Page header\\par}"
      "\\viewkind4\\madeupword123 Visible"
      "{\\pict\\pngblip\\picw10 89504e470d0a1a0a}"
      "{\\*\\shppict{\\pict\\wmetafile8 0100}}{\\nonshppict{\\pict 0100}}"
      "\\bin4 {}\\x text "
      "{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}\\par}");
  EXPECT_EQ(PlainText(d), "Visible text link|");
}

TEST(RichTextReader, UnbalancedAndTruncatedInput) {
  struct Case {
    const char* rtf;
    const char* text;
  } cases[] = {
      {"{\\rtf1 one}}} two\\par}", "one two|"},          // stray closing braces are ignored
      {"{\\rtf1 {\\b open {\\i deeper", "open deeper|"},   // groups left open at the end
      {"{\\rtf1 cut here\\", "cut here|"},                 // a lone backslash at the end
      {"{\\rtf1 cut\\'4", "cut|"},                        // a truncated hex escape
      {"{\\rtf1 cut\\u233", "cut\xC3\xA9|"},              // \u at the end: no fallback left to skip
      {"{\\rtf1 x\\bin999999999 abc", "x|"},              // \bin longer than the file
      {"", ""},
      {"no rtf at all", "no rtf at all|"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PlainText(ReadRichText(c.rtf)), c.text) << c.rtf;
  }
}

TEST(RichTextReader, DeepNestingAndLongInputStayBounded) {
  std::string deep = "{\\rtf1 start";
  for (int n = 0; n < 100000; ++n) deep += "{\\b x";
  deep += " end";
  const auto began = std::chrono::steady_clock::now();
  const RichTextDocument d = ReadRichText(deep);
  // Past the depth limit the rest is one group to skip, so the text stops at the limit.
  const std::string text = PlainText(d);
  EXPECT_EQ(text.substr(0, 6), "startx");
  EXPECT_LT(text.size(), 100u);

  std::string wide = "{\\rtf1 ";
  for (int n = 0; n < 200000; ++n) wide += "\\b a\\b0 b\\par ";
  wide += "\\";
  wide += std::string(100000, 'q');  // one very long control word
  wide += "12345678901234567890 tail}";
  const RichTextDocument w = ReadRichText(wide);
  EXPECT_EQ(w.Paragraphs.size(), 200001u);
  EXPECT_EQ(w.Paragraphs.back().Runs.at(0).Text, "tail");
  EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(5));
}

TEST(RichTextWriter, WritesWhatTheReaderReadsBack) {
  RichTextDocument d;
  d.Fonts = {{0, "Arial"}, {3, "Times New Roman"}};
  d.Colours = {RichTextColour{0, 0, 0, true}, RichTextColour{0, 102, 51, false}};
  RichTextParagraph title;
  title.Alignment = RichTextParagraph::Align::Centre;
  title.SpaceAfter = 120;
  RichTextFormat big;
  big.Bold = true;
  big.HalfPoints = 32;
  big.Colour = 1;
  big.Font = 3;
  title.Runs = {{"Træart {ORVEN} \\ 1", big}};
  RichTextParagraph body;
  body.LeftIndent = 360;
  body.FirstIndent = -360;
  RichTextFormat italic;
  italic.Italic = true;
  RichTextFormat under;
  under.Underline = true;
  body.Runs = {{" leading blank, tab\tand\nbreak", RichTextFormat{}},
               {"€ “quoted” α and 🌲", italic},
               {"under", under}};
  d.Paragraphs = {title, RichTextParagraph{}, body};

  const std::string rtf = WriteRichText(d);
  EXPECT_EQ(rtf.find_first_of("\x80\xff"), std::string::npos);  // plain 7-bit text
  EXPECT_EQ(ReadRichText(rtf), d) << rtf;
  EXPECT_EQ(d.Lines(), (std::vector<std::string>{"Træart {ORVEN} \\ 1", "", " leading blank, tab\tand", "break€ “quoted” α and 🌲under"}));
}

}  // namespace
}  // namespace orven
