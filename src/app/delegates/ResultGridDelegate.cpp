#include "app/delegates/ResultGridDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QPainter>

#include "app/models/ResultGridModel.h"
#include "app/session/Session.h"
#include "tables/TableCells.h"

namespace orven {
namespace {

QColor ColourOf(const CellColour& colour, const QPalette& palette) {
  switch (colour.kind) {
    case CellColour::Kind::Window: return palette.color(QPalette::Active, QPalette::Base);
    case CellColour::Kind::ButtonFace: return palette.color(QPalette::Active, QPalette::Button);
    case CellColour::Kind::Rgb: break;
  }
  return QColor(colour.red, colour.green, colour.blue);
}

bool HasFocusInside(const QWidget* view) {
  for (const QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget())
    if (w == view) return true;
  return false;
}

}  // namespace

ResultGridDelegate::ResultGridDelegate(const ResultGridModel& model, QAbstractItemView& view, QObject* parent)
    : QStyledItemDelegate(parent), model_(&model), view_(&view) {}

ResultGridDelegate::Look ResultGridDelegate::LookOf(const QModelIndex& index, bool selected) const {
  const Session& s = model_->session();
  const GrowthModel growth = s.Model();
  const CellPosition cell{model_->Grid(), index.column(), index.row() + 1, view_->isEnabled(),
                          HasFocusInside(view_), selected};
  const CellColours colours = ColoursOfCell(s.Tables, s.ColumnsOf(model_->Grid()), cell,
                                            {s.Regime.Regime, growth, s.Species.CurrentSpecies});
  return {ColourOf(colours.background, view_->palette()), ColourOf(colours.text, view_->palette())};
}

void ResultGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
  const Look look = LookOf(index, (option.state & QStyle::State_Selected) != 0);
  const int offset = model_->session().TableFontCode();
  painter->save();
  painter->fillRect(option.rect, look.Background);
  painter->setPen(look.Text);
  painter->setFont(option.font);
  painter->setClipRect(option.rect);
  painter->drawText(option.rect.adjusted(offset + 3, offset, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                    index.data(Qt::DisplayRole).toString());
  painter->restore();
}

QWidget* ResultGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                          const QModelIndex& index) const {
  QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
  if (auto* line = qobject_cast<QLineEdit*>(editor)) {
    line->setFrame(false);
    const QPersistentModelIndex at(index);
    connect(line, &QLineEdit::textEdited, line, [this, at, line](const QString& text) {
      if (keystroke_) keystroke_(at, text, line);
    });
  }
  return editor;
}

void ResultGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  static constexpr const char* Started = "orvenEditStarted";
  if (editor->property(Started).toBool()) return;
  editor->setProperty(Started, true);
  QStyledItemDelegate::setEditorData(editor, index);
}

}  // namespace orven
