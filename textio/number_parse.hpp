// Locale-independent reading of numbers from text: the files the program reads
// come from elsewhere and are never trusted, so every conversion says whether
// it succeeded instead of throwing or guessing.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quilmor::textio {

// A whole token as a finite real number: optional sign, digits with an
// optional "." and fraction, optional exponent ("1", "-2.5", "1.5E+03", ".5").
// "nan", "inf", "1,5", "1.5.5", out-of-range values and trailing text fail.
std::optional<double> ParseReal(std::string_view token);

// A whole token as a 32-bit signed integer with optional sign.
std::optional<int> ParseInt(std::string_view token);

// The user's number conversion: tries `systemSeparator` as the decimal
// separator, then the other one of "," and ".". Leading and trailing blanks are
// allowed; anything else that is not part of the number fails.
std::optional<double> StringToFloat(std::string_view text, char systemSeparator = '.');

// Reads numbers from one line as a text-file read of numbers does: blanks and
// tabs separate them; each read takes the next token.
class LineScanner {
 public:
  explicit LineScanner(std::string_view line) : m_line(line) {}

  std::optional<double> ReadReal();
  std::optional<int> ReadInt();
  // Skips `count` characters (fewer when the line is shorter).
  void Skip(std::size_t count);
  // The rest of the line from the current position.
  std::string_view Rest() const { return m_line.substr(m_pos); }
  bool AtEnd() const;

 private:
  std::string_view NextToken();
  std::string_view m_line;
  std::size_t m_pos = 0;
};

}  // namespace quilmor::textio
