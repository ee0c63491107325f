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
#include "textio/number_format.hpp"

namespace quilmor::graphs {
namespace {

// 96 dots per inch.
constexpr int kDotsPerMeter = 3780;

const QColor kSilver(192, 192, 192);
const QColor kBlue(0, 0, 255);
const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);
const QColor kCyan(0, 255, 255);
const QColor kYellow(255, 255, 0);

// Pen patterns of the curves, in pixels: dotted limits, the dashed line of
// equality.
const QList<qreal> kDotPattern = {3, 3};
const QList<qreal> kDashPattern = {18, 6};

enum class LineStyle { Solid, Dotted, Dashed };

// Drawing inks of one mode: in black and white every white, cyan and yellow
// element is black and the plot background white.
struct Inks {
  bool colour = true;
  QColor Background() const { return colour ? kBlue : kWhite; }
  QColor Ink(const QColor& c) const { return colour ? c : kBlack; }
};

// A font of `points` points at 96 dots per inch, as whole pixels
// (size 10 -> 13 px, 8 -> 11 px, 4 -> 5 px), without smoothing so that every
// pixel has one of the graph's colours.
QFont ArialFont(int points) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize((points * 96 + 36) / 72);
  font.setStyleStrategy(QFont::NoAntialias);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

class Canvas {
 public:
  Canvas(QImage& image, bool colour) : m_painter(&image), m_inks{colour} {
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::TextAntialiasing, false);
  }

  const Inks& inks() const { return m_inks; }
  QPainter& painter() { return m_painter; }

  void Fill(int left, int top, int right, int bottom, const QColor& colour) {
    m_painter.fillRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), colour);
  }
  void SetFont(int points, const QColor& colour) {
    m_painter.setFont(ArialFont(points));
    m_textColour = colour;
  }
  void SetPen(const QColor& colour, LineStyle style) {
    QPen pen(colour, 1);
    pen.setCapStyle(Qt::SquareCap);
    if (style == LineStyle::Dotted) pen.setDashPattern(kDotPattern);
    if (style == LineStyle::Dashed) pen.setDashPattern(kDashPattern);
    m_painter.setPen(pen);
  }
  // Text with the top-left corner of its cell at (x, y).
  void Text(int x, int y, const std::string& text) {
    const QPen pen = m_painter.pen();
    m_painter.setPen(m_textColour);
    m_painter.drawText(QPoint(x, y + m_painter.fontMetrics().ascent()),
                       QString::fromLatin1(text.data(), static_cast<int>(text.size())));
    m_painter.setPen(pen);
  }
  int TextWidth(const std::string& text) {
    return m_painter.fontMetrics().horizontalAdvance(
        QString::fromLatin1(text.data(), static_cast<int>(text.size())));
  }
  int TextHeight() { return m_painter.fontMetrics().height(); }
  void Line(int x1, int y1, int x2, int y2) { m_painter.drawLine(x1, y1, x2, y2); }
  void Polyline(const QPolygon& points) {
    if (points.size() >= 2) m_painter.drawPolyline(points);
  }

 private:
  QPainter m_painter;
  Inks m_inks;
  QColor m_textColour = kBlack;
};

double Scaled(const std::vector<double>& series, int i, int factor) { return factor * series[i]; }

