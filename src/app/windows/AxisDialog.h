#pragma once

#include "app/windows/ToolWindow.h"

namespace orven {

// TAxisForm: the choice of a chart axis variable.
class AxisDialog : public ToolWindow {
  Q_OBJECT

public:
  AxisDialog(SessionController& controller, QWidget* mainWindow);
};

}  // namespace orven
