// The Input page's paste as any clipboard text: the column read from a row,
// either refused with a reason or made of cells that are empty or numbers as
// the page converts them, and never longer than the grid holds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.hpp"
#include "textio/number_parse.hpp"
#include "ui/paste.hpp"

namespace {

using namespace quilmor;

void Read(std::string_view text, int row, char separator) {
  const ui::PastedColumn column = ui::ReadPastedColumn(text, row, separator);
  if (!column.error.empty()) {
    QUILMOR_FUZZ_CHECK(column.cells.empty());
    return;
  }
  QUILMOR_FUZZ_CHECK(!column.cells.empty());
  QUILMOR_FUZZ_CHECK(row + column.cells.size() <= static_cast<std::size_t>(ui::kMaxGridRows));
  for (const std::string& cell : column.cells) {
    QUILMOR_FUZZ_CHECK(cell.empty() || textio::StringToFloat(cell, separator).has_value());
  }
  const auto applied = ui::ApplyPaste({"1", "2"}, row, column.cells);
  QUILMOR_FUZZ_CHECK(applied.size() >= column.cells.size());
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
  Read(normalised, 0, '.');
  Read(text, 7, ',');
  return 0;
}
