// `quilmor-cli run` and `quilmor-cli calc` end to end: real fits of small
// series, their files, messages and exit codes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_app.hpp"
#include "cli_runner.hpp"
#include "temp_folder.hpp"
#include "textio/text_file.hpp"

namespace quilmor::cli {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

// Failure times of one air-conditioning unit (hours), 12 values.
const std::string kAircondit = "3\n5\n7\n18\n43\n85\n91\n98\n100\n130\n230\n487\n";

std::string Values(int count, double first, double step) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    text += std::to_string(first + step * ((i * 37) % count)) + "\n";
  }
  return text;
}

class RunCommandTest : public ::testing::Test {
 protected:
  TempFolder folder;
  std::string Path(const std::string& name) { return (folder / name).string(); }
};

TEST_F(RunCommandTest, RunsAValueFileIntoReportAndParameterFile) {
  WriteBytes(folder / "air.txt", kAircondit);
  const CliResult r = Cli({"run", Path("air.txt"), "--title1", "Air conditioning"});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  const auto report = textio::ReadTextLines(folder / "air.out");
  const auto aux = textio::ReadTextLines(folder / "air.aux");
  ASSERT_TRUE(report && aux);
  EXPECT_EQ(report->front(), " RESULTS OF Quilmor PROGRAM");
  EXPECT_EQ((*report)[3], " Air conditioning");
  EXPECT_EQ((*report)[5], " Name of input file used: " + Path("air.inp"));
  // The report ends with the code line, which the parameter file begins with.
  const std::string codeLine = report->back();
  EXPECT_EQ(codeLine.size(), 3u);
  EXPECT_EQ(std::stoi(codeLine), std::stoi(aux->front()));
  EXPECT_EQ(report->at(report->size() - 3).substr(0, 14), " data values :");
  EXPECT_NE(r.out.find(Path("air.txt") + ": "), std::string::npos);
  EXPECT_NE(r.out.find("(code " + std::to_string(std::stoi(codeLine)) + ")"), std::string::npos);
  EXPECT_NE(r.out.find("  report:     " + Path("air.out")), std::string::npos);
  EXPECT_NE(r.out.find("  parameters: " + Path("air.aux")), std::string::npos);
  // CR LF line ends in every file written.
  EXPECT_NE(ReadBytes(folder / "air.out").find("PROGRAM\r\n"), std::string::npos);
  EXPECT_NE(r.err.find("The input is saved in " + Path("air.inp") +
                       "   Calculations were done and the output is saved in  " + Path("air.out")),
            std::string::npos);
}

TEST_F(RunCommandTest, PreferredDistributionIsFitted) {
  WriteBytes(folder / "air.txt", kAircondit);
  const CliResult r = Cli({"run", Path("air.txt"), "--pref", "57", "--intervals", "4"});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  EXPECT_NE(r.out.find("Weibull distribution (code 57)"), std::string::npos) << r.out;
  const auto aux = textio::ReadTextLines(folder / "air.aux");
  ASSERT_TRUE(aux);
  EXPECT_EQ(aux->size(), 4u);  // code, A, B, S
  const std::string report = ReadBytes(folder / "air.out");
  EXPECT_NE(report.find(" Frequency distribution preferred by user."), std::string::npos);
  EXPECT_NE(r.err.find("Please be aware that in some cases"), std::string::npos);
}

TEST_F(RunCommandTest, InputFileIsRunAsItStands) {
  WriteBytes(folder / "air.txt", kAircondit);
  ASSERT_EQ(Cli({"run", Path("air.txt")}).code, kExitOk);
  const std::string input = ReadBytes(folder / "air.inp");
  std::filesystem::remove(folder / "air.out");
  const CliResult r = Cli({"run", Path("air.inp"), "--pref", "4"});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  EXPECT_EQ(ReadBytes(folder / "air.inp"), input);
  EXPECT_TRUE(std::filesystem::exists(folder / "air.out"));
}

