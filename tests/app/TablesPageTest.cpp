// The tables page through its real widgets: typing into the result grids,
// deleting and clearing typed values, the rows shown, the File menu, the
// export and the clipboard, and the colours the grids paint.
#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QDirIterator>
#include <QFileInfo>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QProcess>
#include <QTableView>

#include "DesktopFixture.h"
#include "support/StandardWalk.h"
#include "WalkSupport.h"
#include "app/delegates/ResultGridDelegate.h"
#include "app/models/ResultGridModel.h"
#include "app/pages/TablesPage.h"
#include "app/windows/ColumnDialog.h"
#include "app/windows/FileCommands.h"
#include "tables/TableCells.h"

using namespace orven;
using namespace orven::testing;

namespace {

const QString Examples = QFileInfo(QStringLiteral(ORVEN_PARAMETER_FILE)).dir().filePath(QStringLiteral("../examples"));

QStringList ExampleFiles() {
  QStringList files;
  QDirIterator it(Examples, {QStringLiteral("*.orven")});
  while (it.hasNext()) files << it.next();
  files.sort();
  return files;
}

// A returning user: no welcome window in front of the main window.
const QByteArray ReturningUser = " 0 1 1 0 1\n";

void Activate(Program& program) {
  QApplication::setActiveWindow(&program.Main());
  QVERIFY(QTest::qWaitForWindowActive(&program.Main()));
}

// Beech, site class 1.5, the heavy standard regime, ages 20 to 80: the
// final step reached through the session's handlers, the tables page shown.
void ReachTheTables(Program& program) {
  program.desktop->Controller().Run([](Session& s) {
    WalkToTheThinningPage(s);
    FinishTheWalk(s);
  });
  program.Main().ShowPage(MainWindow::TablesTab);
  QApplication::processEvents();
}

// Opens a settings file through miOpen, its dialog answered with `path`.
void OpenThroughTheMenu(Program& program, const QString& path) {
  program.Main().Files().SetChooser([path](FileCommands::Dialog) { return path; });
  program.Action("miOpen")->trigger();
  QApplication::processEvents();
}

QTableView* GridOf(Program& program, ResultGrid grid) {
  static constexpr const char* names[] = {"sgBeforeThin", "sgThinning", "sgRemaining"};
  return program.Find<QTableView>(names[static_cast<int>(grid)]);
}

int ColumnOf(Program& program, ResultGrid grid, int variable) {
  const auto columns = program.session().ColumnsOf(grid);
  for (std::size_t c = 0; c < columns.size(); ++c)
    if (columns[c] == variable) return static_cast<int>(c);
  return -1;
}

// Selects a cell (data row from 1), types the text key by key into its
// editor and moves the selection on, which commits the edit.
void TypeIntoGrid(Program& program, ResultGrid grid, int row, int column, const QString& text,
                  bool commit = true) {
  QTableView* view = GridOf(program, grid);
  view->setFocus(Qt::TabFocusReason);
  view->setCurrentIndex(view->model()->index(row - 1, column));
  QApplication::processEvents();
  QTest::keyClick(view, text.at(0).toLatin1());
  QWidget* editor = QApplication::focusWidget();
  QVERIFY(qobject_cast<QLineEdit*>(editor));
  if (text.size() > 1) QTest::keyClicks(editor, text.mid(1));
  if (!commit) return;
  // The cell below takes the selection: the move commits.
  QTest::keyClick(editor, Qt::Key_Down);
  QApplication::processEvents();
}

QString CellText(Program& program, ResultGrid grid, int row, int column) {
  return GridOf(program, grid)->model()->index(row - 1, column).data().toString();
}

// The first data row showing a thinning age after the first year.
int ThinningRow(Program& program) {
  const Session& s = program.session();
  for (int row = 2; row <= static_cast<int>(s.Results.RowYears.size()); ++row)
    if (s.Tables.IsThinYear[s.Results.RowYears[static_cast<std::size_t>(row - 1)]]) return row;
  return -1;
}

int Count(const std::vector<Message>& shown, const char* start) {
  return static_cast<int>(std::count_if(shown.begin(), shown.end(), [start](const Message& m) {
    return m.Text.find(start) != std::string::npos;
  }));
}

QString Number(double value, int decimals) { return QString::number(value, 'f', decimals); }

QByteArray OrvenTable(const QString& file, bool english, bool semicolon) {
  const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/../../src/cli/orven-table");
  QStringList arguments{QStringLiteral("--parameters"), QStringLiteral(ORVEN_PARAMETER_FILE)};
  if (english) arguments << QStringLiteral("--english");
  if (semicolon) arguments << QStringLiteral("--semicolon");
  arguments << file;
  QProcess run;
  run.start(program, arguments);
  if (!run.waitForFinished(30000) || run.exitCode() != 0) qWarning("orven-table failed on %s", qPrintable(file));
  return run.readAllStandardOutput();
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The colours the delegate paints into a cell: its background in a corner
// free of text, and the pixel of the text most unlike the background.
struct Painted {
  QColor background;
  QColor text;
};

Painted Paint(Program& program, ResultGrid grid, int row, int column) {
  QTableView* view = GridOf(program, grid);
  const QModelIndex index = view->model()->index(row - 1, column);
  QStyleOptionViewItem option;
  option.initFrom(view->viewport());
  option.rect = QRect(0, 0, 80, 24);
  option.font = view->font();
  option.state &= ~QStyle::State_Selected;
  QImage image(option.rect.size(), QImage::Format_RGB32);
  image.fill(Qt::black);
  {
    QPainter painter(&image);
    view->itemDelegate()->paint(&painter, option, index);
  }
  Painted painted{image.pixelColor(78, 22), {}};
  int farthest = -1;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      const int distance = std::abs(c.red() - painted.background.red()) +
                           std::abs(c.green() - painted.background.green()) +
                           std::abs(c.blue() - painted.background.blue());
      if (distance > farthest) {
        farthest = distance;
        painted.text = c;
      }
    }
  return painted;
}

}  // namespace

