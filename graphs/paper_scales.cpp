#include "graphs/paper_scales.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

#include "graphs/graph_scales.hpp"  // Near
#include "textio/number_format.hpp"

namespace quilmor::graphs {
namespace {

constexpr double kLowestShown = 0.01;    // 1 %: the horizontal axis reaches at least down to it
constexpr double kHighestShown = 0.995;  // 99.5 %, a return period of 200
constexpr double kRangeMargin = 0.03;    // of the span, on either side
constexpr int kPixelLimit = 1000000;
// Comparisons of values of a 1-2-5 sequence allow for the rounding of 10^e.
constexpr double kSequenceTolerance = 1e-12;
// A linear X axis has at most this many steps.
constexpr double kMostDivisions = 8;
// A logarithmic axis shows at least this many of 1, 2, 5 times a power of
// ten, else its ticks are steps as on a linear axis.
constexpr std::size_t kFewestLogTicks = 4;
// On a logarithmic axis the fitted function is followed at most this factor
// beyond the observed values.
constexpr double kLogReach = 10.0;

struct TickValue {
  double value;
  const char* text;
  int priority;
};

// Non-exceedance percentages, the middle and the tails first.
constexpr std::array<TickValue, 14> kPercentages = {{{0.1, "0.1", 7},
                                                     {0.5, "0.5", 7},
                                                     {1, "1", 2},
                                                     {5, "5", 4},
                                                     {10, "10", 1},
                                                     {20, "20", 5},
                                                     {50, "50", 0},
                                                     {80, "80", 5},
                                                     {90, "90", 1},
                                                     {95, "95", 4},
                                                     {98, "98", 6},
                                                     {99, "99", 2},
                                                     {99.5, "99.5", 6},
                                                     {99.9, "99.9", 3}}};

constexpr std::array<TickValue, 13> kReturnPeriods = {{{1.01, "1.01", 3},
                                                       {2, "2", 0},
                                                       {5, "5", 3},
                                                       {10, "10", 1},
                                                       {25, "25", 4},
                                                       {50, "50", 3},
                                                       {100, "100", 1},
                                                       {200, "200", 4},
                                                       {500, "500", 4},
                                                       {1000, "1000", 2},
                                                       {2000, "2000", 5},
                                                       {5000, "5000", 5},
                                                       {10000, "10000", 3}}};

int HoldPixel(double offset) { return std::clamp(Near(offset), -kPixelLimit, kPixelLimit); }

bool InRange(const PaperRange& range, double u) {
  return std::isfinite(u) && u >= range.uMin && u <= range.uMax;
}

// Decimals that show a value of a 1-2-5 sequence: 0.02 -> 2, 0.5 -> 1, 20 -> 0.
int SequenceDecimals(double v) {
  const double e = std::floor(std::log10(v) + kSequenceTolerance);
  return e < 0 ? static_cast<int>(-e) : 0;
}

}  // namespace

double StandardNormalFreq(double z) { return 0.5 * std::erfc(-z / std::sqrt(2.0)); }

double StandardNormalQuantile(double f) {
  if (!(f > 0.0 && f < 1.0)) return std::nan("");
  // The upper half by symmetry, so that the tail keeps its precision.
  if (f > 0.5) return -StandardNormalQuantile(1.0 - f);
  double lo = -40.0;
  double hi = 0.0;
  for (int i = 0; i < 200; ++i) {
    const double mid = 0.5 * (lo + hi);
    if (mid == lo || mid == hi) break;
    if (StandardNormalFreq(mid) < f) {
      lo = mid;
    } else {
      hi = mid;
    }
  }
  return hi;
}

double ReducedVariate(ProbabilityPaper paper, double f) {
  if (!(f > 0.0 && f < 1.0)) return std::nan("");
  switch (paper) {
    case ProbabilityPaper::Normal:
    case ProbabilityPaper::LogNormal:
      return StandardNormalQuantile(f);
    case ProbabilityPaper::Gumbel:
      return -std::log(-std::log(f));
    case ProbabilityPaper::Weibull:
      return std::log(-std::log(1.0 - f));
    case ProbabilityPaper::Exponential:
      return -std::log(1.0 - f);
  }
  return std::nan("");
}

double FrequencyOfVariate(ProbabilityPaper paper, double u) {
  switch (paper) {
    case ProbabilityPaper::Normal:
    case ProbabilityPaper::LogNormal:
      return StandardNormalFreq(u);
    case ProbabilityPaper::Gumbel:
      return std::exp(-std::exp(-u));
    case ProbabilityPaper::Weibull:
      return 1.0 - std::exp(-std::exp(u));
    case ProbabilityPaper::Exponential:
      return 1.0 - std::exp(-u);
  }
  return std::nan("");
}

bool PaperHasLogX(ProbabilityPaper paper) {
  return paper == ProbabilityPaper::LogNormal || paper == ProbabilityPaper::Weibull;
}

namespace {
struct PaperNames {
  ProbabilityPaper paper;
  std::string_view name;
  std::string_view title;
};
constexpr std::array<PaperNames, 5> kPaperNames = {{
    {ProbabilityPaper::Normal, "normal", "normal paper"},
    {ProbabilityPaper::LogNormal, "lognormal", "log-normal paper"},
    {ProbabilityPaper::Gumbel, "gumbel", "Gumbel paper"},
    {ProbabilityPaper::Weibull, "weibull", "Weibull paper"},
    {ProbabilityPaper::Exponential, "exponential", "exponential paper"},
}};
const PaperNames& NamesOf(ProbabilityPaper paper) {
  for (const PaperNames& names : kPaperNames) {
    if (names.paper == paper) return names;
  }
  return kPaperNames[0];
}
}  // namespace

std::string_view PaperName(ProbabilityPaper paper) { return NamesOf(paper).name; }
std::string_view PaperTitle(ProbabilityPaper paper) { return NamesOf(paper).title; }

std::optional<ProbabilityPaper> PaperNamed(std::string_view name) {
  for (const PaperNames& names : kPaperNames) {
    if (names.name == name) return names.paper;
  }
  return std::nullopt;
}

ProbabilityPaper DefaultPaper(int code) {
  const engine::CodeInfo* row = engine::FindCode(code);
  return (row ? *row : engine::CodeRow(0)).paper;
}

PaperRange HorizontalRange(ProbabilityPaper paper, const std::vector<PaperPoint>& observed) {
  double low = kLowestShown;
  double high = kHighestShown;
  for (const PaperPoint& p : observed) {
    if (p.f > 0.0 && p.f < 1.0) {
      low = std::min(low, p.f);
      high = std::max(high, p.f);
    }
  }
  const double uLow = ReducedVariate(paper, low);
  const double uHigh = ReducedVariate(paper, high);
  const double margin = kRangeMargin * (uHigh - uLow);
  return {uLow - margin, uHigh + margin};
}

std::vector<double> LogSequence(double lo, double hi, bool fine) {
  std::vector<double> values;
  if (!(lo > 0.0) || !(hi >= lo) || !std::isfinite(hi)) return values;
  static constexpr std::array<int, 3> kCoarse = {1, 2, 5};
  static constexpr std::array<int, 9> kFine = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  const int first = static_cast<int>(std::floor(std::log10(lo))) - 1;
  const int last = static_cast<int>(std::floor(std::log10(hi))) + 1;
  for (int e = first; e <= last; ++e) {
    const double decade = std::pow(10.0, e);
    auto take = [&](int m) {
      const double v = m * decade;
      if (v >= lo * (1 - kSequenceTolerance) && v <= hi * (1 + kSequenceTolerance)) {
        values.push_back(v);
      }
    };
    if (fine) {
      for (int m : kFine) take(m);
    } else {
      for (int m : kCoarse) take(m);
    }
  }
  return values;
}

double LogFloor(double v, bool fine) {
  const std::vector<double> below = LogSequence(v / 10.5, v, fine);
  return below.empty() ? v : below.back();
}

double LogCeil(double v, bool fine) {
  const std::vector<double> above = LogSequence(v, v * 10.5, fine);
  return above.empty() ? v : above.front();
}

PaperScales ComputePaperScales(const PaperSeries& series, ProbabilityPaper paper, bool logX) {
  PaperScales scales;
  scales.paper = paper;
  scales.logX = logX;
  scales.range = HorizontalRange(paper, series.observed);

  // The observed values, on a logarithmic axis the positive ones.
  double lo = INFINITY;
  double hi = -INFINITY;
  for (const PaperPoint& p : series.observed) {
    if (!std::isfinite(p.x)) continue;
    if (logX && !(p.x > 0.0)) {
      ++scales.hiddenPoints;
      continue;
    }
    lo = std::min(lo, p.x);
    hi = std::max(hi, p.x);
  }
  if (logX && !(hi > 0.0)) {
    // Nothing a logarithmic axis could show: the paper is drawn linear.
    scales.logX = false;
    scales.hiddenPoints = 0;
    return ComputePaperScales(series, paper, false);
  }
  // The fitted function within reach of the observed values.
  const bool haveObserved = lo <= hi;
  const double ratio = haveObserved && logX ? std::min(hi / lo, kLogReach) : 1.0;
  const double reachLow = !haveObserved ? -INFINITY : logX ? lo / ratio : lo - (hi - lo);
  const double reachHigh = !haveObserved ? INFINITY : logX ? hi * ratio : hi + (hi - lo);
  for (const PaperPoint& p : series.fitted) {
    if (!std::isfinite(p.x) || !InRange(scales.range, ReducedVariate(paper, p.f))) continue;
    if (logX && !(p.x > 0.0)) continue;
    if (p.x < reachLow || p.x > reachHigh) continue;
    lo = std::min(lo, p.x);
    hi = std::max(hi, p.x);
  }
  if (!(lo <= hi)) {
    lo = logX ? 1.0 : 0.0;
    hi = logX ? 10.0 : 1.0;
  }

  if (scales.logX &&
      LogSequence(LogFloor(lo, false), LogCeil(hi, false), false).size() >= kFewestLogTicks) {
    scales.yMin = LogFloor(lo, false);
    scales.yMax = LogCeil(hi, false);
    return scales;
  }
  // The least step of 1, 2 or 5 times a power of ten that spans the values
  // in at most kMostDivisions steps (also the ticks of a logarithmic axis too
  // short for 1, 2 and 5).
  if (!(hi > lo)) {
    const double half = lo == 0.0 ? 0.5 : std::fabs(lo) * 0.05;
    lo -= half;
    hi += half;
  }
  double step = LogCeil((hi - lo) / kMostDivisions, false);
  for (int tries = 0; tries < 3; ++tries) {
    if (std::ceil(hi / step - kSequenceTolerance) - std::floor(lo / step + kSequenceTolerance) <=
        kMostDivisions) {
      break;
    }
    step = LogCeil(step * 1.5, false);
  }
  const double first = std::floor(lo / step + kSequenceTolerance);
  const double last = std::ceil(hi / step - kSequenceTolerance);
  scales.yStep = step;
  scales.yMin = first * step;
  scales.yMax = last * step;
  scales.yDivisions = static_cast<int>(last - first);
  scales.yDecimals = SequenceDecimals(step);
  // A logarithmic axis starts above 0.
  if (scales.logX && !(scales.yMin > 0.0)) scales.yMin = lo;
  return scales;
}

int PaperPixelX(const PaperScales& scales, double u) {
  const double span = scales.range.uMax - scales.range.uMin;
  if (!(span > 0.0)) return kPaperLeft;
  return kPaperLeft + HoldPixel((u - scales.range.uMin) * (kPaperRight - kPaperLeft) / span);
}

int PaperPixelY(const PaperScales& scales, double x) {
  const int height = kPaperBottom - kPaperTop;
  if (scales.logX) {
    const double span = std::log(scales.yMax / scales.yMin);
    if (!(span > 0.0)) return kPaperBottom;
    if (!(x > 0.0)) return kPaperBottom + kPixelLimit;
    return kPaperBottom - HoldPixel(std::log(x / scales.yMin) * height / span);
  }
  const double span = scales.yMax - scales.yMin;
  if (!(span > 0.0)) return kPaperBottom;
  return kPaperBottom - HoldPixel((x - scales.yMin) * height / span);
}

std::vector<PaperTick> FrequencyTicks(const PaperScales& scales) {
  std::vector<PaperTick> ticks;
  for (const TickValue& t : kPercentages) {
    const double u = ReducedVariate(scales.paper, t.value / 100.0);
    if (InRange(scales.range, u)) {
      ticks.push_back({t.value / 100.0, PaperPixelX(scales, u), t.text, t.priority});
    }
  }
  return ticks;
}

std::vector<PaperTick> ReturnPeriodTicks(const PaperScales& scales) {
  std::vector<PaperTick> ticks;
  for (const TickValue& t : kReturnPeriods) {
    // T = 1 / (1 - F)
    const double u = ReducedVariate(scales.paper, 1.0 - 1.0 / t.value);
    if (InRange(scales.range, u)) {
      ticks.push_back({t.value, PaperPixelX(scales, u), t.text, t.priority});
    }
  }
  return ticks;
}

std::vector<PaperTick> ValueTicks(const PaperScales& scales) {
  std::vector<PaperTick> ticks;
  if (scales.logX && scales.yStep == 0.0) {
    for (double v : LogSequence(scales.yMin, scales.yMax, false)) {
      const int mantissa = static_cast<int>(
          std::lround(v / std::pow(10.0, std::floor(std::log10(v) + kSequenceTolerance))));
      const int priority = mantissa == 1 ? 0 : mantissa == 5 ? 1 : mantissa == 2 ? 2 : 3;
      ticks.push_back(
          {v, PaperPixelY(scales, v), textio::FormatF(v, 1, SequenceDecimals(v)), priority});
    }
    return ticks;
  }
  if (!(scales.yStep > 0.0)) return ticks;
  const double first = std::ceil(scales.yMin / scales.yStep - kSequenceTolerance);
  const double last = std::floor(scales.yMax / scales.yStep + kSequenceTolerance);
  for (double k = first; k <= last; ++k) {
    const double value = k * scales.yStep;
    ticks.push_back(
        {value, PaperPixelY(scales, value), textio::FormatF(value, 1, scales.yDecimals), 0});
  }
  return ticks;
}

std::vector<bool> PlaceLabels(const std::vector<PaperTick>& ticks, const std::vector<int>& sizes,
                              int gap, int low, int high) {
  std::vector<std::size_t> order(ticks.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    if (ticks[a].priority != ticks[b].priority) return ticks[a].priority < ticks[b].priority;
    return ticks[a].pixel < ticks[b].pixel;
  });
  std::vector<bool> placed(ticks.size(), false);
  std::vector<std::pair<int, int>> taken;  // [begin, end) of each placed label
  for (std::size_t i : order) {
    const int size = i < sizes.size() ? sizes[i] : 0;
    const int begin = ticks[i].pixel - size / 2;
    const int end = begin + size;
    if (begin < low || end > high) continue;
    const bool clear = std::all_of(taken.begin(), taken.end(), [&](const auto& other) {
      return begin >= other.second + gap || end + gap <= other.first;
    });
    if (!clear) continue;
    taken.emplace_back(begin, end);
    placed[i] = true;
  }
  return placed;
}

}  // namespace quilmor::graphs
