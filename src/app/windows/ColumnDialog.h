#pragma once

#include "app/windows/ToolWindow.h"

namespace orven {

// TVariableForm: the choice of the table columns.
class ColumnDialog : public ToolWindow {
  Q_OBJECT

public:
  ColumnDialog(SessionController& controller, QWidget* mainWindow);
};

}  // namespace orven
