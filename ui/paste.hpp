// Spreading a text pasted into one grid cell over the grid: a column copied
// from a spreadsheet arrives as one text with tabs between cells and CR LF at
// the end of each line.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace quilmor::ui {

// Most rows the Input page's grid holds (typed or pasted). The analysis uses
// at most 2500 values above the threshold; this bound only keeps absurd
// counts from exhausting the memory.
inline constexpr int kMaxGridRows = 100000;

// The texts of the two-column grid. Cells may be written beyond the row
// count (the line being pasted before its line end); only rows below
// `rowCount` are shown.
struct GridCells {
  static constexpr int kColumns = 2;
  int rowCount = 0;
  std::vector<std::array<std::string, kColumns>> rows;

  // Cell (column, row); nullptr for a column outside the grid or a row
  // outside the storage limit.
  std::string* Cell(int column, int row);
  // The text of a cell, "" when it was never written.
  std::string Text(int column, int row) const;
};

// Spreads `text` from cell (column, row): every cell reached is emptied
// first; a tab moves one column to the right; a carriage return sets the row
// count to the number of line ends met so far, moves to the next row, goes
// back to `column` and skips the character after it (the line feed); digits,
// "-" and `separator` are appended to the current cell; every other
// character is left out. False when the text would need more than
// kMaxGridRows rows (the cells are then partly written).
bool SpreadPastedText(GridCells& cells, int column, int row, std::string_view text, char separator);

// Makes every line end of a clipboard text CR LF (spreadsheets on this system
// put a bare LF between lines).
std::string NormaliseLineEnds(std::string_view text);

}  // namespace quilmor::ui
