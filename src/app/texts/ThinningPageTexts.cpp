#include "app/texts/ThinningPageTexts.h"

namespace orven {
namespace {

constexpr Caption Captions[] = {
    {"rgPreset", " Hvor&dan vil du foretage hugst-forvalg? ", " Ho&w do you want to preset the thinnings? "},
    {"rgPreset_0", "Vælge en standard-hugstbehandling i en liste", "Choose a standard regime in a list"},
    {"rgPreset_1", "Definere hugstbehandling for første/sidste hugst", "Define treatment for first/last thinning"},
    {"gbTargetG", " Målgrundflade ", " Target residual basal area "},
    {"rgTargetG", " Vælg hugst&behandling ", " Select thinning regi&me "},
    {"lblTargetG", "&Målgrundflade:", "&Residual basal area:"},
    {"lblGunit", "m2/ha", "m2/ha"},
    {"gbThinning", " Definer første og sidste udhugning: ", " Specify first and last thinning: "},
    {"rgMeasure", " Angiv &tyndingsstyrke ved: ", " &Specify thinning intensity as: "},
    {"rgMeasure_0", "Målgrundflade efter hugst (m2/ha)", "Target residual basal area (m2/ha)"},
    {"rgMeasure_1", "Relativ træafstand efter hugst (%)", "Relative spacing after thinning (%)"},
    {"lblTreatment", "Udhugning", "Thinning"},
    {"lblThinIntens", "Hugststyrke", "Intensity"},
    {"lblThinMode", "Hugstmåde", "Mode"},
    {"lblThinMset", "Q", "Q"},
    {"lblYear3", "År", "Yr"},
    {"lblYear4", "År", "Yr"},
    {"gbAgeRange", " Aldersinterval omfattet af oversigten ", " Age interval covered by the table "},
    {"lblStartAge", "St&art ved alder:", "Start at a&ge:"},
    {"lblYear1", "år", "yrs"},
    {"lblEndAge", "Sl&ut ved alder:", "E&nd at age:"},
    {"lblYear2", "år", "yrs"},
    {"lblConstraints", "Angiv b&egrænsninger for tyndingshugster og blivende bestand:",
     "Specify &constraints for thinnings and remaining stand:"},
};

// The rows of the first/last-thinning group are unlabelled but for "Yr";
// these say which row and column an input belongs to.
constexpr Caption AccessibleNames[] = {
    {"edtThinStart", "Første udhugning, år", "First thinning, year"},
    {"edtThinEnd", "Sidste udhugning, år", "Last thinning, year"},
    {"tbThinIstart", "Hugststyrke ved første udhugning", "Intensity at first thinning"},
    {"tbThinIend", "Hugststyrke ved sidste udhugning", "Intensity at last thinning"},
    {"edtThinIstart", "Hugststyrke ved første udhugning", "Intensity at first thinning"},
    {"edtThinIend", "Hugststyrke ved sidste udhugning", "Intensity at last thinning"},
    {"tbThinMstart", "Hugstmåde (Q) ved første udhugning", "Mode (Q) at first thinning"},
    {"tbThinMend", "Hugstmåde (Q) ved sidste udhugning", "Mode (Q) at last thinning"},
    {"edtThinMstart", "Hugstmåde (Q) ved første udhugning", "Mode (Q) at first thinning"},
    {"edtThinMend", "Hugstmåde (Q) ved sidste udhugning", "Mode (Q) at last thinning"},
};

}  // namespace

const Caption ThinningHelpHint = {"sbtnHelpP4", "Hjælp", "Help"};

std::span<const Caption> ThinningPageCaptions() { return Captions; }
std::span<const Caption> ThinningPageAccessibleNames() { return AccessibleNames; }

}  // namespace orven
