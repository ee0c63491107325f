#include "graphs/graph_file.hpp"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QXmlStreamReader>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "graphs/bitmap.hpp"
#include "scripted_interaction.hpp"
#include "temp_folder.hpp"

namespace quilmor::graphs {
namespace {

using quilmor::testing::ReadBytes;
using quilmor::testing::ScriptedInteraction;
using quilmor::testing::TempFolder;
using quilmor::testing::WriteBytes;

const std::string kSampleReport =
    std::string(QUILMOR_SOURCE_DIR) + "/tests/data/graphs/rainfall.out";

class GraphFile : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureGuiApplication(); }
  ScriptedInteraction ui;
  report::TDMQuilmor dm{ui};
  TempFolder folder;

  GraphPicture Sample(int type, bool colour = true) {
    const DrawnGraph drawn = MakeGraph(dm, {kSampleReport, type, colour, {"", true}, {}});
    EXPECT_TRUE(drawn.read.ok());
    return drawn.picture.value_or(GraphPicture{});
  }
};

// The texts of an SVG document, each as written; fails the test when the
// document is no well-formed XML.
std::vector<std::string> SvgTexts(const std::string& svg, std::set<std::string>* fills = nullptr) {
  std::vector<std::string> texts;
  QXmlStreamReader xml(QByteArray::fromStdString(svg));
  while (!xml.atEnd()) {
    xml.readNext();
    if (!xml.isStartElement()) continue;
    if (fills && xml.attributes().hasAttribute("fill")) {
      fills->insert(xml.attributes().value("fill").toString().toStdString());
    }
    if (xml.name() == QStringLiteral("text")) {
      texts.push_back(xml.readElementText().toStdString());
    }
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  return texts;
}

int CountOf(const std::vector<std::string>& texts, const std::string& text) {
  return static_cast<int>(std::count(texts.begin(), texts.end(), text));
}

TEST(GraphFormat, FollowsTheExtension) {
  const std::vector<std::pair<std::string, std::optional<GraphFormat>>> cases = {
      {"g.bmp", GraphFormat::Bitmap}, {"G.BMP", GraphFormat::Bitmap},
      {"a/b.png", GraphFormat::Png},  {"x.Svg", GraphFormat::Svg},
      {"x.pdf", GraphFormat::Pdf},    {"x.jpg", std::nullopt},
      {"svg", std::nullopt},          {".png", std::nullopt},
      {"x.png.txt", std::nullopt},    {"", std::nullopt}};
  for (const auto& [path, format] : cases) EXPECT_EQ(GraphFormatOf(path), format) << path;
}

TEST_F(GraphFile, ScreenResolutionIsThePaintedImage) {
  const GraphPicture picture = Sample(1);
  QImage painted = NewGraphImage();
  PaintGraph(picture, painted);
  const QImage rendered = RenderGraphImage(picture, kScreenDpi);
  EXPECT_EQ(rendered, painted);
  EXPECT_EQ(EncodeBitmap(rendered), EncodeBitmap(painted));
  EXPECT_EQ(rendered.size(), QSize(623, 495));
}

TEST_F(GraphFile, HigherResolutionScalesThePixels) {
  // 300 dpi: 623 * 3.125 = 1946.9 -> 1947, 495 * 3.125 = 1546.9 -> 1547;
  // 300 / 0.0254 = 11811 dots per meter.
  const QImage image = RenderGraphImage(Sample(1), 300);
  ASSERT_EQ(image.size(), QSize(1947, 1547));
  EXPECT_EQ(image.dotsPerMeterX(), 11811);
  EXPECT_EQ(image.dotsPerMeterY(), 11811);
  // Silver margin, blue plot, the Y axis at x = 70 * 3.125 = 218.75.
  EXPECT_EQ(image.pixel(30, 30) & 0xFFFFFF, 0xC0C0C0u);
  EXPECT_EQ(image.pixel(1880, 700) & 0xFFFFFF, 0x0000FFu);
  int axis = 0;
  for (int x = 215; x <= 222; ++x) axis += (image.pixel(x, 600) & 0xFFFFFF) == 0xFFFFFF;
  EXPECT_GE(axis, 2);
}

TEST_F(GraphFile, SvgHoldsPointsAndTextsAsText) {
  // The sample's 30 rows all lie below the top: 30 points "o". Beside them:
  // title 1, credit, title 2, the X and Y titles, the distribution name, 3
  // legend lines, 11 Y labels (a = 2..12) and 5 X labels (4 divisions).
  const GraphPicture picture = Sample(1);
  const std::string svg = EncodeSvg(picture);
  const std::vector<std::string> texts = SvgTexts(svg);
  EXPECT_EQ(CountOf(texts, "o"), 30);
  EXPECT_EQ(texts.size(), 30u + 6u + 3u + 11u + 5u);
  EXPECT_EQ(CountOf(texts, "Observed rainfall"), 1);
  EXPECT_EQ(CountOf(texts, "Gumbel distribution"), 1);
  // "100" on both axes (X 25 .. 125); no label at 110 and 120 % above the top.
  EXPECT_EQ(CountOf(texts, "100"), 2);
  EXPECT_EQ(CountOf(texts, "110"), 0);
  EXPECT_EQ(CountOf(texts, "120"), 0);
  EXPECT_NE(svg.find("<title>Observed rainfall</title>"), std::string::npos);
  EXPECT_NE(svg.find("viewBox=\"0 0 623 495\""), std::string::npos);
  EXPECT_EQ(svg.find("<image"), std::string::npos);
  // The interval graph of 7 rows marks the second to the sixth class.
  EXPECT_EQ(CountOf(SvgTexts(EncodeSvg(Sample(2))), "#"), 5);
}

TEST_F(GraphFile, SvgInBlackAndWhiteHasNoColours) {
  std::set<std::string> fills;
  SvgTexts(EncodeSvg(Sample(4, false)), &fills);
  fills.erase("none");
  EXPECT_EQ(fills, (std::set<std::string>{"#000000", "#ffffff", "#c0c0c0"}));
  std::set<std::string> colourFills;
  SvgTexts(EncodeSvg(Sample(4, true)), &colourFills);
  EXPECT_TRUE(colourFills.count("#0000ff"));
  EXPECT_TRUE(colourFills.count("#00ffff"));
}

// The first stream of a PDF after `from`, inflated.
std::string InflatedStream(const std::string& pdf, std::size_t from) {
  const std::size_t begin = pdf.find("stream\n", from);
  const std::size_t end = pdf.find("endstream", begin);
  if (begin == std::string::npos || end == std::string::npos) return {};
  QByteArray zlib = QByteArray::fromStdString(pdf.substr(begin + 7, end - begin - 7));
  // qUncompress wants the expected size ahead of the zlib stream.
  zlib.prepend(QByteArray("\x00\x10\x00\x00", 4));
  const QByteArray plain = qUncompress(zlib);
  return std::string(plain.constData(), static_cast<std::size_t>(plain.size()));
}

TEST_F(GraphFile, PdfIsOnePageWithTheTitleAndItsTextAsText) {
  const std::string pdf = EncodePdf(Sample(1));
  ASSERT_EQ(pdf.substr(0, 5), "%PDF-");
  // The title in the document's information, in UTF-16 with its byte-order mark.
  std::string title = "\xFE\xFF";
  for (char c : std::string("Observed rainfall")) title += std::string(1, '\0') + c;
  EXPECT_NE(pdf.find("/Title (" + title + ")"), std::string::npos);
  // 623 x 495 pixels at 96 dpi are 467.25 x 371.25 points.
  EXPECT_NE(pdf.find("/MediaBox [0 0 467"), std::string::npos);
  EXPECT_NE(pdf.find("/Count 1"), std::string::npos);
  // An embedded font and no picture.
  EXPECT_NE(pdf.find("/FontFile2"), std::string::npos);
  EXPECT_EQ(pdf.find("/Subtype /Image"), std::string::npos);
  // The page draws text (BT ... ET) and lines.
  const std::string page = InflatedStream(pdf, pdf.find("/Filter /FlateDecode"));
  ASSERT_FALSE(page.empty());
  EXPECT_NE(page.find("BT"), std::string::npos);
  EXPECT_NE(page.find("ET"), std::string::npos);
  EXPECT_EQ(page.find(" Do"), std::string::npos);
}

struct SaveCase {
  const char* name;
  const char* file;
  int dpi;
  const char* start;  // the first bytes written; nullptr: nothing is written
};
void PrintTo(const SaveCase& c, std::ostream* os) { *os << c.name; }

class SaveGraph : public GraphFile, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(SaveGraph, WritesTheFormatOfTheName) {
  const SaveCase& c = GetParam();
  const std::filesystem::path path = folder / c.file;
  std::string error;
  const bool saved = SaveGraphFile(Sample(4), path.string(), c.dpi, &error);
  EXPECT_EQ(saved, c.start != nullptr) << error;
  EXPECT_EQ(error.empty(), saved);
  if (c.start != nullptr) {
    EXPECT_EQ(ReadBytes(path).substr(0, std::string(c.start).size()), c.start);
  } else {
    EXPECT_FALSE(std::filesystem::exists(path));
  }
  // Only the file itself: no temporary file is left.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                          std::filesystem::directory_iterator()),
            c.start ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Files, SaveGraph,
                         ::testing::Values(SaveCase{"Bitmap", "g.bmp", 96, "BM"},
                                           SaveCase{"PngAt300", "g.PNG", 300, "\x89PNG"},
                                           SaveCase{"Svg", "g.svg", 96, "<?xml"},
                                           SaveCase{"Pdf", "g.pdf", 600, "%PDF-"},
                                           SaveCase{"Jpeg", "g.jpg", 96, nullptr},
                                           SaveCase{"DpiTooLow", "g.png", 23, nullptr},
                                           SaveCase{"DpiTooHigh", "g.svg", 1201, nullptr}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(GraphFile, ANameThatCannotBeWrittenLeavesWhatIsThere) {
  // A folder of the graph's name stays a folder, and no temporary file is left.
  std::filesystem::create_directory(folder / "g.pdf");
  std::string error;
  EXPECT_FALSE(SaveGraphFile(Sample(1), (folder / "g.pdf").string(), 96, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(std::filesystem::is_directory(folder / "g.pdf"));
  EXPECT_TRUE(std::filesystem::is_empty(folder / "g.pdf"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                          std::filesystem::directory_iterator()),
            1);
  EXPECT_FALSE(SaveGraphFile(Sample(1), (folder / "no" / "g.png").string(), 96, &error));
  EXPECT_FALSE(std::filesystem::exists(folder / "no"));
}

}  // namespace
}  // namespace quilmor::graphs
