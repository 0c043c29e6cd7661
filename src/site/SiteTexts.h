#pragma once

#include <string>

#include "messages/Messages.h"
#include "model/Language.h"

namespace orven {

// The texts of the site page: the estimation's messages, the labels of the
// site-quality box and the notes of the page's presets.

namespace site_text {

// Inventory grid.
inline constexpr BilingualText NoInventoryData = {
    "   No inventory data were entered!   ",
    "   Der er ikke indtastet nogen taksationsdata!   "};
// The age cell's text and ".   " follow.
inline constexpr BilingualText OneInventory = {
    "   The growth rate parameter cannot be estimated on the basis of only one inventory!   \r\n"
    "   Instead a site index will be calculated based on the height observation at age ",
    "   Vækstraten kan ikke bestemmes på grundlag af kun en taksation!   \r\n"
    "   I stedet bestemmes et højdeindex baseret på højden ved alder "};
inline constexpr BilingualText AgeOutOfRange = {
    "   Age out of range (4-250 years)   ",
    "   En alder falder uden for det accepterede område (4-250 år)   "};
inline constexpr BilingualText HeightOutOfRange = {
    "   Height out of range (2-50 m)   ",
    "   En højde falder uden for det accepterede område (2-50 m)   "};
inline constexpr BilingualText BasalAreaOutOfRange = {
    "   Basal area out of range (1-90 m2/ha)   ",
    "   En grundflade falder uden for det accepterede område (1-90 m2/ha)   "};
inline constexpr BilingualText ThinnedOutOfRange = {
    "   Thinned basal area out of range (0-90 m2/ha)!   ",
    "   Tyndingens grundflade er uden for det accepterede område (0-90 m2/ha)!   "};
inline constexpr BilingualText MissingHeight = {"   Missing height measurement!   ",
                                                "   Manglende højdemåling!   "};
inline constexpr BilingualText MissingAge = {"   Missing age specification!   ",
                                             "   Manglende aldersangivelse!   "};
inline constexpr BilingualText MissingBasalArea = {
    "   Missing basal area measurement! - Please note that if thinned  \r\n"
    "   basal area is zero this should be specified explicitly!   ",
    "   Manglende grundfladeangivelse! - Bemærk at såfremt udhugnings-  \r\n"
    "   grundfladen er nul skal dette angives eksplicit!   "};
inline constexpr BilingualText AgeNotIncreasing = {
    "   Age does not increase consistently!   ",
    "   Alderen stiger ikke konsekvent fra gang til gang!   "};
inline constexpr BilingualText HeightDecreases = {
    "   Height decreases too much from one measurement to the next (dH < -2 m)!   ",
    "   Højden falder for meget fra en måling til den næste (dH < -2 m)!   "};

// Soil grid.
inline constexpr BilingualText SoilNotEntered = {
    "   Soil fraction percentages were not entered for all classes!   ",
    "   Der er ikke angivet procentandel for alle jordbundsfraktioner!   "};
// "(" + sum + ")   " follows.
inline constexpr BilingualText SoilSum = {
    "   The soil fraction percentages should sum to 100 per cent!   ",
    "   Jordbundsfraktionernes andele skal summere til 100 procent!   "};

// Results.
inline constexpr BilingualText SiteIndexError = {
    "   Warning: The site index calculation caused an error.   \r\n"
    "   Please check that the data have been entered correctly!   \r\n"
    "   (The program will use the highest possible site index)   ",
    "   Advarsel: Beregningen af højdeindexet førte til en fejl.   \r\n"
    "   Kontroller venligst at alle data er indtastet korrekt!   \r\n"
    "   (Programmet vil benytte det størst mulige højdeindex)   "};
inline constexpr BilingualText NegativeParameter = {
    "   Warning: the estimated growth rate parameter is negative.   \r\n"
    "   Check that the data you entered are correct!   ",
    "   Advarsel: den beregnede vækstrate er negativ.   \r\n"
    "   Kontroller at de indtastede data er korrekte!   "};
// Head + citation + middle + site class + tail.
inline constexpr BilingualText SiteClassWarningHead = {
    "   Warning: In the traditional site classification system:   \r\n         (",
    "   Advarsel: I det traditionelle boniteringssystem:   \r\n         ("};
inline constexpr BilingualText SiteClassWarningMiddle = {
    "),   \r\n   the values specified correspond to a site class of ",
    "),   \r\n   svarer de indtastede værdier til en bonitet "};
inline constexpr BilingualText SiteClassWarningTail = {
    ".   \r\n   Extrapolation may cause initial values to become poor!   ",
    ".   \r\n   Ekstrapolationen kan medføre besynderlige initialværdier!   "};

// Label prefixes of the site-quality box.
inline constexpr BilingualText SiteClassPrefix = {"Site Cl.", "Bon.kl."};
inline constexpr BilingualText YieldClassPrefix = {"Yield Cl.", "Prod.kl."};
inline constexpr BilingualText SiteIndexPrefix = {"H(50 yr)", "H(50 år)"};
inline constexpr BilingualText GrowthRatePrefix = {"Rate par.", "Rate-par."};

// Notes of the site page.
inline constexpr BilingualText NoSoilEffect = {
    "   Unfortunately, no significant effect of soil texture was observed for this species!   ",
    "   Beklageligvis kunne der ikke observeres nogen signifikant effekt af jordbundstekstur for "
    "denne træart!   "};
inline constexpr BilingualText SitkaSoilRemark = {
    "\r\n   Moreover, it should be noticed that the estimated growth rate increases (!)   \r\n"
    "   slightly with increasing coarse sand percentage!   ",
    "\r\n   Det bør desuden bemærkes at den skønnede vækstrate viser sig at øges (!) en lille smule   \r\n"
    "   når den procentuelle andel af grovsand i jorden øges.   "};
inline constexpr BilingualText KeyedInParameterNote = {
    "   Please note that a fixed growth rate parameter has been keyed in and   \r\n"
    "   will be used in the growth and yield table. To use a calculated param-   \r\n"
    "   eter instead, click the edge of the \"Applied growth parameter\" field.   ",
    "   Bemærk at der er indtastet en fast vækstparameter. Denne vil blive benyttet   \r\n"
    "   ved beregning af produktionsoversigten. Hvis du i stedet ønsker at benytte   \r\n"
    "   den beregnede parameter, så klik i kanten af feltet \"Anvendt vækstparameter\".   "};

}  // namespace site_text
}  // namespace orven
