// The rich-text reader of the information, description-template and About
// pages on any bytes: what it reads, written again, reads back the same.

#include <string>

#include "FuzzSupport.h"
#include "messages/RichText.h"

using namespace orven;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view rtf(reinterpret_cast<const char*>(data), size);
  const RichTextDocument document = ReadRichText(rtf);
  std::size_t text = 0;
  for (const RichTextParagraph& paragraph : document.Paragraphs)
    for (const RichTextRun& run : paragraph.Runs) {
      fuzz::Expect(!run.Text.empty(), "an empty run");
      text += run.Text.size();
    }
  // Every byte read gives at most one character of four bytes.
  fuzz::Expect(text <= 4 * size, "more text than the input can hold");
  fuzz::Expect(document.Paragraphs.size() <= size, "more paragraphs than bytes");
  const std::string written = WriteRichText(document);
  fuzz::Expect(ReadRichText(written) == document, "the written document reads back differently");
  return 0;
}
