#include "messages/RichText.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "model/Windows1252.h"

namespace orven {
namespace {

// Deeper groups are skipped whole, which bounds the reader's stack.
constexpr std::size_t MaxDepth = 64;
constexpr std::size_t MaxWordLength = 32;
constexpr int MaxDigits = 10;

enum class Destination { Text, Skip, FontTable, ColourTable };

struct Group {
  RichTextFormat Format;
  RichTextParagraph Paragraph;  // its properties; the runs live in the reader
  int Skip = 1;                 // \uc: fallback characters after \u
  Destination Where = Destination::Text;
};

// Destinations whose text is no part of the page.
constexpr std::string_view SkippedDestinations[] = {
    "annotation", "atnid",    "author",    "bkmkend",    "bkmkstart",         "buptim",    "colorschememapping",
    "comment",    "company",  "creatim",   "datastore",  "docvar",            "falt",      "fldinst",
    "filetbl",    "footer",   "footerf",   "footerl",    "footerr",           "footnote",  "generator",
    "header",     "headerf",  "headerl",   "headerr",    "info",              "keywords",  "latentstyles",
    "listoverridetable", "listtable", "mmathPr", "nonshppict", "object",      "operator",  "panose",
    "pict",       "pntext",   "pntxta",    "pntxtb",     "printim",           "private",   "revtim",
    "revtbl",     "rsidtbl",  "shppict",   "stylesheet", "subject",           "tc",        "template",
    "themedata",  "title",    "userprops", "xe",         "xmlnstbl"};

bool IsSkippedDestination(std::string_view word) {
  return std::find(std::begin(SkippedDestinations), std::end(SkippedDestinations), word) !=
         std::end(SkippedDestinations);
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

struct ControlWord {
  std::string_view Word;  // empty for a control symbol
  char Symbol = 0;
  bool HasParameter = false;
  long long Parameter = 0;
};

class Reader {
public:
  explicit Reader(std::string_view rtf) : in_(rtf) { stack_.push_back(Group{}); }

  RichTextDocument Read() {
    while (at_ < in_.size()) {
      const char c = in_[at_];
      if (c == '{') {
        ++at_;
        if (stack_.size() >= MaxDepth) {
          SkipGroupBody();
        } else {
          stack_.push_back(stack_.back());
        }
      } else if (c == '}') {
        ++at_;
        if (stack_.size() > 1) stack_.pop_back();
      } else if (c == '\\') {
        ++at_;
        Control(ReadControl());
      } else if (c == '\r' || c == '\n') {
        ++at_;
      } else {
        ++at_;
        Character(c);
      }
    }
    FlushHighSurrogate();
    if (!current_.Runs.empty()) EndParagraph();
    return std::move(document_);
  }

private:
  Group& Top() { return stack_.back(); }

  ControlWord ReadControl() {
    ControlWord control;
    if (at_ >= in_.size()) return control;
    if (!IsLetter(in_[at_])) {
      control.Symbol = in_[at_++];
      return control;
    }
    const std::size_t start = at_;
    while (at_ < in_.size() && IsLetter(in_[at_])) ++at_;
    control.Word = in_.substr(start, std::min(at_ - start, MaxWordLength));
    bool negative = false;
    if (at_ < in_.size() && in_[at_] == '-' && at_ + 1 < in_.size() && IsDigit(in_[at_ + 1])) {
      negative = true;
      ++at_;
    }
    int digits = 0;
    while (at_ < in_.size() && IsDigit(in_[at_])) {
      if (digits++ < MaxDigits) control.Parameter = control.Parameter * 10 + (in_[at_] - '0');
      control.HasParameter = true;
      ++at_;
    }
    if (negative) control.Parameter = -control.Parameter;
    if (at_ < in_.size() && in_[at_] == ' ') ++at_;
    return control;
  }

  void Control(const ControlWord& control) {
    Group& group = Top();
    if (control.Word.empty()) {
      Symbol(control.Symbol);
      return;
    }
    const std::string_view word = control.Word;
    const long long p = control.Parameter;
    const int value = static_cast<int>(std::clamp<long long>(p, -1'000'000'000, 1'000'000'000));
    const bool on = !control.HasParameter || p != 0;
    if (word == "bin") {
      // Raw bytes follow: never text, never markup.
      const std::size_t count = control.HasParameter && p > 0 ? static_cast<std::size_t>(p) : 0;
      at_ += std::min(count, in_.size() - at_);
      return;
    }
    if (group.Where == Destination::Skip) return;
    if (word == "fonttbl") {
      group.Where = Destination::FontTable;
    } else if (word == "colortbl") {
      group.Where = Destination::ColourTable;
      colourSet_ = false;
      colour_ = {};
    } else if (IsSkippedDestination(word)) {
      group.Where = Destination::Skip;
    } else if (group.Where == Destination::FontTable) {
      if (word == "f") {
        font_ = value;
        fontName_.clear();
      }
    } else if (group.Where == Destination::ColourTable) {
      const int component = std::clamp(value, 0, 255);
      if (word == "red") colour_.Red = component, colourSet_ = true;
      else if (word == "green") colour_.Green = component, colourSet_ = true;
      else if (word == "blue") colour_.Blue = component, colourSet_ = true;
    } else {
      TextControl(word, value, on, control.HasParameter);
    }
  }

  void TextControl(std::string_view word, int value, bool on, bool hasParameter) {
    Group& group = Top();
    RichTextFormat& format = group.Format;
    RichTextParagraph& paragraph = group.Paragraph;
    if (word == "par" || word == "row" || word == "page" || word == "sect") {
      EndParagraph();
    } else if (word == "line") {
      Text("\n");
    } else if (word == "tab" || word == "cell") {
      Text("\t");
    } else if (word == "b") {
      format.Bold = on;
    } else if (word == "i") {
      format.Italic = on;
    } else if (word == "ul") {
      format.Underline = on;
    } else if (word == "ulnone") {
      format.Underline = false;
    } else if (word == "fs") {
      if (hasParameter && value > 0) format.HalfPoints = std::min(value, 3276);
    } else if (word == "f") {
      format.Font = std::max(value, -1);
    } else if (word == "cf") {
      format.Colour = std::max(value, 0);
    } else if (word == "plain") {
      format = RichTextFormat{};
    } else if (word == "pard") {
      paragraph = RichTextParagraph{};
    } else if (word == "ql") {
      paragraph.Alignment = RichTextParagraph::Align::Left;
    } else if (word == "qc") {
      paragraph.Alignment = RichTextParagraph::Align::Centre;
    } else if (word == "qr") {
      paragraph.Alignment = RichTextParagraph::Align::Right;
    } else if (word == "qj") {
      paragraph.Alignment = RichTextParagraph::Align::Justify;
    } else if (word == "li") {
      paragraph.LeftIndent = value;
    } else if (word == "fi") {
      paragraph.FirstIndent = value;
    } else if (word == "sb") {
      paragraph.SpaceBefore = value;
    } else if (word == "sa") {
      paragraph.SpaceAfter = value;
    } else if (word == "uc") {
      group.Skip = std::clamp(value, 0, 16);
    } else if (word == "u") {
      Unicode(static_cast<std::uint32_t>(value < 0 ? value + 65536 : value) & 0xFFFF);
      SkipFallback(group.Skip);
    } else if (word == "emdash") {
      Code(0x2014);
    } else if (word == "endash") {
      Code(0x2013);
    } else if (word == "bullet") {
      Code(0x2022);
    } else if (word == "lquote") {
      Code(0x2018);
    } else if (word == "rquote") {
      Code(0x2019);
    } else if (word == "ldblquote") {
      Code(0x201C);
    } else if (word == "rdblquote") {
      Code(0x201D);
    }
    // Any other control word changes nothing we show.
  }

  void Symbol(char symbol) {
    switch (symbol) {
      case '*':
        // An optional destination: none of them is text of the page.
        Top().Where = Destination::Skip;
        return;
      case '\'': {
        const int high = at_ < in_.size() ? HexValue(in_[at_]) : -1;
        const int low = at_ + 1 < in_.size() ? HexValue(in_[at_ + 1]) : -1;
        if (high < 0) return;
        if (low < 0) {
          ++at_;  // half an escape is dropped
          return;
        }
        at_ += 2;
        Character(static_cast<char>(high * 16 + low));
        return;
      }
      case '\\':
      case '{':
      case '}':
        Character(symbol);
        return;
      case '\r':
      case '\n':
        if (Top().Where == Destination::Text) EndParagraph();
        return;
      case '~':
        Code(0x00A0);
        return;
      case '_':
        Code(0x2011);
        return;
      case '\t':
        Code('\t');
        return;
      default:
        return;  // \- optional hyphen, \: index subentry, and anything unknown
    }
  }

  // One byte of text in the current destination.
  void Character(char c) {
    Group& group = Top();
    switch (group.Where) {
      case Destination::Skip:
        return;
      case Destination::FontTable:
        if (c == ';') {
          if (font_ >= 0) document_.Fonts[font_] = fontName_;
          fontName_.clear();
        } else if (fontName_.size() < 256 && static_cast<unsigned char>(c) >= 0x20) {
          fontName_ += Windows1252ToUtf8(std::string_view(&c, 1));
        }
        return;
      case Destination::ColourTable:
        if (c == ';') {
          colour_.Automatic = !colourSet_;
          document_.Colours.push_back(colour_);
          colour_ = {};
          colourSet_ = false;
        }
        return;
      case Destination::Text:
        FlushHighSurrogate();
        if (c == '\t') {
          Text("\t");
        } else if (static_cast<unsigned char>(c) < 0x20) {
          return;  // control bytes are no text
        } else if (static_cast<unsigned char>(c) < 0x80) {
          Text(std::string_view(&c, 1));
        } else {
          Text(Windows1252ToUtf8(std::string_view(&c, 1)));
        }
        return;
    }
  }

  void Code(std::uint32_t code) {
    if (Top().Where != Destination::Text) return;
    if (code < 0x20 && code != '\t' && code != '\n') return;
    FlushHighSurrogate();
    std::string text;
    AppendUtf8(text, code);
    Text(text);
  }

  // A \u value: UTF-16, so a character beyond the first plane comes in two.
  void Unicode(std::uint32_t unit) {
    if (Top().Where != Destination::Text) return;
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      FlushHighSurrogate();
      highSurrogate_ = unit;
      return;
    }
    if (unit >= 0xDC00 && unit <= 0xDFFF) {
      if (!highSurrogate_) {
        Code(0xFFFD);
        return;
      }
      const std::uint32_t code = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00);
      highSurrogate_ = 0;
      std::string text;
      AppendUtf8(text, code);
      Text(text);
      return;
    }
    Code(unit);
  }

