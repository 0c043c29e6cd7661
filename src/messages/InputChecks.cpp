#include "messages/InputChecks.h"

#include "catalogue/VariableCatalogue.h"
#include "messages/NumberText.h"

namespace orven {
namespace {


constexpr BilingualText InvalidNumber = {
    "   Invalid character(s): String is not a valid number!   ",
    "   Ugyldig(e) tegn: Det indtastede er ikke et gyldigt tal!   "};
constexpr BilingualText ValueEntered = {"   The value entered (", "   Den indtastede værdi ("};
constexpr BilingualText ValueDerived = {"   A value entered or derived (",
                                        "   En indtastet eller afledt værdi ("};
constexpr BilingualText OutOfRange = {") is out or range!   ", ") er uden for det tilladte interval!   "};
constexpr BilingualText ValidRange = {"   The valid range is: ", "   Det tilladte interval er: "};

bool CheckBounds(int kind, const std::string& text, const CheckContext& context,
                 const BilingualText& opening, bool showMessage, MessageList& messages) {
  RangeBounds bounds = RangeOfKind(kind, context);
  double value = 0;
  bool ok = ParseFloat(text, context.decimalSeparator, value) && bounds.lower <= value &&
            value <= bounds.upper;
  if (!ok && showMessage) {
    const Language language = context.language;
    messages.push_back({MessageKind::Error,
                        std::string(Choose(opening, language)) + text + Choose(OutOfRange, language) +
                            "\r\n" + Choose(ValidRange, language) +
                            FormatGeneral(bounds.lower, context.decimalSeparator) + " - " +
                            FormatGeneral(bounds.upper, context.decimalSeparator) + "   ",
                        {}});
  }
  return ok;
}

}  // namespace

const std::string& InvalidNumberText(Language language) {
  static const std::string english = InvalidNumber.English, danish = InvalidNumber.Danish;
  return language == Language::English ? english : danish;
}

RangeBounds RangeOfKind(int kind, const CheckContext& c) {
  switch (kind) {
    case 1: return {16, c.TableEndAge - 1.0};
    case 2: return {c.TableStartAge + 1.0, 250};
    case 3: return {1, 200};
    case 4: return {16, c.ThinEndAge - 1.0};
    case 5: return {c.ThinStartAge + 1.0, 250};
    case 6: return {0, 8};
    case 7: return {6, 50};
    case 8: return {2, 40};
    case 9: return {15, 220};
    case 10: return {0.001, 1.5};
    case 11: return {0, 100};
    case 12: return {0.5, 2};
    case 13: return {10, 60};
    case 14: return {10, 50};
    case 15: return {0.8, 1.2};
    case 16: return {VariableMin(HD1), VariableMax(HD1)};
    case 17: return {VariableMin(D1), VariableMax(D1)};
    case 18: return {VariableMin(N1), VariableMax(N1)};
    case 19: return {VariableMin(G1), VariableMax(G1)};
    case 20: return {VariableMin(RTA1), VariableMax(RTA1)};
    default: return {1, 0};  // an unknown kind accepts nothing
  }
}

bool CheckFloat(const std::string& text, const CheckContext& context, MessageList& messages) {
  double value = 0;
  if (ParseFloat(text, context.decimalSeparator, value)) return true;
  messages.push_back({MessageKind::Error, InvalidNumberText(context.language) + "  \"" + text + "\"", {}});
  return false;
}

bool CheckInteger(const std::string& text, const CheckContext& context, MessageList& messages) {
  int value = 0;
  if (ParseInteger(text, value)) return true;
  messages.push_back({MessageKind::Error, InvalidNumberText(context.language), {}});
  return false;
}

bool CheckRange(int kind, const std::string& text, const CheckContext& context,
                MessageList& messages) {
  return CheckBounds(kind, text, context, ValueEntered, true, messages);
}

bool CheckRangeA(int kind, const std::string& text, const CheckContext& context, bool showMessage,
                 MessageList& messages) {
  return CheckBounds(kind, text, context, ValueDerived, showMessage, messages);
}

bool CharIsNumber(std::string_view text) {
  return !text.empty() && text.front() >= '0' && text.front() <= '9';
}

}  // namespace orven
