#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <QImage>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_app.hpp"
#include "graphs/bitmap.hpp"
#include "temp_folder.hpp"
#include "unprivileged.hpp"

namespace quilmor::cli {
namespace {

using quilmor::testing::ReadBytes;
using quilmor::testing::TempFolder;
using quilmor::testing::WriteBytes;

const std::string kSampleReport =
    std::string(QUILMOR_SOURCE_DIR) + "/tests/data/graphs/rainfall.out";

struct CliRun {
  int code;
  std::string out;
  std::string err;
};

CliRun RunGraph(std::vector<std::string> args) {
  args.insert(args.begin(), {"quilmor-cli", "graph"});
  std::vector<const char*> argv;
  for (const auto& a : args) argv.push_back(a.c_str());
  std::ostringstream out, err;
  const int code = RunCli(static_cast<int>(argv.size()), argv.data(), out, err);
  return {code, out.str(), err.str()};
}

int CountColour(const QImage& image, QRgb colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += (image.pixel(x, y) & 0xFFFFFF) == colour;
  }
  return count;
}

class GraphCommand : public ::testing::Test {
 protected:
  TempFolder folder;
  std::string Path(const std::string& name) { return (folder / name).string(); }
};

TEST_F(GraphCommand, EveryTypeIsSavedAsABitmap) {
  for (const char* type : {"cumulative", "qq", "interval", "return", "xconf"}) {
    const std::string output = Path(std::string(type) + ".bmp");
    const CliRun run = RunGraph({kSampleReport, "--type", type, "--output", output});
    EXPECT_EQ(run.code, 0) << type << ": " << run.err;
    EXPECT_EQ(run.out, "The graph was saved in  " + output + "\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(ReadBytes(output).substr(0, 2), "BM");
    const auto image = graphs::LoadGraphImage(output);
    ASSERT_TRUE(image.has_value()) << type;
    EXPECT_EQ(image->size(), QSize(623, 495));
    EXPECT_GT(CountColour(*image, 0x0000FF), 100000) << type;
  }
}

TEST_F(GraphCommand, BlackAndWhiteAndPng) {
  const std::string output = Path("g.png");
  const CliRun run = RunGraph({kSampleReport, "--type", "cumulative", "--bw", "--output", output});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(ReadBytes(output).substr(0, 4), "\x89PNG");
  const auto image = graphs::LoadGraphImage(output);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(CountColour(*image, 0x0000FF), 0);
  EXPECT_EQ(CountColour(*image, 0x00FFFF), 0);
  EXPECT_GT(CountColour(*image, 0xFFFFFF), 100000);
}

TEST_F(GraphCommand, LogPeriodChangesOnlyTheReturnPeriodGraph) {
  const std::string linear = Path("linear.bmp");
  const std::string log = Path("log.bmp");
  ASSERT_EQ(RunGraph({kSampleReport, "--type", "return", "--output", linear}).code, 0);
  ASSERT_EQ(RunGraph({kSampleReport, "--type", "return", "--log-period", "--output", log}).code, 0);
  const auto a = graphs::LoadGraphImage(linear);
  const auto b = graphs::LoadGraphImage(log);
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->size(), b->size());
  // Frame and heading alike, the plot not.
  EXPECT_EQ(a->copy(0, 0, 623, 40), b->copy(0, 0, 623, 40));
  EXPECT_NE(a->copy(20, 50, 585, 380), b->copy(20, 50, 585, 380));
}

TEST_F(GraphCommand, FormatFollowsTheNameAndResolutionTheOption) {
  struct Case {
    const char* file;
    std::vector<std::string> extra;
    const char* start;
  };
  const std::vector<Case> cases = {{"g.svg", {}, "<?xml"},
                                   {"g.pdf", {"--dpi", "300"}, "%PDF-"},
                                   {"g.png", {"--dpi", "300"}, "\x89PNG"},
                                   {"g.bmp", {"--dpi", "48"}, "BM"}};
  for (const Case& c : cases) {
    std::vector<std::string> args = {kSampleReport, "--type", "xconf", "--output", Path(c.file)};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    const CliRun run = RunGraph(args);
    ASSERT_EQ(run.code, 0) << c.file << ": " << run.err;
    EXPECT_EQ(run.out, "The graph was saved in  " + Path(c.file) + "\n");
    EXPECT_EQ(ReadBytes(Path(c.file)).substr(0, std::string(c.start).size()), c.start) << c.file;
  }
  // 300 dpi: 623 x 495 pixels times 3.125; 48 dpi: halved.
  EXPECT_EQ(graphs::LoadGraphImage(Path("g.png"))->size(), QSize(1947, 1547));
  EXPECT_EQ(graphs::LoadGraphImage(Path("g.bmp"))->size(), QSize(312, 248));
}

TEST_F(GraphCommand, ProbabilityPaperOfEachKind) {
  // The sample's code 4 has the Gumbel paper; every paper can be asked for.
  std::vector<std::vector<std::string>> extras = {{},
                                                  {"--paper", "normal"},
                                                  {"--paper", "lognormal"},
                                                  {"--paper", "weibull"},
                                                  {"--paper", "exponential", "--log-x"},
                                                  {"--bw"}};
  std::set<std::string> pictures;
  for (const auto& extra : extras) {
    std::vector<std::string> args = {kSampleReport, "--type", "paper", "--output", Path("p.png")};
    args.insert(args.end(), extra.begin(), extra.end());
    const CliRun run = RunGraph(args);
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const auto image = graphs::LoadGraphImage(Path("p.png"));
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->size(), QSize(623, 495));
    pictures.insert(ReadBytes(Path("p.png")));
  }
  EXPECT_EQ(pictures.size(), extras.size());  // each one a graph of its own
  // The default is the Gumbel paper.
  ASSERT_EQ(RunGraph({kSampleReport, "--type", "paper", "--paper", "gumbel", "--output",
                      Path("gumbel.png")})
                .code,
            0);
  ASSERT_EQ(RunGraph({kSampleReport, "--type", "paper", "--output", Path("default.png")}).code, 0);
  EXPECT_EQ(ReadBytes(Path("gumbel.png")), ReadBytes(Path("default.png")));
}

