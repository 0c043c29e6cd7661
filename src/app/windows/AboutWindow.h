#pragma once

#include "app/windows/ToolWindow.h"

class QTextBrowser;

namespace orven {

// TInfoForm: the About window. Each time it is shown it reads the About file
// of the language, or shows the built-in text.
class AboutWindow : public ToolWindow {
  Q_OBJECT

public:
  AboutWindow(SessionController& controller, QWidget* mainWindow);
  void SetLanguage() override;

protected:
  void showEvent(QShowEvent* event) override;

private:
  QTextBrowser* reAbout_ = nullptr;
};

}  // namespace orven
