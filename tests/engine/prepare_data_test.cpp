#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/fit_series.hpp"
#include "textio/input_file.hpp"
#include "textio/text_file.hpp"

namespace quilmor::engine {
namespace {

// The rows of an input file written with these values, as the analysis reads
// them (so the values are those the file keeps).
textio::InputFileContent InputOf(const std::vector<double>& values, double threshold,
                                 const std::string& title1 = "Title one") {
  return textio::ParseInputFile(textio::SplitLines(
      textio::RenderInputFile(title1, "Title two", "series.inp", threshold, values)));
}

class PrepareDataTest : public ::testing::Test {
 protected:
  void Prepare(const textio::InputFileContent& input) {
    ASSERT_FALSE(input.corrupt);
    state = PrepareData(input.rows, input.threshold);
  }
  void Prepare(const std::vector<double>& values, double threshold) {
    Prepare(InputOf(values, threshold));
  }

  PreparedSeries state;
};

TEST_F(PrepareDataTest, ValueEqualToTheThresholdIsUsed) {
  Prepare({5, 10, 15}, 10);
  EXPECT_EQ(state.N, 2);
  EXPECT_EQ(state.Threshold, 10.0);
  EXPECT_EQ(state.Values[1], 10.0);
  EXPECT_EQ(state.Values[2], 15.0);
  EXPECT_EQ(state.Serials[1], 2);
  EXPECT_EQ(state.Serials[2], 3);
}

TEST_F(PrepareDataTest, ValuesAreThoseOfTheFile) {
  // The input file keeps two decimals of 1.234.
  Prepare({1.234, 2.5}, 0);
  EXPECT_EQ(state.Values[1], 1.23);
}

TEST_F(PrepareDataTest, StableSortMovesSerialsWithTheirValues) {
  Prepare({3, 1, 2, 1}, 0);
  ASSERT_EQ(state.N, 4);
  const double values[] = {1, 1, 2, 3};
  const int serials[] = {2, 4, 3, 1};
  const double plotFreq[] = {0.2, 0.4, 0.6, 0.8};
  for (int i = 1; i <= 4; ++i) {
    EXPECT_EQ(state.Values[i], values[i - 1]) << i;
    EXPECT_EQ(state.Serials[i], serials[i - 1]) << i;
    EXPECT_DOUBLE_EQ(state.PlotFreq[i], plotFreq[i - 1]) << i;
  }
}

TEST_F(PrepareDataTest, MoreThan2500KeepsTheFirstInFileOrderAndSaysSo) {
  // 3000, 2999, … 1: the first 2500 in the file are 3000 down to 501.
  std::vector<double> values;
  for (int v = 3000; v >= 1; --v) values.push_back(v);
  Prepare(values, 0);
  EXPECT_EQ(state.N, 2500);
  EXPECT_EQ(state.Values[1], 501.0);
  EXPECT_EQ(state.Values[2500], 3000.0);
  EXPECT_EQ(state.Serials[2500], 1);
  EXPECT_DOUBLE_EQ(state.PlotFreq[2500], 2500.0 / 2501.0);
  EXPECT_TRUE(state.Truncated);
}

TEST_F(PrepareDataTest, Exactly2500AreNotCut) {
  std::vector<double> values;
  for (int v = 1; v <= 2500; ++v) values.push_back(v);
  Prepare(values, 0);
  EXPECT_EQ(state.N, 2500);
  EXPECT_FALSE(state.Truncated);
}

TEST_F(PrepareDataTest, ValuesBelowTheThresholdDoNotCountTowardsTheLimit) {
  // 2600 values, 200 of them below the threshold: 2400 pass, no marker.
  std::vector<double> values;
  for (int v = 1; v <= 2600; ++v) values.push_back(v % 13 == 0 ? -5.0 : v);
  Prepare(values, 0);
  EXPECT_EQ(state.N, 2400);
  EXPECT_FALSE(state.Truncated);
}

struct ShiftRow {
  const char* name;
  std::vector<double> values;
  double threshold;
  double shift;
  bool negative;
  std::vector<double> stored;
};

class PrepareShift : public PrepareDataTest, public ::testing::WithParamInterface<ShiftRow> {};

TEST_P(PrepareShift, MovesNonPositiveData) {
  const ShiftRow& row = GetParam();
  Prepare(row.values, row.threshold);
  EXPECT_EQ(state.Shift, row.shift);
  EXPECT_EQ(state.NegativeValues, row.negative);
  ASSERT_EQ(state.N, static_cast<int>(row.stored.size()));
  for (int i = 1; i <= state.N; ++i) EXPECT_DOUBLE_EQ(state.Values[i], row.stored[i - 1]) << i;
}

// Stored value = value − smallest + 0.0001 when the smallest is 0 or below.
INSTANTIATE_TEST_SUITE_P(
    Rows, PrepareShift,
    ::testing::Values(
        ShiftRow{"NegativeSmallest", {-2, 0, 5}, -10, -2, true, {0.0001, 2.0001, 7.0001}},
        ShiftRow{"ZeroSmallestStillShifts", {0, 1, 2}, 0, 0, false, {0.0001, 1.0001, 2.0001}},
        ShiftRow{"PositiveDataStay", {3, 4}, 0, 0, false, {3, 4}},
        ShiftRow{"OnlyValuesInUseCount", {-7, 2, 3}, 1, 0, false, {2, 3}}),
    [](const auto& row) { return std::string(row.param.name); });

struct MessageRow {
  const char* name;
  std::vector<double> values;
  double threshold;
  bool message;
};

class ZeroThresholdMessage : public PrepareDataTest,
                             public ::testing::WithParamInterface<MessageRow> {};

TEST_P(ZeroThresholdMessage, IsDueOnlyForThresholdZeroWithNegativeValues) {
  const MessageRow& row = GetParam();
  Prepare(row.values, row.threshold);
  EXPECT_EQ(state.NegativesLeftOut, row.message);
}

INSTANTIATE_TEST_SUITE_P(Rows, ZeroThresholdMessage,
                         ::testing::Values(MessageRow{"ZeroWithNegative", {-1, 2, 3}, 0, true},
                                           MessageRow{"ZeroWithoutNegative", {0, 2, 3}, 0, false},
                                           MessageRow{"NegativeThreshold", {-1, 2, 3}, -5, false},
                                           MessageRow{"PositiveThreshold", {-1, 2, 3}, 1, false}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(PrepareDataTest, FileWithoutThresholdLineHasThresholdZero) {
  // An older layout: line 9 empty, 12 header lines.
  Prepare(textio::ParseInputFile(textio::SplitLines(
      " Input data for Quilmor program\r\n Cumulative frequency analysis\r\n\r\n Old\r\n"
      " Series\r\n\r\n Filename: old.inp\r\n Number of data: 3\r\n\r\n"
      " ------------------\r\n Serial    Variable\r\n ------------------\r\n"
      "    1       4.00\r\n    2      -1.00\r\n    3       6.00\r\n")));
  EXPECT_EQ(state.Threshold, 0.0);
  EXPECT_EQ(state.N, 2);
  EXPECT_EQ(state.Values[1], 4.0);
  EXPECT_TRUE(state.NegativesLeftOut);
}

// --- The fit of a prepared series -------------------------------------------

FitResult Fit(const std::vector<double>& values, double threshold,
              const std::string& preference = "1") {
  const textio::InputFileContent input = InputOf(values, threshold);
  FitRequest request;
  request.preference = preference;
  return FitSeries(PrepareData(input.rows, input.threshold), request);
}

TEST(FitSeries, NothingAtOrAboveTheThresholdStopsBeforeFitting) {
  const FitResult fit = Fit({1, 2, 3}, 50);
  EXPECT_TRUE(fit.Stopped);
  EXPECT_EQ(fit.Code, 0);
  EXPECT_TRUE(fit.Candidates.empty());
}

TEST(FitSeries, EqualValuesStop) {
  const FitResult fit = Fit({1.1, 1.1, 1.1, 1.1, 1.1, 1.1}, 0);
  EXPECT_TRUE(fit.Stopped);
  EXPECT_TRUE(fit.Candidates.empty());
}

TEST(FitSeries, HugeValuesStopInsteadOfFittingNonsense) {
  // The shift of -1e308 overflows; 1e300 squared overflows the sums.
  EXPECT_TRUE(Fit({-1e308, 1e308, 5}, -1.7e308).Stopped);
  EXPECT_TRUE(Fit({1e300, 2e300, 3e300}, 0).Stopped);
}

TEST(FitSeries, KeepsFourCharactersOfThePreference) {
  // "57abcdef" is cut to "57ab", which names no function: nothing is fitted.
  const FitResult fit = Fit({1, 2, 4, 8, 9}, 0, "57abcdef");
  EXPECT_FALSE(fit.Stopped);
  EXPECT_EQ(fit.Code, 0);
  EXPECT_EQ(Fit({1, 2, 4, 8, 9}, 0, "57").Code, 57);
}

}  // namespace
}  // namespace quilmor::engine
