#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace orven {

class SessionController;

// TStartForm: the welcome text a first-time user must accept. Rejecting it, or
// closing it, ends the program.
class WelcomeWindow : public QDialog {
  Q_OBJECT

public:
  WelcomeWindow(SessionController& controller, QWidget* mainWindow);

  void SetLanguage();
  bool Accepted() const { return accepted_; }

signals:
  // The language button switched the interface language.
  void LanguageToggled(bool english);
  void Closed(bool accepted);

private:
  SessionController& controller_;
  QPlainTextEdit* mmStartDK_;
  QPlainTextEdit* mmStartUK_;
  QPushButton* btnLanguage_;
  QPushButton* btnReject_;
  QPushButton* btnAccept_;
  bool accepted_ = false;
};

}  // namespace orven
