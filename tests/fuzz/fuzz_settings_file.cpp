// The settings file reader on any bytes, through the Open command and the
// projection it runs; a file that opens must save and open again.

#include "FuzzSupport.h"

using namespace orven;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static fuzz::ScratchFile file(".orven");
  const std::string& path = file.Write(data, size);
  Session s(fuzz::ShippedStore(), Language::English, '.');
  const OpenOutcome outcome = s.Open(path);
  fuzz::CheckSession(s, outcome == OpenOutcome::Opened);
  const MessageList messages = s.TakeMessages();
  if (outcome == OpenOutcome::Missing) fuzz::Fail("a readable file counted as missing");
  if (outcome == OpenOutcome::Damaged) {
    fuzz::Expect(!messages.empty() && messages.back().Text.find("Invalid numeric input in line ") != std::string::npos,
                 "a damaged file without the line message");
    fuzz::Expect(s.CurrentFileName.empty(), "a damaged file became the current file");
    // What was read stays; showing the tables computes a table from it.
    s.ShowTablesPage();
    fuzz::CheckSession(s);
    return 0;
  }
  fuzz::Expect(s.CurrentFileName == path, "an opened file is not the current file");

  // What the program saves it must read back, to the same table.
  const std::string saved = s.SettingsFileText();
  file.Write(reinterpret_cast<const std::uint8_t*>(saved.data()), saved.size());
  Session again(fuzz::ShippedStore(), Language::English, '.');
  fuzz::Expect(again.Open(path) == OpenOutcome::Opened, "a saved file does not open");
  fuzz::CheckSession(again);
  fuzz::Expect(again.SettingsFileText() == saved, "a saved file does not save the same again");
  return 0;
}
