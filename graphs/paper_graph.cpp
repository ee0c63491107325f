#include "graphs/paper_graph.hpp"

#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

#include "calculator/calculator.hpp"
#include "calculator/parameter_file.hpp"
#include "engine/plotting_position.hpp"
#include "graphs/canvas.hpp"
#include "textio/text_file.hpp"

namespace quilmor::graphs {
namespace {

// Points of the fitted function across the horizontal range.
constexpr int kFittedSteps = 240;
// Labels keep this many pixels apart.
constexpr int kLabelGap = 6;
constexpr int kLegendX = 86;

bool Inside(double percent) { return percent > 0.0 && percent < 100.0; }

QPoint Pixel(const PaperScales& scales, const PaperPoint& p) {
  return {PaperPixelX(scales, ReducedVariate(scales.paper, p.f)), PaperPixelY(scales, p.x)};
}

// A polyline through the points that lie on the paper (frequency inside
// (0, 1), on a logarithmic axis X above 0), cut at the plot.
void DrawPaperCurve(Canvas& canvas, const PaperScales& scales,
                    const std::vector<PaperPoint>& points) {
  QPolygon run;
  for (const PaperPoint& p : points) {
    const bool usable = p.f > 0.0 && p.f < 1.0 && std::isfinite(p.x) && (!scales.logX || p.x > 0.0);
    if (!usable) {
      canvas.Polyline(run);
      run.clear();
      continue;
    }
    run << Pixel(scales, p);
  }
  canvas.Polyline(run);
}

}  // namespace

std::optional<engine::Parameters> FittedParameters(const std::string& reportPath, int reportCode) {
  const auto lines = textio::ReadTextLines(textio::ChangeFileExt(reportPath, ".aux"));
  if (!lines) return std::nullopt;
  std::string error;
  std::optional<engine::Parameters> parameters = calculator::ParseParameterFile(*lines, error);
  if (!parameters || parameters->Code != reportCode) return std::nullopt;
  return parameters;
}

double PlottingAlphaOfReport(const std::vector<std::string>& reportLines) {
  // The line follows "Number of data used" among the first lines.
  constexpr std::size_t kHeadingLines = 12;
  for (std::size_t i = 0; i < std::min(reportLines.size(), kHeadingLines); ++i) {
    if (const std::optional<double> alpha = engine::PlottingAlphaOfLine(reportLines[i])) return *alpha;
  }
  return 0.0;
}

PaperSeries PaperSeriesOf(const GraphSeries& table, const std::optional<engine::Parameters>& fitted,
                          ProbabilityPaper paper, double plottingAlpha) {
  PaperSeries series;
  const int n = table.Rows();
  for (int i = 0; i < n; ++i) {
    series.observed.push_back({engine::PlottingFrequency(i + 1, n, plottingAlpha), table.A[i]});
    if (Inside(table.E[i])) series.limits.lower.push_back({table.E[i] / 100.0, table.A[i]});
    if (Inside(table.D[i])) series.limits.upper.push_back({table.D[i] / 100.0, table.A[i]});
  }
  if (fitted) {
    const PaperRange range = HorizontalRange(paper, series.observed);
    for (int k = 0; k <= kFittedSteps; ++k) {
      const double u = range.uMin + (range.uMax - range.uMin) * k / kFittedSteps;
      const double f = FrequencyOfVariate(paper, u);
      if (!(f > 0.0 && f < 1.0)) continue;
      // The calculator's inverse: the X-value of F, shift added.
      series.fitted.push_back({f, calculator::CalcVal(*fitted, f, n).CalcXValue});
    }
  } else {
    for (int i = 0; i < n; ++i) {
      if (Inside(table.C[i])) series.fitted.push_back({table.C[i] / 100.0, table.A[i]});
    }
  }
  return series;
}

PaperPicture MakePaper(const GraphSeries& table, int reportCode,
                       const std::optional<engine::Parameters>& fitted,
                       const PaperOptions& options) {
  const ProbabilityPaper paper = options.paper.value_or(DefaultPaper(reportCode));
  PaperPicture picture;
  picture.series = PaperSeriesOf(table, fitted, paper, options.plottingAlpha);
  if (options.bootstrapBand) {
    // Only the limits that lie on the paper: F inside (0, 1), X finite.
    PaperBand band;
    const auto onPaper = [](const PaperPoint& p) {
      return p.f > 0.0 && p.f < 1.0 && std::isfinite(p.x);
    };
    std::copy_if(options.bootstrapBand->lower.begin(), options.bootstrapBand->lower.end(),
                 std::back_inserter(band.lower), onPaper);
    std::copy_if(options.bootstrapBand->upper.begin(), options.bootstrapBand->upper.end(),
                 std::back_inserter(band.upper), onPaper);
    const auto byF = [](const PaperPoint& a, const PaperPoint& b) { return a.f < b.f; };
    std::sort(band.lower.begin(), band.lower.end(), byF);
    std::sort(band.upper.begin(), band.upper.end(), byF);
    if (!band.lower.empty() || !band.upper.empty()) picture.series.bootstrap = std::move(band);
  }
  picture.scales = ComputePaperScales(picture.series, paper, options.logX || PaperHasLogX(paper));
  picture.XTitle = "Cumulative frequency (%) on " + std::string(PaperTitle(paper));
  picture.YTitle = picture.scales.logX ? "X-data, logarithmic" : "X-data";
  return picture;
}

void PaintPaper(QPainter& painter, const GraphPicture& picture, bool smooth) {
  const PaperPicture& paper = *picture.paper;
  const PaperScales& scales = paper.scales;
  Canvas canvas(painter, picture.ColourGraph, smooth);
  const Inks& inks = canvas.inks();

  // Frame and heading, as on the other graphs.
  canvas.SetFont(10, kBlack);
  canvas.Fill(0, 0, kGraphWidth, kGraphHeight, kSilver);
  canvas.Text(105, 5, picture.Title1);
  canvas.SetFont(8, kBlack);
  canvas.Text(20, 480, CreditLine());
  canvas.Fill(20, 19, 605, 475, inks.Background());
  const QColor white = inks.Ink(kWhite);
  canvas.SetPen(white, LineStyle::Solid);
  canvas.SetFont(8, white);
  canvas.Text(105, 20, picture.Title2);
  canvas.Text(82, 35, paper.YTitle);
  canvas.Text(270, 35, picture.DistributionName);

  // Axes: X on the left, the frequencies below, the return periods above.
  canvas.Line(kPaperLeft, kPaperBottom, kPaperLeft, kPaperTop);
  canvas.Line(kPaperLeft, kPaperBottom, kPaperRight, kPaperBottom);
  canvas.Line(kPaperLeft, kPaperTop, kPaperRight, kPaperTop);
  const std::string caption = "Return period";
  canvas.Text(22, 53, caption);
  auto horizontalLabels = [&](const std::vector<PaperTick>& ticks, int tickEnd, int textTop,
                              int low) {
    std::vector<int> widths;
    for (const PaperTick& t : ticks) widths.push_back(canvas.TextWidth(t.text));
    const std::vector<bool> placed = PlaceLabels(ticks, widths, kLabelGap, low, 604);
    for (std::size_t i = 0; i < ticks.size(); ++i) {
      const int y = tickEnd > textTop ? kPaperTop : kPaperBottom;
      canvas.Line(ticks[i].pixel, y, ticks[i].pixel, tickEnd);
      if (placed[i]) canvas.Text(ticks[i].pixel - widths[i] / 2, textTop, ticks[i].text);
    }
  };
  horizontalLabels(FrequencyTicks(scales), kPaperBottom + 4, kPaperBottom + 12, 22);
  horizontalLabels(ReturnPeriodTicks(scales), kPaperTop - 4, 53,
                   22 + canvas.TextWidth(caption) + kLabelGap);
  canvas.Text(kPaperRight - canvas.TextWidth(paper.XTitle), 445, paper.XTitle);

  const std::vector<PaperTick> values = ValueTicks(scales);
  const std::vector<int> heights(values.size(), canvas.TextHeight());
  const std::vector<bool> placed =
      PlaceLabels(values, heights, 1, kPaperTop - canvas.TextHeight(), kPaperBottom + 12);
  for (std::size_t i = 0; i < values.size(); ++i) {
    const int ty = values[i].pixel;
    canvas.Line(kPaperLeft, ty, kPaperLeft - 4, ty);
    if (placed[i]) {
      canvas.Text(kPaperLeft - canvas.TextWidth(values[i].text) - 6,
                  ty - Near(canvas.TextHeight() / 2.0), values[i].text);
    }
  }

  // Legend.
  canvas.SetFont(8, inks.Ink(kCyan));
  canvas.Text(kLegendX, 78, "  o    observed");
  canvas.SetFont(8, white);
  canvas.Text(kLegendX, 93, "-----  calculated");
  canvas.SetFont(8, inks.Ink(kYellow));
  canvas.Text(kLegendX, 108, "- - -  90% conf. limit");
  int legendY = 123;
  if (paper.series.bootstrap) {
    canvas.SetFont(8, inks.Ink(kLime));
    canvas.Text(kLegendX, legendY, "-- --  90% bootstrap limit");
    legendY += 15;
  }
  if (scales.hiddenPoints > 0) {
    canvas.SetFont(8, white);
    canvas.Text(kLegendX, legendY,
                std::to_string(scales.hiddenPoints) + " values at or below 0 are not shown");
  }

  // The bands and the fitted function, cut at the plot.
  painter.setClipRect(
      QRect(kPaperLeft, kPaperTop, kPaperRight - kPaperLeft + 1, kPaperBottom - kPaperTop + 1));
  if (paper.series.bootstrap) {
    canvas.SetPen(inks.Ink(kLime), LineStyle::Dashed);
    DrawPaperCurve(canvas, scales, paper.series.bootstrap->lower);
    DrawPaperCurve(canvas, scales, paper.series.bootstrap->upper);
  }
  canvas.SetPen(inks.Ink(kYellow), LineStyle::Dotted);
  DrawPaperCurve(canvas, scales, paper.series.limits.lower);
  DrawPaperCurve(canvas, scales, paper.series.limits.upper);
  canvas.SetPen(white, LineStyle::Solid);
  DrawPaperCurve(canvas, scales, paper.series.fitted);
  painter.setClipping(false);

  // Observations: "o" centred on its point, inside the plot.
  canvas.SetFont(picture.ColourGraph ? 4 : 5, inks.Ink(kCyan));
  const QFontMetrics metrics = painter.fontMetrics();
  const int halfWidth = canvas.TextWidth("o") / 2;
  const int aboveCentre = metrics.ascent() - Near(metrics.xHeight() / 2.0);
  for (const PaperPoint& p : paper.series.observed) {
    if (scales.logX && !(p.x > 0.0)) continue;
    const QPoint at = Pixel(scales, p);
    if (at.x() < kPaperLeft || at.x() > kPaperRight || at.y() < kPaperTop ||
        at.y() > kPaperBottom) {
      continue;
    }
    canvas.Text(at.x() - halfWidth, at.y() - aboveCentre, "o");
  }
}

}  // namespace quilmor::graphs
