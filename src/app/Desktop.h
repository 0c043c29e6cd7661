#pragma once

#include <QObject>
#include <QTranslator>
#include <memory>

#include "app/MessagePresenter.h"
#include "model/ParameterStore.h"

namespace orven {

class AboutWindow;
class AxisDialog;
class ColumnDialog;
class GraphWindow;
class HelpRouter;
class HelpWindow;
class MainWindow;
class SessionController;
class WelcomeWindow;

// The program's windows, created in their fixed order with the main window
// first, over one session. Start-up reads the preferences and the parameter
// file from the working directory.
class Desktop : public QObject {
  Q_OBJECT

public:
  // Without a presenter, messages are shown in message boxes.
  explicit Desktop(MessagePresenter* presenter = nullptr);
  ~Desktop() override;

  // Shows the main window, and the welcome window to a first-time user.
  void Start();

  SessionController& Controller() { return *controller_; }
  MainWindow& Main() { return *main_; }
  WelcomeWindow& Welcome() { return *welcome_; }
  GraphWindow& LargeGraph() { return *graph_; }
  ColumnDialog& Columns() { return *columns_; }
  AxisDialog& Axis() { return *axis_; }
  AboutWindow& About() { return *about_; }
  HelpWindow& Help() { return *help_; }
  HelpRouter& HelpRoutes() { return *helpRouter_; }

private:
  void SwitchLanguage(bool english);
  void ConnectGraphs();  // the charts, the large graph and the axis dialog
  // Qt's own dialogs and buttons follow the interface language.
  void TranslateQtTexts(bool english);

  ParameterStore store_;
  QTranslator qtTexts_;
  std::unique_ptr<MessagePresenter> boxes_;
  std::unique_ptr<SessionController> controller_;
  std::unique_ptr<MainWindow> main_;
  GraphWindow* graph_ = nullptr;
  WelcomeWindow* welcome_ = nullptr;
  ColumnDialog* columns_ = nullptr;
  AxisDialog* axis_ = nullptr;
  AboutWindow* about_ = nullptr;
  HelpWindow* help_ = nullptr;
  HelpRouter* helpRouter_ = nullptr;
};

}  // namespace orven
