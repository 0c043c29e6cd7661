#pragma once

#include <QStringList>
#include <array>
#include <functional>

#include "app/pages/Page.h"

class QFrame;
class QGroupBox;
class QLabel;
class QTableWidget;
class QToolButton;

namespace orven {

class CheckedEdit;
class RadioGroup;
class Session;
class StepLabel;
enum class SiteEdit;

// TabSheet3, the species and site page: workflow steps 1 to 5. It shows the
// session's site page (SiteView, Steps, the site parameters) and hands every
// click, edit and keystroke to the session's handlers.
class SitePage : public Page {
  Q_OBJECT

public:
  SitePage(SessionController& controller, QWidget* parent);

  void Refresh() override;
  void Retranslate() override;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void BuildControls();
  void BuildLayout();
  void Connect();
  void ConnectHelp();
  void OrderTabs();
  CheckedEdit* NewSiteEdit(const char* name, SiteEdit edit);
  QTableWidget* NewSiteGrid(const char* name, int rows, bool inventory);

  // Runs a handler that estimates the site parameter; a grid whose data
  // failed gets the focus.
  void RunEstimate(const std::function<void(Session&)>& handler);
  void GridEdited(bool inventory, int row, int column, const QString& text);
  void ToggleA0parameter(bool focusEdit);
  void PopUpHelp(const char* menuName, int context);
  int HelpContextOf(const QWidget* widget) const;

  RadioGroup* rgSpecies_ = nullptr;
  RadioGroup* rgSiteQuality_ = nullptr;
  RadioGroup* rgHeight_ = nullptr;
  RadioGroup* rgVolume_ = nullptr;
  QLabel* lblInventory_ = nullptr;
  QTableWidget* sgInventory_ = nullptr;
  QLabel* lblSoil_ = nullptr;
  QTableWidget* sgSoil_ = nullptr;
  QGroupBox* gbSiteIndex_ = nullptr;
  QLabel* lblStandHeight_ = nullptr;
  QLabel* lblSiteClass_ = nullptr;
  QLabel* lblYieldClass_ = nullptr;
  QLabel* lblStandAge_ = nullptr;
  CheckedEdit* edtStandHeight_ = nullptr;
  CheckedEdit* edtSiteClass_ = nullptr;
  CheckedEdit* edtYieldClass_ = nullptr;
  CheckedEdit* edtStandAge_ = nullptr;
  QGroupBox* gbGcorrection_ = nullptr;
  QLabel* lblGcorrection_ = nullptr;
  CheckedEdit* edtGcorrection_ = nullptr;
  QGroupBox* gbA0parameter_ = nullptr;
  QFrame* pnlA0parameter_ = nullptr;
  QLabel* lblA0parameter_ = nullptr;
  CheckedEdit* edtA0parameter_ = nullptr;
  QGroupBox* gbSiteQuality_ = nullptr;
  QLabel* lblSC_ = nullptr;
  QLabel* lblYC_ = nullptr;
  QLabel* lblSI_ = nullptr;
  QLabel* lblA0_ = nullptr;
  std::array<StepLabel*, 6> lblStep_{};  // [1..5]: lblStep21 .. lblStep25
  QToolButton* sbtnHelpP3_ = nullptr;
  QToolButton* sbtnPrevious1_ = nullptr;
  QToolButton* sbtnNext1_ = nullptr;

  QStringList siteQualityItems_;  // as last shown, to rebuild only on a change
};

}  // namespace orven
