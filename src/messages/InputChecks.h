#pragma once

#include <string>
#include <string_view>

#include "messages/Messages.h"
#include "model/Language.h"

namespace orven {

// The settings that some range bounds are taken from at the moment of a check,
// and how numbers are written.
struct CheckContext {
  Language language = Language::Danish;
  char decimalSeparator = ',';
  int TableStartAge = 20;
  int TableEndAge = 80;
  int ThinStartAge = 20;
  int ThinEndAge = 80;
};

struct RangeBounds {
  double lower;
  double upper;
};

// Bounds of range kinds 1..20 (inclusive).
RangeBounds RangeOfKind(int kind, const CheckContext& context);

// The syntax and range checks of typed numbers. On failure each appends its
// message (an error) to `messages` and returns false.
bool CheckFloat(const std::string& text, const CheckContext& context, MessageList& messages);
bool CheckInteger(const std::string& text, const CheckContext& context, MessageList& messages);
bool CheckRange(int kind, const std::string& text, const CheckContext& context,
                MessageList& messages);
// The same test for a value entered or derived; the message only when asked.
bool CheckRangeA(int kind, const std::string& text, const CheckContext& context, bool showMessage,
                 MessageList& messages);

// True exactly for "0" to "9" (the first character of the text).
bool CharIsNumber(std::string_view text);

// The invalid-number message of the language.
const std::string& InvalidNumberText(Language language);

}  // namespace orven
