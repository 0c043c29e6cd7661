#include "app/windows/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QTabWidget>
#include <QTimer>

#include "app/SessionController.h"
#include "app/pages/DescriptionPage.h"
#include "app/pages/GraphsPage.h"
#include "app/pages/GuidePage.h"
#include "app/pages/SitePage.h"
#include "app/pages/TablesPage.h"
#include "app/pages/ThinningPage.h"
#include "app/pages/WelcomePage.h"
#include "app/session/Navigation.h"
#include "app/session/Preferences.h"
#include "app/texts/MenuTexts.h"
#include "app/windows/ColumnDialog.h"
#include "app/windows/FileCommands.h"

namespace orven {

MainWindow::MainWindow(SessionController& controller, QWidget* parent)
    : QMainWindow(parent), controller_(controller) {
  setObjectName(QStringLiteral("Form1"));
  BuildMenus();
  BuildPopupMenus();
  BuildPages();
  files_ = new FileCommands(controller_, *this);
  ConnectMenus();
  // The design's window is 892 x 501 inside; layouts take over from there.
  setMinimumSize(900, 547);
  resize(900, 560);
  connect(&controller_, &SessionController::Changed, this, &MainWindow::RefreshMenus);
  connect(qApp, &QApplication::focusChanged, this, &MainWindow::RefreshMenus);
  SetLanguage();
  RefreshMenus();
}

MainWindow::~MainWindow() {
  // The child windows close while this one is half gone: no more refreshes.
  disconnect(qApp, nullptr, this, nullptr);
  disconnect(&controller_, nullptr, this, nullptr);
  for (Page* page : pages_) page->disconnect(this);
}

void MainWindow::BuildPages() {
  pcTabSheets_ = new QTabWidget(this);
  pcTabSheets_->setObjectName(QStringLiteral("pcTabSheets"));
  pages_ = {new WelcomePage(controller_, this), new GuidePage(controller_, this),
            new SitePage(controller_, this),    new ThinningPage(controller_, this),
            new TablesPage(controller_, this),  new GraphsPage(controller_, this),
            new DescriptionPage(controller_, this)};
  for (Page* page : pages_) {
    pcTabSheets_->addTab(page, QString());
    connect(page, &Page::StepPage, this, &MainWindow::StepPage);
  }
  for (int index : {WelcomeTab, GuideTab}) {
    pages_[static_cast<std::size_t>(index)]->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(pages_[static_cast<std::size_t>(index)], &QWidget::customContextMenuRequested, this,
            [this, index](const QPoint& at) {
              Popup("pmStart")->popup(pages_[static_cast<std::size_t>(index)]->mapToGlobal(at));
            });
  }
  auto* tables = static_cast<TablesPage*>(pages_[TablesTab]);
  // Queued: focus changes while the window is torn down reach no half-destroyed menus.
  connect(tables, &TablesPage::ViewStateChanged, this, &MainWindow::RefreshMenus, Qt::QueuedConnection);
  connect(tables, &TablesPage::ColumnDialogRequested, this, &MainWindow::ShowColumnDialog);
  setCentralWidget(pcTabSheets_);
  connect(pcTabSheets_, &QTabWidget::currentChanged, this, &MainWindow::PageChanged);
}

int MainWindow::CurrentPage() const { return pcTabSheets_->currentIndex(); }

void MainWindow::ShowPage(int index) { pcTabSheets_->setCurrentIndex(index); }

void MainWindow::ShowColumnDialog() {
  // Modeless: the table stays usable while the dialog is open.
  if (auto* dialog = findChild<ColumnDialog*>(QStringLiteral("VariableForm"))) {
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
  }
}

void MainWindow::StepPage(int direction) { pcTabSheets_->setCurrentIndex(NeighbourPage(CurrentPage(), direction)); }

void MainWindow::GoToPage(int target) {
  for (int page : PagesOnTheWay(CurrentPage(), target)) pcTabSheets_->setCurrentIndex(page);
}

void MainWindow::PageChanged(int index) {
  // Leaving the site page estimates the growth parameter again.
  if (shownPage_ == SiteTab && index != SiteTab)
    controller_.Run([](Session& s) { s.LeaveSitePage(); });
  shownPage_ = index;
  if (index == TablesTab || index == GraphsTab) {
    if (controller_.session().Steps.FinalEnabled) controller_.Run([](Session& s) { s.ShowTablesPage(); });
  }
  // The description page takes the keyboard on its page tab, not in the text.
  if (index == DescriptionTab) pcTabSheets_->setFocus();
  RefreshMenus();
}

ViewState MainWindow::CurrentViewState() const {
  ViewState view;
  view.Page = CurrentPage();
  view.LargeGraphVisible = largeGraphVisible_;
  if (view.Page == TablesTab) static_cast<const TablesPage*>(pages_[TablesTab])->DescribeFocus(view);
  if (view.Page == ThinningTab) static_cast<const ThinningPage*>(pages_[ThinningTab])->DescribeFocus(view);
  return view;
}

void MainWindow::SetLargeGraphVisible(bool visible) {
  largeGraphVisible_ = visible;
  RefreshMenus();
}

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && !activated_) {
    activated_ = true;
    // After the window is painted, as the design's activation handler.
    QTimer::singleShot(0, this, &MainWindow::FirstActivation);
  }
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // Offscreen and some window managers never activate; start from the show.
  if (!activated_) {
    activated_ = true;
    QTimer::singleShot(0, this, &MainWindow::FirstActivation);
  }
}

void MainWindow::FirstActivation() {
  if (!missingParameters_.empty()) {
    controller_.presenter().Show({MessageKind::Error, missingParameters_, {}});
    close();
    return;
  }
  const Session& s = controller_.session();
  if (s.PreferencesRead && s.SiteView.rgSpecies < 0) {
    // A returning user goes to the species page after a short pause.
    QTimer::singleShot(864, this, [this] {
      if (CurrentPage() < SiteTab) GoToPage(SiteTab);
    });
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  Session& s = controller_.session();
  if (missingParameters_.empty() && !controller_.Confirm(s.CloseQuestion())) {
    event->ignore();
    return;
  }
  if (s.WelcomeAccepted) WritePreferencesFile(PreferencesFileName, s.PreferencesToSave());
  event->accept();
  // Closing the main window ends the program, also with other windows open.
  QTimer::singleShot(0, qApp, &QApplication::quit);
}

}  // namespace orven
