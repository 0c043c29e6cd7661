#include "app/help/HelpKey.h"

#include <QApplication>
#include <QShortcut>

#include "app/pages/Page.h"
#include "app/session/HelpTopics.h"

namespace orven {

void AddHelpKey(Page& page) {
  auto* key = new QShortcut(QKeySequence(Qt::Key_F1), &page, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
  QObject::connect(key, &QShortcut::activated, &page, [&page] {
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
      const int context = HelpContextOf(w->objectName().toStdString());
      if (context >= 0) {
        emit page.HelpRequested(context);
        return;
      }
      if (w == &page) return;
    }
  });
}

}  // namespace orven
