// Reading one table of a results report back into the data module's graph
// series. Graphs are drawn from the report on disk, so any report (one just
// written or one opened later) can be drawn.
//
// Graph types: 1 cumulative distribution, 2 interval distribution,
// 3 confidence belt of X, 4 return periods, 5 calculated against observed
// cumulative frequency.
#pragma once

#include <string>

#include "report/data_module.hpp"

namespace quilmor::graphs {

enum class GraphReadOutcome {
  Ok,
  OpenFailed,         // the open-failure message was shown; all fields unchanged
  TableMissing,       // no heading of the table: no rows
  TableUnterminated,  // no closing " ---" line: the rows up to the end of the file
  BadNumber,          // a row does not hold its numbers: the rows before it
};

struct GraphReadResult {
  GraphReadOutcome outcome = GraphReadOutcome::Ok;
  // For every outcome but Ok and OpenFailed: what went wrong, for the user.
  std::string message;
  bool ok() const { return outcome == GraphReadOutcome::Ok; }
};

// The heading marker of the table of a graph type (" Obs", " Int", " Con",
// " Ret"); empty for a type outside 1..5.
std::string TableMarker(int GraphType);

// "The file "<name>"could not be opened. It may be damaged, ..." as one line.
std::string GraphOpenFailedMessage(const std::string& reportName);

// ReadGraphData: from the report at `reportPath` (a ".out" file; dm.FileName
// is left as it is) the titles (lines 4 and 5 without their first character), the distribution code
// (the line after the one after " data values :"; 0 when not an integer) and
// the rows of the table of GraphType go into Title1, Title2, FittedCode,
// NrOfData and SeriesA..SeriesE (every series holds exactly NrOfData entries).
// Marker searches start after the five heading lines, so titles such as
// "Observed rainfall" or "data 1990" are never taken for a marker. A search
// that reaches the end of the file stops there.
GraphReadResult ReadGraphData(report::TDMQuilmor& dm, const std::string& reportPath, int GraphType);

}  // namespace quilmor::graphs
