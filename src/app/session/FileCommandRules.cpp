#include "app/session/FileCommandRules.h"

#include <fstream>

namespace orven {

std::optional<Message> OpenQuestion(const Session& session) {
  if (!session.TableChanged) return std::nullopt;
  const bool english = session.language() == Language::English;
  return Message{MessageKind::Question,
                 english ? "   You have changed the current growth and yield table!   \r\n"
                           "   Do you want to open a new growth and yield table and loose the current one?   "
                         : "   Du har udført ændringer i den aktuelle produktionsoversigt!   \r\n"
                           "   Ønsker du at åbne en ny produktionsoversigt og miste den aktuelle?   ",
                 english ? " Overwrite current growth and yield table?" : " Overskriv den aktuelle produktionsoversigt?"};
}

FileDialogTexts FileDialogTextsOf(Language language) {
  if (language == Language::English)
    return {" Save the growth and yield table as: ",
            " Open a growth and yield table ",
            " Export the growth and yield table as: ",
            {{"Text files (*.txt)", "*.txt"}, {"Growth and yield tables (*.orven)", "*.orven"}, {"All files (*.*)", "*.*"}}};
  return {" Gem produktionsoversigten som: ",
          " Åbn en eksisterende produktionsoversigt ",
          " Eksporter produktionsoversigten som: ",
          {{"Tekstfiler (*.txt)", "*.txt"}, {"Produktionsoversigter (*.orven)", "*.orven"}, {"Alle filer (*.*)", "*.*"}}};
}

std::string WithDefaultExtension(const std::string& path, const std::string& extension) {
  const auto separator = path.find_last_of("/\\");
  const auto dot = path.find_last_of('.');
  if (path.empty() || (dot != std::string::npos && (separator == std::string::npos || dot > separator))) return path;
  return path + "." + extension;
}

bool ExportToFile(Session& session, const std::string& path) {
  const std::string text = session.ExportText(session.TabDelimiter ? TabDelimiter : SemicolonDelimiter);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (file) file.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (file) file.close();
  if (file) return true;
  const bool english = session.language() == Language::English;
  session.MessageSink().push_back(
      {MessageKind::Error,
       std::string(english ? "   The file could not be written:   " : "   Filen kunne ikke skrives:   ") + "\r\n   " +
           path + "   ",
       {}});
  return false;
}

OpenOutcome OpenTable(Session& session, const std::string& path) {
  const OpenOutcome outcome = session.Open(path);
  if (outcome == OpenOutcome::Opened) session.Steps.LabelBlue.fill(false);
  return outcome;
}

OpenOutcome OpenRecentFile(Session& session) {
  const std::string path = session.RecentFileName;
  const OpenOutcome outcome = OpenTable(session, path);
  if (outcome == OpenOutcome::Missing) session.RecentFileName.clear();
  return outcome;
}

}  // namespace orven
