#include "app/windows/ColumnDialog.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>

#include "app/SessionController.h"
#include "app/session/TablesPageRules.h"
#include "app/texts/Captions.h"

namespace orven {
namespace {

constexpr const char* ListNames[] = {"clbBeforeThin", "clbThinning", "clbRemaining"};
constexpr Caption Labels[] = {
    {"lblBeforeThin", "&Før tynding", "&Before thinning"},
    {"lblThinning", "&Tynding", "&Thinning"},
    {"lblRemaining", "&Efter tynding og tilvækst", "&Remaining stand and growth"},
};
constexpr int ItemCounts[] = {ColumnSelection::BeforeThinItems, ColumnSelection::ThinningItems,
                              ColumnSelection::RemainingItems};

int VariableOfItem(int list, int item) {
  if (list == 0) return BeforeThinItemVariable(item);
  return list == 1 ? ThinningItemVariable(item) : RemainingItemVariable(item);
}

std::array<bool, ColumnSelection::Slots>& ChecksOf(ColumnSelection& columns, int list) {
  if (list == 0) return columns.BeforeThinChecked;
  return list == 1 ? columns.ThinningChecked : columns.RemainingChecked;
}

}  // namespace

ColumnDialog::ColumnDialog(SessionController& controller, QWidget* mainWindow)
    : ToolWindow(controller, "VariableForm", " Vælg de variabler der skal vises i oversigten",
                 " Select variables to be shown in the growth and yield table", QSize(760, 520), mainWindow) {
  auto* layout = new QGridLayout(this);
  for (int list = 0; list < 3; ++list) {
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromUtf8(Labels[list].Name));
    auto* box = new QListWidget(this);
    box->setObjectName(QString::fromUtf8(ListNames[list]));
    for (int item = 0; item < ItemCounts[list]; ++item) {
      auto* entry = new QListWidgetItem(box);
      entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
      entry->setCheckState(Qt::Unchecked);
    }
    label->setBuddy(box);
    layout->addWidget(label, 0, list);
    layout->addWidget(box, 1, list);
    labels_[static_cast<std::size_t>(list)] = label;
    lists_[static_cast<std::size_t>(list)] = box;
    connect(box, &QListWidget::itemChanged, this, [this, list](QListWidgetItem* item) { ItemChanged(list, item); });
  }
  SetLanguage();
}

void ColumnDialog::SetLanguage() {
  ToolWindow::SetLanguage();
  ApplyCaptions(this, Labels, controller_.English());
  SetVariableStrings();
}

void ColumnDialog::SetVariableStrings() {
  const Session& s = controller_.session();
  ColumnSelection columns = s.Columns;
  filling_ = true;
  for (int list = 0; list < 3; ++list) {
    QListWidget* box = lists_[static_cast<std::size_t>(list)];
    const auto& checks = ChecksOf(columns, list);
    for (int item = 0; item < ItemCounts[list]; ++item) {
      QListWidgetItem* entry = box->item(item);
      entry->setText(QString::fromStdString(NameOf(VariableOfItem(list, item), s.language())));
      entry->setCheckState(checks[static_cast<std::size_t>(item)] ? Qt::Checked : Qt::Unchecked);
    }
    // Every name readable without scrolling sideways, in either language.
    box->setMinimumWidth(box->sizeHintForColumn(0) + 2 * box->frameWidth() + 8);
  }
  filling_ = false;
  if (width() < sizeHint().width()) resize(sizeHint().width(), height());
}

void ColumnDialog::ItemChanged(int list, QListWidgetItem* item) {
  if (filling_) return;
  const int row = lists_[static_cast<std::size_t>(list)]->row(item);
  const bool checked = item->checkState() == Qt::Checked;
  // The check marks live in the session; they become columns when the dialog closes.
  ChecksOf(controller_.session().Columns, list)[static_cast<std::size_t>(row)] = checked;
}

void ColumnDialog::showEvent(QShowEvent* event) {
  ToolWindow::showEvent(event);
  SetVariableStrings();
}

void ColumnDialog::closeEvent(QCloseEvent* event) {
  ToolWindow::closeEvent(event);
  controller_.Run([](Session& s) { ColumnDialogClosed(s); });
}

}  // namespace orven
