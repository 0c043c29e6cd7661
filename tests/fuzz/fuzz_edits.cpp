// Any text in any edit of the site page, the thinning-preset page and the
// tables page, and any choice of their radio groups and track bars, in any
// order, then a projection.

#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzSupport.h"
#include "projection/ThinningSchedule.h"

using namespace orven;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const Session base = fuzz::WalkedSession({});
  FuzzedDataProvider in(data, size);
  Session s = base;
  RegimePage& page = s.Regime;
  MessageList& sink = s.MessageSink();
  for (int step = 0; step < 16 && in.remaining_bytes() > 0; ++step) {
    const int action = in.ConsumeIntegralInRange(0, 19);
    if (action < 6) {
      s.SiteEditExit(static_cast<SiteEdit>(action), in.ConsumeRandomLengthString(20));
      if (in.ConsumeBool()) s.edtGcorrectionEnter();
      continue;
    }
    switch (action) {
      case 6: s.edtStartAgeExit(in.ConsumeRandomLengthString(12)); break;
      case 7: s.edtEndAgeExit(in.ConsumeRandomLengthString(12)); break;
      case 8:
        s.Schedule.edtThinInterval1 = in.ConsumeRandomLengthString(12);
        s.Schedule.edtThinInterval2 = in.ConsumeRandomLengthString(12);
        s.ExamineThinInterval();
        break;
      case 9: {
        ThinEditEnter(page);
        s.RegimeInputEntered();
        std::string* edits[] = {&page.edtThinIstart, &page.edtThinIend, &page.edtThinMstart, &page.edtThinMend};
        bool (*readers[])(RegimePage&, MessageList&) = {ReadThinIstart, ReadThinIend, ReadThinMstart, ReadThinMend};
        const int k = in.ConsumeIntegralInRange(0, 3);
        *edits[k] = in.ConsumeRandomLengthString(16);
        readers[k](page, sink);
        break;
      }
      case 10:
        page.edtThinStart = in.ConsumeRandomLengthString(12);
        edtThinStartExit(page, sink);
        break;
      case 11:
        page.edtThinEnd = in.ConsumeRandomLengthString(12);
        edtThinEndExit(page, sink);
        break;
      case 12:
        page.edtTargetG = in.ConsumeRandomLengthString(16);
        edtTargetGExit(page, sink);
        break;
      case 13: {
        TrackBarEnter(page);
        s.RegimeInputEntered();
        const auto bar = static_cast<TrackBar>(in.ConsumeIntegralInRange(0, 3));
        SetTrackBarPosition(page, bar, in.ConsumeIntegralInRange(-5, TrackBarMax + 5));
        break;
      }
      case 14: s.rgPresetClick(in.ConsumeIntegralInRange(-1, 1)); break;
      case 15: s.rgTargetGClick(in.ConsumeIntegralInRange(-1, 2)); break;
      case 16: s.rgMeasureClick(in.ConsumeIntegralInRange(0, 1)); break;
      case 17: s.rgThinIntervalClick(in.ConsumeIntegralInRange(-1, 2)); break;
      case 18: s.rgShowYearsClick(in.ConsumeIntegralInRange(-1, 1)); break;
      default:
        switch (in.ConsumeIntegralInRange(0, 3)) {
          case 0: s.ChangeA0parameterSettings(); break;
          case 1: s.rgSiteQualityClick(in.ConsumeIntegralInRange(0, 4)); break;
          case 2: s.rgHeightClick(in.ConsumeIntegralInRange(0, 1)); break;
          default: s.rgVolumeClick(in.ConsumeIntegralInRange(0, 3)); break;
        }
        break;
    }
  }
  s.LeaveSitePage();
  s.ReadConstraints();
  s.ShowTablesPage();
  fuzz::CheckSession(s);
  return 0;
}
