#include "app/pages/TablesPage.h"

#include <algorithm>

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/SessionController.h"
#include "app/delegates/ResultGridDelegate.h"
#include "app/models/ResultGridModel.h"
#include "app/session/TablesPageRules.h"
#include "app/texts/TablesPageTexts.h"
#include "app/widgets/CheckedEdit.h"
#include "app/widgets/RadioGroup.h"

namespace orven {
namespace {

constexpr const char* GridNames[] = {"sgBeforeThin", "sgThinning", "sgRemaining"};
constexpr const char* HeadingNames[] = {"lblBeforeThin", "lblThinning", "lblRemaining"};
constexpr ResultGrid Grids[] = {ResultGrid::BeforeThin, ResultGrid::Thinning, ResultGrid::Remaining};

bool Inside(const QWidget* widget, const QWidget* container) {
  for (const QWidget* w = widget; w; w = w->parentWidget())
    if (w == container) return true;
  return false;
}

QLabel* NewLabel(const char* name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromUtf8(name));
  return label;
}

// A small coloured square: the changed marker and the projection's error marker.
QFrame* NewMarker(const char* name, const QColor& colour, QWidget* parent) {
  auto* marker = new QFrame(parent);
  marker->setObjectName(QString::fromUtf8(name));
  marker->setFixedSize(10, 10);
  marker->setFrameShape(QFrame::Box);
  marker->setAutoFillBackground(true);
  QPalette palette = marker->palette();
  palette.setColor(QPalette::Window, colour);
  marker->setPalette(palette);
  marker->hide();
  return marker;
}

}  // namespace

TablesPage::TablesPage(SessionController& controller, QWidget* parent)
    : Page(controller, "TabSheet5", parent),
      pnlLabels_(new QWidget(this)),
      shChanged_(nullptr),
      pnlTables_(new QSplitter(Qt::Horizontal, this)) {
  pnlLabels_->setObjectName(QStringLiteral("pnlLabels"));
  pnlLabels_->setFixedHeight(22);
  pnlLabels_->installEventFilter(this);
  shChanged_ = NewMarker("shChanged", QColor(255, 255, 0), pnlLabels_);
  pnlTables_->setObjectName(QStringLiteral("pnlTables"));
  pnlTables_->setChildrenCollapsible(false);

  const Session& s = controller_.session();
  for (ResultGrid grid : Grids) {
    const auto g = static_cast<std::size_t>(grid);
    headings_[g] = NewLabel(HeadingNames[g], pnlLabels_);
    auto* view = new QTableView(pnlTables_);
    view->setObjectName(QString::fromUtf8(GridNames[g]));
    models_[g] = new ResultGridModel(s, grid, view);
    view->setModel(models_[g]);
    delegates_[g] = new ResultGridDelegate(*models_[g], *view, view);
    view->setItemDelegate(delegates_[g]);
    view->verticalHeader()->setVisible(false);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->horizontalHeader()->setDefaultSectionSize(48);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    view->horizontalHeader()->setHighlightSections(false);
    view->setSelectionMode(QAbstractItemView::ContiguousSelection);
    view->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed);
    view->setTabKeyNavigation(false);
    view->setWordWrap(false);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    view->setMinimumWidth(60);
    headings_[g]->setBuddy(view);
    pnlTables_->addWidget(view);
    grids_[g] = view;
    ConnectGrid(grid);
  }
  pnlTables_->handle(1)->setObjectName(QStringLiteral("Splitter1"));
  pnlTables_->handle(2)->setObjectName(QStringLiteral("Splitter2"));
  // The design's widths: 308, the rest, 308.
  pnlTables_->setSizes({308, 250, 308});
  // The remaining stand has the most columns: it takes the room a larger window gives.
  pnlTables_->setStretchFactor(0, 0);
  pnlTables_->setStretchFactor(1, 0);
  pnlTables_->setStretchFactor(2, 1);
  connect(pnlTables_, &QSplitter::splitterMoved, this, &TablesPage::SetCaptionPositions);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(2);
  layout->addWidget(pnlLabels_);
  layout->addWidget(pnlTables_, 1);
  layout->addWidget(BuildControls());

  connect(qApp, &QApplication::focusChanged, this, &TablesPage::FocusChanged);
  Retranslate();
}

