// The main window's menus: built from the item table, captions and icons by
// language, enabled and checked from the session's menu rule.
#include <QActionGroup>
#include <QMenuBar>

#include "app/SessionController.h"
#include "app/pages/Page.h"
#include "app/resources/Pictures.h"
#include "app/texts/MenuTexts.h"
#include "app/windows/FileCommands.h"
#include "app/windows/MainWindow.h"

namespace orven {
namespace {

// The icon of each item that has one.
constexpr std::pair<const char*, const char*> MenuIcons[] = {
    {"miNew", "new"},
    {"miSave", "save"},
    {"miSaveAs", "saveas"},
    {"miExport", "export"},
    {"miCopySelection", "copyselection"},
    {"miCopyTables", "copytables"},
    {"miClearTable", "cleartable"},
    {"miDeleteEntry", "deleteentry"},
    {"miOpenExisting", "openexisting"},
    {"miVariableSelection", "variables"},
    {"miListOfVariables", "variables"},
    {"miLargeGraph", "largegraph"},
    {"miIncFontm", "incfont"},
    {"miDecFontm", "decfont"},
    {"miVertShiftGraph", "vertshift"},
    {"miShowA0param", "showa0"},
    {"miTabDelim", "tabdelim"},
    {"miSemiColon", "semicolon"},
    {"miAutoUpdate", "autoupdate"},
    {"miUpdatem", "update"},
    {"miDanish", "danish"},
    {"miEnglish", "english"},
};

// The seventeen help pop-up menus of the pages' controls.
constexpr const char* HelpMenus[] = {"pmHelp3s1", "pmHelp3s2", "pmHelp3s3", "pmHelp3s4", "pmHelp3s5", "pmHelp3s6",
                                     "pmHelp3s7", "pmHelp4s1", "pmHelp4s2", "pmHelp4s3", "pmHelp4s4", "pmHelp4s5",
                                     "pmHelp4s6", "pmHelp5s1", "pmHelp5s2", "pmHelp5s3", "pmHelp7s1"};

}  // namespace

void MainWindow::BuildMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu1"));
  QHash<QString, QActionGroup*> radioGroups;
  for (const MenuItem& item : MainMenuItems()) {
    const QString name = QString::fromUtf8(item.Name);
    QMenu* parent = item.Parent ? popups_.value(QString::fromUtf8(item.Parent)) : nullptr;
    if (item.Type == MenuItem::Separator) {
      parent->addSeparator();
      continue;
    }
    if (item.Type == MenuItem::Submenu) {
      QMenu* menu = parent ? parent->addMenu(QString()) : bar->addMenu(QString());
      menu->setObjectName(name);
      menu->menuAction()->setObjectName(name + QStringLiteral("Action"));
      popups_.insert(name, menu);
      continue;
    }
    auto* action = new QAction(this);
    action->setObjectName(name);
    if (*item.Shortcut) action->setShortcut(QKeySequence(QString::fromUtf8(item.Shortcut)));
    if (item.Type == MenuItem::Check || item.Type == MenuItem::Radio) action->setCheckable(true);
    if (item.Type == MenuItem::Radio) {
      QActionGroup*& group = radioGroups[QString::fromUtf8(item.Parent)];
      if (!group) group = new QActionGroup(this);
      group->addAction(action);
    }
    parent->addAction(action);
    addAction(action);  // shortcuts work while the menu bar is closed
    actions_.insert(name, action);
  }
  for (const auto& [item, icon] : MenuIcons) actions_.value(QString::fromUtf8(item))->setIcon(MenuIcon(QString::fromUtf8(icon)));
  Action("miOpenExisting")->setVisible(false);
}

QAction* MainWindow::NewPopupAction(QMenu* menu, const char* name) {
  QAction* action = menu->addAction(QString());
  action->setObjectName(QString::fromUtf8(name));
  actions_.insert(action->objectName(), action);
  return action;
}

