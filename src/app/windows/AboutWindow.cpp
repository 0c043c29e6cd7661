#include "app/windows/AboutWindow.h"

namespace orven {

AboutWindow::AboutWindow(SessionController& controller, QWidget* mainWindow)
    : ToolWindow(controller, "InfoForm", " Om ORVEN", " About ORVEN", QSize(500, 371), mainWindow) {
  setMinimumSize(500, 300);
}

}  // namespace orven
