#include "app/session/TablesPageRules.h"

#include <algorithm>
#include <charconv>

#include "app/session/Session.h"

namespace orven {

ScheduleControls ScheduleControlsOf(const Session& session) {
  ScheduleControls controls;
  if (!session.Steps.FinalEnabled) return controls;
  const bool thinTyped = session.Tables.ThinTableTyped;
  controls.ShowYears = true;
  controls.ThinInterval = !thinTyped;
  controls.Objects = SetThinIntervalObjects(session.Schedule.rgThinInterval, thinTyped);
  return controls;
}

ThinningPageLocks ThinningPageLocksOf(const Session& session) {
  const bool thinTyped = session.Tables.ThinTableTyped;
  const bool anyTyped = thinTyped || session.Tables.StateTableTyped;
  const int preset = session.Regime.rgPreset;
  ThinningPageLocks locks;
  locks.Preset = locks.AgeRange = !thinTyped;
  locks.TargetGGroup = !thinTyped && preset == 0;
  locks.ThinningGroup = !thinTyped && preset == 1;
  locks.StartAge = !anyTyped;
  return locks;
}

std::string UpDownText(const std::string& editText, int step) {
  constexpr int Lowest = 1, Highest = 200;
  const auto first = editText.find_first_not_of(' ');
  int position = Lowest;
  if (first != std::string::npos) {
    const char* begin = editText.data() + first;
    const char* end = editText.data() + editText.size();
    int value = 0;
    const auto [ptr, error] = std::from_chars(begin, end, value);
    if (error == std::errc() && std::all_of(ptr, end, [](char c) { return c == ' '; })) position = value;
  }
  return std::to_string(std::clamp(std::clamp(position, Lowest, Highest) + step, Lowest, Highest));
}

namespace {
std::string& IntervalText(Session& session, int which) {
  return which == 1 ? session.Schedule.edtThinInterval1 : session.Schedule.edtThinInterval2;
}
}  // namespace

void ThinIntervalStepped(Session& session, int which, int step) {
  std::string& text = IntervalText(session, which);
  text = UpDownText(text, step);
  session.ExamineThinInterval();
}

bool ThinIntervalEntered(Session& session, int which, const std::string& text) {
  IntervalText(session, which) = text;
  return session.ExamineThinInterval();
}

std::array<int, 3> CaptionPositions(const std::array<int, 3>& gridLeft, const std::array<int, 3>& gridWidth,
                                    const std::array<int, 3>& textWidth, int panelWidth) {
  auto centred = [&](int i) { return gridLeft[i] + (gridWidth[i] - textWidth[i]) / 2; };
  const int before = std::max(0, centred(0) - 10);
  int thinning = std::max(centred(1) - 5, gridLeft[0] + gridWidth[0]);
  const int beforeEnd = before + textWidth[0];
  if (thinning < beforeEnd + 20) thinning = beforeEnd + 20;
  const int remaining = std::min(centred(2) - 30, panelWidth - 215);
  return {before, thinning, remaining};
}

CellColours InitStateColours(const ProjectionTables& tables, int row, bool dominantHeight, bool gridEnabled,
                             bool selected) {
  const int v = InitStateVariableOfRow(row, dominantHeight);
  const bool known = v >= 0 && v < VariableCount;
  const bool typed = known && tables.Typed(v, 0);
  const bool error = known && tables.ValueError[v][0];
  CellColours colours{{CellColour::Kind::Window}, CellColour::Of(0, 0, 0)};
  if (!gridEnabled) return {CellColour::Of(0xE6, 0xE6, 0xE6), CellColour::Of(0xA4, 0xA4, 0xA4)};
  if (selected)
    colours.background = CellColour::Of(0, 100, 150);
  else if (typed)
    colours.background = CellColour::Of(250, 250, 150);
  else if (known && TypingConflict(tables, v, 0))
    colours.background = CellColour::Of(190, 250, 190);
  else if (error)
    colours.background = CellColour::Of(250, 190, 190);
  if (selected)
    colours.text = CellColour::Of(255, 255, 255);
  else if (error)
    colours.text = CellColour::Of(220, 0, 0);
  else if (typed)
    colours.text = CellColour::Of(0, 128, 0);
  return colours;
}

std::optional<std::string> InitStateKeystroke(Session& session, int row, const std::string& text) {
  if (row < 0 || row >= InitStateRows) return std::nullopt;
  const InitStateKeystrokeVerdict verdict = InitStateSetEditText(
      session.Typing, session.Tables, row, session.DominantHeight(), session.language(), session.DecimalSeparator());
  if (verdict.Refusal) session.MessageSink().push_back(*verdict.Refusal);
  const auto cell = static_cast<std::size_t>(row);
  session.InitStateCells[cell] = verdict.ResetText ? *verdict.ResetText : text;
  return verdict.ResetText;
}

void ColumnDialogClosed(Session& session) {
  session.Typing.ForgetPendingEdits();
  session.Columns.SetVariables();
  session.WriteTables();
}

}  // namespace orven
