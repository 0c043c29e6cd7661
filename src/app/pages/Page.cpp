#include "app/pages/Page.h"

#include <QToolButton>

#include "app/SessionController.h"

namespace orven {

Page::Page(SessionController& controller, const char* objectName, QWidget* parent)
    : QWidget(parent), controller_(controller) {
  setObjectName(QString::fromUtf8(objectName));
  connect(&controller, &SessionController::Changed, this, [this] { Refresh(); });
  connect(&controller, &SessionController::LanguageChanged, this, [this] { Retranslate(); });
}

QToolButton* Page::NewPageButton(const char* objectName, int direction) {
  auto* button = new QToolButton(this);
  button->setObjectName(QString::fromUtf8(objectName));
  button->setArrowType(direction < 0 ? Qt::LeftArrow : Qt::RightArrow);
  button->setAutoRaise(true);
  button->setIconSize(QSize(20, 20));
  button->setFocusPolicy(Qt::TabFocus);
  connect(button, &QToolButton::clicked, this, [this, direction] { emit StepPage(direction); });
  return button;
}

void Page::RetranslatePageButton(QToolButton* button, int direction, bool english) {
  const char* hint = direction < 0 ? (english ? "Go to previous page" : "Gå til foregående side")
                                   : (english ? "Go to next page" : "Gå til næste side");
  button->setToolTip(QString::fromUtf8(hint));
  button->setAccessibleName(QString::fromUtf8(hint));
}

}  // namespace orven
