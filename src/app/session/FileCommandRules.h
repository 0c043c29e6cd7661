#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/session/Session.h"

namespace orven {

// The File menu's side of the session that has no dialog in it: the question
// before a table is replaced, the texts of the file dialogs, the export file
// and the recent file.

// Asked by Open while the table has unsaved changes.
std::optional<Message> OpenQuestion(const Session& session);

// One entry of a file dialog's filter list.
struct FileFilter {
  std::string Name;     // "Text files (*.txt)"
  std::string Pattern;  // "*.txt"
};

struct FileDialogTexts {
  std::string SaveTitle, OpenTitle, ExportTitle;
  std::vector<FileFilter> Filters;  // text files, tables, all files
  static constexpr int TableFilter = 1;  // the settings-file dialogs start on the tables
  static constexpr int TextFilter = 0;   // the export dialog on the text files
};
FileDialogTexts FileDialogTextsOf(Language language);

// A chosen file name with the dialog's default extension when it has none.
std::string WithDefaultExtension(const std::string& path, const std::string& extension);

// Export to text file: the table text with the chosen delimiter; false, with
// a message, when the file cannot be written.
bool ExportToFile(Session& session, const std::string& path);

// Open: reads the file; once opened, every step number shows as done.
OpenOutcome OpenTable(Session& session, const std::string& path);
// Opens the recent file; when it is gone it is forgotten (the item disappears).
OpenOutcome OpenRecentFile(Session& session);

}  // namespace orven
