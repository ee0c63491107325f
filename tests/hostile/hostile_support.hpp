// What the hostile-input tests share: the files of tests/data/bad, the
// command-line program run in the test's process (its exit status and
// streams) or as a process of its own, and a look at the files of a folder.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/cli_app.hpp"
#include "cli_runner.hpp"
#include "temp_folder.hpp"

extern char** environ;

namespace quilmor::testing {

inline std::filesystem::path BadFile(const std::string& name) {
  return std::filesystem::path(QUILMOR_SOURCE_DIR) / "tests" / "data" / "bad" / name;
}

// Copies a file of tests/data/bad into `folder` (under `as`, or its own
// name) and returns the copy's path.
inline std::filesystem::path CopyBadFile(const TempFolder& folder, const std::string& name,
                                         const std::string& as = {}) {
  const std::filesystem::path copy = folder / (as.empty() ? name : as);
  std::filesystem::copy_file(BadFile(name), copy,
                             std::filesystem::copy_options::overwrite_existing);
  return copy;
}

using cli::Cli;
using cli::CliResult;

// quilmor-cli as a process of its own, its output streams going to files
// in `folder` ("<tag>.stdout", "<tag>.stderr").
class CliProcess {
 public:
  CliProcess(std::vector<std::string> args, const std::filesystem::path& folder,
             const std::string& tag) {
    args.insert(args.begin(), QUILMOR_CLI_PATH);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    m_out = folder / (tag + ".stdout");
    m_err = folder / (tag + ".stderr");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, m_out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, m_err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  CliProcess(const CliProcess&) = delete;
  CliProcess& operator=(const CliProcess&) = delete;
  ~CliProcess() {
    if (m_pid > 0 && !m_done) {
      ::kill(m_pid, SIGKILL);
      Wait();
    }
  }

  bool Started() const { return m_pid > 0; }
  // The exit status, or -signal when a signal ended it.
  int Wait() {
    if (m_done || m_pid <= 0) return m_status;
    int wstatus = 0;
    if (::waitpid(m_pid, &wstatus, 0) == m_pid) {
      m_status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -WTERMSIG(wstatus);
    }
    m_done = true;
    return m_status;
  }
  void Kill() {
    if (m_pid > 0 && !m_done) ::kill(m_pid, SIGKILL);
  }
  std::string Out() const { return ReadBytes(m_out); }
  std::string Err() const { return ReadBytes(m_err); }

 private:
  pid_t m_pid = -1;
  bool m_done = false;
  int m_status = -1;
  std::filesystem::path m_out, m_err;
};

// Name and content of every file in `folder`.
inline std::map<std::string, std::string> FolderContents(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    files[entry.path().filename().string()] =
        entry.is_regular_file() ? ReadBytes(entry.path()) : std::string("<folder>");
  }
  return files;
}

// `text` with every "{dir}" replaced by `dir`.
inline std::string InFolder(std::string text, const std::filesystem::path& dir) {
  const std::string marker = "{dir}";
  for (auto at = text.find(marker); at != std::string::npos; at = text.find(marker, at)) {
    text.replace(at, marker.size(), dir.string());
    at += dir.string().size();
  }
  return text;
}

}  // namespace quilmor::testing
