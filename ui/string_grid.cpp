#include "ui/string_grid.hpp"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>

namespace quilmor::ui {

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
  QPointer<GridCellEditor> guard(editor);
  connect(editor, &QLineEdit::textEdited, grid, [grid, column, row](const QString& text) {
    // The grid holds the typed text at once, as the cell shows it.
    grid->SetCellText(column, row, text);
    emit grid->cellTextEdited(column, row, text);
  });
  connect(editor, &GridCellEditor::multiCellPaste, grid,
          [this, grid, guard, column, row](const QString& text) {
            // The editor goes without writing back; the grid is rebuilt.
            if (guard) emit const_cast<GridCellDelegate*>(this)->closeEditor(guard, NoHint);
            grid->PasteIntoCell(column, row, text);
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
}

bool StringGrid::IsMultiCell(const QString& text) {
  return text.contains(QLatin1Char('\t')) || text.contains(QLatin1Char('\r')) ||
         text.contains(QLatin1Char('\n'));
}

void StringGrid::PasteIntoCell(int column, int row, const QString& clipboardText) {
  if (column < 1 || row < 0 || row >= rowCount()) return;  // the fixed column takes no text
  if (!IsMultiCell(clipboardText)) SetCellText(column, row, clipboardText);
  emit cellTextEdited(column, row, clipboardText);
}

bool StringGrid::event(QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride &&
      static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
    event->accept();
    return true;
  }
  return QTableWidget::event(event);
}

void StringGrid::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste)) {
    const QModelIndex index = currentIndex();
    if (index.isValid())
      PasteIntoCell(index.column(), index.row(), QApplication::clipboard()->text());
    return;
  }
  QTableWidget::keyPressEvent(event);
}

void StringGrid::contextMenuEvent(QContextMenuEvent* event) {
  const QModelIndex index = indexAt(viewport()->mapFromGlobal(event->globalPos()));
  if (!index.isValid() || index.column() < 1) return;
  setCurrentIndex(index);
  auto* menu = new QMenu(this);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  const int column = index.column();
  const int row = index.row();
  QAction* paste = menu->addAction(tr("&Paste"));
  paste->setObjectName(QStringLiteral("edit-paste"));
  paste->setEnabled(!QApplication::clipboard()->text().isEmpty());
  QPointer<StringGrid> self(this);
  connect(paste, &QAction::triggered, this, [self, column, row] {
    if (self) self->PasteIntoCell(column, row, QApplication::clipboard()->text());
  });
  menu->popup(event->globalPos());
}

}  // namespace quilmor::ui
