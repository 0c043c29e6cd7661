#include "app/pages/SitePage.h"

#include <QApplication>
#include <QCursor>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <cstring>

#include "app/SessionController.h"
#include "app/session/HelpTopics.h"
#include "app/session/SitePageControls.h"
#include "app/texts/SitePageTexts.h"
#include "app/widgets/CheckedEdit.h"
#include "app/widgets/RadioGroup.h"
#include "app/widgets/StepLabel.h"

namespace orven {
namespace {

// The help topic the core gives a control by its object name.
int OwnHelpContext(const QString& name) { return orven::HelpContextOf(name.toStdString()); }

// The grid's cell editor reports every keystroke, as the session keeps the
// cell texts; the text shown back is not written into an editor that already
// holds it, so the caret stays where the user put it.
class CellDelegate : public QStyledItemDelegate {
public:
  using Edited = std::function<void(int row, int column, const QString& text)>;

  CellDelegate(Edited edited, QObject* parent) : QStyledItemDelegate(parent), edited_(std::move(edited)) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor))
      connect(line, &QLineEdit::textEdited, this,
              [this, row = index.row(), column = index.column()](const QString& text) { edited_(row, column, text); });
    return editor;
  }

  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (line && line->text() == index.data(Qt::EditRole).toString()) return;
    QStyledItemDelegate::setEditorData(editor, index);
  }

private:
  Edited edited_;
};

// Disabled inputs are drawn in the button-face colour with grey text.
void GreyWhenDisabled(QWidget* widget) {
  QPalette colours = widget->palette();
  colours.setColor(QPalette::Disabled, QPalette::Base, colours.color(QPalette::Active, QPalette::Button));
  colours.setColor(QPalette::Disabled, QPalette::Text, QColor(128, 128, 128));
  widget->setPalette(colours);
}

void ShowCell(QTableWidget* grid, int row, int column, const std::string& text) {
  const QString shown = QString::fromStdString(text);
  QTableWidgetItem* item = grid->item(row, column);
  if (item->text() != shown) item->setText(shown);
}

QStringList Items(std::span<const ItemText> texts, bool english) {
  QStringList items;
  for (const ItemText& text : texts) items << Pick(text, english);
  return items;
}

}  // namespace

SitePage::SitePage(SessionController& controller, QWidget* parent) : Page(controller, "TabSheet3", parent) {
  BuildControls();
  BuildLayout();
  Connect();
  ConnectHelp();
  Retranslate();
}

CheckedEdit* SitePage::NewSiteEdit(const char* name, SiteEdit edit) {
  auto* field = new CheckedEdit(name, this);
  field->SetCheck([this, edit](const QString& text) {
    return controller_.Run([&](Session& s) { return s.SiteEditExit(edit, text.toStdString()); });
  });
  GreyWhenDisabled(field);
  return field;
}

QTableWidget* SitePage::NewSiteGrid(const char* name, int rows, bool inventory) {
  auto* grid = new QTableWidget(rows, 4, this);
  grid->setObjectName(QString::fromUtf8(name));
  grid->verticalHeader()->hide();
  grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  grid->horizontalHeader()->setHighlightSections(false);
  grid->horizontalHeader()->setSectionsClickable(false);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  // Typing starts an edit at once; a click only selects, so the first digit
  // typed after it is never taken as a search of the column.
  grid->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                        QAbstractItemView::EditKeyPressed);
  // Tab leaves the grid; the arrows move between cells.
  grid->setTabKeyNavigation(false);
  grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  for (int row = 0; row < rows; ++row)
    for (int column = 0; column < 4; ++column) grid->setItem(row, column, new QTableWidgetItem);
  for (int column = 0; column < 4; ++column) grid->setHorizontalHeaderItem(column, new QTableWidgetItem);
  grid->setItemDelegate(new CellDelegate(
      [this, inventory](int row, int column, const QString& text) { GridEdited(inventory, row, column, text); }, grid));
  GreyWhenDisabled(grid);
  grid->setContextMenuPolicy(Qt::CustomContextMenu);
  return grid;
}

