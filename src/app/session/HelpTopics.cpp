#include "app/session/HelpTopics.h"

#include <algorithm>
#include <array>
#include <utility>

namespace orven {
namespace {

using Entry = std::pair<std::string_view, int>;

// Each control's own topic.
constexpr Entry OwnContexts[] = {
    {"reInfo", 3},           {"rgSpecies", 4},        {"rgSiteQuality", 5},    {"gbSiteQuality", 6},
    {"rgHeight", 7},         {"sgInventory", 8},      {"gbSiteIndex", 9},      {"edtYieldClass", 9},
    {"edtStandHeight", 9},   {"edtSiteClass", 9},     {"edtStandAge", 9},      {"sgSoil", 10},
    {"gbA0parameter", 11},   {"pnlA0parameter", 11},  {"edtA0parameter", 11},  {"gbGcorrection", 11},
    {"edtGcorrection", 11},  {"rgVolume", 12},        {"rgPreset", 13},        {"gbTargetG", 13},
    {"rgTargetG", 13},       {"edtTargetG", 13},      {"gbThinning", 14},      {"rgMeasure", 14},
    {"edtThinStart", 14},    {"edtThinEnd", 14},      {"edtThinIstart", 14},   {"edtThinIend", 14},
    {"edtThinMstart", 14},   {"edtThinMend", 14},     {"tbThinIstart", 14},    {"tbThinIend", 14},
    {"tbThinMstart", 14},    {"tbThinMend", 14},      {"gbAgeRange", 15},      {"edtStartAge", 15},
    {"edtEndAge", 15},       {"sgConstraints", 16},   {"sgInitState", 17},     {"rgThinInterval", 18},
    {"edtThinInterval1", 18}, {"udThinInterval1", 18}, {"edtThinInterval2", 18}, {"udThinInterval2", 18},
    {"edtThinYear", 18},     {"rgShowYears", 19},     {"pnlLabels", 19},       {"sgBeforeThin", 20},
    {"sgThinning", 21},      {"sgRemaining", 22},     {"TabSheet6", 22},       {"Chart1", 23},
    {"Chart2", 23},          {"Chart3", 23},          {"Chart4", 23},          {"Chart5", 23},
    {"Chart6", 23},          {"Chart7", 23},          {"AxisForm", 26},        {"lbAxisVariable", 26},
    {"reDescription", 28},   {"pnlDescrHeader", 28},
};

// Controls whose help-pointer click opens the topic of another control.
constexpr std::pair<std::string_view, std::string_view> PointerTargets[] = {
    {"lblInventory", "sgInventory"},     {"lblSoil", "sgSoil"},
    {"lblSiteClass", "edtSiteClass"},    {"lblStandHeight", "edtStandHeight"},
    {"lblYieldClass", "edtYieldClass"},  {"lblStandAge", "edtStandAge"},
    {"lblGcorrection", "edtGcorrection"}, {"lblSC", "gbSiteQuality"},
    {"lblYC", "gbSiteQuality"},          {"lblSI", "gbSiteQuality"},
    {"pnlA0parameter", "pnlA0parameter"}, {"gbA0parameter", "pnlA0parameter"},
    {"lblA0parameter", "pnlA0parameter"}, {"rgTargetG", "gbTargetG"},
    {"lblTargetG", "gbTargetG"},         {"lblGunit", "gbTargetG"},
    {"edtTargetG", "gbTargetG"},         {"rgMeasure", "gbThinning"},
    {"edtThinStart", "gbThinning"},      {"edtThinEnd", "gbThinning"},
    {"edtThinIstart", "gbThinning"},     {"edtThinIend", "gbThinning"},
    {"edtThinMstart", "gbThinning"},     {"edtThinMend", "gbThinning"},
    {"tbThinIstart", "gbThinning"},      {"tbThinIend", "gbThinning"},
    {"tbThinMstart", "gbThinning"},      {"tbThinMend", "gbThinning"},
    {"lblStartAge", "gbAgeRange"},       {"lblEndAge", "gbAgeRange"},
    {"lblYear1", "gbAgeRange"},          {"lblYear2", "gbAgeRange"},
    {"lblInitState", "sgInitState"},     {"lblBeforeThin", "sgBeforeThin"},
    {"lblThinning", "sgThinning"},       {"lblRemaining", "sgRemaining"},
    {"lblThinInterval1", "edtThinInterval1"}, {"lblThinInterval2", "edtThinInterval2"},
    {"lblThinYear", "edtThinYear"},      {"lblDescription", "reDescription"},
    {"pnlDescrHeader", "reDescription"},
};

// Controls whose help-pointer click opens their own topic.
constexpr std::string_view PointerOwn[] = {
    "rgSpecies",      "rgSiteQuality",   "rgHeight",         "rgVolume",         "sgInventory",
    "sgSoil",         "gbSiteIndex",     "edtSiteClass",     "edtStandHeight",   "edtYieldClass",
    "edtStandAge",    "edtA0parameter",  "gbGcorrection",    "edtGcorrection",   "gbSiteQuality",
    "rgPreset",       "gbTargetG",       "gbAgeRange",       "edtStartAge",      "edtEndAge",
    "sgConstraints",  "sgInitState",     "pnlLabels",        "sgBeforeThin",     "sgThinning",
    "sgRemaining",    "rgShowYears",     "rgThinInterval",   "edtThinInterval1", "edtThinInterval2",
    "udThinInterval1", "udThinInterval2", "edtThinYear",     "reDescription",
};

// Entered rather than clicked.
constexpr std::string_view PointerOnEntry[] = {"tbThinIstart", "tbThinIend", "tbThinMstart", "tbThinMend",
                                               "reDescription"};

// Labels that belong to a control without being help-pointer controls.
constexpr std::pair<std::string_view, std::string_view> LabelOf[] = {{"lblConstraints", "sgConstraints"}};

constexpr std::string_view SiteCursor[] = {"TabSheet3", "rgSpecies",     "rgSiteQuality", "rgHeight",
                                           "rgVolume",  "gbSiteIndex",   "gbA0parameter", "gbSiteQuality"};
constexpr std::string_view ThinningCursor[] = {"TabSheet4",     "rgPreset",   "rgTargetG",
                                               "gbThinning",    "sgConstraints", "gbAgeRange"};
constexpr std::string_view TablesCursor[] = {"TabSheet5",    "pnlLabels",  "pnlThinYears",
                                             "sgBeforeThin", "sgThinning", "sgRemaining"};
constexpr std::string_view DescriptionCursor[] = {"TabSheet7", "reDescription", "pnlDescrHeader"};

int OwnContext(std::string_view control) {
  for (const auto& [name, context] : OwnContexts)
    if (name == control) return context;
  return -1;
}

template <class Range>
bool Contains(const Range& range, std::string_view name) {
  return std::find(std::begin(range), std::end(range), name) != std::end(range);
}

}  // namespace

const char* HelpFileName(Language language) {
  return language == Language::English ? "FenloHlpUK.chm" : "FenloHlpDK.chm";
}
const char* InformationFileName(Language language) {
  return language == Language::English ? "FenloInfUK.rtf" : "FenloInfDK.rtf";
}
const char* DescriptionFileName(Language language) {
  return language == Language::English ? "FenloDesUK.rtf" : "FenloDesDK.rtf";
}
const char* AboutFileName(Language language) {
  return language == Language::English ? "FenloAboutUK.rtf" : "FenloAboutDK.rtf";
}

std::string MissingInformationLine(Language language) {
  return std::string(language == Language::English ? "   Error: The information file was not found: "
                                                   : "   Fejl: Informationsfilen blev ikke fundet: ") +
         InformationFileName(language);
}

std::vector<std::string> BuiltInDescriptionTemplate(Language language) {
  const bool english = language == Language::English;
  std::vector<std::string> lines = {"ORVEN", "", english ? "Growth and yield table" : "Produktionsoversigt", "",
                                    english ? "by " : "af ", ""};
  const std::array<const char*, 8> english_fields = {"Date: ",    "Locality: ",  "Species: ",  "Stand type: ",
                                                     "Silvicultural objective: ", "Assumptions: ", "Treatment: ",
                                                     "Detailed description: "};
  const std::array<const char*, 8> danish_fields = {"Dato: ",          "Lokalitet: ",     "Træart: ",
                                                    "Bevoksningstype: ", "Dyrkningsmål: ", "Forudsætninger: ",
                                                    "Behandling: ",    "Detaljeret beskrivelse: "};
  const auto& fields = english ? english_fields : danish_fields;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    lines.push_back(fields[i]);
    if (i + 1 < fields.size()) lines.push_back("");
  }
  return lines;
}