class TablesPageTest : public QObject {
  Q_OBJECT

private slots:
  void init() { QGuiApplication::clipboard()->clear(); }

  void TheGridModelsKeepTheirContract() {
    Program program(true, ReturningUser);
    Activate(program);
    ReachTheTables(program);
    for (ResultGrid grid : {ResultGrid::BeforeThin, ResultGrid::Thinning, ResultGrid::Remaining}) {
      QAbstractItemModelTester tester(GridOf(program, grid)->model(),
                                      QAbstractItemModelTester::FailureReportingMode::QtTest);
      // A change of rows and a change of columns both pass through the tester.
      program.desktop->Controller().Run([](Session& s) { s.rgShowYearsClick(0); });
      program.desktop->Controller().Run([](Session& s) {
        s.Columns.BeforeThinChecked[7] = s.Columns.ThinningChecked[0] = s.Columns.RemainingChecked[2] = true;
        s.Columns.SetVariables();
        s.WriteTables();
      });
    }
    const Session& s = program.session();
    QCOMPARE(GridOf(program, ResultGrid::BeforeThin)->model()->rowCount(), s.Tables.TableRowCount);
    QCOMPARE(GridOf(program, ResultGrid::Remaining)->model()->columnCount(),
             static_cast<int>(s.ColumnsOf(ResultGrid::Remaining).size()));
  }

  void ADecimalCommaIsTypedStoredAndRecomputed() {
    Program program(true, ReturningUser);
    Activate(program);
    ReachTheTables(program);
    const int d1 = ColumnOf(program, ResultGrid::BeforeThin, D1);
    const auto before = program.session().Results.Grids;
    TypeIntoGrid(program, ResultGrid::BeforeThin, 1, d1, QStringLiteral("14,5"));
    const Session& s = program.session();
    QVERIFY(s.Tables.Typed(D1, 0));
    QCOMPARE(s.Tables.Value(D1, 0), 14.5);
    QCOMPARE(CellText(program, ResultGrid::BeforeThin, 1, d1), QStringLiteral("14.5"));
    // The rest of the table follows the typed diameter.
    auto after = program.session().Results.Grids;
    after[0].Rows[0][static_cast<std::size_t>(d1)] = before[0].Rows[0][static_cast<std::size_t>(d1)];
    QVERIFY(after[0].Rows != before[0].Rows || after[2].Rows != before[2].Rows);
    QVERIFY(s.TableChanged);
    QVERIFY(program.presenter.shown.empty());
    // The typed first year locks the site inputs and allows clearing.
    QVERIFY(program.Action("miClearTable")->isEnabled());

    // A letter string commits nothing and frees the value typed before.
    TypeIntoGrid(program, ResultGrid::BeforeThin, 1, d1, QStringLiteral("x1"));
    QVERIFY(!s.Tables.Typed(D1, 0));
    QCOMPARE(Count(program.presenter.shown, "Ugyldig(e) tegn"), 1);
  }

