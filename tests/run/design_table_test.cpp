#include "run/design_table.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "calculator/calculator.hpp"
#include "engine/catalogue.hpp"
#include "run/save_run.hpp"
#include "scripted_interaction.hpp"
#include "temp_folder.hpp"
#include "textio/csv_writer.hpp"
#include "textio/number_parse.hpp"
#include "textio/value_file.hpp"

namespace quilmor::run {
namespace {

// The calculator prints 15 significant digits.
constexpr double kPrintedDigits = 1e-13;

// The Wabash series (annual peaks, N = 116), run through Save-Run into a
// folder of its own, as a user would run it.
class DesignTableTest : public ::testing::Test {
 protected:
  testing::TempFolder user;
  testing::ScriptedInteraction ui;
  report::TDMQuilmor dm{ui};
  SaveRunResult result;

  void Run(const std::string& preference) {
    const textio::ValueFile file =
        textio::ReadValueFile(QUILMOR_SOURCE_DIR "/data/examples/wabash_annual_peak_flow.txt", 0);
    ASSERT_TRUE(file.error.empty()) << file.error;
    dm.FileName = (user / "wabash.inp").string();
    dm.Preference = preference;
    dm.NrOfData = static_cast<int>(file.rows.size());
    for (std::size_t i = 0; i < file.rows.size(); ++i) {
      dm.RowSerials.push_back(static_cast<int>(i) + 1);
      dm.RowValues.push_back(file.rows[i].value.value_or(0.0));
      dm.Skipped.push_back(!file.rows[i].value);
    }
    result = SaveRun(dm);
    ASSERT_EQ(result.status, SaveRunStatus::Done);
  }

  static double Number(const std::string& text) {
    const auto value = textio::StringToFloat(text);
    return value ? *value : std::nan("");
  }
};

// X_T and its limits are those the calculator shows for the report on disk
// when the return period is typed in.
TEST_F(DesignTableTest, RowsAreTheCalculatorsValuesForEachReturnPeriod) {
  Run("1");
  report::DesignOptions options;
  options.returnPeriods = {2, 10, 100, 1000};
  options.frequencies = {0.5, 0.99};
  const std::vector<DesignRow> rows = DesignTable(result.analysis.model, dm.NrOfData, options);
  ASSERT_EQ(rows.size(), 6u);
  for (const DesignRow& row : rows) {
    SCOPED_TRACE(row.returnPeriod);
    const auto shown =
        calculator::Edit4Exit(dm, result.ReportName, textio::CsvNumber(row.frequency));
    ASSERT_TRUE(shown.fields) << shown.message;
    EXPECT_NEAR(row.x, Number(shown.fields->Edit6), kPrintedDigits * std::abs(row.x));
    EXPECT_NEAR(row.methodLower, Number(shown.fields->Edit11), kPrintedDigits * std::abs(row.x));
    EXPECT_NEAR(row.methodUpper, Number(shown.fields->Edit12), kPrintedDigits * std::abs(row.x));
    EXPECT_TRUE(std::isnan(row.risk));
    EXPECT_TRUE(std::isnan(row.chosenAnewLower));
  }
  EXPECT_DOUBLE_EQ(rows[4].returnPeriod, 2.0);  // F = 0.5
  EXPECT_LT(rows[1].x, rows[2].x);              // 10 years below 100 years
}

TEST_F(DesignTableTest, RiskOverTheDesignLife) {
  Run("4");
  report::DesignOptions options;
  options.returnPeriods = {2, 100};
  options.designLife = 50;
  const std::vector<DesignRow> rows = DesignTable(result.analysis.model, dm.NrOfData, options);
  ASSERT_EQ(rows.size(), 2u);
  // 1 - 0.5^50 and 1 - 0.99^50 = 0.39499393...
  EXPECT_NEAR(rows[0].risk, 1.0 - std::pow(0.5, 50), 1e-15);
  EXPECT_NEAR(rows[1].risk, 0.394993933, 1e-9);
}

// Every candidate's parameters are its own: the frequencies they give
// reproduce the SSE with which the candidate entered the choice.
TEST_F(DesignTableTest, CandidatesSortedBySseWithTheirOwnParameters) {
  Run("1");
  const engine::FitResult& fit = result.analysis.fit;
  const std::vector<CandidateGoodness> rows = RankCandidates(result.analysis.series, fit);
  ASSERT_EQ(rows.size(), fit.Candidates.size());
  int chosen = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(rows[i].code);
    if (i > 0) {
      EXPECT_LE(rows[i - 1].measures.sse, rows[i].measures.sse);
    }
    EXPECT_EQ(rows[i].parameters, engine::CodeRow(rows[i].code).parameterCount);
    EXPECT_EQ(rows[i].nearBest, rows[i].measures.sse <= 1.1 * rows[0].measures.sse);
    chosen += rows[i].chosen;
    // A usable single function: RMSE is √(SSE/N) of the same frequencies.
    const double sse = rows[i].measures.sse;
    if (sse < 0.5 && !engine::IsTwoPieceCode(rows[i].code)) {
      const double rmse = std::sqrt(sse / result.analysis.series.N);
      EXPECT_NEAR(rows[i].measures.rmse, rmse, 1e-6 + 0.02 * rmse);
      EXPECT_GT(rows[i].measures.ppcc, 0.9);
    }
  }
  EXPECT_EQ(chosen, 1);
  // Without a break point the chosen function is the first single function.
  for (const CandidateGoodness& row : rows) {
    if (engine::IsTwoPieceCode(row.code)) continue;
    EXPECT_TRUE(row.chosen) << row.code;
    break;
  }
}

TEST_F(DesignTableTest, APreferredFunctionIsItsOwnTable) {
  Run("22");
  const std::vector<CandidateGoodness> rows =
      RankCandidates(result.analysis.series, result.analysis.fit);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].code, 22);
  EXPECT_TRUE(rows[0].chosen);
  EXPECT_TRUE(rows[0].nearBest);
  EXPECT_GT(rows[0].measures.sse, 0.0);
  EXPECT_NEAR(rows[0].measures.rmse, std::sqrt(rows[0].measures.sse / 116), 1e-12);
}

}  // namespace
}  // namespace quilmor::run
