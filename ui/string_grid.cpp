#include "ui/string_grid.hpp"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QStringList>
#include <algorithm>

namespace quilmor::ui {

namespace {

constexpr std::size_t kUndoDepth = 100;
const QColor kInvalidCell(255, 200, 200);

bool IsCommand(const QKeyEvent* event) {
  return event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut) ||
         event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Undo) ||
         event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace;
}

}  // namespace

// --- Editor ----------------------------------------------------------------

GridCellEditor::GridCellEditor(QWidget* parent) : QLineEdit(parent) {
  setObjectName(QStringLiteral("StringGrid1Editor"));
  setFrame(false);
}

bool GridCellEditor::PasteMultiCell() {
  const QString text = QApplication::clipboard()->text();
  if (!StringGrid::IsMultiCell(text)) return false;
  emit multiCellPaste(text);
  return true;
}

bool GridCellEditor::event(QEvent* event) {
  // The window's Edit menu must not take Ctrl+V away from the cell.
  if (event->type() == QEvent::ShortcutOverride &&
      static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
    event->accept();
    return true;
  }
  return QLineEdit::event(event);
}

void GridCellEditor::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste) && PasteMultiCell()) return;
  QLineEdit::keyPressEvent(event);
}

void GridCellEditor::contextMenuEvent(QContextMenuEvent* event) {
  QPointer<QMenu> menu = createStandardContextMenu();
  if (!menu) return;
  menu->setAttribute(Qt::WA_DeleteOnClose);
  for (QAction* action : menu->actions()) {
    if (action->objectName() == QLatin1String("edit-paste")) {
      // The standard action inserts only into this cell; a column goes to
      // the grid as a whole.
      disconnect(action, &QAction::triggered, nullptr, nullptr);
      QPointer<GridCellEditor> self(this);
      connect(action, &QAction::triggered, this, [self] {
        if (self && !self->PasteMultiCell()) self->paste();
      });
    }
  }
  menu->popup(event->globalPos());
}

// --- Delegate --------------------------------------------------------------

GridCellDelegate::GridCellDelegate(StringGrid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

QWidget* GridCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                        const QModelIndex& index) const {
  auto* editor = new GridCellEditor(parent);
  const int column = index.column();
  const int row = index.row();
  StringGrid* grid = m_grid;
  grid->EditorOpened(row);
  QPointer<GridCellEditor> guard(editor);
  connect(editor, &QLineEdit::textEdited, grid, [grid, column, row](const QString& text) {
    grid->EditorChanged();
    // The grid holds the typed text at once, as the cell shows it.
    grid->SetCellText(column, row, text);
    emit grid->cellTextEdited(column, row, text);
  });
  connect(editor, &GridCellEditor::multiCellPaste, grid,
          [this, grid, guard, row](const QString& text) {
            // The editor goes without writing back; the grid is rebuilt.
            if (guard) emit const_cast<GridCellDelegate*>(this)->closeEditor(guard, NoHint);
            grid->RequestPaste(row, text);
          });
  return editor;
}

void GridCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  auto* line = qobject_cast<QLineEdit*>(editor);
  if (!line) return;
  const QString text = index.data(Qt::EditRole).toString();
  // Writing back what the editor itself reported would move the cursor.
  if (line->text() != text) line->setText(text);
}

// --- Grid ------------------------------------------------------------------

StringGrid::StringGrid(QWidget* parent) : QTableWidget(parent) {
  setColumnCount(2);
  horizontalHeader()->hide();
  verticalHeader()->hide();
  verticalHeader()->setDefaultSectionSize(20);
  verticalHeader()->setMinimumSectionSize(20);
  setItemDelegate(new GridCellDelegate(this));
  setEditTriggers(QAbstractItemView::AllEditTriggers);
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setTabKeyNavigation(true);
  setWordWrap(false);
}

void StringGrid::SetNumberTest(std::function<bool(const QString&)> isNumber) {
  m_isNumber = std::move(isNumber);
  for (int r = 0; r < rowCount(); ++r) MarkRow(r);
}

QString StringGrid::CellText(int column, int row) const {
  if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return {};
  const QTableWidgetItem* cell = item(row, column);
  return cell ? cell->text() : QString();
}