TEST_F(RunCommandTest, AllEqualValuesStopWithTheRunsMessage) {
  WriteBytes(folder / "flat.txt", "5\n5\n5\n5\n5\n5\n5\n");
  WriteBytes(folder / "flat.out", "earlier report");
  WriteBytes(folder / "flat.aux", "earlier parameters");
  const CliResult r = Cli({"run", Path("flat.txt")});
  EXPECT_EQ(r.code, kExitStopped);
  EXPECT_NE(r.err.find("No data below threshold, or no variation between data. Program stops "
                       "running"),
            std::string::npos);
  EXPECT_EQ(ReadBytes(folder / "flat.out"), "earlier report");
  EXPECT_EQ(ReadBytes(folder / "flat.aux"), "earlier parameters");
  // The input file would stand beside a report of other data: not written.
  EXPECT_FALSE(std::filesystem::exists(folder / "flat.inp"));
}

TEST_F(RunCommandTest, ThresholdAboveEveryValueStops) {
  WriteBytes(folder / "air.txt", kAircondit);
  const CliResult r = Cli({"run", Path("air.txt"), "--threshold", "1000"});
  EXPECT_EQ(r.code, kExitStopped);
  EXPECT_FALSE(std::filesystem::exists(folder / "air.out"));
}

TEST_F(RunCommandTest, MoreThan2500ValuesAreCutAndTold) {
  WriteBytes(folder / "many.txt", Values(2501, 10.0, 0.5));
  const CliResult r = Cli({"run", Path("many.txt"), "--pref", "4"});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  const auto first = r.err.find(
      " The program uses the first 2500 data above the given "
      "threshold only");
  const auto after =
      r.err.find("The analysis was limited to the first 2500 data greater than the threshold");
  ASSERT_NE(first, std::string::npos);
  ASSERT_NE(after, std::string::npos);
  EXPECT_LT(first, after);
  const auto report = textio::ReadTextLines(folder / "many.out");
  ASSERT_TRUE(report);
  EXPECT_EQ((*report)[6], " Number of data used: 2500");
}

TEST_F(RunCommandTest, APlottingPositionAddsOneHeadingLineAndMovesTheRanks) {
  WriteBytes(folder / "air.txt", kAircondit);
  ASSERT_EQ(Cli({"run", Path("air.txt"), "--pref", "4"}).code, kExitOk);
  const auto weibull = textio::ReadTextLines(folder / "air.out");
  ASSERT_TRUE(weibull);
  const CliResult r = Cli({"run", Path("air.txt"), "--pref", "4", "--overwrite",
                           "--plotting-position", "hazen"});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  const auto hazen = textio::ReadTextLines(folder / "air.out");
  ASSERT_TRUE(hazen);
  ASSERT_EQ(hazen->size(), weibull->size() + 1);
  EXPECT_EQ((*hazen)[7], " Plotting position: Hazen (i-0.5)/N");
  for (int i = 0; i < 7; ++i) EXPECT_EQ((*hazen)[i], (*weibull)[i]);
  EXPECT_EQ((*hazen)[8], (*weibull)[7]);
  // The fit itself moves: the two reports differ beyond the heading.
  EXPECT_FALSE(std::equal(hazen->begin() + 8, hazen->end(), weibull->begin() + 7));
}

struct UsageCase {
  std::string name;
  std::vector<std::string> options;
  std::string message;
};

void PrintTo(const UsageCase& c, std::ostream* os) { *os << c.name; }

class RunUsageTest : public RunCommandTest, public ::testing::WithParamInterface<UsageCase> {};

TEST_P(RunUsageTest, RefusesWithTheInputPagesMessage) {
  WriteBytes(folder / "air.txt", kAircondit);
  std::vector<std::string> args = {"run", Path("air.txt")};
  args.insert(args.end(), GetParam().options.begin(), GetParam().options.end());
  const CliResult r = Cli(args);
  EXPECT_EQ(r.code, kExitUsage);
  EXPECT_NE(r.err.find(GetParam().message), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(folder / "air.out"));
  EXPECT_FALSE(std::filesystem::exists(folder / "air.inp"));
}

