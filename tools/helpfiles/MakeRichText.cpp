// make-rich-text SOURCE OUTPUT: writes one of the program's rich-text pages
// (the quick guide, a description template, an About text) from a readable
// UTF-8 source.
//
// The source: paragraphs are separated by empty lines, and the lines of one
// paragraph are joined by blanks. "# " starts a title, "## " a heading, "- "
// a bulleted item and "1. " (any number) a numbered one, each its own
// paragraph. **bold**, *italic* and __underlined__ mark words inside a line.
// A first line "%lines" makes every line a paragraph of its own, empty lines
// included, for templates whose lines the user fills in.

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "messages/RichText.h"

namespace {

using orven::RichTextDocument;
using orven::RichTextFormat;
using orven::RichTextParagraph;
using orven::RichTextRun;

constexpr int BodyHalfPoints = 20;  // 10 points
constexpr int HeadingHalfPoints = 24;
constexpr int TitleHalfPoints = 32;
constexpr int ItemIndent = 360;  // twips: a quarter inch

// The runs of one line of source with its inline marks.
void AddRuns(RichTextParagraph& paragraph, const std::string& text, RichTextFormat base) {
  RichTextFormat format = base;
  std::string pending;
  auto flush = [&] {
    if (pending.empty()) return;
    if (!paragraph.Runs.empty() && paragraph.Runs.back().Format == format)
      paragraph.Runs.back().Text += pending;
    else
      paragraph.Runs.push_back(RichTextRun{pending, format});
    pending.clear();
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 2, "**") == 0) {
      flush();
      format.Bold = !format.Bold;
      ++i;
    } else if (text.compare(i, 2, "__") == 0) {
      flush();
      format.Underline = !format.Underline;
      ++i;
    } else if (text[i] == '*') {
      flush();
      format.Italic = !format.Italic;
    } else {
      pending += text[i];
    }
  }
  flush();
}

RichTextParagraph NewParagraph(int spaceAfter) {
  RichTextParagraph paragraph;
  paragraph.SpaceAfter = spaceAfter;
  return paragraph;
}

RichTextDocument Convert(const std::vector<std::string>& lines) {
  RichTextDocument document;
  document.Fonts = {{0, "Arial"}};
  document.Colours = {orven::RichTextColour{0, 0, 0, true}, orven::RichTextColour{47, 95, 47, false}};
  if (!lines.empty() && lines.front() == "%lines") {
    // The lines of a template take the editor's own font.
    for (std::size_t i = 1; i < lines.size(); ++i) {
      RichTextParagraph paragraph = NewParagraph(0);
      std::string text = lines[i];
      RichTextFormat format;
      if (text.rfind("# ", 0) == 0) {
        text = text.substr(2);
        format.Bold = true;
        format.HalfPoints = TitleHalfPoints;
      }
      AddRuns(paragraph, text, format);
      document.Paragraphs.push_back(std::move(paragraph));
    }
    return document;
  }

  RichTextFormat body;
  body.HalfPoints = BodyHalfPoints;
  RichTextParagraph open = NewParagraph(120);
  bool hasOpen = false;
  auto close = [&] {
    if (hasOpen) document.Paragraphs.push_back(std::move(open));
    open = NewParagraph(120);
    hasOpen = false;
  };
  for (const std::string& line : lines) {
    if (line.empty()) {
      close();
      continue;
    }
    RichTextFormat format = body;
    std::string text = line;
    if (line.rfind("## ", 0) == 0 || line.rfind("# ", 0) == 0) {
      close();
      const bool title = line[1] == ' ';
      text = line.substr(title ? 2 : 3);
      format.Bold = true;
      format.Colour = 1;
      format.HalfPoints = title ? TitleHalfPoints : HeadingHalfPoints;
      open.SpaceBefore = title ? 0 : 120;
      open.SpaceAfter = title ? 180 : 60;
      AddRuns(open, text, format);
      hasOpen = true;
      close();
      continue;
    }
    std::size_t digits = 0;
    while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9') ++digits;
    const bool numbered = digits > 0 && line.compare(digits, 2, ". ") == 0;
    if (line.rfind("- ", 0) == 0 || numbered) {
      close();
      open.LeftIndent = ItemIndent;
      open.FirstIndent = -ItemIndent;
      open.SpaceAfter = 60;
      const std::string mark = numbered ? line.substr(0, digits + 1) : std::string("\xE2\x80\xA2");
      AddRuns(open, mark + "\t", body);
      text = line.substr(numbered ? digits + 2 : 2);
      hasOpen = true;
      AddRuns(open, text, format);
      continue;  // an item's following lines continue it
    }
    if (hasOpen) AddRuns(open, " ", format);
    AddRuns(open, text, format);
    hasOpen = true;
  }
  close();
  return document;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make-rich-text SOURCE OUTPUT\n");
    return 2;
  }
  std::ifstream source(argv[1]);
  if (!source) {
    std::fprintf(stderr, "make-rich-text: cannot read %s\n", argv[1]);
    return 1;
  }
  std::vector<std::string> lines;
  for (std::string line; std::getline(source, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  const std::string rtf = orven::WriteRichText(Convert(lines));
  std::ofstream output(argv[2], std::ios::binary);
  output << rtf;
  if (!output) {
    std::fprintf(stderr, "make-rich-text: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
