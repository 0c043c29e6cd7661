#pragma once

#include <QHash>
#include <QMainWindow>
#include <array>

#include "app/session/Session.h"

class QAction;
class QMenu;
class QTabWidget;

namespace orven {

class FileCommands;
class Page;
class SessionController;

// TForm1: the menus, the page control with its seven pages, page
// navigation and the close query. Everything it shows comes from the session.
class MainWindow : public QMainWindow {
  Q_OBJECT

public:
  enum PageIndex { WelcomeTab, GuideTab, SiteTab, ThinningTab, TablesTab, GraphsTab, DescriptionTab, PageCount };

  explicit MainWindow(SessionController& controller, QWidget* parent = nullptr);
  ~MainWindow() override;

  QAction* Action(const char* name) const { return actions_.value(QString::fromUtf8(name)); }
  QMenu* Popup(const char* name) const { return popups_.value(QString::fromUtf8(name)); }
  Page* PageAt(int index) const { return pages_[static_cast<std::size_t>(index)]; }
  int CurrentPage() const;
  // Selects a page directly, as opening a file does.
  void ShowPage(int index);
  FileCommands& Files() { return *files_; }

  // Selects the neighbouring page, cyclically.
  void StepPage(int direction);
  // Steps one page at a time to `target`, entering every page in between.
  void GoToPage(int target);

  // The parameter file was missing: say so on the first activation and end.
  void SetMissingParameterMessage(const std::string& message) { missingParameters_ = message; }
  // What the view tells the session's menu rule about itself.
  ViewState CurrentViewState() const;
  // Set while the large graph window is shown (its issue builds it).
  void SetLargeGraphVisible(bool visible);

  void SetLanguage();  // the main window's part of the language switch
  void RefreshMenus();

signals:
  void LanguageMenuChosen(bool english);
  void AboutRequested();

protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

private:
  void BuildMenus();
  void BuildPopupMenus();
  void ConnectMenus();
  void BuildPages();
  QAction* NewPopupAction(QMenu* menu, const char* name);
  void PageChanged(int index);
  void FirstActivation();
  void RefreshOptionItems();
  void ShowColumnDialog();
  void DeleteEntry();

  SessionController& controller_;
  QTabWidget* pcTabSheets_ = nullptr;
  std::array<Page*, PageCount> pages_{};
  QHash<QString, QAction*> actions_;
  QHash<QString, QMenu*> popups_;
  int shownPage_ = 0;
  bool largeGraphVisible_ = false;
  bool activated_ = false;
  std::string missingParameters_;
  FileCommands* files_ = nullptr;
};

}  // namespace orven
