// The data grid of the Input page: a fixed first column with the serial
// numbers, an editable second column, no header row. Every change of a cell's
// text by the user is reported with the whole new text; a clipboard paste
// (Ctrl+V or the editor's context menu) that holds tabs or line ends arrives
// as the cell's new text in one piece.
#pragma once

#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTableWidget>

namespace quilmor::ui {

// The in-cell editor.
class GridCellEditor : public QLineEdit {
  Q_OBJECT

 public:
  explicit GridCellEditor(QWidget* parent);

 signals:
  // A clipboard text with several cells (tabs or line ends).
  void multiCellPaste(const QString& text);

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  // True when the clipboard text was handed on as a multi-cell paste.
  bool PasteMultiCell();
};

class StringGrid : public QTableWidget {
  Q_OBJECT

 public:
  explicit StringGrid(QWidget* parent = nullptr);

  // Text of a cell, "" outside the grid.
  QString CellText(int column, int row) const;
  // Sets a cell's text without reporting it as an edit.
  void SetCellText(int column, int row, const QString& text);
  // The multi-cell test of a pasted text.
  static bool IsMultiCell(const QString& text);

 signals:
  // The user changed the text of cell (column, row) to `text`.
  void cellTextEdited(int column, int row, const QString& text);

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  friend class GridCellDelegate;
  void PasteIntoCell(int column, int row, const QString& clipboardText);
};

class GridCellDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  explicit GridCellDelegate(StringGrid* grid);
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;

 private:
  StringGrid* m_grid;
};

}  // namespace quilmor::ui
