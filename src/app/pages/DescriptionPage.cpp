#include "app/pages/DescriptionPage.h"

#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/SessionController.h"
#include "app/help/HelpKey.h"
#include "app/help/RichTextView.h"
#include "app/session/HelpTopics.h"
#include "app/texts/Captions.h"

namespace orven {
namespace {

QString TemplateFile(Language language) { return QString::fromUtf8(DescriptionFileName(language)); }

// The template of a language as the session keeps it: one text a line.
std::vector<std::string> TemplateLines(Language language) {
  bool found = false;
  const RichTextDocument document = ReadRichTextFile(TemplateFile(language), &found);
  return found ? document.Lines() : BuiltInDescriptionTemplate(language);
}

}  // namespace

DescriptionPage::DescriptionPage(SessionController& controller, QWidget* parent)
    : Page(controller, "TabSheet7", parent),
      lblDescription_(new QLabel(this)),
      reDescription_(new QTextEdit(this)),
      sbtnHelpP7_(new QToolButton(this)) {
  auto* header = new QWidget(this);
  header->setObjectName(QStringLiteral("pnlDescrHeader"));
  lblDescription_->setObjectName(QStringLiteral("lblDescription"));
  lblDescription_->setBuddy(reDescription_);
  reDescription_->setObjectName(QStringLiteral("reDescription"));
  reDescription_->setAcceptRichText(true);
  reDescription_->setTabChangesFocus(false);
  reDescription_->setContextMenuPolicy(Qt::CustomContextMenu);
  QFont font = reDescription_->font();
  font.setPixelSize(16);
  reDescription_->setFont(font);
  sbtnHelpP7_->setObjectName(QStringLiteral("sbtnHelpP7"));
  sbtnHelpP7_->setText(QStringLiteral("?"));
  sbtnHelpP7_->setAutoRaise(true);
  auto* headerLayout = new QHBoxLayout(header);
  headerLayout->addWidget(lblDescription_);
  headerLayout->addStretch(1);
  headerLayout->addWidget(sbtnHelpP7_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(header);
  layout->addWidget(reDescription_, 1);
  reDescription_->installEventFilter(this);
  connect(reDescription_, &QWidget::customContextMenuRequested, this, &DescriptionPage::ShowHelpMenu);
  AddHelpKey(*this);

  // The session asks for the template on a new table and on a language
  // switch before typing; the first one is for the start-up.
  controller_.Run([](Session& s) {
    s.DescriptionTemplate = TemplateLines;
    if (!s.DescriptionEdited) s.Description = TemplateLines(s.language());
  });
  Retranslate();
  Refresh();
}

bool DescriptionPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == reDescription_ && event->type() == QEvent::KeyPress) {
    // After the key has changed the text, hand the lines to the session.
    QMetaObject::invokeMethod(
        this,
        [this] {
          std::vector<std::string> lines;
          for (const QString& line : reDescription_->toPlainText().split(QLatin1Char('\n')))
            lines.push_back(line.toStdString());
          controller_.Run([&lines](Session& s) { s.DescriptionTyped(std::move(lines)); });
        },
        Qt::QueuedConnection);
  }
  return Page::eventFilter(watched, event);
}

void DescriptionPage::ShowHelpMenu(const QPoint& at) {
  auto* menu = window()->findChild<QMenu*>(QStringLiteral("pmHelp7s1"));
  if (!menu || menu->actions().isEmpty()) return;
  QAction* chosen = menu->exec(reDescription_->viewport()->mapToGlobal(at));
  if (chosen && chosen == menu->actions().first()) emit HelpRequested(HelpMenuContext("pmHelp7s1", {}));
}

void DescriptionPage::Refresh() {
  const Session& s = controller_.session();
  const bool enabled = s.Steps.FinalEnabled;
  lblDescription_->setEnabled(enabled);
  reDescription_->setEnabled(enabled);
  sbtnHelpP7_->setEnabled(enabled);
  QStringList lines;
  for (const std::string& line : s.Description) lines << QString::fromStdString(line);
  const QString text = lines.join(QLatin1Char('\n'));
  if (reDescription_->toPlainText() == text) return;
  // The template file's own formatting while its text stands untouched.
  bool found = false;
  const RichTextDocument file = ReadRichTextFile(TemplateFile(s.language()), &found);
  if (!s.DescriptionEdited && found && file.Lines() == s.Description)
    FillTextDocument(*reDescription_->document(), file);
  else
    reDescription_->setPlainText(text);
}

void DescriptionPage::Retranslate() {
  const bool english = controller_.English();
  lblDescription_->setText(english ? QStringLiteral("&Describe the growth and yield table here:")
                                   : QStringLiteral("&Beskriv produktionsoversigten her:"));
  reDescription_->setAccessibleName(WithoutMnemonic(lblDescription_->text()));
  sbtnHelpP7_->setToolTip(english ? QStringLiteral("Help") : QStringLiteral("Hjælp"));
  sbtnHelpP7_->setAccessibleName(sbtnHelpP7_->toolTip());
}

}  // namespace orven
