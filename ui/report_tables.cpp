#include "ui/report_tables.hpp"

namespace quilmor::ui {

namespace {

bool IsRule(const std::string& line) {
  const auto first = line.find_first_not_of(' ');
  if (first == std::string::npos) return false;
  const auto last = line.find_last_not_of(" \r");
  return last - first + 1 >= 10 && line.find_first_not_of('-', first) > last;
}

}  // namespace

std::vector<ReportTable> FindReportTables(const std::vector<std::string>& lines) {
  constexpr int kMostHeadingLines = 4;
  std::vector<ReportTable> tables;
  const int n = static_cast<int>(lines.size());
  for (int i = 0; i < n; ++i) {
    if (!IsRule(lines[static_cast<std::size_t>(i)])) continue;
    // The rule under the headings.
    int j = i + 1;
    while (j < n && j - i <= kMostHeadingLines + 1 && !IsRule(lines[static_cast<std::size_t>(j)]))
      ++j;
    if (j >= n || j == i + 1 || !IsRule(lines[static_cast<std::size_t>(j)])) continue;
    ReportTable table;
    table.headingFirst = i;
    table.headingLast = j;
    table.bodyFirst = j + 1;
    int k = j + 1;
    while (k < n && !IsRule(lines[static_cast<std::size_t>(k)])) ++k;
    table.bodyLast = k - 1;
    if (table.bodyLast >= table.bodyFirst) tables.push_back(table);
    i = k;  // the closing rule
  }
  return tables;
}

const ReportTable* TableOfLine(const std::vector<ReportTable>& tables, int line) {
  for (const ReportTable& table : tables) {
    if (line >= table.bodyFirst && line <= table.bodyLast) return &table;
  }
  return nullptr;
}

}  // namespace quilmor::ui
