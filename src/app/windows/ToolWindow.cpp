#include "app/windows/ToolWindow.h"

#include "app/SessionController.h"

namespace orven {

ToolWindow::ToolWindow(SessionController& controller, const char* objectName, const char* danishCaption,
                       const char* englishCaption, QSize clientSize, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::WindowStaysOnTopHint),
      controller_(controller),
      danishCaption_(danishCaption),
      englishCaption_(englishCaption) {
  setObjectName(QString::fromUtf8(objectName));
  resize(clientSize);
  SetLanguage();
}

void ToolWindow::SetLanguage() {
  setWindowTitle(QString::fromUtf8(controller_.English() ? englishCaption_ : danishCaption_));
}

void ToolWindow::showEvent(QShowEvent* event) {
  // These windows write their texts each time they are shown.
  SetLanguage();
  QWidget::showEvent(event);
}

GraphWindow::GraphWindow(SessionController& controller, QWidget* mainWindow)
    : ToolWindow(controller, "GraphForm", " Klik på akserne for at vælge variabler",
                 " Click graph axes to select variables", QSize(390, 331), mainWindow) {
  setMinimumSize(240, 240);
}

ColumnDialog::ColumnDialog(SessionController& controller, QWidget* mainWindow)
    : ToolWindow(controller, "VariableForm", " Vælg de variabler der skal vises i oversigten",
                 " Select variables to be shown in the growth and yield table", QSize(560, 420), mainWindow) {}

AxisDialog::AxisDialog(SessionController& controller, QWidget* mainWindow)
    : ToolWindow(controller, "AxisForm", " Vælg den variabel der skal vises på aksen",
                 " Select the variable to be shown on the axis", QSize(322, 256), mainWindow) {}

AboutWindow::AboutWindow(SessionController& controller, QWidget* mainWindow)
    : ToolWindow(controller, "InfoForm", " Om ORVEN", " About ORVEN", QSize(500, 371), mainWindow) {
  setMinimumSize(500, 300);
}

}  // namespace orven
