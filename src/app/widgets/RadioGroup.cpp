#include "app/widgets/RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace orven {

RadioGroup::RadioGroup(const char* objectName, QWidget* parent)
    : QGroupBox(parent), group_(new QButtonGroup(this)), layout_(new QVBoxLayout(this)) {
  setObjectName(QString::fromUtf8(objectName));
  layout_->setSpacing(2);
  connect(group_, &QButtonGroup::idClicked, this, &RadioGroup::Clicked);
}

void RadioGroup::SetItems(const QStringList& items) {
  // Texts change with the language; buttons are kept so the focus stays put.
  while (static_cast<int>(buttons_.size()) > items.size()) {
    delete buttons_.back();
    buttons_.pop_back();
  }
  for (int i = 0; i < items.size(); ++i) {
    if (i >= static_cast<int>(buttons_.size())) {
      auto* button = new QRadioButton(this);
      button->setObjectName(objectName() + QStringLiteral("_%1").arg(i));
      group_->addButton(button, i);
      layout_->addWidget(button);
      buttons_.push_back(button);
    }
    buttons_[static_cast<std::size_t>(i)]->setText(items[i]);
  }
}

int RadioGroup::ItemIndex() const { return group_->checkedId(); }

void RadioGroup::SetItemIndex(int index) {
  if (index == ItemIndex()) return;
  if (index < 0 || index >= Count()) {
    // An exclusive group cannot uncheck its last button.
    group_->setExclusive(false);
    for (QRadioButton* button : buttons_) button->setChecked(false);
    group_->setExclusive(true);
    return;
  }
  buttons_[static_cast<std::size_t>(index)]->setChecked(true);
}

}  // namespace orven
