#include "textio/text_file.hpp"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

namespace quilmor::textio {

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::optional<std::vector<std::string>> ReadTextLines(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return SplitLines(text);
}

TextWriter& TextWriter::Line(std::string_view text) {
  m_text.append(text);
  m_text.append("\r\n");
  return *this;
}

TextWriter& TextWriter::Write(std::string_view text) {
  m_text.append(text);
  return *this;
}

namespace {

bool WriteAll(std::FILE* file, std::string_view content) {
  return std::fwrite(content.data(), 1, content.size(), file) == content.size();
}

void SetError(std::string* error, const std::string& text) {
  if (error) *error = text;
}

}  // namespace

bool WriteFilePlain(const std::filesystem::path& path, std::string_view content,
                    std::string* error) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    SetError(error, std::strerror(errno));
    return false;
  }
  const bool written = WriteAll(file, content);
  const int writeErrno = errno;
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    SetError(error, std::string("write failed: ") + std::strerror(written ? errno : writeErrno));
    return false;
  }
  return true;
}

namespace {

// ".<name>.part<pid>-<n>" beside `path`, unique within the process.
std::filesystem::path TemporaryName(const std::filesystem::path& path) {
  static std::atomic<unsigned> counter{0};
  std::filesystem::path folder = path.parent_path();
  if (folder.empty()) folder = ".";
  return folder / (TemporaryPrefix(path) + std::to_string(::getpid()) + "-" +
                   std::to_string(counter++));
}

// Writes `content` to a new temporary file in the folder of `path` and makes
// sure it reached the disk. nullopt (nothing left behind) on failure.
std::optional<std::filesystem::path> WriteTemporary(const std::filesystem::path& path,
                                                    std::string_view content, std::string* error) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    SetError(error, std::string("a folder of that name exists (") + std::strerror(EISDIR) + ")");
    return std::nullopt;
  }
  const std::filesystem::path temp = TemporaryName(path);
  std::FILE* file = std::fopen(temp.c_str(), "wb");
  if (!file) {
    SetError(error, std::strerror(errno));
    return std::nullopt;
  }
  // The first failure's reason (a full disk, a file too large for the
  // process's limit, an input/output error) is the one told.
  int reason = 0;
  bool written = WriteAll(file, content);
  if (!written) reason = errno;
  if (written && std::fflush(file) != 0) {
    written = false;
    reason = errno;
  }
  if (written && ::fsync(::fileno(file)) != 0) {
    written = false;
    reason = errno;
  }
  const bool closed = std::fclose(file) == 0;
  if (written && !closed) reason = errno;
  if (!written || !closed) {
    std::filesystem::remove(temp, ec);
    SetError(error, std::string("write failed: ") + std::strerror(reason != 0 ? reason : EIO));
    return std::nullopt;
  }
  return temp;
}

}  // namespace

bool WriteFileAtomic(const std::filesystem::path& path, std::string_view content,
                     std::string* error) {
  return WriteFilesAtomic({{path, content}}, error);
}

std::string TemporaryPrefix(const std::filesystem::path& path) {
  return "." + path.filename().string() + ".part";
}

namespace {

// "<pid>-<n>" of a temporary file's name after its prefix: the pid of a
// process that has ended, whose file is left over. 0 otherwise.
pid_t EndedWriter(const std::string& rest) {
  const std::size_t dash = rest.find('-');
  if (dash == 0 || dash > 9 || dash == std::string::npos || dash + 1 == rest.size() ||
      rest.find_first_not_of("0123456789") != dash ||
      rest.find_first_not_of("0123456789", dash + 1) != std::string::npos) {
    return 0;
  }
  const auto pid = static_cast<pid_t>(std::stol(rest.substr(0, dash)));
  // A write of this process, or of one still running, is under way.
  if (pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH) return 0;
  return pid;
}

// Removes the entries of `folder` for which `leftOver(name)` holds.
template <class Test>
int RemoveLeftOvers(const std::filesystem::path& folder, Test leftOver) {
  std::error_code ec;
  std::vector<std::filesystem::path> names;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (leftOver(it->path().filename().string())) names.push_back(it->path());
  }
  int removed = 0;
  for (const std::filesystem::path& entry : names) {
    std::error_code removeError;
    if (std::filesystem::is_regular_file(entry, removeError) &&
        std::filesystem::remove(entry, removeError)) {
      ++removed;
    }
  }
  return removed;
}

}  // namespace

int RemoveStaleTemporaries(const std::filesystem::path& path) {
  std::filesystem::path folder = path.parent_path();
  if (folder.empty()) folder = ".";
  const std::string prefix = TemporaryPrefix(path);
  // ".<name>.part<pid>-<n>": only a file whose process has ended is left over.
  return RemoveLeftOvers(folder, [&](const std::string& name) {
    return name.rfind(prefix, 0) == 0 && EndedWriter(name.substr(prefix.size())) != 0;
  });
}

int RemoveStaleTemporariesIn(const std::filesystem::path& folder) {
  return RemoveLeftOvers(folder, [](const std::string& name) {
    const std::size_t part = name.rfind(".part");
    return name.size() > 1 && name.front() == '.' && part != std::string::npos && part > 0 &&
           EndedWriter(name.substr(part + 5)) != 0;
  });
}

