#include "textio/scratch_dir.hpp"

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>
#include <vector>

namespace quilmor::textio {

ScratchDir::ScratchDir(const std::filesystem::path& parent) {
  const std::filesystem::path base =
      parent.empty() ? std::filesystem::temp_directory_path() : parent;
  std::string pattern = (base / "quilmor-run-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (::mkdtemp(buffer.data()) == nullptr) {
    throw std::filesystem::filesystem_error("cannot create a scratch folder", base,
                                            std::error_code(errno, std::generic_category()));
  }
  m_path = buffer.data();
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  std::filesystem::remove_all(m_path, ec);
}

}  // namespace quilmor::textio
