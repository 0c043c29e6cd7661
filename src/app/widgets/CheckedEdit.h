#pragma once

#include <QLineEdit>
#include <functional>

namespace orven {

// An edit whose text the session checks when the edit is left and when
// Return is pressed in it. A refused text keeps the focus in the edit with
// the text selected, so the field cannot be left while it is invalid.
class CheckedEdit : public QLineEdit {
  Q_OBJECT

public:
  using Check = std::function<bool(const QString& text)>;

  explicit CheckedEdit(const char* objectName, QWidget* parent = nullptr);

  // The check; true when the text was taken.
  void SetCheck(Check check) { check_ = std::move(check); }
  // Shows the session's text without disturbing an edit in progress.
  void Show(const std::string& text);

signals:
  void Entered();  // the edit got the focus

protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

private:
  bool RunCheck();

  Check check_;
  bool checking_ = false;
};

}  // namespace orven
