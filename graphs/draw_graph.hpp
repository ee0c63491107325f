// Painting a graph of a results report onto a fixed-size image: frame,
// titles, legend, data and axes, in colour or in black and white.
//
// Drawing surface: 623 x 495 pixels, origin top left. The plot spans x = 70
// (left) to 570 and y = 420 (bottom) up to 50; all axes are linear.
#pragma once

#include <QImage>
#include <optional>
#include <string>

#include "graphs/graph_data.hpp"
#include "graphs/graph_scales.hpp"
#include "graphs/paper_scales.hpp"
#include "report/data_module.hpp"

class QPainter;

namespace quilmor::graphs {

inline constexpr int kGraphWidth = 623;
inline constexpr int kGraphHeight = 495;

// A blank graph image of 623 x 495 pixels at 96 dots per inch.
QImage NewGraphImage();

// The text at (20, 480) under the plot.
std::string CreditLine();

// Observed points are thinned on long tables: every k-th point below the top
// of the plot is drawn, k = 1 below 100 rows, then 2 below 200 rows and so on
// up to 10 from 900 rows on.
int PointThinning(int rows);

// A graph on probability paper: what it shows, its scales and axis titles.
struct PaperPicture {
  PaperSeries series;
  PaperScales scales;
  std::string XTitle;  // under the plot: the frequency axis and the paper
  std::string YTitle;  // the X axis
};

// Everything one drawing shows: the type, the mode, the scales with the
// series as drawn, and the texts of the title lines.
struct GraphPicture {
  int GraphType = 1;
  bool ColourGraph = true;
  ScaledGraph scaled;                 // types 1 .. 5
  std::optional<PaperPicture> paper;  // probability paper (kPaperGraph)
  std::string Title1;
  std::string Title2;
  std::string DistributionName;
};

// Which name of the fitted function the title shows.
struct DistributionTitle {
  std::string name;
  // The catalogue name of the code found in the report; `name` when the
  // report's code has none (0, unreadable).
  bool fromReport = false;
};

// The choices of a probability paper.
struct PaperOptions {
  // The paper; by default that of the fitted function (DefaultPaper).
  std::optional<ProbabilityPaper> paper;
  // X on a logarithmic axis (always so on the log-normal and Weibull paper).
  bool logX = false;
  // The a of the report's plotting position (i - a)/(N + 1 - 2a); 0 is i/(N+1).
  double plottingAlpha = 0.0;
  // The 90% band of a design-value bootstrap (function chosen anew): the
  // limits of X at non-exceedance frequencies F, in the data scale.
  std::optional<PaperBand> bootstrapBand;
};

// What to draw from which report.
struct GraphRequest {
  std::string reportPath;  // the results report (".out")
  int GraphType = 1;       // 1 .. 5, or kPaperGraph
  bool ColourGraph = true;
  DistributionTitle title{};
  ScaleOptions scale{};
  PaperOptions paper{};
};

struct DrawnGraph {
  GraphReadResult read;
  // Empty when nothing could be drawn (a row of the table is unreadable).
  std::optional<GraphPicture> picture;
};

// MakeGraph: reads the table of the request's type from its report into dm
// (ReadGraphData), then computes the scales and titles of the picture from
// dm's series. A report that cannot be opened gets its message and the
// picture is made from the series held from before; a table that is missing
// or has no closing line gets a message and what was read is shown; a row
// that cannot be read gets a message and no picture.
DrawnGraph MakeGraph(report::TDMQuilmor& dm, const GraphRequest& request);

// DrawGraph: MakeGraph, then the picture painted onto `image` (made 623 x 495
// when it is not); `image` is left alone when there is no picture. Fonts need
// a QGuiApplication (see EnsureGuiApplication).
DrawnGraph DrawGraph(report::TDMQuilmor& dm, const GraphRequest& request, QImage& image);

// The painting alone, onto an image of 623 x 495 device-independent pixels
// as it is (at its device pixel ratio, for a screen); any other is made a new
// 623 x 495 one at 96 dots per inch.
void PaintGraph(const GraphPicture& picture, QImage& image);

// The painting onto any device: the painter's coordinates are the 623 x 495
// pixels of the graph (scale the painter for another size). `smooth` draws
// lines and text antialiased, for resolutions above the screen's.
void PaintGraph(QPainter& painter, const GraphPicture& picture, bool smooth);

// Creates the process's QGuiApplication when none exists yet (command-line
// program, tests), on the "offscreen" platform unless QT_QPA_PLATFORM names
// another. It lives until the process ends.
void EnsureGuiApplication();

}  // namespace quilmor::graphs