void SitePage::BuildControls() {
  rgSpecies_ = new RadioGroup("rgSpecies", this);
  rgSiteQuality_ = new RadioGroup("rgSiteQuality", this);
  rgHeight_ = new RadioGroup("rgHeight", this);
  rgVolume_ = new RadioGroup("rgVolume", this);

  auto label = [this](const char* name) {
    auto* text = new QLabel(this);
    text->setObjectName(QString::fromUtf8(name));
    return text;
  };
  lblInventory_ = label("lblInventory");
  sgInventory_ = NewSiteGrid("sgInventory", InventoryRows, true);
  lblSoil_ = label("lblSoil");
  sgSoil_ = NewSiteGrid("sgSoil", 1, false);
  sgSoil_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // The soil fractions' headings differ in length; each column fits its own.
  sgSoil_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  sgSoil_->horizontalHeader()->setStretchLastSection(true);
  lblInventory_->setBuddy(sgInventory_);
  lblSoil_->setBuddy(sgSoil_);

  gbSiteIndex_ = new QGroupBox(this);
  gbSiteIndex_->setObjectName(QStringLiteral("gbSiteIndex"));
  lblStandHeight_ = label("lblStandHeight");
  lblSiteClass_ = label("lblSiteClass");
  lblYieldClass_ = label("lblYieldClass");
  lblStandAge_ = label("lblStandAge");
  edtStandHeight_ = NewSiteEdit("edtStandHeight", SiteEdit::StandHeight);
  edtSiteClass_ = NewSiteEdit("edtSiteClass", SiteEdit::SiteClass);
  edtYieldClass_ = NewSiteEdit("edtYieldClass", SiteEdit::YieldClass);
  edtStandAge_ = NewSiteEdit("edtStandAge", SiteEdit::StandAge);
  lblStandHeight_->setBuddy(edtStandHeight_);
  lblSiteClass_->setBuddy(edtSiteClass_);
  lblYieldClass_->setBuddy(edtYieldClass_);
  lblStandAge_->setBuddy(edtStandAge_);

  gbGcorrection_ = new QGroupBox(this);
  gbGcorrection_->setObjectName(QStringLiteral("gbGcorrection"));
  lblGcorrection_ = label("lblGcorrection");
  edtGcorrection_ = NewSiteEdit("edtGcorrection", SiteEdit::Gcorrection);
  lblGcorrection_->setBuddy(edtGcorrection_);

  gbA0parameter_ = new QGroupBox(this);
  gbA0parameter_->setObjectName(QStringLiteral("gbA0parameter"));
  pnlA0parameter_ = new QFrame(this);
  pnlA0parameter_->setObjectName(QStringLiteral("pnlA0parameter"));
  pnlA0parameter_->setFrameShape(QFrame::Panel);
  pnlA0parameter_->setLineWidth(2);
  pnlA0parameter_->setAutoFillBackground(true);
  // Space on the focused edge switches between the calculated and the keyed-in parameter.
  pnlA0parameter_->setFocusPolicy(Qt::TabFocus);
  lblA0parameter_ = label("lblA0parameter");
  edtA0parameter_ = NewSiteEdit("edtA0parameter", SiteEdit::A0parameter);
  lblA0parameter_->setBuddy(edtA0parameter_);
  for (QObject* edge : {static_cast<QObject*>(gbA0parameter_), static_cast<QObject*>(pnlA0parameter_),
                        static_cast<QObject*>(lblA0parameter_)})
    edge->installEventFilter(this);

  gbSiteQuality_ = new QGroupBox(this);
  gbSiteQuality_->setObjectName(QStringLiteral("gbSiteQuality"));
  lblSC_ = label("lblSC");
  lblYC_ = label("lblYC");
  lblSI_ = label("lblSI");
  lblA0_ = label("lblA0");

  const char* stepNames[] = {nullptr, "lblStep21", "lblStep22", "lblStep23", "lblStep24", "lblStep25"};
  for (int step = 1; step <= 5; ++step)
    lblStep_[static_cast<std::size_t>(step)] = new StepLabel(stepNames[step], QString::number(step), false, this);

  sbtnHelpP3_ = new QToolButton(this);
  sbtnHelpP3_->setObjectName(QStringLiteral("sbtnHelpP3"));
  sbtnHelpP3_->setText(QStringLiteral("?"));
  sbtnHelpP3_->setAutoRaise(true);
  sbtnHelpP3_->setFocusPolicy(Qt::TabFocus);
  sbtnPrevious1_ = NewPageButton("sbtnPrevious1", -1);
  sbtnNext1_ = NewPageButton("sbtnNext1", +1);
}