INSTANTIATE_TEST_SUITE_P(
    Options, RunUsageTest,
    ::testing::Values(
        UsageCase{"TooManyClasses",
                  {"--intervals", "21"},
                  "Do not use more than 20 classes and not less than 2"},
        UsageCase{"TooFewClasses",
                  {"--intervals", "1"},
                  "Do not use more than 20 classes and not less than 2"},
        UsageCase{"ClassesNotInteger",
                  {"--intervals", "5.5"},
                  "The number of classes is not a valid integer"},
        UsageCase{"NotAPreference", {"--pref", "7"}, "is not one of 1 (best fitting of all)"},
        UsageCase{"BreakpointWithPreference",
                  {"--pref", "4", "--breakpoint"},
                  "a breakpoint can only be allowed with best fitting of all"},
        UsageCase{"ThresholdNotReal", {"--threshold", "ten"}, "The threshold is not a valid real"},
        UsageCase{"PlottingPositionUnknown",
                  {"--plotting-position", "a=0.6"},
                  "The plotting position \"a=0.6\" is none of"}),
    [](const ::testing::TestParamInfo<UsageCase>& row) { return row.param.name; });

TEST_F(RunCommandTest, FewerThanSixValuesAreRefused) {
  WriteBytes(folder / "five.txt", "1\n2\n\n3\n4\n5\n");
  const CliResult r = Cli({"run", Path("five.txt")});
  EXPECT_EQ(r.code, kExitUsage);
  EXPECT_NE(r.err.find(" The minimum number of data is 6"), std::string::npos);
}

TEST_F(RunCommandTest, AnUnreadableInputIsAUsageError) {
  const CliResult r = Cli({"run", Path("missing.txt")});
  EXPECT_EQ(r.code, kExitUsage);
  EXPECT_NE(r.err.find("cannot read"), std::string::npos);
}

TEST_F(RunCommandTest, AnExistingInputFileIsKeptWithoutOverwrite) {
  WriteBytes(folder / "air.txt", kAircondit);
  WriteBytes(folder / "air.inp", "my own input file");
  CliResult r = Cli({"run", Path("air.txt")});
  EXPECT_EQ(r.code, kExitUsage);
  EXPECT_NE(r.err.find("The input data were not saved"), std::string::npos);
  EXPECT_EQ(ReadBytes(folder / "air.inp"), "my own input file");
  r = Cli({"run", Path("air.txt"), "--overwrite"});
  EXPECT_EQ(r.code, kExitOk) << r.err;
}

TEST_F(RunCommandTest, SeveralInputsRunInTurnAndTheWorstStatusCounts) {
  WriteBytes(folder / "air.txt", kAircondit);
  WriteBytes(folder / "flat.txt", "5\n5\n5\n5\n5\n5\n");
  const CliResult r = Cli({"run", Path("flat.txt"), Path("air.txt")});
  EXPECT_EQ(r.code, kExitStopped);
  EXPECT_TRUE(std::filesystem::exists(folder / "air.out"));
  EXPECT_FALSE(std::filesystem::exists(folder / "flat.out"));
}

TEST_F(RunCommandTest, CsvColumnWithEmptyCells) {
  WriteBytes(folder / "table.csv", "year,flow\n1,3\n2,5\n3,\n4,7\n5,18\n6,43\n7,85\n8,91\n");
  const CliResult r = Cli({"run", Path("table.csv"), "--column", "2", "--pref", "4"});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  const std::string input = ReadBytes(folder / "table.inp");
  EXPECT_NE(input.find(" Number of data: 7\r\n"), std::string::npos);
}

// Every preference on a series with negative values (so with a shift): a
// report without "NaN" or "INF", and the calculator, fed the calculated
// frequency printed for rank 8, gives the calculated X-value the report
// prints for that rank.
class PreferenceSweepTest : public RunCommandTest, public ::testing::WithParamInterface<int> {};

