#pragma once

#include "app/windows/ToolWindow.h"

namespace orven {

// TGraphForm: the large graph of one chart, beside the main window.
class GraphWindow : public ToolWindow {
  Q_OBJECT

public:
  GraphWindow(SessionController& controller, QWidget* mainWindow);
};

}  // namespace orven