void SitePage::BuildLayout() {
  const int editWidth = fontMetrics().horizontalAdvance(QStringLiteral("0000000000"));
  for (CheckedEdit* field : {edtStandHeight_, edtSiteClass_, edtYieldClass_, edtStandAge_, edtGcorrection_,
                             edtA0parameter_})
    field->setFixedWidth(editWidth);

  auto* siteIndex = new QGridLayout(gbSiteIndex_);
  const std::pair<QLabel*, CheckedEdit*> rows[] = {{lblStandHeight_, edtStandHeight_},
                                                   {lblSiteClass_, edtSiteClass_},
                                                   {lblYieldClass_, edtYieldClass_},
                                                   {lblStandAge_, edtStandAge_}};
  for (int row = 0; row < 4; ++row) {
    siteIndex->addWidget(rows[row].first, row, 0);
    siteIndex->addWidget(rows[row].second, row, 1);
  }
  siteIndex->setColumnStretch(2, 1);

  auto* correction = new QHBoxLayout(gbGcorrection_);
  correction->addWidget(lblGcorrection_);
  correction->addWidget(edtGcorrection_);
  correction->addStretch();

  // The step-4 area: the chosen method's inputs, then the correction factor.
  auto* step4 = new QVBoxLayout;
  step4->setSpacing(3);
  step4->addWidget(lblInventory_);
  step4->addWidget(sgInventory_, 1);
  step4->addWidget(lblSoil_);
  step4->addWidget(sgSoil_);
  step4->addWidget(gbSiteIndex_);
  step4->addSpacing(4);
  step4->addWidget(gbGcorrection_);
  step4->addStretch();

  auto* panel = new QHBoxLayout(pnlA0parameter_);
  panel->setContentsMargins(4, 4, 4, 4);
  panel->addWidget(edtA0parameter_);
  auto* growth = new QHBoxLayout(gbA0parameter_);
  growth->addWidget(lblA0parameter_);
  growth->addWidget(pnlA0parameter_);

  auto* quality = new QVBoxLayout(gbSiteQuality_);
  for (QLabel* text : {lblSC_, lblYC_, lblSI_, lblA0_}) quality->addWidget(text);
  quality->addStretch();

  // Beside the volume definition: what the site data give, and the growth
  // parameter the table will use.
  auto* results = new QHBoxLayout;
  results->addWidget(rgVolume_, 0, Qt::AlignTop);
  results->addWidget(gbSiteQuality_, 1, Qt::AlignTop);
  auto* right = new QVBoxLayout;
  right->addLayout(results);
  right->addWidget(gbA0parameter_, 0, Qt::AlignLeft);
  right->addStretch();

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(sbtnHelpP3_);
  buttons->addWidget(sbtnPrevious1_);
  buttons->addWidget(sbtnNext1_);

  // The species list and the site methods share the first row; at the
  // smallest window size that takes narrow margins.
  for (RadioGroup* group : {rgSpecies_, rgSiteQuality_, rgHeight_, rgVolume_})
    group->layout()->setContentsMargins(4, 4, 2, 4);
  for (int step = 1; step <= 5; ++step) lblStep_[static_cast<std::size_t>(step)]->setMinimumWidth(0);
  auto* page = new QGridLayout(this);
  page->setContentsMargins(2, 4, 2, 4);
  page->setHorizontalSpacing(3);
  page->setVerticalSpacing(4);
  auto step = [&](int number, int row, int column) {
    page->addWidget(lblStep_[static_cast<std::size_t>(number)], row, column, Qt::AlignTop | Qt::AlignHCenter);
  };
  step(1, 0, 0);
  page->addWidget(rgSpecies_, 0, 1);
  step(2, 0, 2);
  page->addWidget(rgSiteQuality_, 0, 3);
  step(3, 1, 0);
  page->addWidget(rgHeight_, 1, 1, 1, 3);
  step(4, 2, 0);
  page->addLayout(step4, 2, 1);
  step(5, 2, 2);
  page->addLayout(right, 2, 3);
  page->addLayout(buttons, 3, 0, 1, 4);
  page->setColumnStretch(1, 1);
  page->setColumnStretch(3, 1);
  page->setRowStretch(2, 1);
}

