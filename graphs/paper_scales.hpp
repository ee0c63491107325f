// Probability paper: the horizontal axis is the reduced variate of a paper,
// on which the distribution of that paper plots as a straight line; it is
// labelled with non-exceedance percentages below and return periods above.
// The vertical axis is X, linear or logarithmic. Pure arithmetic: the
// transforms, the ranges, the ticks and where they fall; no drawing here.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/catalogue.hpp"

namespace quilmor::graphs {

using engine::ProbabilityPaper;

// Standard normal Phi(z) = erfc(-z / sqrt 2) / 2 and its inverse (to full
// double precision; NaN outside (0, 1)).
double StandardNormalFreq(double z);
double StandardNormalQuantile(double f);

// The reduced variate u of a non-exceedance frequency F on a paper:
//   normal, log-normal  u = z with Phi(z) = F
//   Gumbel              u = -ln(-ln F)
//   Weibull             u = ln(-ln(1 - F))
//   exponential         u = -ln(1 - F)
// NaN for F outside (0, 1). FrequencyOfVariate is its inverse.
double ReducedVariate(ProbabilityPaper paper, double f);
double FrequencyOfVariate(ProbabilityPaper paper, double u);

// The log-normal and the Weibull paper plot ln X (a logarithmic X axis).
bool PaperHasLogX(ProbabilityPaper paper);

// "normal", "lognormal", "gumbel", "weibull", "exponential": the names the
// command line takes.
std::string_view PaperName(ProbabilityPaper paper);
std::optional<ProbabilityPaper> PaperNamed(std::string_view name);
// "normal paper", "log-normal paper", "Gumbel paper", ...: the name the
// graph shows.
std::string_view PaperTitle(ProbabilityPaper paper);

// The paper a fitted function is shown on by default: its catalogue row's
// paper (that of row 0 for a code outside the catalogue).
ProbabilityPaper DefaultPaper(int code);

// One point: a non-exceedance frequency F (0 .. 1) and its X.
struct PaperPoint {
  double f = 0.0;
  double x = 0.0;
};
struct PaperBand {
  std::vector<PaperPoint> lower;
  std::vector<PaperPoint> upper;
};

// What a paper shows.
struct PaperSeries {
  std::vector<PaperPoint> observed;  // the ranked values at their plotting positions
  std::vector<PaperPoint> fitted;    // the fitted function, F ascending
  PaperBand limits;                  // the method's 90% limits of the frequency table
  // The band of the design-value bootstrap, when one was computed. Drawn
  // yet.
  std::optional<PaperBand> bootstrap;
};

// The horizontal range of a paper: from the lower of 1 % and the first
// plotting position to the higher of 99.5 % and the last, widened by 3 % of
// the span on either side.
struct PaperRange {
  double uMin = 0.0;
  double uMax = 1.0;
};
PaperRange HorizontalRange(ProbabilityPaper paper, const std::vector<PaperPoint>& observed);

// The plot area of a paper (pixels of the 623 x 495 graph): the return
// periods stand above it, so it begins lower than on the other graphs.
inline constexpr int kPaperLeft = 70;
inline constexpr int kPaperRight = 570;
inline constexpr int kPaperTop = 70;
inline constexpr int kPaperBottom = 420;

struct PaperScales {
  ProbabilityPaper paper = ProbabilityPaper::Gumbel;
  bool logX = false;
  PaperRange range;
  // Vertical axis: on a linear one yMin .. yMax in yDivisions (at most 8)
  // steps yStep of 1, 2 or 5 times a power of ten, labelled with yDecimals
  // decimals. On a logarithmic one yMin .. yMax, two of 1, 2, 5 times a
  // power of ten with a tick at each of them (yStep 0); one too short for
  // four such ticks has ticks every yStep as a linear one.
  double yMin = 0.0;
  double yMax = 1.0;
  int yDivisions = 4;
  int yDecimals = 0;
  double yStep = 0.0;
  // Observed values a logarithmic axis cannot show (X <= 0).
  int hiddenPoints = 0;
};

// The vertical axis covers the observed values and the fitted function
// within the horizontal range (where it runs away, up to one span of the
// observed values beyond them; on a logarithmic axis their ratio, at most a
// factor 10). A
// logarithmic axis over data that hold no positive value is linear.
PaperScales ComputePaperScales(const PaperSeries& series, ProbabilityPaper paper, bool logX);

// Pixels: x of a reduced variate, y of an X-value (held within +-1e6 pixels;
// on a logarithmic axis a value not above 0 lies far below the plot).
int PaperPixelX(const PaperScales& scales, double u);
int PaperPixelY(const PaperScales& scales, double x);

// A tick of an axis: its value, its pixel, its label and the label's rank
// (0 first) when not every label fits.
struct PaperTick {
  double value = 0.0;
  int pixel = 0;
  std::string text;
  int priority = 0;
};
// Non-exceedance percentages 0.1, 0.5, 1, 5, 10, 20, 50, 80, 90, 95, 98, 99,
// 99.5, 99.9 (value: F) and return periods 1.01, 2, 5, 10, 25, 50, 100, 200,
// 500, 1000, 2000, 5000, 10000 (value: T, at F = 1 - 1/T) within the range.
std::vector<PaperTick> FrequencyTicks(const PaperScales& scales);
std::vector<PaperTick> ReturnPeriodTicks(const PaperScales& scales);
// The vertical axis (value: X).
std::vector<PaperTick> ValueTicks(const PaperScales& scales);

// Values 1, 2, 5 (fine: 1 .. 9) times powers of ten from `lo` to `hi`; the
// largest such value not above v and the smallest not below it.
std::vector<double> LogSequence(double lo, double hi, bool fine);
double LogFloor(double v, bool fine);
double LogCeil(double v, bool fine);

// Which labels are written: in the order of priority (then from the left),
// every label that keeps `gap` pixels from those already placed and lies
// within [low, high]. Labels are centred on their pixel, `sizes` wide.
std::vector<bool> PlaceLabels(const std::vector<PaperTick>& ticks, const std::vector<int>& sizes,
                              int gap, int low, int high);

}  // namespace quilmor::graphs
