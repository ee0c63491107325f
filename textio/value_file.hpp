// A plain data file: one value per line, or one column
// of a CSV file. An empty line (or empty cell) is a row without a value: it
// is left out of the input file, as an empty grid cell is.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quilmor::textio {

struct ValueRow {
  std::optional<double> value;  // nullopt: skipped row
};

struct ValueFile {
  std::vector<ValueRow> rows;
  std::string error;  // non-empty: the file cannot be used, says why
};

// column 0: the whole line is the value. column N >= 1: the N-th field of a
// line split at tabs, semicolons or commas (the first of these found in the
// file). A first line that is not a number is taken as a header and skipped.
// Values use "." or "," as the decimal separator (a comma only where it is
// not the field separator).
ValueFile ReadValueFile(const std::filesystem::path& path, int column = 0);

// The same from the lines of `fileName` as already read.
ValueFile ReadValueLines(std::vector<std::string> lines, const std::string& fileName, int column);

// One series of a file that holds several.
struct NamedColumn {
  std::string name;
  ValueFile values;  // values.error: this series cannot be used, says why
};

// A wide table: one column per series, the first line names them (an empty
// name, or a column beyond the names, becomes "<file stem>_<column>"). Cells
// are read as ReadValueFile reads the cells of one column; an empty or
// missing cell is a missing value, so columns may differ in length. A bad
// cell refuses its own column only. `error`: the file as a whole cannot be
// read.
std::vector<NamedColumn> ReadWideColumns(std::vector<std::string> lines,
                                         const std::string& fileName, std::string& error);

// A long table: one row per value, the series named in `nameColumn` and the
// value in `valueColumn` (each a header name, or a column number from 1).
// The series come in the order their names first appear; the first line is
// a header unless its value cell is a number.
std::vector<NamedColumn> ReadLongColumns(std::vector<std::string> lines,
                                         const std::string& fileName, const std::string& nameColumn,
                                         const std::string& valueColumn, std::string& error);

// The columns a file of several offers for ReadValueFile(path, N): one name
// per column of its first line that ReadValueFile(path) refuses as several
// columns, split as ReadValueFile(path, N) splits it (tabs, semicolons,
// commas or blanks), with the header's cells as names when the header has as
// many, else "Column N". Empty for a file of one column (decimal commas
// included) or one that cannot be read.
std::vector<std::string> ValueFileColumns(const std::filesystem::path& path);

// True when the file looks like an input file written by the program.
bool IsInputFile(const std::filesystem::path& path);

}  // namespace quilmor::textio
