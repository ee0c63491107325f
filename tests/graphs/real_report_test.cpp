// Graphs of reports written by a real analysis run of the bundled examples.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "graphs/bitmap.hpp"
#include "graphs/draw_graph.hpp"
#include "graphs/graph_types.hpp"
#include "report/report_writer.hpp"
#include "run/run_analysis.hpp"
#include "scripted_interaction.hpp"
#include "temp_folder.hpp"
#include "textio/input_file.hpp"
#include "textio/number_parse.hpp"
#include "textio/text_file.hpp"

namespace quilmor::graphs {
namespace {

using quilmor::testing::ScriptedInteraction;
using quilmor::testing::TempFolder;

std::vector<double> ExampleValues(const std::string& name) {
  std::vector<double> values;
  const auto lines =
      textio::ReadTextLines(std::string(QUILMOR_SOURCE_DIR) + "/data/examples/" + name);
  if (!lines) return values;
  for (const std::string& line : *lines) {
    textio::LineScanner scanner(line);
    if (auto value = scanner.ReadReal()) values.push_back(*value);
  }
  return values;
}

struct ExampleCase {
  const char* name;
  const char* file;
  const char* intervals;
};
void PrintTo(const ExampleCase& c, std::ostream* os) { *os << c.name; }

class RealReport : public ::testing::TestWithParam<ExampleCase> {
 protected:
  static void SetUpTestSuite() { EnsureGuiApplication(); }

  ScriptedInteraction ui;
  TempFolder folder;
  int n = 0;

  // Runs the analysis and puts the report it wrote beside the input file.
  std::string WriteReport() {
    const std::vector<double> values = ExampleValues(GetParam().file);
    const std::filesystem::path input = folder / "series.inp";
    // Titles that begin like the markers " Obs" and " dat".
    const std::string text = textio::RenderInputFile("Observed levels", "data of the example",
                                                     input.string(), -100000.0, values);
    run::AnalysisRequest request;
    request.inputName = input.string();
    request.nrOfIntervals = GetParam().intervals;
    const run::AnalysisResult result =
        run::RunAnalysis(textio::ParseInputFile(textio::SplitLines(text)), request, ui);
    if (result.error || result.Stopped()) return {};
    n = result.series.N;
    const std::filesystem::path report = folder / "series.out";
    quilmor::testing::WriteBytes(report, report::ReportBodyText(result.model));
    return report.string();
  }
};

TEST_P(RealReport, EveryTableIsReadAndDrawn) {
  const std::string report = WriteReport();
  ASSERT_FALSE(report.empty());
  ASSERT_GT(n, 6);
  const std::filesystem::path samples = std::filesystem::current_path() / "graph_samples";
  std::filesystem::create_directories(samples);

  report::TDMQuilmor dm{ui};
  QImage image = NewGraphImage();
  const char* names[] = {"", "cumulative", "interval", "xconf", "return", "qq", "paper"};
  for (int type : {1, 2, 4, 5, kPaperGraph}) {
    GraphRequest request;
    request.reportPath = report;
    request.GraphType = type;
    request.title.fromReport = true;
    const GraphReadResult result = DrawGraph(dm, request, image).read;
    ASSERT_TRUE(result.ok()) << type << ": " << result.message;
    EXPECT_EQ(dm.Title1, "Observed levels");
    EXPECT_EQ(dm.Title2, "data of the example");
    if (type == 2) {
      // The first row, K classes and the last row.
      EXPECT_EQ(dm.NrOfData, std::stoi(GetParam().intervals) + 2);
    } else {
      EXPECT_EQ(dm.NrOfData, n) << type;
    }
    if (type == 1) {
      // Rising, though large data print percentages without decimals, so
      // neighbouring ranks may show the same value.
      for (int i = 1; i < dm.NrOfData; ++i) EXPECT_GE(dm.SeriesB[i], dm.SeriesB[i - 1]);
      EXPECT_LT(dm.SeriesB.front(), 10.0);
      EXPECT_GT(dm.SeriesB.back(), 90.0);
      // The plot holds observed points.
      int cyan = 0;
      for (int y = 110; y < 420; ++y) {
        for (int x = 71; x < 570; ++x) cyan += (image.pixel(x, y) & 0xFFFFFF) == 0x00FFFF;
      }
      EXPECT_GT(cyan, 10);
    }
    EXPECT_EQ(image.pixel(70, 300) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(image.pixel(604, 474) & 0xFFFFFF, 0x0000FFu);
    std::string error;
    EXPECT_TRUE(SaveGraphImage(
        image,
        (samples / (std::string("real_") + GetParam().name + "_" + names[type] + ".png")).string(),
        &error))
        << error;
  }
  EXPECT_TRUE(ui.messages.empty());
  // The report body ends with the return periods; the section of calculated
  // X-values and the code line follow only after the assembly step.
  EXPECT_EQ(ReadGraphData(dm, report, 3).outcome, GraphReadOutcome::TableMissing);
  EXPECT_EQ(dm.NrOfData, 0);
  EXPECT_EQ(dm.FittedCode, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, RealReport,
    ::testing::Values(ExampleCase{"Wabash", "wabash_annual_peak_flow.txt", "5"},
                      ExampleCase{"Manaus", "manaus_rio_negro_level.txt", "8"}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace quilmor::graphs
