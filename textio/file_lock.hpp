// An advisory lock on the files of one run: two runs that would write the
// same input file, report and parameter file take turns instead of leaving
// the report of one beside the input of the other. The lock is a hidden file
// beside the outputs, held with flock() and removed when the lock is let go.
#pragma once

#include <filesystem>
#include <string>

namespace quilmor::textio {

class FileLock {
 public:
  enum class Wait { No, Yes };

  // The lock of the run writing `name` (any of its ".inp", ".out", ".aux"):
  // ".<stem>.lock" in the same folder.
  static std::filesystem::path LockPath(const std::filesystem::path& name);

  FileLock() = default;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  ~FileLock() { Release(); }

  // Takes the lock of `name`. With Wait::No it returns false at once when
  // another run holds it (`busy` true); false with `busy` false when the lock
  // file cannot be made (`error` says why).
  bool Acquire(const std::filesystem::path& name, Wait wait, bool& busy, std::string& error);
  // Removes the lock file and lets the lock go.
  void Release();
  bool Held() const { return m_fd >= 0; }

 private:
  int m_fd = -1;
  std::filesystem::path m_path;
};

}  // namespace quilmor::textio
