#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace orven {

// The information, description-template and About pages are rich-text (RTF)
// files. The reader keeps the common subset that these pages use and skips
// everything else; the view turns the result into its own text document.

struct RichTextFormat {
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  int HalfPoints = 24;  // \fs: font size in half points
  int Font = -1;        // \f: a number of the font table, -1 for the default
  int Colour = 0;       // \cf: an index of the colour table, 0 for automatic
  bool operator==(const RichTextFormat&) const = default;
};

// A stretch of text in one format: UTF-8, a line break inside the
// paragraph (\line) as '\n', a tab as '\t'.
struct RichTextRun {
  std::string Text;
  RichTextFormat Format;
  bool operator==(const RichTextRun&) const = default;
};

struct RichTextParagraph {
  enum class Align { Left, Centre, Right, Justify };
  std::vector<RichTextRun> Runs;
  Align Alignment = Align::Left;
  int LeftIndent = 0;   // \li, twips
  int FirstIndent = 0;  // \fi, twips, relative to the left indent
  int SpaceBefore = 0;  // \sb, twips
  int SpaceAfter = 0;   // \sa, twips
  bool operator==(const RichTextParagraph&) const = default;
};

struct RichTextColour {
  int Red = 0, Green = 0, Blue = 0;
  bool Automatic = false;  // an empty entry of the colour table
  bool operator==(const RichTextColour&) const = default;
};

struct RichTextDocument {
  std::map<int, std::string> Fonts;     // \fonttbl: number -> family name
  std::vector<RichTextColour> Colours;  // \colortbl, in table order
  std::vector<RichTextParagraph> Paragraphs;

  // The text as lines: each paragraph and each line break ends a line.
  std::vector<std::string> Lines() const;
  bool operator==(const RichTextDocument&) const = default;
};

// Reads RTF bytes. Never fails: unknown control words, pictures, objects and
// other destinations are skipped, unbalanced braces and a truncated file end
// the groups they leave open. Time and memory grow linearly with the input;
// groups nested deeper than the reader follows are skipped whole.
RichTextDocument ReadRichText(std::string_view rtf);

// Writes a document as RTF (Windows-1252, \u escapes for other characters)
// that ReadRichText reads back to the same document.
std::string WriteRichText(const RichTextDocument& document);

}  // namespace orven
