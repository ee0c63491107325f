#include "textio/text_file.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "temp_folder.hpp"
#include "unprivileged.hpp"

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
  // A read-only folder, written to by an unprivileged user (a child process
  // that gives up root when the test runs as root).
  TempFolder folder;
  const auto sub = folder / "sub";
  std::filesystem::create_directory(sub);
  const auto path = sub / "run.inp";
  WriteBytes(path, "previous");
  testing::OpenForReading(folder.Path());
  testing::MakeReadOnly(sub);
  const auto child = testing::RunUnprivileged([&](std::string& error) {
    return WriteFileAtomic(path, "replacement", &error) ? 1 : 0;
  });
  std::filesystem::permissions(sub, std::filesystem::perms::owner_all);
  if (!child) GTEST_SKIP() << "no unprivileged child process could be made";
  EXPECT_EQ(child->status, 0);  // not written
  EXPECT_EQ(child->output, "Permission denied");
  EXPECT_EQ(ReadBytes(path), "previous");
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(sub)) ++entries;
  EXPECT_EQ(entries, 1);
}

TEST(WriteFileAtomic, RefusesAFolderOfTheSameName) {
  TempFolder folder;
  std::filesystem::create_directory(folder / "run.out");
  std::string error;
  EXPECT_FALSE(WriteFileAtomic(folder / "run.out", "x", &error));
  EXPECT_TRUE(std::filesystem::is_directory(folder / "run.out"));
}

int EntriesIn(const std::filesystem::path& folder) {
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++entries;
  return entries;
}

TEST(WriteFilesAtomic, ReplacesEveryFile) {
  TempFolder folder;
  WriteBytes(folder / "run.aux", "old parameters");
  WriteBytes(folder / "run.out", "old report");
  std::string error;
  ASSERT_TRUE(
      WriteFilesAtomic({{folder / "run.aux", "4\r\n"}, {folder / "run.out", "report\r\n"}}, &error))
      << error;
  EXPECT_EQ(ReadBytes(folder / "run.aux"), "4\r\n");
  EXPECT_EQ(ReadBytes(folder / "run.out"), "report\r\n");
  EXPECT_EQ(EntriesIn(folder.Path()), 2);
}

TEST(WriteFilesAtomic, OneThatCannotBeWrittenLeavesAllTheEarlierOnes) {
  TempFolder folder;
  WriteBytes(folder / "run.aux", "old parameters");
  std::filesystem::create_directory(folder / "run.out");
  std::string error;
  EXPECT_FALSE(
      WriteFilesAtomic({{folder / "run.aux", "4"}, {folder / "run.out", "report"}}, &error));
  EXPECT_EQ(error, "\"" + (folder / "run.out").string() +
                       "\": a folder of that name exists (Is a directory)");
  EXPECT_EQ(ReadBytes(folder / "run.aux"), "old parameters");
  EXPECT_EQ(EntriesIn(folder.Path()), 2);  // no temporary file left
}

TEST(WriteFilesAtomic, AMissingFolderIsAFailureWithItsReason) {
  TempFolder folder;
  std::string error;
  EXPECT_FALSE(WriteFileAtomic(folder / "no such folder" / "run.inp", "x", &error));
  EXPECT_EQ(error, "No such file or directory");
}

TEST(Excerpt, ShortensLongTextsAndShowsControlCharacters) {
  EXPECT_EQ(Excerpt("1.5.5"), "1.5.5");
  EXPECT_EQ(Excerpt(std::string(40, '7')), std::string(40, '7'));
  EXPECT_EQ(Excerpt(std::string(1'000'000, '1')), std::string(40, '1') + "...");
  EXPECT_EQ(Excerpt(std::string("a\0b\tc\x1b\x7f", 7)), "a?b?c??");
  EXPECT_EQ(Excerpt("Niederschlag \xe4", 40), "Niederschlag \xe4");  // 8-bit text stays
  EXPECT_EQ(Excerpt("abcdef", 3), "abc...");
}

TEST(ChangeFileExt, ReplacesOrAddsTheExtension) {
  EXPECT_EQ(ChangeFileExt("/data/run.inp", ".out"), "/data/run.out");
  EXPECT_EQ(ChangeFileExt("/data/run", ".aux"), "/data/run.aux");
  EXPECT_EQ(ChangeFileExt("/data/my run.v1.inp", ".out"), "/data/my run.v1.out");
}

}  // namespace
}  // namespace quilmor::textio
