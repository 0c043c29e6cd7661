#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "messages/RichText.h"
#include "model/Language.h"
#include "projection/TypedValues.h"

namespace orven {

// The topic numbers of the compiled help files that the menus open; the
// controls' topics come from HelpContextOf.
namespace help_topic {
inline constexpr int Contents = 0;       // contents and index
inline constexpr int Introduction1 = 1;  // the growth models and the site-quality methods
inline constexpr int Introduction2 = 2;  // thinning regimes and reading the tables
inline constexpr int Charts = 23;
}  // namespace help_topic

// The help, information, description-template and About files of a language,
// found by bare name in the working folder.
const char* HelpFileName(Language language);
const char* InformationFileName(Language language);
const char* DescriptionFileName(Language language);
const char* AboutFileName(Language language);

// The quick-guide page without its information file.
std::string MissingInformationLine(Language language);
// The description of a new table without a template file, one text a line.
std::vector<std::string> BuiltInDescriptionTemplate(Language language);
// The About window without its file.
RichTextDocument BuiltInAboutText(Language language);
std::string AboutCaption(Language language);

// The help topic of a control (by its object name) for F1 and the pop-up
// menus: its own, or for a label or panel the topic of the control it
// belongs to; -1 for a control without one.
int HelpContextOf(std::string_view control);

// The help buttons' pages (indices of the page control: 2 site, 3 thinning
// preset, 4 tables, 6 description); -1 for another control.
int HelpButtonPage(std::string_view button);
// The controls that show the help cursor while a page's pointer is on: the
// page itself first.
std::span<const std::string_view> HelpCursorControls(int page);

// The help pointer: a page's help button turns the next click on (or, for the
// track bars and reDescription, entry into) one of its controls with a help
// handler into a help request; the control then does its normal work.
class HelpPointer {
public:
  void Press(int page);
  bool Active() const { return page_ >= 0; }
  int Page() const { return page_; }  // -1 while off
  // A click on a control: the topic to open when this ends the pointer mode.
  std::optional<int> Click(std::string_view control);
  // Entering a control: only the track bars and reDescription take it as a click.
  std::optional<int> Enter(std::string_view control);
  // A page change ends the mode on every page.
  void PageChanged() { page_ = -1; }

private:
  int page_ = -1;
};

// Whether a control serves the help pointer, and the topic its click opens.
std::optional<int> HelpPointerContext(std::string_view control);

// The topic of a help pop-up menu's item, -1 for none. `available` tells
// whether a control counts: visible for pmHelp3s4, enabled for pmHelp5s3.
int HelpMenuContext(std::string_view menu, const std::function<bool(std::string_view control)>& available);
// The controls that each help pop-up menu is attached to (control, menu).
std::span<const std::pair<std::string_view, std::string_view>> HelpMenuAttachments();
// The table pop-up's help item: the focused result grid's topic, else the
// remaining stand's.
int TableHelpContext(std::optional<ResultGrid> focused);

}  // namespace orven
