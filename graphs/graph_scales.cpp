#include "graphs/graph_scales.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "graphs/graph_types.hpp"

namespace quilmor::graphs {
namespace {

constexpr double kStartMaximum = -1000000.0;
constexpr double kStartMinimum = 10000000.0;
// Results of Near are held within this magnitude.
constexpr double kNearLimit = 1.0e9;
// Pixel coordinates are held within this magnitude: far outside the image,
// yet small enough for the painter.
constexpr int kPixelLimit = 1000000;
// Axis bounds are held within this magnitude.
constexpr std::int64_t kAxisLimit = 1000000000;

double RoundHalfEven(double x) {
  const double below = std::floor(x);
  const double fraction = x - below;
  if (fraction < 0.5) return below;
  if (fraction > 0.5) return below + 1.0;
  return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

int HoldInt(double x, double limit) {
  if (std::isnan(x)) return 0;
  return static_cast<int>(std::clamp(x, -limit, limit));
}

// Running extents of one axis; `seen` tells whether any value came in.
struct Extent {
  double minimum = kStartMinimum;
  double maximum = kStartMaximum;
  bool seen = false;
  void Take(double v) {
    minimum = std::min(minimum, v);
    maximum = std::max(maximum, v);
    seen = true;
  }
  void TakeMaximum(double v) {
    maximum = std::max(maximum, v);
    seen = true;
  }
};

}  // namespace

int Near(double x) { return HoldInt(RoundHalfEven(x), kNearLimit); }

AxisStep StepForKey(double key) {
  struct Row {
    double from;
    int step;
    int decimals;
  };
  static constexpr Row kSteps[] = {
      {50000, 10000, 0}, {25000, 5000, 0}, {10000, 2500, 0}, {5000, 1000, 0},
      {2500, 500, 0},    {1000, 250, 0},   {500, 100, 0},    {250, 50, 0},
      {100, 25, 0},      {50, 10, 0},      {25, 5, 1},       {10, 4, 1},
  };
  for (const Row& row : kSteps) {
    if (key >= row.from) return {row.step, row.decimals};
  }
  return {1, 1};
}

AxisBounds ComputeAxisBounds(double minimum, double maximum) {
  // K: the maximum when |minimum| < maximum, otherwise |minimum|.
  const double key = std::fabs(minimum) < maximum ? maximum : std::fabs(minimum);
  const AxisStep step = StepForKey(key);
  const double s = step.step;
  std::int64_t lower = static_cast<std::int64_t>(step.step) * Near((minimum - s / 2.0) / s);
  std::int64_t upper = static_cast<std::int64_t>(step.step) * Near((maximum + s / 2.0) / s);
  // Equal bounds would leave the axis without length (every pixel position
  // would divide by zero); the axis then spans one step.
  if (upper <= lower) upper = lower + step.step;
  // Held within +-1e9 so that differences of bounds fit a 32-bit integer.
  lower = std::clamp<std::int64_t>(lower, -kAxisLimit, kAxisLimit - step.step);
  upper = std::clamp<std::int64_t>(upper, lower + step.step, kAxisLimit);
  AxisBounds bounds;
  bounds.lower = static_cast<int>(lower);
  bounds.upper = static_cast<int>(upper);
  bounds.divisions = static_cast<int>((upper - lower) / step.step);
  bounds.decimals = step.decimals;
  return bounds;
}

int ScaleFactor(double minimum, double maximum) {
  const bool negativeDominated = minimum < 0 && std::fabs(minimum) > std::fabs(maximum);
  if (!negativeDominated && minimum > 0) {
    if (maximum > 0 && maximum < 0.01) return 1000;
    if (maximum > 0.01 && maximum < 0.1) return 100;
    if (maximum > 0.1 && maximum < 1) return 10;
  } else if (negativeDominated && maximum < 0) {
    if (minimum > -0.01 && minimum < 0) return 1000;
    if (minimum > -0.1 && minimum < -0.01) return 100;
    if (minimum > -1 && minimum < -0.1) return 10;
  }
  return 1;
}

int GraphSeries::Rows() const {
  std::size_t n = A.size();
  for (const auto* s : {&B, &C, &D, &E}) n = std::min(n, s->size());
  return static_cast<int>(n);
}

GraphSeries SeriesOf(const report::TDMQuilmor& dm) {
  std::size_t n = static_cast<std::size_t>(std::max(dm.NrOfData, 0));
  for (const auto* s : {&dm.SeriesA, &dm.SeriesB, &dm.SeriesC, &dm.SeriesD, &dm.SeriesE}) {
    n = std::min(n, s->size());
  }
  auto head = [n](const std::vector<double>& s) {
    return std::vector<double>(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(n));
  };
  return {head(dm.SeriesA), head(dm.SeriesB), head(dm.SeriesC), head(dm.SeriesD), head(dm.SeriesE)};
}

namespace {

// The extents of the data by the rule of the graph type. For return periods
// the last row may be dropped (graph.LastRowDropped).
void TakeExtents(const GraphTypeRow& row, const GraphSeries& s, int n, GraphState& graph, Extent& x,
                 Extent& y, double& intervalTop) {
  const auto& a = s.A;
  const auto& b = s.B;
  const auto& c = s.C;
  const auto& d = s.D;
  const auto& e = s.E;
  switch (row.extents) {
    case ExtentRule::Points:
      for (int i = 0; i < n; ++i) {
        x.Take(a[i]);
        y.Take(b[i]);
      }
      break;
    case ExtentRule::Classes: {
      // The last lower class limit stands for the open class above the table:
      // it counts as raised by half the last class width.
      Extent observed;
      Extent calculated;
      for (int i = 0; i < n; ++i) {
        double limit = a[i];
        if (i == n - 1 && n >= 2) limit = a[n - 1] + (a[n - 1] - a[n - 2]) / 2;
        x.Take(limit);
        observed.TakeMaximum(c[i]);
        calculated.TakeMaximum(d[i]);
      }
      if (n > 0) {
        intervalTop = std::min(std::max(observed.maximum, calculated.maximum), 100.0);
        y.Take(0.0);
        y.Take(intervalTop);
      }
      break;
    }
    case ExtentRule::Belt:
      for (int i = 0; i < n; ++i) {
        x.Take(a[i]);
        y.TakeMaximum(d[i]);
        y.minimum = std::min(y.minimum, e[i]);
      }
      if (y.maximum > 0) {
        y.maximum *= 1.1;
      } else if (y.maximum < 0) {
        y.maximum *= 0.9;
      }
      break;
    case ExtentRule::ReturnPeriods:
      for (int pass = 0; pass < 2; ++pass) {
        x = Extent{};
        y = Extent{};
        const int inUse = graph.LastRowDropped ? n - 1 : n;
        for (int i = 0; i < inUse; ++i) {
          x.Take(a[i]);
          y.TakeMaximum(b[i]);
        }
        const double observedMax = y.maximum;
        double calculatedMax = kStartMaximum;
        double upperMax = kStartMaximum;
        for (int i = 0; i < n - 1; ++i) {
          calculatedMax = std::max(calculatedMax, c[i]);
          upperMax = std::max(upperMax, d[i]);
        }
        y.maximum = std::max({observedMax, calculatedMax, upperMax});
        // A single row is never dropped: nothing would be left to draw.
        if (calculatedMax < observedMax && upperMax < observedMax && !graph.LastRowDropped &&
            n >= 2) {
          graph.LastRowDropped = true;
          continue;
        }
        break;
      }
      break;
  }
}

// X as on the linear graph, but over every row; Y from 1 up to the largest
// observed, calculated or upper return period.
void LogPeriodScales(const GraphSeries& s, int n, GraphState& graph) {
  Extent x;
  Extent y;
  for (int i = 0; i < n; ++i) {
    x.Take(s.A[i]);
    for (double t : {s.B[i], s.C[i], s.D[i]}) {
      if (std::isfinite(t)) y.TakeMaximum(t);
    }
  }
  graph.YLog = true;
  graph.DataMinX = x.seen ? x.minimum : 0.0;
  graph.DataMaxX = x.seen ? x.maximum : 0.0;
  graph.XFactor = ScaleFactor(graph.DataMinX, graph.DataMaxX);
  graph.DataMinX *= graph.XFactor;
  graph.DataMaxX *= graph.XFactor;
  const AxisBounds xAxis = ComputeAxisBounds(graph.DataMinX, graph.DataMaxX);
  graph.XMin = xAxis.lower;
  graph.XMax = xAxis.upper;
  graph.XDivisions = std::clamp(xAxis.divisions, 4, 10);
  graph.XDecimals = xAxis.decimals + (xAxis.divisions == graph.XDivisions ? 0 : 1);

  graph.YFactor = 1;
  graph.DataMinY = 1.0;
  graph.DataMaxY = y.seen ? y.maximum : 1.0;
  graph.YMin = 1;
  graph.YMax = LogPeriodTop(graph.DataMaxY);
  graph.YDivisions = Near(std::log10(graph.YMax));  // decades, rounded
  graph.YDecimals = 0;
}

}  // namespace

int LogPeriodTop(double maximum) {
  constexpr int kLimit = 1000000000;
  for (long long decade = 10; decade <= kLimit; decade *= 10) {
    for (long long step : {decade, 2 * decade, 5 * decade}) {
      if (step <= kLimit && maximum <= static_cast<double>(step)) return static_cast<int>(step);
    }
  }
  return kLimit;
}

std::vector<LogTick> LogPeriodTicks(const GraphState& graph) {
  // 1, 2 and 5 stand log10(2) = 0.30 decades or more apart.
  const double decades = std::log10(static_cast<double>(graph.YMax) / graph.YMin);
  const double decadePixels = decades > 0 ? graph.PlotHeight / decades : graph.PlotHeight;
  const bool allLabelled = std::log10(2.0) * decadePixels >= kLogLabelGap;
  std::vector<LogTick> ticks;
  for (long long decade = 1; decade <= graph.YMax; decade *= 10) {
    for (int multiple : {1, 2, 5}) {
      const long long step = multiple * decade;
      if (step <= graph.YMax) {
        ticks.push_back({static_cast<double>(step), allLabelled || multiple == 1});
      }
    }
  }
  return ticks;
}

ScaledGraph ComputeGraphScales(const GraphSeries& series, int GraphType,
                               const ScaleOptions& options) {
  ScaledGraph result;
  GraphState& graph = result.state;
  graph.PlotWidth = options.PlotWidth;
  graph.PlotHeight = options.PlotHeight;
  result.series = series;
  const GraphTypeRow* found = GraphTypeOf(GraphType);
  if (found == nullptr) return result;
  const GraphTypeRow& row = *found;
  GraphSeries& s = result.series;
  const int n = s.Rows();
  if (row.swapObservedCalculated) {
    for (int i = 0; i < n; ++i) {
      s.A[i] = series.B[i];  // observed
      s.D[i] = series.B[i];
      s.B[i] = series.C[i];  // calculated
    }
  }

  if (row.periodAxis && options.logPeriod) {
    LogPeriodScales(s, n, graph);
    return result;
  }

  Extent x;
  Extent y;
  double intervalTop = 0.0;  // classes: the larger of the observed and calculated maxima
  TakeExtents(row, s, n, graph, x, y, intervalTop);

  // A table without rows has no extents; its axes are drawn around 0.
  graph.DataMinX = x.seen ? x.minimum : 0.0;
  graph.DataMaxX = x.seen ? x.maximum : 0.0;
  graph.DataMinY = y.seen ? y.minimum : 0.0;
  graph.DataMaxY = y.seen ? y.maximum : 0.0;

  graph.XFactor = ScaleFactor(graph.DataMinX, graph.DataMaxX);
  graph.DataMinX *= graph.XFactor;
  graph.DataMaxX *= graph.XFactor;

  graph.YFactor = 1;
  if (row.yFromZero) graph.DataMinY = 0;
  switch (row.yAxis) {
    case YAxisRule::Percent:
      graph.YMin = 0;
      graph.YDecimals = 0;
      graph.YMax = 120;
      graph.YDivisions = 12;
      break;
    case YAxisRule::IntervalPercent:
      graph.YMin = 0;
      graph.YDecimals = 1;
      graph.YMax = 10 * Near((intervalTop + 15) / 10);
      graph.YDivisions = graph.YMax / 10;
      break;
    case YAxisRule::FromData:
      graph.YFactor = ScaleFactor(graph.DataMinY, graph.DataMaxY);
      graph.DataMinY *= graph.YFactor;
      graph.DataMaxY *= graph.YFactor;
      break;
  }

  const AxisBounds xAxis = ComputeAxisBounds(graph.DataMinX, graph.DataMaxX);
  graph.XMin = xAxis.lower;
  graph.XMax = xAxis.upper;
  graph.XDivisions = xAxis.divisions;
  graph.XDecimals = xAxis.decimals;
  if (row.yAxis == YAxisRule::FromData) {
    const AxisBounds yAxis = ComputeAxisBounds(graph.DataMinY, graph.DataMaxY);
    graph.YMin = yAxis.lower;
    graph.YMax = yAxis.upper;
    graph.YDivisions = yAxis.divisions;
    graph.YDecimals = yAxis.decimals;
  }

  // Between 4 and 10 tick intervals; the bounds stay.
  if (graph.XDivisions >= 11) {
    graph.XDivisions = 10;
    ++graph.XDecimals;
  }
  if (graph.YDivisions >= 11 && row.capYDivisions) {
    graph.YDivisions = 10;
    ++graph.YDecimals;
  }
  if (graph.XDivisions < 4) {
    graph.XDivisions = 4;
    ++graph.XDecimals;
  }
  if (graph.YDivisions < 4) {
    graph.YDivisions = 4;
    ++graph.YDecimals;
  }
  return result;
}

namespace {

// "X-data" with the factor of the axis: "X-data * 10" and so on.
std::string DataTitle(int factor) {
  return factor == 1 ? std::string("X-data") : "X-data * " + std::to_string(factor);
}

// The X title stands right-aligned as if in 18 characters.
std::string DataXTitle(int factor) {
  if (factor == 1) return "         X-Data";
  const std::string title = DataTitle(factor);
  return std::string(title.size() < 18 ? 18 - title.size() : 0, ' ') + title;
}

}  // namespace

void SetGraphTitles(GraphState& graph, int GraphType) {
  static constexpr GraphTypeRow kNoType{};  // the legend texts most types share
  const GraphTypeRow* found = GraphTypeOf(GraphType);
  const GraphTypeRow& row = found ? *found : kNoType;
  graph.YTitle = !found               ? std::string()
                 : row.yTitle.empty() ? DataTitle(graph.YFactor)
                                      : std::string(row.yTitle);
  graph.XTitle = row.xTitle.empty() ? DataXTitle(graph.XFactor) : std::string(row.xTitle);
  graph.ObservedLegend = row.observedLegend;
  graph.CalculatedLegend = row.calculatedLegend;
  graph.LimitLegend = row.limitLegend;
  graph.EqualityLegend = row.equalityLegend;
}

int PixelX(const GraphState& graph, double v) {
  const double range = static_cast<double>(graph.XMax) - graph.XMin;
  if (range == 0.0) return kPlotLeft;
  const double offset = (v - graph.XMin) * graph.PlotWidth / range;
  return kPlotLeft + std::clamp(Near(offset), -kPixelLimit, kPixelLimit);
}

int PixelY(const GraphState& graph, double v) {
  if (graph.YLog) {
    const double range = std::log(static_cast<double>(graph.YMax) / graph.YMin);
    if (!(range > 0.0)) return kPlotBottom;
    if (!(v > 0.0)) return kPlotBottom + kPixelLimit;
    const double offset = std::log(v / graph.YMin) * graph.PlotHeight / range;
    return kPlotBottom - std::clamp(Near(offset), -kPixelLimit, kPixelLimit);
  }
  const double range = static_cast<double>(graph.YMax) - graph.YMin;
  if (range == 0.0) return kPlotBottom;
  const double offset = (v - graph.YMin) * graph.PlotHeight / range;
  return kPlotBottom - std::clamp(Near(offset), -kPixelLimit, kPixelLimit);
}

}  // namespace quilmor::graphs
