#include "site/SiteGrids.h"

#include <cmath>

#include "messages/NumberText.h"
#include "model/FloatFault.h"
#include "site/SiteTexts.h"

namespace orven {
namespace {

enum Column { AgeColumn = 0, HeightColumn = 1, GAfterColumn = 2, GThinnedColumn = 3 };

bool RowIsBlank(const std::array<std::string, 4>& row) {
  for (const std::string& cell : row)
    if (!IsBlankCell(cell)) return false;
  return true;
}

struct Reporter {
  const CheckContext& context;
  bool show;
  MessageList& messages;
  bool& ok;

  void Fail(const BilingualText& text) {
    ok = false;
    if (show) messages.push_back({MessageKind::Error, Choose(text, context.language), {}});
  }
};

bool Outside(double value, double lo, double hi) { return value < lo || value > hi; }

// Parses the row's typed cells into the record and range-checks each value typed.
void ReadRow(const std::array<std::string, 4>& row, bool heightIsHg, InventoryRecord& record,
             Reporter& report) {
  const char separator = report.context.decimalSeparator;
  if (!IsBlankCell(row[AgeColumn])) {
    ParseInteger(row[AgeColumn], record.Age);
    if (record.Age < 4 || record.Age > 250) report.Fail(site_text::AgeOutOfRange);
  }
  if (!IsBlankCell(row[HeightColumn])) {
    double height = 0;
    ParseFloat(row[HeightColumn], separator, height);
    (heightIsHg ? record.Hg : record.Hdom) = height;
    if (Outside(height, 2, 50)) report.Fail(site_text::HeightOutOfRange);
  }
  if (!IsBlankCell(row[GAfterColumn])) {
    ParseFloat(row[GAfterColumn], separator, record.GAfter);
    if (Outside(record.GAfter, 1, 90)) report.Fail(site_text::BasalAreaOutOfRange);
  }
  if (!IsBlankCell(row[GThinnedColumn])) {
    ParseFloat(row[GThinnedColumn], separator, record.GThinned);
    if (Outside(record.GThinned, 0, 90)) report.Fail(site_text::ThinnedOutOfRange);
  }
}

void CompleteAndCheck(InventoryRecords& records, bool heightIsHg, const GrowthModel& model,
                      int species, Reporter& report) {
  for (InventoryRecord& r : records) {
    if (!(r.Hdom >= 0 || r.Hg >= 0)) continue;
    if (heightIsHg)
      r.Hdom = CatchFloatFault([&] { return model.HdomFromHg(species, r.Hg); });
    else
      r.Hg = CatchFloatFault([&] { return model.HgFromHdom(species, r.Hdom); });
  }
  for (int k = 0; k < InventoryRows; ++k) {
    InventoryRecord& r = records[k];
    if (r.Age > 0 && r.Hdom < 0) report.Fail(site_text::MissingHeight);
    if ((r.Hdom > 0 || r.GAfter > 0 || r.GThinned >= 0) && r.Age < 0)
      report.Fail(site_text::MissingAge);
    if (r.Age > 0 && (r.GAfter < 0 || r.GThinned < 0)) report.Fail(site_text::MissingBasalArea);
    if (r.Age > 0 && r.GAfter >= 0 && r.GThinned >= 0) r.GBefore = r.GAfter + r.GThinned;
    if (k == 0) continue;
    const InventoryRecord& previous = records[k - 1];
    if (r.Age > 0 && previous.Age >= r.Age) report.Fail(site_text::AgeNotIncreasing);
    if (r.Hdom > 0 && previous.Hdom > r.Hdom + 2) report.Fail(site_text::HeightDecreases);
  }
}

}  // namespace

bool IsBlankCell(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) > ' ') return false;
  return true;
}

InventoryReading ReadInventoryData(const InventoryCells& cells, bool heightIsHg,
                                   const GrowthModel& model, int species,
                                   const CheckContext& context, bool showMessages,
                                   MessageList& messages) {
  InventoryReading result;
  result.ok = true;
  result.single = true;
  int lastRow = -1;
  for (int r = 0; r < InventoryRows; ++r) {
    for (int c = 0; c < 4; ++c) {
      const std::string& text = cells[r][c];
      if (IsBlankCell(text)) continue;
      if (result.firstRow < 0) result.firstRow = r;
      lastRow = r;
      const bool number = c == AgeColumn ? CheckInteger(text, context, messages)
                                         : CheckFloat(text, context, messages);
      if (!number) {
        result.ok = false;
        if (r == result.firstRow) result.single = false;
      }
    }
  }

  Reporter report{context, showMessages, messages, result.ok};
  if (result.firstRow < 0) {
    report.Fail(site_text::NoInventoryData);
    result.single = false;
    return result;
  }
  if (lastRow == result.firstRow) {
    result.ok = false;
    if (showMessages)
      messages.push_back({MessageKind::Error,
                          Choose(site_text::OneInventory, context.language) +
                              cells[result.firstRow][AgeColumn] + ".   ",
                          {}});
    return result;
  }
  if (!result.ok) return result;

  int k = 0;
  for (int r = result.firstRow; r <= lastRow; ++r)
    if (!RowIsBlank(cells[r])) ReadRow(cells[r], heightIsHg, result.records[k++], report);
  if (!result.ok) return result;
  CompleteAndCheck(result.records, heightIsHg, model, species, report);
  return result;
}

SoilReading ReadSoilTextureData(const SoilCells& cells, const CheckContext& context,
                                MessageList& messages) {
  SoilReading result;
  for (const std::string& text : cells) {
    if (IsBlankCell(text)) {
      messages.push_back({MessageKind::Error, Choose(site_text::SoilNotEntered, context.language), {}});
      return result;
    }
    if (!CheckFloat(text, context, messages)) return result;
  }
  double sum = 0;
  double percent = 0;
  for (const std::string& text : cells) {
    if (!CheckRange(11, text, context, messages)) return result;
    ParseFloat(text, context.decimalSeparator, percent);
    sum += percent;
  }
  if (std::abs(sum - 100) > 0.01) {
    messages.push_back({MessageKind::Error,
                        Choose(site_text::SoilSum, context.language) + "(" +
                            FormatFixed(sum, 2, context.decimalSeparator) + ")   ",
                        {}});
    return result;
  }
  result.coarseSand = percent;  // the last column
  result.ok = true;
  return result;
}

}  // namespace orven
