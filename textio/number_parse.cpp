#include "textio/number_parse.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace quilmor::textio {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Checks the shape sign? digits [. digits] [(e|E) sign? digits] with at least
// one digit in the mantissa.
bool HasRealShape(std::string_view s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t mantissaDigits = 0;
  while (i < s.size() && IsDigit(s[i])) ++i, ++mantissaDigits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i, ++mantissaDigits;
  }
  if (mantissaDigits == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t exponentDigits = 0;
    while (i < s.size() && IsDigit(s[i])) ++i, ++exponentDigits;
    if (exponentDigits == 0) return false;
  }
  return i == s.size();
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r' || s.back() == '\n')) {
    s.remove_suffix(1);
  }
  return s;
}

}  // namespace

std::optional<double> ParseReal(std::string_view token) {
  if (!HasRealShape(token)) return std::nullopt;
  if (token.front() == '+') token.remove_prefix(1);
  double value = 0.0;
  auto [ptr, ec] = std::from_chars(token.data(), token.data() + token.size(), value,
                                   std::chars_format::general);
  if (ec != std::errc() || ptr != token.data() + token.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::optional<int> ParseInt(std::string_view token) {
  if (!token.empty() && token.front() == '+') token.remove_prefix(1);
  if (token.empty()) return std::nullopt;
  int value = 0;
  auto [ptr, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
  if (ec != std::errc() || ptr != token.data() + token.size()) return std::nullopt;
  return value;
}

std::optional<double> StringToFloat(std::string_view text, char systemSeparator) {
  text = TrimBlanks(text);
  auto convert = [&](char separator) -> std::optional<double> {
    const char other = separator == ',' ? '.' : ',';
    std::string normalised(text);
    for (char& c : normalised) {
      if (c == other) return std::nullopt;
      if (c == separator) c = '.';
    }
    return ParseReal(normalised);
  };
  if (auto value = convert(systemSeparator)) return value;
  return convert(systemSeparator == ',' ? '.' : ',');
}

std::string_view LineScanner::NextToken() {
  while (m_pos < m_line.size() && IsBlank(m_line[m_pos])) ++m_pos;
  const std::size_t start = m_pos;
  while (m_pos < m_line.size() && !IsBlank(m_line[m_pos])) ++m_pos;
  return m_line.substr(start, m_pos - start);
}

std::optional<double> LineScanner::ReadReal() { return ParseReal(NextToken()); }

std::optional<int> LineScanner::ReadInt() { return ParseInt(NextToken()); }

void LineScanner::Skip(std::size_t count) {
  m_pos = std::min(m_line.size(), m_pos + count);
}

bool LineScanner::AtEnd() const {
  for (std::size_t i = m_pos; i < m_line.size(); ++i) {
    if (!IsBlank(m_line[i])) return false;
  }
  return true;
}

}  // namespace quilmor::textio
