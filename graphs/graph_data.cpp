#include "graphs/graph_data.hpp"

#include <array>
#include <cmath>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "graphs/graph_types.hpp"
#include "textio/number_format.hpp"
#include "textio/number_parse.hpp"
#include "textio/text_file.hpp"

namespace quilmor::graphs {
namespace {

// Lines 1 to 5 are the heading with the two titles; no marker is looked for
// there, because a title may well begin with "Obs" or "dat".
constexpr std::size_t kHeadingLines = 5;
constexpr std::string_view kCodeMarker = " dat";
constexpr std::string_view kEndMarker = " ---";

// A line matches a marker when its first four characters are the marker.
bool Matches(const std::string& line, std::string_view marker) { return line.starts_with(marker); }

std::optional<std::size_t> FindMarker(const std::vector<std::string>& lines, std::size_t from,
                                      std::string_view marker) {
  for (std::size_t i = from; i < lines.size(); ++i) {
    if (Matches(lines[i], marker)) return i;
  }
  return std::nullopt;
}

// The title on report line `number` (1-based) without its leading character.
std::string TitleOnLine(const std::vector<std::string>& lines, std::size_t number) {
  if (lines.size() < number || lines[number - 1].empty()) return {};
  return lines[number - 1].substr(1);
}

// The code written in I(3): the first four characters as an integer, blanks
// around it allowed; 0 when they hold anything else.
int CodeFromLine(const std::string& line) {
  std::string_view field = std::string_view(line).substr(0, 4);
  while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
  while (!field.empty() && field.back() == ' ') field.remove_suffix(1);
  return textio::ParseInt(field).value_or(0);
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

}  // namespace

std::string TableMarker(int GraphType) {
  const GraphTypeRow* row = GraphTypeOf(GraphType);
  return row ? std::string(row->marker) : std::string();
}

std::string GraphOpenFailedMessage(const std::string& reportName) {
  return "The file \"" + reportName + "\"could not be opened." +
         " It may be damaged,  not created due to inadequate" +
         " input data,  in use by another program,  or the" +
         " programmer should incorporate more time.";
}

namespace {

// The largest magnitude a graph table may hold.
constexpr double kLargestGraphNumber = 1e300;

}  // namespace

GraphReadResult ReadGraphData(report::TDMQuilmor& dm, const std::string& reportPath,
                              int GraphType) {
  const auto read = textio::ReadTextLines(reportPath);
  if (!read) {
    dm.Ui().ShowMessage(GraphOpenFailedMessage(reportPath));
    return {GraphReadOutcome::OpenFailed, {}};
  }
  const std::vector<std::string>& lines = *read;

  // The code stands two lines below " data values :".
  dm.FittedCode = 0;
  if (const auto dat = FindMarker(lines, kHeadingLines, kCodeMarker)) {
    const std::size_t codeLine = *dat + 2;
    if (codeLine < lines.size()) dm.FittedCode = CodeFromLine(lines[codeLine]);
  }

  dm.Title1 = TitleOnLine(lines, 4);
  dm.Title2 = TitleOnLine(lines, 5);

  dm.NrOfData = 0;
  std::vector<double>* series[5] = {&dm.SeriesA, &dm.SeriesB, &dm.SeriesC, &dm.SeriesD,
                                    &dm.SeriesE};
  for (auto* s : series) s->clear();

  const GraphTypeRow* layout = GraphTypeOf(GraphType);
  if (!layout) {
    return {GraphReadOutcome::TableMissing,
            "There is no graph of type " + std::to_string(GraphType)};
  }
  const auto heading = FindMarker(lines, kHeadingLines, layout->marker);
  if (!heading) {
    return {GraphReadOutcome::TableMissing, "The table that begins with " + Quoted(layout->marker) +
                                                " was not found in the file " + Quoted(reportPath)};
  }

  // Rows run from after the heading's dash and column lines up to " ---".
  const std::size_t firstRow = *heading + 1 + layout->linesAfterHeading;
  const auto end = FindMarker(lines, firstRow, kEndMarker);
  std::size_t rowCount = 0;
  if (end) {
    rowCount = *end - firstRow;
  } else if (firstRow < lines.size()) {
    rowCount = lines.size() - firstRow;
  }

  GraphReadResult result;
  std::size_t rowsRead = 0;
  double previousFirst = 0.0;
  for (; rowsRead < rowCount; ++rowsRead) {
    const std::string& line = lines[firstRow + rowsRead];
    textio::LineScanner scanner(line);
    std::array<double, 7> numbers{};
    bool complete = true;
    for (std::size_t k = 0; k < layout->numbersPerRow && complete; ++k) {
      const auto value = scanner.ReadReal();
      if (value) {
        numbers[k] = *value;
      } else {
        complete = false;
      }
    }
    if (!complete) {
      if (end) {
        result = {GraphReadOutcome::BadNumber,
                  "Line " + std::to_string(firstRow + rowsRead + 1) + " of the file " +
                      Quoted(reportPath) + " does not hold the " +
                      std::to_string(layout->numbersPerRow) +
                      " numbers of a table row: " + Quoted(textio::Excerpt(line, 80))};
      }
      break;
    }
    // A number beyond what a graph can scale, or ranked values out of order
    // (a table edited or put together by hand), would draw lines outside the
    // frame or a zigzag: the table is refused.
    const std::string where =
        "Line " + std::to_string(firstRow + rowsRead + 1) + " of the file " + Quoted(reportPath);
    bool outOfRange = false;
    for (std::size_t k = 0; k < layout->numbersPerRow; ++k) {
      if (!(std::abs(numbers[k]) <= kLargestGraphNumber)) outOfRange = true;
    }
    if (outOfRange) {
      result = {GraphReadOutcome::BadNumber,
                where + " holds a number beyond +/-1E+0300, which cannot be drawn: " +
                    Quoted(textio::Excerpt(line, 80))};
      break;
    }
    // A frequency outside 0 .. 100 % or a return period below 1 lies outside
    // the graph's frame, where no report puts one.
    std::string outside;
    for (std::size_t k = 0; k < layout->numbersPerRow && outside.empty(); ++k) {
      const NumberKind kind = layout->kinds[k];
      if (kind == NumberKind::Percent && !(numbers[k] >= 0.0 && numbers[k] <= 100.0)) {
        outside = "a frequency of " + textio::FormatGeneral(numbers[k]) + " %, outside 0 to 100";
      } else if (kind == NumberKind::ReturnPeriod && !(numbers[k] >= 1.0)) {
        outside = "a return period of " + textio::FormatGeneral(numbers[k]) + ", below 1";
      }
    }
    if (!outside.empty()) {
      result = {GraphReadOutcome::BadNumber,
                where + " holds " + outside + ": " + Quoted(textio::Excerpt(line, 80))};
      break;
    }
    if (rowsRead > 0 && numbers[0] < previousFirst) {
      result = {GraphReadOutcome::BadNumber,
                where + " is out of order: its first value " + Quoted(textio::Excerpt(line, 80)) +
                    " is below that of the row before it, and the values of the table must "
                    "ascend"};
      break;
    }
    previousFirst = numbers[0];
    for (auto* s : series) s->push_back(0.0);
    for (std::size_t k = 0; k < layout->numbersPerRow; ++k) {
      const int target = layout->target[k];
      if (target >= 0) series[target]->back() = numbers[k];
    }
  }
  dm.NrOfData = static_cast<int>(rowsRead);
  if (!end) {
    result = {GraphReadOutcome::TableUnterminated,
              "The table that begins with " + Quoted(layout->marker) + " in the file " +
                  Quoted(reportPath) + " has no closing line; " + std::to_string(rowsRead) +
                  " rows were read"};
  }
  return result;
}

}  // namespace quilmor::graphs
