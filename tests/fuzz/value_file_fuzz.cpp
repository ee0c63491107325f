// The command line's value files (one value per line, or one column of a CSV
// file) as any bytes, read as a plain list and as each of the first columns.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "fuzz_support.hpp"
#include "textio/text_file.hpp"
#include "textio/value_file.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quilmor;
  const std::string_view bytes = fuzz::AsText(data, size);
  const std::filesystem::path file = fuzz::PutFile("values.txt", bytes);
  const std::size_t lines = textio::SplitLines(bytes).size();
  for (int column = 0; column <= 3; ++column) {
    const textio::ValueFile values = textio::ReadValueFile(file, column);
    if (!values.error.empty()) continue;
    // Usable: at most one row per line, every value finite, at least one value.
    QUILMOR_FUZZ_CHECK(values.rows.size() <= lines);
    bool anyValue = false;
    for (const textio::ValueRow& row : values.rows) {
      if (!row.value) continue;
      anyValue = true;
      QUILMOR_FUZZ_CHECK(std::isfinite(*row.value));
    }
    QUILMOR_FUZZ_CHECK(anyValue);
  }
  (void)textio::IsInputFile(file);
  return 0;
}