  void ARefusedEditIsReportedOnceAndItsCellReset() {
    Program program(true, ReturningUser);
    Activate(program);
    ReachTheTables(program);
    const int d1 = ColumnOf(program, ResultGrid::BeforeThin, D1);
    const QString stored = CellText(program, ResultGrid::BeforeThin, 2, d1);
    TypeIntoGrid(program, ResultGrid::BeforeThin, 2, d1, QStringLiteral("12345"), false);
    QCOMPARE(Count(program.presenter.shown, "første år"), 1);
    QCOMPARE(program.presenter.shown.size(), std::size_t{1});
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(editor);
    // The first keystroke was refused and the cell reset; the later ones stay unjudged.
    QCOMPARE(editor->text(), stored + QStringLiteral("2345"));
    QTest::keyClick(editor, Qt::Key_Up);
    QApplication::processEvents();
    QVERIFY(!program.session().Tables.Typed(D1, program.session().Results.RowYears[1]));
  }

  void TypedThinningsFollowTheConflictAndAmountRules() {
    Program program(true, ReturningUser);
    Activate(program);
    ReachTheTables(program);
    const Session& s = program.session();
    const int row = ThinningRow(program);
    QVERIFY(row > 1);
    const int year = s.Results.RowYears[static_cast<std::size_t>(row - 1)];
    const int g2 = ColumnOf(program, ResultGrid::Thinning, G2);
    const int v2 = ColumnOf(program, ResultGrid::Thinning, V2);
    const int d2 = ColumnOf(program, ResultGrid::Thinning, D2);
    const int n2 = ColumnOf(program, ResultGrid::Thinning, N2);

    const double g = std::round(s.Tables.Value(G1, year) * 15.0) / 100.0;
    TypeIntoGrid(program, ResultGrid::Thinning, row, g2, Number(g, 2));
    QVERIFY(s.Tables.Typed(G2, year));
    QCOMPARE(s.Tables.Value(G2, year), g);
    TypeIntoGrid(program, ResultGrid::Thinning, row, v2, QStringLiteral("20"));
    QCOMPARE(Count(program.presenter.shown, "blokeret"), 1);
    QVERIFY(!s.Tables.Typed(V2, year));

    const double d = std::round(s.Tables.Value(D1, year) * 9.0) / 10.0;
    TypeIntoGrid(program, ResultGrid::Thinning, row, d2, Number(d, 1));
    QVERIFY(s.Tables.Typed(G2, year) && s.Tables.Typed(D2, year));
    QCOMPARE(s.Tables.TypedValue[D2][year], d);

    // Another year: more stems thinned than stand there.
    const int next = row + 1;
    const int nextYear = s.Results.RowYears[static_cast<std::size_t>(next - 1)];
    QVERIFY(s.Tables.IsThinYear[nextYear]);
    TypeIntoGrid(program, ResultGrid::Thinning, next, n2, Number(s.Tables.Value(N1, nextYear) + 100, 0));
    QCOMPARE(Count(program.presenter.shown, "overstige"), 1);
    QVERIFY(!s.Tables.Typed(N2, nextYear));
  }

