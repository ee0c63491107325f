#include "textio/value_file.hpp"

#include <algorithm>

#include "textio/number_parse.hpp"
#include "textio/text_file.hpp"

namespace quilmor::textio {
namespace {

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

char DetectSeparator(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    for (char candidate : {'\t', ';', ','}) {
      if (line.find(candidate) != std::string::npos) return candidate;
    }
  }
  return ',';
}

std::optional<std::string> Field(const std::string& line, char separator, int column) {
  std::size_t start = 0;
  for (int index = 1;; ++index) {
    const std::size_t end = line.find(separator, start);
    if (index == column) {
      return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
    }
    if (end == std::string::npos) return std::nullopt;
    start = end + 1;
  }
}

}  // namespace

ValueFile ReadValueFile(const std::filesystem::path& path, int column) {
  ValueFile result;
  auto lines = ReadTextLines(path);
  if (!lines) {
    result.error = "cannot read \"" + path.string() + "\"";
    return result;
  }
  if (column < 0) {
    result.error = "the column number must be 1 or more";
    return result;
  }
  const char separator = column > 0 ? DetectSeparator(*lines) : '\0';
  for (std::size_t i = 0; i < lines->size(); ++i) {
    std::string text = (*lines)[i];
    if (column > 0) {
      auto field = Field(text, separator, column);
      if (!field) {
        if (Trim(text).empty()) {
          result.rows.push_back({});
          continue;
        }
        result.error = "line " + std::to_string(i + 1) + " has no column " + std::to_string(column);
        return result;
      }
      text = *field;
    }
    text = Trim(text);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
      text = Trim(text.substr(1, text.size() - 2));
    }
    if (text.empty()) {
      result.rows.push_back({});
      continue;
    }
    // A comma is a decimal separator only where it does not separate fields.
    std::optional<double> value = separator == ',' ? ParseReal(text) : StringToFloat(text, '.');
    if (!value) {
      if (i == 0) continue;  // a header line
      result.error =
          "line " + std::to_string(i + 1) + ": \"" + Excerpt(text) + "\" is not a number";
      return result;
    }
    result.rows.push_back({value});
  }
  if (std::none_of(result.rows.begin(), result.rows.end(),
                   [](const ValueRow& row) { return row.value.has_value(); })) {
    result.error = "\"" + path.string() + "\" holds no values";
  }
  return result;
}

bool IsInputFile(const std::filesystem::path& path) {
  auto lines = ReadTextLines(path);
  return lines && !lines->empty() && (*lines)[0] == " Input data for Quilmor program";
}

}  // namespace quilmor::textio
