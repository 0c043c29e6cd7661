#pragma once

#include <span>

#include "app/texts/Captions.h"

namespace orven {

// Captions of the thinning-preset page: groups, labels and the fixed radio
// items (rgPreset_0 is item 0 of rgPreset). The items of rgTargetG, the
// intensity heading and units, the constraint headings and the initial-state
// texts come from the session.
std::span<const Caption> ThinningPageCaptions();

// What a screen reader calls the inputs that have no label of their own.
std::span<const Caption> ThinningPageAccessibleNames();

// The hint of the page's help button.
extern const Caption ThinningHelpHint;

}  // namespace orven
