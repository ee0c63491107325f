// Files that did not come from this program, or came from it and were
// damaged: each gets the program's message (or a clear one), never a crash,
// through the command-line program (exit status 2 for an input it cannot use,
// 1 for a run that stops) and through the readers the desktop program uses
// (which end the program only for a corrupt input file, by ProgramError).
// The files are in tests/data/bad.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "calculator/calculator.hpp"
#include "cli/cli_app.hpp"
#include "graphs/bitmap.hpp"
#include "graphs/graph_data.hpp"
#include "hostile_support.hpp"
#include "non_finite_text.hpp"
#include "report/data_module.hpp"
#include "scripted_interaction.hpp"
#include "temp_folder.hpp"
#include "textio/input_file.hpp"
#include "textio/number_parse.hpp"
#include "textio/text_file.hpp"

namespace quilmor::testing {
namespace {

using cli::kExitOk;
using cli::kExitStopped;
using cli::kExitUsage;
using Result = report::TDMQuilmor::ReadResult;

constexpr const char* kStopped =
    "No data below threshold, or no variation between data. Program stops running";
constexpr const char* kCorrupt =
    "A program error occurred.Real numbers in the inputfile \"{dir}/series.inp\" are corrupt";

constexpr const char* kCountDisagrees =
    "The input file \"{dir}/series.inp\" is read as follows:\n"
    " line 8 gives 20 data, but 12 rows are read";
constexpr const char* kCountNotANumber =
    "The input file \"{dir}/series.inp\" is read as follows:\n"
    " line 8 (\" Number of data: many\") gives no number of data; 12 rows are read";
constexpr const char* kEmptyLine =
    "The input file \"{dir}/series.inp\" is read as follows:\n"
    " line 22 is empty and ends the data: 8 rows are used, 4 lines after it are not\n"
    " line 8 gives 12 data, but 8 rows are read";
constexpr const char* kExtraColumn =
    "The input file \"{dir}/series.inp\" is read as follows:\n"
    " line 18 holds more than a running number and a value (\"    5      43.00   1990\"); only "
    "the value is used, here and on any such line below";
constexpr const char* kThresholdLabel =
    "The input file \"{dir}/series.inp\" is read as follows:\n"
    " line 9 reads \" Cut-off:       0.00000\" where \" Threshold:\" is written; what follows "
    "its first 11 characters is taken as the threshold";

// Every file the run wrote, checked for numbers that are not finite.
void ExpectFiniteOutputs(const std::filesystem::path& folder) {
  for (const char* name : {"series.out", "series.aux", "values.out", "values.aux"}) {
    if (!std::filesystem::exists(folder / name)) continue;
    EXPECT_FALSE(HasNonFiniteNumber(ReadBytes(folder / name))) << name;
  }
}

// --- Input files (".inp") ----------------------------------------------------------

struct InputRow {
  const char* name;
  const char* file;
  // quilmor-cli run on the file (copied as series.inp).
  int exitCode;
  const char* cliMessage;  // a line of the error stream ("{dir}": the folder)
  // ReadInputFile, as "Open input" and the calculator call it.
  Result read;
  int rows;
  const char* message;  // the one message shown, "" for none
};

void PrintTo(const InputRow& row, std::ostream* os) { *os << row.name; }

class HostileInputFile : public ::testing::TestWithParam<InputRow> {
 protected:
  TempFolder folder;
};

TEST_P(HostileInputFile, CommandLine) {
  const InputRow& row = GetParam();
  const auto input = CopyBadFile(folder, row.file, "series.inp");
  const CliResult r = Cli({"run", input.string(), "--pref", "4"});
  EXPECT_EQ(r.code, row.exitCode) << r.err;
  EXPECT_NE(r.err.find(InFolder(row.cliMessage, folder.Path()) + "\n"), std::string::npos) << r.err;
  // A refused input writes nothing; a run that went through writes only
  // finite numbers.
  EXPECT_EQ(std::filesystem::exists(folder / "series.out"), row.exitCode == kExitOk);
  ExpectFiniteOutputs(folder.Path());
}

TEST_P(HostileInputFile, DesktopReader) {
  const InputRow& row = GetParam();
  const auto input = CopyBadFile(folder, row.file, "series.inp");
  ScriptedInteraction ui;
  report::TDMQuilmor dm(ui);
  dm.FileName = input.string();
  EXPECT_EQ(dm.ReadInputFile(), row.read);
  EXPECT_EQ(dm.NrOfData, row.rows);
  EXPECT_EQ(dm.RowValues.size(), static_cast<std::size_t>(row.rows));
  const std::string message = InFolder(row.message, folder.Path());
  EXPECT_EQ(ui.messages,
            message.empty() ? std::vector<std::string>{} : std::vector<std::string>{message});
  // Only a corrupt input file ends the program.
  EXPECT_EQ(ui.quitRequests, row.read == Result::Corrupt ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, HostileInputFile,
    ::testing::Values(
        // Without its first line the file is no input file: the command
        // line reads it as a list of values.
        InputRow{"EmptyFile", "empty.inp", kExitUsage,
                 "quilmor-cli: \"{dir}/series.inp\" holds no values", Result::Ok, 0, ""},
        InputRow{"TruncatedHeader", "truncated_header.inp", kExitUsage,
                 " The minimum number of data is 6", Result::Ok, 0, ""},
        InputRow{"BinaryGarbageAfterTheHeader", "garbage_after_header.inp", kExitUsage, kCorrupt,
                 Result::Corrupt, 0, kCorrupt},
        // Text in the threshold line is an error of the header: told, and
        // the program goes on.
        InputRow{"ThresholdLineWithText", "threshold_text.inp", kExitUsage,
                 "The threshold in the inputfile \"{dir}/series.inp\" is not a real number",
                 Result::BadThreshold, 0,
                 "The threshold in the inputfile \"{dir}/series.inp\" is not a real number"},
        // A bad value on data line 3: the two rows before it stay.
        InputRow{"ValueNaN", "value_nan.inp", kExitUsage, kCorrupt, Result::Corrupt, 2, kCorrupt},
        InputRow{"ValueInf", "value_inf.inp", kExitUsage, kCorrupt, Result::Corrupt, 2, kCorrupt},
        InputRow{"ValueWithComma", "value_comma.inp", kExitUsage, kCorrupt, Result::Corrupt, 2,
                 kCorrupt},
        InputRow{"ValueWithTwoPoints", "value_two_points.inp", kExitUsage, kCorrupt,
                 Result::Corrupt, 2, kCorrupt},
        // 1E+308 is a number; the sums of the fit overflow, so there is no
        // fit and the run stops.
        InputRow{"Value1e308", "value_1e308.inp", kExitStopped, kStopped, Result::Ok, 12, ""},
        InputRow{"LineFeedsOnly", "lf_only.inp", kExitOk,
                 "The input is saved in {dir}/series.inp   Calculations were done and the output "
                 "is saved in  {dir}/series.out",
                 Result::Ok, 12, ""},
        InputRow{"CarriageReturnsOnly", "cr_only.inp", kExitOk,
                 "The input is saved in {dir}/series.inp   Calculations were done and the output "
                 "is saved in  {dir}/series.out",
                 Result::Ok, 12, ""},
        // Read otherwise than the file seems to mean: told, line by line.
        InputRow{"CountDisagrees", "count_mismatch.inp", kExitOk, kCountDisagrees, Result::Ok, 12,
                 kCountDisagrees},
        InputRow{"CountNotANumber", "count_not_a_number.inp", kExitOk, kCountNotANumber,
                 Result::Ok, 12, kCountNotANumber},
        InputRow{"EmptyLineInsideTheTable", "blank_inside_table.inp", kExitOk, kEmptyLine,
                 Result::Ok, 8, kEmptyLine},
        InputRow{"ExtraColumn", "extra_column.inp", kExitOk, kExtraColumn, Result::Ok, 12,
                 kExtraColumn},
        InputRow{"ThresholdUnderAnotherLabel", "threshold_label.inp", kExitOk, kThresholdLabel,
                 Result::Ok, 12, kThresholdLabel}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(LineEnds, EveryKindGivesTheSameReport) {
  std::vector<std::string> reports;
  for (const char* file : {"crlf.inp", "lf_only.inp", "cr_only.inp"}) {
    TempFolder folder;
    const auto input = CopyBadFile(folder, file, "series.inp");
    ASSERT_EQ(Cli({"run", input.string()}).code, kExitOk) << file;
    // The report names its input file; the rest must be the same.
    std::string report = ReadBytes(folder / "series.out");
    const auto at = report.find(folder.Path().string());
    ASSERT_NE(at, std::string::npos);
    report.erase(at, folder.Path().string().size());
    reports.push_back(report);
  }
  EXPECT_EQ(reports[1], reports[0]);
  EXPECT_EQ(reports[2], reports[0]);
}

// --- Value files of the command line, and the same texts typed ------------------------

struct ValueRow {
  const char* name;
  const char* file;
  std::vector<std::string> options;
  int exitCode;
  const char* cliMessage;
  // The Input page converts a typed or pasted value with StringToFloat.
  const char* typed;
  std::optional<double> typedValue;
};

void PrintTo(const ValueRow& row, std::ostream* os) { *os << row.name; }

class HostileValueFile : public ::testing::TestWithParam<ValueRow> {};

TEST_P(HostileValueFile, CommandLineAndInputPage) {
  const ValueRow& row = GetParam();
  TempFolder folder;
  const auto input = CopyBadFile(folder, row.file, "values.txt");
  std::vector<std::string> args = {"run", input.string()};
  args.insert(args.end(), row.options.begin(), row.options.end());
  const CliResult r = Cli(args);
  EXPECT_EQ(r.code, row.exitCode) << r.err;
  EXPECT_NE(r.err.find(InFolder(row.cliMessage, folder.Path()) + "\n"), std::string::npos) << r.err;
  EXPECT_EQ(std::filesystem::exists(folder / "values.out"), row.exitCode == kExitOk);
  ExpectFiniteOutputs(folder.Path());
  EXPECT_EQ(textio::StringToFloat(row.typed), row.typedValue);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, HostileValueFile,
    ::testing::Values(
        ValueRow{"NaN",
                 "nan.txt",
                 {},
                 kExitUsage,
                 "quilmor-cli: line 4: \"nan\" is not a number",
                 "nan",
                 std::nullopt},
        ValueRow{"Inf",
                 "inf.txt",
                 {},
                 kExitUsage,
                 "quilmor-cli: line 4: \"inf\" is not a number",
                 "inf",
                 std::nullopt},
        // "1,5" is 1.5: the other decimal separator is tried as well.
        ValueRow{"Comma",
                 "comma.txt",
                 {},
                 kExitOk,
                 "The input is saved in {dir}/values.inp   Calculations were done and the output "
                 "is saved in  {dir}/values.out",
                 "1,5",
                 1.5},
        ValueRow{"TwoPoints",
                 "two_points.txt",
                 {},
                 kExitUsage,
                 "quilmor-cli: line 4: \"1.5.5\" is not a number",
                 "1.5.5",
                 std::nullopt},
        ValueRow{"Plus1e308", "plus_1e308.txt", {}, kExitStopped, kStopped, "1e308", 1e308},
        // Below the threshold 0 the value is not used, and the run says so.
        ValueRow{"Minus1e308",
                 "minus_1e308.txt",
                 {},
                 kExitOk,
                 "Please be aware that the threshold (cut-off) value is zero so that the "
                 "negative values are not used.",
                 "-1e308",
                 -1e308},
        // With it, the shift of the data overflows: no spread is left.
        ValueRow{"Minus1e308AboveTheThreshold",
                 "minus_1e308.txt",
                 {"--threshold", "-1e308"},
                 kExitStopped,
                 kStopped,
                 "-1E308",
                 -1e308},
        // Values near 1e-100: the preferred Pareto fit overflows (Slope
        // -inf) and the run stops instead of reporting -INF.
        ValueRow{"TinyValuesPareto",
                 "tiny.txt",
                 {"--pref", "56"},
                 kExitStopped,
                 kStopped,
                 "3e-100",
                 3e-100},
        ValueRow{"TinyValuesBestOfAll",
                 "tiny.txt",
                 {},
                 kExitOk,
                 "The input is saved in {dir}/values.inp   Calculations were done and the output "
                 "is saved in  {dir}/values.out",
                 "3E-100",
                 3e-100}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(HostileValueFile, BinaryGarbageIsRefusedWithAReadableMessage) {
  TempFolder folder;
  const auto input = CopyBadFile(folder, "garbage.bin", "values.txt");
  const CliResult r = Cli({"run", input.string()});
  EXPECT_EQ(r.code, kExitUsage);
  // One line: the number of the line refused and at most 40 characters of
  // it, control characters shown as "?".
  const std::string head = "quilmor-cli: line ";
  const std::string tail = "\" is not a number\n";
  ASSERT_EQ(r.err.substr(0, head.size()), head) << r.err;
  ASSERT_GE(r.err.size(), head.size() + tail.size());
  EXPECT_EQ(r.err.substr(r.err.size() - tail.size()), tail);
  EXPECT_LE(r.err.size(), head.size() + 10 + 40 + 3 + tail.size());
  for (std::size_t i = 0; i + 1 < r.err.size(); ++i) {
    const auto c = static_cast<unsigned char>(r.err[i]);
    EXPECT_TRUE(c >= 0x20 && c != 0x7F) << "control character at " << i;
  }
  EXPECT_FALSE(std::filesystem::exists(folder / "values.inp"));
}

// --- Reports (".out") ----------------------------------------------------------------

struct ReportRow {
  const char* name;
  const char* file;
  int graphType;
  // quilmor-cli graph on the file (copied as report.out).
  int exitCode;
  const char* cliMessage;
  // LoadReport.
  bool usable;
  std::vector<std::string> loadMessages;
  // ReadGraphData.
  graphs::GraphReadOutcome outcome;
  int rows;
};

void PrintTo(const ReportRow& row, std::ostream* os) { *os << row.name; }

class HostileReport : public ::testing::TestWithParam<ReportRow> {
 protected:
  TempFolder folder;
};

TEST_P(HostileReport, CommandLine) {
  const ReportRow& row = GetParam();
  const auto report = CopyBadFile(folder, row.file, "report.out");
  const char* types[] = {"", "cumulative", "interval", "xconf", "return", "qq"};
  const CliResult r = Cli({"graph", report.string(), "--type", types[row.graphType], "--output",
                           (folder / "graph.bmp").string()});
  EXPECT_EQ(r.code, row.exitCode) << r.err;
  EXPECT_NE((r.err + r.out).find(InFolder(row.cliMessage, folder.Path())), std::string::npos)
      << r.err;
  EXPECT_EQ(std::filesystem::exists(folder / "graph.bmp"), row.exitCode == kExitOk);
}

TEST_P(HostileReport, DesktopLoadReport) {
  const ReportRow& row = GetParam();
  const auto report = CopyBadFile(folder, row.file, "report.out");
  ScriptedInteraction ui;
  report::TDMQuilmor dm(ui);
  bool usable = !row.usable;
  dm.LoadReport(report.string(), usable);
  EXPECT_EQ(usable, row.usable);
  EXPECT_EQ(ui.messages, row.loadMessages);
  EXPECT_EQ(ui.quitRequests, 0);
  // An unusable report is deleted, as the program does.
  EXPECT_EQ(std::filesystem::exists(report), row.usable);
}

TEST_P(HostileReport, DesktopGraphReader) {
  const ReportRow& row = GetParam();
  const auto report = CopyBadFile(folder, row.file, "report.out");
  ScriptedInteraction ui;
  report::TDMQuilmor dm(ui);
  const graphs::GraphReadResult read = graphs::ReadGraphData(dm, report.string(), row.graphType);
  EXPECT_EQ(read.outcome, row.outcome);
  EXPECT_EQ(dm.NrOfData, row.rows);
  if (row.outcome != graphs::GraphReadOutcome::Ok) {
    EXPECT_NE(row.cliMessage, std::string());
    EXPECT_EQ(read.message, InFolder(row.cliMessage, folder.Path()));
  }
  EXPECT_EQ(ui.quitRequests, 0);
}

TEST(HostileReport, OfTwoTablesWithOneMarkerTheFirstIsRead) {
  TempFolder folder;
  ScriptedInteraction ui;
  report::TDMQuilmor dm(ui);
  const auto report = CopyBadFile(folder, "markers_repeated.out", "report.out");
  ASSERT_TRUE(graphs::ReadGraphData(dm, report.string(), 2).ok());
  // Observed class frequencies of the first table; the second says 50.0.
  EXPECT_EQ(dm.SeriesC, (std::vector<double>{0.0, 66.7, 16.7, 8.3, 0.0, 8.3, 0.0}));
}

const std::string kNoCalculator = report::TDMQuilmor::kNoCalculatorMessage;
const std::string kInvalid = report::TDMQuilmor::kInvalidOutputMessage;

INSTANTIATE_TEST_SUITE_P(
    Rows, HostileReport,
    ::testing::Values(
        ReportRow{"OneLine",
                  "one_line.out",
                  1,
                  kExitUsage,
                  "The table that begins with \" Obs\" was not found in the file "
                  "\"{dir}/report.out\"",
                  false,
                  {kInvalid, kNoCalculator},
                  graphs::GraphReadOutcome::TableMissing,
                  0},
        ReportRow{"BinaryGarbage",
                  "garbage.out",
                  2,
                  kExitUsage,
                  "The table that begins with \" Int\" was not found in the file "
                  "\"{dir}/report.out\"",
                  true,
                  {kNoCalculator},
                  graphs::GraphReadOutcome::TableMissing,
                  0},
        ReportRow{"MarkersMissing",
                  "markers_missing.out",
                  4,
                  kExitUsage,
                  "The table that begins with \" Ret\" was not found in the file "
                  "\"{dir}/report.out\"",
                  true,
                  {kNoCalculator},
                  graphs::GraphReadOutcome::TableMissing,
                  0},
        // The first of two interval tables is read: its 7 rows (5 classes
        // and the open classes below and above).
        ReportRow{"MarkersRepeated",
                  "markers_repeated.out",
                  2,
                  kExitOk,
                  "The graph was saved in",
                  true,
                  {kNoCalculator},
                  graphs::GraphReadOutcome::Ok,
                  7},
        // An old report whose numbers ran into each other.
        ReportRow{"NumbersRunTogether",
                  "fused_numbers.out",
                  3,
                  kExitUsage,
                  "Line 86 of the file \"{dir}/report.out\" does not hold the 5 numbers of a "
                  "table row: \"    3.00       1         2.170215395866587996203515904           "
                  "5.29\"",
                  true,
                  {kNoCalculator},
                  graphs::GraphReadOutcome::BadNumber,
                  0}),
    [](const auto& row) { return std::string(row.param.name); });

// --- Parameter files (".aux") ------------------------------------------------------

struct ParameterRow {
  const char* name;
  const char* file;
  const char* why;  // the end of the message
};

void PrintTo(const ParameterRow& row, std::ostream* os) { *os << row.name; }

class HostileParameterFile : public ::testing::TestWithParam<ParameterRow> {
 protected:
  TempFolder folder;
  std::string Message() const {
    return "The parameter file \"" + (folder / "fit.aux").string() +
           "\" cannot be used: " + GetParam().why;
  }
  void SetUp() override {
    CopyBadFile(folder, GetParam().file, "fit.aux");
    CopyBadFile(folder, "crlf.inp", "fit.inp");
  }
};

TEST_P(HostileParameterFile, CommandLine) {
  for (const std::vector<std::string>& field :
       {std::vector<std::string>{"--x", "10"}, {"--freq", "0.9"}, {"--period", "10"}}) {
    std::vector<std::string> args = {"calc", (folder / "fit.aux").string()};
    args.insert(args.end(), field.begin(), field.end());
    const CliResult r = Cli(args);
    EXPECT_EQ(r.code, kExitUsage) << field[0];
    EXPECT_EQ(r.err, Message() + "\n") << field[0];
    EXPECT_EQ(r.out, "") << field[0];
  }
}

TEST_P(HostileParameterFile, DesktopCalculator) {
  ScriptedInteraction ui;
  report::TDMQuilmor dm(ui);
  dm.FileName = (folder / "fit.out").string();
  const auto frequency = calculator::Edit7Click(dm, dm.FileName, "10");
  EXPECT_FALSE(frequency.fields);
  EXPECT_EQ(frequency.message, Message());
  const auto value = calculator::Edit5Exit(dm, dm.FileName, "10");
  EXPECT_FALSE(value.fields);
  EXPECT_EQ(value.message, Message());
  EXPECT_EQ(ui.quitRequests, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, HostileParameterFile,
    ::testing::Values(
        ParameterRow{"UnknownCode", "unknown_code.aux", "its distribution code 99 is unknown"},
        ParameterRow{"TooFewLines", "too_few_lines.aux", "it ends before the parameter B"},
        ParameterRow{"NaNParameters", "nan_parameters.aux", "its parameter A is not a number"},
        ParameterRow{"InfiniteParameters", "inf_parameters.aux", "its parameter A is not a number"},
        ParameterRow{"Empty", "empty.aux", "it is empty"},
        ParameterRow{"TextForTheCode", "text_code.aux",
                     "its first line is not a distribution code"},
        // Four numbers under a code of three: the third is no shift.
        ParameterRow{"ANumberAfterTheShift", "extra_parameter.aux",
                     "line 5 follows the shift S, the last parameter of code 4"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(HostileParameterFile, NoInputFileBesideIt) {
  TempFolder folder;
  CopyBadFile(folder, "crlf.inp", "fit.inp");
  ASSERT_EQ(Cli({"run", (folder / "fit.inp").string(), "--pref", "4"}).code, kExitOk);
  std::filesystem::remove(folder / "fit.inp");
  const CliResult r = Cli({"calc", (folder / "fit.aux").string(), "--x", "10"});
  EXPECT_EQ(r.code, kExitUsage);
  EXPECT_EQ(r.err, "The input file \"" + (folder / "fit.inp").string() +
                       "\" beside the parameter file \"" + (folder / "fit.aux").string() +
                       "\" is missing; the calculator needs the data of the run it belongs to\n");
}

// --- Graph files ("Open a graph") ------------------------------------------------------

TEST(HostileGraphFile, HeadersThatLieAndGarbageAreNoPictures) {
  // A header that claims 100000 x 100000 pixels (30 GB) is not believed;
  // garbage after "BM" is no picture.
  EXPECT_FALSE(graphs::LoadGraphImage(BadFile("huge_dimensions.bmp").string()).has_value());
  EXPECT_FALSE(graphs::LoadGraphImage(BadFile("garbage.bmp").string()).has_value());
  // Pixels cut short: the picture has the size its header gives, the pixels
  // that are missing are left black by the image reader.
  const auto cut = graphs::LoadGraphImage(BadFile("truncated.bmp").string());
  ASSERT_TRUE(cut.has_value());
  EXPECT_EQ(cut->size(), QSize(4, 2));
}

// --- Sizes ------------------------------------------------------------------------

TEST(HostileSize, AOneMegabyteLine) {
  TempFolder folder;
  // As a value: refused, the message quotes 40 characters of it.
  WriteBytes(folder / "values.txt", "3\n" + std::string(1'000'000, '1') + "\n5\n");
  CliResult r = Cli({"run", (folder / "values.txt").string()});
  EXPECT_EQ(r.code, kExitUsage);
  EXPECT_EQ(r.err, "quilmor-cli: line 2: \"" + std::string(40, '1') + "...\" is not a number\n");
  // As the first title of an input file: the run goes through and the report
  // keeps the first 72 characters.
  std::string input = ReadBytes(BadFile("crlf.inp"));
  const auto title = input.find(" Air conditioning");
  ASSERT_NE(title, std::string::npos);
  input.replace(title, 17, " " + std::string(1'000'000, 'T'));
  WriteBytes(folder / "series.inp", input);
  r = Cli({"run", (folder / "series.inp").string()});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  const auto report = textio::ReadTextLines(folder / "series.out");
  ASSERT_TRUE(report);
  EXPECT_EQ((*report)[3], " " + std::string(72, 'T'));
  // The desktop program reads the title whole.
  ScriptedInteraction ui;
  report::TDMQuilmor dm(ui);
  dm.FileName = (folder / "series.inp").string();
  ASSERT_EQ(dm.ReadInputFile(), Result::Ok);
  EXPECT_EQ(dm.Title1.size(), 1'000'000u);
}

TEST(HostileSize, OneHundredThousandDataLines) {
  TempFolder folder;
  std::vector<double> values;
  for (int i = 0; i < 100'000; ++i) values.push_back(10.0 + (i * 37) % 1000);
  WriteBytes(folder / "series.inp", textio::RenderInputFile("Many", "", "series.inp", 0.0, values));
  const CliResult r = Cli({"run", (folder / "series.inp").string(), "--pref", "4"});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  EXPECT_NE(r.err.find("The analysis was limited to the first 2500 data greater than the "
                       "threshold\n"),
            std::string::npos)
      << r.err;
  const auto report = textio::ReadTextLines(folder / "series.out");
  ASSERT_TRUE(report);
  EXPECT_EQ((*report)[6], " Number of data used: 2500");
  ScriptedInteraction ui;
  report::TDMQuilmor dm(ui);
  dm.FileName = (folder / "series.inp").string();
  ASSERT_EQ(dm.ReadInputFile(), Result::Ok);
  EXPECT_EQ(dm.NrOfData, 100'000);
}

// --- Names ------------------------------------------------------------------------------

TEST(HostilePath, SpacesAndNonAsciiCharacters) {
  TempFolder base;
  const std::filesystem::path folder =
      base / "my data" / "Pegel \xc3\xa4\xc3\xb6\xc3\xbc \xe2\x82\xac";
  std::filesystem::create_directories(folder);
  const std::filesystem::path values = folder /
                                       "Abfl\xc3\xbc\xc3\x9f"
                                       "e 1990-2000.txt";
  std::filesystem::copy_file(BadFile("comma.txt"), values);
  CliResult r = Cli({"run", values.string()});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  const std::filesystem::path report = folder /
                                       "Abfl\xc3\xbc\xc3\x9f"
                                       "e 1990-2000.out";
  const auto lines = textio::ReadTextLines(report);
  ASSERT_TRUE(lines);
  EXPECT_EQ((*lines)[5], " Name of input file used: " + (folder / "Abfl\xc3\xbc\xc3\x9f"
                                                                  "e 1990-2000.inp")
                                                            .string());
  r = Cli({"calc", textio::ChangeFileExt(report.string(), ".aux"), "--period", "10"});
  EXPECT_EQ(r.code, kExitOk) << r.err;
  r = Cli({"graph", report.string(), "--type", "cumulative", "--output",
           (folder / "Grafik \xc3\xa4.bmp").string()});
  EXPECT_EQ(r.code, kExitOk) << r.err;
  EXPECT_TRUE(std::filesystem::exists(folder / "Grafik \xc3\xa4.bmp"));
}

}  // namespace
}  // namespace quilmor::testing