  void FlushHighSurrogate() {
    if (!highSurrogate_) return;
    highSurrogate_ = 0;
    std::string text;
    AppendUtf8(text, 0xFFFD);
    Text(text);
  }

  // The characters that stand in for a \u character in older readers; a
  // control word or a \'hh counts as one, a brace ends the skipping.
  void SkipFallback(int count) {
    for (int n = 0; n < count && at_ < in_.size(); ++n) {
      const char c = in_[at_];
      if (c == '{' || c == '}') return;
      if (c != '\\') {
        ++at_;
        continue;
      }
      ++at_;
      if (at_ < in_.size() && in_[at_] == '\'') {
        at_ = std::min(at_ + 3, in_.size());
      } else {
        ReadControl();
      }
    }
  }

  // After a '{' past the depth limit: up to its closing brace.
  void SkipGroupBody() {
    int depth = 1;
    while (at_ < in_.size() && depth > 0) {
      const char c = in_[at_++];
      if (c == '\\') {
        if (at_ < in_.size()) ++at_;
      } else if (c == '{') {
        ++depth;
      } else if (c == '}') {
        --depth;
      }
    }
  }

  void Text(std::string_view text) {
    const RichTextFormat& format = Top().Format;
    if (current_.Runs.empty() || !(current_.Runs.back().Format == format))
      current_.Runs.push_back(RichTextRun{std::string(), format});
    current_.Runs.back().Text += text;
  }