void StringGrid::SetCellText(int column, int row, const QString& text) {
  if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return;
  QTableWidgetItem* cell = item(row, column);
  if (!cell) {
    cell = new QTableWidgetItem;
    if (column == 0) {
      // The fixed column: serial numbers, not editable.
      cell->setFlags(Qt::ItemIsEnabled);
      cell->setBackground(palette().button());
      cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    } else {
      cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    }
    setItem(row, column, cell);
  }
  if (cell->text() != text) cell->setText(text);
  if (column == 1) MarkRow(row);
}

bool StringGrid::IsInvalid(int row) const {
  const QString text = CellText(1, row);
  return !text.trimmed().isEmpty() && m_isNumber && !m_isNumber(text);
}

void StringGrid::MarkRow(int row) {
  QTableWidgetItem* cell = item(row, 1);
  if (!cell) return;
  const bool invalid = IsInvalid(row);
  const QBrush background = invalid ? QBrush(kInvalidCell) : QBrush();
  if (cell->background() != background) cell->setBackground(background);
  const QString tip = invalid ? QStringLiteral("Not a number") : QString();
  if (cell->toolTip() != tip) cell->setToolTip(tip);
}

std::vector<QString> StringGrid::ValueColumn() const {
  std::vector<QString> values;
  values.reserve(static_cast<std::size_t>(rowCount()));
  for (int r = 0; r < rowCount(); ++r) values.push_back(CellText(1, r));
  return values;
}

void StringGrid::SetValueColumn(const std::vector<QString>& values) {
  const bool updates = updatesEnabled();
  setUpdatesEnabled(false);
  setRowCount(static_cast<int>(values.size()));
  for (int r = 0; r < rowCount(); ++r) {
    SetCellText(0, r, QString::number(r + 1));
    SetCellText(1, r, values[static_cast<std::size_t>(r)]);
  }
  setUpdatesEnabled(updates);
}

void StringGrid::Renumber() {
  for (int r = 0; r < rowCount(); ++r) SetCellText(0, r, QString::number(r + 1));
}

int StringGrid::FirstInvalidRow() const {
  for (int r = 0; r < rowCount(); ++r) {
    if (IsInvalid(r)) return r;
  }
  return -1;
}

std::pair<int, int> StringGrid::SelectedRows() const {
  const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
  if (!ranges.isEmpty()) {
    int top = rowCount();
    int bottom = -1;
    for (const QTableWidgetSelectionRange& range : ranges) {
      if (range.rightColumn() < 1) continue;  // the fixed column alone
      top = std::min(top, range.topRow());
      bottom = std::max(bottom, range.bottomRow());
    }
    if (bottom >= 0) return {top, bottom};
  }
  const int row = currentRow();
  if (row < 0 || row >= rowCount()) return {-1, -1};
  return {row, row};
}

void StringGrid::RecordUndo() {
  m_undo.push_back(ValueColumn());
  if (m_undo.size() > kUndoDepth) m_undo.erase(m_undo.begin());
}

bool StringGrid::Undo() {
  if (m_undo.empty()) return false;
  std::vector<QString> values = std::move(m_undo.back());
  m_undo.pop_back();
  SetValueColumn(values);
  emit columnChanged();
  return true;
}

void StringGrid::ClearSelectedCells() {
  const auto [top, bottom] = SelectedRows();
  if (top < 0) return;
  RecordUndo();
  for (int r = top; r <= bottom; ++r) SetCellText(1, r, QString());
  emit columnChanged();
}

void StringGrid::CopySelection() const {
  const auto [top, bottom] = SelectedRows();
  if (top < 0) return;
  QString text;
  for (int r = top; r <= bottom; ++r) text += CellText(1, r) + QLatin1Char('\n');
  QApplication::clipboard()->setText(text);
}

void StringGrid::CutSelection() {
  CopySelection();
  ClearSelectedCells();
}

void StringGrid::InsertRow() {
  int row = currentRow();
  if (row < 0) row = rowCount();
  RecordUndo();
  insertRow(row);
  SetCellText(1, row, QString());
  Renumber();
  setCurrentCell(row, 1);
  emit columnChanged();
}

