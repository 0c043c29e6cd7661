#include "app/pages/TablesPage.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

#include "app/SessionController.h"
#include "app/texts/Captions.h"

namespace orven {
namespace {

constexpr Caption Headings[] = {
    {"lblBeforeThin", "F&ør tynding", "&Before thinning"},
    {"lblThinning", "&Tynding", "&Thinning"},
    {"lblRemaining", "&Blivende bestand og tilvækst", "&Remaining stand and growth"},
};
constexpr const char* GridNames[] = {"sgBeforeThin", "sgThinning", "sgRemaining"};

}  // namespace

TablesPage::TablesPage(SessionController& controller, QWidget* parent)
    : Page(controller, "TabSheet5", parent), lblErrorMsgs_(new QLabel(this)) {
  auto* layout = new QGridLayout(this);
  for (int i = 0; i < 3; ++i) {
    auto* heading = new QLabel(this);
    heading->setObjectName(QString::fromUtf8(Headings[i].Name));
    heading->setAlignment(Qt::AlignCenter);
    auto* grid = new QTableWidget(this);
    grid->setObjectName(QString::fromUtf8(GridNames[i]));
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->setVisible(false);
    heading->setBuddy(grid);
    layout->addWidget(heading, 0, i);
    layout->addWidget(grid, 1, i);
    layout->setColumnStretch(i, 1);
    headings_[static_cast<std::size_t>(i)] = heading;
    grids_[static_cast<std::size_t>(i)] = grid;
  }
  lblErrorMsgs_->setObjectName(QStringLiteral("lblErrorMsgs"));
  QPalette red = lblErrorMsgs_->palette();
  red.setColor(QPalette::WindowText, Qt::red);
  lblErrorMsgs_->setPalette(red);
  layout->addWidget(lblErrorMsgs_, 2, 0, 1, 3);
  Retranslate();
  Refresh();
}

void TablesPage::Retranslate() { ApplyCaptions(this, Headings, controller_.English()); }

void TablesPage::Refresh() {
  const Session& s = controller_.session();
  const bool enabled = s.Steps.FinalEnabled;
  for (std::size_t g = 0; g < 3; ++g) {
    const GridTexts& texts = s.Results.Grids[g];
    QTableWidget* grid = grids_[g];
    grid->setEnabled(enabled);
    headings_[g]->setEnabled(enabled);
    grid->setColumnCount(static_cast<int>(texts.Headers.size()));
    grid->setRowCount(static_cast<int>(texts.Rows.size()));
    QStringList headers;
    for (std::size_t c = 0; c < texts.Headers.size(); ++c)
      headers << QString::fromStdString(texts.Headers[c] + "\n" + texts.Units[c]);
    grid->setHorizontalHeaderLabels(headers);
    for (std::size_t r = 0; r < texts.Rows.size(); ++r)
      for (std::size_t c = 0; c < texts.Rows[r].size(); ++c) {
        auto* item = new QTableWidgetItem(QString::fromStdString(texts.Rows[r][c]));
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->setItem(static_cast<int>(r), static_cast<int>(c), item);
      }
    grid->resizeColumnsToContents();
  }
  lblErrorMsgs_->setText(QString::fromStdString(s.Results.ErrorLine));
}

}  // namespace orven
