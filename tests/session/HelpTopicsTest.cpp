#include "app/session/HelpTopics.h"

#include <gtest/gtest.h>

#include <set>

namespace orven {
namespace {

TEST(HelpTopics, ControlsOpenTheirTopics) {
  const std::pair<const char*, int> cases[] = {
      {"reInfo", 3},         {"rgSpecies", 4},       {"gbSiteQuality", 6},  {"lblSC", 6},
      {"sgInventory", 8},    {"lblInventory", 8},    {"edtStandAge", 9},    {"lblSiteClass", 9},
      {"lblSoil", 10},       {"lblGcorrection", 11}, {"lblA0parameter", 11}, {"rgVolume", 12},
      {"lblGunit", 13},      {"tbThinMend", 14},     {"rgMeasure", 14},     {"lblYear2", 15},
      {"lblConstraints", 16}, {"lblInitState", 17},  {"udThinInterval2", 18}, {"lblThinYear", 18},
      {"pnlLabels", 19},     {"lblBeforeThin", 20},  {"sgThinning", 21},    {"TabSheet6", 22},
      {"Chart7", 23},        {"lbAxisVariable", 26}, {"lblDescription", 28}, {"pnlThinYears", -1},
      {"sbtnNext1", -1},     {"TabSheet3", -1},
  };
  for (const auto& [control, context] : cases) EXPECT_EQ(HelpContextOf(control), context) << control;
}

TEST(HelpTopics, PointerOpensTheTopicOfTheFirstQualifyingClickOnly) {
  HelpPointer pointer;
  EXPECT_EQ(pointer.Click("lblSiteClass"), std::nullopt);  // off: nothing
  pointer.Press(HelpButtonPage("sbtnHelpP3"));
  EXPECT_EQ(pointer.Page(), 2);
  EXPECT_EQ(pointer.Click("lblStep21"), std::nullopt);  // no help handler: the mode stays
  EXPECT_TRUE(pointer.Active());
  EXPECT_EQ(pointer.Click("lblSiteClass"), 9);
  EXPECT_FALSE(pointer.Active());
  EXPECT_EQ(pointer.Click("lblSiteClass"), std::nullopt);

  // Labels and panels open the topic of the control they belong to.
  const std::pair<const char*, int> clicks[] = {{"pnlA0parameter", 11}, {"lblYC", 6},       {"edtTargetG", 13},
                                                {"edtThinMstart", 14},  {"lblRemaining", 22}, {"pnlDescrHeader", 28},
                                                {"udThinInterval1", 18}};
  for (const auto& [control, context] : clicks) {
    pointer.Press(3);
    EXPECT_EQ(pointer.Click(control), context) << control;
  }
}

TEST(HelpTopics, TrackBarsAndDescriptionTakeEntryNotClick) {
  HelpPointer pointer;
  pointer.Press(3);
  EXPECT_EQ(pointer.Click("tbThinIstart"), std::nullopt);
  EXPECT_EQ(pointer.Enter("edtThinStart"), std::nullopt);  // an edit answers to its click
  EXPECT_EQ(pointer.Enter("tbThinIstart"), 14);
  pointer.Press(6);
  EXPECT_EQ(pointer.Enter("reDescription"), 28);
  EXPECT_FALSE(pointer.Active());
}

TEST(HelpTopics, PageChangeAndPagesWithoutButtonEndTheMode) {
  HelpPointer pointer;
  pointer.Press(4);
  pointer.PageChanged();
  EXPECT_FALSE(pointer.Active());
  pointer.Press(5);  // the graphs page has no help button
  EXPECT_FALSE(pointer.Active());

  std::set<std::string_view> pages;
  for (int page : {2, 3, 4, 6}) {
    ASSERT_FALSE(HelpCursorControls(page).empty());
    pages.insert(HelpCursorControls(page).front());
  }
  EXPECT_EQ(pages, (std::set<std::string_view>{"TabSheet3", "TabSheet4", "TabSheet5", "TabSheet7"}));
}

TEST(HelpTopics, PopUpMenusFollowTheShownOrEnabledControl) {
  auto only = [](std::string_view shown) { return [shown](std::string_view c) { return c == shown; }; };
  EXPECT_EQ(HelpMenuContext("pmHelp3s4", only("sgSoil")), 10);
  EXPECT_EQ(HelpMenuContext("pmHelp3s4", only("gbSiteIndex")), 9);
  EXPECT_EQ(HelpMenuContext("pmHelp3s4", only("nothing")), -1);
  EXPECT_EQ(HelpMenuContext("pmHelp5s3", only("edtThinYear")), 18);
  EXPECT_EQ(HelpMenuContext("pmHelp5s3", only("nothing")), -1);
  EXPECT_EQ(HelpMenuContext("pmHelp3s6", {}), 11);
  EXPECT_EQ(HelpMenuContext("pmHelp4s2", {}), 13);
  EXPECT_EQ(HelpMenuContext("pmHelp5s1", {}), 19);
  EXPECT_EQ(HelpMenuContext("pmHelp7s1", {}), 28);
  // Every menu is attached somewhere, and its item opens a topic.
  std::set<std::string_view> menus;
  for (const auto& [control, menu] : HelpMenuAttachments()) {
    menus.insert(menu);
    EXPECT_GE(HelpMenuContext(menu, only(control)), 0) << menu;
  }
  EXPECT_EQ(menus.size(), 17u);
  EXPECT_EQ(TableHelpContext(ResultGrid::Thinning), 21);
  EXPECT_EQ(TableHelpContext(std::nullopt), 22);
}

TEST(HelpTopics, BuiltInTexts) {
  const std::vector<std::string> english = BuiltInDescriptionTemplate(Language::English);
  ASSERT_EQ(english.size(), 21u);
  EXPECT_EQ(english[2], "Growth and yield table");
  EXPECT_EQ(english[4], "by ");
  EXPECT_EQ(english[18], "Treatment: ");
  EXPECT_EQ(english[19], "");
  EXPECT_EQ(english.back(), "Detailed description: ");
  const std::vector<std::string> danish = BuiltInDescriptionTemplate(Language::Danish);
  ASSERT_EQ(danish.size(), 21u);
  EXPECT_EQ(danish[10], "Træart: ");
  EXPECT_EQ(danish.back(), "Detaljeret beskrivelse: ");
  EXPECT_EQ(MissingInformationLine(Language::English),
            "   Error: The information file was not found: FenloInfUK.rtf");
  EXPECT_EQ(MissingInformationLine(Language::Danish), "   Fejl: Informationsfilen blev ikke fundet: FenloInfDK.rtf");
  EXPECT_EQ(BuiltInAboutText(Language::Danish).Lines().front(), "ORVEN 1.0");
}

}  // namespace
}  // namespace orven
