#include "app/models/ResultGridModel.h"

#include <QBrush>
#include <QColor>

#include "app/session/Session.h"
#include "tables/TableCells.h"

namespace orven {

ResultGridModel::ResultGridModel(const Session& session, ResultGrid grid, QObject* parent)
    : QAbstractTableModel(parent), session_(&session), grid_(grid) {
  const GridTexts& texts = session_->Results.Grids[static_cast<int>(grid_)];
  rows_ = static_cast<int>(texts.Rows.size());
  columns_ = static_cast<int>(texts.Headers.size());
}

int ResultGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int ResultGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columns_; }

QVariant ResultGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows_ || index.column() >= columns_) return {};
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  if (index == typedCell_) return typedText_;
  const GridTexts& texts = session_->Results.Grids[static_cast<int>(grid_)];
  if (static_cast<std::size_t>(index.row()) >= texts.Rows.size()) return QString();
  const auto& row = texts.Rows[static_cast<std::size_t>(index.row())];
  if (static_cast<std::size_t>(index.column()) >= row.size()) return QString();
  return QString::fromStdString(row[static_cast<std::size_t>(index.column())]);
}

QVariant ResultGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Vertical) {
    // Data rows count from 1, as the grid's own rows below its header.
    return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
  }
  if (section < 0 || section >= columns_) return {};
  const GridTexts& texts = session_->Results.Grids[static_cast<int>(grid_)];
  if (role == Qt::DisplayRole) return QString::fromStdString(texts.Headers[static_cast<std::size_t>(section)]);
  if (role == Qt::ToolTipRole) return QString::fromStdString(texts.Units[static_cast<std::size_t>(section)]);
  if (role == Qt::BackgroundRole || role == Qt::ForegroundRole) {
    const Session& s = *session_;
    const GrowthModel model = s.Model();
    const CellPosition cell{grid_, section, 0, s.Steps.FinalEnabled, false, false};
    const CellColours colours =
        ColoursOfCell(s.Tables, s.ColumnsOf(grid_), cell, {s.Regime.Regime, model, s.Species.CurrentSpecies});
    const CellColour& colour = role == Qt::BackgroundRole ? colours.background : colours.text;
    // The button face is the header's own colour.
    if (colour.kind != CellColour::Kind::Rgb) return {};
    return QBrush(QColor(colour.red, colour.green, colour.blue));
  }
  return {};
}

Qt::ItemFlags ResultGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  if (!session_->Steps.FinalEnabled) return Qt::NoItemFlags;
  // Every cell takes an editor: the session judges each keystroke and refuses
  // what cannot be typed there with its message.
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool ResultGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid()) return false;
  // The text was handed to the session keystroke by keystroke; until the
  // commit the cell shows it as typed.
  typedCell_ = index;
  typedText_ = value.toString();
  emit dataChanged(index, index, {Qt::DisplayRole});
  return true;
}

void ResultGridModel::Reload() {
  const GridTexts& texts = session_->Results.Grids[static_cast<int>(grid_)];
  const int rows = static_cast<int>(texts.Rows.size());
  const int columns = static_cast<int>(texts.Headers.size());
  typedCell_ = {};
  typedText_.clear();
  if (rows != rows_ || columns != columns_) {
    beginResetModel();
    rows_ = rows;
    columns_ = columns;
    endResetModel();
    return;
  }
  if (rows_ > 0 && columns_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, columns_ - 1));
  if (columns_ > 0) emit headerDataChanged(Qt::Horizontal, 0, columns_ - 1);
}

}  // namespace orven
