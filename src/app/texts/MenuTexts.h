#pragma once

#include <span>

#include "app/texts/Captions.h"

namespace orven {

// The main menu, the pop-up menus and the page captions in both languages.
std::span<const Caption> MainMenuCaptions();
std::span<const Caption> PopupMenuCaptions();
std::span<const Caption> PageCaptions();

// An item of the main menu: where it sits, what it is and its shortcut.
struct MenuItem {
  const char* Name;
  const char* Parent;    // the menu it belongs to; nullptr for the menu bar
  const char* Shortcut;  // portable text, empty for none
  enum Kind { Submenu, Command, Check, Radio, Separator } Type;
};
std::span<const MenuItem> MainMenuItems();

// The previous-page item's shortcut differs by language.
const char* PreviousPageShortcut(bool english);

}  // namespace orven
