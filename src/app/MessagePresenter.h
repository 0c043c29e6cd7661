#pragma once

#include <QString>
#include <vector>

#include "messages/Messages.h"

class QWidget;

namespace orven {

// Shows the messages the session queued. The desktop shows message boxes;
// the widget tests record the messages and answer the questions as told, so
// that no test waits in a modal loop.
class MessagePresenter {
public:
  virtual ~MessagePresenter() = default;
  // Shows one message; for a question, true when the answer is Yes.
  virtual bool Show(const Message& message) = 0;
};

// Message boxes with the system's sound: an OK box for errors and notes, a
// Yes/No question with No as the default button.
class BoxPresenter : public MessagePresenter {
public:
  explicit BoxPresenter(QWidget* parent) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  bool Show(const Message& message) override;

private:
  QWidget* parent_;
};

// The title every box but a question carries.
inline const char* ApplicationTitle = "Orven 1.0";

// A core text on screen: UTF-8, line breaks as the platform draws them.
QString ScreenText(const std::string& text);

}  // namespace orven
