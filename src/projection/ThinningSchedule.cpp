#include "projection/ThinningSchedule.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>

#include "messages/InputChecks.h"
#include "messages/NumberText.h"

namespace orven {
namespace {

constexpr int IntervalKind = 3;

// Appends an age while ThinAges has room; counts the ages that do not fit.
void AppendAge(ProjectionTables& tables, std::int32_t age, int& dropped) {
  if (tables.ThinAgeCount < YearSlots)
    tables.ThinAges[tables.ThinAgeCount++] = age;
  else
    ++dropped;
}

// The first year is always a thinning year (last starts far back); later
// ones follow when the interval wanted at their age has passed.
template <class IntervalAt>
void AppendAtIntervals(ProjectionTables& tables, IntervalAt intervalAt, int& dropped) {
  int last = -10000;
  for (int age = tables.TableStartAge; age <= tables.TableEndAge; ++age) {
    if (age - last >= std::max(intervalAt(age), 1)) {
      AppendAge(tables, age, dropped);
      last = age;
    }
  }
}

// Every maximal run of digits is one age; everything else only separates.
// A run beyond 32 bits is held at the largest 32-bit age, which marks no year.
void AppendFreeList(ProjectionTables& tables, std::string_view text, int& dropped) {
  constexpr std::int64_t largest = std::numeric_limits<std::int32_t>::max();
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (!CharIsNumber(text.substr(pos, 1))) {
      ++pos;
      continue;
    }
    std::int64_t age = 0;
    for (; pos < text.size() && CharIsNumber(text.substr(pos, 1)); ++pos)
      age = std::min(age * 10 + (text[pos] - '0'), largest);
    AppendAge(tables, static_cast<std::int32_t>(age), dropped);
  }
}

// The years shown as rows, by year index in age order, never beyond the table.
std::vector<int> ShownYears(const ProjectionTables& tables, int showYearsItem) {
  const int last = std::min(tables.LastYearIndex(), YearSlots - 1);
  std::vector<int> years;
  for (int i = 0; i <= last; ++i)
    if (showYearsItem == AllYearsItem || i == 0 || i == last || tables.IsThinYear[i])
      years.push_back(i);
  return years;
}

CheckContext ContextOf(const ProjectionTables& tables, Language language) {
  CheckContext context;
  context.language = language;
  context.TableStartAge = tables.TableStartAge;
  context.TableEndAge = tables.TableEndAge;
  return context;
}

bool ReadCheckedInteger(const ProjectionTables& tables, int kind, const std::string& text,
                        Language language, MessageList& messages, int& value) {
  const CheckContext context = ContextOf(tables, language);
  return CheckInteger(text, context, messages) && CheckRange(kind, text, context, messages) &&
         ParseInteger(text, value);
}

// The edit of the inactive rule is applied too but was never checked: an
// invalid interval there keeps the setting, so a divisor can never be 0.
int IntervalOr(const std::string& text, int current) {
  const RangeBounds bounds = RangeOfKind(IntervalKind, CheckContext{});
  int value = 0;
  return ParseInteger(text, value) && bounds.lower <= value && value <= bounds.upper ? value : current;
}

}  // namespace

int EstablishThinList(ProjectionTables& tables, int thinIntervalItem, std::string& thinYearText) {
  tables.ThinAgeCount = 0;
  tables.ThinAges.fill(-1);
  tables.RowAges.fill(0);
  tables.IsThinYear.fill(false);
  tables.ThinAgeSet.reset();

  int dropped = 0;
  if (thinIntervalItem == FixedIntervalItem) {
    AppendAtIntervals(tables, [&](int) { return tables.ThinIntervalYears; }, dropped);
  } else if (thinIntervalItem == VaryingListItem) {
    AppendFreeList(tables, thinYearText, dropped);
  } else {
    const double divisor = std::max(tables.ThinIntervalDivisor, 1);
    // nearbyint rounds halves to even in the default rounding mode
    AppendAtIntervals(tables, [&](int age) { return static_cast<int>(std::nearbyint(age / divisor)); },
                      dropped);
  }

  thinYearText.clear();
  for (int k = 0; k < tables.ThinAgeCount; ++k) {
    const std::int32_t age = tables.ThinAges[k];
    if (tables.TableStartAge <= age && age <= tables.TableEndAge && age - tables.TableStartAge < YearSlots)
      tables.IsThinYear[age - tables.TableStartAge] = true;
    if (0 <= age && age <= 255) tables.ThinAgeSet.set(age);
    thinYearText += std::to_string(age) + ", ";
  }
  return dropped;
}

int SetTableRowCount(ProjectionTables& tables, int showYearsItem) {
  tables.TableRowCount = static_cast<int>(ShownYears(tables, showYearsItem).size());
  return tables.TableRowCount;
}

std::vector<int> MapRowsToYears(ProjectionTables& tables, int showYearsItem) {
  std::vector<int> years = ShownYears(tables, showYearsItem);
  tables.RowAges.fill(0);
  for (std::size_t r = 0; r < years.size(); ++r)  // T of a year is its age
    tables.RowAges[r] = static_cast<std::uint8_t>(tables.TableStartAge + years[r]);
  return years;
}

std::string InitStateLabel(int tableStartAge, Language language) {
  const std::string opening = language == Language::English ? "S&tand state before thinning at age "
                                                            : "Bevo&ksningstilstand før tynding ved alder ";
  if (tableStartAge <= 0) return opening + "?";
  return opening + std::to_string(tableStartAge) + ":";
}

bool ReadStartAge(ProjectionTables& tables, const std::string& text, Language language,
                  MessageList& messages) {
  int age = 0;
  if (!ReadCheckedInteger(tables, 1, text, language, messages, age)) return false;
  tables.TableStartAge = age;
  return true;
}

bool ReadEndAge(ProjectionTables& tables, const std::string& text, Language language,
                MessageList& messages) {
  int age = 0;
  if (!ReadCheckedInteger(tables, 2, text, language, messages, age)) return false;
  tables.TableEndAge = age;
  return true;
}

bool ExamineThinInterval(ProjectionTables& tables, int thinIntervalItem,
                         const std::string& interval1Text, const std::string& interval2Text,
                         Language language, MessageList& messages) {
  const std::string& active = thinIntervalItem == FixedIntervalItem ? interval1Text : interval2Text;
  int interval = 0;
  if (!ReadCheckedInteger(tables, IntervalKind, active, language, messages, interval)) return false;
  tables.ThinIntervalDivisor = IntervalOr(interval2Text, tables.ThinIntervalDivisor);
  tables.ThinIntervalYears = IntervalOr(interval1Text, tables.ThinIntervalYears);
  return true;
}

ThinIntervalObjects SetThinIntervalObjects(int thinIntervalItem, bool thinTableTyped) {
  const bool fixed = thinIntervalItem == FixedIntervalItem;
  const bool varying = thinIntervalItem == VaryingListItem;
  const bool proportional = !fixed && !varying;
  return {!thinTableTyped && fixed, !thinTableTyped && proportional, !thinTableTyped && varying, varying};
}

}  // namespace orven