// Rows that every series of the table holds.
int RowCount(const report::TDMQuilmor& dm) {
  std::size_t n = static_cast<std::size_t>(std::max(dm.NrOfData, 0));
  for (const auto* s : {&dm.SeriesA, &dm.SeriesB, &dm.SeriesC, &dm.SeriesD, &dm.SeriesE}) {
    n = std::min(n, s->size());
  }
  return static_cast<int>(n);
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
void DrawObservedPoints(Canvas& canvas, const report::TDMQuilmor& dm, const GraphState& graph,
                        int n) {
  canvas.SetFont(canvas.inks().colour ? 4 : 5, canvas.inks().Ink(kCyan));
  const int every = PointThinning(n);
  int below = 0;
  for (int i = 0; i < n; ++i) {
    const double x = Scaled(dm.SeriesA, i, graph.XFactor);
    const double y = Scaled(dm.SeriesB, i, graph.YFactor);
    if (!(graph.YMax > y)) continue;
    ++below;
    if (below % every != 0) continue;
    canvas.Text(PixelX(graph, x) - 2, PixelY(graph, y), "o");
  }
}

void DrawCumulative(Canvas& canvas, const report::TDMQuilmor& dm, const GraphState& graph, int n) {
  DrawObservedPoints(canvas, dm, graph, n);
  const Inks& inks = canvas.inks();
  auto all = [](int) { return true; };
  canvas.SetPen(inks.Ink(kWhite), LineStyle::Solid);
  DrawCurve(canvas, graph, dm.SeriesA, dm.SeriesC, 0, n - 1, all);
  canvas.SetPen(inks.Ink(kYellow), LineStyle::Dotted);
  DrawCurve(canvas, graph, dm.SeriesA, dm.SeriesE, 0, n - 1, all);
  DrawCurve(canvas, graph, dm.SeriesA, dm.SeriesD, 0, n - 1, all);
}

void DrawReturnPeriods(Canvas& canvas, const report::TDMQuilmor& dm, const GraphState& graph,
                       int n) {
  DrawObservedPoints(canvas, dm, graph, n);
  const Inks& inks = canvas.inks();
  const int last = graph.LastRowDropped ? n - 2 : n - 1;
  // A calculated or upper segment ends at most at the largest value shown.
  auto notAboveTop = [&](const std::vector<double>& s) {
    return [&graph, &s](int i) { return Scaled(s, i + 1, graph.YFactor) <= graph.DataMaxY; };
  };
  canvas.SetPen(inks.Ink(kWhite), LineStyle::Solid);
  DrawCurve(canvas, graph, dm.SeriesA, dm.SeriesC, 0, last, notAboveTop(dm.SeriesC));
  canvas.SetPen(inks.Ink(kYellow), LineStyle::Dotted);
  DrawCurve(canvas, graph, dm.SeriesA, dm.SeriesD, 0, last, notAboveTop(dm.SeriesD));
  // The lower limit is always drawn; above the plot it ends at the top.
  canvas.painter().setClipRect(QRect(0, kPlotBottom - graph.PlotHeight, kGraphWidth,
                                     kGraphHeight - (kPlotBottom - graph.PlotHeight)));
  DrawCurve(canvas, graph, dm.SeriesA, dm.SeriesE, 0, last, [](int) { return true; });
  canvas.painter().setClipping(false);
}

void DrawIntervals(Canvas& canvas, const report::TDMQuilmor& dm, const GraphState& graph, int n) {
  canvas.SetPen(canvas.inks().Ink(kWhite), LineStyle::Solid);
  const auto& c = dm.SeriesC;  // observed %
  const auto& d = dm.SeriesD;  // calculated %
  auto a = [&](int i) { return Scaled(dm.SeriesA, i, graph.XFactor); };
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

void DrawConfidenceBelt(Canvas& canvas, const report::TDMQuilmor& dm, const GraphState& graph,
                        int n) {
  // The segment from the first row is left out.
  auto all = [](int) { return true; };
  canvas.SetPen(canvas.inks().Ink(kWhite), LineStyle::Solid);
  DrawCurve(canvas, graph, dm.SeriesA, dm.SeriesC, 1, n - 1, all);
  canvas.SetPen(canvas.inks().Ink(kYellow), LineStyle::Dotted);
  DrawCurve(canvas, graph, dm.SeriesA, dm.SeriesE, 1, n - 1, all);
  DrawCurve(canvas, graph, dm.SeriesA, dm.SeriesD, 1, n - 1, all);
}

void DrawCalcAgainstObserved(Canvas& canvas, const report::TDMQuilmor& dm, const GraphState& graph,
                             int n) {
  DrawObservedPoints(canvas, dm, graph, n);
  if (n < 1) return;
  canvas.SetPen(canvas.inks().Ink(kWhite), LineStyle::Dashed);
  canvas.Line(PixelX(graph, Scaled(dm.SeriesA, 0, graph.XFactor)),
              PixelY(graph, Scaled(dm.SeriesD, 0, graph.YFactor)),
              PixelX(graph, Scaled(dm.SeriesA, n - 1, graph.XFactor)),
              PixelY(graph, Scaled(dm.SeriesD, n - 1, graph.YFactor)));
}

void DrawAxes(Canvas& canvas, const GraphState& graph) {
  canvas.SetFont(8, canvas.inks().Ink(kWhite));
  canvas.SetPen(canvas.inks().Ink(kWhite), LineStyle::Solid);
  const int plotTop = kPlotBottom - graph.PlotHeight;
  const int plotRight = kPlotLeft + graph.PlotWidth;

  canvas.Line(kPlotLeft, kPlotBottom, kPlotLeft, plotTop);
  const int yDivisions = std::max(graph.YDivisions, 1);
  for (int a = std::max(0, yDivisions - 10); a <= yDivisions; ++a) {
    const double fraction = static_cast<double>(a) / yDivisions;
    const int ty = Near(fraction * graph.PlotHeight + plotTop);
    canvas.Line(kPlotLeft, ty, kPlotLeft - 4, ty);
    const double value = graph.YMax - fraction * (static_cast<double>(graph.YMax) - graph.YMin);
    const std::string label = textio::FormatF(value, graph.YDecimals + 2, graph.YDecimals);
    canvas.Text(kPlotLeft - canvas.TextWidth(label) - 6, ty - Near(canvas.TextHeight() / 2.0),
                label);
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

void PaintGraph(const report::TDMQuilmor& dm, const GraphState& graph,
                const std::string& distributionName, int GraphType, bool ColourGraph,
                QImage& image) {
  // The image may have a device pixel ratio (a screen's): the graph is laid
  // out in its 623 x 495 device-independent units.
  const QSizeF units = image.deviceIndependentSize();
  if (qRound(units.width()) != kGraphWidth || qRound(units.height()) != kGraphHeight ||
      image.format() != QImage::Format_RGB32) {
    image = NewGraphImage();
  }
  const int n = RowCount(dm);
  Canvas canvas(image, ColourGraph);
  const Inks& inks = canvas.inks();

  // Frame and heading.
  canvas.SetFont(10, kBlack);
  canvas.Fill(0, 0, kGraphWidth, kGraphHeight, kSilver);
  canvas.Text(105, 5, dm.Title1);
  canvas.SetFont(8, kBlack);
  canvas.Text(20, 480, CreditLine());

  // Plot background and titles.
  canvas.Fill(20, 19, 605, 475, inks.Background());
  const QColor white = inks.Ink(kWhite);
  canvas.SetPen(white, LineStyle::Solid);
  canvas.SetFont(8, white);
  canvas.Text(105, 20, dm.Title2);
  canvas.Text(GraphType == 5 ? 405 : 470, 445, graph.XTitle);
  canvas.Text(82, 50, graph.YTitle);
  canvas.Text(270, 50, distributionName);

  // Legend.
  constexpr int kLegendX = 86;
  switch (GraphType) {
    case 1:
    case 4:
      canvas.SetFont(8, inks.Ink(kCyan));
      canvas.Text(kLegendX, 65, graph.ObservedLegend);
      canvas.SetFont(8, white);
      canvas.Text(kLegendX, 80, graph.CalculatedLegend);
      canvas.SetFont(8, inks.Ink(kYellow));
      canvas.Text(kLegendX, 95, graph.LimitLegend);
      break;
    case 2:
      canvas.Text(kLegendX, 65, graph.ObservedLegend);
      canvas.Text(kLegendX, 80, graph.CalculatedLegend);
      break;
    case 3:
      canvas.Text(kLegendX, 65, graph.ObservedLegend);
      canvas.SetFont(8, inks.Ink(kYellow));
      canvas.Text(kLegendX, 80, graph.LimitLegend);
      break;
    case 5:
      canvas.Text(kLegendX, 70, graph.EqualityLegend);
      break;
    default:
      break;
  }
  canvas.SetFont(8, white);

  // Data.
  switch (GraphType) {
    case 1:
      DrawCumulative(canvas, dm, graph, n);
      break;
    case 2:
      DrawIntervals(canvas, dm, graph, n);
      break;
    case 3:
      DrawConfidenceBelt(canvas, dm, graph, n);
      break;
    case 4:
      DrawReturnPeriods(canvas, dm, graph, n);
      break;
    case 5:
      DrawCalcAgainstObserved(canvas, dm, graph, n);
      break;
    default:
      break;
  }

  DrawAxes(canvas, graph);
}

GraphReadResult DrawGraph(report::TDMQuilmor& dm, engine::AnalysisState& state, GraphState& graph,
                          int GraphType, bool ColourGraph, QImage& image) {
  GraphReadResult result = ReadGraphData(dm, GraphType);
  if (!result.message.empty()) dm.Ui().ShowMessage(result.message);
  if (result.outcome == GraphReadOutcome::BadNumber) return result;
  if (!state.NameIsCurrent) engine::SetDistributionName(state, dm.FittedCode);
  ComputeGraphScales(dm, graph, GraphType);
  SetGraphTitles(graph, GraphType);
  PaintGraph(dm, graph, state.DistributionName, GraphType, ColourGraph, image);
  return result;
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
