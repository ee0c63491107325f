// The Input page's paste as any clipboard text: the line ends made CR LF,
// the text spread over the grid from a cell, and the values of the rows
// converted as the page converts them. The grid never grows beyond its
// limit, and a cell holds only what the paste keeps (digits, "-", the
// decimal separator).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.hpp"
#include "textio/number_parse.hpp"
#include "ui/paste.hpp"

namespace {

using namespace quilmor;

void Spread(std::string_view text, int column, int row, char separator) {
  ui::GridCells cells;
  cells.rowCount = 20;  // the default rows of the page
  const bool spread = ui::SpreadPastedText(cells, column, row, text, separator);
  QUILMOR_FUZZ_CHECK(cells.rowCount >= 0 && cells.rowCount <= ui::kMaxGridRows);
  QUILMOR_FUZZ_CHECK(cells.rows.size() <= static_cast<std::size_t>(ui::kMaxGridRows) + 1);
  for (const auto& cellsOfRow : cells.rows) {
    for (const std::string& cell : cellsOfRow) {
      for (char c : cell) QUILMOR_FUZZ_CHECK((c >= '0' && c <= '9') || c == '-' || c == separator);
    }
  }
  if (!spread) return;
  for (int r = 0; r < cells.rowCount; ++r) {
    (void)textio::StringToFloat(cells.Text(1, r), separator);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = fuzz::AsText(data, size);
  const std::string normalised = ui::NormaliseLineEnds(text);
  // Every line end is now CR LF.
  for (std::size_t i = 0; i < normalised.size(); ++i) {
    if (normalised[i] == '\r') {
      QUILMOR_FUZZ_CHECK(i + 1 < normalised.size() && normalised[i + 1] == '\n');
    } else if (normalised[i] == '\n') {
      QUILMOR_FUZZ_CHECK(i > 0 && normalised[i - 1] == '\r');
    }
  }
  Spread(normalised, 1, 0, '.');
  Spread(normalised, 1, 7, ',');
  Spread(text, 0, 0, '.');
  return 0;
}
