#include "app/texts/Captions.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>

namespace orven {

void ApplyCaptions(QObject* root, std::span<const Caption> captions, bool english) {
  for (const Caption& caption : captions) {
    QObject* object = root->findChild<QObject*>(QString::fromUtf8(caption.Name));
    if (!object) continue;
    const QString text = Pick(caption, english);
    if (auto* menu = qobject_cast<QMenu*>(object)) {
      menu->setTitle(text);
    } else if (auto* action = qobject_cast<QAction*>(object)) {
      action->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(object)) {
      group->setTitle(text);
      group->setAccessibleName(WithoutMnemonic(text).trimmed());
    } else if (auto* label = qobject_cast<QLabel*>(object)) {
      label->setText(text);
      // The input a label names is announced by that name.
      if (QWidget* buddy = label->buddy()) buddy->setAccessibleName(WithoutMnemonic(text).trimmed());
    } else if (auto* button = qobject_cast<QAbstractButton*>(object)) {
      button->setText(text);
    } else if (auto* page = qobject_cast<QWidget*>(object)) {
      // A page of a tab widget: its parent is the tab widget's stack.
      for (QWidget* up = page->parentWidget(); up; up = up->parentWidget())
        if (auto* tabs = qobject_cast<QTabWidget*>(up)) {
          const int index = tabs->indexOf(page);
          if (index >= 0) tabs->setTabText(index, text);
          break;
        }
    }
  }
}

QString WithoutMnemonic(QString text) {
  // "&&" is a literal ampersand; a single "&" marks the mnemonic.
  text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
  text.remove(QLatin1Char('&'));
  text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
  return text;
}

}  // namespace orven
