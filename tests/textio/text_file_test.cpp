#include "textio/text_file.hpp"

#include <gtest/gtest.h>

#include <filesystem>

#include <unistd.h>

#include "temp_folder.hpp"

namespace quilmor::textio {
namespace {

using quilmor::testing::ReadBytes;
using quilmor::testing::TempFolder;
using quilmor::testing::WriteBytes;

TEST(SplitLines, AcceptsEveryLineEnd) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(SplitLines("a\r\nb\r\n"), (Lines{"a", "b"}));
  EXPECT_EQ(SplitLines("a\nb"), (Lines{"a", "b"}));
  EXPECT_EQ(SplitLines("a\rb\r"), (Lines{"a", "b"}));
  EXPECT_EQ(SplitLines("a\r\n\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(SplitLines(""), Lines{});
  EXPECT_EQ(SplitLines("\r\n"), (Lines{""}));
}

TEST(TextWriter, EndsEveryLineWithCrLf) {
  TextWriter out;
  out.Line("one").Write("tw").Write("o").Line().Line();
  EXPECT_EQ(out.Text(), "one\r\ntwo\r\n\r\n");
}

TEST(ReadTextLines, MissingFileOrFolderIsNotReadable) {
  TempFolder folder;
  EXPECT_FALSE(ReadTextLines(folder / "missing.txt").has_value());
  EXPECT_FALSE(ReadTextLines(folder.Path()).has_value());
  WriteBytes(folder / "ok.txt", "x\r\ny");
  EXPECT_EQ(ReadTextLines(folder / "ok.txt")->size(), 2u);
}

TEST(WriteFileAtomic, ReplacesContentAndLeavesNoTemporaryFile) {
  TempFolder folder;
  const auto path = folder / "report.out";
  WriteBytes(path, "old");
  ASSERT_TRUE(WriteFileAtomic(path, "new"));
  EXPECT_EQ(ReadBytes(path), "new");
  int files = 0;
  for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(folder.Path())) ++files;
  EXPECT_EQ(files, 1);
}

TEST(WriteFileAtomic, FailureKeepsThePreviousFile) {
  TempFolder folder;
  const auto sub = folder / "sub";
  std::filesystem::create_directory(sub);
  const auto path = sub / "run.inp";
  WriteBytes(path, "previous");
  std::filesystem::permissions(sub, std::filesystem::perms::owner_read |
                                        std::filesystem::perms::owner_exec);
  std::string error;
  const bool written = WriteFileAtomic(path, "replacement", &error);
  std::filesystem::permissions(sub, std::filesystem::perms::owner_all);
  if (::geteuid() == 0) GTEST_SKIP() << "root ignores folder permissions";
  EXPECT_FALSE(written);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(ReadBytes(path), "previous");
}

TEST(WriteFileAtomic, RefusesAFolderOfTheSameName) {
  TempFolder folder;
  std::filesystem::create_directory(folder / "run.out");
  std::string error;
  EXPECT_FALSE(WriteFileAtomic(folder / "run.out", "x", &error));
  EXPECT_TRUE(std::filesystem::is_directory(folder / "run.out"));
}

TEST(ChangeFileExt, ReplacesOrAddsTheExtension) {
  EXPECT_EQ(ChangeFileExt("/data/run.inp", ".out"), "/data/run.out");
  EXPECT_EQ(ChangeFileExt("/data/run", ".aux"), "/data/run.aux");
  EXPECT_EQ(ChangeFileExt("/data/my run.v1.inp", ".out"), "/data/my run.v1.out");
}

}  // namespace
}  // namespace quilmor::textio