  void EndParagraph() {
    FlushHighSurrogate();
    RichTextParagraph paragraph = Top().Paragraph;
    paragraph.Runs = std::move(current_.Runs);
    document_.Paragraphs.push_back(std::move(paragraph));
    current_ = RichTextParagraph{};
  }

  std::string_view in_;
  std::size_t at_ = 0;
  std::vector<Group> stack_;
  RichTextDocument document_;
  RichTextParagraph current_;  // the runs of the paragraph being read
  int font_ = -1;
  std::string fontName_;
  RichTextColour colour_;
  bool colourSet_ = false;
  std::uint32_t highSurrogate_ = 0;
};

// The code point at `at` of UTF-8 text; malformed bytes read as U+FFFD.
std::uint32_t NextCodePoint(std::string_view text, std::size_t& at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char first = byte(at);
  int length = first < 0x80 ? 1 : (first >> 5) == 6 ? 2 : (first >> 4) == 14 ? 3 : (first >> 3) == 30 ? 4 : 0;
  if (length == 0 || at + length > text.size()) {
    ++at;
    return 0xFFFD;
  }
  std::uint32_t code = length == 1 ? first : first & (0xFF >> (length + 1));
  for (int k = 1; k < length; ++k) {
    if ((byte(at + k) & 0xC0) != 0x80) {
      ++at;
      return 0xFFFD;
    }
    code = (code << 6) | (byte(at + k) & 0x3F);
  }
  at += length;
  return code;
}

void WriteText(std::string& out, std::string_view text) {
  static const char* const Hex = "0123456789abcdef";
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t start = at;
    const std::uint32_t code = NextCodePoint(text, at);
    if (code == '\\' || code == '{' || code == '}') {
      out += '\\';
      out += static_cast<char>(code);
    } else if (code == '\n') {
      out += "\\line ";
    } else if (code == '\t') {
      out += "\\tab ";
    } else if (code < 0x20) {
      continue;
    } else if (code < 0x80) {
      out += static_cast<char>(code);
    } else {
      const std::string single = Utf8ToWindows1252(text.substr(start, at - start));
      if (single.size() == 1 && single[0] != '?') {
        const auto b = static_cast<unsigned char>(single[0]);
        out += "\\'";
        out += Hex[b >> 4];
        out += Hex[b & 15];
      } else if (code < 0x10000) {
        out += "\\u" + std::to_string(code < 0x8000 ? static_cast<int>(code) : static_cast<int>(code) - 65536) + "?";
      } else {
        const std::uint32_t v = code - 0x10000;
        for (std::uint32_t unit : {0xD800 + (v >> 10), 0xDC00 + (v & 0x3FF)})
          out += "\\u" + std::to_string(static_cast<int>(unit) - 65536) + "?";
      }
    }
  }
}

}  // namespace

