#include "app/widgets/StepLabel.h"

#include <QFontDatabase>

namespace orven {

StepLabel::StepLabel(const char* objectName, const QString& text, bool letter, QWidget* parent)
    : QLabel(text, parent) {
  setObjectName(QString::fromUtf8(objectName));
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setBold(true);
  font.setPixelSize(letter ? 32 : 64);
  setFont(font);
  setAlignment(Qt::AlignCenter);
  setMinimumWidth(letter ? 22 : 44);
  SetState(false, true);
}

void StepLabel::SetState(bool enabled, bool blue) {
  blue_ = blue;
  setEnabled(enabled);
  QPalette colours = palette();
  const QColor colour = blue ? QColor(0, 0, 255) : QColor(128, 128, 128);
  colours.setColor(QPalette::Active, QPalette::WindowText, colour);
  colours.setColor(QPalette::Inactive, QPalette::WindowText, colour);
  setPalette(colours);
}

}  // namespace orven
