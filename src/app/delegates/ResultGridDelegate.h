#pragma once

#include <QColor>
#include <QStyledItemDelegate>
#include <functional>

namespace orven {

class ResultGridModel;

// Paints a result-grid cell with the colours of the core's cell rule: the
// view adds only what it alone knows (selected, focused) and maps the system
// colours to the palette. The text stands at the font step's offsets. The
// editor reports every keystroke.
class ResultGridDelegate : public QStyledItemDelegate {
  Q_OBJECT

public:
  struct Look {
    QColor Background;
    QColor Text;
  };
  using Keystroke = std::function<void(const QModelIndex& index, const QString& text, QWidget* editor)>;

  ResultGridDelegate(const ResultGridModel& model, QAbstractItemView& view, QObject* parent = nullptr);

  void SetKeystroke(Keystroke keystroke) { keystroke_ = std::move(keystroke); }
  // The colours of a data cell as paint() uses them.
  Look LookOf(const QModelIndex& index, bool selected) const;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  // The editor starts from the cell's text; later repaints of the table
  // leave what the user is typing alone.
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;

private:
  const ResultGridModel* model_;
  QAbstractItemView* view_;
  Keystroke keystroke_;
};

}  // namespace orven
