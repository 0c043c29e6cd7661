#include "app/pages/ThinningPage.h"

#include <algorithm>

#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QRadioButton>
#include <QPointer>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>

#include "app/SessionController.h"
#include "app/session/TablesPageRules.h"
#include "app/texts/ThinningPageTexts.h"
#include "app/widgets/CheckedEdit.h"
#include "app/widgets/RadioGroup.h"
#include "app/widgets/StepLabel.h"
#include "messages/NumberText.h"

namespace orven {
namespace {

// Help topics of the page's controls.
constexpr int PresetHelp = 13, ThinningHelp = 14, AgeRangeHelp = 15, ConstraintsHelp = 16, InitStateHelp = 17;

constexpr int ConstraintRows = 5, ConstraintColumns = 3;

const QColor DisabledBackground(0xE6, 0xE6, 0xE6);
const QColor DisabledText(0xA4, 0xA4, 0xA4);
const QColor SelectedBackground(0, 100, 150);
const QColor UndefinedBackground(0x80, 0x80, 0x80);

struct CellLook {
  QColor Background;
  QColor Text;
};

// Paints a grid cell by the page's rule of colours, with the text 2 pixels
// inside the cell's corner, and reports each keystroke of its editor.
class GridDelegate : public QStyledItemDelegate {
public:
  using LookOf = std::function<CellLook(const QModelIndex&, bool selected)>;
  using Keystroke = std::function<void(const QModelIndex&, const QString&, QLineEdit*)>;

  GridDelegate(LookOf look, Keystroke keystroke, QObject* parent)
      : QStyledItemDelegate(parent), look_(std::move(look)), keystroke_(std::move(keystroke)) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const CellLook look = look_(index, (option.state & QStyle::State_Selected) != 0);
    painter->save();
    painter->fillRect(option.rect, look.Background);
    painter->setPen(look.Text);
    painter->setFont(option.font);
    painter->drawText(option.rect.adjusted(2, 2, -1, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
  }

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
      line->setFrame(false);
      const QPersistentModelIndex at(index);
      connect(line, &QLineEdit::textEdited, line,
              [keystroke = keystroke_, at, line](const QString& text) { keystroke(at, text, line); });
    }
    return editor;
  }

private:
  LookOf look_;
  Keystroke keystroke_;
};

QLabel* NewLabel(const char* name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromUtf8(name));
  return label;
}

QTableWidget* NewGrid(const char* name, int columns, int rows, QWidget* parent) {
  auto* grid = new QTableWidget(rows, columns, parent);
  grid->setObjectName(QString::fromUtf8(name));
  grid->horizontalHeader()->setVisible(false);
  grid->verticalHeader()->setVisible(false);
  grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                        QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked);
  // Tab leaves the grid; the arrow keys move between its cells.
  grid->setTabKeyNavigation(false);
  grid->setWordWrap(false);
  grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c) grid->setItem(r, c, new QTableWidgetItem);
  return grid;
}

// A step number (and its letter) at the left of the input it numbers.
QWidget* Numbered(QWidget* parent, StepLabel* number, StepLabel* letter, QWidget* content) {
  auto* box = new QWidget(parent);
  auto* layout = new QHBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  auto* numbers = new QHBoxLayout;
  numbers->setSpacing(0);
  numbers->addWidget(number, 0, Qt::AlignTop);
  if (letter) numbers->addWidget(letter, 0, Qt::AlignTop);
  auto* column = new QVBoxLayout;
  column->addLayout(numbers);
  column->addStretch(1);
  layout->addLayout(column);
  layout->addWidget(content, 1);
  return box;
}

void ShowText(QTableWidget* grid, int row, int column, const std::string& text) {
  QTableWidgetItem* item = grid->item(row, column);
  // The cell being typed into keeps its editor undisturbed.
  if (grid->indexWidget(grid->model()->index(row, column))) return;
  const QString shown = QString::fromStdString(text);
  if (item->text() != shown) item->setText(shown);
}

bool Inside(const QWidget* container, const QWidget* widget) {
  return widget && (widget == container || container->isAncestorOf(widget));
}

}  // namespace

