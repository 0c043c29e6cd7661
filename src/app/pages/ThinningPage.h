#pragma once

#include <QHash>
#include <QPointer>
#include <array>

#include "app/pages/Page.h"

class QGroupBox;
class QLabel;
class QSlider;
class QTableWidget;
class QToolButton;

namespace orven {

class CheckedEdit;
class RadioGroup;
class StepLabel;
struct ViewState;

// The thinning-preset page (workflow steps 6 to 10): the preset approach, the
// standard regime or the first and last thinning, the age range, the
// constraints grid and the first-year state.
class ThinningPage : public Page {
  Q_OBJECT

public:
  ThinningPage(SessionController& controller, QWidget* parent);

  void Refresh() override;
  void Retranslate() override;
  // sgInitState's part of the view state for the menu rule.
  void DescribeFocus(ViewState& view) const;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  QWidget* BuildTargetGGroup();
  QWidget* BuildThinningGroup();
  QWidget* BuildAgeRangeGroup();
  void BuildGrids();
  void ConnectHandlers();
  void SetTabOrder();
  void AttachHelpMenus();
  void AttachHelpMenu(QWidget* widget, const char* menu, int context, bool withChildren);
  void ShowHelpMenu(const char* menu, int context, QWidget* widget, const QPoint& at);
  void RefreshConstraints();
  void RefreshInitState();
  void FitGrid(QTableWidget* grid, std::array<int, 3> designWidths, int columns);
  void FocusChanged(QWidget* old, QWidget* now);

  RadioGroup* rgPreset_;
  QGroupBox* gbTargetG_;
  RadioGroup* rgTargetG_;
  CheckedEdit* edtTargetG_;
  QGroupBox* gbThinning_;
  RadioGroup* rgMeasure_;
  QLabel* lblThinIset_;
  std::array<QLabel*, 2> lblThinIunit_{};  // lblThinIstart, lblThinIend
  std::array<CheckedEdit*, 2> edtThinAge_{};  // edtThinStart, edtThinEnd
  std::array<QSlider*, 4> trackBars_{};       // by TrackBar
  std::array<CheckedEdit*, 4> edtThinValue_{};  // edtThinIstart, edtThinIend, edtThinMstart, edtThinMend
  std::array<QLabel*, 3> lblI_{};
  std::array<QLabel*, 3> lblM_{};
  QGroupBox* gbAgeRange_;
  CheckedEdit* edtStartAge_;
  CheckedEdit* edtEndAge_;
  QLabel* lblConstraints_;
  QTableWidget* sgConstraints_;
  QLabel* lblInitState_;
  QTableWidget* sgInitState_;
  StepLabel *lblStep31_, *lblStep32_, *lblStep32a_, *lblStep33_, *lblStep33a_, *lblStep34_, *lblStep35_,
      *lblStep36_;
  QToolButton* sbtnHelpP4_;
  QToolButton* sbtnPrevious2_;
  QToolButton* sbtnNext2_;
  QHash<QWidget*, int> helpContexts_;  // F1 on a control, or on a control inside it
  QPointer<QWidget> lastFocus_;  // the focus before the change in progress
  bool refreshing_ = false;
};

}  // namespace orven
