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

}  // namespace orven