ThinningPage::ThinningPage(SessionController& controller, QWidget* parent)
    : Page(controller, "TabSheet4", parent),
      rgPreset_(new RadioGroup("rgPreset", this)),
      gbTargetG_(new QGroupBox(this)),
      rgTargetG_(nullptr),
      edtTargetG_(nullptr),
      gbThinning_(new QGroupBox(this)),
      rgMeasure_(nullptr),
      lblThinIset_(nullptr),
      gbAgeRange_(new QGroupBox(this)),
      edtStartAge_(nullptr),
      edtEndAge_(nullptr),
      lblConstraints_(NewLabel("lblConstraints", this)),
      sgConstraints_(NewGrid("sgConstraints", ConstraintColumns, ConstraintRows, this)),
      lblInitState_(NewLabel("lblInitState", this)),
      sgInitState_(NewGrid("sgInitState", 2, InitStateRows, this)),
      lblStep31_(new StepLabel("lblStep31", QStringLiteral("6"), false, this)),
      lblStep32_(new StepLabel("lblStep32", QStringLiteral("7"), false, this)),
      lblStep32a_(new StepLabel("lblStep32a", QStringLiteral("a"), true, this)),
      lblStep33_(new StepLabel("lblStep33", QStringLiteral("7"), false, this)),
      lblStep33a_(new StepLabel("lblStep33a", QStringLiteral("b"), true, this)),
      lblStep34_(new StepLabel("lblStep34", QStringLiteral("8"), false, this)),
      lblStep35_(new StepLabel("lblStep35", QStringLiteral("9"), false, this)),
      lblStep36_(new StepLabel("lblStep36", QStringLiteral("10"), false, this)),
      sbtnHelpP4_(new QToolButton(this)),
      sbtnPrevious2_(NewPageButton("sbtnPrevious2", -1)),
      sbtnNext2_(NewPageButton("sbtnNext2", +1)) {
  rgPreset_->SetItems({QString(), QString()});
  QWidget* targetG = BuildTargetGGroup();
  QWidget* thinning = BuildThinningGroup();
  QWidget* ageRange = BuildAgeRangeGroup();
  BuildGrids();

  sbtnHelpP4_->setObjectName(QStringLiteral("sbtnHelpP4"));
  sbtnHelpP4_->setText(QStringLiteral("?"));
  sbtnHelpP4_->setAutoRaise(true);
  sbtnHelpP4_->setFocusPolicy(Qt::TabFocus);

  // Steps 6 and 7a on the left, 7b and 8 on the right; the two grids below.
  auto* left = new QVBoxLayout;
  left->addWidget(Numbered(this, lblStep31_, nullptr, rgPreset_));
  left->addWidget(Numbered(this, lblStep32_, lblStep32a_, targetG));
  left->addStretch(1);
  auto* right = new QVBoxLayout;
  right->addWidget(Numbered(this, lblStep33_, lblStep33a_, thinning));
  right->addWidget(Numbered(this, lblStep34_, nullptr, ageRange));
  right->addStretch(1);
  auto* top = new QHBoxLayout;
  top->addLayout(left, 4);
  top->addLayout(right, 5);

  auto* constraints = new QWidget(this);
  auto* constraintsLayout = new QVBoxLayout(constraints);
  constraintsLayout->setContentsMargins(0, 0, 0, 0);
  constraintsLayout->addWidget(lblConstraints_);
  constraintsLayout->addWidget(sgConstraints_, 0, Qt::AlignLeft);
  constraintsLayout->addStretch(1);
  auto* initState = new QWidget(this);
  auto* initStateLayout = new QVBoxLayout(initState);
  initStateLayout->setContentsMargins(0, 0, 0, 0);
  initStateLayout->addWidget(lblInitState_);
  initStateLayout->addWidget(sgInitState_, 0, Qt::AlignLeft);
  initStateLayout->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(2);
  buttons->addWidget(sbtnHelpP4_);
  buttons->addWidget(sbtnPrevious2_);
  buttons->addWidget(sbtnNext2_);
  buttons->insertStretch(0, 1);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(Numbered(this, lblStep35_, nullptr, constraints));
  bottom->addWidget(Numbered(this, lblStep36_, nullptr, initState));
  bottom->addStretch(1);

  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(6, 6, 6, 6);
  page->addLayout(top);
  page->addLayout(bottom);
  page->addStretch(1);
  page->addLayout(buttons);

  ConnectHandlers();
  SetTabOrder();
  AttachHelpMenus();
  Retranslate();
  Refresh();
}

