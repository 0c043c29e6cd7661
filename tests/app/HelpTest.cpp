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
    program.Run([](Session& s) {
      WalkToTheThinningPage(s);
      FinishTheWalk(s);
    });
    QVERIFY(program.session().Steps.FinalEnabled);
  }
};

QTEST_MAIN(HelpTest)
#include "HelpTest.moc"
