#pragma once

// A forester's walk through the ten steps, by mouse and keyboard on the real
// controls, for the widget tests.

#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>

#include "DesktopFixture.h"
#include "app/widgets/StepLabel.h"

namespace orven::testing {

inline void ClickItem(Program& program, const char* group, int item) {
  const QString name = QString::fromUtf8(group) + QStringLiteral("_%1").arg(item);
  auto* button = program.Main().findChild<QRadioButton*>(name);
  QVERIFY2(button, qPrintable(name));
  QVERIFY2(button->isEnabled(), qPrintable(name + QStringLiteral(" is disabled")));
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

// Focuses an edit, replaces its text by typing and leaves it with Tab.
inline void TypeInto(Program& program, const char* edit, const QString& text, Qt::Key leaveWith = Qt::Key_Tab) {
  auto* field = program.Find<QLineEdit>(edit);
  QVERIFY(field);
  field->setFocus(Qt::TabFocusReason);
  QVERIFY(field->hasFocus());
  field->selectAll();
  QTest::keyClicks(field, text);
  QTest::keyClick(field, leaveWith);
}

inline void Focus(Program& program, const char* name) {
  auto* widget = program.Find<QWidget>(name);
  QVERIFY(widget);
  widget->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
}

inline bool IsBlue(Program& program, const char* label) { return program.Find<StepLabel>(label)->Blue(); }

// Types a value into a cell of a small input grid and commits it with Return.
inline void TypeIntoCell(Program& program, const char* grid, int row, int column, const QString& text) {
  auto* table = program.Find<QTableWidget>(grid);
  QVERIFY(table);
  table->setFocus(Qt::TabFocusReason);
  table->setCurrentCell(row, column);
  QTest::keyClicks(table->viewport(), text);
  QApplication::processEvents();
  if (QWidget* editor = table->findChild<QLineEdit*>()) QTest::keyClick(editor, Qt::Key_Return);
  QApplication::processEvents();
}

// Beech, site class 1.5 at 50 years, dominant heights, total volume: the
// site page done (steps 1 to 5).
inline void WalkThroughTheSitePage(Program& program) {
  program.Main().GoToPage(MainWindow::SiteTab);
  ClickItem(program, "rgSpecies", 0);
  ClickItem(program, "rgSiteQuality", 2);
  ClickItem(program, "rgHeight", 0);
  TypeInto(program, "edtSiteClass", QStringLiteral("1.5"));
  ClickItem(program, "rgVolume", 0);
}

// The heavy standard regime, the default age range, no constraints, the
// first-year state as computed: steps 6 to 10 and the final step.
inline void WalkThroughTheThinningPage(Program& program) {
  program.Main().GoToPage(MainWindow::ThinningTab);
  ClickItem(program, "rgPreset", 0);
  ClickItem(program, "rgTargetG", 1);
  TypeInto(program, "edtStartAge", QStringLiteral("20"));
  TypeInto(program, "edtEndAge", QStringLiteral("90"));
  TypeIntoCell(program, "sgConstraints", 1, 1, QStringLiteral("5"));
  Focus(program, "sgInitState");
}

}  // namespace orven::testing