std::string AboutCaption(Language language) {
  return language == Language::English ? " About ORVEN" : " Om ORVEN";
}

RichTextDocument BuiltInAboutText(Language language) {
  const bool english = language == Language::English;
  RichTextDocument document;
  auto paragraph = [&document](std::string text, RichTextFormat format = {}) {
    RichTextParagraph p;
    p.SpaceAfter = 120;
    p.Runs.push_back({std::move(text), format});
    document.Paragraphs.push_back(std::move(p));
  };
  RichTextFormat title;
  title.Bold = true;
  title.HalfPoints = 32;
  paragraph("ORVEN 1.0", title);
  paragraph(english ? "ORVEN prepares growth-and-yield tables for even-aged stands of common Danish forest tree "
                      "species. A stand is described by its species, its site quality and a thinning regime, and "
                      "is projected year by year from a start age to an end age."
                    : "ORVEN udarbejder produktionsoversigter for ensaldrende bevoksninger af almindelige danske "
                      "skovtræarter. En bevoksning beskrives ved træart, bonitet og hugstbehandling og fremskrives "
                      "år for år fra en startalder til en slutalder.");
  paragraph(english ? "Dynamic stand growth models were first developed in the years 1994-2005 for four of the "
                      "species. In 2006-2009 new models were developed for these and for three further species, so "
                      "that the program covers seven: beech, oak, ash, Norway spruce, Sitka spruce, Douglas fir and "
                      "silver fir. The models project dominant height, basal area and stem number from one year to "
                      "the next, so that any thinning regime can be followed; the help file describes them."
                    : "Dynamiske bevoksningsmodeller blev først udviklet i årene 1994-2005 for fire af træarterne. "
                      "I 2006-2009 blev der udviklet nye modeller for disse og for yderligere tre træarter, så "
                      "programmet omfatter syv: bøg, eg, ask, rødgran, sitkagran, douglasgran og ædelgran. "
                      "Modellerne fremskriver overhøjde, grundflade og stamtal fra år til år, så enhver "
                      "hugstbehandling kan følges; hjælpefilen beskriver dem.");
  paragraph(english ? "ORVEN version 1.0, 2026" : "ORVEN version 1.0, 2026");
  return document;
}