QWidget* ThinningPage::BuildTargetGGroup() {
  gbTargetG_->setObjectName(QStringLiteral("gbTargetG"));
  rgTargetG_ = new RadioGroup("rgTargetG", gbTargetG_);
  rgTargetG_->SetItems({QString(), QString(), QString()});  // the session writes the texts
  auto* lblTargetG = NewLabel("lblTargetG", gbTargetG_);
  edtTargetG_ = new CheckedEdit("edtTargetG", gbTargetG_);
  edtTargetG_->setMaximumWidth(56);
  lblTargetG->setBuddy(edtTargetG_);
  auto* lblGunit = NewLabel("lblGunit", gbTargetG_);
  auto* row = new QHBoxLayout;
  row->addWidget(lblTargetG);
  row->addWidget(edtTargetG_);
  row->addWidget(lblGunit);
  row->addStretch(1);
  auto* layout = new QVBoxLayout(gbTargetG_);
  layout->addWidget(rgTargetG_);
  layout->addLayout(row);
  return gbTargetG_;
}

QWidget* ThinningPage::BuildThinningGroup() {
  gbThinning_->setObjectName(QStringLiteral("gbThinning"));
  rgMeasure_ = new RadioGroup("rgMeasure", gbThinning_);
  rgMeasure_->SetItems({QString(), QString()});
  const char* yearNames[] = {"lblYear3", "lblYear4"};
  const char* ageNames[] = {"edtThinStart", "edtThinEnd"};
  const char* barNames[] = {"tbThinIstart", "tbThinIend", "tbThinMstart", "tbThinMend"};
  const char* valueNames[] = {"edtThinIstart", "edtThinIend", "edtThinMstart", "edtThinMend"};
  const char* unitNames[] = {"lblThinIstart", "lblThinIend"};
  const char* iScaleNames[] = {"lblI1", "lblI2", "lblI3"};
  const char* mScaleNames[] = {"lblM1", "lblM2", "lblM3"};

  // Columns: row label, age, intensity bar, value, unit, mode bar, value.
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(2);
  grid->addWidget(NewLabel("lblTreatment", gbThinning_), 0, 0, 1, 2);
  grid->addWidget(NewLabel("lblThinIntens", gbThinning_), 0, 2, Qt::AlignHCenter);
  lblThinIset_ = NewLabel("lblThinIset", gbThinning_);
  grid->addWidget(lblThinIset_, 0, 3, 1, 2);
  grid->addWidget(NewLabel("lblThinMode", gbThinning_), 0, 5, Qt::AlignHCenter);
  grid->addWidget(NewLabel("lblThinMset", gbThinning_), 0, 6);
  for (int end = 0; end < 2; ++end) {
    const int row = 1 + end;
    auto* year = NewLabel(yearNames[end], gbThinning_);
    edtThinAge_[end] = new CheckedEdit(ageNames[end], gbThinning_);
    edtThinAge_[end]->setMaximumWidth(40);
    year->setBuddy(edtThinAge_[end]);
    grid->addWidget(year, row, 0);
    grid->addWidget(edtThinAge_[end], row, 1);
    lblThinIunit_[end] = NewLabel(unitNames[end], gbThinning_);
    grid->addWidget(lblThinIunit_[end], row, 4);
  }
  for (int bar = 0; bar < 4; ++bar) {
    auto* slider = new QSlider(Qt::Horizontal, gbThinning_);
    slider->setObjectName(QString::fromUtf8(barNames[bar]));
    slider->setRange(0, TrackBarMax);
    slider->setPageStep(2);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(1);
    // Wide enough for its scale ("10  35  60 m2/ha" under the intensity bars).
    slider->setMinimumWidth(bar == tbThinIstart || bar == tbThinIend ? 120 : 90);
    slider->setFocusPolicy(Qt::WheelFocus);
    slider->installEventFilter(this);
    trackBars_[bar] = slider;
    edtThinValue_[bar] = new CheckedEdit(valueNames[bar], gbThinning_);
    edtThinValue_[bar]->setMaximumWidth(44);
    const int row = 1 + (bar == tbThinIend || bar == tbThinMend);
    const int column = bar == tbThinIstart || bar == tbThinIend ? 2 : 5;
    grid->addWidget(slider, row, column);
    grid->addWidget(edtThinValue_[bar], row, column + 1);
  }
  // The scales under the two bars: low end, middle, high end.
  auto scale = [this](const char* const names[3], std::array<QLabel*, 3>& labels) {
    auto* box = new QGridLayout;
    box->setContentsMargins(0, 0, 0, 0);
    const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    for (int i = 0; i < 3; ++i) {
      labels[i] = NewLabel(names[i], gbThinning_);
      box->addWidget(labels[i], 0, i, alignments[i]);
      box->setColumnStretch(i, 1);
    }
    return box;
  };
  grid->addLayout(scale(iScaleNames, lblI_), 3, 2);
  grid->addLayout(scale(mScaleNames, lblM_), 3, 5);
  grid->setColumnStretch(2, 1);
  grid->setColumnStretch(5, 1);

  auto* layout = new QVBoxLayout(gbThinning_);
  layout->addWidget(rgMeasure_);
  layout->addLayout(grid);
  return gbThinning_;
}

