#include "app/texts/TablesPageTexts.h"

namespace orven {
namespace {

constexpr Caption Captions[] = {
    {"lblBeforeThin", "F&ør tynding", "&Before thinning"},
    {"lblThinning", "&Tynding", "&Thinning"},
    {"lblRemaining", "&Blivende bestand og tilvækst", "&Remaining stand and growth"},
    {"rgShowYears", " Vis i t&abeller ", " &Show in tables "},
    {"rgThinInterval", " Tyndings&interval ", " Thinning &interval "},
    {"lblThinInterval1", "H&ug hvert Nte år; N=", "Thin every Nth &yr; N="},
    {"lblThinInterval2", "Hug hvert alder/N år; &N=", "Thin every age/N yr; &N="},
    {"lblThinYear", "Tyndingsaldr&e (adskilt af komma)", "Thinning &ages (separated by comma)"},
};

}  // namespace

std::span<const Caption> TablesPageCaptions() { return Captions; }

QStringList ShowYearsItems(bool english) {
  return english ? QStringList{QStringLiteral("All years"), QStringLiteral("Thinnings only")}
                 : QStringList{QStringLiteral("Alle år"), QStringLiteral("Kun tyndinger")};
}

QStringList ThinIntervalItems(bool english) {
  return english ? QStringList{QStringLiteral("Fixed interval"), QStringLiteral("Proportional to age"),
                               QStringLiteral("Varying (specify)")}
                 : QStringList{QStringLiteral("Fast interval"), QStringLiteral("Proportionalt med alder"),
                               QStringLiteral("Varierende (angiv)")};
}

}  // namespace orven
