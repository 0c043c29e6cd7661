#include "app/windows/GraphWindow.h"

namespace orven {

GraphWindow::GraphWindow(SessionController& controller, QWidget* mainWindow)
    : ToolWindow(controller, "GraphForm", " Klik på akserne for at vælge variabler",
                 " Click graph axes to select variables", QSize(390, 331), mainWindow) {
  setMinimumSize(240, 240);
}

}  // namespace orven
