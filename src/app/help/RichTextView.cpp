#include "app/help/RichTextView.h"

#include <QFile>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace orven {
namespace {

// Twips to the document's pixels at 96 dots per inch.
qreal Pixels(int twips) { return twips / 15.0; }

Qt::Alignment AlignmentOf(RichTextParagraph::Align align) {
  switch (align) {
    case RichTextParagraph::Align::Centre: return Qt::AlignHCenter;
    case RichTextParagraph::Align::Right: return Qt::AlignRight;
    case RichTextParagraph::Align::Justify: return Qt::AlignJustify;
    case RichTextParagraph::Align::Left: break;
  }
  return Qt::AlignLeft;
}

}  // namespace

void FillTextDocument(QTextDocument& target, const RichTextDocument& source) {
  target.clear();
  QTextCursor cursor(&target);
  bool first = true;
  for (const RichTextParagraph& paragraph : source.Paragraphs) {
    QTextBlockFormat block;
    block.setAlignment(AlignmentOf(paragraph.Alignment));
    // A negative first indent hangs the first line left of the others.
    block.setLeftMargin(Pixels(paragraph.LeftIndent));
    block.setTextIndent(Pixels(paragraph.FirstIndent));
    // The tab after a hanging item's mark goes to the indent, as in RTF.
    if (paragraph.FirstIndent < 0 && paragraph.LeftIndent > 0)
      block.setTabPositions({QTextOption::Tab(Pixels(paragraph.LeftIndent), QTextOption::LeftTab)});
    block.setTopMargin(Pixels(paragraph.SpaceBefore));
    block.setBottomMargin(Pixels(paragraph.SpaceAfter));
    if (first) {
      cursor.setBlockFormat(block);
      first = false;
    } else {
      cursor.insertBlock(block);
    }
    for (const RichTextRun& run : paragraph.Runs) {
      QTextCharFormat format;
      format.setFontWeight(run.Format.Bold ? QFont::Bold : QFont::Normal);
      format.setFontItalic(run.Format.Italic);
      format.setFontUnderline(run.Format.Underline);
      if (run.Format.HalfPoints != RichTextFormat{}.HalfPoints) format.setFontPointSize(run.Format.HalfPoints / 2.0);
      if (const auto font = source.Fonts.find(run.Format.Font); font != source.Fonts.end())
        format.setFontFamilies({QString::fromStdString(font->second)});
      if (run.Format.Colour > 0 && run.Format.Colour < static_cast<int>(source.Colours.size())) {
        const RichTextColour& colour = source.Colours[static_cast<std::size_t>(run.Format.Colour)];
        if (!colour.Automatic) format.setForeground(QColor(colour.Red, colour.Green, colour.Blue));
      }
      // A line break inside the paragraph stays inside its block.
      QString text = QString::fromStdString(run.Text);
      text.replace(QLatin1Char('\n'), QChar::LineSeparator);
      cursor.insertText(text, format);
    }
  }
}

RichTextDocument ReadRichTextFile(const QString& fileName, bool* found) {
  QFile file(fileName);
  const bool opened = file.open(QIODevice::ReadOnly);
  if (found) *found = opened;
  if (!opened) return {};
  const QByteArray bytes = file.readAll();
  return ReadRichText(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

bool LoadRichTextFile(QTextDocument& target, const QString& fileName) {
  bool found = false;
  const RichTextDocument document = ReadRichTextFile(fileName, &found);
  if (found) FillTextDocument(target, document);
  return found;
}

}  // namespace orven
