// Help, quick guide, description and About: the compiled help files by
// context, the help pointer, the help pop-ups, F1, and the rich-text pages.
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>

#include "DesktopFixture.h"
#include "support/StandardWalk.h"
#include "app/help/ChmFile.h"
#include "app/help/HelpRouter.h"
#include "app/help/HelpWindow.h"
#include "app/session/HelpTopics.h"
#include "app/windows/AboutWindow.h"
#include "app/windows/AxisDialog.h"

using namespace orven;
using namespace orven::testing;

namespace {

// Every context of the help contexts table, and the column dialog's.
constexpr int Contexts[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14,
                            15, 16, 17, 18, 19, 20, 21, 22, 23, 25, 26, 28};

QString BuiltFile(const char* name) { return QStringLiteral(ORVEN_DATA_FILES_DIR "/") + QString::fromUtf8(name); }

// A program whose working folder holds the given help and page files.
struct HelpProgram {
  explicit HelpProgram(std::initializer_list<const char*> files, const QByteArray& preferences = {})
      : folder(true, preferences) {
    for (const char* name : files) QFile::copy(BuiltFile(name), folder.Path(name));
    desktop = std::make_unique<Desktop>(&presenter);
    desktop->Start();
    QApplication::processEvents();
  }

  MainWindow& Main() { return desktop->Main(); }
  Session& session() { return desktop->Controller().session(); }
  HelpWindow& Help() { return desktop->Help(); }
  template <class T = QWidget>
  T* Find(const char* name) {
    return Main().findChild<T*>(QString::fromUtf8(name));
  }
  QString TopicTitle() { return Help().findChild<QTextBrowser*>(QStringLiteral("hbTopic"))->documentTitle(); }
  QString TopicText() { return Help().findChild<QTextBrowser*>(QStringLiteral("hbTopic"))->toPlainText(); }
  void Run(const std::function<void(Session&)>& handler) { desktop->Controller().Run(handler); }

  WorkingFolder folder;
  RecordingPresenter presenter;
  std::unique_ptr<Desktop> desktop;
};

const std::initializer_list<const char*> AllFiles = {
    "FenloHlpDK.chm", "FenloHlpUK.chm", "FenloInfDK.rtf",   "FenloInfUK.rtf",
    "FenloDesDK.rtf", "FenloDesUK.rtf", "FenloAboutDK.rtf", "FenloAboutUK.rtf"};

bool HasHelpCursor(QWidget* widget) {
  return widget->testAttribute(Qt::WA_SetCursor) && widget->cursor().shape() == Qt::WhatsThisCursor;
}

// Chooses the first item of the next pop-up menu that opens.
void ChooseFirstItemOfNextMenu() {
  QTimer::singleShot(50, [] {
    if (QWidget* popup = QApplication::activePopupWidget()) {
      QTest::keyClick(popup, Qt::Key_Down);
      QTest::keyClick(popup, Qt::Key_Return);
    }
  });
}

}  // namespace

class HelpTest : public QObject {
  Q_OBJECT

private slots:
  void EveryContextResolvesToATopicInBothHelpFiles() {
    for (const char* name : {"FenloHlpDK.chm", "FenloHlpUK.chm"}) {
      const ChmFile file(BuiltFile(name).toStdString());
      QVERIFY2(file.IsOpen(), name);
      QVERIFY(!file.ContentsFile().empty());
      QVERIFY(!file.IndexFile().empty());
      for (int context : Contexts) {
        const std::optional<std::string> topic = file.TopicOf(static_cast<std::uint32_t>(context));
        QVERIFY2(topic, qPrintable(QStringLiteral("%1: context %2").arg(QString::fromUtf8(name)).arg(context)));
        const std::optional<std::string> page = file.Read(*topic);
        QVERIFY(page && page->find("<title>") != std::string::npos);
      }
      QVERIFY(!file.TopicOf(24));  // no topic of that number
      QVERIFY(file.Read("/orven.css"));
      // The contents lead to pages that are in the file.
      const std::vector<SitemapEntry> contents = ReadSitemap(*file.Read(file.ContentsFile()));
      QVERIFY(contents.size() > 20);
      for (const SitemapEntry& entry : contents) QVERIFY2(file.Read(entry.Local), entry.Local.c_str());
    }
  }

