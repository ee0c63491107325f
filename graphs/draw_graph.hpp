// Painting a graph of a results report onto a fixed-size image: frame,
// titles, legend, data and axes, in colour or in black and white.
//
// Drawing surface: 623 x 495 pixels, origin top left. The plot spans x = 70
// (left) to 570 and y = 420 (bottom) up to 50; all axes are linear.
#pragma once

#include <QImage>
#include <string>

#include "engine/analysis_state.hpp"
#include "graphs/graph_data.hpp"
#include "graphs/graph_scales.hpp"
#include "report/data_module.hpp"

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

// DrawGraph: reads the table of GraphType from the report named by
// dm.FileName, sets the distribution name from the report's code unless the
// name belongs to the last run (state.NameIsCurrent), computes the scales and
// titles into `graph` and paints `image` (made 623 x 495 when it is not).
//
// Outcomes: a report that cannot be opened gets its message and the graph is
// drawn from the series held from before; a table that is missing or has no
// closing line gets a message and what was read is drawn; a row that cannot
// be read gets a message and nothing is painted. Fonts need a
// QGuiApplication (see EnsureGuiApplication).
GraphReadResult DrawGraph(report::TDMQuilmor& dm, engine::AnalysisState& state, GraphState& graph,
                          int GraphType, bool ColourGraph, QImage& image);

// The painting alone, from the series in dm and a computed `graph`. An image
// of 623 x 495 device-independent pixels is painted as it is (at its device
// pixel ratio, for a screen); any other is made a new 623 x 495 one.
void PaintGraph(const report::TDMQuilmor& dm, const GraphState& graph,
                const std::string& distributionName, int GraphType, bool ColourGraph,
                QImage& image);

// Creates the process's QGuiApplication when none exists yet (command-line
// program, tests), on the "offscreen" platform unless QT_QPA_PLATFORM names
// another. It lives until the process ends.
void EnsureGuiApplication();

}  // namespace quilmor::graphs
