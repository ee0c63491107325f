// A series of one value per line, as the examples are stored (an empty line
// is a skipped row).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "textio/number_parse.hpp"
#include "textio/text_file.hpp"

namespace quilmor::bench {

inline std::vector<double> ReadSeries(const std::filesystem::path& path) {
  std::vector<double> values;
  if (auto lines = textio::ReadTextLines(path)) {
    for (const std::string& line : *lines) {
      if (auto value = textio::StringToFloat(line)) values.push_back(*value);
    }
  }
  return values;
}

}  // namespace quilmor::bench