  void HelpOpensInTheLanguageOfTheInterface() {
    HelpProgram program(AllFiles);
    program.Main().Action("miIntroArt1")->trigger();
    QCOMPARE(program.Help().CurrentFileName(), QStringLiteral("FenloHlpDK.chm"));
    QCOMPARE(program.TopicTitle(), QStringLiteral("Vækstmodellerne og metoderne til bonitering"));
    QVERIFY(program.Help().isVisible());
    program.Main().Action("miEnglish")->trigger();
    program.Main().Action("miIntroArt2")->trigger();
    QCOMPARE(program.Help().CurrentFileName(), QStringLiteral("FenloHlpUK.chm"));
    QCOMPARE(program.TopicTitle(), QStringLiteral("Thinning regimes and how to read the tables"));
    program.Main().Action("miContents")->trigger();
    QCOMPARE(program.Help().LastContext(), 0);
    QCOMPARE(program.TopicTitle(), QStringLiteral("ORVEN help"));
    // Back returns to the article.
    program.Help().findChild<QAbstractButton*>(QStringLiteral("btnBack"))->click();
    QCOMPARE(program.TopicTitle(), QStringLiteral("Thinning regimes and how to read the tables"));
    QVERIFY(program.Help().findChild<QTreeWidget*>(QStringLiteral("tvContents"))->topLevelItemCount() > 0);
  }

  void AMissingHelpFileIsSaidInTheHelpWindow() {
    HelpProgram program({});
    program.Main().Action("miIndex")->trigger();
    QCOMPARE(program.TopicText(), QStringLiteral("   Fejl: Hjælpefilen blev ikke fundet: FenloHlpDK.chm"));
  }