TEST_F(GraphCommand, TheBandOfARunsBootstrapIsDrawnOnItsPaperOnly) {
  std::string values;
  for (int i = 1; i <= 40; ++i) values += std::to_string(100 + (i * 37) % 41 * 3 + i) + "\n";
  WriteBytes(folder / "s.txt", values);
  std::vector<std::string> run = {"quilmor-cli", "run", Path("s.txt"), "--json", "--bootstrap", "40"};
  std::vector<const char*> argv;
  for (const auto& a : run) argv.push_back(a.c_str());
  std::ostringstream out, err;
  ASSERT_EQ(RunCli(static_cast<int>(argv.size()), argv.data(), out, err), 0) << err.str();
  const std::string plain = Path("plain.png");
  const std::string band = Path("band.png");
  ASSERT_EQ(RunGraph({Path("s.out"), "--type", "paper", "--output", plain}).code, 0);
  const CliRun drawn = RunGraph({Path("s.out"), "--type", "paper", "--band", Path("s.json"),
                                 "--output", band});
  ASSERT_EQ(drawn.code, 0) << drawn.err;
  EXPECT_EQ(CountColour(*graphs::LoadGraphImage(plain), 0x00FF00), 0);
  EXPECT_GT(CountColour(*graphs::LoadGraphImage(band), 0x00FF00), 100);

  // The JSON of another fit, or of a run without a bootstrap, is refused.
  std::string json = ReadBytes(folder / "s.json");
  const auto code = json.find("\"code\":");
  ASSERT_NE(code, std::string::npos);
  std::string other = json;
  other.replace(code, 7, "\"code\": 999, \"was\":");
  WriteBytes(folder / "other.json", other);
  const CliRun refused = RunGraph({Path("s.out"), "--type", "paper", "--band",
                                   Path("other.json"), "--output", Path("o.png")});
  EXPECT_EQ(refused.code, 2);
  EXPECT_NE(refused.err.find("does not hold the fit of the report's distribution"),
            std::string::npos)
      << refused.err;
  run.pop_back();
  run.pop_back();
  run.push_back("--overwrite");
  argv.clear();
  for (const auto& a : run) argv.push_back(a.c_str());
  ASSERT_EQ(RunCli(static_cast<int>(argv.size()), argv.data(), out, err), 0) << err.str();
  const CliRun none = RunGraph({Path("s.out"), "--type", "paper", "--band", Path("s.json"),
                                "--output", Path("n.png")});
  EXPECT_EQ(none.code, 2);
  EXPECT_NE(none.err.find("holds no bootstrap limits"), std::string::npos) << none.err;
}

