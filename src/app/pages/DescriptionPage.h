#pragma once

#include "app/pages/Page.h"

class QLabel;
class QTextEdit;
class QToolButton;

namespace orven {

// TabSheet7: the user's description of the table, stored with it. A new
// description starts from the template file of the language, shown with its
// formatting, or from the built-in template.
class DescriptionPage : public Page {
  Q_OBJECT

public:
  DescriptionPage(SessionController& controller, QWidget* parent);
  void Refresh() override;
  void Retranslate() override;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void ShowHelpMenu(const QPoint& at);

  QLabel* lblDescription_;
  QTextEdit* reDescription_;
  QToolButton* sbtnHelpP7_;
};

}  // namespace orven