TEST_P(PreferenceSweepTest, ReportAndCalculatorAgree) {
  const std::string pref = std::to_string(GetParam());
  WriteBytes(folder / "neg.txt", "-47\n-45\n-43\n-32\n-7\n35\n41\n48\n50\n80\n180\n437\n");
  const CliResult run = Cli({"run", Path("neg.txt"), "--pref", pref, "--threshold", "-1000"});
  ASSERT_EQ(run.code, kExitOk) << run.err;
  const std::string text = ReadBytes(folder / "neg.out");
  EXPECT_EQ(text.find("NaN"), std::string::npos);
  EXPECT_EQ(text.find("INF"), std::string::npos);
  const auto report = textio::ReadTextLines(folder / "neg.out");
  ASSERT_TRUE(report);
  std::size_t table = 0, section = 0;
  for (std::size_t i = 5; i < report->size(); ++i) {
    if (!table && (*report)[i].rfind(" Obs", 0) == 0) table = i;
    if ((*report)[i].rfind(" Con", 0) == 0) section = i;
  }
  ASSERT_TRUE(table && section);
  // Rank 8 (X = 48): the fourth number of its row is the calculated percent.
  std::istringstream row((*report)[table + 12]);
  double x, serial, rank, calc;
  row >> x >> serial >> rank >> calc;
  std::istringstream sectionRow((*report)[section + 13]);
  double observed, serial2, calcX;
  sectionRow >> observed >> serial2 >> calcX;
  ASSERT_EQ(observed, 48.0);
  std::ostringstream frequency;
  frequency << calc / 100.0;
  const CliResult value = Cli({"calc", Path("neg.aux"), "--freq", frequency.str()});
  ASSERT_EQ(value.code, kExitOk) << value.err;
  const std::string xLine = value.out.substr(value.out.find("X-value:     ") + 13);
  // The section prints one decimal for values below 500.
  EXPECT_NEAR(std::stod(xLine), calcX, 0.05 + 1e-9) << value.out;
}

INSTANTIATE_TEST_SUITE_P(EveryPreference, PreferenceSweepTest,
                         ::testing::Values(3, 4, 5, 21, 22, 23, 24, 25, 51, 52, 53, 54, 55, 56, 57,
                                           58, 59, 60, 62));

// --- calc ---------------------------------------------------------------------

class CalcCommandTest : public RunCommandTest {
 protected:
  void SetUp() override {
    WriteBytes(folder / "air.txt", kAircondit);
    ASSERT_EQ(Cli({"run", Path("air.txt"), "--pref", "4"}).code, kExitOk);
  }
};

TEST_F(CalcCommandTest, PrintsTheFieldsOfEachDirection) {
  CliResult r = Cli({"calc", Path("air.aux"), "--period", "10"});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  EXPECT_EQ(r.out.substr(0, r.out.find('\n', r.out.find('\n') + 1) + 1),
            "Cum. Freq.:  0.9\nRet. Per.:   10\n");
  EXPECT_NE(r.out.find("\n90% confidence limits of the X-Value\n  Lower:    "), std::string::npos);
  const std::string xLine = r.out.substr(r.out.find("X-value:     "));
  const std::string x = xLine.substr(13, xLine.find('\n') - 13);

  r = Cli({"calc", Path("air.aux"), "--x", x});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  EXPECT_EQ(r.out.substr(0, 13 + x.size() + 1), "X-value:     " + x + "\n");
  // The way back gives the frequency 0.9 again (to 15 digits).
  const std::string freqLine = r.out.substr(r.out.find("Cum. Freq.:  ") + 13);
  EXPECT_NEAR(std::stod(freqLine.substr(0, freqLine.find('\n'))), 0.9, 1e-12);
  EXPECT_NE(r.out.find("90% confidence limits of return period\n"), std::string::npos);

  r = Cli({"calc", Path("air.aux"), "--freq", "0.9"});
  ASSERT_EQ(r.code, kExitOk) << r.err;
  EXPECT_NE(r.out.find("X-value:     " + x + "\n"), std::string::npos);
}

TEST_F(CalcCommandTest, RefusalsAreUsageErrors) {
  CliResult r = Cli({"calc", Path("air.aux"), "--freq", "1.5"});
  EXPECT_EQ(r.code, kExitUsage);
  EXPECT_NE(r.err.find("the frequency must be above 1E-6 and at most 0.999999, not 1.5"),
            std::string::npos)
      << r.err;
  r = Cli({"calc", Path("air.aux")});
  EXPECT_EQ(r.code, kExitUsage);
  r = Cli({"calc", Path("air.aux"), "--x", "1", "--freq", "0.5"});
  EXPECT_EQ(r.code, kExitUsage);
  r = Cli({"calc", Path("none.aux"), "--x", "1"});
  EXPECT_EQ(r.code, kExitUsage);
}

