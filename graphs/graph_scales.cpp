#include "graphs/graph_scales.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

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

// Rows that every series of the table holds.
int RowCount(const report::TDMQuilmor& dm) {
  std::size_t n = static_cast<std::size_t>(std::max(dm.NrOfData, 0));
  for (const auto* s : {&dm.SeriesA, &dm.SeriesB, &dm.SeriesC, &dm.SeriesD, &dm.SeriesE}) {
    n = std::min(n, s->size());
  }
  return static_cast<int>(n);
}

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

void ComputeGraphScales(report::TDMQuilmor& dm, GraphState& graph, int GraphType) {
  const int n = RowCount(dm);
  auto& a = dm.SeriesA;
  auto& b = dm.SeriesB;
  auto& c = dm.SeriesC;
  auto& d = dm.SeriesD;
  auto& e = dm.SeriesE;

  Extent x;
  Extent y;
  double intervalTop = 0.0;  // type 2: the larger of the observed and calculated maxima
  graph.LastRowDropped = false;

  switch (GraphType) {
    case 1:
      for (int i = 0; i < n; ++i) {
        x.Take(a[i]);
        y.Take(b[i]);
      }
      break;
    case 2: {
      // The last lower class limit stands for the open class above the table:
      // it is raised by half the last class width while the extents are taken.
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
    case 3:
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
    case 4:
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
    case 5:
      for (int i = 0; i < n; ++i) {
        a[i] = b[i];  // observed
        d[i] = b[i];
        b[i] = c[i];  // calculated
      }
      for (int i = 0; i < n; ++i) {
        x.Take(a[i]);
        y.Take(b[i]);
      }
      break;
    default:
      break;
  }

  // A table without rows has no extents; its axes are drawn around 0.
  graph.DataMinX = x.seen ? x.minimum : 0.0;
  graph.DataMaxX = x.seen ? x.maximum : 0.0;
  graph.DataMinY = y.seen ? y.minimum : 0.0;
  graph.DataMaxY = y.seen ? y.maximum : 0.0;

  graph.XFactor = ScaleFactor(graph.DataMinX, graph.DataMaxX);
  graph.DataMinX *= graph.XFactor;
  graph.DataMaxX *= graph.XFactor;

  graph.YFactor = 1;
  if (GraphType == 1 || GraphType == 4) {
    graph.YMin = 0;
    graph.DataMinY = 0;
    graph.YDecimals = 0;
    graph.YMax = 120;
    graph.YDivisions = 12;
  } else if (GraphType == 2) {
    graph.YMin = 0;
    graph.YDecimals = 1;
    graph.YMax = 10 * Near((intervalTop + 15) / 10);
    graph.YDivisions = graph.YMax / 10;
  }
  if (GraphType >= 3 && GraphType <= 5) {
    graph.YFactor = ScaleFactor(graph.DataMinY, graph.DataMaxY);
    graph.DataMinY *= graph.YFactor;
    graph.DataMaxY *= graph.YFactor;
  }

  const AxisBounds xAxis = ComputeAxisBounds(graph.DataMinX, graph.DataMaxX);
  graph.XMin = xAxis.lower;
  graph.XMax = xAxis.upper;
  graph.XDivisions = xAxis.divisions;
  graph.XDecimals = xAxis.decimals;
  if (GraphType >= 3 && GraphType <= 5) {
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
  if (graph.YDivisions >= 11 && GraphType >= 2) {
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
}

void SetGraphTitles(GraphState& graph, int GraphType) {
  switch (GraphType) {
    case 1:
      graph.YTitle = "Cumulative frequency (%)";
      break;
    case 2:
      graph.YTitle = "Interval frequency (%)";
      break;
    case 3:
      switch (graph.YFactor) {
        case 10:
          graph.YTitle = "X-data * 10";
          break;
        case 100:
          graph.YTitle = "X-data * 100";
          break;
        case 1000:
          graph.YTitle = "X-data * 1000";
          break;
        default:
          graph.YTitle = "X-data";
          break;
      }
      break;
    case 4:
      graph.YTitle = "Return period";
      break;
    case 5:
      graph.YTitle = "Cumulative frequency calculated (%)";
      break;
    default:
      graph.YTitle.clear();
      break;
  }

  switch (graph.XFactor) {
    case 10:
      graph.XTitle = "       X-data * 10";
      break;
    case 100:
      graph.XTitle = "      X-data * 100";
      break;
    case 1000:
      graph.XTitle = "     X-data * 1000";
      break;
    default:
      graph.XTitle = "         X-Data";
      break;
  }
  if (GraphType == 5) graph.XTitle = "Cumulative frequency observed (%)";

  graph.ObservedLegend = "  o    observed";
  graph.CalculatedLegend = "-----  calculated";
  graph.LimitLegend = "- - -  90% conf. limit";
  graph.EqualityLegend = " - - - Obs = Calc";
  if (GraphType == 2) {
    graph.ObservedLegend = "  #    observed";
    graph.CalculatedLegend = "____calculated";
  } else if (GraphType == 3) {
    graph.ObservedLegend = "----- observed/calculated";
  }
}

int PixelX(const GraphState& graph, double v) {
  const double range = static_cast<double>(graph.XMax) - graph.XMin;
  if (range == 0.0) return kPlotLeft;
  const double offset = (v - graph.XMin) * graph.PlotWidth / range;
  return kPlotLeft + std::clamp(Near(offset), -kPixelLimit, kPixelLimit);
}

int PixelY(const GraphState& graph, double v) {
  const double range = static_cast<double>(graph.YMax) - graph.YMin;
  if (range == 0.0) return kPlotBottom;
  const double offset = (v - graph.YMin) * graph.PlotHeight / range;
  return kPlotBottom - std::clamp(Near(offset), -kPixelLimit, kPixelLimit);
}

}  // namespace quilmor::graphs