  void HelpPointerOnTheSiteClassLabelOpensTopic9Once() {
    HelpProgram program(AllFiles);
    program.Main().GoToPage(MainWindow::SiteTab);
    program.Run([](Session& s) { s.rgSpeciesClick(0); });
    program.Run([](Session& s) { s.rgSiteQualityClick(2); });  // site class: the site-index edits are shown
    program.Run([](Session& s) { s.rgHeightClick(0); });
    auto* label = program.Find<QLabel>("lblSiteClass");
    QVERIFY(label && label->isVisible());
    auto* button = program.Find<QAbstractButton>("sbtnHelpP3");
    QVERIFY(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(HasHelpCursor(program.Find("TabSheet3")));
    QVERIFY(HasHelpCursor(program.Find("rgSpecies")));
    QVERIFY(program.desktop->HelpRoutes().Pointer().Active());

    QTest::mouseClick(label, Qt::LeftButton);
    QTRY_COMPARE(program.Help().Requests(), 1);
    QCOMPARE(program.Help().LastContext(), 9);
    QCOMPARE(program.TopicTitle(), QStringLiteral("Bestemmelse af bonitet"));
    for (std::string_view name : HelpCursorControls(2))
      QVERIFY2(!HasHelpCursor(program.Find(std::string(name).c_str())), name.data());

    QTest::mouseClick(label, Qt::LeftButton);
    QApplication::processEvents();
    QCOMPARE(program.Help().Requests(), 1);
  }

  void HelpPointerClickStillDoesTheControlsWork() {
    HelpProgram program(AllFiles);
    program.Main().GoToPage(MainWindow::SiteTab);
    program.Run([](Session& s) { s.rgSpeciesClick(0); });
    QTest::mouseClick(program.Find<QAbstractButton>("sbtnHelpP3"), Qt::LeftButton);
    // The third species item: help on the species, and the species chosen.
    auto* species = program.Find("rgSpecies");
    auto buttons = species->findChildren<QAbstractButton*>();
    QVERIFY(buttons.size() >= 3);
    QTest::mouseClick(buttons[2], Qt::LeftButton);
    QTRY_COMPARE(program.Help().LastContext(), 4);
    QCOMPARE(program.session().SiteView.rgSpecies, 2);
  }

  void APageChangeLeavesNoHelpCursor() {
    HelpProgram program(AllFiles);
    program.Main().GoToPage(MainWindow::SiteTab);
    program.Run([](Session& s) { s.rgSpeciesClick(0); });
    QTest::mouseClick(program.Find<QAbstractButton>("sbtnHelpP3"), Qt::LeftButton);
    QVERIFY(HasHelpCursor(program.Find("gbSiteQuality")));
    program.Main().GoToPage(MainWindow::GuideTab);
    QVERIFY(!program.desktop->HelpRoutes().Pointer().Active());
    for (int page : {2, 3, 4, 6})
      for (std::string_view name : HelpCursorControls(page))
        if (QWidget* control = program.Find(std::string(name).c_str()))
          QVERIFY2(!HasHelpCursor(control), name.data());
    program.Main().GoToPage(MainWindow::SiteTab);
    QTest::mouseClick(program.Find<QLabel>("lblInventory"), Qt::LeftButton);
    QApplication::processEvents();
    QCOMPARE(program.Help().Requests(), 0);
  }

  void TrackBarsAndTheDescriptionAnswerTheHelpPointerOnEntry() {
    HelpProgram program(AllFiles, " 0 1 1 0 1\n");
    WalkToTheFinalStep(program);
    program.Run([](Session& s) { s.rgPresetClick(1); });  // first and last thinning: the track bars
    program.Main().GoToPage(MainWindow::ThinningTab);
    QTest::mouseClick(program.Find<QAbstractButton>("sbtnHelpP4"), Qt::LeftButton);
    QVERIFY(HasHelpCursor(program.Find("gbThinning")));
    auto* bar = program.Find("tbThinIstart");
    QVERIFY(bar && bar->isEnabled());
    bar->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(program.Help().LastContext(), 14);
    QVERIFY(!HasHelpCursor(program.Find("gbThinning")));

    // Back from the help window to the main window.
    program.Main().activateWindow();
    QTRY_VERIFY(program.Main().isActiveWindow());
    program.Main().GoToPage(MainWindow::DescriptionTab);
    QTest::mouseClick(program.Find<QAbstractButton>("sbtnHelpP7"), Qt::LeftButton);
    QVERIFY(HasHelpCursor(program.Find("reDescription")));
    program.Find("reDescription")->setFocus(Qt::MouseFocusReason);
    QTRY_COMPARE(program.Help().LastContext(), 28);
    QCOMPARE(program.TopicTitle(), QStringLiteral("Beskrivelse af oversigten"));
  }

  void F1InTheAxisDialogOpensItsTopic() {
    HelpProgram program(AllFiles, " 1 0 0 1 0\n");
    AxisDialog& axis = program.desktop->Axis();
    axis.show();
    axis.activateWindow();
    QTRY_VERIFY(axis.isActiveWindow());
    QTest::keyClick(&axis, Qt::Key_F1);
    QTRY_COMPARE(program.Help().LastContext(), 26);
    QCOMPARE(program.TopicTitle(), QStringLiteral("Choosing the variable of an axis"));
  }

  void TheStep4PopUpWithTheSoilMethodOpensTopic10() {
    HelpProgram program(AllFiles);
    program.Main().GoToPage(MainWindow::SiteTab);
    program.Run([](Session& s) { s.rgSpeciesClick(3); });
    program.Run([](Session& s) { s.rgSiteQualityClick(4); });
    auto* soil = program.Find("sgSoil");
    QVERIFY(soil->isVisible());
    ChooseFirstItemOfNextMenu();
    emit soil->customContextMenuRequested(QPoint(5, 5));
    QTRY_COMPARE(program.Help().LastContext(), 10);
    QCOMPARE(program.TopicTitle(), QStringLiteral("Data vedr. jordbunden"));
  }

  void F1OnEveryControlOfTheSitePageOpensItsTopic() {
    HelpProgram program(AllFiles, " 1 0 0 1 0\n");  // English
    program.Main().GoToPage(MainWindow::SiteTab);
    program.Run([](Session& s) { s.rgSpeciesClick(0); });
    program.Run([](Session& s) { s.rgSiteQualityClick(0); });
    program.Run([](Session& s) { s.rgHeightClick(0); });
    program.Run([](Session& s) { s.rgVolumeClick(0); });
    program.Run([](Session& s) { s.SiteView.ShowA0param = true; });
    struct Case {
      int method;  // the site-quality item that shows the control
      const char* control;
      int context;
      const char* title;
    } cases[] = {
        {0, "rgSpecies", 4, "Choosing the species"},
        {0, "rgSiteQuality", 5, "Determining the growth rate"},
        {0, "rgHeight", 7, "Stand height: dominant or mean height"},
        {0, "sgInventory", 8, "Repeated measurements"},
        {1, "edtStandHeight", 9, "Site index estimation"},
        {1, "edtStandAge", 9, "Site index estimation"},
        {2, "edtSiteClass", 9, "Site index estimation"},
        {3, "edtYieldClass", 9, "Site index estimation"},
        {4, "sgSoil", 10, "Soil texture data"},
        {0, "edtGcorrection", 11, "Growth parameter and basal-area growth correction"},
        {0, "rgVolume", 12, "Volume definition"},
    };
    int requests = 0;
    for (const Case& c : cases) {
      program.Run([&c](Session& s) { s.rgSiteQualityClick(c.method); });
      QWidget* control = program.Find(c.control);
      QVERIFY2(control, c.control);
      // A radio group takes the focus on its first item.
      QWidget* target = control;
      if (auto items = control->findChildren<QAbstractButton*>(); c.control[0] == 'r' && !items.isEmpty())
        target = items.first();
      QVERIFY2(target->isVisible() && target->isEnabled(), c.control);
      target->setFocus(Qt::OtherFocusReason);
      QTRY_VERIFY(target->hasFocus() || target->isAncestorOf(QApplication::focusWidget()));
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
      QTRY_COMPARE(program.Help().Requests(), requests + 1);
      ++requests;
      QCOMPARE(program.Help().LastContext(), c.context);
      QCOMPARE(program.TopicTitle(), QString::fromUtf8(c.title));
    }
  }

  void TheTablesHelpFollowsTheFocusedGrid() {
    HelpProgram program(AllFiles, " 0 1 1 0 1\n");  // Danish, no welcome window to take the focus
    WalkToTheFinalStep(program);
    program.Main().GoToPage(MainWindow::TablesTab);
    auto* thinning = program.Find("sgThinning");
    thinning->setFocus(Qt::OtherFocusReason);
    QTRY_VERIFY(thinning->hasFocus());
    program.Main().Action("miTableHelp")->trigger();
    QCOMPARE(program.Help().LastContext(), 21);
    QCOMPARE(program.TopicTitle(), QStringLiteral("Tabellen Tynding"));
    auto* remaining = program.Find("sgRemaining");
    remaining->setFocus(Qt::OtherFocusReason);
    QTRY_VERIFY(remaining->hasFocus());
    QTest::keyClick(remaining, Qt::Key_F1);
    QTRY_COMPARE(program.Help().LastContext(), 22);
    program.Find("sgBeforeThin")->setFocus(Qt::OtherFocusReason);
    program.Main().Action("miTableHelp")->trigger();
    QCOMPARE(program.Help().LastContext(), 20);
  }

  void TheTablesPagesHelpPopUpsOpenTheirTopics() {
    HelpProgram program(AllFiles, " 1 0 0 1 0\n");
    WalkToTheFinalStep(program);
    program.Main().GoToPage(MainWindow::TablesTab);
    const std::pair<const char*, int> cases[] = {{"rgShowYears", 19}, {"rgThinInterval", 18}, {"edtThinYear", 18}};
    for (const auto& [control, context] : cases) {
      QWidget* widget = program.Find(control);
      QVERIFY2(widget && widget->contextMenuPolicy() == Qt::CustomContextMenu, control);
      ChooseFirstItemOfNextMenu();
      emit widget->customContextMenuRequested(QPoint(3, 3));
      QTRY_COMPARE(program.Help().LastContext(), context);
      program.Help().ShowContext(0);
    }
    QCOMPARE(program.TopicTitle(), QStringLiteral("ORVEN help"));
  }

  void TheQuickGuideShowsTheFileOrOnlyTheErrorLine() {
    {
      HelpProgram program(AllFiles);
      auto* info = program.Find<QTextBrowser>("reInfo");
      QVERIFY(info->toPlainText().startsWith(QStringLiteral("Kvikguide til ORVEN")));
      program.Main().Action("miEnglish")->trigger();
      QVERIFY(info->toPlainText().startsWith(QStringLiteral("Quick guide to ORVEN")));
      QVERIFY(info->toPlainText().contains(QStringLiteral("10.\tTables, graphs and description.")));
    }
    HelpProgram program({"FenloInfDK.rtf"});
    program.Main().Action("miEnglish")->trigger();
    QCOMPARE(program.Find<QTextBrowser>("reInfo")->toPlainText(),
             QStringLiteral("   Error: The information file was not found: FenloInfUK.rtf"));
  }

  void TheDescriptionIsKeptAfterTypingAndRestoredByANewTable() {
    HelpProgram program({});
    WalkToTheFinalStep(program);
    auto* description = program.Find<QTextEdit>("reDescription");
    QCOMPARE(description->toPlainText().split(QLatin1Char('\n')).value(2), QStringLiteral("Produktionsoversigt"));
    program.Main().Action("miEnglish")->trigger();
    QCOMPARE(description->toPlainText().split(QLatin1Char('\n')).value(2), QStringLiteral("Growth and yield table"));

    program.Main().GoToPage(MainWindow::DescriptionTab);
    description->setFocus();
    QTest::keyClicks(description, "Beech on loam");
    QTRY_VERIFY(program.session().DescriptionEdited);
    QVERIFY(program.session().TableChanged);
    const QString typed = description->toPlainText();
    QVERIFY(typed.contains(QStringLiteral("Beech on loam")));
    program.Main().Action("miDanish")->trigger();
    QCOMPARE(description->toPlainText(), typed);

    program.presenter.answers = {true};  // clear everything without saving
    program.Main().Action("miNew")->trigger();
    QVERIFY(!program.session().DescriptionEdited);
    QCOMPARE(description->toPlainText().split(QLatin1Char('\n')).value(2), QStringLiteral("Produktionsoversigt"));
  }

  void TheDescriptionIsSavedAndReopenedWithTheTable() {
    HelpProgram program({"FenloDesDK.rtf", "FenloDesUK.rtf"});
    WalkToTheFinalStep(program);
    auto* description = program.Find<QTextEdit>("reDescription");
    // The template file, with its title in bold.
    QTextCursor title(description->document());
    title.movePosition(QTextCursor::NextCharacter);
    QCOMPARE(title.charFormat().fontWeight(), int(QFont::Bold));
    program.Main().GoToPage(MainWindow::DescriptionTab);
    description->setFocus();
    description->moveCursor(QTextCursor::End);
    QTest::keyClicks(description, "Thinned from below");
    QTRY_VERIFY(program.session().DescriptionEdited);
    const QString typed = description->toPlainText();

    const std::string path = program.folder.Path("beech.orven").toStdString();
    QVERIFY(program.session().Save(path));
    program.presenter.answers = {false};
    program.Main().Action("miNew")->trigger();
    QVERIFY(!description->toPlainText().contains(QStringLiteral("Thinned from below")));
    program.Run([&path](Session& s) { s.Open(path); });
    QCOMPARE(description->toPlainText(), typed);
  }

  void TheAboutWindowShowsItsFileOrTheBuiltInText() {
    {
      HelpProgram program(AllFiles);
      program.Main().Action("miAbout")->trigger();
      AboutWindow& about = program.desktop->About();
      QVERIFY(about.isVisible());
      QCOMPARE(about.windowTitle(), QStringLiteral(" Om ORVEN"));
      auto* text = about.findChild<QTextBrowser*>(QStringLiteral("reAbout"));
      QVERIFY(text->toPlainText().startsWith(QStringLiteral("ORVEN 1.0")));
      QVERIFY(text->toPlainText().contains(QStringLiteral("Filer")));  // a heading of the file only
      about.hide();
      program.Main().Action("miEnglish")->trigger();
      program.Main().Action("miAbout")->trigger();
      QCOMPARE(about.windowTitle(), QStringLiteral(" About ORVEN"));
      QVERIFY(text->toPlainText().contains(QStringLiteral("Species and models")));
    }
    HelpProgram program({});
    program.Main().Action("miAbout")->trigger();
    auto* text = program.desktop->About().findChild<QTextBrowser*>(QStringLiteral("reAbout"));
    QVERIFY(text->toPlainText().startsWith(QStringLiteral("ORVEN 1.0")));
    QVERIFY(text->toPlainText().endsWith(QStringLiteral("ORVEN version 1.0, 2026")));
  }

private:
  // A beech stand of site class 1.5 with the heavy standard regime, through
  // to the final step that enables the description.
  static void WalkToTheFinalStep(HelpProgram& program) {
    program.Run([](Session& s) {
      WalkToTheThinningPage(s);
      FinishTheWalk(s);
    });
    QVERIFY(program.session().Steps.FinalEnabled);
  }
};

QTEST_MAIN(HelpTest)
#include "HelpTest.moc"