QWidget* TablesPage::BuildControls() {
  auto* panel = new QWidget(this);
  panel->setObjectName(QStringLiteral("pnlThinYears"));
  rgShowYears_ = new RadioGroup("rgShowYears", panel);
  rgThinInterval_ = new RadioGroup("rgThinInterval", panel);
  const char* labelNames[] = {"lblThinInterval1", "lblThinInterval2"};
  const char* editNames[] = {"edtThinInterval1", "edtThinInterval2"};
  const char* upDownNames[] = {"udThinInterval1", "udThinInterval2"};
  auto* intervals = new QGridLayout;
  for (int i = 0; i < 2; ++i) {
    lblThinInterval_[i] = NewLabel(labelNames[i], panel);
    edtThinInterval_[i] = new CheckedEdit(editNames[i], panel);
    edtThinInterval_[i]->setMaximumWidth(40);
    lblThinInterval_[i]->setBuddy(edtThinInterval_[i]);
    udThinInterval_[i] = NewUpDown(upDownNames[i], i + 1);
    intervals->addWidget(lblThinInterval_[i], i, 0);
    intervals->addWidget(edtThinInterval_[i], i, 1);
    intervals->addWidget(udThinInterval_[i], i, 2);
    const int which = i + 1;
    edtThinInterval_[i]->SetCheck([this, which](const QString& text) {
      return controller_.Run([&](Session& s) { return ThinIntervalEntered(s, which, text.toStdString()); });
    });
  }
  lblThinYear_ = NewLabel("lblThinYear", panel);
  edtThinYear_ = new CheckedEdit("edtThinYear", panel);
  lblThinYear_->setBuddy(edtThinYear_);
  edtThinYear_->SetCheck([this](const QString& text) {
    controller_.Run([&](Session& s) { s.edtThinYearExit(text.toStdString()); });
    return true;
  });
  auto* years = new QVBoxLayout;
  years->addWidget(lblThinYear_);
  years->addWidget(edtThinYear_);
  intervals->addLayout(years, 0, 3, 2, 1);
  intervals->setColumnStretch(3, 1);

  lblErrorMsgs_ = NewLabel("lblErrorMsgs", panel);
  QPalette red = lblErrorMsgs_->palette();
  red.setColor(QPalette::WindowText, Qt::red);
  lblErrorMsgs_->setPalette(red);
  lblErrorMsgs_->setWordWrap(true);
  shError_ = NewMarker("shError", QColor(255, 0, 0), panel);
  sbtnPrevious3_ = NewPageButton("sbtnPrevious3", -1);
  sbtnNext3_ = NewPageButton("sbtnNext3", +1);

  connect(rgShowYears_, &RadioGroup::Clicked, this,
          [this](int item) { controller_.Run([item](Session& s) { s.rgShowYearsClick(item); }); });
  connect(rgThinInterval_, &RadioGroup::Clicked, this,
          [this](int item) { controller_.Run([item](Session& s) { s.rgThinIntervalClick(item); }); });

  auto* errors = new QHBoxLayout;
  errors->addWidget(shError_);
  errors->addWidget(lblErrorMsgs_, 1);
  errors->addWidget(sbtnPrevious3_);
  errors->addWidget(sbtnNext3_);
  auto* right = new QVBoxLayout;
  right->addLayout(intervals);
  right->addLayout(errors);
  auto* layout = new QHBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(rgShowYears_);
  layout->addWidget(rgThinInterval_);
  layout->addLayout(right, 1);
  return panel;
}

QWidget* TablesPage::NewUpDown(const char* name, int which) {
  auto* box = new QWidget(this);
  box->setObjectName(QString::fromUtf8(name));
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  for (int step : {+1, -1}) {
    auto* button = new QToolButton(box);
    button->setObjectName(QString::fromUtf8(name) + (step > 0 ? QStringLiteral("Up") : QStringLiteral("Down")));
    button->setArrowType(step > 0 ? Qt::UpArrow : Qt::DownArrow);
    button->setFixedSize(16, 11);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRepeat(true);
    layout->addWidget(button);
    connect(button, &QToolButton::clicked, this,
            [this, which, step] { controller_.Run([&](Session& s) { ThinIntervalStepped(s, which, step); }); });
  }
  return box;
}

void TablesPage::ConnectGrid(ResultGrid grid) {
  const auto g = static_cast<std::size_t>(grid);
  QTableView* view = grids_[g];
  delegates_[g]->SetKeystroke([this, grid](const QModelIndex& index, const QString& text, QWidget* editor) {
    Keystroke(grid, index, text, editor);
  });
  // A move to another cell commits the edit of the cell left; the base view
  // has closed its editor by then.
  connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this, [this, grid, view] {
    if (refreshing_ || !Inside(QApplication::focusWidget(), view)) return;
    Commit(grid);
    controller_.Run([](Session& s) { GridSelectCell(s.Typing); });
  });
  connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TablesPage::ViewStateChanged);
  // A double click anywhere in the grid opens the column dialog.
  view->viewport()->installEventFilter(this);
  connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& at) { ShowPopup(view, at); });
  connect(view->verticalScrollBar(), &QScrollBar::valueChanged, this,
          [this, grid](int value) { SyncScrolling(grid, value); });
  connect(view->horizontalHeader(), &QHeaderView::sectionResized, this, &TablesPage::SetCaptionPositions);
}

