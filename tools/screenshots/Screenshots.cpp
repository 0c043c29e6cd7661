// orven-screenshots OUTDIR: renders the pages of the desktop program in both
// languages, at the default window size and maximised, part-way through a
// walk: a species chosen, site data given, a regime chosen, then the final
// step. The messages the walk raises are printed instead of shown.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "app/Desktop.h"
#include "app/SessionController.h"
#include "app/help/HelpWindow.h"
#include "app/windows/AboutWindow.h"
#include "app/windows/FileCommands.h"
#include "app/session/ChartSeries.h"
#include "app/windows/GraphWindow.h"
#include "app/windows/MainWindow.h"
#include "app/windows/WelcomeWindow.h"
#include "support/StandardWalk.h"

using namespace orven;

namespace {

class PrintingPresenter : public MessagePresenter {
public:
  bool Show(const Message& message) override {
    std::fprintf(stderr, "message: %s\n", message.Text.c_str());
    return false;
  }
};

void Save(QWidget& window, const QString& folder, const QString& name) {
  QApplication::processEvents();
  const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
  if (!window.grab().save(path)) std::fprintf(stderr, "could not write %s\n", qPrintable(path));
}

// Both sizes of one page.
void SavePage(MainWindow& main, int page, const QString& folder, const QString& stem) {
  main.GoToPage(page);
  main.resize(900, 560);
  Save(main, folder, stem);
  main.resize(1600, 1000);
  Save(main, folder, stem + QStringLiteral("-large"));
  main.resize(900, 560);
}

// The large graph as a double click opens it: the volume chart at the
// window's first size, the stem numbers with their drops at a larger one.
void SaveLargeGraph(Desktop& desktop, const QString& folder, const QString& language) {
  GraphWindow& large = desktop.LargeGraph();
  desktop.Controller().Run([](Session& s) { OpenInLargeGraph(s, 2); });
  large.show();
  large.resize(390, 331);
  Save(large, folder, QStringLiteral("6a-large-graph-") + language);
  desktop.Controller().Run([](Session& s) { OpenInLargeGraph(s, 1); });
  large.resize(960, 600);
  Save(large, folder, QStringLiteral("6b-large-graph-stems-") + language);
  // Markers alone: height against stem number.
  desktop.Controller().Run([](Session& s) {
    ChooseAxisVariable(s, LargeChart, 1, N1);
    ChooseAxisVariable(s, LargeChart, 2, HD1);
  });
  large.resize(640, 480);
  Save(large, folder, QStringLiteral("6c-large-graph-markers-") + language);
  large.hide();
}

// The tables page with typed values from a file, with values out of range
// and thinnings that removed nothing, and the column dialog.
void SaveTables(Desktop& desktop, const QString& folder, const QString& language) {
  MainWindow& main = desktop.Main();
  SessionController& controller = desktop.Controller();
  const QString file = QStringLiteral(ORVEN_EXAMPLES_DIR "/silver-fir-typed-values.orven");
  main.Files().SetChooser([file](FileCommands::Dialog) { return file; });
  main.Files().Open();
  main.Files().SetChooser({});
  Save(main, folder, QStringLiteral("5b-tables-typed-") + language);

  // A first-year diameter far too large, and no basal area thinned in the
  // second thinning: red values and "N.A." cells.
  controller.Run([](Session& s) {
    auto column = [&s](ResultGrid grid, int variable) {
      const auto columns = s.ColumnsOf(grid);
      for (std::size_t c = 0; c < columns.size(); ++c)
        if (columns[c] == variable) return static_cast<int>(c);
      return -1;
    };
    s.ClearTable();
    GridSelectCell(s.Typing);
    s.GridSetEditText(ResultGrid::BeforeThin, column(ResultGrid::BeforeThin, D1), 1, "110");
    s.CommitEdit(ResultGrid::BeforeThin);
    for (int row = 2; row <= s.Tables.TableRowCount; ++row)
      if (s.Tables.IsThinYear[s.Results.RowYears[static_cast<std::size_t>(row - 1)]]) {
        GridSelectCell(s.Typing);
        s.GridSetEditText(ResultGrid::Thinning, column(ResultGrid::Thinning, G2), row, "0");
        s.CommitEdit(ResultGrid::Thinning);
        break;
      }
  });
  Save(main, folder, QStringLiteral("5c-tables-red-na-") + language);

  main.Action("miVariableSelection")->trigger();
  auto* dialog = main.findChild<QWidget*>(QStringLiteral("VariableForm"));
  Save(*dialog, folder, QStringLiteral("5d-column-dialog-") + language);
  dialog->hide();
}

// The help window at a topic and at its index, and the About window.
void SaveHelpAndAbout(Desktop& desktop, const QString& folder, const QString& language) {
  HelpWindow& help = desktop.Help();
  help.resize(820, 560);
  help.ShowContext(9);
  Save(help, folder, QStringLiteral("8a-help-site-index-") + language);
  help.ShowIndex();
  Save(help, folder, QStringLiteral("8b-help-index-") + language);
  help.hide();
  AboutWindow& about = desktop.About();
  about.show();
  Save(about, folder, QStringLiteral("9-about-") + language);
  about.hide();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: orven-screenshots OUTDIR\n");
    return 2;
  }
  const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
  QDir().mkpath(out);

