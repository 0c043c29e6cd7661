#pragma once

#include "app/windows/ToolWindow.h"

class QListWidget;
class QPushButton;

namespace orven {

// TAxisForm: the choice of the variable on one axis of one chart. Not modal:
// it stays open while the user works on, and the next axis click re-targets it.
class AxisDialog : public ToolWindow {
  Q_OBJECT

public:
  AxisDialog(SessionController& controller, QWidget* mainWindow);

  // An axis was clicked: chart 0..6 (6 the large graph), kind 1 the
  // horizontal axis, 2 the vertical one. Shows the dialog.
  void Target(int chart, int kind);
  int AxisChart() const { return axisChart_; }
  int AxisKind() const { return axisKind_; }

  void SetLanguage() override;  // the caption and the list items
  void SetVariableStrings();

protected:
  void showEvent(QShowEvent* event) override;

private:
  void Accept();  // btnOKClick

  QListWidget* lbAxisVariable_ = nullptr;
  QPushButton* btnOK_ = nullptr;
  int axisChart_ = 0;
  int axisKind_ = 1;
};

}  // namespace orven
