#include "app/Desktop.h"

#include <QAction>
#include <QCoreApplication>
#include <QLibraryInfo>

#include "app/SessionController.h"
#include "app/help/HelpRouter.h"
#include "app/help/HelpWindow.h"
#include "app/pages/GraphsPage.h"
#include "app/session/ChartSeries.h"
#include "app/session/Preferences.h"
#include "app/windows/MainWindow.h"
#include "app/windows/AboutWindow.h"
#include "app/windows/AxisDialog.h"
#include "app/windows/ColumnDialog.h"
#include "app/windows/GraphWindow.h"
#include "app/windows/WelcomeWindow.h"
#include "model/GrowthModel.h"

namespace orven {

Desktop::Desktop(MessagePresenter* presenter) {
  // The preferences decide the language in which the parameter file's
  // message would be written.
  const PreferencesReading preferences = ReadPreferencesFile(PreferencesFileName);
  const Language language =
      preferences.Read && preferences.Values.English ? Language::English : Language::Danish;
  const ParameterFileResult parameters =
      ReadParametersAtStartUp(store_, std::string(ParameterFileName), language);

  if (!presenter) {
    boxes_ = std::make_unique<BoxPresenter>(nullptr);
    presenter = boxes_.get();
  }
  controller_ = std::make_unique<SessionController>(store_, *presenter, Language::Danish);
  controller_->Run([&preferences](Session& s) { s.ApplyPreferences(preferences); });

  TranslateQtTexts(controller_->English());
  main_ = std::make_unique<MainWindow>(*controller_);
  if (auto* boxes = dynamic_cast<BoxPresenter*>(boxes_.get())) boxes->SetParent(main_.get());
  if (!parameters.found) main_->SetMissingParameterMessage(parameters.message);
  graph_ = new GraphWindow(*controller_, main_.get());
  welcome_ = new WelcomeWindow(*controller_, main_.get());
  columns_ = new ColumnDialog(*controller_, main_.get());
  axis_ = new AxisDialog(*controller_, main_.get());
  about_ = new AboutWindow(*controller_, main_.get());
  help_ = new HelpWindow(*controller_, main_.get());
  helpRouter_ = new HelpRouter(*controller_, *main_, *help_);
  connect(graph_, &GraphWindow::HelpRequested, helpRouter_, &HelpRouter::Open);
  helpRouter_->AddWindowHelp(*graph_, 23);
  helpRouter_->AddWindowHelp(*columns_, 25);
  helpRouter_->AddWindowHelp(*axis_, 26);

  connect(main_.get(), &MainWindow::LanguageMenuChosen, this, &Desktop::SwitchLanguage);
  connect(welcome_, &WelcomeWindow::LanguageToggled, this, &Desktop::SwitchLanguage);
  connect(main_.get(), &MainWindow::AboutRequested, this, [this] {
    about_->show();
    about_->raise();
  });
  ConnectGraphs();
  connect(welcome_, &WelcomeWindow::Closed, this, [this](bool accepted) {
    controller_->session().WelcomeAccepted = accepted;
    if (!accepted) main_->close();
  });
}

Desktop::~Desktop() = default;

void Desktop::ConnectGraphs() {
  auto showLarge = [this] {
    graph_->show();
    graph_->raise();
  };
  auto* graphs = static_cast<GraphsPage*>(main_->PageAt(MainWindow::GraphsTab));
  connect(graphs, &GraphsPage::AxisClicked, axis_, &AxisDialog::Target);
  connect(graphs, &GraphsPage::LargeGraphRequested, this, showLarge);
  connect(graph_, &GraphWindow::AxisClicked, axis_, [this](int kind) { axis_->Target(LargeChart, kind); });
  connect(graph_, &GraphWindow::VisibilityChanged, main_.get(), &MainWindow::SetLargeGraphVisible);
  // The View menu shows a hidden window with the variables it had.
  connect(main_->Action("miLargeGraph"), &QAction::triggered, this, [this, showLarge] {
    if (graph_->isHidden()) showLarge();
  });
}

void Desktop::Start() {
  main_->show();
  if (!controller_->session().PreferencesRead) {
    welcome_->show();
    welcome_->raise();
    welcome_->activateWindow();
    welcome_->findChild<QWidget*>(QStringLiteral("btnReject"))->setFocus();
  }
}

void Desktop::TranslateQtTexts(bool english) {
  QCoreApplication::removeTranslator(&qtTexts_);
  if (!english && qtTexts_.load(QStringLiteral("qtbase_da"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(&qtTexts_);
}

void Desktop::SwitchLanguage(bool english) {
  TranslateQtTexts(english);
  controller_->SetLanguage(english ? Language::English : Language::Danish);
  // The windows in the order the language switch gives.
  main_->SetLanguage();
  welcome_->SetLanguage();
  columns_->SetLanguage();
  axis_->SetLanguage();
  about_->SetLanguage();
  help_->SetLanguage();
  graph_->SetLanguage();
}

}  // namespace orven
