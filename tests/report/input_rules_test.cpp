#include "report/input_rules.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/catalogue.hpp"

namespace quilmor::report::rules {
namespace {

struct NrOfDataRow {
  const char* text;
  std::optional<int> count;
  const char* message;
  bool belowMinimum;
};

class NrOfDataRules : public ::testing::TestWithParam<NrOfDataRow> {};

TEST_P(NrOfDataRules, CountAndMessage) {
  const NrOfDataCheck check = CheckNrOfData(GetParam().text);
  EXPECT_EQ(check.count, GetParam().count);
  EXPECT_EQ(check.message, GetParam().message);
  EXPECT_EQ(check.belowMinimum, GetParam().belowMinimum);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, NrOfDataRules,
    ::testing::Values(
        NrOfDataRow{"20", 20, "", false}, NrOfDataRow{" 6 ", 6, "", false},
        NrOfDataRow{"5", std::nullopt, " The minimum number of data is 6", true},
        NrOfDataRow{"-3", std::nullopt, " The minimum number of data is 6", true},
        NrOfDataRow{"2500", 2500, "", false},
        NrOfDataRow{"2501", 2501,
                    " The program uses the first 2500 data above the given "
                    "threshold only",
                    false},
        NrOfDataRow{"2O", std::nullopt, "The number of data is not a valid integer", false},
        NrOfDataRow{"", std::nullopt, "The number of data is not a valid integer", false},
        NrOfDataRow{"7.5", std::nullopt, "The number of data is not a valid integer", false}));

TEST(ValueCount, MinimumRefusesAndTheFirst2500AreNoted) {
  EXPECT_TRUE(CheckValueCount(5).refused);
  EXPECT_EQ(CheckValueCount(0).message, kMinimumData);
  EXPECT_FALSE(CheckValueCount(6).refused);
  EXPECT_EQ(CheckValueCount(2500).message, "");
  EXPECT_FALSE(CheckValueCount(2501).refused);
  EXPECT_EQ(CheckValueCount(2501).message, kFirst2500);
}

struct IntervalsRow {
  const char* text;
  std::optional<int> intervals;
  std::optional<int> fieldText;
  const char* message;
};

class IntervalRules : public ::testing::TestWithParam<IntervalsRow> {};

TEST_P(IntervalRules, AcceptedOrCorrected) {
  const IntervalsCheck check = CheckIntervals(GetParam().text);
  EXPECT_EQ(check.intervals, GetParam().intervals);
  EXPECT_EQ(check.fieldText, GetParam().fieldText);
  EXPECT_EQ(check.message, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, IntervalRules,
    ::testing::Values(IntervalsRow{"2", 2, std::nullopt, ""},
                      IntervalsRow{"20", 20, std::nullopt, ""},
                      IntervalsRow{" 10", 10, std::nullopt, ""},
                      IntervalsRow{"1", std::nullopt, 2, kIntervalsOutOfRange},
                      IntervalsRow{"25", std::nullopt, 20, kIntervalsOutOfRange},
                      IntervalsRow{"ten", std::nullopt, std::nullopt, kIntervalsNotInteger}));

TEST(Threshold, EitherSeparatorAndNoText) {
  EXPECT_EQ(CheckThreshold("2.5", '.'), 2.5);
  EXPECT_EQ(CheckThreshold("2,5", '.'), 2.5);
  EXPECT_EQ(CheckThreshold("1.5E+03", ','), 1500.0);
  EXPECT_EQ(CheckThreshold("low", '.'), std::nullopt);
  EXPECT_EQ(CheckThreshold("", '.'), std::nullopt);
}

TEST(Preference, TheButtonsAreTheCodesThatCanBePreferred) {
  int preferred = 0;
  for (const PreferenceButton& button : PreferenceButtons()) {
    const std::optional<int> code = CheckPreference(button.code);
    ASSERT_TRUE(code) << button.caption;
    if (*code != 1) {
      EXPECT_TRUE(engine::IsPreferenceCode(*code)) << button.caption;
      ++preferred;
    }
  }
  int codes = 0;
  for (int code = -1; code < 100; ++code) codes += engine::IsPreferenceCode(code) ? 1 : 0;
  EXPECT_EQ(preferred, codes);
  EXPECT_EQ(CheckPreference("1"), 1);
  EXPECT_EQ(CheckPreference(" 57"), 57);
  EXPECT_EQ(CheckPreference("63"), std::nullopt);  // in the catalogue, not a button
  EXPECT_EQ(CheckPreference("x"), std::nullopt);
}

TEST(Preference, NotesAfterChoosing) {
  EXPECT_EQ(PreferenceNoteText(1), "");
  EXPECT_EQ(PreferenceNoteText(25), kGeneralizedNormalNote);
  EXPECT_EQ(PreferenceNoteText(57), kDistrWarning);
  EXPECT_EQ(PreferenceNoteText(63), "");
}

}  // namespace
}  // namespace quilmor::report::rules

namespace quilmor::report::rules {
namespace {

TEST(TitlesAndNames, ControlCharactersAndOutputNamesAreRefused) {
  struct Row {
    std::string text;
    bool titleRefused;
    bool extensionRefused;
  };
  const std::vector<Row> rows = {
      {"Rainfall (mm), 1950-2000", false, false},
      {"accents \xE9\xE8 stay", false, false},
      {"del\x7F", true, false},
      {std::string("nul\0", 4), true, false},
      {"vals.out", false, true},
      {"/a/b/VALS.Aux", false, true},
      {"vals.outx", false, false},
      {"out", false, false},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(CheckTitle(row.text, 1).has_value(), row.titleRefused) << row.text;
    EXPECT_EQ(CheckFileName(row.text).has_value(), row.titleRefused) << row.text;
    EXPECT_EQ(CheckInputExtension(row.text).has_value(), row.extensionRefused) << row.text;
  }
  EXPECT_EQ(*CheckTitle("a\x01", 2),
            "The second title holds the control character 0x01; a title must be one line of "
            "printable text");
}

}  // namespace
}  // namespace quilmor::report::rules
