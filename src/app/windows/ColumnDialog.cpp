#include "app/windows/ColumnDialog.h"

namespace orven {

ColumnDialog::ColumnDialog(SessionController& controller, QWidget* mainWindow)
    : ToolWindow(controller, "VariableForm", " Vælg de variabler der skal vises i oversigten",
                 " Select variables to be shown in the growth and yield table", QSize(560, 420), mainWindow) {}

}  // namespace orven
