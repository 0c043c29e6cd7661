#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

namespace orven {

// The menu icon NAME: its coloured form while the item is enabled and checked (or plain enabled),
// the grey form when disabled or unchecked (QIcon modes Normal/Disabled and states On/Off).
// The items that follow their check mark (vertshift, showa0, tabdelim, semicolon,
// autoupdate, danish, english) are grey in state Off; the others only when disabled.
// A null icon for an unknown name.
QIcon MenuIcon(const QString& name);

// The welcome picture of the language, decoded through Qt's JPEG plugin; a null image if the plugin is missing.
QImage WelcomePicture(bool english);

}  // namespace orven
