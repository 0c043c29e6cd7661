#pragma once

#include "app/pages/Page.h"

class QLabel;

namespace orven {

// TabSheet1: the welcome picture of the language, filling the page.
class WelcomePage : public Page {
  Q_OBJECT

public:
  WelcomePage(SessionController& controller, QWidget* parent);
  void Retranslate() override;

protected:
  void resizeEvent(QResizeEvent* event) override;

private:
  void ShowPicture();
  QLabel* imgWelcomeDK_;
  QLabel* imgWelcomeUK_;
};

}  // namespace orven