bool WriteFilesAtomic(const std::vector<FileContent>& files, std::string* error) {
  return WriteFilesAtomic(files, error, nullptr);
}

namespace {

// What stands at the name of an output, links followed.
enum class OutputKind { FileOrNothing, Stream, Device };

// A character device (a terminal, /dev/null, /dev/full) or a pipe is written
// into, as a shell's redirection would; renaming a file over it would put a
// file in place of the device. A block device or a socket is refused.
OutputKind KindOf(const std::filesystem::path& path) {
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(path, ec);
  switch (status.type()) {
    case std::filesystem::file_type::character:
    case std::filesystem::file_type::fifo:
      return OutputKind::Stream;
    case std::filesystem::file_type::block:
    case std::filesystem::file_type::socket:
      return OutputKind::Device;
    default:
      return OutputKind::FileOrNothing;
  }
}

}  // namespace

bool WriteFilesAtomic(const std::vector<FileContent>& files, std::string* error,
                      std::size_t* failed) {
  for (std::size_t i = 0; i < files.size(); ++i) {
    const OutputKind kind = KindOf(files[i].path);
    if (kind == OutputKind::FileOrNothing) continue;
    const std::string named = files.size() > 1 ? "\"" + files[i].path.string() + "\": " : "";
    if (kind == OutputKind::Stream && files.size() == 1) {
      std::string reason;
      if (WriteFilePlain(files[i].path, files[i].content, &reason)) return true;
      if (failed) *failed = 0;
      SetError(error, reason);
      return false;
    }
    // Several files are replaced together, which a device cannot take part in.
    if (failed) *failed = i;
    SetError(error, named + "a device or pipe stands at that name, not a file");
    return false;
  }
  std::vector<std::filesystem::path> temps;
  std::error_code ec;
  auto removeTemps = [&](std::size_t from) {
    for (std::size_t i = from; i < temps.size(); ++i) std::filesystem::remove(temps[i], ec);
  };
  for (const FileContent& file : files) {
    std::string reason;
    const auto temp = WriteTemporary(file.path, file.content, &reason);
    if (!temp) {
      removeTemps(0);
      if (failed) *failed = temps.size();
      SetError(error, files.size() > 1 ? "\"" + file.path.string() + "\": " + reason : reason);
      return false;
    }
    temps.push_back(*temp);
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    std::filesystem::rename(temps[i], files[i].path, ec);
    if (ec) {
      const std::string reason = ec.message();
      removeTemps(i);
      if (failed) *failed = i;
      SetError(error, files.size() > 1 ? "\"" + files[i].path.string() + "\": " + reason : reason);
      return false;
    }
  }
  return true;
}

StagedFile::StagedFile(std::filesystem::path path) : m_path(std::move(path)) {
  std::error_code ec;
  if (std::filesystem::is_directory(m_path, ec)) {
    m_error = std::string("a folder of that name exists (") + std::strerror(EISDIR) + ")";
    return;
  }
  m_temp = TemporaryName(m_path);
  m_file = std::fopen(m_temp.c_str(), "wb");
  if (!m_file) m_error = std::strerror(errno);
}

StagedFile::~StagedFile() {
  if (!m_file) return;
  std::fclose(m_file);
  std::error_code ec;
  std::filesystem::remove(m_temp, ec);
}

void StagedFile::Fail(int reason) {
  m_error = std::string("write failed: ") + std::strerror(reason != 0 ? reason : EIO);
  std::fclose(m_file);
  m_file = nullptr;
  std::error_code ec;
  std::filesystem::remove(m_temp, ec);
}

bool StagedFile::Append(std::string_view text) {
  if (!m_file) return false;
  if (!WriteAll(m_file, text)) {
    Fail(errno);
    return false;
  }
  return true;
}

bool StagedFile::Commit() {
  if (!m_file) return false;
  if (std::fflush(m_file) != 0 || ::fsync(::fileno(m_file)) != 0) {
    Fail(errno);
    return false;
  }
  const bool closed = std::fclose(m_file) == 0;
  const int reason = errno;
  m_file = nullptr;
  std::error_code ec;
  if (!closed) {
    std::filesystem::remove(m_temp, ec);
    m_error = std::string("write failed: ") + std::strerror(reason);
    return false;
  }
  std::filesystem::rename(m_temp, m_path, ec);
  if (ec) {
    m_error = ec.message();
    std::filesystem::remove(m_temp, ec);
    return false;
  }
  return true;
}

std::string Excerpt(std::string_view text, std::size_t limit) {
  std::string shown;
  for (std::size_t i = 0; i < text.size() && i < limit; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    shown.push_back(c < 0x20 || c == 0x7F ? '?' : text[i]);
  }
  if (text.size() > limit) shown += "...";
  return shown;
}

std::string ChangeFileExt(const std::string& path, std::string_view extension) {
  std::filesystem::path p(path);
  p.replace_extension(std::string(extension));
  return p.string();
}

}  // namespace quilmor::textio
