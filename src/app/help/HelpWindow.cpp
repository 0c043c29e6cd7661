#include "app/help/HelpWindow.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/SessionController.h"
#include "app/help/ChmFile.h"
#include "app/session/HelpTopics.h"

namespace orven {
namespace {

constexpr int LocalRole = Qt::UserRole;

QUrl TopicUrl(const std::string& path) {
  QUrl url;
  url.setScheme(QStringLiteral("chm"));
  url.setPath(QString::fromStdString(path.empty() || path[0] != '/' ? "/" + path : path));
  return url;
}

}  // namespace

QVariant ChmBrowser::loadResource(int type, const QUrl& name) {
  if (!file_) return {};
  QUrl url = name;
  if (url.scheme().isEmpty()) url = source().resolved(name);
  const std::optional<std::string> bytes = file_->Read(url.path().toStdString());
  if (!bytes) return {};
  const QByteArray data(bytes->data(), static_cast<qsizetype>(bytes->size()));
  if (type == QTextDocument::HtmlResource || type == QTextDocument::StyleSheetResource)
    return QString::fromUtf8(data);
  return data;
}

HelpWindow::HelpWindow(SessionController& controller, QWidget* parent)
    : QWidget(parent, Qt::Window),
      controller_(controller),
      tabs_(new QTabWidget(this)),
      contents_(new QTreeWidget(this)),
      indexEdit_(new QLineEdit(this)),
      index_(new QListWidget(this)),
      browser_(new ChmBrowser(this)),
      back_(new QToolButton(this)),
      forward_(new QToolButton(this)) {
  setObjectName(QStringLiteral("HelpForm"));
  contents_->setObjectName(QStringLiteral("tvContents"));
  contents_->setHeaderHidden(true);
  indexEdit_->setObjectName(QStringLiteral("edtIndex"));
  index_->setObjectName(QStringLiteral("lbIndex"));
  browser_->setObjectName(QStringLiteral("hbTopic"));
  browser_->setOpenLinks(true);
  back_->setObjectName(QStringLiteral("btnBack"));
  forward_->setObjectName(QStringLiteral("btnForward"));
  back_->setArrowType(Qt::LeftArrow);
  forward_->setArrowType(Qt::RightArrow);
  back_->setEnabled(false);
  forward_->setEnabled(false);

  auto* indexPage = new QWidget(this);
  auto* indexLayout = new QVBoxLayout(indexPage);
  indexLayout->setContentsMargins(2, 2, 2, 2);
  indexLayout->addWidget(indexEdit_);
  indexLayout->addWidget(index_, 1);
  tabs_->addTab(contents_, QString());
  tabs_->addTab(indexPage, QString());

  auto* right = new QWidget(this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(back_);
  buttons->addWidget(forward_);
  buttons->addStretch(1);
  auto* rightLayout = new QVBoxLayout(right);
  rightLayout->setContentsMargins(0, 0, 0, 0);
  rightLayout->addLayout(buttons);
  rightLayout->addWidget(browser_, 1);

  auto* splitter = new QSplitter(this);
  splitter->addWidget(tabs_);
  splitter->addWidget(right);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({220, 560});
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(splitter);
  resize(800, 560);

  connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QToolButton::setEnabled);
  connect(contents_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
    ShowTopic(item->data(0, LocalRole).toString().toStdString());
  });
  connect(index_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { ShowTopic(item->data(LocalRole).toString().toStdString()); });
  connect(index_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { ShowTopic(item->data(LocalRole).toString().toStdString()); });
  connect(indexEdit_, &QLineEdit::textEdited, this, &HelpWindow::FilterIndex);
  connect(indexEdit_, &QLineEdit::returnPressed, this, [this] {
    if (QListWidgetItem* item = index_->currentItem()) ShowTopic(item->data(LocalRole).toString().toStdString());
  });
  SetLanguage();
}

HelpWindow::~HelpWindow() = default;

bool HelpWindow::FileOpen() const { return file_ && file_->IsOpen(); }

QUrl HelpWindow::CurrentTopic() const { return browser_->source(); }

