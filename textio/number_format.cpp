#include "textio/number_format.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string_view>

namespace quilmor::textio {
namespace {

std::string PadLeft(std::string text, int width) {
  if (width > 0 && static_cast<int>(text.size()) < width) {
    text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
  }
  return text;
}

std::string NonFinite(double value) {
  if (std::isnan(value)) return "NaN";
  return value > 0 ? "INF" : "-INF";
}

// True when |value| lies exactly halfway between two multiples of 10^power.
bool IsExactTie(double value, int power) {
  const double magnitude = std::fabs(value);
  if (power <= 0) {
    // Halfway at d = -power decimals means |value| = odd / 2^(d+1).
    const int decimals = -power;
    if (decimals > 1000) return false;
    // Scaling by a power of two is exact; a product is cheaper than ldexp.
    const double scaled = decimals < 62
                              ? magnitude * static_cast<double>(std::uint64_t{1} << (decimals + 1))
                              : std::ldexp(magnitude, decimals + 1);
    if (!std::isfinite(scaled) || scaled >= 0x1p53) return false;
    const auto whole = static_cast<std::int64_t>(scaled);
    return static_cast<double>(whole) == scaled && (whole & 1) == 1;
  }
  // Halfway between multiples of 10^k (k >= 1) means |value| mod 10^k = 10^k / 2;
  // for k > 22 no double can be such a value (5^k does not fit the mantissa).
  if (power > 22) return false;
  double unit = 1.0;
  for (int i = 0; i < power; ++i) unit *= 10.0;
  return std::fmod(magnitude, unit) == unit / 2.0;
}

double AwayFromZero(double value) {
  return std::nextafter(value, value > 0 ? std::numeric_limits<double>::infinity()
                                         : -std::numeric_limits<double>::infinity());
}

// Scientific digits of `value` with `significant` digits, ties away from zero.
// Returns mantissa digits (without point) and the decimal exponent.
void ScientificDigits(double value, int significant, std::string& digits, int& exponent) {
  std::array<char, 64> buffer{};
  auto render = [&](double v) {
    auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), v,
                                std::chars_format::scientific, significant - 1);
    return std::string_view(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
  };
  if (value != 0.0) {
    // Exponent of the unrounded value decides where a tie would sit.
    std::array<char, 64> probe{};
    auto result = std::to_chars(probe.data(), probe.data() + probe.size(), std::fabs(value),
                                std::chars_format::scientific, 20);
    std::string_view text(probe.data(), static_cast<std::size_t>(result.ptr - probe.data()));
    const int rawExponent = std::atoi(std::string(text.substr(text.find('e') + 1)).c_str());
    if (IsExactTie(value, rawExponent - (significant - 1))) value = AwayFromZero(value);
  }
  std::string_view text = render(std::fabs(value));
  const auto ePos = text.find('e');
  digits.clear();
  for (char c : text.substr(0, ePos)) {
    if (c != '.') digits.push_back(c);
  }
  exponent = std::atoi(std::string(text.substr(ePos + 1)).c_str());
}

}  // namespace

std::string FormatF(double value, int width, int decimals) {
  if (!std::isfinite(value)) return PadLeft(NonFinite(value), width);
  decimals = std::clamp(decimals, 0, 30);
  if (IsExactTie(value, -decimals)) value = AwayFromZero(value);
  // Room for 309 integer digits, the sign, the point and 30 decimals.
  std::array<char, 400> buffer;
  auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                              std::chars_format::fixed, decimals);
  std::string_view text(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
  if (text.front() == '-' && text.find_first_not_of("-0.") == std::string_view::npos) {
    text.remove_prefix(1);  // -0.00 reads as a negative value; it is zero
  }
  // The padded field built once: most fields fit the string's own buffer.
  const std::size_t field = std::max(static_cast<std::size_t>(std::max(width, 0)), text.size());
  std::string padded(field - text.size(), ' ');
  padded.append(text);
  return padded;
}

std::string FormatI(long long value, int width) { return PadLeft(std::to_string(value), width); }

std::string FormatE(double value, int width) {
  if (!std::isfinite(value)) return PadLeft(" " + NonFinite(value), width);
  const int significant = std::clamp(width - 8, 2, 18);
  std::string digits;
  int exponent = 0;
  ScientificDigits(value, significant, digits, exponent);
  std::string text;
  text.push_back(value < 0 && digits.find_first_not_of('0') != std::string::npos ? '-' : ' ');
  text.push_back(digits[0]);
  text.push_back('.');
  text.append(digits, 1, std::string::npos);
  text.push_back('E');
  text.push_back(exponent < 0 ? '-' : '+');
  std::string exponentDigits = std::to_string(std::abs(exponent));
  text.append(4 - std::min<std::size_t>(4, exponentDigits.size()), '0');
  text.append(exponentDigits);
  return PadLeft(std::move(text), width);
}

std::string FormatE3(double value) {
  if (!std::isfinite(value)) return PadLeft(NonFinite(value), 10);
  std::string digits;
  int exponent = 0;
  ScientificDigits(value, 3, digits, exponent);
  std::string text;
  if (value < 0 && digits.find_first_not_of('0') != std::string::npos) text.push_back('-');
  text.push_back(digits[0]);
  text.push_back('.');
  text.append(digits, 1, std::string::npos);
  text.push_back('E');
  text.push_back(exponent < 0 ? '-' : '+');
  std::string exponentDigits = std::to_string(std::abs(exponent));
  text.append(3 - std::min<std::size_t>(3, exponentDigits.size()), '0');
  text.append(exponentDigits);
  return PadLeft(std::move(text), 10);
}

std::string FormatGeneral(double value) {
  if (!std::isfinite(value)) return NonFinite(value);
  if (value == 0.0) return "0";
  std::array<char, 64> buffer{};
  // Up to 15 significant digits: round there first, then print the shortest
  // form of the rounded value.
  auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                              std::chars_format::scientific, 14);
  double rounded = 0.0;
  std::from_chars(buffer.data(), result.ptr, rounded);
  result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), rounded);
  std::string text(buffer.data(), result.ptr);
  const auto ePos = text.find('e');
  if (ePos != std::string::npos) {
    // "1e-05" -> "1E-5", as users write it.
    std::string mantissa = text.substr(0, ePos);
    int exponent = std::atoi(text.c_str() + ePos + 1);
    text = mantissa + "E" + (exponent < 0 ? "-" : "") + std::to_string(std::abs(exponent));
  }
  return text;
}

void AppendField(std::string& row, std::string_view field) {
  if (!row.empty() && row.back() != ' ' && !field.empty() && field.front() != ' ') {
    row.push_back(' ');
  }
  row.append(field);
}

}  // namespace quilmor::textio
