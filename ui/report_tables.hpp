// The tables of a results report as the Output page sees them: a rule of
// dashes, one to four heading lines, a rule, the body, a rule. The page keeps
// the headings of the table being read in view.
#pragma once

#include <string>
#include <vector>

namespace quilmor::ui {

struct ReportTable {
  int headingFirst = 0;  // the rule above the headings
  int headingLast = 0;   // the rule under the headings
  int bodyFirst = 0;
  int bodyLast = 0;  // the last line before the closing rule (or the report's end)
};

std::vector<ReportTable> FindReportTables(const std::vector<std::string>& lines);

// The table whose body holds `line`; nullptr when it is in none.
const ReportTable* TableOfLine(const std::vector<ReportTable>& tables, int line);

}  // namespace quilmor::ui
