#pragma once

#include <vector>

namespace orven {

// The main window's seven pages: 0 welcome, 1 quick guide, 2 species and
// site, 3 thinning preset, 4 tables, 5 graphs, 6 description.
inline constexpr int PageCount = 7;

// The previous (step -1) or next (step +1) page, cyclically: previous of the
// welcome page is the description page.
int NeighbourPage(int page, int step);

// The pages a go-to-page command enters one at a time, so that every page in
// between is entered and left with its events: backwards when the target
// lies before the active page, forwards otherwise, ending with `to`; empty
// when `from` is already the target or either is not a page.
std::vector<int> PagesOnTheWay(int from, int to);

}  // namespace orven
