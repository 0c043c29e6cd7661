#pragma once

#include <QObject>
#include <QString>
#include <functional>

namespace orven {

class MainWindow;
class SessionController;

// The File menu's commands with their dialogs, and the export and clipboard
// commands of the Edit menu. What a command does to the table is the
// session's; this class asks for the file names and shows the outcome.
class FileCommands : public QObject {
  Q_OBJECT

public:
  enum class Dialog { Save, Open, Export };
  // Asks for a file name; empty when cancelled. Tests answer it themselves.
  using Chooser = std::function<QString(Dialog dialog)>;

  FileCommands(SessionController& controller, MainWindow& main);

  void SetChooser(Chooser chooser) { chooser_ = std::move(chooser); }

  void Save();
  void SaveAs();
  void Open();
  void OpenExisting();
  void Export();
  void CopyAllTables();
  void CopySelection();

private:
  QString Choose(Dialog dialog);
  void Opened();

  SessionController& controller_;
  MainWindow& main_;
  Chooser chooser_;
};

}  // namespace orven
