// A check of what the program writes: no file it produces may show a number
// that is not finite, whatever the input was.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quilmor::testing {

// True when a blank-separated token of `text` is a not-a-number or an
// infinity as the number formats write it ("NaN", "INF", "-INF") or as other
// writers would ("nan", "-inf", "infinity").
inline bool HasNonFiniteNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() &&
           (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) {
      ++i;
    }
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    std::string start;
    for (std::size_t k = i; k < text.size() && k < i + 3; ++k) {
      const char c = text[k];
      start.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    }
    if (start == "nan" || start == "inf") return true;
    while (i < text.size() && text[i] != ' ' && text[i] != '\t' && text[i] != '\r' &&
           text[i] != '\n') {
      ++i;
    }
  }
  return false;
}

}  // namespace quilmor::testing
