// Folder permissions do not stop root, and tests may run as root (in a
// container, in CI). To see what a user gets from a read-only folder, the
// work runs in a child process that, when the test runs as root, first gives
// up root for the unprivileged user "nobody" (uid and gid 65534).
#pragma once

#include <grp.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace quilmor::testing {

inline constexpr uid_t kNobody = 65534;

struct ChildResult {
  int status = -1;     // what the body returned (0..255)
  std::string output;  // what the body put into its `output`
};

// Runs `body` in a child process, unprivileged. nullopt when no child could
// be made or it could not give up root (the caller then skips).
inline std::optional<ChildResult> RunUnprivileged(const std::function<int(std::string&)>& body) {
  int channel[2];
  if (::pipe(channel) != 0) return std::nullopt;
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child < 0) return std::nullopt;
  if (child == 0) {
    ::close(channel[0]);
    if (::geteuid() == 0) {
      if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0 ||
          ::geteuid() == 0) {
        ::_exit(255);
      }
    }
    std::string output;
    const int status = body(output);
    std::size_t sent = 0;
    while (sent < output.size()) {
      const ssize_t n = ::write(channel[1], output.data() + sent, output.size() - sent);
      if (n <= 0) break;
      sent += static_cast<std::size_t>(n);
    }
    ::_exit(status & 0xFF);
  }
  ::close(channel[1]);
  ChildResult result;
  char buffer[4096];
  for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;) {
    result.output.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(channel[0]);
  int wstatus = 0;
  if (::waitpid(child, &wstatus, 0) != child || !WIFEXITED(wstatus)) return std::nullopt;
  result.status = WEXITSTATUS(wstatus);
  if (result.status == 255) return std::nullopt;
  return result;
}

// Lets the unprivileged user of RunUnprivileged into `folder` and everything
// above it that the test made (temporary folders are made for their owner
// only): read and pass for everyone, writing stays with the owner.
inline void OpenForReading(const std::filesystem::path& folder) {
  using std::filesystem::perms;
  std::filesystem::permissions(folder,
                               perms::owner_all | perms::group_read | perms::group_exec |
                                   perms::others_read | perms::others_exec);
}

// A folder nobody but root may write to: read and pass for everyone.
inline void MakeReadOnly(const std::filesystem::path& folder) {
  using std::filesystem::perms;
  std::filesystem::permissions(folder, perms::owner_read | perms::owner_exec | perms::group_read |
                                           perms::group_exec | perms::others_read |
                                           perms::others_exec);
}

}  // namespace quilmor::testing
