// The sixth graph: the observations, the fitted function and its 90% band on
// probability paper, in the frame, colours and title lines of the other
// graphs. The data come from the report's table of observed and calculated
// frequencies; the fitted function from the parameter file beside the report.
#pragma once

#include <optional>
#include <string>

#include "engine/model.hpp"
#include "graphs/draw_graph.hpp"
#include "graphs/paper_scales.hpp"

class QPainter;

namespace quilmor::graphs {

// The parameters of the fitted function from the parameter file (".aux")
// beside the report; nullopt when it is missing, damaged or belongs to
// another code than `reportCode` (a file left by another run).
std::optional<engine::Parameters> FittedParameters(const std::string& reportPath, int reportCode);

// Points on the paper from the table of observed and calculated frequencies
// (A: X ranked, B: observed %, C: calculated %, D: upper %, E: lower %): the
// observations at their plotting positions (i - a)/(N + 1 - 2a), N being the
// rows (a = 0: i/(N+1), the method's); the
// 90% limits where they lie inside (0, 100) %; the fitted function over the
// whole horizontal range by the inverse of `fitted`, or without parameters
// from the calculated column where it lies inside (0, 100) %.
PaperSeries PaperSeriesOf(const GraphSeries& table, const std::optional<engine::Parameters>& fitted,
                          ProbabilityPaper paper, double plottingAlpha = 0.0);

// The a of the plotting position a report's heading names (0 when none).
double PlottingAlphaOfReport(const std::vector<std::string>& reportLines);

// The paper of a report: the chosen paper or that of the fitted code, its
// series, scales and axis titles.
PaperPicture MakePaper(const GraphSeries& table, int reportCode,
                       const std::optional<engine::Parameters>& fitted,
                       const PaperOptions& options);

// Paints a picture that holds a paper (see PaintGraph).
void PaintPaper(QPainter& painter, const GraphPicture& picture, bool smooth);

}  // namespace quilmor::graphs
