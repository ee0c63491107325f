#include "graphs/draw_graph.hpp"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "engine/catalogue.hpp"
#include "graphs/canvas.hpp"
#include "graphs/graph_types.hpp"
#include "graphs/paper_graph.hpp"
#include "textio/number_format.hpp"

namespace quilmor::graphs {
namespace {

// 96 dots per inch.
constexpr int kDotsPerMeter = 3780;

double Scaled(const std::vector<double>& series, int i, int factor) { return factor * series[i]; }

const std::vector<double>& SeriesData(const GraphSeries& s, Series which) {
  switch (which) {
    case Series::A:
      return s.A;
    case Series::B:
      return s.B;
    case Series::C:
      return s.C;
    case Series::D:
      return s.D;
    case Series::E:
      return s.E;
  }
  return s.A;
}

// The segments from row i to row i + 1 for i in [first, last) that `drawn`
// accepts, as connected polylines (so that a pattern runs on along a curve).
void DrawCurve(Canvas& canvas, const GraphState& graph, const std::vector<double>& xs,
               const std::vector<double>& ys, int first, int last,
               const std::function<bool(int)>& drawn) {
  QPolygon run;
  auto point = [&](int i) {
    return QPoint(PixelX(graph, Scaled(xs, i, graph.XFactor)),
                  PixelY(graph, Scaled(ys, i, graph.YFactor)));
  };
  for (int i = first; i < last; ++i) {
    if (!drawn(i)) {
      canvas.Polyline(run);
      run.clear();
      continue;
    }
    if (run.isEmpty()) run << point(i);
    run << point(i + 1);
  }
  canvas.Polyline(run);
}

// Observed points: "o" with its top-left corner at (px - 2, py) for every
// row below the top of the plot, thinned on long tables.
void DrawObservedPoints(Canvas& canvas, const GraphSeries& s, const GraphState& graph, int n) {
  canvas.SetFont(canvas.inks().colour ? 4 : 5, canvas.inks().Ink(kCyan));
  const int every = PointThinning(n);
  int below = 0;
  for (int i = 0; i < n; ++i) {
    const double x = Scaled(s.A, i, graph.XFactor);
    const double y = Scaled(s.B, i, graph.YFactor);
    if (!(graph.YMax > y)) continue;
    ++below;
    if (below % every != 0) continue;
    canvas.Text(PixelX(graph, x) - 2, PixelY(graph, y), "o");
  }
}

// One curve of a graph type against series A.
void DrawCurveRule(Canvas& canvas, const CurveRule& rule, const GraphSeries& s,
                   const GraphState& graph, int first, int n) {
  if (rule.segments == Segments::None) return;
  const std::vector<double>& ys = SeriesData(s, rule.y);
  canvas.SetPen(canvas.inks().Ink(rule.ink), rule.style);
  // Return periods without their last row leave out the last segment.
  const int last = graph.LastRowDropped ? n - 2 : n - 1;
  const int plotTop = kPlotBottom - graph.PlotHeight;
  if (graph.YLog && rule.segments != Segments::FirstToLast) {
    // On a logarithmic axis every segment is drawn, cut at the plot.
    canvas.painter().setClipRect(QRect(0, plotTop, kGraphWidth, graph.PlotHeight + 1));
    DrawCurve(canvas, graph, s.A, ys, first, last, [](int) { return true; });
    canvas.painter().setClipping(false);
    return;
  }
  switch (rule.segments) {
    case Segments::None:
      break;
    case Segments::All:
      DrawCurve(canvas, graph, s.A, ys, first, last, [](int) { return true; });
      break;
    case Segments::EndNotAboveTop:
      DrawCurve(canvas, graph, s.A, ys, first, last, [&graph, &ys](int i) {
        return Scaled(ys, i + 1, graph.YFactor) <= graph.DataMaxY;
      });
      break;
    case Segments::CutAtPlotTop:
      canvas.painter().setClipRect(QRect(0, plotTop, kGraphWidth, kGraphHeight - plotTop));
      DrawCurve(canvas, graph, s.A, ys, first, last, [](int) { return true; });
      canvas.painter().setClipping(false);
      break;
    case Segments::FirstToLast:
      if (n < 1) break;
      canvas.Line(PixelX(graph, Scaled(s.A, 0, graph.XFactor)),
                  PixelY(graph, Scaled(ys, 0, graph.YFactor)),
                  PixelX(graph, Scaled(s.A, n - 1, graph.XFactor)),
                  PixelY(graph, Scaled(ys, n - 1, graph.YFactor)));
      break;
  }
}

// Class bars of the calculated (D) and "#" marks of the observed (C)
// percentages over the class limits A; neither factor applies to percentages.
void DrawIntervals(Canvas& canvas, const GraphSeries& s, const GraphState& graph, int n) {
  canvas.SetPen(canvas.inks().Ink(kWhite), LineStyle::Solid);
  const auto& c = s.C;  // observed %
  const auto& d = s.D;  // calculated %
  auto a = [&](int i) { return Scaled(s.A, i, graph.XFactor); };
  for (int i = 0; i <= n - 2; ++i) {
    const int middle = PixelX(graph, (a(i) + a(i + 1)) / 2);
    if (i >= 1) canvas.Text(middle - 4, PixelY(graph, c[i]) - 6, "#");
    double h = d[i];
    if (i >= 1) {
      h = std::max(h, 0.005 * graph.YMax);
    } else if (d[0] > d[1]) {
      h = (d[1] / 2 + d[0]) / 2;
    }
    const int left = PixelX(graph, a(i));
    const int right = PixelX(graph, a(i + 1));
    const int top = PixelY(graph, h);
    if (i >= 1 && d[i] >= 0) canvas.Line(left, kPlotBottom, left, top);
    if (d[i] > 0) {
      canvas.Line(left, top, right, top);
      canvas.Line(right, top, right, kPlotBottom);
    }
  }
  if (n < 2) return;
  // The open class above the last limit: three quarters of a class wide, at
  // most up to the end of the axis.
  const double range = static_cast<double>(graph.XMax) - graph.XMin;
  const double width = std::min(a(n - 1) - graph.XMin + 0.75 * (a(n - 1) - a(n - 2)), range);
  const int left = PixelX(graph, a(n - 1));
  const int right = range == 0.0 ? kPlotLeft : kPlotLeft + Near(graph.PlotWidth * width / range);
  double h = d[n - 1];
  if (h > d[n - 2]) h = (0.5 * d[n - 2] + d[n - 2]) * 0.5;
  const int top = PixelY(graph, h);
  canvas.Line(left, PixelY(graph, d[n - 2]), left, top);
  canvas.Line(left, top, right, top);
}

const std::string& LegendText(const GraphState& graph, LegendRole role) {
  switch (role) {
    case LegendRole::Observed:
      return graph.ObservedLegend;
    case LegendRole::Calculated:
      return graph.CalculatedLegend;
    case LegendRole::Limit:
      return graph.LimitLegend;
    case LegendRole::Equality:
      return graph.EqualityLegend;
  }
  return graph.ObservedLegend;
}

void DrawAxes(Canvas& canvas, const GraphState& graph) {
  canvas.SetFont(8, canvas.inks().Ink(kWhite));
  canvas.SetPen(canvas.inks().Ink(kWhite), LineStyle::Solid);
  const int plotTop = kPlotBottom - graph.PlotHeight;
  const int plotRight = kPlotLeft + graph.PlotWidth;

  canvas.Line(kPlotLeft, kPlotBottom, kPlotLeft, plotTop);
  auto yLabel = [&](int ty, const std::string& label) {
    canvas.Text(kPlotLeft - canvas.TextWidth(label) - 6, ty - Near(canvas.TextHeight() / 2.0),
                label);
  };
  const int yDivisions = graph.YLog ? 0 : std::max(graph.YDivisions, 1);
  for (const LogTick& tick : graph.YLog ? LogPeriodTicks(graph) : std::vector<LogTick>{}) {
    const int ty = PixelY(graph, tick.value);
    canvas.Line(kPlotLeft, ty, kPlotLeft - 4, ty);
    if (tick.labelled) yLabel(ty, textio::FormatF(tick.value, 1, 0));
  }
  for (int a = std::max(0, yDivisions - 10); a <= yDivisions && !graph.YLog; ++a) {
    const double fraction = static_cast<double>(a) / yDivisions;
    const int ty = Near(fraction * graph.PlotHeight + plotTop);
    canvas.Line(kPlotLeft, ty, kPlotLeft - 4, ty);
    const double value = graph.YMax - fraction * (static_cast<double>(graph.YMax) - graph.YMin);
    yLabel(ty, textio::FormatF(value, graph.YDecimals + 2, graph.YDecimals));
  }

  canvas.Line(kPlotLeft, kPlotBottom, plotRight, kPlotBottom);
  const int xDivisions = std::max(graph.XDivisions, 1);
  for (int b = 0; b <= xDivisions; ++b) {
    const double fraction = static_cast<double>(b) / xDivisions;
    const int tx = Near(fraction * graph.PlotWidth + kPlotLeft);
    canvas.Line(tx, kPlotBottom, tx, kPlotBottom + 4);
    // The product in integers (64 bits, so no axis range can overflow it).
    const std::int64_t product =
        static_cast<std::int64_t>(b) * (static_cast<std::int64_t>(graph.XMax) - graph.XMin);
    const double value = graph.XMin + static_cast<double>(product) / xDivisions;
    constexpr int kLabelLeft = 62;  // labels start 8 pixels left of their tick
    canvas.Text(Near(fraction * graph.PlotWidth + kLabelLeft), 432,
                textio::FormatF(value, graph.XDecimals + 2, graph.XDecimals));
  }
}

}  // namespace

QImage NewGraphImage() {
  QImage image(kGraphWidth, kGraphHeight, QImage::Format_RGB32);
  image.setDotsPerMeterX(kDotsPerMeter);
  image.setDotsPerMeterY(kDotsPerMeter);
  image.fill(kSilver);
  return image;
}

std::string CreditLine() { return "Quilmor, cumulative frequency analysis - see README.md"; }

int PointThinning(int rows) {
  if (rows < 100) return 1;
  return std::min(rows / 100 + 1, 10);
}

void PaintGraph(QPainter& painter, const GraphPicture& picture, bool smooth) {
  if (picture.paper) {
    PaintPaper(painter, picture, smooth);
    return;
  }
  const GraphState& graph = picture.scaled.state;
  const GraphSeries& series = picture.scaled.series;
  const int n = series.Rows();
  Canvas canvas(painter, picture.ColourGraph, smooth);
  const Inks& inks = canvas.inks();

  // Frame and heading.
  canvas.SetFont(10, kBlack);
  canvas.Fill(0, 0, kGraphWidth, kGraphHeight, kSilver);
  canvas.Text(105, 5, picture.Title1);
  canvas.SetFont(8, kBlack);
  canvas.Text(20, 480, CreditLine());

  // Plot background and titles.
  canvas.Fill(20, 19, 605, 475, inks.Background());
  const QColor white = inks.Ink(kWhite);
  canvas.SetPen(white, LineStyle::Solid);
  canvas.SetFont(8, white);
  canvas.Text(105, 20, picture.Title2);
  const GraphTypeRow* row = GraphTypeOf(picture.GraphType);
  canvas.Text(row ? row->xTitleLeft : GraphTypeRow{}.xTitleLeft, 445, graph.XTitle);
  canvas.Text(82, 50, graph.YTitle);
  canvas.Text(270, 50, picture.DistributionName);

  if (row != nullptr) {
    // Legend.
    constexpr int kLegendX = 86;
    for (std::size_t k = 0; k < row->legendLines; ++k) {
      const LegendLine& line = row->legend[k];
      canvas.SetFont(8, inks.Ink(line.ink));
      canvas.Text(kLegendX, line.y, LegendText(graph, line.role));
    }
    canvas.SetFont(8, white);

    // Data.
    if (row->observedPoints) DrawObservedPoints(canvas, series, graph, n);
    if (row->intervalBars) DrawIntervals(canvas, series, graph, n);
    for (const CurveRule& curve : row->curves) {
      DrawCurveRule(canvas, curve, series, graph, static_cast<int>(row->firstSegment), n);
    }
  }

  DrawAxes(canvas, graph);
}

void PaintGraph(const GraphPicture& picture, QImage& image) {
  // The image may have a device pixel ratio (a screen's): the graph is laid
  // out in its 623 x 495 device-independent units.
  const QSizeF units = image.deviceIndependentSize();
  if (qRound(units.width()) != kGraphWidth || qRound(units.height()) != kGraphHeight ||
      image.format() != QImage::Format_RGB32) {
    image = NewGraphImage();
  }
  QPainter painter(&image);
  PaintGraph(painter, picture, false);
}

DrawnGraph MakeGraph(report::TDMQuilmor& dm, const GraphRequest& request) {
  DrawnGraph drawn;
  const bool paper = request.GraphType == kPaperGraph;
  drawn.read = ReadGraphData(dm, request.reportPath, paper ? kPaperTableType : request.GraphType);
  if (!drawn.read.message.empty()) dm.Ui().ShowMessage(drawn.read.message);
  if (drawn.read.outcome == GraphReadOutcome::BadNumber) return drawn;
  GraphPicture picture;
  picture.GraphType = request.GraphType;
  picture.ColourGraph = request.ColourGraph;
  if (paper) {
    PaperOptions options = request.paper;
    options.plottingAlpha = PlottingAlphaOfReport(dm.ReportLines);
    picture.paper = MakePaper(SeriesOf(dm), dm.FittedCode,
                              FittedParameters(request.reportPath, dm.FittedCode), options);
  } else {
    picture.scaled = ComputeGraphScales(SeriesOf(dm), request.GraphType, request.scale);
    SetGraphTitles(picture.scaled.state, request.GraphType);
  }
  picture.Title1 = dm.Title1;
  picture.Title2 = dm.Title2;
  picture.DistributionName = request.title.name;
  if (request.title.fromReport) {
    if (const char* name = engine::CatalogueName(dm.FittedCode)) picture.DistributionName = name;
  }
  drawn.picture = std::move(picture);
  return drawn;
}

DrawnGraph DrawGraph(report::TDMQuilmor& dm, const GraphRequest& request, QImage& image) {
  DrawnGraph drawn = MakeGraph(dm, request);
  if (drawn.picture) PaintGraph(*drawn.picture, image);
  return drawn;
}

void EnsureGuiApplication() {
  if (QGuiApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "quilmor";
  static char* argv[] = {name, nullptr};
  // Starting a platform without a desktop session makes Qt note missing
  // session settings (XDG_RUNTIME_DIR); that note is not for our users.
  const QtMessageHandler previous =
      qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  // Deliberately never destroyed: fonts and images may be used until exit.
  static QGuiApplication* application = new QGuiApplication(argc, argv);
  (void)application;
  qInstallMessageHandler(previous);
}

}  // namespace quilmor::graphs