QWidget* ThinningPage::BuildAgeRangeGroup() {
  gbAgeRange_->setObjectName(QStringLiteral("gbAgeRange"));
  auto* lblStartAge = NewLabel("lblStartAge", gbAgeRange_);
  auto* lblEndAge = NewLabel("lblEndAge", gbAgeRange_);
  edtStartAge_ = new CheckedEdit("edtStartAge", gbAgeRange_);
  edtEndAge_ = new CheckedEdit("edtEndAge", gbAgeRange_);
  lblStartAge->setBuddy(edtStartAge_);
  lblEndAge->setBuddy(edtEndAge_);
  auto* layout = new QGridLayout(gbAgeRange_);
  layout->addWidget(lblStartAge, 0, 0);
  layout->addWidget(edtStartAge_, 0, 1);
  layout->addWidget(NewLabel("lblYear1", gbAgeRange_), 0, 2);
  layout->addWidget(lblEndAge, 1, 0);
  layout->addWidget(edtEndAge_, 1, 1);
  layout->addWidget(NewLabel("lblYear2", gbAgeRange_), 1, 2);
  layout->setColumnStretch(3, 1);
  for (CheckedEdit* edit : {edtStartAge_, edtEndAge_}) edit->setMaximumWidth(48);
  return gbAgeRange_;
}

void ThinningPage::BuildGrids() {
  lblConstraints_->setBuddy(sgConstraints_);
  lblInitState_->setBuddy(sgInitState_);
  for (int r = 0; r < ConstraintRows; ++r)
    for (int c = 0; c < ConstraintColumns; ++c) {
      QTableWidgetItem* item = sgConstraints_->item(r, c);
      const bool selectable = r >= 1 && ConstraintCellSelectable(c, r);
      item->setFlags(selectable ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable
                                : Qt::ItemIsEnabled);
    }
  for (int r = 0; r < InitStateRows; ++r) {
    sgInitState_->item(r, 0)->setFlags(Qt::ItemIsEnabled);
    sgInitState_->item(r, 1)->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
  }

  auto constraintLook = [this](const QModelIndex& index, bool selected) -> CellLook {
    const QPalette& colours = sgConstraints_->palette();
    const int c = index.column(), r = index.row();
    if (r == 0 || c == 0) return {colours.color(QPalette::Active, QPalette::Button), Qt::black};
    if (!sgConstraints_->isEnabled()) return {DisabledBackground, DisabledText};
    if (selected) return {SelectedBackground, Qt::white};
    if (!ConstraintCellSelectable(c, r)) return {UndefinedBackground, Qt::yellow};
    return {colours.color(QPalette::Active, QPalette::Base), Qt::black};
  };
  auto constraintKey = [this](const QModelIndex& index, const QString& text, QLineEdit*) {
    controller_.Run([&](Session& s) { s.ConstraintEdited(index.column(), index.row(), text.toStdString()); });
  };
  sgConstraints_->setItemDelegate(new GridDelegate(constraintLook, constraintKey, sgConstraints_));

  auto initStateLook = [this](const QModelIndex& index, bool selected) -> CellLook {
    const QPalette& colours = sgInitState_->palette();
    if (index.column() == 0) return {colours.color(QPalette::Active, QPalette::Button), Qt::black};
    const Session& s = controller_.session();
    const CellColours look =
        InitStateColours(s.Tables, index.row(), s.DominantHeight(), sgInitState_->isEnabled(), selected);
    auto colour = [&colours](const CellColour& c) {
      return c.kind == CellColour::Kind::Rgb ? QColor(c.red, c.green, c.blue)
                                             : colours.color(QPalette::Active, QPalette::Base);
    };
    return {colour(look.background), colour(look.text)};
  };
  auto initStateKey = [this](const QModelIndex& index, const QString& text, QLineEdit* editor) {
    const int row = index.row();
    const std::optional<std::string> reset =
        controller_.Run([&](Session& s) { return InitStateKeystroke(s, row, text.toStdString()); });
    if (reset && editor) editor->setText(QString::fromStdString(*reset));
  };
  sgInitState_->setItemDelegate(new GridDelegate(initStateLook, initStateKey, sgInitState_));

  for (QTableWidget* grid : {sgConstraints_, sgInitState_}) grid->installEventFilter(this);
}

