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

// A line in quotes is one cell, whatever it holds ("7,5"): its inside.
std::string Unquoted(const std::string& line) {
  const std::string cell = Trim(line);
  if (cell.size() >= 2 && cell.front() == '"' && cell.back() == '"') {
    return Trim(cell.substr(1, cell.size() - 2));
  }
  return cell;
}

// Blanks between two pieces of text: columns separated by blanks.
bool HasInnerBlank(const std::string& line) {
  const std::string trimmed = Trim(line);
  return trimmed.find_first_of(" \t") != std::string::npos;
}

char DetectSeparator(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    for (char candidate : {'\t', ';', ','}) {
      if (line.find(candidate) != std::string::npos) return candidate;
    }
  }
  for (const std::string& line : lines) {
    if (HasInnerBlank(line)) return ' ';
  }
  return ',';
}

// The pieces of a line split at blanks (runs of blanks and tabs count once).
std::vector<std::string> BlankFields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t at = 0;
  while ((at = line.find_first_not_of(" \t", at)) != std::string::npos) {
    const std::size_t end = line.find_first_of(" \t", at);
    fields.push_back(line.substr(at, end == std::string::npos ? std::string::npos : end - at));
    at = end;
  }
  return fields;
}

std::optional<std::string> Field(const std::string& line, char separator, int column) {
  if (separator == ' ') {
    const std::vector<std::string> fields = BlankFields(line);
    if (column > static_cast<int>(fields.size())) return std::nullopt;
    return fields[static_cast<std::size_t>(column - 1)];
  }
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

// A first line is a header only when it holds letters and no digit: "1e",
// "1e999" or a long line of numbers are data that cannot be read.
bool IsHeader(const std::string& text) {
  bool letter = false;
  for (const char c : text) {
    if (c >= '0' && c <= '9') return false;
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) letter = true;
  }
  return letter;
}

// The encoding of a file that is not 8-bit text, or "".
std::string WideEncoding(const std::string& first) {
  if (first.rfind("\xFF\xFE", 0) == 0) return "UTF-16 (little-endian)";
  if (first.rfind("\xFE\xFF", 0) == 0) return "UTF-16 (big-endian)";
  // Without a byte-order mark: every second byte of plain text is 0.
  if (first.size() >= 2 && (first[0] == '\0') != (first[1] == '\0')) {
    return first[0] == '\0' ? "UTF-16 (big-endian)" : "UTF-16 (little-endian)";
  }
  return {};
}

// Several columns in a line read as one value: how many, or 0. A header's
// words may stand apart; only its tabs, semicolons and commas part columns.
std::size_t ColumnsOf(const std::string& text, bool header) {
  for (char separator : {'\t', ';'}) {
    if (text.find(separator) != std::string::npos) {
      return static_cast<std::size_t>(std::count(text.begin(), text.end(), separator)) + 1;
    }
  }
  const std::size_t blanks = header ? 0 : BlankFields(text).size();
  if (blanks >= 2) return blanks;
  if (text.find(',') != std::string::npos && (header || !StringToFloat(text, '.'))) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), ',')) + 1;
  }
  return 0;
}

// The lines of a value file as its readers take them: nullopt for a file that
// cannot be read or is not 8-bit text; a UTF-8 byte-order mark removed.
std::optional<std::vector<std::string>> ValueLines(const std::filesystem::path& path) {
  auto lines = ReadTextLines(path);
  if (!lines || (!lines->empty() && !WideEncoding(lines->front()).empty())) return std::nullopt;
  if (!lines->empty() && lines->front().rfind("\xEF\xBB\xBF", 0) == 0) lines->front().erase(0, 3);
  return lines;
}

// The fields of a line as ReadValueFile(path, N) takes them, N = 1, 2, ...
std::vector<std::string> Fields(const std::string& line, char separator) {
  std::vector<std::string> fields;
  for (int column = 1;; ++column) {
    auto field = Field(line, separator, column);
    if (!field) break;
    fields.push_back(Trim(*field));
  }
  return fields;
}

}  // namespace

std::vector<std::string> ValueFileColumns(const std::filesystem::path& path) {
  const auto lines = ValueLines(path);
  if (!lines) return {};
  const char separator = DetectSeparator(*lines);
  std::vector<std::string> header;
  for (std::size_t i = 0; i < lines->size(); ++i) {
    const std::string text = Trim((*lines)[i]);
    if (text.empty()) continue;
    if (i == 0 && IsHeader(text)) {
      header = Fields(text, separator);
      continue;
    }
    // Only a line the reader refuses as several columns offers a choice.
    if (ColumnsOf(Unquoted(text), false) < 2) continue;
    const std::size_t count = Fields(text, separator).size();
    if (count < 2) return {};
    if (header.size() == count) return header;
    std::vector<std::string> names;
    for (std::size_t n = 1; n <= count; ++n) names.push_back("Column " + std::to_string(n));
    return names;
  }
  return {};
}

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
  if (!lines->empty()) {
    const std::string encoding = WideEncoding(lines->front());
    if (!encoding.empty()) {
      result.error = "\"" + path.string() + "\" is encoded in " + encoding +
                     ", which cannot be read; save it as plain (8-bit or UTF-8) text";
      return result;
    }
    // A UTF-8 byte-order mark is no part of the first value.
    if (lines->front().rfind("\xEF\xBB\xBF", 0) == 0) lines->front().erase(0, 3);
  }
  const char separator = column > 0 ? DetectSeparator(*lines) : '\0';
  for (std::size_t i = 0; i < lines->size(); ++i) {
    std::string text = (*lines)[i];
    if (column == 0) {
      const std::size_t columns = ColumnsOf(Unquoted(text), i == 0 && IsHeader(text));
      if (columns >= 2) {
        result.error = "line " + std::to_string(i + 1) + " holds " + std::to_string(columns) +
                       " columns (\"" + Excerpt(Trim(text)) +
                       "\"); tell which column holds the values (--column N)";
        return result;
      }
    }
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
      if (i == 0 && IsHeader(text)) continue;  // a header line
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
