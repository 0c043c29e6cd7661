#pragma once

#include <QWidget>

namespace orven {

class SessionController;

// A window that stays on top of the main window and writes its caption in the
// session's language: the large graph, the two dialogs and the About window.
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

}  // namespace orven