void HelpWindow::SetLanguage() {
  const bool english = controller_.English();
  tabs_->setTabText(0, english ? QStringLiteral("Contents") : QStringLiteral("Indhold"));
  tabs_->setTabText(1, english ? QStringLiteral("Index") : QStringLiteral("Indeks"));
  back_->setToolTip(english ? QStringLiteral("Back") : QStringLiteral("Tilbage"));
  forward_->setToolTip(english ? QStringLiteral("Forward") : QStringLiteral("Frem"));
  indexEdit_->setPlaceholderText(english ? QStringLiteral("Type a keyword") : QStringLiteral("Skriv et stikord"));
  if (!FileOpen()) setWindowTitle(english ? QStringLiteral("ORVEN Help") : QStringLiteral("ORVEN Hjælp"));
}

void HelpWindow::OpenFile() {
  const QString name = QString::fromUtf8(HelpFileName(controller_.session().language()));
  if (name == fileName_ && FileOpen()) return;
  fileName_ = name;
  browser_->SetFile(nullptr);
  browser_->clearHistory();
  file_.reset();
  contents_->clear();
  index_->clear();
  // chmlib reads a file by path; the bare name is the one in the working folder.
  if (QFileInfo::exists(name)) file_ = std::make_unique<ChmFile>(QFileInfo(name).absoluteFilePath().toStdString());
  SetLanguage();
  if (!FileOpen()) {
    file_.reset();
    return;
  }
  browser_->SetFile(file_.get());
  if (!file_->Title().empty()) setWindowTitle(QString::fromStdString(file_->Title()));
  FillContents();
  FillIndex();
}

void HelpWindow::FillContents() {
  const std::optional<std::string> sitemap = file_->Read(file_->ContentsFile());
  if (!sitemap) return;
  std::vector<QTreeWidgetItem*> parents;
  for (const SitemapEntry& entry : ReadSitemap(*sitemap)) {
    const std::size_t level = std::min<std::size_t>(static_cast<std::size_t>(entry.Level), parents.size());
    parents.resize(level);
    auto* item = parents.empty() ? new QTreeWidgetItem(contents_) : new QTreeWidgetItem(parents.back());
    item->setText(0, QString::fromStdString(entry.Name));
    item->setData(0, LocalRole, QString::fromStdString(entry.Local));
    parents.push_back(item);
  }
  contents_->expandAll();
}

void HelpWindow::FillIndex() {
  const std::optional<std::string> sitemap = file_->Read(file_->IndexFile());
  if (!sitemap) return;
  for (const SitemapEntry& entry : ReadSitemap(*sitemap)) {
    auto* item = new QListWidgetItem(QString::fromStdString(entry.Name), index_);
    item->setData(LocalRole, QString::fromStdString(entry.Local));
  }
}

void HelpWindow::FilterIndex(const QString& text) {
  for (int row = 0; row < index_->count(); ++row) {
    if (index_->item(row)->text().startsWith(text, Qt::CaseInsensitive)) {
      index_->setCurrentRow(row);
      index_->scrollToItem(index_->item(row), QAbstractItemView::PositionAtTop);
      return;
    }
  }
}

void HelpWindow::ShowTopic(const std::string& path) {
  if (!file_ || path.empty()) return;
  browser_->setSource(TopicUrl(path), QTextDocument::HtmlResource);
}

void HelpWindow::ShowContext(int context) {
  ++requests_;
  lastContext_ = context;
  OpenFile();
  const bool english = controller_.English();
  if (!FileOpen()) {
    browser_->setSource(QUrl());
    browser_->setPlainText((english ? QStringLiteral("   Error: The help file was not found: ")
                                    : QStringLiteral("   Fejl: Hjælpefilen blev ikke fundet: ")) +
                           fileName_);
  } else if (const std::optional<std::string> topic = file_->TopicOf(static_cast<std::uint32_t>(context))) {
    ShowTopic(*topic);
  } else {
    browser_->setSource(QUrl());
    browser_->setPlainText((english ? QStringLiteral("   Error: Topic %1 was not found in %2")
                                    : QStringLiteral("   Fejl: Emne %1 blev ikke fundet i %2"))
                               .arg(context)
                               .arg(fileName_));
  }
  tabs_->setCurrentIndex(0);
  show();
  raise();
  activateWindow();
}

void HelpWindow::ShowIndex() {
  ShowContext(help_topic::Contents);
  tabs_->setCurrentIndex(1);
  indexEdit_->setFocus();
}

}  // namespace orven
