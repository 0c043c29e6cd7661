#pragma once

#include "app/pages/Page.h"

class QLabel;
class QPlainTextEdit;
class QToolButton;

namespace orven {

// TabSheet7: the user's description of the table, stored with it.
class DescriptionPage : public Page {
  Q_OBJECT

public:
  DescriptionPage(SessionController& controller, QWidget* parent);
  void Refresh() override;
  void Retranslate() override;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  QLabel* lblDescription_;
  QPlainTextEdit* reDescription_;
  QToolButton* sbtnHelpP7_;
};

}  // namespace orven
