#pragma once

#include <QGroupBox>
#include <QStringList>
#include <vector>

class QButtonGroup;
class QRadioButton;
class QVBoxLayout;

namespace orven {

// A titled group of radio buttons that may have no item chosen, as the
// workflow starts. Clicked() reports only the user's choices; the view sets
// the shown item from the session with SetItemIndex.
class RadioGroup : public QGroupBox {
  Q_OBJECT

public:
  explicit RadioGroup(const char* objectName, QWidget* parent = nullptr);

  void SetItems(const QStringList& items);
  int ItemIndex() const;
  void SetItemIndex(int index);  // -1: none chosen
  int Count() const { return static_cast<int>(buttons_.size()); }
  QRadioButton* Item(int index) const { return buttons_.at(static_cast<std::size_t>(index)); }

signals:
  void Clicked(int index);

private:
  QButtonGroup* group_;
  QVBoxLayout* layout_;
  std::vector<QRadioButton*> buttons_;
};

}  // namespace orven
