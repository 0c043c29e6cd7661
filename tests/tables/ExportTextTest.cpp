#include <gtest/gtest.h>

#include <climits>

#include "tables/ExportText.h"

namespace orven {
namespace {

std::array<GridTexts, 3> SmallTable() {
  GridTexts before{{"T", "F1"}, {"[År]", ""}, {{"20", "  0,512"}, {"25", "0,498"}}};
  GridTexts thinning{{"G2"}, {"[m2/ha]"}, {{"3,10"}, {""}}};
  GridTexts remaining{{"V3"}, {"[m3/ha]"}, {{"FEJL"}, {"210,4"}}};
  return {before, thinning, remaining};
}

TEST(ExportText, GridsSideBySideWithoutABreakAfterTheLastLine) {
  EXPECT_EQ(TableText(SmallTable(), ';'),
            "T;F1;G2;V3\r\n"
            "[År];;[m2/ha];[m3/ha]\r\n"
            "20;0,512;3,10;FEJL\r\n"
            "25;0,498;;210,4");
  EXPECT_EQ(TableText(SmallTable(), '\t').substr(0, 12), "T\tF1\tG2\tV3\r\n");
}

TEST(ExportText, WithoutDataRowsOnlyTheUnitLineEnds) {
  std::array<GridTexts, 3> grids = SmallTable();
  for (GridTexts& grid : grids) grid.Rows.clear();
  EXPECT_EQ(TableText(grids, '\t'), "T\tF1\tG2\tV3[År]\t\t[m2/ha]\t[m3/ha]\r\n");
}

TEST(ExportText, SelectionOfOneGrid) {
  GridTexts before = SmallTable()[0];
  EXPECT_EQ(SelectionText(before, 1, 1, 1, 1), "F1\r\n\r\n0,512");
  EXPECT_EQ(SelectionText(before, 0, 1, 1, 2), "T\tF1\r\n[År]\t\r\n20\t0,512\r\n25\t0,498");
}

TEST(ExportText, ASelectionBeyondTheGridCopiesOnlyItsPartInside) {
  GridTexts before = SmallTable()[0];
  const std::string whole = "T\tF1\r\n[År]\t\r\n20\t0,512\r\n25\t0,498";
  EXPECT_EQ(SelectionText(before, -3, 7, 0, 9), whole);
  // The extreme bounds neither overflow nor build a huge text.
  EXPECT_EQ(SelectionText(before, INT_MIN, INT_MAX, INT_MIN, INT_MAX), whole);
  EXPECT_EQ(SelectionText(before, 1, INT_MAX, 2, INT_MAX), "F1\r\n\r\n0,498");
  // Wholly outside: the two empty heading lines.
  EXPECT_EQ(SelectionText(before, 5, 6, 1, 1), "\r\n\r\n");
}

}  // namespace
}  // namespace orven
