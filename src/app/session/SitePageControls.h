#pragma once

#include <array>

namespace orven {

class Session;

// The step-4 inputs shown for a site method (rgSiteQuality's item). Without a
// method the inventory grid is shown, as the page is laid out after a reset.
struct Step4Inputs {
  bool Inventory = false;    // lblInventory, sgInventory
  bool Soil = false;         // lblSoil, sgSoil
  bool SiteIndexBox = false; // gbSiteIndex
  bool StandHeight = false;  // lblStandHeight, edtStandHeight
  bool SiteClass = false;    // lblSiteClass, edtSiteClass
  bool YieldClass = false;   // lblYieldClass, edtYieldClass
  bool StandAge = false;     // lblStandAge, edtStandAge
  bool operator==(const Step4Inputs&) const = default;
};

Step4Inputs ShowStep4(int siteMethod);

// What the species-and-site page shows and lets the user touch: the workflow's
// steps 1 to 5, the chosen method's inputs, the growth-parameter box, and the
// lock that values typed into the result tables put on the site inputs (the
// inputs then still hold the site data the table was computed from).
struct SitePageControls {
  Step4Inputs Shown;
  // gbA0parameter, pnlA0parameter, lblA0parameter and edtA0parameter.
  bool A0BoxShown = false;
  // lblA0: the growth-rate label of the site-quality box is never shown.
  bool RateLabelShown = false;

  bool Species = false;         // rgSpecies
  bool SiteQuality = false;     // rgSiteQuality
  bool Height = false;          // rgHeight
  bool SiteInputs = false;      // sgInventory, sgSoil, gbSiteIndex with its labels and edits
  bool Gcorrection = false;     // gbGcorrection, lblGcorrection, edtGcorrection
  bool Volume = false;          // rgVolume
  bool HelpButton = false;      // sbtnHelpP3
  bool SiteQualityBox = false;  // gbSiteQuality with lblSC, lblYC, lblSI
  bool A0Box = false;           // gbA0parameter, lblA0parameter, pnlA0parameter (their clicks)
  bool A0Edit = false;          // edtA0parameter
  bool A0Keyed = false;         // pnlA0parameter lowered: the keyed-in parameter is used

  // [1..5]: lblStep21 .. lblStep25.
  std::array<bool, 6> StepEnabled{};
  std::array<bool, 6> StepBlue{};
};

SitePageControls SiteControls(const Session& session);

}  // namespace orven
