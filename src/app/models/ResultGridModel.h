#pragma once

#include <QAbstractTableModel>

#include "projection/TypedValues.h"

namespace orven {

class Session;

// One of the three result grids over the session's results: a column per
// chosen variable (the header holds its symbol), a row per data row of the
// table. The session keeps the only copy of the texts; the model keeps just
// what the user has typed into a cell until the grid commits it.
class ResultGridModel : public QAbstractTableModel {
  Q_OBJECT

public:
  ResultGridModel(const Session& session, ResultGrid grid, QObject* parent = nullptr);

  ResultGrid Grid() const { return grid_; }
  const Session& session() const { return *session_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

  // The session's results changed: a new shape resets the model, the same
  // shape only repaints, so an open cell editor survives a keystroke.
  void Reload();

private:
  const Session* session_;
  ResultGrid grid_;
  int rows_ = 0;
  int columns_ = 0;
  QModelIndex typedCell_;  // the cell whose editor was closed before the commit
  QString typedText_;
};

}  // namespace orven
