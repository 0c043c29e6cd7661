// The number readers of the settings file and of the edits on any text.

#include <climits>
#include <cmath>
#include <string>

#include "FuzzSupport.h"
#include "messages/NumberText.h"
#include "tables/SettingsFileFormat.h"

using namespace orven;

namespace {

// A number the program writes reads back as the same number.
void CheckRoundTrip(double value) {
  fuzz::Expect(std::isfinite(value), "a reader returned a non-finite value");
  for (char separator : {'.', ','}) {
    double back = 0;
    const std::string text = FormatGeneral(value, separator);
    fuzz::Expect(ParseFloat(text, separator, back) && back == value, "FormatGeneral does not read back: " + text);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  // Each reader on its own, and all three in turns along one line.
  for (int mode = 0; mode < 4; ++mode) {
    LineFields fields(std::string_view{text});
    for (std::size_t reads = 0; reads <= text.size() + 1; ++reads) {
      const int kind = mode < 3 ? mode : static_cast<int>(reads % 3);
      if (kind == 0) {
        auto value = fields.Integer();
        if (!value) break;
      } else if (kind == 1) {
        auto value = fields.Real();
        if (!value) break;
        CheckRoundTrip(*value);
      } else {
        auto value = fields.Lenient();
        if (!value) break;
        CheckRoundTrip(*value);
      }
      fuzz::Expect(reads < text.size() + 1, "a reader keeps returning numbers");
    }
  }
  double value = 0;
  for (char separator : {'.', ','})
    if (ParseFloat(text, separator, value)) CheckRoundTrip(value);
  int integer = 0;
  if (ParseInteger(text, integer)) {
    int back = 0;
    fuzz::Expect(ParseInteger(std::to_string(integer), back) && back == integer, "ParseInteger does not read back");
  }
  return 0;
}
