#include "app/windows/AxisDialog.h"

#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/SessionController.h"
#include "app/session/ChartSeries.h"
#include "catalogue/VariableCatalogue.h"

namespace orven {

AxisDialog::AxisDialog(SessionController& controller, QWidget* mainWindow)
    : ToolWindow(controller, "AxisForm", " Vælg den variabel der skal vises på aksen",
                 " Select the variable to be shown on the axis", QSize(322, 256), mainWindow) {
  setFixedSize(322, 256);  // a dialog border: not resizable
  lbAxisVariable_ = new QListWidget(this);
  lbAxisVariable_->setObjectName(QStringLiteral("lbAxisVariable"));
  lbAxisVariable_->setSelectionMode(QAbstractItemView::SingleSelection);
  btnOK_ = new QPushButton(QStringLiteral("OK"), this);
  btnOK_->setObjectName(QStringLiteral("btnOK"));
  btnOK_->setDefault(true);
  btnOK_->setAutoDefault(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 8);
  layout->addWidget(lbAxisVariable_);
  layout->addWidget(btnOK_, 0, Qt::AlignHCenter);
  connect(btnOK_, &QPushButton::clicked, this, &AxisDialog::Accept);
  connect(lbAxisVariable_, &QListWidget::itemActivated, this, &AxisDialog::Accept);
  SetVariableStrings();
}

void AxisDialog::Target(int chart, int kind) {
  axisChart_ = chart;
  axisKind_ = kind;
  show();
  raise();
}

void AxisDialog::SetLanguage() {
  ToolWindow::SetLanguage();
  if (lbAxisVariable_) SetVariableStrings();
}

void AxisDialog::SetVariableStrings() {
  const Language language = controller_.session().language();
  lbAxisVariable_->clear();
  for (int v = 0; v < VariableCount; ++v) lbAxisVariable_->addItem(QString::fromStdString(NameOf(v, language)));
}

void AxisDialog::showEvent(QShowEvent* event) {
  ToolWindow::showEvent(event);  // the caption and the list, with nothing selected
  lbAxisVariable_->setFocus();
}

void AxisDialog::Accept() {
  hide();
  const QList<QListWidgetItem*> selected = lbAxisVariable_->selectedItems();
  const std::optional<int> item =
      selected.isEmpty() ? std::nullopt : std::optional<int>(lbAxisVariable_->row(selected.first()));
  const int chart = axisChart_, kind = axisKind_;
  // Redrawn even when nothing changed.
  controller_.Run([&](Session& s) { ChooseAxisVariable(s, chart, kind, item); });
}

}  // namespace orven
