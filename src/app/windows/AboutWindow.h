#pragma once

#include "app/windows/ToolWindow.h"

namespace orven {

// TInfoForm: the About window.
class AboutWindow : public ToolWindow {
  Q_OBJECT

public:
  AboutWindow(SessionController& controller, QWidget* mainWindow);
};

}  // namespace orven
