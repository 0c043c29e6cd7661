#pragma once

#include <QString>

#include "messages/RichText.h"

class QTextDocument;

namespace orven {

// Shows the core's rich text in a Qt text document: fonts, sizes, colours,
// styles, alignment and indents. Runs without a size of their own keep the
// widget's font.
void FillTextDocument(QTextDocument& target, const RichTextDocument& source);

// Reads an RTF file by name into the document; false, leaving the document
// as it was, when the file cannot be read.
bool LoadRichTextFile(QTextDocument& target, const QString& fileName);

// The paragraphs of the text as they stand, for the settings file.
RichTextDocument ReadRichTextFile(const QString& fileName, bool* found);

}  // namespace orven
