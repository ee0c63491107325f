// Tables of results as plain CSV, for spreadsheets and scripts, and as an
// aligned table for a terminal. The caller turns each value into a cell's text
// (CsvNumber for files, ShortNumber for the terminal); an empty cell means
// that nothing was computed there.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quilmor::textio {

enum class Align { kLeft, kRight };

struct TableColumn {
  std::string name;
  Align align = Align::kRight;  // numbers right, texts left
};

struct Table {
  std::vector<TableColumn> columns;
  std::vector<std::vector<std::string>> rows;  // one cell per column
};

// The shortest text that reads back as the same double, with "." decimals
// whatever the locale ("0.1", "366.25", "1e-05", "-0"). NaN, a value that was
// not computed, gives the empty cell; infinities give "inf" and "-inf".
std::string CsvNumber(double value);
// nullopt gives the empty cell.
std::string CsvNumber(std::optional<double> value);

// A number for a person to read: `significantDigits` significant digits,
// fixed or scientific as is shorter, no trailing zeros ("366.21", "0.001",
// "1.5e+07"); NaN gives the empty cell.
std::string ShortNumber(double value, int significantDigits = 6);

// One field: as it is, or in double quotes (inner quotes doubled) when it
// holds a comma, a double quote or a line break.
std::string CsvField(std::string_view text);

// A header row with the column names, then one line per row; every line ends
// in CR LF.
std::string FormatCsv(const Table& table);

// Columns two blanks apart, each as wide as its widest cell (the name
// included), aligned as the column says; a header line with the names, then
// one line per row, without trailing blanks; lines end in "\n".
std::string FormatAlignedTable(const Table& table);

// The table as a spreadsheet takes it from the clipboard: a header line,
// then one line per row, cells separated by tabs, lines ending in "\n". A
// tab or line break inside a cell becomes a blank, so the grid stays intact.
std::string FormatTabSeparated(const Table& table);

}  // namespace quilmor::textio
