#pragma once

#include <string>
#include <vector>

#include "model/Language.h"

namespace orven {

// What the desktop program would show in a message box. The core never shows
// anything itself: it returns the messages in order, and the view shows them.
enum class MessageKind {
  Error,        // error sound, OK box
  Information,  // warning sound, OK box
  Question,     // warning sound, Yes/No box with No as default
  Plain,        // no sound, OK box
};

struct Message {
  MessageKind Kind = MessageKind::Error;
  std::string Text;
  std::string Caption;  // questions only; other boxes carry the program's title

  bool operator==(const Message&) const = default;
};

using MessageList = std::vector<Message>;

// A text in both interface languages.
struct BilingualText {
  const char* English;
  const char* Danish;
};

inline std::string Choose(const BilingualText& text, Language language) {
  return language == Language::English ? text.English : text.Danish;
}

}  // namespace orven
