#pragma once

#include <QLabel>

namespace orven {

// A big step number of the workflow: blue while it is the step to do next,
// grey once done; greyed by the style while disabled.
class StepLabel : public QLabel {
  Q_OBJECT

public:
  StepLabel(const char* objectName, const QString& text, bool letter, QWidget* parent = nullptr);
  void SetState(bool enabled, bool blue);
  bool Blue() const { return blue_; }

private:
  bool blue_ = true;
};

}  // namespace orven
