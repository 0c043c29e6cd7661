#include "app/windows/AboutWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/SessionController.h"
#include "app/help/RichTextView.h"
#include "app/session/HelpTopics.h"

namespace orven {

AboutWindow::AboutWindow(SessionController& controller, QWidget* mainWindow)
    : ToolWindow(controller, "InfoForm", " Om ORVEN", " About ORVEN", QSize(492, 371), mainWindow),
      reAbout_(new QTextBrowser(this)) {
  setMinimumSize(500, 300);
  reAbout_->setObjectName(QStringLiteral("reAbout"));
  reAbout_->setReadOnly(true);
  reAbout_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  reAbout_->setFrameShape(QFrame::NoFrame);
  reAbout_->document()->setDocumentMargin(10);
  QPalette palette = reAbout_->palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::Button));
  reAbout_->setPalette(palette);
  QFont font = reAbout_->font();
  font.setPixelSize(13);
  reAbout_->setFont(font);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(reAbout_);
  SetLanguage();
}

void AboutWindow::SetLanguage() {
  ToolWindow::SetLanguage();
  if (!reAbout_) return;  // the base class's constructor comes first
  const Language language = controller_.session().language();
  reAbout_->clear();
  if (!LoadRichTextFile(*reAbout_->document(), QString::fromUtf8(AboutFileName(language))))
    FillTextDocument(*reAbout_->document(), BuiltInAboutText(language));
}

void AboutWindow::showEvent(QShowEvent* event) {
  ToolWindow::showEvent(event);
  // Centred on the desktop each time it is shown.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

}  // namespace orven