// What the command line tells of a refused argument or a missing file: the
// text given, the exact range, the file that is missing.
TEST_F(CalcCommandTest, RefusalsSayWhatIsWrong) {
  WriteBytes(folder / "r.txt", "3\n5\n");
  std::filesystem::copy_file(folder / "air.aux", folder / "lone.aux");
  const struct {
    std::vector<std::string> args;
    std::string err;  // "{dir}" the folder
  } rows[] = {
      {{"air.aux", "--freq", "nan"}, "quilmor-cli calc: --freq \"nan\" is not a number\n"},
      {{"air.aux", "--x", "inf"}, "quilmor-cli calc: --x \"inf\" is not a number\n"},
      {{"air.aux", "--x", "1e999"},
       "quilmor-cli calc: --x \"1e999\" lies outside the numbers the program can hold (sizes "
       "from about 4.9E-324 to 1.8E308, and 0)\n"},
      {{"air.aux", "--period", "-1,5e-400"},
       "quilmor-cli calc: --period \"-1,5e-400\" lies outside the numbers the program can hold "
       "(sizes from about 4.9E-324 to 1.8E308, and 0)\n"},
      {{"air.aux", "--period", "1e7"},
       "quilmor-cli calc: the return period must be above 1E-6 and at most 1E6, not 1e7\n"},
      {{"air.aux", "--freq", "0.000001"},
       "quilmor-cli calc: the frequency must be above 1E-6 and at most 0.999999, not 0.000001\n"},
      {{"r.txt", "--x", "1"},
       "quilmor-cli calc: \"{dir}/r.txt\" is not a parameter file, and there is no parameter "
       "file \"{dir}/r.aux\" beside it\n"},
      {{"none.aux", "--x", "1"},
       "quilmor-cli calc: the parameter file \"{dir}/none.aux\" does not exist\n"},
      {{"lone.aux", "--x", "1"},
       "The input file \"{dir}/lone.inp\" beside the parameter file \"{dir}/lone.aux\" is "
       "missing; the calculator needs the data of the run it belongs to\n"},
  };
  for (const auto& row : rows) {
    std::vector<std::string> args = {"calc", Path(row.args[0])};
    args.insert(args.end(), row.args.begin() + 1, row.args.end());
    const CliResult r = Cli(args);
    EXPECT_EQ(r.code, kExitUsage) << row.args[0];
    std::string expected = row.err;
    for (auto at = expected.find("{dir}"); at != std::string::npos; at = expected.find("{dir}")) {
      expected.replace(at, 5, folder.Path().string());
    }
    EXPECT_EQ(r.err, expected);
  }
  // The accepted ends.
  EXPECT_EQ(Cli({"calc", Path("air.aux"), "--freq", "0.999999"}).code, kExitOk);
  EXPECT_EQ(Cli({"calc", Path("air.aux"), "--period", "1000000"}).code, kExitOk);
}

// The section of calculated X-values: calculated value, lower and upper limit
// of each rank.
struct XRow {
  double calc, lower, upper;
};
std::vector<XRow> XSection(const std::string& report) {
  std::vector<XRow> rows;
  const std::vector<std::string> lines = textio::SplitLines(report);
  std::size_t i = 0;
  while (i < lines.size() && lines[i] != " Confidence limits of calculated X-values") ++i;
  for (i += 6; i < lines.size() && lines[i].rfind(" ---", 0) != 0; ++i) {
    std::istringstream in(lines[i]);
    double observed = 0;
    int serial = 0;
    XRow row{};
    in >> observed >> serial >> row.calc >> row.lower >> row.upper;
    if (in) rows.push_back(row);
  }
  return rows;
}