void ThinningPage::ConnectHandlers() {
  connect(rgPreset_, &RadioGroup::Clicked, this,
          [this](int item) { controller_.Run([item](Session& s) { s.rgPresetClick(item); }); });
  connect(rgTargetG_, &RadioGroup::Clicked, this,
          [this](int item) { controller_.Run([item](Session& s) { s.rgTargetGClick(item); }); });
  connect(rgMeasure_, &RadioGroup::Clicked, this,
          [this](int item) { controller_.Run([item](Session& s) { s.rgMeasureClick(item); }); });

  auto regimeEdit = [this](CheckedEdit* edit, RegimeEdit which) {
    edit->SetCheck([this, which](const QString& text) {
      return controller_.Run([&](Session& s) { return s.RegimeEditExit(which, text.toStdString()); });
    });
    connect(edit, &CheckedEdit::Entered, this,
            [this, which] { controller_.Run([which](Session& s) { s.RegimeEditEntered(which); }); });
  };
  regimeEdit(edtTargetG_, RegimeEdit::TargetG);
  regimeEdit(edtThinAge_[0], RegimeEdit::ThinStart);
  regimeEdit(edtThinAge_[1], RegimeEdit::ThinEnd);
  const RegimeEdit values[] = {RegimeEdit::ThinIstart, RegimeEdit::ThinIend, RegimeEdit::ThinMstart,
                               RegimeEdit::ThinMend};
  for (int bar = 0; bar < 4; ++bar) {
    regimeEdit(edtThinValue_[bar], values[bar]);
    connect(trackBars_[bar], &QSlider::valueChanged, this, [this, bar](int position) {
      if (refreshing_) return;
      controller_.Run([&](Session& s) { s.TrackBarMoved(static_cast<TrackBar>(bar), position); });
    });
  }

  edtStartAge_->SetCheck([this](const QString& text) {
    return controller_.Run([&](Session& s) { return s.edtStartAgeExit(text.toStdString()); });
  });
  edtEndAge_->SetCheck([this](const QString& text) {
    return controller_.Run([&](Session& s) { return s.edtEndAgeExit(text.toStdString()); });
  });
  for (CheckedEdit* edit : {edtStartAge_, edtEndAge_})
    connect(edit, &CheckedEdit::Entered, this, [this] { controller_.Run([](Session& s) { s.AgeRangeEntered(); }); });

  // Selecting another cell reads the grid first.
  connect(sgConstraints_, &QTableWidget::currentCellChanged, this, [this] {
    if (refreshing_ || !Inside(sgConstraints_, QApplication::focusWidget())) return;
    if (!controller_.Run([](Session& s) { return s.ReadConstraints(); })) sgConstraints_->setFocus();
  });
  connect(sgInitState_, &QTableWidget::currentCellChanged, this, [this] {
    if (refreshing_ || !Inside(sgInitState_, QApplication::focusWidget())) return;
    controller_.Run([](Session& s) {
      s.ReadInitialState();
      GridSelectCell(s.Typing);
    });
  });
  connect(qApp, &QApplication::focusChanged, this, &ThinningPage::FocusChanged);

  auto* help = new QShortcut(QKeySequence::HelpContents, this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
  connect(help, &QShortcut::activated, this, [this] {
    for (QWidget* w = QApplication::focusWidget(); w && w != this; w = w->parentWidget())
      if (helpContexts_.contains(w)) {
        emit HelpRequested(helpContexts_.value(w));
        return;
      }
  });
}

void ThinningPage::FocusChanged(QWidget* old, QWidget* now) {
  // Emitted after the focus events, so that they still see the widget left.
  lastFocus_ = now;
  // A message box or menu taking the focus is no leaving of a grid.
  if (!old || !now || now->window() != window()) return;
  if (Inside(sgConstraints_, old) && !Inside(sgConstraints_, now)) {
    // After the cell editor has handed in its text.
    QTimer::singleShot(0, this, [this] {
      if (!controller_.Run([](Session& s) { return s.ReadConstraints(); })) sgConstraints_->setFocus();
    });
  }
  if (Inside(sgInitState_, old) && !Inside(sgInitState_, now))
    QTimer::singleShot(0, this, [this] { controller_.Run([](Session& s) { s.ReadInitialState(); }); });
}

bool ThinningPage::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    const bool byUser = reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
    for (QSlider* bar : trackBars_)
      if (watched == bar && byUser) controller_.Run([](Session& s) { s.TrackBarEntered(); });
    // Coming back from the grid's own cell editor is no entering.
    if (watched == sgInitState_ && byUser && !Inside(sgInitState_, lastFocus_.data()))
      controller_.Run([](Session& s) { s.InitStateEntered(); });
  }
  return Page::eventFilter(watched, event);
}

