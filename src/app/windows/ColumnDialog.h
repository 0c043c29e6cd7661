#pragma once

#include <array>

#include "app/windows/ToolWindow.h"

class QLabel;
class QListWidget;
class QListWidgetItem;

namespace orven {

// TVariableForm: the choice of the table columns, three check lists side by
// side. Modeless; closing it applies the choice and recomputes the table.
class ColumnDialog : public ToolWindow {
  Q_OBJECT

public:
  ColumnDialog(SessionController& controller, QWidget* mainWindow);

  void SetLanguage() override;
  // Item texts from the variable names, check marks from the session.
  void SetVariableStrings();
  QListWidget* List(int list) const { return lists_[static_cast<std::size_t>(list)]; }

protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

private:
  void ItemChanged(int list, QListWidgetItem* item);

  std::array<QLabel*, 3> labels_{};
  std::array<QListWidget*, 3> lists_{};
  bool filling_ = false;
};

}  // namespace orven
