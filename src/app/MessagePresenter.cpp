#include "app/MessagePresenter.h"

#include <QApplication>
#include <QMessageBox>

namespace orven {

QString ScreenText(const std::string& text) {
  QString shown = QString::fromStdString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

bool BoxPresenter::Show(const Message& message) {
  // Qt gives one system sound; errors, notes and questions all use it. A plain
  // box is silent.
  if (message.Kind != MessageKind::Plain) QApplication::beep();
  QMessageBox box(parent_);
  box.setTextFormat(Qt::PlainText);
  box.setText(ScreenText(message.Text));
  if (message.Kind == MessageKind::Question) {
    box.setWindowTitle(ScreenText(message.Caption));
    box.setIcon(QMessageBox::Question);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
  }
  box.setWindowTitle(QString::fromUtf8(ApplicationTitle));
  box.setIcon(message.Kind == MessageKind::Error ? QMessageBox::Critical : QMessageBox::Information);
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
  return false;
}

}  // namespace orven