void ThinningPage::SetTabOrder() {
  std::vector<QWidget*> order;
  for (int i = 0; i < rgPreset_->Count(); ++i) order.push_back(rgPreset_->Item(i));
  for (int i = 0; i < rgTargetG_->Count(); ++i) order.push_back(rgTargetG_->Item(i));
  order.push_back(edtTargetG_);
  for (int i = 0; i < rgMeasure_->Count(); ++i) order.push_back(rgMeasure_->Item(i));
  for (int end = 0; end < 2; ++end) {
    order.push_back(edtThinAge_[end]);
    const int intensity = end == 0 ? tbThinIstart : tbThinIend;
    const int mode = end == 0 ? tbThinMstart : tbThinMend;
    for (int bar : {intensity, mode}) {
      order.push_back(trackBars_[bar]);
      order.push_back(edtThinValue_[bar]);
    }
  }
  for (QWidget* w : {static_cast<QWidget*>(edtStartAge_), static_cast<QWidget*>(edtEndAge_),
                     static_cast<QWidget*>(sgConstraints_), static_cast<QWidget*>(sgInitState_),
                     static_cast<QWidget*>(sbtnPrevious2_), static_cast<QWidget*>(sbtnNext2_),
                     static_cast<QWidget*>(sbtnHelpP4_)})
    order.push_back(w);
  for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

void ThinningPage::AttachHelpMenus() {
  AttachHelpMenu(rgPreset_, "pmHelp4s1", PresetHelp, true);
  AttachHelpMenu(gbTargetG_, "pmHelp4s2", PresetHelp, true);
  AttachHelpMenu(gbThinning_, "pmHelp4s3", ThinningHelp, true);
  AttachHelpMenu(sgConstraints_, "pmHelp4s4", ConstraintsHelp, false);
  AttachHelpMenu(lblConstraints_, "pmHelp4s4", ConstraintsHelp, false);
  AttachHelpMenu(gbAgeRange_, "pmHelp4s5", AgeRangeHelp, true);
  AttachHelpMenu(sgInitState_, "pmHelp4s6", InitStateHelp, false);
  AttachHelpMenu(lblInitState_, "pmHelp4s6", InitStateHelp, false);
}

void ThinningPage::AttachHelpMenu(QWidget* widget, const char* menu, int context, bool withChildren) {
  std::vector<QWidget*> targets{widget};
  // Edits have menus of their own; the group's help replaces them. Other
  // children hand their right-click up to the group.
  if (withChildren)
    for (QLineEdit* edit : widget->findChildren<QLineEdit*>()) targets.push_back(edit);
  for (QWidget* target : targets) {
    target->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(target, &QWidget::customContextMenuRequested, this,
            [this, menu, context, target](const QPoint& at) { ShowHelpMenu(menu, context, target, at); });
  }
  helpContexts_.insert(widget, context);
}

void ThinningPage::ShowHelpMenu(const char* menu, int context, QWidget* widget, const QPoint& at) {
  QMenu* popup = window()->findChild<QMenu*>(QString::fromUtf8(menu));
  if (!popup || popup->actions().isEmpty()) return;
  QAction* chosen = popup->exec(widget->mapToGlobal(at));
  if (!chosen) return;
  if (chosen == popup->actions().first()) {
    emit HelpRequested(context);
  } else if (chosen->objectName() == QStringLiteral("miDelInitEntry") && sgInitState_->currentRow() >= 0) {
    const int row = sgInitState_->currentRow();
    controller_.Run([row](Session& s) { s.DeleteInitStateEntry(row); });
  }
}

void ThinningPage::DescribeFocus(ViewState& view) const {
  if (!Inside(sgInitState_, QApplication::focusWidget())) return;
  view.Focused = ViewState::Focus::InitState;
  const QModelIndex current = sgInitState_->currentIndex();
  view.SingleCell = current.isValid() && sgInitState_->selectionModel()->selectedIndexes().size() <= 1;
  view.Row = current.isValid() ? current.row() : -1;
  view.Column = current.isValid() ? current.column() : -1;
}

void ThinningPage::Retranslate() {
  const bool english = controller_.English();
  ApplyCaptions(this, ThinningPageCaptions(), english);
  // After the captions, which name a label's buddy by the label.
  for (const Caption& name : ThinningPageAccessibleNames())
    if (auto* widget = findChild<QWidget*>(QString::fromUtf8(name.Name))) widget->setAccessibleName(Pick(name, english));
  sbtnHelpP4_->setToolTip(Pick(ThinningHelpHint, english));
  sbtnHelpP4_->setAccessibleName(sbtnHelpP4_->toolTip());
  RetranslatePageButton(sbtnPrevious2_, -1, english);
  RetranslatePageButton(sbtnNext2_, +1, english);
  Refresh();
}

void ThinningPage::Refresh() {
  const Session& s = controller_.session();
  const Workflow& steps = s.Steps;
  const RegimePage& regime = s.Regime;
  refreshing_ = true;

  // Typed values lock what would move them.
  const ThinningPageLocks locks = ThinningPageLocksOf(s);
  rgPreset_->setEnabled(steps.StepEnabled[6] && locks.Preset);
  sbtnHelpP4_->setEnabled(steps.StepEnabled[6] && locks.Preset);
  lblStep31_->SetState(steps.StepEnabled[6], steps.LabelBlue[6]);
  rgPreset_->SetItemIndex(regime.rgPreset);

  gbTargetG_->setEnabled(steps.TargetGGroupEnabled && locks.TargetGGroup);
  lblStep32_->SetState(steps.TargetGGroupEnabled, steps.LabelBlue[7]);
  lblStep32a_->SetState(steps.TargetGGroupEnabled, steps.LabelBlue[7]);
  QStringList items;
  for (const std::string& item : regime.rgTargetGItems) items << QString::fromStdString(item);
  rgTargetG_->SetItems(items);
  rgTargetG_->SetItemIndex(regime.rgTargetG);
  edtTargetG_->Show(regime.edtTargetG);

  gbThinning_->setEnabled(steps.ThinningGroupEnabled && locks.ThinningGroup);
  lblStep33_->SetState(steps.ThinningGroupEnabled, steps.LabelBlue[7]);
  lblStep33a_->SetState(steps.ThinningGroupEnabled, steps.LabelBlue[7]);
  rgMeasure_->SetItemIndex(regime.rgMeasure);
  edtThinAge_[0]->Show(regime.edtThinStart);
  edtThinAge_[1]->Show(regime.edtThinEnd);
  const std::string* values[] = {&regime.edtThinIstart, &regime.edtThinIend, &regime.edtThinMstart,
                                 &regime.edtThinMend};
  for (int bar = 0; bar < 4; ++bar) {
    const QSignalBlocker quiet(trackBars_[bar]);
    trackBars_[bar]->setValue(regime.TrackBarPositions[bar]);
    edtThinValue_[bar]->Show(*values[bar]);
  }
  lblThinIset_->setText(QString::fromStdString(regime.lblThinIset));
  for (QLabel* unit : lblThinIunit_) unit->setText(QString::fromStdString(regime.IntensityUnit));
  const double modeScale[] = {0.8, 1.0, 1.2};
  for (int i = 0; i < 3; ++i) {
    lblI_[i]->setText(QString::fromStdString(regime.lblI[i]));
    lblM_[i]->setText(QString::fromStdString(FormatFixed(modeScale[i], 1, s.DecimalSeparator())));
  }

  gbAgeRange_->setEnabled(steps.StepEnabled[8] && locks.AgeRange);
  for (QWidget* w : {static_cast<QWidget*>(edtStartAge_), gbAgeRange_->findChild<QWidget*>(QStringLiteral("lblStartAge")),
                     gbAgeRange_->findChild<QWidget*>(QStringLiteral("lblYear1"))})
    if (w) w->setEnabled(locks.StartAge);
  lblStep34_->SetState(steps.StepEnabled[8], steps.LabelBlue[8]);
  edtStartAge_->Show(s.Schedule.edtStartAge);
  edtEndAge_->Show(s.Schedule.edtEndAge);

  lblStep35_->SetState(steps.StepEnabled[9], steps.LabelBlue[9]);
  lblStep36_->SetState(steps.StepEnabled[10], steps.LabelBlue[10]);
  RefreshConstraints();
  RefreshInitState();
  refreshing_ = false;
}

void ThinningPage::RefreshConstraints() {
  const Session& s = controller_.session();
  const bool enabled = s.Steps.StepEnabled[9];
  lblConstraints_->setEnabled(enabled);
  sgConstraints_->setEnabled(enabled);
  for (int c = 0; c < ConstraintColumns; ++c)
    for (int r = 0; r < ConstraintRows; ++r)
      ShowText(sgConstraints_, r, c,
               s.Regime.sgConstraints[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)]);
  FitGrid(sgConstraints_, {312, 66, 66}, ConstraintColumns);
  sgConstraints_->viewport()->update();
}