TEST_F(GraphCommand, MissingReportGetsTheOpenFailureMessage) {
  const std::string report = Path("none.out");
  const CliRun run = RunGraph({report, "--type", "return", "--output", Path("g.bmp")});
  EXPECT_EQ(run.code, 2);
  EXPECT_EQ(run.err, "The file \"" + report +
                         "\"could not be opened. It may be damaged,  not created due to "
                         "inadequate input data,  in use by another program,  or the "
                         "programmer should incorporate more time.\n"
                         "quilmor-cli graph: no graph was written\n");
  EXPECT_FALSE(std::filesystem::exists(Path("g.bmp")));
}

TEST_F(GraphCommand, ReportWithoutTheTableWritesNothing) {
  WriteBytes(folder / "stopped.out",
             " RESULTS OF Quilmor PROGRAM\r\n Cumulative frequency analysis\r\n\r\n a\r\n b\r\n"
             " The frequency distibution cannot be found :\r\n");
  const CliRun run =
      RunGraph({Path("stopped.out"), "--type", "interval", "--output", Path("g.bmp")});
  EXPECT_EQ(run.code, 2);
  EXPECT_EQ(run.err, "The table that begins with \" Int\" was not found in the file \"" +
                         Path("stopped.out") + "\"\nquilmor-cli graph: no graph was written\n");
  EXPECT_FALSE(std::filesystem::exists(Path("g.bmp")));
}

TEST_F(GraphCommand, UnreadableRowWritesNothing) {
  std::string text = ReadBytes(kSampleReport);
  const std::string row = "    28.3      1         3.2       5.2";
  ASSERT_NE(text.find(row), std::string::npos);
  text.replace(text.find(row), row.size(), "    28.3      1         3,2       5.2");
  WriteBytes(folder / "bad.out", text);
  const CliRun run = RunGraph({Path("bad.out"), "--type", "qq", "--output", Path("g.bmp")});
  EXPECT_EQ(run.code, 2);
  EXPECT_NE(run.err.find("Line 40 of the file"), std::string::npos) << run.err;
  EXPECT_FALSE(std::filesystem::exists(Path("g.bmp")));
}

