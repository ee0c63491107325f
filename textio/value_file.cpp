#include "textio/value_file.hpp"

#include <algorithm>
#include <map>

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

// A cell without its blanks and enclosing quotes.
std::string CellText(const std::string& cell) {
  std::string text = Trim(cell);
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    text = Trim(text.substr(1, text.size() - 2));
  }
  return text;
}

// A comma is a decimal separator only where it does not separate fields.
std::optional<double> CellValue(const std::string& text, char separator) {
  return separator == ',' ? ParseReal(text) : StringToFloat(text, '.');
}

// Every field of a line at `separator` (blanks: runs count once).
std::vector<std::string> SplitFields(const std::string& line, char separator) {
  if (separator == ' ') return BlankFields(line);
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = line.find(separator, start);
    fields.push_back(line.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return fields;
    start = end + 1;
  }
}

// The refusal of a file that is not 8-bit text; drops a UTF-8 byte-order mark.
std::string CheckEncoding(std::vector<std::string>& lines, const std::string& fileName) {
  if (lines.empty()) return {};
  const std::string encoding = WideEncoding(lines.front());
  if (!encoding.empty()) {
    return "\"" + fileName + "\" is encoded in " + encoding +
           ", which cannot be read; save it as plain (8-bit or UTF-8) text";
  }
  if (lines.front().rfind("\xEF\xBB\xBF", 0) == 0) lines.front().erase(0, 3);
  return {};
}

// The refusal of a table that is not 8-bit text or is empty.
std::string CheckTable(std::vector<std::string>& lines, const std::string& fileName) {
  std::string error = CheckEncoding(lines, fileName);
  if (error.empty() && lines.empty()) error = "\"" + fileName + "\" is empty";
  return error;
}

void AddCell(NamedColumn& column, const std::string& cell, char separator, std::size_t line) {
  if (!column.values.error.empty()) return;
  const std::string text = CellText(cell);
  if (text.empty()) {
    column.values.rows.push_back({});
    return;
  }
  const std::optional<double> value = CellValue(text, separator);
  if (!value) {
    column.values.error =
        "line " + std::to_string(line) + ": \"" + Excerpt(text) + "\" is not a number";
    column.values.rows.clear();
    return;
  }
  column.values.rows.push_back({value});
}

void RefuseEmpty(std::vector<NamedColumn>& columns, const std::string& fileName) {
  for (NamedColumn& column : columns) {
    if (!column.values.error.empty()) continue;
    if (std::none_of(column.values.rows.begin(), column.values.rows.end(),
                     [](const ValueRow& row) { return row.value.has_value(); })) {
      column.values.error = "column \"" + column.name + "\" of \"" + fileName + "\" holds no values";
    }
  }
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
  auto lines = ReadTextLines(path);
  if (!lines) {
    ValueFile result;
    result.error = "cannot read \"" + path.string() + "\"";
    return result;
  }
  return ReadValueLines(std::move(*lines), path.string(), column);
}

ValueFile ReadValueLines(std::vector<std::string> lines, const std::string& fileName, int column) {
  ValueFile result;
  if (column < 0) {
    result.error = "the column number must be 1 or more";
    return result;
  }
  // A UTF-8 byte-order mark is no part of the first value.
  result.error = CheckEncoding(lines, fileName);
  if (!result.error.empty()) return result;
  const char separator = column > 0 ? DetectSeparator(lines) : '\0';
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string text = lines[i];
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
    text = CellText(text);
    if (text.empty()) {
      result.rows.push_back({});
      continue;
    }
    std::optional<double> value = CellValue(text, separator);
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
    result.error = "\"" + fileName + "\" holds no values";
  }
  return result;
}

std::vector<NamedColumn> ReadWideColumns(std::vector<std::string> lines,
                                         const std::string& fileName, std::string& error) {
  std::vector<NamedColumn> columns;
  error = CheckTable(lines, fileName);
  if (!error.empty()) return columns;
  const char separator = DetectSeparator(lines);
  const std::string stem = std::filesystem::path(fileName).stem().string();
  for (const std::string& name : SplitFields(lines.front(), separator)) {
    columns.push_back({CellText(name), {}});
  }
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (Trim(lines[i]).empty()) {
      for (NamedColumn& column : columns) AddCell(column, "", separator, i + 1);
      continue;
    }
    const std::vector<std::string> fields = SplitFields(lines[i], separator);
    // More cells than the header names: columns without a name, which must
    // not be left out unseen.
    while (columns.size() < fields.size()) {
      NamedColumn extra;
      extra.values.rows.resize(i - 1);
      columns.push_back(std::move(extra));
    }
    for (std::size_t c = 0; c < columns.size(); ++c) {
      AddCell(columns[c], c < fields.size() ? fields[c] : std::string(), separator, i + 1);
    }
  }
  for (std::size_t c = 0; c < columns.size(); ++c) {
    if (columns[c].name.empty()) columns[c].name = stem + "_" + std::to_string(c + 1);
  }
  RefuseEmpty(columns, fileName);
  return columns;
}

std::vector<NamedColumn> ReadLongColumns(std::vector<std::string> lines,
                                         const std::string& fileName, const std::string& nameColumn,
                                         const std::string& valueColumn, std::string& error) {
  std::vector<NamedColumn> columns;
  error = CheckTable(lines, fileName);
  if (!error.empty()) return columns;
  const char separator = DetectSeparator(lines);
  const std::vector<std::string> first = SplitFields(lines.front(), separator);
  // A column by its header name or its number (1, 2, ...).
  // A whole number is a column number, whatever the header holds.
  const auto find = [&](const std::string& wanted) -> std::optional<std::size_t> {
    if (const std::optional<int> number = ParseInt(wanted)) {
      if (*number >= 1) return static_cast<std::size_t>(*number - 1);
      return std::nullopt;
    }
    for (std::size_t c = 0; c < first.size(); ++c) {
      if (CellText(first[c]) == wanted) return c;
    }
    return std::nullopt;
  };
  const std::optional<std::size_t> nameAt = find(nameColumn);
  const std::optional<std::size_t> valueAt = find(valueColumn);
  for (const auto& [at, wanted] : {std::pair{nameAt, nameColumn}, std::pair{valueAt, valueColumn}}) {
    if (!at) {
      error = "\"" + fileName + "\" has no column \"" + wanted + "\" (give a header name or a number)";
      return columns;
    }
  }
  // The first line is a header unless its value cell is a number.
  const bool header = *valueAt >= first.size() || !CellValue(CellText(first[*valueAt]), separator);
  std::map<std::string, std::size_t> index;
  for (std::size_t i = header ? 1 : 0; i < lines.size(); ++i) {
    if (Trim(lines[i]).empty()) continue;
    const std::vector<std::string> fields = SplitFields(lines[i], separator);
    if (*nameAt >= fields.size()) {
      error = "line " + std::to_string(i + 1) + " of \"" + fileName + "\" has no column " +
              std::to_string(*nameAt + 1) + " (the series name)";
      columns.clear();
      return columns;
    }
    const std::string name = CellText(fields[*nameAt]);
    auto [at, added] = index.try_emplace(name, columns.size());
    if (added) columns.push_back({name, {}});
    AddCell(columns[at->second], *valueAt < fields.size() ? fields[*valueAt] : std::string(),
            separator, i + 1);
  }
  RefuseEmpty(columns, fileName);
  return columns;
}

bool IsInputFile(const std::filesystem::path& path) {
  auto lines = ReadTextLines(path);
  return lines && !lines->empty() && (*lines)[0] == " Input data for Quilmor program";
}

}  // namespace quilmor::textio