void ThinningPage::RefreshInitState() {
  const Session& s = controller_.session();
  const bool enabled = s.Steps.StepEnabled[10];
  lblInitState_->setEnabled(enabled);
  sgInitState_->setEnabled(enabled);
  const QString label = QString::fromStdString(s.Schedule.lblInitState);
  if (lblInitState_->text() != label) {
    lblInitState_->setText(label);
    sgInitState_->setAccessibleName(WithoutMnemonic(label).trimmed());
  }
  const InitStateTexts headings = SetInitStateVariables(s.DominantHeight(), s.language());
  for (int r = 0; r < InitStateRows; ++r) {
    ShowText(sgInitState_, r, 0, headings[static_cast<std::size_t>(r)]);
    ShowText(sgInitState_, r, 1, s.InitStateCells[static_cast<std::size_t>(r)]);
  }
  FitGrid(sgInitState_, {168, 64, 0}, 2);
  sgInitState_->viewport()->update();
}

void ThinningPage::FitGrid(QTableWidget* grid, std::array<int, 3> designWidths, int columns) {
  // The design's widths, or wider where a text in this font needs it.
  const QFontMetrics metrics = grid->fontMetrics();
  int width = 2 * grid->frameWidth();
  for (int c = 0; c < columns; ++c) {
    int needed = designWidths[static_cast<std::size_t>(c)];
    for (int r = 0; r < grid->rowCount(); ++r)
      needed = std::max(needed, metrics.horizontalAdvance(grid->item(r, c)->text()) + 6);
    if (grid->columnWidth(c) != needed) grid->setColumnWidth(c, needed);
    width += needed;
  }
  int height = 2 * grid->frameWidth();
  for (int r = 0; r < grid->rowCount(); ++r) height += grid->rowHeight(r);
  grid->setFixedSize(width, height);
}

}  // namespace orven
