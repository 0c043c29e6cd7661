#pragma once

#include <QStringList>
#include <span>

#include "app/texts/Captions.h"

namespace orven {

// Captions of the tables page: the grid headings and the controls below the grids.
std::span<const Caption> TablesPageCaptions();

QStringList ShowYearsItems(bool english);
QStringList ThinIntervalItems(bool english);

}  // namespace orven
