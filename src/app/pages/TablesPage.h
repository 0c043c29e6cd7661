#pragma once

#include <array>

#include "app/pages/Page.h"

class QLabel;
class QTableWidget;

namespace orven {

// TabSheet5: the three result grids with their headings and the error line.
class TablesPage : public Page {
  Q_OBJECT

public:
  TablesPage(SessionController& controller, QWidget* parent);
  void Refresh() override;
  void Retranslate() override;

private:
  std::array<QLabel*, 3> headings_{};
  std::array<QTableWidget*, 3> grids_{};
  QLabel* lblErrorMsgs_;
};

}  // namespace orven
