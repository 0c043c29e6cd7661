// The ten workflow steps on the real controls: which controls open, the
// colours of the step numbers, the field checks, page navigation and whole
// walks in both languages.
#include <QMenu>
#include <QTableView>

#include "WalkSupport.h"

using namespace orven;
using namespace orven::testing;

namespace {

const QByteArray ReturningUser = " 0 1 1 0 1\n";
const QByteArray ReturningEnglishUser = " 1 1 1 0 1\n";

bool Enabled(Program& program, const char* name) { return program.Find<QWidget>(name)->isEnabled(); }

}  // namespace

class WorkflowTest : public QObject {
  Q_OBJECT

private slots:
  void ChoosingASpeciesOpensOnlyTheSiteMethod() {
    Program program(true, ReturningUser);
    program.Main().GoToPage(MainWindow::SiteTab);
    QVERIFY(Enabled(program, "rgSpecies"));
    QVERIFY(!Enabled(program, "rgSiteQuality"));
    ClickItem(program, "rgSpecies", 0);
    QCOMPARE(program.session().SiteView.rgSpecies, 0);
    QVERIFY(Enabled(program, "rgSiteQuality"));
    QVERIFY(!Enabled(program, "rgHeight"));
    QVERIFY(!IsBlue(program, "lblStep21"));
    QVERIFY(IsBlue(program, "lblStep22"));
    QVERIFY(program.Action("miNew")->isEnabled());
  }

  void AnotherSpeciesAfterStepFiveKeepsTheLaterSteps() {
    Program program(true, ReturningUser);
    program.Main().GoToPage(MainWindow::SiteTab);
    ClickItem(program, "rgSpecies", 0);
    ClickItem(program, "rgSiteQuality", 2);
    ClickItem(program, "rgHeight", 0);
    Focus(program, "edtSiteClass");  // entering a step-4 edit opens step 5
    QVERIFY(Enabled(program, "rgVolume"));
    ClickItem(program, "rgSpecies", 3);
    for (const char* control : {"rgSiteQuality", "rgHeight", "gbSiteIndex", "rgVolume"})
      QVERIFY2(Enabled(program, control), control);
    for (const char* label : {"lblStep21", "lblStep22", "lblStep23", "lblStep24"}) QVERIFY2(!IsBlue(program, label), label);
    QVERIFY(IsBlue(program, "lblStep25"));
  }

  void VolumeWithoutValidSiteDataLeavesTheThinningStepClosed() {
    Program program(true, ReturningUser);
    program.Main().GoToPage(MainWindow::SiteTab);
    ClickItem(program, "rgSpecies", 0);
    ClickItem(program, "rgSiteQuality", 0);  // repeated inventories, none typed
    ClickItem(program, "rgHeight", 0);
    Focus(program, "edtGcorrection");
    ClickItem(program, "rgVolume", 0);
    QVERIFY(program.session().Site.A0Parameter <= 1e-12);
    QVERIFY(!Enabled(program, "rgPreset"));
    QVERIFY(!program.session().Steps.StepEnabled[6]);
  }

  void AnOutOfRangeStandHeightIsRefusedAndKeepsTheFocus() {
    Program program(true, ReturningUser);
    program.Main().GoToPage(MainWindow::SiteTab);
    ClickItem(program, "rgSpecies", 0);
    ClickItem(program, "rgSiteQuality", 1);
    ClickItem(program, "rgHeight", 0);
    const double before = program.session().SiteValues.StandHeight;
    program.presenter.shown.clear();
    TypeInto(program, "edtStandHeight", QStringLiteral("60"));
    QCOMPARE(program.presenter.shown.size(), std::size_t(1));
    const Message& message = program.presenter.shown[0];
    QCOMPARE(message.Kind, MessageKind::Error);
    QVERIFY(QString::fromStdString(message.Text).contains(QStringLiteral("(60)")));
    QVERIFY(QString::fromStdString(message.Text).contains(QStringLiteral("6 - 50")));
    auto* edit = program.Find<QLineEdit>("edtStandHeight");
    QVERIFY(edit->hasFocus());
    QCOMPARE(edit->selectedText(), QStringLiteral("60"));
    QCOMPARE(program.session().SiteValues.StandHeight, before);
    // Return checks the same way.
    program.presenter.shown.clear();
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(program.presenter.shown.size(), std::size_t(1));
    QVERIFY(!program.session().SiteValues.StandHeightKeyed);
  }

