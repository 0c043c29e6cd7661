#include "app/session/Navigation.h"

namespace orven {

int NeighbourPage(int page, int step) {
  const int next = (page + step) % PageCount;
  return next < 0 ? next + PageCount : next;
}

std::vector<int> PagesOnTheWay(int from, int to) {
  std::vector<int> pages;
  if (from < 0 || from >= PageCount || to < 0 || to >= PageCount) return pages;
  const int step = to < from ? -1 : 1;
  for (int page = from; page != to; page += step) pages.push_back(page + step);
  return pages;
}

}  // namespace orven
