#include "model/SiteParameters.h"

#include "model/ParameterStore.h"

namespace orven {

void SpeciesSelection::SetYieldTableReference() {
  YieldTableReference = YieldTableReferenceFor(CurrentSpecies);
}

}  // namespace orven