void MainWindow::BuildPopupMenus() {
  auto newMenu = [this](const char* name) {
    auto* menu = new QMenu(this);
    menu->setObjectName(QString::fromUtf8(name));
    popups_.insert(menu->objectName(), menu);
    return menu;
  };
  QMenu* start = newMenu("pmStart");
  NewPopupAction(start, "miStart");

  QMenu* copy = newMenu("pmCopy");
  for (const char* name : {"miCopyGraph", "miOpenLarge", "miPrintGraph", "miPrinterSetup"}) NewPopupAction(copy, name);
  copy->addSeparator();
  NewPopupAction(copy, "miIncFontG");
  NewPopupAction(copy, "miDecFontG");
  copy->addSeparator();
  NewPopupAction(copy, "miGraphHelp");

  QMenu* variables = newMenu("pmVariables");
  for (const char* name : {"miSelectVariables", "miCopySelect", "miCopyAll", "miUpdate"})
    NewPopupAction(variables, name);
  variables->addSeparator();
  NewPopupAction(variables, "miIncFont");
  NewPopupAction(variables, "miDecFont");
  variables->addSeparator();
  NewPopupAction(variables, "miDelEntry");
  NewPopupAction(variables, "miTableHelp");

  for (const char* name : HelpMenus) {
    QMenu* help = newMenu(name);
    QAction* item = help->addAction(QString());
    item->setObjectName(QString::fromUtf8(name) + QStringLiteral("Help"));
  }
  NewPopupAction(Popup("pmHelp4s6"), "miDelInitEntry");
}

void MainWindow::ConnectMenus() {
  auto on = [this](const char* name, auto&& slot) { connect(Action(name), &QAction::triggered, this, slot); };
  const std::pair<const char*, int> pageItems[] = {{"miWelcome", WelcomeTab},     {"miHowTo", GuideTab},
                                                   {"miSpeciesSite", SiteTab}, {"miThin", ThinningTab},
                                                   {"miGYtable", TablesTab},      {"miGYgraphs", GraphsTab},
                                                   {"miDescription", DescriptionTab}, {"miStart", SiteTab}};
  for (const auto& [name, page] : pageItems) on(name, [this, page = page] { GoToPage(page); });
  on("miPreviousTab", [this] { StepPage(-1); });
  on("miNextTab", [this] { StepPage(+1); });
  on("miClose", [this] { close(); });
  on("miNew", [this] {
    if (!controller_.Confirm(controller_.session().NewTableQuestion())) return;
    GoToPage(SiteTab);
    controller_.Run([](Session& s) { s.NewTable(); });
  });
  on("miDanish", [this] { emit LanguageMenuChosen(false); });
  on("miEnglish", [this] { emit LanguageMenuChosen(true); });
  on("miAutoUpdate", [this](bool checked) { controller_.Run([checked](Session& s) { s.AutoUpdate = checked; }); });
  on("miUpdatem", [this] { controller_.Run([](Session& s) { s.WriteTables(); }); });
  on("miUpdate", [this] { controller_.Run([](Session& s) { s.WriteTables(); }); });
  on("miVertShiftGraph",
     [this](bool checked) { controller_.Run([checked](Session& s) { s.VerticalShift = checked; }); });
  on("miShowA0param",
     [this](bool checked) { controller_.Run([checked](Session& s) { s.SiteView.ShowA0param = checked; }); });
  on("miTabDelim", [this] { controller_.Run([](Session& s) { s.TabDelimiter = true; }); });
  on("miSemiColon", [this] { controller_.Run([](Session& s) { s.TabDelimiter = false; }); });
  for (const char* name : {"miIncFontm", "miIncFont", "miIncFontG"})
    on(name, [this] { controller_.Run([](Session& s) { s.IncreaseFontSize(); }); });
  for (const char* name : {"miDecFontm", "miDecFont", "miDecFontG"})
    on(name, [this] { controller_.Run([](Session& s) { s.DecreaseFontSize(); }); });
  on("miAbout", [this] { emit AboutRequested(); });

  on("miSave", [this] { files_->Save(); });
  on("miSaveAs", [this] { files_->SaveAs(); });
  on("miOpen", [this] { files_->Open(); });
  on("miOpenExisting", [this] { files_->OpenExisting(); });
  on("miExport", [this] { files_->Export(); });
  for (const char* name : {"miCopyTables", "miCopyAll"}) on(name, [this] { files_->CopyAllTables(); });
  for (const char* name : {"miCopySelection", "miCopySelect"}) on(name, [this] { files_->CopySelection(); });
  for (const char* name : {"miVariableSelection", "miListOfVariables", "miSelectVariables"})
    on(name, [this] { ShowColumnDialog(); });
  for (const char* name : {"miDeleteEntry", "miDelEntry"}) on(name, [this] { DeleteEntry(); });
  on("miClearTable", [this] {
    if (!controller_.Confirm(controller_.session().ClearTableQuestion())) return;
    controller_.Run([](Session& s) { s.ClearTable(); });
  });
}

