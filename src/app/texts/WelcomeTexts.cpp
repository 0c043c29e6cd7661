#include "app/texts/WelcomeTexts.h"

namespace orven {

const char* WelcomeText(bool english) {
  if (english)
    return "Welcome to ORVEN\n"
           "\n"
           "ORVEN prepares growth and yield tables for even-aged stands of beech, oak, ash, "
           "Norway spruce, Sitka spruce, Douglas fir and silver fir. The stand is projected "
           "year by year with dynamic stand growth models that respond to the site and to "
           "the thinnings you choose.\n"
           "\n"
           "You work through ten numbered steps: choose the species, describe the site, "
           "choose how heights and volumes are measured, and define the thinning regime and "
           "the age range. The program then shows the stand before thinning, the thinnings "
           "and the remaining stand in three tables and six graphs. Any value in the tables "
           "may be overruled, and the table is recomputed around it.\n"
           "\n"
           "The tables are projections from statistical models fitted to experimental data. "
           "They are guides for planning, not guarantees: the actual growth of a stand "
           "depends on its history, its health and the weather of the years to come. Results "
           "outside the range of the data behind the models are marked in blue.\n"
           "\n"
           "By choosing Accept you confirm that you use the results at your own judgement. "
           "Choose Reject to end the program.";
  return "Velkommen til ORVEN\n"
         "\n"
         "ORVEN udarbejder produktionsoversigter for ensaldrende bevoksninger af bøg, eg, ask, "
         "rødgran, sitkagran, douglasgran og ædelgran. Bevoksningen fremskrives år for år med "
         "dynamiske vækstmodeller, som tager hensyn til voksestedet og til de tyndinger, du "
         "vælger.\n"
         "\n"
         "Du arbejder dig gennem ti nummererede trin: vælg træart, beskriv voksestedet, vælg "
         "hvordan højder og vedmasser opgøres, og fastlæg hugstbehandling og aldersinterval. "
         "Programmet viser derefter bevoksningen før tynding, tyndingerne og den blivende "
         "bestand i tre tabeller og seks grafer. Enhver værdi i tabellerne kan overstyres, og "
         "oversigten beregnes da igen omkring den.\n"
         "\n"
         "Oversigterne er fremskrivninger med statistiske modeller tilpasset forsøgsdata. De "
         "er en vejledning ved planlægning, ikke en garanti: en bevoksnings faktiske vækst "
         "afhænger af dens historie, dens sundhed og vejret i de kommende år. Resultater uden "
         "for det dataområde, modellerne bygger på, vises med blåt.\n"
         "\n"
         "Ved at vælge Godkend bekræfter du, at du anvender resultaterne efter eget skøn. "
         "Vælg Afvis for at afslutte programmet.";
}

}  // namespace orven