void SitePage::Connect() {
  connect(rgSpecies_, &RadioGroup::Clicked, this,
          [this](int item) { RunEstimate([item](Session& s) { s.rgSpeciesClick(item); }); });
  connect(rgSiteQuality_, &RadioGroup::Clicked, this,
          [this](int item) { RunEstimate([item](Session& s) { s.rgSiteQualityClick(item); }); });
  connect(rgHeight_, &RadioGroup::Clicked, this,
          [this](int item) { RunEstimate([item](Session& s) { s.rgHeightClick(item); }); });
  connect(rgVolume_, &RadioGroup::Clicked, this,
          [this](int item) { RunEstimate([item](Session& s) { s.rgVolumeClick(item); }); });
  for (CheckedEdit* field : {edtStandHeight_, edtSiteClass_, edtYieldClass_, edtStandAge_})
    connect(field, &CheckedEdit::Entered, this, [this] { controller_.Run([](Session& s) { s.SiteInputEntered(); }); });
  connect(edtGcorrection_, &CheckedEdit::Entered, this,
          [this] { RunEstimate([](Session& s) { s.edtGcorrectionEnter(); }); });
}

void SitePage::ConnectHelp() {
  const std::pair<QWidget*, const char*> menus[] = {
      {rgSpecies_, "pmHelp3s1"},     {rgSiteQuality_, "pmHelp3s2"}, {rgHeight_, "pmHelp3s3"},
      {sgInventory_, "pmHelp3s4"},   {sgSoil_, "pmHelp3s4"},        {gbSiteIndex_, "pmHelp3s4"},
      {rgVolume_, "pmHelp3s5"},      {gbA0parameter_, "pmHelp3s6"}, {gbGcorrection_, "pmHelp3s6"},
      {gbSiteQuality_, "pmHelp3s7"},
  };
  for (const auto& [control, menu] : menus) {
    control->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(control, &QWidget::customContextMenuRequested, this, [this, menu = menu](const QPoint&) {
      int context = -1;
      if (std::strcmp(menu, "pmHelp3s4") == 0) {
        // The topic of the first step-4 input shown.
        if (sgInventory_->isVisible()) context = OwnHelpContext(QStringLiteral("sgInventory"));
        else if (sgSoil_->isVisible()) context = OwnHelpContext(QStringLiteral("sgSoil"));
        else if (gbSiteIndex_->isVisible()) context = OwnHelpContext(QStringLiteral("gbSiteIndex"));
      } else if (std::strcmp(menu, "pmHelp3s6") == 0) {
        context = OwnHelpContext(QStringLiteral("gbA0parameter"));
      } else {
        context = HelpContextOf(static_cast<QWidget*>(sender()));
      }
      PopUpHelp(menu, context);
    });
  }
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
  f1->setContext(Qt::WidgetWithChildrenShortcut);
  connect(f1, &QShortcut::activated, this, [this] {
    const int context = HelpContextOf(QApplication::focusWidget());
    if (context >= 0) emit HelpRequested(context);
  });
}

void SitePage::OrderTabs() {
  std::vector<QWidget*> chain;
  auto buttons = [&chain](RadioGroup* group) {
    for (int i = 0; i < group->Count(); ++i) chain.push_back(group->Item(i));
  };
  buttons(rgSpecies_);
  buttons(rgSiteQuality_);
  buttons(rgHeight_);
  for (QWidget* input : std::initializer_list<QWidget*>{sgInventory_, sgSoil_, edtStandHeight_, edtSiteClass_,
                                                        edtYieldClass_, edtStandAge_, edtGcorrection_})
    chain.push_back(input);
  buttons(rgVolume_);
  for (QWidget* input : std::initializer_list<QWidget*>{pnlA0parameter_, edtA0parameter_, sbtnHelpP3_,
                                                        sbtnPrevious1_, sbtnNext1_})
    chain.push_back(input);
  for (std::size_t i = 1; i < chain.size(); ++i) setTabOrder(chain[i - 1], chain[i]);
}

