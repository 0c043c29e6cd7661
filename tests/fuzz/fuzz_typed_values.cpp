// Any text typed into any cell of the three result grids and of the
// initial-state grid of a computed table, through the window's handlers,
// with deletions in between, then a projection.

#include <fuzzer/FuzzedDataProvider.h>

#include <map>

#include "FuzzSupport.h"

using namespace orven;


extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  fuzz::WalkChoice w;
  w.species = in.ConsumeIntegralInRange(0, SpeciesCount - 1);
  w.firstLastThinning = in.ConsumeBool();
  w.relativeSpacing = w.firstLastThinning && in.ConsumeBool();
  w.dominantHeight = in.ConsumeBool();
  w.showYears = in.ConsumeIntegralInRange(0, 1);
  Session s = fuzz::CachedWalkedSession(w);

  for (int step = 0; step < 12 && in.remaining_bytes() > 0; ++step) {
    const int op = in.ConsumeIntegralInRange(0, 7);
    const ResultGrid grid = static_cast<ResultGrid>(in.ConsumeIntegralInRange(0, 2));
    const int columns = static_cast<int>(s.ColumnsOf(grid).size());
    const int column = in.ConsumeIntegralInRange(-1, columns);
    const int row = in.ConsumeIntegralInRange(-1, s.Tables.TableRowCount + 1);
    switch (op) {
      case 0:
      case 1:
      case 2: {
        // Keystroke by keystroke, as the grid reports its edit text.
        const std::string text = in.ConsumeRandomLengthString(24);
        GridSelectCell(s.Typing);
        for (std::size_t k = op == 0 ? text.size() : 1; k <= text.size(); ++k)
          s.GridSetEditText(grid, column, row, text.substr(0, k));
        s.CommitEdit(grid);
        break;
      }
      case 3:
      case 4: {
        s.InitStateEntered();
        const int cell = in.ConsumeIntegralInRange(0, InitStateRows - 1);
        s.InitStateCells[cell] = in.ConsumeRandomLengthString(24);
        s.ReadInitialState();
        break;
      }
      case 5: s.DeleteEntry(grid, column, row); break;
      case 6: s.DeleteInitStateEntry(in.ConsumeIntegralInRange(-1, InitStateRows)); break;
      default:
        if (in.ConsumeBool())
          s.ClearTable();
        else
          s.AutoUpdate = !s.AutoUpdate;
        break;
    }
    fuzz::CheckTables(s.Tables);
  }
  s.WriteTables();
  fuzz::CheckSession(s);
  // Typed values survive a save and an open.
  const std::string saved = s.SettingsFileText();
  static fuzz::ScratchFile file(".orven");
  const std::string& path = file.Write(reinterpret_cast<const std::uint8_t*>(saved.data()), saved.size());
  Session again(fuzz::ShippedStore(), Language::English, '.');
  fuzz::Expect(again.Open(path) == OpenOutcome::Opened, "a saved table does not open");
  fuzz::CheckSession(again);
  fuzz::Expect(again.Tables.StateTypedCount == s.Tables.StateTypedCount &&
                   again.Tables.ThinTypedCount == s.Tables.ThinTypedCount,
               "typed values lost in a save and an open");
  return 0;
}
