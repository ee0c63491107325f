// Number reading of every reader (ParseReal, ParseInt, StringToFloat, the
// line scanner) on any text, and the number formats on whatever was read: a
// number read is finite, and what the formats write of it reads back.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_support.hpp"
#include "textio/number_format.hpp"
#include "textio/number_parse.hpp"

namespace {

using namespace quilmor::textio;

// 15 significant digits: a relative error of at most half a unit in the
// 15th digit (5e-15), with room for the last binary digit.
constexpr double kFifteenDigits = 6e-15;

void CheckFormats(double value) {
  QUILMOR_FUZZ_CHECK(std::isfinite(value));
  // Every format gives text for any finite value.
  QUILMOR_FUZZ_CHECK(!FormatF(value, 10, 2).empty());
  QUILMOR_FUZZ_CHECK(!FormatF(value, 12, 5).empty());
  QUILMOR_FUZZ_CHECK(FormatE(value, 10).size() >= 10);
  QUILMOR_FUZZ_CHECK(!FormatE3(value).empty());
  // E(23) and the general form carry 15 digits and read back as the value.
  for (const std::string& text : {FormatE23(value), FormatGeneral(value)}) {
    const auto back = StringToFloat(text);
    QUILMOR_FUZZ_CHECK(back.has_value());
    QUILMOR_FUZZ_CHECK(std::fabs(*back - value) <= kFifteenDigits * std::fabs(value));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = quilmor::fuzz::AsText(data, size);
  if (const auto value = ParseReal(text)) CheckFormats(*value);
  (void)ParseInt(text);
  for (const char separator : {'.', ','}) {
    if (const auto value = StringToFloat(text, separator)) CheckFormats(*value);
  }
  // A data row: integers and reals in turn until the line is used up. Each
  // read takes one token, so the loop ends.
  LineScanner scanner(text);
  for (std::size_t reads = 0; !scanner.AtEnd(); ++reads) {
    QUILMOR_FUZZ_CHECK(reads <= size);
    if (reads % 2 == 0) {
      (void)scanner.ReadInt();
    } else if (const auto value = scanner.ReadReal()) {
      QUILMOR_FUZZ_CHECK(std::isfinite(*value));
    }
  }
  LineScanner skipping(text);
  skipping.Skip(11);
  (void)skipping.ReadReal();
  return 0;
}
