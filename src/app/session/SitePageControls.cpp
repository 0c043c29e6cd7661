#include "app/session/SitePageControls.h"

#include "app/session/Session.h"

namespace orven {

Step4Inputs ShowStep4(int siteMethod) {
  Step4Inputs shown;
  switch (siteMethod) {
    case StandHeightAtAge: shown.SiteIndexBox = shown.StandHeight = shown.StandAge = true; break;
    case ClassicalSiteClass: shown.SiteIndexBox = shown.SiteClass = shown.StandAge = true; break;
    case ClassicalYieldClass: shown.SiteIndexBox = shown.YieldClass = shown.StandAge = true; break;
    case SoilTexture: shown.Soil = true; break;
    default: shown.Inventory = true; break;
  }
  return shown;
}

SitePageControls SiteControls(const Session& session) {
  const Workflow& steps = session.Steps;
  // Typed table values lock the site inputs; typed thinnings also lock the
  // inputs that shape every year after the first.
  const bool locked = session.Tables.StateTableTyped || session.Tables.ThinTableTyped;
  const bool thinningsTyped = session.Tables.ThinTableTyped;

  SitePageControls c;
  c.Shown = ShowStep4(session.SiteView.Inputs.rgSiteQuality);
  c.A0BoxShown = session.SiteView.ShowA0param;
  c.Species = steps.StepEnabled[1] && !locked;
  c.SiteQuality = steps.StepEnabled[2] && !locked;
  c.Height = steps.StepEnabled[3] && !locked;
  c.SiteInputs = steps.StepEnabled[4] && !locked;
  c.Gcorrection = steps.StepEnabled[4] && !thinningsTyped;
  c.Volume = steps.StepEnabled[5] && !thinningsTyped;
  c.HelpButton = steps.StepEnabled[1] && !thinningsTyped;
  c.SiteQualityBox = !locked;
  c.A0Box = !locked;
  c.A0Keyed = session.Site.UserA0Fixed;
  c.A0Edit = session.Site.UserA0Fixed && !locked;
  for (int step = 1; step <= 5; ++step) {
    c.StepEnabled[step] = steps.StepEnabled[step];
    c.StepBlue[step] = steps.LabelBlue[step];
  }
  return c;
}

}  // namespace orven
