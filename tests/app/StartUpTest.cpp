// Start-up and close: the welcome window, the preferences file, the missing
// parameter file and the close query.
#include <QMenu>

#include "DesktopFixture.h"
#include "app/session/Preferences.h"
#include "app/windows/WelcomeWindow.h"

using namespace orven;
using namespace orven::testing;

class StartUpTest : public QObject {
  Q_OBJECT

private slots:
  void FirstRunIsDanishAndShowsTheWelcomeWindow() {
    Program program;
    QVERIFY(program.desktop->Welcome().isVisible());
    QCOMPARE(program.Main().findChild<QMenu*>(QStringLiteral("miFile"))->title(), QStringLiteral("&Filer"));
    QCOMPARE(program.Find<QAbstractButton>("btnReject")->text(), QStringLiteral("&Afvis"));
    QVERIFY(program.Find<QWidget>("imgWelcomeDK")->isVisibleTo(&program.Main()));
    QVERIFY(!program.Find<QWidget>("imgWelcomeUK")->isVisibleTo(&program.Main()));
  }

  void RejectEndsWithoutWritingThePreferences() {
    Program program;
    QTest::mouseClick(program.Find<QAbstractButton>("btnReject"), Qt::LeftButton);
    QTRY_VERIFY(!program.Main().isVisible());
    QVERIFY(!program.folder.Exists(PreferencesFileName));
  }

  void ClosingTheWelcomeWindowEndsTheProgramToo() {
    Program program;
    program.desktop->Welcome().close();
    QTRY_VERIFY(!program.Main().isVisible());
    QVERIFY(!program.folder.Exists(PreferencesFileName));
  }

  void AcceptThenCloseWritesTheDefaultPreferences() {
    Program program;
    QTest::mouseClick(program.Find<QAbstractButton>("btnAccept"), Qt::LeftButton);
    QVERIFY(!program.desktop->Welcome().isVisible());
    QVERIFY(program.Main().isVisible());
    program.Main().close();
    QCOMPARE(program.folder.Read(PreferencesFileName), QByteArray(" 0 1 1 0 1\n"));
  }

  void TheLanguageButtonSwitchesTheWholeInterface() {
    Program program;
    QTest::mouseClick(program.Find<QAbstractButton>("btnLanguage"), Qt::LeftButton);
    QCOMPARE(program.Find<QAbstractButton>("btnLanguage")->text(), QStringLiteral("&Dansk"));
    QCOMPARE(program.Main().findChild<QMenu*>(QStringLiteral("miFile"))->title(), QStringLiteral("&Files"));
    QTest::mouseClick(program.Find<QAbstractButton>("btnAccept"), Qt::LeftButton);
    program.Main().close();
    QCOMPARE(program.folder.Read(PreferencesFileName), QByteArray(" 1 1 1 0 1\n"));
  }

  void PreferencesStartingWithOneStartInEnglishOnTheSpeciesPage() {
    Program program(true, " 1 0 0 1 0\n");
    QVERIFY(!program.desktop->Welcome().isVisible());
    QCOMPARE(program.Main().findChild<QMenu*>(QStringLiteral("miFile"))->title(), QStringLiteral("&Files"));
    QVERIFY(program.Action("miEnglish")->isChecked());
    QVERIFY(!program.Action("miEnglish")->isEnabled());
    QVERIFY(!program.Action("miAutoUpdate")->isChecked());
    QVERIFY(!program.Action("miVertShiftGraph")->isChecked());
    QVERIFY(program.Action("miShowA0param")->isChecked());
    QVERIFY(program.Action("miSemiColon")->isChecked());
    // A returning user is taken to the species page after a short pause.
    QCOMPARE(program.Main().CurrentPage(), int(MainWindow::WelcomeTab));
    QTRY_COMPARE_WITH_TIMEOUT(program.Main().CurrentPage(), int(MainWindow::SiteTab), 3000);
    program.Main().close();
    QCOMPARE(program.folder.Read(PreferencesFileName), QByteArray(" 1 0 0 1 0\n"));
  }

  void ASecondLineOffersTheRecentFile() {
    const QByteArray recent = "/home/forester/tables/Beech.orven";
    Program program(true, " 0 1 1 0 1\n" + recent + "\n");
    QAction* item = program.Action("miOpenExisting");
    QVERIFY(item->isVisible());
    QVERIFY(item->isEnabled());
    QCOMPARE(item->text(), QString::fromStdString(OpenExistingCaption(recent.toStdString())));
    program.Main().close();
    QCOMPARE(program.folder.Read(PreferencesFileName), QByteArray(" 0 1 1 0 1\n") + recent + "\n");
  }

  void AMissingParameterFileIsReportedAndEndsTheProgram() {
    Program program(false, " 0 1 1 0 1\n");
    QTRY_VERIFY(!program.Main().isVisible());
    QCOMPARE(program.presenter.shown.size(), std::size_t(1));
    QCOMPARE(program.presenter.shown[0].Kind, MessageKind::Error);
    QVERIFY(QString::fromStdString(program.presenter.shown[0].Text).contains(QStringLiteral("OrvenPar.drc")));
  }

  void ClosingWithUnsavedChangesAsksAndNoKeepsTheProgram() {
    Program program(true, " 0 1 1 0 1\n");
    program.desktop->Controller().Run([](Session& s) { s.TableChanged = true; });
    program.presenter.answers = {false};
    program.Main().close();
    QVERIFY(program.Main().isVisible());
    QCOMPARE(program.presenter.shown.back().Kind, MessageKind::Question);
    QCOMPARE(program.presenter.shown.back().Caption, std::string("   Afslut?"));
    program.presenter.answers = {true};
    program.Main().close();
    QVERIFY(!program.Main().isVisible());
  }
};

QTEST_MAIN(StartUpTest)
#include "StartUpTest.moc"
