#pragma once

#include <QWidget>

class QToolButton;

namespace orven {

class SessionController;

// A page of the main window's page control. It shows what the session holds
// (Refresh, after every handler) and writes its texts in the session's
// language (Retranslate, at start and on every language switch).
class Page : public QWidget {
  Q_OBJECT

public:
  Page(SessionController& controller, const char* objectName, QWidget* parent = nullptr);

  virtual void Refresh() {}
  virtual void Retranslate() {}

signals:
  // A page button asks for the neighbouring page (-1 previous, +1 next).
  void StepPage(int direction);
  // A control asks for its help topic.
  void HelpRequested(int context);

protected:
  // A previous (-1) or next (+1) page button; its hint follows the language
  // through RetranslatePageButton.
  QToolButton* NewPageButton(const char* objectName, int direction);
  static void RetranslatePageButton(QToolButton* button, int direction, bool english);

  SessionController& controller_;
};

}  // namespace orven
