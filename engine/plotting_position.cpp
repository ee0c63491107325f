#include "engine/plotting_position.hpp"

#include <array>
#include <charconv>
#include <cmath>

#include "textio/number_parse.hpp"

namespace quilmor::engine {
namespace {

constexpr std::array<NamedPlottingPosition, 5> kNamed = {{
    {"weibull", "Weibull", 0.0},
    {"gringorten", "Gringorten", 0.44},
    {"cunnane", "Cunnane", 0.4},
    {"hazen", "Hazen", 0.5},
    {"blom", "Blom", 0.375},
}};

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// A short decimal form of a number of the formula: "0.44", "0.12", "1".
std::string Short(double value) {
  std::array<char, 32> buffer{};
  const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                 std::chars_format::general, 6).ptr;
  return std::string(buffer.data(), end);
}

}  // namespace

std::span<const NamedPlottingPosition> PlottingPositions() { return kNamed; }

std::optional<PlottingPosition> ParsePlottingPosition(std::string_view text) {
  for (const NamedPlottingPosition& named : kNamed) {
    if (SameLetters(text, named.option)) return PlottingPosition{named.alpha, named.name};
  }
  if (text.size() < 3 || !SameLetters(text.substr(0, 2), "a=")) return std::nullopt;
  const std::optional<double> alpha = textio::ParseReal(text.substr(2));
  if (!alpha || !(*alpha >= 0.0 && *alpha <= kLargestPlottingAlpha)) return std::nullopt;
  for (const NamedPlottingPosition& named : kNamed) {
    if (*alpha == named.alpha) return PlottingPosition{named.alpha, named.name};
  }
  return PlottingPosition{*alpha, {}};
}

std::string PlottingPositionMessage(std::string_view text) {
  return "The plotting position \"" + std::string(text) +
         "\" is none of weibull, gringorten, cunnane, hazen, blom or a=<alpha> with alpha "
         "from 0 to 0.5";
}

std::string PlottingPositionLine(const PlottingPosition& position) {
  if (position.IsDefault()) return {};
  const double a = position.alpha;
  const std::string name = position.name.empty() ? "a=" + Short(a) : std::string(position.name);
  const double rest = 1.0 - 2.0 * a;
  const std::string denominator = rest == 0.0 ? "N" : "(N+" + Short(rest) + ")";
  return std::string(kPlottingPositionLabel) + name + " (i-" + Short(a) + ")/" + denominator;
}

std::optional<double> PlottingAlphaOfLine(std::string_view line) {
  if (!line.starts_with(kPlottingPositionLabel)) return std::nullopt;
  const std::size_t open = line.find("(i-");
  if (open == std::string_view::npos) return std::nullopt;
  const std::size_t close = line.find(')', open);
  if (close == std::string_view::npos) return std::nullopt;
  const std::optional<double> alpha = textio::ParseReal(line.substr(open + 3, close - open - 3));
  if (!alpha || !(*alpha >= 0.0 && *alpha <= kLargestPlottingAlpha)) return std::nullopt;
  return alpha;
}

}  // namespace quilmor::engine
