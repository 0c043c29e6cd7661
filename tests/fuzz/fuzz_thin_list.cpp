// The free list of thinning ages (rule 2) on any text, with the table's rows
// and projection that follow it.

#include "FuzzSupport.h"
#include "projection/ThinningSchedule.h"

using namespace orven;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const Session base = fuzz::WalkedSession({});
  if (size < 2) return 0;
  Session s = base;
  // The first two bytes choose the age range, as the age edits allow it.
  const int start = 16 + data[0] % 100;
  const int end = std::min(250, start + 1 + data[1]);
  s.edtEndAgeExit("250");
  s.edtStartAgeExit(std::to_string(start));
  s.edtEndAgeExit(std::to_string(end));
  s.rgThinIntervalClick(VaryingListItem);
  s.edtThinYearExit(std::string(reinterpret_cast<const char*>(data + 2), size - 2));
  fuzz::CheckSession(s);
  // The rewritten list reads back as the same ages.
  const auto ages = s.Tables.ThinAges;
  const int count = s.Tables.ThinAgeCount;
  s.edtThinYearExit(s.Schedule.edtThinYear);
  fuzz::Expect(s.Tables.ThinAgeCount == count && s.Tables.ThinAges == ages, "the rewritten list reads differently");
  fuzz::CheckSession(s);
  return 0;
}
