// A fresh folder per test, removed afterwards, plus small file helpers.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "textio/scratch_dir.hpp"

namespace quilmor::testing {

class TempFolder {
 public:
  std::filesystem::path Path() const { return m_dir.Path(); }
  std::filesystem::path operator/(const std::string& name) const { return m_dir.Path() / name; }

 private:
  textio::ScratchDir m_dir;
};

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace quilmor::testing
