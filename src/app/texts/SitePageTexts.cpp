#include "app/texts/SitePageTexts.h"

namespace orven {
namespace {

constexpr Caption Captions[] = {
    {"rgSpecies", " Vælg &træart: ", " Select a tree &species: "},
    {"rgSiteQuality", " Fastlæg væ&ksthastighed på grundlag af: ", " &Determine growth rate on the basis of: "},
    {"rgHeight", " &Bevoksningshøjde udtrykkes ved: ", " Stand height is e&xpressed as: "},
    {"gbSiteIndex", " Bestemmelse af bonitet: ", " Site index estimation: "},
    {"rgVolume", " B&eregn vedmasse som: ", " &Compute volume as: "},
    {"gbSiteQuality", " Bonitetsparametre ", " Site quality parameters "},
    {"lblInventory", "&Indtast taksationsresultater her:", "Enter &inventory results here:"},
    {"lblSoil", "Angiv jordb&undens procentuelle indhold af:", "Specify the s&oil fractions in per cent:"},
    {"lblSiteClass", "Bo&nitetsklasse", "Si&te class"},
    {"lblYieldClass", "&Produktionsklasse", "&Yield class (m3/ha)"},
    {"lblStandHeight", "Bevoksningshøj&de (m)", "Sta&nd height (m)"},
    {"lblStandAge", "Ved &alderen (år):", "&At age (years):"},
    {"lblGcorrection", "&Grundfladevækst-korrektionsfaktor", "&Basal area growth correction factor"},
    {"lblA0parameter", "Anvendt vækstpara&meter:", "Applied growth para&meter:"},
};

constexpr ItemText SiteQuality[] = {
    {"Gentagne taksationer af bevoksningshøjde og -grundflade",
     "Repeated measurements of stand height and basal area"},
    {"Bevoksningshøjde (taksation eller formodning) ved en given alder",
     "Stand height (measurement or assumption) at a given age"},
    {"Bonitetsklasse svarende til ", "Site class according to "},
    {"Produktionsklasse svarende til ", "Yield class according to "},
    {"Data vedr. jordbunden (procent af diverse fraktioner)",
     "Data on soil texture (percentages of various soil fractions)"},
};

constexpr ItemText Height[] = {
    {"Overhøjde (Hdom): Gennemsnitshøjden af de 100 tykkeste træer per ha",
     "Dominant height (Hdom): Mean height of 100 thickest trees per ha"},
    {"Grundflademiddelhøjde (Hg): Højde svarende til middelstammegrundfladen",
     "Height corresponding to the mean basal area (Hg) of the stand"},
};

constexpr ItemText Volume[] = {
    {"Totalmasse", "Total volume"},
    {"Salgbar masse >5 cm", "Commercial volume >5 cm"},
    {"Salgbar masse >7 cm", "Commercial volume >7 cm"},
    {"Salgbar masse >10 cm", "Commercial volume >10 cm"},
};

constexpr ItemText Inventory[] = {
    {" Alder [år]", " Age [yrs]"},
    {" Højde [m]", " Height [m]"},
    {" G [m2/ha]", " G [m2/ha]"},
    {" G tyndet", " G thinned"},
};

constexpr ItemText Soil[] = {
    {" Ler [%]", " Clay [%]"},
    {" Silt [%]", " Silt [%]"},
    {" Fint sand [%]", " Fine sand [%]"},
    {" Groft sand [%]", " Coarse sand [%]"},
};

constexpr ItemText Help = {"Hjælp", "Help"};

}  // namespace

std::span<const Caption> SitePageCaptions() { return Captions; }
std::span<const ItemText> SiteQualityItems() { return SiteQuality; }
std::span<const ItemText> HeightItems() { return Height; }
std::span<const ItemText> VolumeItems() { return Volume; }
std::span<const ItemText> InventoryHeadings() { return Inventory; }
std::span<const ItemText> SoilHeadings() { return Soil; }
const ItemText& HelpHint() { return Help; }

}  // namespace orven
