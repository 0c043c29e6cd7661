#pragma once

#include "app/pages/Page.h"

class QTextBrowser;

namespace orven {

// TabSheet2: the quick guide, the information file of the language.
class GuidePage : public Page {
  Q_OBJECT

public:
  GuidePage(SessionController& controller, QWidget* parent);
  void Retranslate() override;

private:
  QTextBrowser* reInfo_;
};

}  // namespace orven