// Fits that describe their data poorly still print ordered limits within the
// data's sign, and the command line says the fit is poor.
TEST_F(RunCommandTest, PoorFitsKeepTheirXLimitsOrderedAndAreToldOf) {
  struct Row {
    const char* name;
    std::string values;
    std::vector<std::string> options;
    bool positive;  // every value > 0
    bool poor;      // the note on the error stream
  };
  std::string ones;
  for (int i = 0; i < 39; ++i) ones += "1.0\n";
  const std::filesystem::path golden =
      std::filesystem::path(QUILMOR_SOURCE_DIR) / "tests" / "golden" / "inputs";
  const std::vector<Row> rows = {
      {"ones", ones + "1e15\n", {}, true, true},
      {"negative", ReadBytes(golden / "negative_anomalies.txt"),
       {"--threshold", "-100", "--pref", "22"}, false, false},
      {"air", kAircondit, {"--pref", "4"}, true, false},
  };
  for (const Row& row : rows) {
    const std::string name = std::string(row.name) + ".txt";
    WriteBytes(folder / name, row.values);
    std::vector<std::string> args = {"run", Path(name)};
    args.insert(args.end(), row.options.begin(), row.options.end());
    const CliResult r = Cli(args);
    ASSERT_EQ(r.code, kExitOk) << row.name << r.err;
    EXPECT_EQ(r.err.find("describes the data poorly") != std::string::npos, row.poor)
        << row.name << r.err;
    const std::vector<XRow> x = XSection(ReadBytes(folder / (std::string(row.name) + ".out")));
    ASSERT_FALSE(x.empty()) << row.name;
    for (const XRow& v : x) {
      EXPECT_LE(v.lower, v.upper) << row.name;
      EXPECT_LE(v.calc, v.upper) << row.name;
      if (row.positive) {
        EXPECT_GE(v.lower, 0.0) << row.name;
        EXPECT_GE(v.calc, 0.0) << row.name;
      }
    }
  }
}

}  // namespace
}  // namespace quilmor::cli
namespace quilmor::cli {
namespace {

// The calculator at the ends of the number range: a frequency that rises
// from 0 (or from the value at X = 0 for a function of X >= 0) to 1, or no
// value beyond the upper bound of code 59; never a mirror image of the square
// of a negative X or a power of a negative ratio.
TEST_F(RunCommandTest, CalcAtTheEndsOfTheNumberRange) {
  WriteBytes(folder / "air.txt", kAircondit);
  const std::vector<std::string> xs = {"-1e308", "-1e-308", "0", "1e-308", "1e308"};
  const struct {
    const char* preference;
    std::vector<std::string> freqs;  // "F0": the frequency at X = 0
  } rows[] = {
      {"4", {"0", "F0", "F0", "F0", "1"}},         {"5", {"0", "F0", "F0", "F0", "1"}},
      {"23", {"F0", "F0", "F0", "F0", "1"}},       {"56", {"0", "0", "0", "0", "1"}},
      {"59", {"0", "F0", "F0", "F0", "no value"}}, {"62", {"0", "F0", "F0", "F0", "1"}},
  };
  const auto freqOf = [](const std::string& out) {
    const std::size_t at = out.find("Cum. Freq.:  ");
    if (at == std::string::npos) return std::string("(none)");
    return out.substr(at + 13, out.find('\n', at) - at - 13);
  };
  for (const auto& row : rows) {
    std::filesystem::copy_file(folder / "air.txt",
                               folder / (std::string("c") + row.preference + ".txt"),
                               std::filesystem::copy_options::overwrite_existing);
    const std::string name = std::string("c") + row.preference;
    ASSERT_EQ(Cli({"run", Path(name + ".txt"), "--pref", row.preference}).code, kExitOk);
    const std::string f0 = freqOf(Cli({"calc", Path(name + ".aux"), "--x", "0"}).out);
    for (std::size_t i = 0; i < xs.size(); ++i) {
      const CliResult r = Cli({"calc", Path(name + ".aux"), "--x", xs[i]});
      EXPECT_EQ(r.code, kExitOk) << row.preference << " " << xs[i] << r.err;
      EXPECT_EQ(freqOf(r.out), row.freqs[i] == "F0" ? f0 : row.freqs[i])
          << "code " << row.preference << " at " << xs[i];
    }
  }
}

}  // namespace
}  // namespace quilmor::cli