int HelpContextOf(std::string_view control) {
  if (const int own = OwnContext(control); own >= 0) return own;
  for (const auto& [name, target] : PointerTargets)
    if (name == control) return OwnContext(target);
  for (const auto& [name, target] : LabelOf)
    if (name == control) return OwnContext(target);
  return -1;
}

int HelpButtonPage(std::string_view button) {
  constexpr std::pair<std::string_view, int> Buttons[] = {
      {"sbtnHelpP3", 2}, {"sbtnHelpP4", 3}, {"sbtnHelpP5", 4}, {"sbtnHelpP7", 6}};
  for (const auto& [name, page] : Buttons)
    if (name == button) return page;
  return -1;
}

std::span<const std::string_view> HelpCursorControls(int page) {
  switch (page) {
    case 2: return SiteCursor;
    case 3: return ThinningCursor;
    case 4: return TablesCursor;
    case 6: return DescriptionCursor;
    default: return {};
  }
}

std::optional<int> HelpPointerContext(std::string_view control) {
  for (const auto& [name, target] : PointerTargets)
    if (name == control) return OwnContext(target);
  if (Contains(PointerOwn, control)) return OwnContext(control);
  return std::nullopt;
}

void HelpPointer::Press(int page) { page_ = HelpCursorControls(page).empty() ? -1 : page; }