void MainWindow::DeleteEntry() {
  const ViewState view = CurrentViewState();
  // sgInitState first, then the result grids, as the focus is looked for.
  if (view.Focused == ViewState::Focus::InitState && view.Row >= 0)
    controller_.Run([&](Session& s) { s.DeleteInitStateEntry(view.Row); });
  else if (view.Focused == ViewState::Focus::ResultGrid && view.Row >= 1)
    controller_.Run([&](Session& s) { s.DeleteEntry(view.Grid, view.Column, view.Row); });
}

void MainWindow::SetLanguage() {
  const bool english = controller_.English();
  ApplyCaptions(this, MainMenuCaptions(), english);
  ApplyCaptions(this, PopupMenuCaptions(), english);
  ApplyCaptions(this, PageCaptions(), english);
  const QString help = QString::fromUtf8(english ? "   &Help   " : "   &Hjælp   ");
  for (QMenu* menu : popups_)
    if (menu->objectName().startsWith(QStringLiteral("pmHelp"))) menu->actions().first()->setText(help);
  Action("miPreviousTab")->setShortcut(QKeySequence(QString::fromUtf8(PreviousPageShortcut(english))));
  Action("miVertShiftGraph")
      ->setToolTip(QString::fromUtf8(english ? "Show remaining stand with/without vertical shifts in years of thinning"
                                             : "Vis blivende bestand med/uden lodrette skift i tyndingsår"));
  Popup("miPreferences")->setToolTipsVisible(true);
  RefreshOptionItems();
  const Session& s = controller_.session();
  setWindowTitle(QString::fromStdString(s.FormCaption()));
  QAction* recent = Action("miOpenExisting");
  if (!s.RecentFileName.empty()) {
    recent->setText(QString::fromStdString(OpenExistingCaption(s.RecentFileName)));
    recent->setToolTip(QString::fromStdString(s.RecentFileName));
  }
}

void MainWindow::RefreshOptionItems() {
  const Session& s = controller_.session();
  const bool english = s.language() == Language::English;
  // The active language is checked and disabled.
  Action("miDanish")->setChecked(!english);
  Action("miDanish")->setEnabled(english);
  Action("miEnglish")->setChecked(english);
  Action("miEnglish")->setEnabled(!english);
  Action("miAutoUpdate")->setChecked(s.AutoUpdate);
  Action("miVertShiftGraph")->setChecked(s.VerticalShift);
  Action("miShowA0param")->setChecked(s.SiteView.ShowA0param);
  Action("miTabDelim")->setChecked(s.TabDelimiter);
  Action("miSemiColon")->setChecked(!s.TabDelimiter);
}

void MainWindow::RefreshMenus() {
  const Session& s = controller_.session();
  const MenuState menus = s.Menus(CurrentViewState());
  const std::pair<const char*, bool> enabled[] = {
      {"miNew", menus.miNew},
      {"miSave", menus.miSave},
      {"miSaveAs", menus.miSaveAs},
      {"miExport", menus.miExport},
      {"miClearTable", menus.miClearTable},
      {"miDeleteEntry", menus.miDeleteEntry},
      {"miDelEntry", menus.miDelEntry},
      {"miDelInitEntry", menus.miDelInitEntry},
      {"miCopyTables", menus.miCopyTables},
      {"miCopySelection", menus.miCopySelection},
      {"miCopyAll", menus.miCopyTables},
      {"miCopySelect", menus.miCopySelection},
      {"miVariableSelection", menus.miVariableSelection},
      {"miListOfVariables", menus.miListOfVariables},
      {"miSelectVariables", menus.miVariableSelection},
      {"miLargeGraph", menus.miLargeGraph},
      {"miOpenLarge", menus.miLargeGraph},
      {"miUpdate", menus.miUpdate},
      {"miUpdatem", menus.miUpdate},
      {"miIncFont", menus.FontIncrease},
      {"miIncFontG", menus.FontIncrease},
      {"miDecFont", menus.FontDecrease},
      {"miDecFontG", menus.FontDecrease},
      {"miIncFontm", menus.miIncFontm},
      {"miDecFontm", menus.miDecFontm},
  };
  for (const auto& [name, on] : enabled) Action(name)->setEnabled(on);
  RefreshOptionItems();
  setWindowTitle(QString::fromStdString(s.FormCaption()));
  QAction* recent = Action("miOpenExisting");
  recent->setVisible(!s.RecentFileName.empty());
  recent->setEnabled(!s.RecentFileName.empty() && s.RecentFileName != s.CurrentFileName);
  // A new table or an opened file changes the recent file.
  if (!s.RecentFileName.empty()) {
    recent->setText(QString::fromStdString(OpenExistingCaption(s.RecentFileName)));
    recent->setToolTip(QString::fromStdString(s.RecentFileName));
  }
}

}  // namespace orven
