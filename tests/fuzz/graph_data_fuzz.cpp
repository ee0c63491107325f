// ReadGraphData on any report, for each of the five graph types, followed by
// what the Graphics page does with the series: scales, titles, pixel
// positions, and the painting of one graph (the type chosen by the length of
// the input, so that every type is painted in turn).
#include <QImage>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "fuzz_support.hpp"
#include "graphs/draw_graph.hpp"
#include "graphs/graph_data.hpp"
#include "graphs/graph_scales.hpp"
#include "report/data_module.hpp"
#include "textio/interaction.hpp"

namespace {

using namespace quilmor;

// Pixels are held this far around the plot, whatever the data.
constexpr int kPixelReach = 1000000 + 1000;

void CheckSeries(const report::TDMQuilmor& dm) {
  QUILMOR_FUZZ_CHECK(dm.NrOfData >= 0);
  const auto n = static_cast<std::size_t>(dm.NrOfData);
  for (const std::vector<double>* s :
       {&dm.SeriesA, &dm.SeriesB, &dm.SeriesC, &dm.SeriesD, &dm.SeriesE}) {
    QUILMOR_FUZZ_CHECK(s->size() == n);
    for (double v : *s) QUILMOR_FUZZ_CHECK(std::isfinite(v));
  }
}

void CheckScales(const report::TDMQuilmor& dm, int type) {
  graphs::GraphState graph = graphs::ComputeGraphScales(graphs::SeriesOf(dm), type).state;
  graphs::SetGraphTitles(graph, type);
  QUILMOR_FUZZ_CHECK(graph.XMax > graph.XMin && graph.YMax > graph.YMin);
  QUILMOR_FUZZ_CHECK(graph.XDivisions >= 4 && graph.XDivisions <= 10);
  QUILMOR_FUZZ_CHECK(graph.YDivisions >= 4);
  for (const std::vector<double>* s :
       {&dm.SeriesA, &dm.SeriesB, &dm.SeriesC, &dm.SeriesD, &dm.SeriesE}) {
    for (double v : *s) {
      const int x = graphs::PixelX(graph, v * graph.XFactor);
      const int y = graphs::PixelY(graph, v * graph.YFactor);
      QUILMOR_FUZZ_CHECK(x > -kPixelReach && x < kPixelReach);
      QUILMOR_FUZZ_CHECK(y > -kPixelReach && y < kPixelReach);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  graphs::EnsureGuiApplication();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::filesystem::path report = fuzz::PutFile("graph.out", fuzz::AsText(data, size));
  SilentInteraction ui;
  report::TDMQuilmor dm(ui);
  for (int type = 1; type <= 5; ++type) {
    const graphs::GraphReadResult read = graphs::ReadGraphData(dm, report.string(), type);
    QUILMOR_FUZZ_CHECK(read.outcome != graphs::GraphReadOutcome::OpenFailed);
    QUILMOR_FUZZ_CHECK(read.ok() == read.message.empty());
    CheckSeries(dm);
    CheckScales(dm, type);
  }

  // 1 .. 5 and the probability paper (6).
  const int type = static_cast<int>(size % 6) + 1;
  graphs::GraphRequest request;
  request.reportPath = report.string();
  request.GraphType = type;
  request.ColourGraph = size % 2 == 0;
  request.title.fromReport = true;
  QImage image = graphs::NewGraphImage();
  (void)graphs::DrawGraph(dm, request, image);
  QUILMOR_FUZZ_CHECK(image.width() == graphs::kGraphWidth &&
                     image.height() == graphs::kGraphHeight);
  return 0;
}
