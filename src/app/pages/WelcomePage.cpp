#include "app/pages/WelcomePage.h"

#include <QGridLayout>
#include <QLabel>

#include "app/SessionController.h"
#include "app/resources/Pictures.h"

namespace orven {

WelcomePage::WelcomePage(SessionController& controller, QWidget* parent)
    : Page(controller, "TabSheet1", parent), imgWelcomeDK_(new QLabel(this)), imgWelcomeUK_(new QLabel(this)) {
  imgWelcomeDK_->setObjectName(QStringLiteral("imgWelcomeDK"));
  imgWelcomeUK_->setObjectName(QStringLiteral("imgWelcomeUK"));
  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  for (QLabel* picture : {imgWelcomeDK_, imgWelcomeUK_}) {
    picture->setMinimumSize(1, 1);
    picture->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    layout->addWidget(picture, 0, 0);
  }
  imgWelcomeDK_->setAccessibleName(QStringLiteral("ORVEN"));
  imgWelcomeUK_->setAccessibleName(QStringLiteral("ORVEN"));
  Retranslate();
}

void WelcomePage::Retranslate() {
  const bool english = controller_.English();
  imgWelcomeDK_->setVisible(!english);
  imgWelcomeUK_->setVisible(english);
  ShowPicture();
}

void WelcomePage::resizeEvent(QResizeEvent* event) {
  Page::resizeEvent(event);
  ShowPicture();
}

void WelcomePage::ShowPicture() {
  // The picture is stretched to the page, as the design has it.
  const bool english = controller_.English();
  QLabel* shown = english ? imgWelcomeUK_ : imgWelcomeDK_;
  const QImage picture = WelcomePicture(english);
  if (picture.isNull() || size().isEmpty()) return;
  shown->setPixmap(QPixmap::fromImage(
      picture.scaled(size() * devicePixelRatioF(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

}  // namespace orven
