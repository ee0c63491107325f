// Axis bounds, scale factors, tick counts, label decimals and titles of a
// graph, computed from the series that ReadGraphData left in the data module.
// Pure arithmetic: no drawing happens here.
#pragma once

#include <string>
#include <vector>

#include "report/data_module.hpp"

namespace quilmor::graphs {

// The plot area: x = 70 is its left end and y = 420 its bottom; x grows to
// the right, y downward.
inline constexpr int kPlotLeft = 70;
inline constexpr int kPlotBottom = 420;

// The graph state, rewritten by every drawing.
struct GraphState {
  // Extents of the series drawn, after scaling by the factors.
  double DataMinX = 0.0;
  double DataMaxX = 0.0;
  double DataMinY = 0.0;
  double DataMaxY = 0.0;
  // 1, 10, 100 or 1000: every X (Y) value is multiplied by it before plotting.
  int XFactor = 1;
  int YFactor = 1;
  // Axis bounds in scaled units, whole multiples of the axis step.
  int XMin = 0;
  int XMax = 0;
  int YMin = 0;
  int YMax = 0;
  int XDivisions = 0;  // tick intervals
  int YDivisions = 0;
  int XDecimals = 0;  // decimals of the tick labels
  int YDecimals = 0;
  int PlotWidth = 500;
  int PlotHeight = 370;
  // Return periods only: the last table row is left out of the extents and
  // of the curves.
  bool LastRowDropped = false;
  // Return periods on a logarithmic axis: Y runs from YMin = 1 to YMax, one
  // of 10, 20, 50, 100, ...; the linear Y rules above do not apply.
  bool YLog = false;
  std::string XTitle;
  std::string YTitle;
  // Legend texts.
  std::string ObservedLegend;
  std::string CalculatedLegend;
  std::string LimitLegend;
  std::string EqualityLegend;
};

// The integer nearest to x, a half going to the even neighbour (2.5 -> 2,
// 3.5 -> 4, -0.5 -> 0). Results beyond +-1e9 are held there and NaN gives 0,
// so that no hostile report can overflow the integer arithmetic that follows.
int Near(double x);

// The step of an axis and the decimals of its labels for the key magnitude K.
struct AxisStep {
  int step = 1;
  int decimals = 1;
};
AxisStep StepForKey(double key);

// Bounds of one axis over the data [minimum, maximum]: lower = S*Near((min -
// S/2)/S), upper = S*Near((max + S/2)/S), divisions = (upper - lower) div S.
// When both bounds round to the same value the upper one is raised by one step.
struct AxisBounds {
  int lower = 0;
  int upper = 0;
  int divisions = 0;
  int decimals = 0;
};
AxisBounds ComputeAxisBounds(double minimum, double maximum);

// 1000, 100, 10 or 1 for data that lie within (0, 1) (or (-1, 0) for data
// that are mostly negative).
int ScaleFactor(double minimum, double maximum);

// The five series of one graph table, every one with the same rows.
struct GraphSeries {
  std::vector<double> A, B, C, D, E;
  int Rows() const;
};

// The rows of the data module's table that every series holds (at most
// NrOfData).
GraphSeries SeriesOf(const report::TDMQuilmor& dm);

struct ScaleOptions {
  int PlotWidth = 500;
  int PlotHeight = 370;
  // The return periods on a logarithmic T axis over every row (no row is
  // dropped), up to the largest observed, calculated or upper value.
  bool logPeriod = false;
};

// The scales of a graph and the series as they are drawn.
struct ScaledGraph {
  GraphState state;
  // Calculated against observed: A and D hold the observed and B the
  // calculated cumulative frequency; the other types as read.
  GraphSeries series;
};

// ComputeGraphScales: the scales of GraphType 1..5 over `series` (the titles
// follow with SetGraphTitles).
ScaledGraph ComputeGraphScales(const GraphSeries& series, int GraphType,
                               const ScaleOptions& options = {});

// SetGraphTitles: axis titles (after the factors are known) and legend texts.
void SetGraphTitles(GraphState& graph, int GraphType);

// The top of a logarithmic return-period axis: the least of 10, 20, 50, 100,
// 200, ... that is not below `maximum` (held at 1e9).
int LogPeriodTop(double maximum);

// Ticks of a logarithmic return-period axis from 1 to graph.YMax: at 1, 2, 5,
// 10, 20, 50, ...; every one labelled when the labels stand at least
// kLogLabelGap pixels apart, else only the powers of ten.
inline constexpr int kLogLabelGap = 14;
struct LogTick {
  double value = 1.0;
  bool labelled = true;
};
std::vector<LogTick> LogPeriodTicks(const GraphState& graph);

// Pixel of a scaled value: px(v) = 70 + Near((v - XMin) * PlotWidth / (XMax -
// XMin)), py(v) = 420 - Near((v - YMin) * PlotHeight / (YMax - YMin)); on a
// logarithmic axis py(v) = 420 - Near(log(v / YMin) * PlotHeight / log(YMax /
// YMin)), values not above 0 far below the plot.
int PixelX(const GraphState& graph, double v);
int PixelY(const GraphState& graph, double v);

}  // namespace quilmor::graphs