  void ThePreviousPageShortcutFollowsTheLanguage_data() {
    QTest::addColumn<QByteArray>("preferences");
    QTest::addColumn<int>("key");
    QTest::newRow("Danish") << ReturningUser << int(Qt::Key_F);
    QTest::newRow("English") << ReturningEnglishUser << int(Qt::Key_P);
  }
  void ThePreviousPageShortcutFollowsTheLanguage() {
    QFETCH(QByteArray, preferences);
    QFETCH(int, key);
    Program program(true, preferences);
    QApplication::setActiveWindow(&program.Main());
    QVERIFY(QTest::qWaitForWindowActive(&program.Main()));
    QCOMPARE(program.Main().CurrentPage(), int(MainWindow::WelcomeTab));
    QTest::keyClick(&program.Main(), Qt::Key(key), Qt::ControlModifier | Qt::AltModifier);
    QCOMPARE(program.Main().CurrentPage(), int(MainWindow::DescriptionTab));
    QTest::keyClick(&program.Main(), Qt::Key_N, Qt::ControlModifier | Qt::AltModifier);
    QCOMPARE(program.Main().CurrentPage(), int(MainWindow::WelcomeTab));
  }

  void APageItemStepsThroughEveryPageInBetween() {
    Program program(true, ReturningUser);
    QList<int> entered;
    connect(program.Main().findChild<QTabWidget*>(QStringLiteral("pcTabSheets")), &QTabWidget::currentChanged,
            this, [&entered](int page) { entered << page; });
    program.Action("miGYgraphs")->trigger();
    QCOMPARE(entered, (QList<int>{1, 2, 3, 4, 5}));
    entered.clear();
    program.Action("miHowTo")->trigger();
    QCOMPARE(entered, (QList<int>{4, 3, 2, 1}));
  }

  void AWholeWalkReachesTheTables_data() {
    QTest::addColumn<QByteArray>("preferences");
    QTest::addColumn<bool>("switchHalfWay");
    QTest::newRow("Danish") << ReturningUser << false;
    QTest::newRow("English") << ReturningEnglishUser << false;
    QTest::newRow("Danish, then English") << ReturningUser << true;
  }
  void AWholeWalkReachesTheTables() {
    QFETCH(QByteArray, preferences);
    QFETCH(bool, switchHalfWay);
    Program program(true, preferences);
    WalkThroughTheSitePage(program);
    QVERIFY(program.session().Steps.StepEnabled[6]);
    if (switchHalfWay) {
      program.Action("miEnglish")->trigger();
      QCOMPARE(program.session().language(), Language::English);
      QCOMPARE(program.Main().findChild<QMenu*>(QStringLiteral("miFile"))->title(), QStringLiteral("&Files"));
    }
    WalkThroughTheThinningPage(program);
    const Session& s = program.session();
    QVERIFY(s.Steps.FinalEnabled);
    for (int step = 1; step <= 10; ++step) QVERIFY(s.Steps.StepEnabled[step]);
    QCOMPARE(s.Tables.TableEndAge, 90);
    program.Action("miGYtable")->trigger();
    QCOMPARE(program.Main().CurrentPage(), int(MainWindow::TablesTab));
    QVERIFY(Enabled(program, "sgBeforeThin"));
    QVERIFY(program.Action("miSave")->isEnabled());
    QVERIFY(program.Action("miExport")->isEnabled());
    QVERIFY(!s.Results.RowYears.empty());
    // The first data row is the first age, with its stand computed.
    const std::string& firstHeight = s.Results.Grids[0].Rows.front().front();
    QCOMPARE(firstHeight, std::string("20"));
  }

  void TheNewTableCommandAsksAndNoKeepsTheTable() {
    Program program(true, ReturningUser);
    WalkThroughTheSitePage(program);
    program.desktop->Controller().Run([](Session& s) { s.TableChanged = true; });
    program.presenter.answers = {false};
    program.Action("miNew")->trigger();
    QCOMPARE(program.session().SiteView.rgSpecies, 0);
    program.presenter.answers = {true};
    program.Action("miNew")->trigger();
    QCOMPARE(program.session().SiteView.rgSpecies, -1);
    QVERIFY(!Enabled(program, "rgSiteQuality"));
    QCOMPARE(program.Main().CurrentPage(), int(MainWindow::SiteTab));
  }
};

QTEST_MAIN(WorkflowTest)
#include "WorkflowTest.moc"