void StringGrid::DeleteSelectedRows() {
  const auto [top, bottom] = SelectedRows();
  if (top < 0) return;
  RecordUndo();
  for (int r = bottom; r >= top; --r) removeRow(r);
  Renumber();
  if (rowCount() > 0) setCurrentCell(std::min(top, rowCount() - 1), 1);
  emit columnChanged();
}

void StringGrid::EditorOpened(int row) {
  m_beforeEdit = ValueColumn();
  m_editRow = row;
  m_editChanged = false;
}

void StringGrid::EditorChanged() {
  if (m_editChanged) return;
  m_editChanged = true;
  m_undo.push_back(m_beforeEdit);
  if (m_undo.size() > kUndoDepth) m_undo.erase(m_undo.begin());
}

void StringGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  const bool changed = m_editChanged;
  const int row = m_editRow;
  m_editChanged = false;
  m_editRow = -1;
  QTableWidget::closeEditor(editor, hint);
  if (changed && row >= 0 && row < rowCount()) emit cellCommitted(row);
}

bool StringGrid::IsMultiCell(const QString& text) {
  return text.contains(QLatin1Char('\t')) || text.contains(QLatin1Char('\r')) ||
         text.contains(QLatin1Char('\n'));
}

void StringGrid::RequestPaste(int row, const QString& clipboardText) {
  if (row < 0 || row >= rowCount()) return;
  emit pasteRequested(row, row, clipboardText);
}

bool StringGrid::event(QEvent* event) {
  // The grid's own commands come before the window's Edit menu.
  if (event->type() == QEvent::ShortcutOverride && IsCommand(static_cast<QKeyEvent*>(event))) {
    event->accept();
    return true;
  }
  return QTableWidget::event(event);
}

void StringGrid::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste)) {
    const auto [top, bottom] = SelectedRows();
    if (top >= 0) emit pasteRequested(top, bottom, QApplication::clipboard()->text());
    return;
  }
  if (event->matches(QKeySequence::Cut)) return CutSelection();
  if (event->matches(QKeySequence::Copy)) return CopySelection();
  if (event->matches(QKeySequence::Undo)) {
    Undo();
    return;
  }
  if (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) {
    ClearSelectedCells();
    return;
  }
  QTableWidget::keyPressEvent(event);
}

void StringGrid::contextMenuEvent(QContextMenuEvent* event) {
  const QModelIndex index = indexAt(viewport()->mapFromGlobal(event->globalPos()));
  if (index.isValid() && index.column() >= 1 && !selectionModel()->isSelected(index)) {
    setCurrentIndex(index);
  }
  auto* menu = new QMenu(this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  QPointer<StringGrid> self(this);
  auto add = [&](const char* name, const QString& caption, void (StringGrid::*command)()) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this, [self, command] {
      if (self) (self.data()->*command)();
    });
    return action;
  };
  add("edit-cut", tr("Cu&t"), &StringGrid::CutSelection);
  QAction* copy = menu->addAction(tr("&Copy"));
  copy->setObjectName(QStringLiteral("edit-copy"));
  connect(copy, &QAction::triggered, this, [self] {
    if (self) self->CopySelection();
  });
  QAction* paste = menu->addAction(tr("&Paste"));
  paste->setObjectName(QStringLiteral("edit-paste"));
  paste->setEnabled(!QApplication::clipboard()->text().isEmpty());
  connect(paste, &QAction::triggered, this, [self] {
    if (!self) return;
    const auto [top, bottom] = self->SelectedRows();
    if (top >= 0) emit self->pasteRequested(top, bottom, QApplication::clipboard()->text());
  });
  add("edit-delete", tr("&Delete"), &StringGrid::ClearSelectedCells);
  menu->addSeparator();
  add("insert-row", tr("&Insert row"), &StringGrid::InsertRow);
  add("delete-rows", tr("Delete &rows"), &StringGrid::DeleteSelectedRows);
  menu->addSeparator();
  QAction* undo = menu->addAction(tr("&Undo"));
  undo->setObjectName(QStringLiteral("edit-undo"));
  undo->setEnabled(CanUndo());
  connect(undo, &QAction::triggered, this, [self] {
    if (self) self->Undo();
  });
  menu->popup(event->globalPos());
}

}  // namespace quilmor::ui
