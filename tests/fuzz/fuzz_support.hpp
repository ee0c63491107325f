// What the fuzz targets share: a private folder for the files a reader must
// find on disk, and a check that stops the run with a finding when a
// property of the program does not hold (libFuzzer then keeps the input).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "temp_folder.hpp"
#include "textio/text_file.hpp"

namespace quilmor::fuzz {

// The folder lives as long as the fuzzing process.
inline const std::filesystem::path& Folder() {
  static const testing::TempFolder folder;
  return folder.Path();
}

// The fuzz input as text (8-bit, any byte).
inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// Writes `bytes` to `name` in the folder, replacing what was there.
inline std::filesystem::path PutFile(const std::string& name, std::string_view bytes) {
  const std::filesystem::path path = Folder() / name;
  if (!textio::WriteFilePlain(path, bytes)) {
    std::fprintf(stderr, "fuzz: cannot write %s\n", path.c_str());
    std::abort();
  }
  return path;
}

// A property that must hold for every input; a violation is a finding.
#define QUILMOR_FUZZ_CHECK(condition)                                                          \
  do {                                                                                         \
    if (!(condition)) {                                                                        \
      std::fprintf(stderr, "fuzz: %s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                            \
    }                                                                                          \
  } while (false)

}  // namespace quilmor::fuzz
