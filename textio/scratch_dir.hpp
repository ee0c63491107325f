// A private folder for the temporary files of one analysis run ("Temp.tmp",
// "TmpFile.Tmp", "Values.tmp", the "Warning" marker). Two runs at the same
// time, in one process or in two, never share one.
#pragma once

#include <filesystem>

namespace quilmor::textio {

class ScratchDir {
 public:
  // Creates a new folder below `parent` (the system's temporary folder when
  // empty). Throws std::filesystem::filesystem_error when that is impossible.
  explicit ScratchDir(const std::filesystem::path& parent = {});
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& Path() const { return m_path; }
  std::filesystem::path operator/(const std::filesystem::path& name) const { return m_path / name; }

 private:
  std::filesystem::path m_path;
};

}  // namespace quilmor::textio
