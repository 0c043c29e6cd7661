#pragma once

#include <QWidget>

namespace orven {

class SessionController;

// A window that stays on top of the main window and writes its caption in the
// session's language. The large graph, the two dialogs and the About window
// start from it; their contents come with their own pages of work.
class ToolWindow : public QWidget {
  Q_OBJECT

public:
  ToolWindow(SessionController& controller, const char* objectName, const char* danishCaption,
             const char* englishCaption, QSize clientSize, QWidget* mainWindow);

  virtual void SetLanguage();

protected:
  void showEvent(QShowEvent* event) override;

  SessionController& controller_;

private:
  const char* danishCaption_;
  const char* englishCaption_;
};

// TGraphForm, TVariableForm, TAxisForm and TInfoForm.
class GraphWindow : public ToolWindow {
  Q_OBJECT
public:
  GraphWindow(SessionController& controller, QWidget* mainWindow);
};

class ColumnDialog : public ToolWindow {
  Q_OBJECT
public:
  ColumnDialog(SessionController& controller, QWidget* mainWindow);
};

class AxisDialog : public ToolWindow {
  Q_OBJECT
public:
  AxisDialog(SessionController& controller, QWidget* mainWindow);
};

class AboutWindow : public ToolWindow {
  Q_OBJECT
public:
  AboutWindow(SessionController& controller, QWidget* mainWindow);
};

}  // namespace orven
