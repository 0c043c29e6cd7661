#include "app/pages/GuidePage.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/SessionController.h"

namespace orven {

GuidePage::GuidePage(SessionController& controller, QWidget* parent)
    : Page(controller, "TabSheet2", parent), reInfo_(new QTextBrowser(this)) {
  reInfo_->setObjectName(QStringLiteral("reInfo"));
  reInfo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(reInfo_);
  Retranslate();
}

void GuidePage::Retranslate() {
  const bool english = controller_.English();
  const QString file = QString::fromUtf8(english ? "FenloInfUK.rtf" : "FenloInfDK.rtf");
  reInfo_->clear();
  if (!QFileInfo::exists(file)) {
    reInfo_->setPlainText((english ? QStringLiteral("   Error: The information file was not found: ")
                                   : QStringLiteral("   Fejl: Informationsfilen blev ikke fundet: ")) +
                          file);
    return;
  }
  // The rich-text reader of the information files comes with the help pages;
  // until then the page names the file it would show.
  reInfo_->setPlainText(file);
}

}  // namespace orven