void TablesPage::Keystroke(ResultGrid grid, const QModelIndex& index, const QString& text, QWidget* editor) {
  const int column = index.column(), row = index.row() + 1;
  // A refused edit is the one keystroke that queues a message; its cell then
  // shows the stored value again.
  const bool refused = controller_.Run([&](Session& s) {
    s.GridSetEditText(grid, column, row, text.toStdString());
    return !s.PendingMessages().empty();
  });
  if (!refused) return;
  if (auto* line = qobject_cast<QLineEdit*>(editor)) {
    const GridTexts& texts = controller_.session().Results.Grids[static_cast<std::size_t>(grid)];
    if (row >= 1 && row <= static_cast<int>(texts.Rows.size()) &&
        column < static_cast<int>(texts.Rows[static_cast<std::size_t>(row - 1)].size()))
      line->setText(QString::fromStdString(texts.Rows[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(column)]));
  }
}

void TablesPage::Commit(ResultGrid grid) {
  controller_.Run([grid](Session& s) { s.CommitEdit(grid); });
}

void TablesPage::FocusChanged(QWidget* old, QWidget* now) {
  emit ViewStateChanged();
  // A message box or menu taking the focus is no leaving of a grid.
  if (!old || !now || now->window() != window()) return;
  for (ResultGrid grid : Grids) {
    QTableView* view = grids_[static_cast<std::size_t>(grid)];
    if (Inside(old, view) && !Inside(now, view)) {
      // After the cell editor has handed in its text.
      QTimer::singleShot(0, this, [this, grid] { Commit(grid); });
    }
    if (Inside(now, view) && !Inside(old, view)) {
      controller_.Run([](Session& s) { GridSelectCell(s.Typing); });
      SyncScrolling(grid, view->verticalScrollBar()->value());
    }
  }
}

void TablesPage::SyncScrolling(ResultGrid leader, int value) {
  // The rows are the same years in all three grids: they scroll together.
  if (scrolling_) return;
  scrolling_ = true;
  for (ResultGrid grid : Grids)
    if (grid != leader) {
      QScrollBar* bar = grids_[static_cast<std::size_t>(grid)]->verticalScrollBar();
      if (bar->value() != value) bar->setValue(value);
    }
  scrolling_ = false;
}

void TablesPage::ShowPopup(QTableView* grid, const QPoint& at) {
  QMenu* popup = window()->findChild<QMenu*>(QStringLiteral("pmVariables"));
  if (!popup) return;
  grid->setFocus(Qt::PopupFocusReason);
  emit ViewStateChanged();
  popup->popup(grid->viewport()->mapToGlobal(at));
}

std::optional<ResultGrid> TablesPage::FocusedGrid() const {
  const QWidget* focus = QApplication::focusWidget();
  for (ResultGrid grid : Grids)
    if (Inside(focus, grids_[static_cast<std::size_t>(grid)])) return grid;
  return std::nullopt;
}

QRect TablesPage::Selection(ResultGrid grid) const {
  const QTableView* view = grids_[static_cast<std::size_t>(grid)];
  const QModelIndexList selected = view->selectionModel()->selectedIndexes();
  if (selected.isEmpty()) {
    const QModelIndex current = view->currentIndex();
    if (!current.isValid()) return {};
    return QRect(current.column(), current.row() + 1, 1, 1);
  }
  int left = selected.first().column(), right = left, top = selected.first().row(), bottom = top;
  for (const QModelIndex& index : selected) {
    left = std::min(left, index.column());
    right = std::max(right, index.column());
    top = std::min(top, index.row());
    bottom = std::max(bottom, index.row());
  }
  return QRect(QPoint(left, top + 1), QPoint(right, bottom + 1));
}