  void DeletingTheLastTypedThinningUnlocksTheThinningInputs() {
    Program program(true, ReturningUser);
    Activate(program);
    ReachTheTables(program);
    const Session& s = program.session();
    const int row = ThinningRow(program);
    const int year = s.Results.RowYears[static_cast<std::size_t>(row - 1)];
    const int g2 = ColumnOf(program, ResultGrid::Thinning, G2);
    auto* interval = program.Find<QWidget>("rgThinInterval");
    QVERIFY(interval->isEnabled());
    TypeIntoGrid(program, ResultGrid::Thinning, row, g2, Number(s.Tables.Value(G1, year) * 0.1, 2));
    QVERIFY(s.Tables.ThinTableTyped);
    QVERIFY(!interval->isEnabled());
    QVERIFY(!program.Find<QWidget>("edtThinInterval2")->isEnabled());
    QVERIFY(!program.Find<QWidget>("rgPreset")->isEnabled());
    QVERIFY(!program.Find<QWidget>("edtEndAge")->isEnabled());

    // The delete items follow the selected cell: off on a computed cell, on on the typed one.
    QTableView* view = GridOf(program, ResultGrid::Thinning);
    QVERIFY(!program.Action("miDeleteEntry")->isEnabled());
    view->setCurrentIndex(view->model()->index(row - 1, g2));
    QApplication::processEvents();
    QVERIFY(program.Action("miDeleteEntry")->isEnabled());
    QVERIFY(program.Action("miDelEntry")->isEnabled());
    QTest::keyClick(view, Qt::Key_Delete, Qt::ShiftModifier);
    QApplication::processEvents();
    QVERIFY(!s.Tables.Typed(G2, year));
    QVERIFY(!s.Tables.ThinTableTyped);
    QVERIFY(interval->isEnabled());
    QVERIFY(program.Find<QWidget>("edtThinInterval2")->isEnabled());
    QVERIFY(program.Find<QWidget>("rgPreset")->isEnabled());
    QVERIFY(program.Find<QWidget>("edtEndAge")->isEnabled());
    QVERIFY(!program.Action("miDeleteEntry")->isEnabled());
  }

  void ClearingTypedValuesAsksAndNoChangesNothing() {
    Program program(true, ReturningUser);
    Activate(program);
    ReachTheTables(program);
    const int d1 = ColumnOf(program, ResultGrid::BeforeThin, D1);
    TypeIntoGrid(program, ResultGrid::BeforeThin, 1, d1, QStringLiteral("15"));
    const Session& s = program.session();
    QVERIFY(s.Tables.Typed(D1, 0));
    program.presenter.answers = {false};
    QTest::keyClick(GridOf(program, ResultGrid::BeforeThin), Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(Count(program.presenter.shown, "hugstbeskrivelse som du har indtastet"), 1);
    QVERIFY(s.Tables.Typed(D1, 0));
    program.presenter.answers = {true};
    program.Action("miClearTable")->trigger();
    QVERIFY(!s.Tables.Typed(D1, 0));
    QVERIFY(!s.Tables.StateTableTyped);
    QVERIFY(!program.Action("miClearTable")->isEnabled());
  }

  void ThinningsOnlyShowTheFirstYearTheThinningsAndTheLastYear() {
    Program program(true, ReturningUser);
    Activate(program);
    ReachTheTables(program);
    QTest::mouseClick(program.Find<QWidget>("rgThinInterval_2"), Qt::LeftButton, {}, QPoint(6, 6));
    auto* list = program.Find<QLineEdit>("edtThinYear");
    QVERIFY(list->isEnabled());
    list->setFocus(Qt::TabFocusReason);
    list->selectAll();
    QTest::keyClicks(list, QStringLiteral("30,40"));
    QTest::keyClick(list, Qt::Key_Return);
    program.desktop->Controller().Run([](Session& s) { s.edtEndAgeExit("60"); });
    QApplication::processEvents();
    QCOMPARE(list->text(), QStringLiteral("30, 40, "));
    QStringList ages;
    for (int row = 1; row <= GridOf(program, ResultGrid::BeforeThin)->model()->rowCount(); ++row)
      ages << CellText(program, ResultGrid::BeforeThin, row, 0);
    QCOMPARE(ages, (QStringList{"20", "30", "40", "60"}));
  }

  void TheIntervalButtonsStepWithinTheirRange() {
    Program program(true, ReturningUser);
    Activate(program);
    ReachTheTables(program);
    auto* edit = program.Find<QLineEdit>("edtThinInterval2");
    const std::string ages = program.session().Schedule.edtThinYear;
    QTest::mouseClick(program.Find<QWidget>("udThinInterval2Up"), Qt::LeftButton);
    QCOMPARE(edit->text(), QStringLiteral("11"));
    // A longer interval thins less often.
    QVERIFY(program.session().Schedule.edtThinYear != ages);
    edit->setFocus(Qt::TabFocusReason);
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("201"));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(program.presenter.shown.size(), std::size_t{1});
    QCOMPARE(program.session().Schedule.edtThinInterval2, std::string("201"));
  }