  for (const bool english : {false, true}) {
    const QString language = english ? QStringLiteral("en") : QStringLiteral("da");
    QTemporaryDir folder;
    QFile::copy(QStringLiteral(ORVEN_PARAMETER_FILE), folder.filePath(QStringLiteral("OrvenPar.drc")));
    // The help files and rich-text pages as the build made them.
    for (const QString& name : QDir(QStringLiteral(ORVEN_DATA_FILES_DIR)).entryList({QStringLiteral("Fenlo*")}))
      QFile::copy(QStringLiteral(ORVEN_DATA_FILES_DIR "/") + name, folder.filePath(name));
    QDir::setCurrent(folder.path());

    PrintingPresenter presenter;
    Desktop desktop(&presenter);
    if (english) desktop.Welcome().findChild<QWidget*>(QStringLiteral("btnLanguage"))->metaObject()->invokeMethod(
        desktop.Welcome().findChild<QWidget*>(QStringLiteral("btnLanguage")), "click");
    desktop.Start();
    MainWindow& main = desktop.Main();
    SessionController& controller = desktop.Controller();
    QApplication::processEvents();
    Save(desktop.Welcome(), out, QStringLiteral("welcome-window-") + language);
    desktop.Welcome().findChild<QWidget*>(QStringLiteral("btnAccept"))->metaObject()->invokeMethod(
        desktop.Welcome().findChild<QWidget*>(QStringLiteral("btnAccept")), "click");

    SavePage(main, MainWindow::WelcomeTab, out, QStringLiteral("1-welcome-") + language);
    SavePage(main, MainWindow::GuideTab, out, QStringLiteral("2-guide-") + language);
    SavePage(main, MainWindow::SiteTab, out, QStringLiteral("3a-site-start-") + language);
    controller.Run([](Session& s) { testing::WalkToTheThinningPage(s); });
    SavePage(main, MainWindow::SiteTab, out, QStringLiteral("3b-site-") + language);
    SavePage(main, MainWindow::ThinningTab, out, QStringLiteral("4a-thinning-") + language);
    controller.Run([](Session& s) { s.rgPresetClick(1); });
    SavePage(main, MainWindow::ThinningTab, out, QStringLiteral("4b-thinning-first-last-") + language);
    controller.Run([](Session& s) { s.rgPresetClick(0); });
    controller.Run([](Session& s) { testing::FinishTheWalk(s); });
    SavePage(main, MainWindow::ThinningTab, out, QStringLiteral("4c-thinning-final-") + language);
    SavePage(main, MainWindow::TablesTab, out, QStringLiteral("5-tables-") + language);
    // The graphs of the same table, before the typed values of the next
    // pictures make it a stand no forester would draw.
    SavePage(main, MainWindow::GraphsTab, out, QStringLiteral("6-graphs-") + language);
    SaveLargeGraph(desktop, out, language);
    SaveTables(desktop, out, language);
    SavePage(main, MainWindow::DescriptionTab, out, QStringLiteral("7-description-") + language);
    SaveHelpAndAbout(desktop, out, language);
    controller.Run([](Session& s) { s.TableChanged = false; });  // no close question
    main.close();
  }
  return 0;
}
