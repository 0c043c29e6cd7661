#pragma once

#include <QString>
#include <span>

class QObject;
class QWidget;

namespace orven {

// One control's text in both languages, found by the control's object name.
struct Caption {
  const char* Name;
  const char* Danish;
  const char* English;
};

inline QString Pick(const Caption& caption, bool english) {
  return QString::fromUtf8(english ? caption.English : caption.Danish);
}

// Writes each caption into the object of that name below `root`: the text of
// a label, button or action, the title of a group box or menu, the tab text of
// a page. A name that is not found is skipped (a page may not exist yet).
void ApplyCaptions(QObject* root, std::span<const Caption> captions, bool english);

// The text of a caption without its mnemonic, as a screen reader says it.
QString WithoutMnemonic(QString text);

}  // namespace orven
