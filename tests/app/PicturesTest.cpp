#include "app/resources/Pictures.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>

namespace {

const char* const kIconNames[] = {
    "new",      "save",       "saveas",     "export",     "copyselection", "copytables",
    "cleartable", "deleteentry", "openexisting", "variables", "largegraph",  "incfont",
    "decfont",  "vertshift",  "showa0",     "tabdelim",   "semicolon",     "autoupdate",
    "update",   "danish",     "english"};

// Items whose picture follows the check mark; the rest follow only the enabled state.
const char* const kCheckedIcons[] = {"vertshift", "showa0",  "tabdelim", "semicolon",
                                     "autoupdate", "danish", "english"};

QImage Form(const QIcon& icon, QIcon::Mode mode, QIcon::State state) {
  return icon.pixmap(QSize(16, 16), 1.0, mode, state).toImage().convertToFormat(QImage::Format_ARGB32);
}

int OpaquePixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += qAlpha(image.pixel(x, y)) > 0;
  return count;
}

// Grey means no pixel carries more than a trace of colour.
bool IsGrey(const QImage& image) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      if (qAlpha(p) == 0) continue;
      const int spread = std::max({qRed(p), qGreen(p), qBlue(p)}) - std::min({qRed(p), qGreen(p), qBlue(p)});
      if (spread > 8) return false;
    }
  return true;
}

bool IsChecked(const std::string& name) {
  for (const char* checked : kCheckedIcons)
    if (name == checked) return true;
  return false;
}

TEST(MenuIconTest, EveryIconHasAColouredAndAGreyForm) {
  for (const char* name : kIconNames) {
    SCOPED_TRACE(name);
    const QIcon icon = orven::MenuIcon(QString::fromLatin1(name));
    ASSERT_FALSE(icon.isNull());
    const QImage on = Form(icon, QIcon::Normal, QIcon::On);
    const QImage disabled = Form(icon, QIcon::Disabled, QIcon::On);
    ASSERT_EQ(on.size(), QSize(16, 16));
    ASSERT_EQ(disabled.size(), QSize(16, 16));
    EXPECT_GT(OpaquePixels(on), 30);
    EXPECT_GT(OpaquePixels(disabled), 30);
    EXPECT_NE(on, disabled);
    EXPECT_FALSE(IsGrey(on));
    EXPECT_TRUE(IsGrey(disabled));
    // Disabled is grey whether checked or not.
    EXPECT_EQ(Form(icon, QIcon::Disabled, QIcon::Off), disabled);
  }
}

TEST(MenuIconTest, UncheckedIsGreyOnlyForItemsThatFollowTheirCheckMark) {
  for (const char* name : kIconNames) {
    SCOPED_TRACE(name);
    const QIcon icon = orven::MenuIcon(QString::fromLatin1(name));
    const QImage on = Form(icon, QIcon::Normal, QIcon::On);
    const QImage off = Form(icon, QIcon::Normal, QIcon::Off);
    const QImage grey = Form(icon, QIcon::Disabled, QIcon::Off);
    if (IsChecked(name))
      EXPECT_EQ(off, grey);
    else
      EXPECT_EQ(off, on);
    // Hovering a menu item asks for the Active mode: it keeps the item's form.
    EXPECT_EQ(Form(icon, QIcon::Active, QIcon::Off), off);
  }
}

TEST(MenuIconTest, UnknownNameGivesANullIcon) {
  EXPECT_TRUE(orven::MenuIcon(QStringLiteral("nosuchicon")).isNull());
}

TEST(WelcomePictureTest, BothLanguagesDecodeAtThePageSizeAndDiffer) {
  ASSERT_TRUE(QFile::exists(QStringLiteral(":/welcome/welcome-dk.jpg")));
  ASSERT_TRUE(QFile::exists(QStringLiteral(":/welcome/welcome-uk.jpg")));
  const QImage danish = orven::WelcomePicture(false);
  const QImage english = orven::WelcomePicture(true);
  ASSERT_FALSE(danish.isNull());
  ASSERT_FALSE(english.isNull());
  EXPECT_EQ(danish.size(), QSize(892, 475));
  EXPECT_EQ(english.size(), QSize(892, 475));
  EXPECT_NE(danish, english);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
