// The data grid of the Input page: a fixed first column with the serial
// numbers (always 1, 2, 3 ...), an editable second column with the values,
// no header row. A cell that is neither empty nor a number is marked at once.
// Typing reports every change of a cell's text; a clipboard text with several
// rows, and every paste onto the grid itself, is handed on whole with the
// rows it goes to. Delete, cut, copy, inserting and deleting rows work on the
// selection, and every change can be undone.
#pragma once

#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <functional>
#include <vector>

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

  // Tells whether a value text is a number (an empty cell is a row without
  // a value and is not marked).
  void SetNumberTest(std::function<bool(const QString&)> isNumber);

  // Text of a cell, "" outside the grid.
  QString CellText(int column, int row) const;
  // Sets a cell's text without reporting it as an edit.
  void SetCellText(int column, int row, const QString& text);
  // The value column, one text per row.
  std::vector<QString> ValueColumn() const;
  // Makes the grid `values.size()` rows long with these values.
  void SetValueColumn(const std::vector<QString>& values);
  // First row whose value is not a number; -1 when there is none.
  int FirstInvalidRow() const;
  bool IsInvalid(int row) const;
  // The first and last row of the selection in the value column, or the
  // current row when nothing is selected; {-1, -1} in an empty grid.
  std::pair<int, int> SelectedRows() const;

  // Commands on the selection, each one step that Undo takes back.
  void ClearSelectedCells();
  void CopySelection() const;
  void CutSelection();
  void InsertRow();
  void DeleteSelectedRows();
  // Saves the value column for Undo before a change made from outside.
  void RecordUndo();
  bool Undo();
  bool CanUndo() const { return !m_undo.empty(); }
  void ForgetUndo() { m_undo.clear(); }

  // The multi-cell test of a pasted text.
  static bool IsMultiCell(const QString& text);

  // Marks `row` as holding the message's fault (its tooltip) or clears it.
  void MarkRow(int row);

 signals:
  // The user changed the text of cell (column, row) to `text` by typing.
  void cellTextEdited(int column, int row, const QString& text);
  // The editor of a value cell closed after its text was changed.
  void cellCommitted(int row);
  // A clipboard text to be put in from `firstRow` (to `lastRow` for a single
  // value over a selection).
  void pasteRequested(int firstRow, int lastRow, const QString& text);
  // Rows or cells changed by a command or Undo.
  void columnChanged();

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

 private:
  friend class GridCellDelegate;
  void RequestPaste(int row, const QString& clipboardText);
  void Renumber();
  void EditorOpened(int row);
  void EditorChanged();

  std::function<bool(const QString&)> m_isNumber;
  std::vector<std::vector<QString>> m_undo;
  std::vector<QString> m_beforeEdit;  // the column when the editor opened
  int m_editRow = -1;
  bool m_editChanged = false;
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
