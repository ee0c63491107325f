#include "textio/file_lock.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quilmor::textio {

std::filesystem::path FileLock::LockPath(const std::filesystem::path& name) {
  return name.parent_path() / ("." + name.stem().string() + ".lock");
}

bool FileLock::Acquire(const std::filesystem::path& name, Wait wait, bool& busy,
                       std::string& error) {
  Release();
  busy = false;
  const std::filesystem::path path = LockPath(name);
  // The holder removes the file before it lets go: a lock taken on a file that
  // is no longer the one under the name is tried again on the new one.
  for (;;) {
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    const int reason = errno;
    // A lock file of another user is locked as it is.
    if (fd < 0 && reason == EACCES) fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      error = std::strerror(reason);
      return false;
    }
    int rc;
    do {
      rc = ::flock(fd, LOCK_EX | (wait == Wait::No ? LOCK_NB : 0));
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
      const int lockReason = errno;
      ::close(fd);
      if (lockReason == EWOULDBLOCK) {
        busy = true;
      } else {
        error = std::strerror(lockReason);
      }
      return false;
    }
    struct stat held{}, named{};
    if (::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 &&
        held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
      m_fd = fd;
      m_path = path;
      return true;
    }
    ::close(fd);
  }
}

void FileLock::Release() {
  if (m_fd < 0) return;
  ::unlink(m_path.c_str());
  ::close(m_fd);
  m_fd = -1;
}

}  // namespace quilmor::textio