void SitePage::Retranslate() {
  const bool english = controller_.English();
  const Session& s = controller_.session();
  ApplyCaptions(this, SitePageCaptions(), english);

  QStringList species;
  for (const std::string& item : s.SpeciesItems()) species << QString::fromStdString(item);
  rgSpecies_->SetItems(species);
  rgHeight_->SetItems(Items(HeightItems(), english));
  rgVolume_->SetItems(Items(VolumeItems(), english));
  siteQualityItems_.clear();  // rebuilt with the citation by Refresh

  const QStringList inventory = Items(InventoryHeadings(), english);
  const QStringList soil = Items(SoilHeadings(), english);
  for (int column = 0; column < 4; ++column) {
    sgInventory_->horizontalHeaderItem(column)->setText(inventory[column]);
    sgSoil_->horizontalHeaderItem(column)->setText(soil[column]);
  }
  // Every heading stays readable; the soil grid shows its one row whole.
  for (QTableWidget* grid : {sgInventory_, sgSoil_}) {
    int width = 2 * grid->frameWidth() + 4;
    for (int column = 0; column < 4; ++column)
      width += grid->fontMetrics().horizontalAdvance(grid->horizontalHeaderItem(column)->text()) + 16;
    if (grid == sgInventory_) width += grid->verticalScrollBar()->sizeHint().width();
    grid->setMinimumWidth(width);
  }
  for (QTableWidget* grid : {sgInventory_, sgSoil_}) grid->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
  const int heading = sgSoil_->horizontalHeader()->sizeHint().height();
  const int rowHeight = sgSoil_->verticalHeader()->defaultSectionSize();
  sgSoil_->setFixedHeight(heading + rowHeight + 2 * sgSoil_->frameWidth());
  sgInventory_->setMinimumHeight(heading + 3 * rowHeight + 2 * sgInventory_->frameWidth());
  sgInventory_->setMaximumHeight(heading + InventoryRows * rowHeight + 2 * sgInventory_->frameWidth());

  sbtnHelpP3_->setToolTip(Pick(HelpHint(), english));
  sbtnHelpP3_->setAccessibleName(Pick(HelpHint(), english));
  RetranslatePageButton(sbtnPrevious1_, -1, english);
  RetranslatePageButton(sbtnNext1_, +1, english);
  pnlA0parameter_->setAccessibleName(WithoutMnemonic(lblA0parameter_->text()).trimmed());
  Refresh();
  OrderTabs();  // after Refresh, which makes the site methods' buttons
}

void SitePage::Refresh() {
  const Session& s = controller_.session();
  const bool english = controller_.English();
  const SitePageControls c = SiteControls(s);
  const SitePageState& view = s.SiteView;
  const SiteInputs& inputs = view.Inputs;

  // Items 2 and 3 of the site methods cite the current species' yield table.
  QStringList methods = Items(SiteQualityItems(), english);
  const QString citation = QString::fromStdString(s.Species.YieldTableReference);
  methods[2] += citation;
  methods[3] += citation;
  if (methods != siteQualityItems_) {
    rgSiteQuality_->SetItems(methods);
    siteQualityItems_ = methods;
  }

  rgSpecies_->SetItemIndex(view.rgSpecies);
  rgSiteQuality_->SetItemIndex(inputs.rgSiteQuality);
  rgHeight_->SetItemIndex(inputs.rgHeight);
  rgVolume_->SetItemIndex(view.rgVolume);
  rgSpecies_->setEnabled(c.Species);
  rgSiteQuality_->setEnabled(c.SiteQuality);
  rgHeight_->setEnabled(c.Height);
  rgVolume_->setEnabled(c.Volume);
  sbtnHelpP3_->setEnabled(c.HelpButton);

  lblInventory_->setVisible(c.Shown.Inventory);
  sgInventory_->setVisible(c.Shown.Inventory);
  lblSoil_->setVisible(c.Shown.Soil);
  sgSoil_->setVisible(c.Shown.Soil);
  gbSiteIndex_->setVisible(c.Shown.SiteIndexBox);
  const std::pair<bool, std::pair<QLabel*, CheckedEdit*>> siteEdits[] = {
      {c.Shown.StandHeight, {lblStandHeight_, edtStandHeight_}},
      {c.Shown.SiteClass, {lblSiteClass_, edtSiteClass_}},
      {c.Shown.YieldClass, {lblYieldClass_, edtYieldClass_}},
      {c.Shown.StandAge, {lblStandAge_, edtStandAge_}},
  };
  for (const auto& [shown, pair] : siteEdits) {
    pair.first->setVisible(shown);
    pair.second->setVisible(shown);
  }
  for (QWidget* input : std::initializer_list<QWidget*>{sgInventory_, sgSoil_, gbSiteIndex_})
    input->setEnabled(c.SiteInputs);
  gbGcorrection_->setEnabled(c.Gcorrection);

  edtStandHeight_->Show(inputs.edtStandHeight);
  edtSiteClass_->Show(inputs.edtSiteClass);
  edtYieldClass_->Show(inputs.edtYieldClass);
  edtStandAge_->Show(inputs.edtStandAge);
  edtGcorrection_->Show(view.edtGcorrection);
  for (int row = 0; row < InventoryRows; ++row)
    for (int column = 0; column < 4; ++column)
      ShowCell(sgInventory_, row, column, inputs.sgInventory[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)]);
  for (int column = 0; column < 4; ++column)
    ShowCell(sgSoil_, 0, column, inputs.sgSoil[static_cast<std::size_t>(column)]);

  // The growth-parameter field: a raised edge while the calculated parameter
  // is used, a lowered one while the keyed-in parameter is.
  gbA0parameter_->setVisible(c.A0BoxShown);
  gbA0parameter_->setEnabled(c.A0Box);
  pnlA0parameter_->setFrameShadow(c.A0Keyed ? QFrame::Sunken : QFrame::Raised);
  QPalette edge = pnlA0parameter_->palette();
  edge.setColor(QPalette::Window, palette().color(c.A0Keyed ? QPalette::Light : QPalette::Button));
  pnlA0parameter_->setPalette(edge);
  edtA0parameter_->setEnabled(c.A0Edit);
  edtA0parameter_->Show(view.edtA0parameter);

  gbSiteQuality_->setEnabled(c.SiteQualityBox);
  lblSC_->setText(QString::fromStdString(view.lblSC));
  lblYC_->setText(QString::fromStdString(view.lblYC));
  lblSI_->setText(QString::fromStdString(view.lblSI));
  lblA0_->setText(QString::fromStdString(view.lblA0));
  lblA0_->setVisible(c.RateLabelShown);

  for (int step = 1; step <= 5; ++step)
    lblStep_[static_cast<std::size_t>(step)]->SetState(c.StepEnabled[static_cast<std::size_t>(step)],
                                                       c.StepBlue[static_cast<std::size_t>(step)]);
}

