// A column pasted into the Input page's grid: a column copied from a
// spreadsheet arrives as one text with a line end after each row and tabs
// between the cells of a row.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quilmor::ui {

// Most rows the Input page's grid holds (typed or pasted). The analysis uses
// at most 2500 values above the threshold; this bound only keeps absurd
// counts from exhausting the memory.
inline constexpr int kMaxGridRows = 100000;

// The message of a paste that holds no data at all.
inline constexpr const char* kPasteFailedMessage =
    "There are no data to be pasted or the data are incompatible";

// The value cells of a pasted text, one per line.
struct PastedColumn {
  std::vector<std::string> cells;  // "" is a row without a value
  std::string error;               // not empty: nothing may be pasted; says why
};

// Reads `text` as the value column: one row per line (lines end with CR LF,
// LF or CR; the last line counts without a line end as well, a line end at
// the very end adds no row). The first cell of a line (cells are separated
// by tabs) is the value; the cells after it have no column in the grid and
// are left out. Blanks and the one of "," and "." that is not `separator`
// are thousands separators and are dropped; what remains must be empty or a
// number as the user's conversion reads it (scientific notation included).
// The first cell that is not stops the reading: `error` names the grid row
// (`firstRow` is the row of the first line, counted from 0) and the text.
PastedColumn ReadPastedColumn(std::string_view text, int firstRow, char separator);

// The value column after `pasted` was put in from row `startRow`: from the
// first row the pasted column replaces the whole column; from a later row it
// overwrites the rows it reaches and adds rows as needed, the others stay.
std::vector<std::string> ApplyPaste(const std::vector<std::string>& column, int startRow,
                                    const std::vector<std::string>& pasted);

// Makes every line end of a clipboard text CR LF.
std::string NormaliseLineEnds(std::string_view text);

}  // namespace quilmor::ui