// A write that fails keeps the program's text and adds the system's reason;
// a device at the output name is written into and stays a device.
TEST_F(GraphCommand, AFailedWriteKeepsOurTextAndAddsTheSystemsReason) {
  const auto d = folder.Path();
  std::filesystem::create_directory(d / "in_the_way.png");
  WriteBytes(d / "plain_file", "x");
  std::filesystem::create_directory(d / "locked");
  testing::OpenForReading(d);
  testing::MakeReadOnly(d / "locked");
  // A node of the device that is always full (/dev/full's numbers); only
  // root may make one.
  const bool device = ::mknod((d / "full.png").c_str(), S_IFCHR | 0666, ::makedev(1, 7)) == 0;
  const struct {
    const char* name;
    std::string output;
    std::string reason;
    bool unprivileged;
  } rows[] = {
      {"FolderInTheWay", Path("in_the_way.png"), "a folder of that name exists (Is a directory)",
       false},
      {"MissingFolder", Path("missing/g.png"), "No such file or directory", false},
      {"AFileForAFolder", Path("plain_file/g.svg"), "Not a directory", false},
      {"FolderNotWritable", Path("locked/g.pdf"), "Permission denied", true},
      {"FullDevice", Path("full.png"), "write failed: No space left on device", false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    if (row.output == Path("full.png") && !device) continue;
    const std::string expected =
        "quilmor-cli graph: " + row.output + " could not be written: " + row.reason + "\n";
    if (row.unprivileged) {
      const auto child = testing::RunUnprivileged([&](std::string& err) {
        const CliRun run = RunGraph({kSampleReport, "--type", "qq", "--output", row.output});
        err = run.err;
        return run.code;
      });
      if (!child) continue;  // no unprivileged user to be
      EXPECT_EQ(child->status, 2);
      EXPECT_EQ(child->output, expected);
    } else {
      const CliRun run = RunGraph({kSampleReport, "--type", "qq", "--output", row.output});
      EXPECT_EQ(run.code, 2);
      EXPECT_EQ(run.err, expected);
      EXPECT_EQ(run.out, "");
    }
  }
  EXPECT_TRUE(std::filesystem::is_directory(d / "in_the_way.png"));
  if (device) {
    EXPECT_TRUE(std::filesystem::is_character_file(d / "full.png"));
  }
  EXPECT_TRUE(std::filesystem::is_empty(d / "locked"));
}

struct UsageCase {
  const char* name;
  std::vector<std::string> args;  // "{dir}" is replaced by the test folder
  const char* errPart;
};
void PrintTo(const UsageCase& c, std::ostream* os) { *os << c.name; }

class GraphUsage : public GraphCommand, public ::testing::WithParamInterface<UsageCase> {};

TEST_P(GraphUsage, ExitsWithTwo) {
  std::vector<std::string> args;
  for (std::string a : GetParam().args) {
    if (a.rfind("{dir}", 0) == 0) a = folder.Path().string() + a.substr(5);
    if (a == "{sample}") a = kSampleReport;
    args.push_back(a);
  }
  std::filesystem::create_directory(folder / "folder.out");
  const CliRun run = RunGraph(args);
  EXPECT_EQ(run.code, 2);
  EXPECT_NE(run.err.find(GetParam().errPart), std::string::npos) << run.err;
  EXPECT_EQ(run.out, "");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GraphUsage,
    ::testing::Values(
        UsageCase{
            "UnknownType", {"{sample}", "--type", "pie", "--output", "{dir}/g.bmp"}, "--type"},
        UsageCase{"NoType", {"{sample}", "--output", "{dir}/g.bmp"}, "--type"},
        UsageCase{"NoOutput", {"{sample}", "--type", "qq"}, "--output"},
        UsageCase{"NoReport", {"--type", "qq", "--output", "{dir}/g.bmp"}, "REPORT"},
        UsageCase{"JpegOutput",
                  {"{sample}", "--type", "qq", "--output", "{dir}/g.jpg"},
                  "must end in \".png\", \".svg\", \".pdf\" or \".bmp\""},
        UsageCase{"LogPeriodOfAnotherGraph",
                  {"{sample}", "--type", "qq", "--log-period", "--output", "{dir}/g.bmp"},
                  "--log-period applies to the return-period graph"},
        UsageCase{"DpiTooLow",
                  {"{sample}", "--type", "qq", "--dpi", "10", "--output", "{dir}/g.png"},
                  "--dpi"},
        UsageCase{"DpiNotANumber",
                  {"{sample}", "--type", "qq", "--dpi", "high", "--output", "{dir}/g.png"},
                  "--dpi"},
        UsageCase{"PaperOfAnotherGraph",
                  {"{sample}", "--type", "qq", "--paper", "normal", "--output", "{dir}/g.png"},
                  "--paper, --log-x and --band apply to the probability paper"},
        UsageCase{"LogXOfAnotherGraph",
                  {"{sample}", "--type", "return", "--log-x", "--output", "{dir}/g.png"},
                  "--paper, --log-x and --band apply to the probability paper"},
        UsageCase{"BandOfAnotherGraph",
                  {"{sample}", "--type", "qq", "--band", "{dir}/b.json", "--output", "{dir}/g.png"},
                  "--paper, --log-x and --band apply to the probability paper"},
        UsageCase{"BandMissing",
                  {"{sample}", "--type", "paper", "--band", "{dir}/none.json", "--output",
                   "{dir}/g.png"},
                  "none.json cannot be read"},
        UsageCase{"BandNoJson",
                  {"{sample}", "--type", "paper", "--band", "{sample}", "--output", "{dir}/g.png"},
                  "is not a run's JSON"},
        UsageCase{
            "UnknownPaper",
            {"{sample}", "--type", "paper", "--paper", "arithmetic", "--output", "{dir}/g.png"},
            "--paper"},
        UsageCase{"NotAReport",
                  {"{dir}/run.inp", "--type", "qq", "--output", "{dir}/g.bmp"},
                  "is not a results report"},
        UsageCase{"ReportIsAFolder",
                  {"{dir}/folder.out", "--type", "qq", "--output", "{dir}/g.bmp"},
                  "could not be opened"},
        UsageCase{"OutputFolderMissing",
                  {"{sample}", "--type", "qq", "--output", "{dir}/no/g.bmp"},
                  "could not be written"}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace quilmor::cli