void SitePage::RunEstimate(const std::function<void(Session&)>& handler) {
  controller_.Run(handler);
  const SiteFocus focus = controller_.session().SiteView.Focus;
  QTableWidget* grid = focus == SiteFocus::Inventory ? sgInventory_ : focus == SiteFocus::Soil ? sgSoil_ : nullptr;
  if (grid && grid->isVisible() && grid->isEnabled()) grid->setFocus(Qt::OtherFocusReason);
}

void SitePage::GridEdited(bool inventory, int row, int column, const QString& text) {
  controller_.Run([&](Session& s) {
    SiteInputs& inputs = s.SiteView.Inputs;
    const auto r = static_cast<std::size_t>(row);
    const auto c = static_cast<std::size_t>(column);
    if (inventory) inputs.sgInventory[r][c] = text.toStdString();
    else inputs.sgSoil[c] = text.toStdString();
    s.SiteGridEdited();
  });
}

void SitePage::ToggleA0parameter(bool focusEdit) {
  RunEstimate([](Session& s) { s.ChangeA0parameterSettings(); });
  if (!controller_.session().Site.UserA0Fixed || !edtA0parameter_->isEnabled()) return;
  if (focusEdit) edtA0parameter_->setFocus(Qt::OtherFocusReason);
  edtA0parameter_->selectAll();
}

bool SitePage::eventFilter(QObject* watched, QEvent* event) {
  const bool edge = watched == gbA0parameter_ || watched == pnlA0parameter_ || watched == lblA0parameter_;
  if (!edge) return Page::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      // A click in the edit itself is no click on the field's edge.
      const QPoint inEdit = edtA0parameter_->mapFromGlobal(mouse->globalPosition().toPoint());
      if (mouse->button() != Qt::LeftButton || edtA0parameter_->rect().contains(inEdit)) return false;
      if (event->type() == QEvent::MouseButtonRelease) ToggleA0parameter(watched == lblA0parameter_);
      return true;
    }
    case QEvent::KeyPress: {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (watched != pnlA0parameter_ || (key != Qt::Key_Space && key != Qt::Key_Return && key != Qt::Key_Enter))
        return false;
      ToggleA0parameter(true);
      return true;
    }
    default: return false;
  }
}

void SitePage::PopUpHelp(const char* menuName, int context) {
  auto* menu = window()->findChild<QMenu*>(QString::fromUtf8(menuName));
  if (!menu) return;
  QAction* chosen = menu->exec(QCursor::pos());
  // The first item is the help item; pmHelp3s menus hold nothing else.
  if (chosen && chosen == menu->actions().value(0) && context >= 0) emit HelpRequested(context);
}

int SitePage::HelpContextOf(const QWidget* widget) const {
  for (; widget && widget != this; widget = widget->parentWidget()) {
    const int context = OwnHelpContext(widget->objectName());
    if (context >= 0) return context;
  }
  return -1;
}

}  // namespace orven
