#include "graphs/bitmap.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "graphs/draw_graph.hpp"
#include "temp_folder.hpp"

namespace quilmor::graphs {
namespace {

using quilmor::testing::ReadBytes;
using quilmor::testing::TempFolder;
using quilmor::testing::WriteBytes;

std::uint32_t U32(const std::string& bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (int k = 3; k >= 0; --k) v = (v << 8) | static_cast<unsigned char>(bytes[at + k]);
  return v;
}
std::uint16_t U16(const std::string& bytes, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                    (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

// A graph-sized image with a few marked pixels.
QImage MarkedImage() {
  QImage image = NewGraphImage();
  image.setPixel(0, 0, qRgb(1, 2, 3));         // top left
  image.setPixel(0, 494, qRgb(10, 20, 30));    // bottom left
  image.setPixel(622, 494, qRgb(40, 50, 60));  // bottom right
  image.setPixel(311, 200, qRgb(0, 0, 255));
  return image;
}

TEST(Bitmap, HeaderOfAGraph) {
  const std::string bmp = EncodeBitmap(MarkedImage());
  // Rows of 623 * 3 = 1869 bytes padded to 1872; 495 rows after 54 header bytes.
  ASSERT_EQ(bmp.size(), 54u + 1872u * 495u);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(U32(bmp, 2), 926694u);  // file size
  EXPECT_EQ(U32(bmp, 10), 54u);     // offset of the pixels
  EXPECT_EQ(U32(bmp, 14), 40u);     // BITMAPINFOHEADER
  EXPECT_EQ(U32(bmp, 18), 623u);
  EXPECT_EQ(U32(bmp, 22), 495u);  // positive: bottom-up
  EXPECT_EQ(U16(bmp, 26), 1u);
  EXPECT_EQ(U16(bmp, 28), 24u);
  EXPECT_EQ(U32(bmp, 30), 0u);  // no compression
  EXPECT_EQ(U32(bmp, 34), 1872u * 495u);
  EXPECT_EQ(U32(bmp, 38), 3780u);  // 96 dots per inch
  EXPECT_EQ(U32(bmp, 42), 3780u);
}

TEST(Bitmap, RowsBottomUpInBlueGreenRedWithZeroPadding) {
  const std::string bmp = EncodeBitmap(MarkedImage());
  // First stored row is the bottom row: pixel (0, 494) = (10, 20, 30).
  EXPECT_EQ(static_cast<unsigned char>(bmp[54]), 30);
  EXPECT_EQ(static_cast<unsigned char>(bmp[55]), 20);
  EXPECT_EQ(static_cast<unsigned char>(bmp[56]), 10);
  // (622, 494) ends that row, then three padding bytes.
  EXPECT_EQ(static_cast<unsigned char>(bmp[54 + 622 * 3]), 60);
  EXPECT_EQ(bmp.substr(54 + 1869, 3), std::string(3, '\0'));
  // Last stored row is the top row: pixel (0, 0) = (1, 2, 3).
  const std::size_t top = 54 + 1872u * 494u;
  EXPECT_EQ(static_cast<unsigned char>(bmp[top]), 3);
  EXPECT_EQ(static_cast<unsigned char>(bmp[top + 2]), 1);
}

class SavedGraph : public ::testing::TestWithParam<const char*> {
 protected:
  static void SetUpTestSuite() { EnsureGuiApplication(); }
  TempFolder folder;
};

TEST_P(SavedGraph, RoundTripKeepsEveryPixel) {
  const QImage image = MarkedImage();
  const std::string path = (folder / (std::string("g") + GetParam())).string();
  std::string error;
  ASSERT_TRUE(SaveGraphImage(image, path, &error)) << error;
  const auto loaded = LoadGraphImage(path);
  ASSERT_TRUE(loaded.has_value());
  EXPECT_EQ(loaded->width(), 623);
  EXPECT_EQ(loaded->height(), 495);
  EXPECT_EQ(loaded->convertToFormat(QImage::Format_RGB32), image);
  // Nothing but the file itself is left in the folder.
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1);
}

INSTANTIATE_TEST_SUITE_P(Kinds, SavedGraph, ::testing::Values(".bmp", ".png", ".PNG", ".Bmp"),
                         [](const auto& row) {
                           std::string name = row.param + 1;
                           return name;
                         });

TEST_F(SavedGraph, FormatFollowsTheExtension) {
  const QImage image = MarkedImage();
  ASSERT_TRUE(SaveGraphImage(image, (folder / "a.png").string()));
  ASSERT_TRUE(SaveGraphImage(image, (folder / "a.bmp").string()));
  ASSERT_TRUE(SaveGraphImage(image, (folder / "a").string()));
  EXPECT_EQ(ReadBytes(folder / "a.png").substr(0, 4), "\x89PNG");
  EXPECT_EQ(ReadBytes(folder / "a.bmp").substr(0, 2), "BM");
  EXPECT_EQ(ReadBytes(folder / "a").substr(0, 2), "BM");
}

TEST_F(SavedGraph, FailedWriteKeepsThePreviousFile) {
  WriteBytes(folder / "old.bmp", "previous");
  std::string error;
  EXPECT_FALSE(SaveGraphImage(MarkedImage(), (folder / "no" / "g.bmp").string(), &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(std::filesystem::exists(folder / "no" / "g.bmp"));
  // A folder where the file should be: not written, nothing else disturbed.
  std::filesystem::create_directory(folder / "dir.bmp");
  EXPECT_FALSE(SaveGraphImage(MarkedImage(), (folder / "dir.bmp").string(), &error));
  EXPECT_EQ(ReadBytes(folder / "old.bmp"), "previous");
}

TEST_F(SavedGraph, WhatIsNoPictureIsNotLoaded) {
  EXPECT_FALSE(LoadGraphImage((folder / "missing.bmp").string()).has_value());
  WriteBytes(folder / "text.bmp", "BM but not a bitmap");
  EXPECT_FALSE(LoadGraphImage((folder / "text.bmp").string()).has_value());
  std::string truncated = EncodeBitmap(MarkedImage()).substr(0, 30);
  WriteBytes(folder / "short.bmp", truncated);
  EXPECT_FALSE(LoadGraphImage((folder / "short.bmp").string()).has_value());
  EXPECT_FALSE(LoadGraphImage(folder.Path().string()).has_value());
}

}  // namespace
}  // namespace quilmor::graphs