void TablesPage::DescribeFocus(ViewState& view) const {
  const std::optional<ResultGrid> grid = FocusedGrid();
  if (!grid) return;
  view.Focused = ViewState::Focus::ResultGrid;
  view.Grid = *grid;
  const QTableView* table = grids_[static_cast<std::size_t>(*grid)];
  const QModelIndexList selected = table->selectionModel()->selectedIndexes();
  const QModelIndex current = table->currentIndex();
  view.SingleCell = current.isValid() && (selected.isEmpty() || (selected.size() == 1 && selected.first() == current));
  if (current.isValid()) {
    view.Column = current.column();
    view.Row = current.row() + 1;
  }
}

bool TablesPage::eventFilter(QObject* watched, QEvent* event) {
  const bool onGrid = std::any_of(grids_.begin(), grids_.end(),
                                  [watched](QTableView* grid) { return grid && watched == grid->viewport(); });
  if ((watched == pnlLabels_ || onGrid) && event->type() == QEvent::MouseButtonDblClick) {
    emit ColumnDialogRequested();
    return true;
  }
  return Page::eventFilter(watched, event);
}

void TablesPage::resizeEvent(QResizeEvent* event) {
  Page::resizeEvent(event);
  SetCaptionPositions();
}

void TablesPage::SetCaptionPositions() {
  std::array<int, 3> left{}, width{}, text{};
  for (std::size_t g = 0; g < 3; ++g) {
    left[g] = grids_[g]->mapTo(this, QPoint(0, 0)).x() - pnlLabels_->x();
    width[g] = grids_[g]->width();
    headings_[g]->adjustSize();
    text[g] = headings_[g]->width();
  }
  const std::array<int, 3> x = CaptionPositions(left, width, text, pnlLabels_->width());
  for (std::size_t g = 0; g < 3; ++g)
    headings_[g]->move(x[g], (pnlLabels_->height() - headings_[g]->height()) / 2);
  shChanged_->move(pnlLabels_->width() - shChanged_->width() - 4, (pnlLabels_->height() - shChanged_->height()) / 2);
}

void TablesPage::ApplyFont() {
  const int size = controller_.session().TableFontSize;
  if (size == fontSize_) return;
  fontSize_ = size;
  for (QTableView* view : grids_) {
    QFont font = view->font();
    font.setPointSize(size);
    view->setFont(font);
    view->verticalHeader()->setDefaultSectionSize(size + 12);
    view->verticalHeader()->setMinimumSectionSize(size + 12);
  }
}

void TablesPage::Retranslate() {
  const bool english = controller_.English();
  ApplyCaptions(this, TablesPageCaptions(), english);
  rgShowYears_->SetItems(ShowYearsItems(english));
  rgThinInterval_->SetItems(ThinIntervalItems(english));
  RetranslatePageButton(sbtnPrevious3_, -1, english);
  RetranslatePageButton(sbtnNext3_, +1, english);
  Refresh();
}

void TablesPage::Refresh() {
  const Session& s = controller_.session();
  ApplyFont();
  const bool enabled = s.Steps.FinalEnabled;
  // A model reset moves the current cell: that is no move by the user.
  refreshing_ = true;
  for (std::size_t g = 0; g < 3; ++g) {
    grids_[g]->setEnabled(enabled);
    headings_[g]->setEnabled(enabled);
    models_[g]->Reload();
    grids_[g]->viewport()->update();
  }
  refreshing_ = false;
  lblErrorMsgs_->setText(QString::fromStdString(s.Results.ErrorLine));
  shError_->setVisible(enabled && !s.Results.ProjectionOk);
  shChanged_->setVisible(s.TableChanged);

  const ScheduleControls controls = ScheduleControlsOf(s);
  rgShowYears_->SetItemIndex(s.Schedule.rgShowYears);
  rgShowYears_->setEnabled(controls.ShowYears);
  rgThinInterval_->SetItemIndex(s.Schedule.rgThinInterval);
  rgThinInterval_->setEnabled(controls.ThinInterval);
  const bool intervalOn[] = {controls.Objects.Interval1, controls.Objects.Interval2};
  const std::string* intervalText[] = {&s.Schedule.edtThinInterval1, &s.Schedule.edtThinInterval2};
  for (std::size_t i = 0; i < 2; ++i) {
    lblThinInterval_[i]->setEnabled(intervalOn[i]);
    edtThinInterval_[i]->setEnabled(intervalOn[i]);
    udThinInterval_[i]->setEnabled(intervalOn[i]);
    edtThinInterval_[i]->Show(*intervalText[i]);
  }
  edtThinYear_->setEnabled(controls.Objects.ThinYearEdit);
  lblThinYear_->setEnabled(controls.Objects.ThinYearLabel);
  edtThinYear_->Show(s.Schedule.edtThinYear);
  SetCaptionPositions();
}

}  // namespace orven