std::vector<std::string> RichTextDocument::Lines() const {
  std::vector<std::string> lines;
  for (const RichTextParagraph& paragraph : Paragraphs) {
    std::string text;
    for (const RichTextRun& run : paragraph.Runs) text += run.Text;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
      lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
  }
  return lines;
}

RichTextDocument ReadRichText(std::string_view rtf) { return Reader(rtf).Read(); }

std::string WriteRichText(const RichTextDocument& document) {
  std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n";
  if (!document.Fonts.empty()) {
    out += "{\\fonttbl";
    for (const auto& [number, name] : document.Fonts) {
      out += "{\\f" + std::to_string(number) + " ";
      WriteText(out, name);
      out += ";}";
    }
    out += "}\r\n";
  }
  if (!document.Colours.empty()) {
    out += "{\\colortbl";
    for (const RichTextColour& colour : document.Colours) {
      if (!colour.Automatic)
        out += "\\red" + std::to_string(colour.Red) + "\\green" + std::to_string(colour.Green) + "\\blue" +
               std::to_string(colour.Blue);
      out += ";";
    }
    out += "}\r\n";
  }
  for (const RichTextParagraph& paragraph : document.Paragraphs) {
    out += "\\pard";
    switch (paragraph.Alignment) {
      case RichTextParagraph::Align::Left: break;
      case RichTextParagraph::Align::Centre: out += "\\qc"; break;
      case RichTextParagraph::Align::Right: out += "\\qr"; break;
      case RichTextParagraph::Align::Justify: out += "\\qj"; break;
    }
    const std::pair<const char*, int> spacing[] = {{"\\li", paragraph.LeftIndent},
                                                  {"\\fi", paragraph.FirstIndent},
                                                  {"\\sb", paragraph.SpaceBefore},
                                                  {"\\sa", paragraph.SpaceAfter}};
    for (const auto& [word, value] : spacing)
      if (value != 0) out += word + std::to_string(value);
    for (const RichTextRun& run : paragraph.Runs) {
      const RichTextFormat& f = run.Format;
      const std::size_t open = out.size();
      out += "{";
      if (f.Bold) out += "\\b";
      if (f.Italic) out += "\\i";
      if (f.Underline) out += "\\ul";
      if (f.HalfPoints != RichTextFormat{}.HalfPoints) out += "\\fs" + std::to_string(f.HalfPoints);
      if (f.Font >= 0) out += "\\f" + std::to_string(f.Font);
      if (f.Colour != 0) out += "\\cf" + std::to_string(f.Colour);
      if (out.size() > open + 1) out += " ";  // ends the last control word
      WriteText(out, run.Text);
      out += "}";
    }
    out += "\\par\r\n";
  }
  out += "}\r\n";
  return out;
}

}  // namespace orven
