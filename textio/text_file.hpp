// 8-bit text files: written with CR LF line ends, read with CR LF, LF or a lone
// CR. Outputs are written under a temporary name in their own folder and renamed
// into place, so a failed write never damages the file that was there before.
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quilmor::textio {

// Reads every line of a text file. A last line without a line end counts; a
// file that ends with a line end has no extra empty line. nullopt when the file
// cannot be opened or read (missing, a folder, no permission).
std::optional<std::vector<std::string>> ReadTextLines(const std::filesystem::path& path);

// Splits text into lines the same way.
std::vector<std::string> SplitLines(std::string_view text);

// Collects the lines of one text file in memory.
class TextWriter {
 public:
  TextWriter& Line(std::string_view text = {});
  // Appends to the current line without ending it.
  TextWriter& Write(std::string_view text);
  const std::string& Text() const { return m_text; }

 private:
  std::string m_text;
};

// Writes `content` to `path`: first to a temporary file in the same folder,
// then renamed over `path`. On failure the previous file is untouched, the
// temporary file is removed and `error` (when given) says why, with the
// system's reason. A character device or pipe at `path` (links followed) is
// written into instead, never replaced; a block device or socket is refused.
bool WriteFileAtomic(const std::filesystem::path& path, std::string_view content,
                     std::string* error = nullptr);

// Writes several files that belong together (a report and its parameter
// file) so that a failure leaves all the earlier ones: every content goes to
// a temporary file beside its target first, and only when all of them are
// complete are they renamed into place, in order. On failure the temporary
// files are removed and `error` (when given) names the file that could not
// be written and why; only a rename that fails after an earlier one
// succeeded (the folder checks make that unlikely) leaves the files before
// it replaced.
struct FileContent {
  std::filesystem::path path;
  std::string_view content;
};
bool WriteFilesAtomic(const std::vector<FileContent>& files, std::string* error = nullptr);
// The same; `failed` receives the index of the file that could not be written.
bool WriteFilesAtomic(const std::vector<FileContent>& files, std::string* error,
                      std::size_t* failed);

// The temporary files of `path` are ".<file name>.part<pid>-<n>" in its
// folder. RemoveStaleTemporaries deletes those a process that has ended (a
// killed run) left behind, and returns how many it deleted; the files of a
// process still running stay.
std::string TemporaryPrefix(const std::filesystem::path& path);
int RemoveStaleTemporaries(const std::filesystem::path& path);
// The same for every file of `folder` (a batch's output folder, whose file
// names are not known beforehand).
int RemoveStaleTemporariesIn(const std::filesystem::path& folder);

// A file written piece by piece (the rows of a long table) under a temporary
// name in its folder and renamed into place by Commit; destroyed without a
// Commit, it leaves nothing behind and the earlier file as it was.
class StagedFile {
 public:
  explicit StagedFile(std::filesystem::path path);
  ~StagedFile();
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  // False once a write has failed; Error() says why.
  bool Append(std::string_view text);
  bool Commit();
  const std::string& Error() const { return m_error; }
  const std::filesystem::path& Path() const { return m_path; }

 private:
  void Fail(int reason);
  std::filesystem::path m_path;
  std::filesystem::path m_temp;
  std::FILE* m_file = nullptr;
  std::string m_error;
};

// Writes the file directly (create or truncate). Used for the scratch files of
// one run, which nobody else reads.
bool WriteFilePlain(const std::filesystem::path& path, std::string_view content,
                    std::string* error = nullptr);

// A piece of a text read from an outside file, fit to be quoted in a
// message: at most `limit` characters followed by "..." when there were
// more, every control character (NUL, tab, escape, ...) shown as "?".
std::string Excerpt(std::string_view text, std::size_t limit = 40);

// `path` with its extension replaced ("run.inp" -> "run.out"); a name without
// an extension gets one.
std::string ChangeFileExt(const std::string& path, std::string_view extension);

}  // namespace quilmor::textio
