#include "app/windows/FileCommands.h"

#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>

#include "app/SessionController.h"
#include "app/pages/TablesPage.h"
#include "app/session/FileCommandRules.h"
#include "app/windows/MainWindow.h"

namespace orven {

FileCommands::FileCommands(SessionController& controller, MainWindow& main)
    : QObject(&main), controller_(controller), main_(main) {}

QString FileCommands::Choose(Dialog dialog) {
  if (chooser_) return chooser_(dialog);
  const FileDialogTexts texts = FileDialogTextsOf(controller_.session().language());
  QStringList filters;
  for (const FileFilter& filter : texts.Filters) filters << QString::fromStdString(filter.Name);
  QFileDialog box(&main_);
  box.setNameFilters(filters);
  switch (dialog) {
    case Dialog::Save:
      box.setWindowTitle(QString::fromStdString(texts.SaveTitle));
      box.setAcceptMode(QFileDialog::AcceptSave);
      box.setFileMode(QFileDialog::AnyFile);
      box.setDefaultSuffix(QStringLiteral("orven"));
      box.selectNameFilter(filters[FileDialogTexts::TableFilter]);
      break;
    case Dialog::Open:
      box.setWindowTitle(QString::fromStdString(texts.OpenTitle));
      box.setAcceptMode(QFileDialog::AcceptOpen);
      box.setFileMode(QFileDialog::ExistingFile);
      box.setDefaultSuffix(QStringLiteral("orven"));
      box.selectNameFilter(filters[FileDialogTexts::TableFilter]);
      break;
    case Dialog::Export:
      box.setWindowTitle(QString::fromStdString(texts.ExportTitle));
      box.setAcceptMode(QFileDialog::AcceptSave);
      box.setFileMode(QFileDialog::AnyFile);
      box.setDefaultSuffix(QStringLiteral("txt"));
      box.selectNameFilter(filters[FileDialogTexts::TextFilter]);
      break;
  }
  if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty()) return {};
  return box.selectedFiles().first();
}

void FileCommands::Save() {
  if (controller_.session().CurrentFileName.empty()) {
    SaveAs();
    return;
  }
  controller_.Run([](Session& s) { s.Save(s.CurrentFileName); });
}

void FileCommands::SaveAs() {
  const QString path = Choose(Dialog::Save);
  if (path.isEmpty()) return;
  controller_.Run([&](Session& s) {
    s.CurrentFileName = WithDefaultExtension(path.toStdString(), "orven");
    s.Save(s.CurrentFileName);
  });
}

void FileCommands::Open() {
  if (!controller_.Confirm(OpenQuestion(controller_.session()))) return;
  const QString path = Choose(Dialog::Open);
  if (path.isEmpty()) return;
  if (controller_.Run([&](Session& s) { return OpenTable(s, path.toStdString()); }) == OpenOutcome::Opened) Opened();
}

void FileCommands::OpenExisting() {
  if (!controller_.Confirm(controller_.session().NewTableQuestion())) return;
  if (controller_.Run([](Session& s) { return OpenRecentFile(s); }) == OpenOutcome::Opened) Opened();
}

void FileCommands::Opened() {
  main_.ShowPage(MainWindow::TablesTab);
  main_.RefreshMenus();
}

void FileCommands::Export() {
  const QString path = Choose(Dialog::Export);
  if (path.isEmpty()) return;
  controller_.Run([&](Session& s) { ExportToFile(s, WithDefaultExtension(path.toStdString(), "txt")); });
}

void FileCommands::CopyAllTables() {
  QGuiApplication::clipboard()->setText(QString::fromStdString(controller_.session().CopyAllText()));
}

void FileCommands::CopySelection() {
  auto* page = static_cast<TablesPage*>(main_.PageAt(MainWindow::TablesTab));
  const std::optional<ResultGrid> grid = page->FocusedGrid();
  const QRect block = grid ? page->Selection(*grid) : QRect();
  const std::optional<std::string> text = controller_.Run([&](Session& s) {
    return s.CopySelectionText(grid, block.left(), block.right(), block.top(), block.bottom());
  });
  if (text) QGuiApplication::clipboard()->setText(QString::fromStdString(*text));
}

}  // namespace orven
