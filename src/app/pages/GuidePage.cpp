#include "app/pages/GuidePage.h"

#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/SessionController.h"
#include "app/help/HelpKey.h"
#include "app/help/RichTextView.h"
#include "app/session/HelpTopics.h"

namespace orven {

GuidePage::GuidePage(SessionController& controller, QWidget* parent)
    : Page(controller, "TabSheet2", parent), reInfo_(new QTextBrowser(this)) {
  reInfo_->setObjectName(QStringLiteral("reInfo"));
  reInfo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  reInfo_->setReadOnly(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(reInfo_);
  AddHelpKey(*this);
  Retranslate();
}

void GuidePage::Retranslate() {
  // The information file of the language, read again on every switch.
  const Language language = controller_.session().language();
  reInfo_->clear();
  if (!LoadRichTextFile(*reInfo_->document(), QString::fromUtf8(InformationFileName(language))))
    reInfo_->setPlainText(QString::fromStdString(MissingInformationLine(language)));
}

}  // namespace orven
