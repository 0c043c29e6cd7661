#include "app/windows/AxisDialog.h"

namespace orven {

AxisDialog::AxisDialog(SessionController& controller, QWidget* mainWindow)
    : ToolWindow(controller, "AxisForm", " Vælg den variabel der skal vises på aksen",
                 " Select the variable to be shown on the axis", QSize(322, 256), mainWindow) {}

}  // namespace orven
