#include "app/widgets/CheckedEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>

namespace orven {

CheckedEdit::CheckedEdit(const char* objectName, QWidget* parent) : QLineEdit(parent) {
  setObjectName(QString::fromUtf8(objectName));
}

void CheckedEdit::Show(const std::string& text) {
  const QString shown = QString::fromStdString(text);
  if (this->text() != shown) setText(shown);
}

void CheckedEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason &&
      !checking_)
    emit Entered();
}

void CheckedEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // A message box or menu taking the focus is no leaving of the field.
  if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason) return;
  if (!isEnabled() || !isVisible()) return;
  RunCheck();
}

void CheckedEdit::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    RunCheck();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

bool CheckedEdit::RunCheck() {
  if (checking_ || !check_) return true;
  checking_ = true;
  const bool taken = check_(text());
  if (!taken) {
    setFocus(Qt::OtherFocusReason);
    selectAll();
  }
  checking_ = false;
  return taken;
}

}  // namespace orven
