#pragma once

#include <span>

#include "app/texts/Captions.h"

namespace orven {

// The species-and-site page in both languages: group and label captions
// (found by object name), radio items and grid headings.
std::span<const Caption> SitePageCaptions();

struct ItemText {
  const char* Danish;
  const char* English;
};

inline QString Pick(const ItemText& text, bool english) {
  return QString::fromUtf8(english ? text.English : text.Danish);
}

// rgSiteQuality's items; items 2 and 3 are followed by the yield-table
// citation of the current species.
std::span<const ItemText> SiteQualityItems();
std::span<const ItemText> HeightItems();
std::span<const ItemText> VolumeItems();
// The heading rows of sgInventory and sgSoil.
std::span<const ItemText> InventoryHeadings();
std::span<const ItemText> SoilHeadings();
// The hint of the page's help button.
const ItemText& HelpHint();

}  // namespace orven
