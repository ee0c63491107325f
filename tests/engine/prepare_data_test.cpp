#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/run_fit.hpp"
#include "engine/scratch_files.hpp"
#include "scripted_interaction.hpp"
#include "temp_folder.hpp"
#include "textio/input_file.hpp"

namespace quilmor::engine {
namespace {

using quilmor::testing::ReadBytes;
using quilmor::testing::ScriptedInteraction;
using quilmor::testing::TempFolder;
using quilmor::testing::WriteBytes;

constexpr const char* kZeroThresholdMessage =
    "Please be aware that the threshold (cut-off) value is zero so that the negative values are "
    "not used.";

class PrepareDataTest : public ::testing::Test {
 protected:
  std::filesystem::path WriteInput(const std::vector<double>& values, double threshold,
                                   const std::string& title1 = "Title one") {
    const std::filesystem::path path = folder / "series.inp";
    WriteBytes(path,
               textio::RenderInputFile(title1, "Title two", path.string(), threshold, values));
    return path;
  }

  std::optional<std::string> Prepare(const std::filesystem::path& path) {
    return PrepareData(state, path, scratch.Path(), ui);
  }

  TempFolder folder;
  TempFolder scratch;
  AnalysisState state;
  ScriptedInteraction ui;
};

TEST_F(PrepareDataTest, ValueEqualToTheThresholdIsUsed) {
  ASSERT_FALSE(Prepare(WriteInput({5, 10, 15}, 10)));
  EXPECT_EQ(state.N, 2);
  EXPECT_EQ(state.NrOfData, 2);
  EXPECT_EQ(state.Threshold, 10.0);
  EXPECT_EQ(state.Values[1], 10.0);
  EXPECT_EQ(state.Values[2], 15.0);
  EXPECT_EQ(state.Serials[1], 2);
  EXPECT_EQ(state.Serials[2], 3);
}

TEST_F(PrepareDataTest, ValuesAreThoseOfTheFile) {
  // The input file keeps two decimals of 1.234.
  ASSERT_FALSE(Prepare(WriteInput({1.234, 2.5}, 0)));
  EXPECT_EQ(state.Values[1], 1.23);
}

TEST_F(PrepareDataTest, StableSortMovesSerialsWithTheirValues) {
  ASSERT_FALSE(Prepare(WriteInput({3, 1, 2, 1}, 0)));
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

TEST_F(PrepareDataTest, MoreThan2500KeepsTheFirstInFileOrderAndLeavesTheMarker) {
  // 3000, 2999, … 1: the first 2500 in the file are 3000 down to 501.
  std::vector<double> values;
  for (int v = 3000; v >= 1; --v) values.push_back(v);
  ASSERT_FALSE(Prepare(WriteInput(values, 0)));
  EXPECT_EQ(state.N, 2500);
  EXPECT_EQ(state.Values[1], 501.0);
  EXPECT_EQ(state.Values[2500], 3000.0);
  EXPECT_EQ(state.Serials[2500], 1);
  EXPECT_DOUBLE_EQ(state.PlotFreq[2500], 2500.0 / 2501.0);
  const std::filesystem::path marker = scratch / kWarningFile;
  ASSERT_TRUE(std::filesystem::exists(marker));
  EXPECT_EQ(ReadBytes(marker), "Warning\r\n");
}

TEST_F(PrepareDataTest, Exactly2500LeaveNoMarker) {
  std::vector<double> values;
  for (int v = 1; v <= 2500; ++v) values.push_back(v);
  ASSERT_FALSE(Prepare(WriteInput(values, 0)));
  EXPECT_EQ(state.N, 2500);
  EXPECT_FALSE(std::filesystem::exists(scratch / kWarningFile));
}

TEST_F(PrepareDataTest, ValuesBelowTheThresholdDoNotCountTowardsTheLimit) {
  // 2600 values, 200 of them below the threshold: 2400 pass, no marker.
  std::vector<double> values;
  for (int v = 1; v <= 2600; ++v) values.push_back(v % 13 == 0 ? -5.0 : v);
  ASSERT_FALSE(Prepare(WriteInput(values, 0)));
  EXPECT_EQ(state.N, 2400);
  EXPECT_FALSE(std::filesystem::exists(scratch / kWarningFile));
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
  ASSERT_FALSE(Prepare(WriteInput(row.values, row.threshold)));
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

TEST_P(ZeroThresholdMessage, IsShownOnlyForThresholdZeroWithNegativeValues) {
  const MessageRow& row = GetParam();
  ASSERT_FALSE(Prepare(WriteInput(row.values, row.threshold)));
  if (row.message) {
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], kZeroThresholdMessage);
  } else {
    EXPECT_TRUE(ui.messages.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, ZeroThresholdMessage,
                         ::testing::Values(MessageRow{"ZeroWithNegative", {-1, 2, 3}, 0, true},
                                           MessageRow{"ZeroWithoutNegative", {0, 2, 3}, 0, false},
                                           MessageRow{"NegativeThreshold", {-1, 2, 3}, -5, false},
                                           MessageRow{"PositiveThreshold", {-1, 2, 3}, 1, false}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(PrepareDataTest, FileWithoutThresholdLineHasThresholdZero) {
  // An older layout: line 9 empty, 12 header lines.
  const std::filesystem::path path = folder / "old.inp";
  WriteBytes(path,
             " Input data for Quilmor program\r\n Cumulative frequency analysis\r\n\r\n Old\r\n"
             " Series\r\n\r\n Filename: old.inp\r\n Number of data: 3\r\n\r\n"
             " ------------------\r\n Serial    Variable\r\n ------------------\r\n"
             "    1       4.00\r\n    2      -1.00\r\n    3       6.00\r\n");
  ASSERT_FALSE(Prepare(path));
  EXPECT_EQ(state.Threshold, 0.0);
  EXPECT_EQ(state.N, 2);
  EXPECT_EQ(state.Values[1], 4.0);
  EXPECT_EQ(state.ReportTitle1, "Old");
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], kZeroThresholdMessage);
}

TEST_F(PrepareDataTest, TitlesAreCutTo72Characters) {
  const std::string longTitle(80, 'x');
  ASSERT_FALSE(Prepare(WriteInput({1, 2}, 0, longTitle)));
  EXPECT_EQ(state.ReportTitle1, std::string(72, 'x'));
  EXPECT_EQ(state.ReportTitle2, "Title two");
}

TEST_F(PrepareDataTest, CorruptValueGivesTheCorruptMessage) {
  const std::filesystem::path path = folder / "bad.inp";
  std::string text = textio::RenderInputFile("a", "b", path.string(), 0.0, {1.0, 2.0});
  text += "    3 abc\r\n";
  WriteBytes(path, text);
  const auto message = Prepare(path);
  ASSERT_TRUE(message);
  EXPECT_EQ(*message, "Real numbers in the inputfile \"" + path.string() + "\" are corrupt");
  EXPECT_EQ(state.N, 0);
}

TEST_F(PrepareDataTest, TextInTheThresholdLineGivesTheThresholdMessage) {
  // The data module says the same of this file, so both readers agree.
  const std::filesystem::path path = folder / "threshold.inp";
  std::string text = textio::RenderInputFile("a", "b", path.string(), 0.0, {1.0, 2.0});
  text.replace(text.find("     0.00000"), 12, "  ten       ");
  WriteBytes(path, text);
  const auto message = Prepare(path);
  ASSERT_TRUE(message);
  EXPECT_EQ(*message,
            "The threshold in the inputfile \"" + path.string() + "\" is not a real number");
  EXPECT_EQ(state.N, 0);
}

TEST_F(PrepareDataTest, MissingFileGivesTheOpenMessage) {
  const std::filesystem::path path = folder / "absent.inp";
  const auto message = Prepare(path);
  ASSERT_TRUE(message);
  EXPECT_EQ(*message, "The file \"" + path.string() +
                          "\"could not be opened. It may be in use by another program");
  EXPECT_EQ(state.N, 0);
}

TEST_F(PrepareDataTest, MarkerThatCannotBeWrittenIsReported) {
  std::vector<double> values(2501, 5.0);
  const std::filesystem::path input = WriteInput(values, 0);
  const std::filesystem::path noFolder = folder / "no" / "such" / "folder";
  const auto message = PrepareData(state, input, noFolder, ui);
  ASSERT_TRUE(message);
  EXPECT_NE(message->find(kWarningFile), std::string::npos);
  EXPECT_EQ(state.N, 0);
}

// --- The run up to the fit --------------------------------------------------

class RunFitTest : public PrepareDataTest {
 protected:
  std::optional<std::string> Run(const std::vector<double>& values, double threshold,
                                 const std::string& preference = "1") {
    FitRequest request;
    request.inputFile = WriteInput(values, threshold);
    request.preference = preference;
    request.scratchDir = scratch.Path();
    return RunFit(state, request, ui);
  }
};

TEST_F(RunFitTest, NothingAtOrAboveTheThresholdStopsBeforeFitting) {
  state.Code = 33;
  ASSERT_FALSE(Run({1, 2, 3}, 50));
  EXPECT_TRUE(state.StopFlag);
  EXPECT_EQ(state.N, 0);
  EXPECT_EQ(state.Code, 33);
  EXPECT_TRUE(state.Candidates.empty());
  EXPECT_FALSE(state.BusyNoticePending);
}

TEST_F(RunFitTest, EqualValuesStop) {
  ASSERT_FALSE(Run({1.1, 1.1, 1.1, 1.1, 1.1, 1.1}, 0));
  EXPECT_TRUE(state.StopFlag);
  EXPECT_TRUE(state.Candidates.empty());
}

TEST_F(RunFitTest, HugeValuesStopInsteadOfFittingNonsense) {
  // The shift of −1e308 overflows; 1e300² overflows the sums.
  ASSERT_FALSE(Run({-1e308, 1e308, 5}, -1.7e308));
  EXPECT_TRUE(state.StopFlag);
  ASSERT_FALSE(Run({1e300, 2e300, 3e300}, 0));
  EXPECT_TRUE(state.StopFlag);
}

TEST_F(RunFitTest, CorruptFileStopsWithItsMessage) {
  const std::filesystem::path path = folder / "bad.inp";
  WriteBytes(path, textio::RenderInputFile("a", "b", path.string(), 0.0, {1.0}) + "    2 x\r\n");
  FitRequest request;
  request.inputFile = path;
  request.scratchDir = scratch.Path();
  const auto message = RunFit(state, request, ui);
  ASSERT_TRUE(message);
  EXPECT_TRUE(state.StopFlag);
}

TEST_F(RunFitTest, KeepsFourCharactersOfThePreference) {
  ASSERT_FALSE(Run({1, 2, 4, 8, 9}, 0, "57abcdef"));
  EXPECT_EQ(state.PrefCode, "57ab");
  EXPECT_FALSE(state.StopFlag);
  EXPECT_TRUE(state.BusyNoticePending);  // only a best-of-all run uses it
}

}  // namespace
}  // namespace quilmor::engine