  void TheColumnDialogAppliesItsChoiceWhenClosed() {
    Program program(true, ReturningUser);
    Activate(program);
    ReachTheTables(program);
    auto& dialog = program.desktop->Columns();
    QVERIFY(program.Action("miVariableSelection")->isEnabled());
    program.Action("miVariableSelection")->trigger();
    QVERIFY(dialog.isVisible());
    QListWidget* before = dialog.List(0);
    QCOMPARE(before->count(), 9);
    QCOMPARE(before->item(7)->text(), QStringLiteral("Formtal før tynding, F1"));
    before->item(7)->setCheckState(Qt::Checked);  // F1
    before->item(1)->setCheckState(Qt::Unchecked);  // HD1
    // Nothing changes before the dialog is closed.
    QCOMPARE(ColumnOf(program, ResultGrid::BeforeThin, F1), -1);
    dialog.close();
    QApplication::processEvents();
    QVERIFY(ColumnOf(program, ResultGrid::BeforeThin, F1) >= 0);
    QCOMPARE(ColumnOf(program, ResultGrid::BeforeThin, HD1), -1);
    QTableView* view = GridOf(program, ResultGrid::BeforeThin);
    QCOMPARE(view->model()->headerData(ColumnOf(program, ResultGrid::BeforeThin, F1), Qt::Horizontal).toString(),
             QStringLiteral("F1"));
    // A double click in a grid opens it again.
    const QRect cell = view->visualRect(view->model()->index(0, 0));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    QVERIFY(dialog.isVisible());
    dialog.close();
  }

