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
