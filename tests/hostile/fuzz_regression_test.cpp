// Inputs on which a fuzz target once failed, kept in tests/data/bad/fuzz
// with the outcome they must get, run on every build by the same checks as
// the target's.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "analysis_input.hpp"
#include "calculator/parameter_file.hpp"
#include "engine/analysis_state.hpp"
#include "graphs/graph_data.hpp"
#include "hostile_support.hpp"
#include "non_finite_text.hpp"
#include "report/data_module.hpp"
#include "run/save_run.hpp"
#include "scripted_interaction.hpp"
#include "temp_folder.hpp"
#include "textio/text_file.hpp"

namespace quilmor::testing {
namespace {

using run::SaveRunStatus;

struct AnalysisCase {
  const char* file;  // in tests/data/bad/fuzz/analysis
  SaveRunStatus status;
  int code;  // the fitted code when the run is done
};

void PrintTo(const AnalysisCase& row, std::ostream* os) { *os << row.file; }

class AnalysisFinding : public ::testing::TestWithParam<AnalysisCase> {};

TEST_P(AnalysisFinding, GetsItsOutcome) {
  const AnalysisCase& row = GetParam();
  const auto input =
      fuzz::DecodeAnalysisInput(ReadBytes(BadFile(std::string("fuzz/analysis/") + row.file)));
  ASSERT_TRUE(input);
  TempFolder folder;
  ScriptedInteraction ui;
  report::TDMQuilmor dm(ui);
  fuzz::FillDataModule(dm, *input, folder.Path(), "series.inp");
  run::SaveRunOptions options;
  options.breakPointAllowed = input->breakPoint;
  const run::SaveRunResult result = run::SaveRun(dm, options);
  ASSERT_EQ(result.status, row.status);
  EXPECT_EQ(ui.quitRequests, 0);
  if (row.status != SaveRunStatus::Done) return;
  EXPECT_EQ(result.analysis.model.Fit.Code, row.code);

  // Only finite numbers in the report and the parameter file.
  const std::string report = ReadBytes(folder / "series.out");
  EXPECT_FALSE(HasNonFiniteNumber(report)) << report;
  const auto aux = textio::ReadTextLines(folder / "series.aux");
  ASSERT_TRUE(aux);
  EXPECT_FALSE(HasNonFiniteNumber(ReadBytes(folder / "series.aux")));
  // The calculator reads the parameter file, the Graphics page every table.
  std::string error;
  const auto parameters = calculator::ParseParameterFile(*aux, error);
  ASSERT_TRUE(parameters) << error;
  EXPECT_EQ(parameters->Code, row.code);
  const int rows = static_cast<int>(input->values.size());
  for (int type = 1; type <= 5; ++type) {
    const graphs::GraphReadResult read =
        graphs::ReadGraphData(dm, (folder / "series.out").string(), type);
    EXPECT_TRUE(read.ok()) << "type " << type << ": " << read.message;
    if (type != 2) {
      EXPECT_EQ(dm.NrOfData, rows) << "type " << type;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Files, AnalysisFinding,
                         ::testing::Values(
                             // Values from 3e-100 to 4.3e-9: the report's X limits outgrew their
                             // columns and ran into each other; the graph reader could not read
                             // the confidence belt back.
                             AnalysisCase{"numbers_run_together.bin", SaveRunStatus::Done, 54},
                             // The same with 5e8 among them (108 decades).
                             AnalysisCase{"span_of_108_decades.bin", SaveRunStatus::Done, 54},
                             // Pareto preferred on values near 1e-100: Slope = -inf; the run
                             // stops instead of writing -INF into the report.
                             AnalysisCase{"pareto_of_tiny_values.bin", SaveRunStatus::Stopped, 0}),
                         [](const auto& row) {
                           std::string name = row.param.file;
                           return name.substr(0, name.find('.'));
                         });

}  // namespace
}  // namespace quilmor::testing