std::optional<int> HelpPointer::Click(std::string_view control) {
  if (!Active() || Contains(PointerOnEntry, control)) return std::nullopt;
  const std::optional<int> context = HelpPointerContext(control);
  if (context) page_ = -1;
  return context;
}

std::optional<int> HelpPointer::Enter(std::string_view control) {
  if (!Active() || !Contains(PointerOnEntry, control)) return std::nullopt;
  page_ = -1;
  return HelpPointerContext(control);
}

int HelpMenuContext(std::string_view menu, const std::function<bool(std::string_view control)>& available) {
  auto firstOf = [&available](std::initializer_list<std::string_view> controls) {
    for (std::string_view control : controls)
      if (available && available(control)) return OwnContext(control);
    return -1;
  };
  if (menu == "pmHelp3s4") return firstOf({"sgInventory", "sgSoil", "gbSiteIndex"});
  if (menu == "pmHelp5s3") return firstOf({"edtThinInterval1", "edtThinInterval2", "edtThinYear"});
  constexpr std::pair<std::string_view, std::string_view> Menus[] = {
      {"pmHelp3s1", "rgSpecies"},     {"pmHelp3s2", "rgSiteQuality"}, {"pmHelp3s3", "rgHeight"},
      {"pmHelp3s5", "rgVolume"},      {"pmHelp3s6", "gbA0parameter"}, {"pmHelp3s7", "gbSiteQuality"},
      {"pmHelp4s1", "rgPreset"},      {"pmHelp4s2", "rgTargetG"},     {"pmHelp4s3", "gbThinning"},
      {"pmHelp4s4", "sgConstraints"}, {"pmHelp4s5", "gbAgeRange"},    {"pmHelp4s6", "sgInitState"},
      {"pmHelp5s1", "rgShowYears"},   {"pmHelp5s2", "rgThinInterval"}, {"pmHelp7s1", "reDescription"},
  };
  for (const auto& [name, control] : Menus)
    if (name == menu) return OwnContext(control);
  return -1;
}

std::span<const std::pair<std::string_view, std::string_view>> HelpMenuAttachments() {
  static constexpr std::pair<std::string_view, std::string_view> Attachments[] = {
      {"rgSpecies", "pmHelp3s1"},        {"rgSiteQuality", "pmHelp3s2"},  {"rgHeight", "pmHelp3s3"},
      {"sgInventory", "pmHelp3s4"},      {"sgSoil", "pmHelp3s4"},         {"gbSiteIndex", "pmHelp3s4"},
      {"rgVolume", "pmHelp3s5"},         {"gbA0parameter", "pmHelp3s6"},  {"gbGcorrection", "pmHelp3s6"},
      {"gbSiteQuality", "pmHelp3s7"},    {"rgPreset", "pmHelp4s1"},       {"gbTargetG", "pmHelp4s2"},
      {"gbThinning", "pmHelp4s3"},       {"sgConstraints", "pmHelp4s4"},  {"lblConstraints", "pmHelp4s4"},
      {"gbAgeRange", "pmHelp4s5"},       {"sgInitState", "pmHelp4s6"},    {"lblInitState", "pmHelp4s6"},
      {"rgShowYears", "pmHelp5s1"},      {"rgThinInterval", "pmHelp5s2"}, {"edtThinInterval1", "pmHelp5s3"},
      {"edtThinInterval2", "pmHelp5s3"}, {"edtThinYear", "pmHelp5s3"},    {"reDescription", "pmHelp7s1"},
  };
  return Attachments;
}

int TableHelpContext(std::optional<ResultGrid> focused) {
  if (focused == ResultGrid::BeforeThin) return OwnContext("sgBeforeThin");
  if (focused == ResultGrid::Thinning) return OwnContext("sgThinning");
  return OwnContext("sgRemaining");
}

}  // namespace orven
