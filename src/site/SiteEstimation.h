#pragma once

#include <optional>
#include <string>

#include "messages/InputChecks.h"
#include "messages/Messages.h"
#include "model/GrowthModel.h"
#include "model/SiteParameters.h"
#include "projection/ProjectionTables.h"
#include "site/SiteGrids.h"
#include "site/SiteState.h"

namespace orven {

// The site methods, in the order of rgSiteQuality's items.
enum SiteMethod : int {
  RepeatedInventories = 0,
  StandHeightAtAge = 1,
  ClassicalSiteClass = 2,
  ClassicalYieldClass = 3,
  SoilTexture = 4,
};

// What the estimation reads from the site page, as the view holds it.
//
// Which inputs count: the chosen method decides which are visible (the
// inventory grid for method 0 and, as in the reset layout, for no method;
// the stand-height or site-class or yield-class edit with edtStandAge for
// methods 1-3; the soil grid for method 4). A visible input counts while
// inputsEnabled (the workflow has opened the site inputs) or while values are
// typed into the result tables (ProjectionTables::StateTableTyped or
// ThinTableTyped): the inputs are then locked but still hold the site data.
struct SiteInputs {
  int rgSiteQuality = -1;  // SiteMethod, -1 none
  int rgHeight = -1;       // 0 dominant height, 1 mean height, -1 none
  std::string edtStandHeight;
  std::string edtStandAge;
  std::string edtSiteClass;
  std::string edtYieldClass;
  InventoryCells sgInventory{};
  SoilCells sgSoil{};
  bool inputsEnabled = false;
};

enum class SiteFocus { None, Inventory, Soil };

// The result of one estimation and what the page shows of it.
struct SiteEstimate {
  double A0 = 0;  // 0 when the site data are incomplete or a grid failed
  std::string lblSC, lblYC, lblSI, lblA0;
  std::optional<std::string> edtStartAge;     // the raised start age, when it was raised
  std::optional<std::string> edtA0parameter;  // set by ReestimateA0parameter only
  SiteFocus focus = SiteFocus::None;          // the grid whose data failed
};

// StandHdom and StandHg from StandHeight in the measure given.
void SetStandHeights(SiteState& state, const GrowthModel& model, int species, bool isHdom);

// Turns the site data of the page into the growth-rate parameter, the site
// index and the classical classes, chooses the model version, raises the
// table's start age (unless StartAgeKeyed) and writes the labels. The growth
// model uses site.GrowthCorrection. Messages are appended in order; the
// site-index error of method 1 and the grids' number checks are reported even
// without showMessages. Never stores a non-finite value.
SiteEstimate EstimateA0parameter(bool showMessages, const ParameterStore& store, int species,
                                 SiteParameters& site, SiteState& state, const SiteInputs& inputs,
                                 ProjectionTables& tables, const CheckContext& context,
                                 MessageList& messages);

// What every caller of the estimation does: A0Parameter := the estimate, and
// unless the keyed-in parameter is used, edtA0parameter shows it.
SiteEstimate ReestimateA0parameter(bool showMessages, const ParameterStore& store, int species,
                                   SiteParameters& site, SiteState& state,
                                   const SiteInputs& inputs, ProjectionTables& tables,
                                   const CheckContext& context, MessageList& messages);

// edtA0parameter's text of a calculated parameter: fixed, 4 decimals.
std::string A0EditText(double A0, char decimalSeparator);

}  // namespace orven
