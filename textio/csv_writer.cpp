#include "textio/csv_writer.hpp"

#include <algorithm>
#include <array>
#include <cassert>
#include <charconv>
#include <cmath>

namespace quilmor::textio {
namespace {

constexpr std::string_view kCsvLineEnd = "\r\n";
constexpr std::string_view kColumnGap = "  ";

template <typename... Format>
std::string ToChars(double value, Format... format) {
  std::array<char, 64> buffer{};
  const auto [end, ec] =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format...);
  assert(ec == std::errc());
  return std::string(buffer.data(), end);
}

const std::string& Cell(const std::vector<std::string>& row, std::size_t column) {
  static const std::string kEmpty;
  return column < row.size() ? row[column] : kEmpty;
}

void AppendCsvLine(std::string& out, const std::vector<std::string>& cells) {
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) out += ',';
    out += CsvField(cells[i]);
  }
  out += kCsvLineEnd;
}

}  // namespace

std::string CsvNumber(double value) {
  if (std::isnan(value)) return {};
  return ToChars(value);  // shortest round trip
}

std::string CsvNumber(std::optional<double> value) {
  return value ? CsvNumber(*value) : std::string();
}

std::string ShortNumber(double value, int significantDigits) {
  if (std::isnan(value)) return {};
  return ToChars(value, std::chars_format::general, significantDigits);
}

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

std::string FormatCsv(const Table& table) {
  std::string out;
  std::vector<std::string> names;
  for (const TableColumn& column : table.columns) names.push_back(column.name);
  AppendCsvLine(out, names);
  for (const std::vector<std::string>& row : table.rows) {
    assert(row.size() == table.columns.size());
    AppendCsvLine(out, row);
  }
  return out;
}

std::string FormatAlignedTable(const Table& table) {
  const std::size_t n = table.columns.size();
  std::vector<std::size_t> widths(n);
  for (std::size_t c = 0; c < n; ++c) {
    widths[c] = table.columns[c].name.size();
    for (const auto& row : table.rows) widths[c] = std::max(widths[c], Cell(row, c).size());
  }
  std::string out;
  const auto appendLine = [&](auto cellOf) {
    std::string line;
    for (std::size_t c = 0; c < n; ++c) {
      const std::string& text = cellOf(c);
      const std::string padding(widths[c] - text.size(), ' ');
      if (c > 0) line += kColumnGap;
      line += table.columns[c].align == Align::kRight ? padding + text : text + padding;
    }
    line.erase(line.find_last_not_of(' ') + 1);
    out += line;
    out += '\n';
  };
  appendLine([&](std::size_t c) -> const std::string& { return table.columns[c].name; });
  for (const auto& row : table.rows) {
    appendLine([&](std::size_t c) -> const std::string& { return Cell(row, c); });
  }
  return out;
}

std::string FormatTabSeparated(const Table& table) {
  std::string out;
  const auto append = [&out](const std::string& text, bool first) {
    if (!first) out += '\t';
    for (char c : text) out += (c == '\t' || c == '\n' || c == '\r') ? ' ' : c;
  };
  for (std::size_t c = 0; c < table.columns.size(); ++c) append(table.columns[c].name, c == 0);
  out += '\n';
  for (const auto& row : table.rows) {
    for (std::size_t c = 0; c < table.columns.size(); ++c) append(Cell(row, c), c == 0);
    out += '\n';
  }
  return out;
}

}  // namespace quilmor::textio
