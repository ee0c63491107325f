// Plotting positions: the observed cumulative frequency given to rank i of N
// ranked values, (i - a)/(N + 1 - 2a). a = 0 is the method's own i/(N+1)
// (Weibull); Gringorten, Cunnane, Hazen and Blom are the usual others.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quilmor::engine {

struct PlottingPosition {
  double alpha = 0.0;       // a, in [0, 0.5]
  std::string_view name{};  // "Gringorten", ...; empty for an a given by number

  bool IsDefault() const { return alpha == 0.0; }
};

struct NamedPlottingPosition {
  std::string_view option;  // as the command line spells it
  std::string_view name;    // as the report and the windows show it
  double alpha;
};

// The named choices, the method's first.
std::span<const NamedPlottingPosition> PlottingPositions();

inline constexpr double kLargestPlottingAlpha = 0.5;

// "weibull", "gringorten", "cunnane", "hazen", "blom" (any case) or "a=<alpha>"
// with alpha in [0, 0.5]; nullopt for anything else.
std::optional<PlottingPosition> ParsePlottingPosition(std::string_view text);
// The message for a text ParsePlottingPosition refused.
std::string PlottingPositionMessage(std::string_view text);

// The observed frequency of rank i (1..n): i/(n+1) for a = 0, computed as the
// method does; (i - a)/(n + 1 - 2a) otherwise.
inline double PlottingFrequency(int i, int n, double alpha) {
  if (alpha == 0.0) return static_cast<double>(i) / (n + 1);
  return (i - alpha) / (n + 1 - 2.0 * alpha);
}

// The report's heading line for a choice other than the method's,
// " Plotting position: Gringorten (i-0.44)/(N+0.12)"; empty for the default.
std::string PlottingPositionLine(const PlottingPosition& position);
inline constexpr std::string_view kPlottingPositionLabel = " Plotting position: ";
// The a of such a line, or nullopt when the line is none (or unreadable).
std::optional<double> PlottingAlphaOfLine(std::string_view line);

}  // namespace quilmor::engine