  void EveryExampleExportsAndCopiesWhatOrvenTableWrites() {
    for (const QString& file : ExampleFiles()) {
      Program program(true, ReturningUser);
    Activate(program);
      for (bool english : {false, true}) {
        if (english) program.Action("miEnglish")->trigger();
        OpenThroughTheMenu(program, file);
        QCOMPARE(program.Main().CurrentPage(), int(MainWindow::TablesTab));
        QVERIFY2(program.presenter.shown.empty(), qPrintable(file));
        for (bool semicolon : {false, true}) {
          program.Action(semicolon ? "miSemiColon" : "miTabDelim")->trigger();
          const QString exported = program.folder.Path("export.txt");
          program.Main().Files().SetChooser([exported](FileCommands::Dialog) { return exported; });
          program.Action("miExport")->trigger();
          QCOMPARE(ReadFile(exported), OrvenTable(file, english, semicolon));
        }
        program.Action("miCopyTables")->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text().toUtf8(), OrvenTable(file, english, false));
      }
      // Opened in English, saved again: the same bytes as the file, labels and all.
      program.Action("miDanish")->trigger();
      OpenThroughTheMenu(program, file);
      const QString saved = program.folder.Path("saved.orven");
      program.Main().Files().SetChooser([saved](FileCommands::Dialog) { return saved; });
      program.Action("miSaveAs")->trigger();
      const QByteArray original = ReadFile(file);
      // The examples carry their labels in either language; compare in that language.
      if (original.contains("{Tree species number}")) {
        program.Action("miEnglish")->trigger();
        program.Action("miSave")->trigger();
      }
      // Lines 29 to 32 hold the thinning edits as shown, with this system's
      // decimal separator; every other byte is the file's own.
      QList<QByteArray> expected = original.split('\n');
      for (int line = 28; line < 32; ++line) {
        QByteArray value = expected[line].left(9);
        expected[line].replace(0, 9, value.replace(',', QByteArray(1, program.session().DecimalSeparator())));
      }
      QVERIFY2(ReadFile(saved) == expected.join('\n'), qPrintable(file));
      QCOMPARE(program.session().CurrentFileName, saved.toStdString());
      QVERIFY(program.Main().windowTitle().startsWith(QStringLiteral("SAVED.ORVEN:")));
      // A new table offers the file again as the recent one.
      program.session().TableChanged = false;
      program.Action("miNew")->trigger();
      QAction* recent = program.Action("miOpenExisting");
      QVERIFY(recent->isVisible() && recent->isEnabled());
      QCOMPARE(recent->toolTip(), saved);
      QVERIFY(recent->text().startsWith(QStringLiteral("&1:  ")) && recent->text().endsWith(QStringLiteral("saved")));
      program.Action("miOpenExisting")->trigger();
      QCOMPARE(program.session().CurrentFileName, saved.toStdString());
      QCOMPARE(program.Main().CurrentPage(), int(MainWindow::TablesTab));
      QVERIFY(!recent->isEnabled());
    }
  }

  void AFileSavedInOneLanguageOpensInTheOther() {
    Program program(true, ReturningUser);
    Activate(program);
    ReachTheTables(program);
    TypeIntoGrid(program, ResultGrid::BeforeThin, 1, ColumnOf(program, ResultGrid::BeforeThin, D1),
                 QStringLiteral("13,2"));
    const QString danish = program.folder.Path("danish.orven");
    program.Main().Files().SetChooser([danish](FileCommands::Dialog) { return danish; });
    program.Action("miSave")->trigger();  // no file yet: Save asks for one
    QVERIFY(!program.session().TableChanged);
    const std::string exportDanish = program.session().ExportText('\t');

    Program other(true, ReturningUser);
    Activate(other);
    other.Action("miEnglish")->trigger();
    OpenThroughTheMenu(other, danish);
    QVERIFY(other.presenter.shown.empty());
    QVERIFY(other.session().Tables.Typed(D1, 0));
    QCOMPARE(other.session().Tables.Value(D1, 0), 13.2);
    const QString english = other.folder.Path("english.orven");
    other.Main().Files().SetChooser([english](FileCommands::Dialog) { return english; });
    other.Action("miSaveAs")->trigger();

    // Back in the first program, the English file replaces the Danish table unchanged.
    OpenThroughTheMenu(program, english);
    QVERIFY(program.presenter.shown.empty());
    QCOMPARE(program.session().ExportText('\t'), exportDanish);
  }

  void OpeningAskesFirstAndAMissingFileChangesNothing() {
    Program program(true, ReturningUser);
    Activate(program);
    ReachTheTables(program);
    TypeIntoGrid(program, ResultGrid::BeforeThin, 1, ColumnOf(program, ResultGrid::BeforeThin, D1),
                 QStringLiteral("15"));
    program.presenter.answers = {false};
    OpenThroughTheMenu(program, ExampleFiles().first());
    QCOMPARE(Count(program.presenter.shown, "Ønsker du at åbne en ny produktionsoversigt"), 1);
    QVERIFY(program.session().Tables.Typed(D1, 0));
    program.presenter.answers = {true};
    OpenThroughTheMenu(program, program.folder.Path("gone.orven"));
    QCOMPARE(Count(program.presenter.shown, "Filen eksisterer ikke"), 1);
    QVERIFY(program.session().Tables.Typed(D1, 0));
    QVERIFY(program.session().CurrentFileName.empty());
  }

  void CopyingASelectionNeedsAFocusedGrid() {
    Program program(true, ReturningUser);
    Activate(program);
    ReachTheTables(program);
    program.Find<QWidget>("edtThinYear")->setFocus();
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    program.Action("miCopySelection")->trigger();
    QCOMPARE(Count(program.presenter.shown, "Før du kan kopiere"), 1);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));

    QTableView* view = GridOf(program, ResultGrid::BeforeThin);
    view->setFocus(Qt::TabFocusReason);
    view->setCurrentIndex(view->model()->index(0, 0));
    QTest::keyClick(view, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
    program.Action("miCopySelection")->trigger();
    const Session& s = program.session();
    const auto& rows = s.Results.Grids[0].Rows;
    const QString expected = QStringLiteral("T\tHD1\r\n[År]\t[m]\r\n") + QString::fromStdString(rows[0][0]) +
                             QStringLiteral("\t") + QString::fromStdString(rows[0][1]) + QStringLiteral("\r\n") +
                             QString::fromStdString(rows[1][0]) + QStringLiteral("\t") +
                             QString::fromStdString(rows[1][1]);
    QCOMPARE(QGuiApplication::clipboard()->text(), expected);
  }

  void TheFirstYearGridTypesAndDeletesItsValues() {
    Program program(true, ReturningUser);
    Activate(program);
    ReachTheTables(program);
    program.Main().ShowPage(MainWindow::ThinningTab);
    QApplication::processEvents();
    const Session& s = program.session();
    auto* grid = program.Find<QTableWidget>("sgInitState");
    grid->setFocus(Qt::TabFocusReason);
    grid->setCurrentCell(1, 1);
    QTest::keyClick(grid->viewport(), '1');
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("2.5"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    Focus(program, "edtEndAge");  // leaving the grid reads it
    QTRY_VERIFY(s.Tables.Typed(D1, 0));
    QCOMPARE(s.Tables.Value(D1, 0), 12.5);
    QVERIFY(s.Tables.StateTableTyped);
    QVERIFY(!program.Find<QWidget>("edtStartAge")->isEnabled());

    grid->setFocus(Qt::TabFocusReason);
    grid->setCurrentCell(1, 1);
    QApplication::processEvents();
    QVERIFY(program.Action("miDeleteEntry")->isEnabled());
    program.Action("miDeleteEntry")->trigger();
    QVERIFY(!s.Tables.Typed(D1, 0));
    QVERIFY(!s.Tables.StateTableTyped);
    QVERIFY(program.Find<QWidget>("edtStartAge")->isEnabled());
  }

  void TheDelegatePaintsTheCoresColours() {
    Program program(true, ReturningUser);
    Activate(program);
    ReachTheTables(program);
    const Session& s = program.session();
    // A typed value: pale yellow under dark green.
    const int d1 = ColumnOf(program, ResultGrid::BeforeThin, D1);
    TypeIntoGrid(program, ResultGrid::BeforeThin, 1, d1, QStringLiteral("14,5"));
    program.Find<QWidget>("edtThinYear")->setFocus();
    QApplication::processEvents();
    Painted typed = Paint(program, ResultGrid::BeforeThin, 1, d1);
    QCOMPARE(typed.background, QColor(250, 250, 150));
    QVERIFY2(typed.text.green() > 90 && typed.text.red() < 90 && typed.text.blue() < 90,
             qPrintable(typed.text.name()));

    // A first-year diameter of 150 cm: values outside their range (red) and
    // outside the data behind the models (blue).
    TypeIntoGrid(program, ResultGrid::BeforeThin, 1, d1, QStringLiteral("150"));
    program.Find<QWidget>("edtThinYear")->setFocus();
    QApplication::processEvents();
    bool red = false, blue = false;
    const GrowthModel model = s.Model();
    for (ResultGrid grid : {ResultGrid::BeforeThin, ResultGrid::Remaining}) {
      const auto columns = s.ColumnsOf(grid);
      for (int row = 1; row <= s.Tables.TableRowCount; ++row)
        for (std::size_t c = 0; c < columns.size(); ++c) {
          const int year = s.Results.RowYears[static_cast<std::size_t>(row - 1)];
          const int v = columns[c];
          if (v == T || s.Tables.Typed(v, year) || CellText(program, grid, row, int(c)).isEmpty()) continue;
          const CellColours colours = ColoursOfCell(s.Tables, columns, {grid, int(c), row, true, false, false},
                                                    {s.Regime.Regime, model, s.Species.CurrentSpecies});
          if (!red && s.Tables.ValueError[v][year]) {
            const Painted painted = Paint(program, grid, row, int(c));
            QVERIFY(colours.text == CellColour::Of(220, 0, 0));
            QVERIFY2(painted.text.red() > 150 && painted.text.green() < 100, qPrintable(painted.text.name()));
            red = true;
          } else if (!blue && colours.text == CellColour::Of(64, 64, 250)) {
            const Painted painted = Paint(program, grid, row, int(c));
            QVERIFY2(painted.text.blue() > 150 && painted.text.red() < 140, qPrintable(painted.text.name()));
            blue = true;
          }
        }
    }
    QVERIFY(red);
    QVERIFY(blue);
  }
};

QTEST_MAIN(TablesPageTest)
#include "TablesPageTest.moc"
