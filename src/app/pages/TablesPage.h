#pragma once

#include <QRect>
#include <array>
#include <optional>

#include "app/pages/Page.h"
#include "projection/TypedValues.h"

class QFrame;
class QLabel;
class QSplitter;
class QTableView;
class QToolButton;

namespace orven {

class CheckedEdit;
class RadioGroup;
class ResultGridDelegate;
class ResultGridModel;
struct ViewState;

// TabSheet5: the three result grids under their headings, the controls of
// the thinning interval and the rows shown, and the error line. The grids
// are views over the session's results; every keystroke, commit and choice
// goes to the session.
class TablesPage : public Page {
  Q_OBJECT

public:
  TablesPage(SessionController& controller, QWidget* parent);
  void Refresh() override;
  void Retranslate() override;

  QTableView* Grid(ResultGrid grid) const { return grids_[static_cast<std::size_t>(grid)]; }
  ResultGridDelegate* Delegate(ResultGrid grid) const { return delegates_[static_cast<std::size_t>(grid)]; }
  // The result grid holding the keyboard focus, if any.
  std::optional<ResultGrid> FocusedGrid() const;
  // The selected block of a grid: columns left..right, data rows (from 1) top..bottom.
  QRect Selection(ResultGrid grid) const;
  // The page's part of the view state for the menu rule.
  void DescribeFocus(ViewState& view) const;

signals:
  void ColumnDialogRequested();
  // The focus or the selection of a grid changed: the menus follow.
  void ViewStateChanged();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

private:
  QWidget* BuildControls();
  QWidget* NewUpDown(const char* name, int which);
  void ConnectGrid(ResultGrid grid);
  void Keystroke(ResultGrid grid, const QModelIndex& index, const QString& text, QWidget* editor);
  void Commit(ResultGrid grid);
  void FocusChanged(QWidget* old, QWidget* now);
  void ShowPopup(QTableView* grid, const QPoint& at);
  void SyncScrolling(ResultGrid leader, int value);
  void SetCaptionPositions();
  void ApplyFont();

  QWidget* pnlLabels_;
  std::array<QLabel*, 3> headings_{};
  QFrame* shChanged_;
  QSplitter* pnlTables_;
  std::array<QTableView*, 3> grids_{};
  std::array<ResultGridModel*, 3> models_{};
  std::array<ResultGridDelegate*, 3> delegates_{};
  RadioGroup* rgShowYears_;
  RadioGroup* rgThinInterval_;
  std::array<QLabel*, 2> lblThinInterval_{};
  std::array<CheckedEdit*, 2> edtThinInterval_{};
  std::array<QWidget*, 2> udThinInterval_{};
  QLabel* lblThinYear_;
  CheckedEdit* edtThinYear_;
  QLabel* lblErrorMsgs_;
  QFrame* shError_;
  QToolButton* sbtnPrevious3_;
  QToolButton* sbtnNext3_;
  int fontSize_ = 0;
  bool scrolling_ = false;
  bool refreshing_ = false;
};

}  // namespace orven
