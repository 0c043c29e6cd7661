// The parameter file reader on any bytes, then the site-index limits and a
// table computed with whatever species the bytes made present.

#include "FuzzSupport.h"

using namespace orven;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static fuzz::ScratchFile file(".drc");
  ParameterStore store;
  const ParameterFileResult result = ReadParameterFile(store, file.Write(data, size), Language::English);
  fuzz::Expect(result.found, "an existing file counted as missing");
  const int listed = AssignRadioIndices(store);
  ComputeMaxSiteIndex(store);
  for (int species = 0; species < SpeciesCount; ++species) {
    const double limit = store.MaxSiteIndex[species];
    fuzz::Expect(std::isfinite(limit) && limit >= 0 && limit <= 100.1, "MaxSiteIndex outside 0..100");
    fuzz::Expect(store.SpeciesTable[species].Present || limit == 0, "a limit for an absent species");
  }
  if (listed == 0) return 0;

  // The coefficients come from the bytes: the projection must still store
  // only finite values.
  Session s(store, Language::English, '.');
  s.rgSpeciesClick(static_cast<int>(size % listed));
  s.rgSiteQualityClick(2);
  s.rgHeightClick(0);
  s.SiteEditExit(SiteEdit::SiteClass, "2");
  s.edtGcorrectionEnter();
  s.rgVolumeClick(0);
  s.LeaveSitePage();
  s.rgPresetClick(0);
  s.rgTargetGClick(1);
  s.ShowTablesPage();
  fuzz::CheckSession(s);
  return 0;
}
