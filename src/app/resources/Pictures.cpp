#include "app/resources/Pictures.h"

#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

#include <algorithm>
#include <array>

namespace orven {
namespace {

// Items whose picture shows their check mark rather than their enabled state.
bool FollowsCheckMark(const QString& name) {
  static const std::array<QString, 7> kChecked = {
      QStringLiteral("vertshift"), QStringLiteral("showa0"),     QStringLiteral("tabdelim"),
      QStringLiteral("semicolon"), QStringLiteral("autoupdate"), QStringLiteral("danish"),
      QStringLiteral("english")};
  return std::find(kChecked.begin(), kChecked.end(), name) != kChecked.end();
}

// Rendered ahead at the sizes menus and toolbars ask for, so that no size is scaled from
// another and every pixmap stays on the drawing's pixel grid.
constexpr std::array<int, 5> kSizes = {16, 24, 32, 48, 64};

QPixmap Render(QSvgRenderer& renderer, int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  renderer.render(&painter, QRectF(0, 0, size, size));
  painter.end();
  return QPixmap::fromImage(image);
}

}  // namespace

QIcon MenuIcon(const QString& name) {
  const QString onFile = QStringLiteral(":/icons/%1.svg").arg(name);
  const QString offFile = QStringLiteral(":/icons/%1-off.svg").arg(name);
  if (!QFile::exists(onFile) || !QFile::exists(offFile)) return QIcon();
  QSvgRenderer on(onFile);
  QSvgRenderer off(offFile);
  if (!on.isValid() || !off.isValid()) return QIcon();
  const bool checkable = FollowsCheckMark(name);
  QIcon icon;
  for (int size : kSizes) {
    const QPixmap coloured = Render(on, size);
    const QPixmap grey = Render(off, size);
    for (QIcon::Mode mode : {QIcon::Normal, QIcon::Active, QIcon::Selected}) {
      icon.addPixmap(coloured, mode, QIcon::On);
      icon.addPixmap(checkable ? grey : coloured, mode, QIcon::Off);
    }
    icon.addPixmap(grey, QIcon::Disabled, QIcon::On);
    icon.addPixmap(grey, QIcon::Disabled, QIcon::Off);
  }
  return icon;
}

QImage WelcomePicture(bool english) {
  QImageReader reader(english ? QStringLiteral(":/welcome/welcome-uk.jpg")
                              : QStringLiteral(":/welcome/welcome-dk.jpg"),
                      "jpeg");
  return reader.read();
}

}  // namespace orven
