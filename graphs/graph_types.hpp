// What each graph type is: the table of the report it is read from, how its
// extents and axes are found, its titles and legend, and what is drawn with
// which pen. The reader, the scales and the painter read the row of their
// type instead of each knowing the types by number.
//
// Graph types: 1 cumulative distribution, 2 interval distribution,
// 3 confidence belt of X, 4 return periods, 5 calculated against observed
// cumulative frequency.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace quilmor::graphs {

inline constexpr int kFirstGraphType = 1;
inline constexpr int kLastGraphType = 5;
// The sixth graph, probability paper, has a painter of its own
// (graphs/paper_graph.hpp); it reads the table of the cumulative
// distribution.
inline constexpr int kPaperGraph = 6;
inline constexpr int kPaperTableType = 1;

// The five series of a graph table.
enum class Series { A, B, C, D, E };
inline constexpr int kNoSeries = -1;

// How the extents of the data are taken.
enum class ExtentRule {
  Points,         // X from A, Y from B
  Classes,        // X from the class limits A (the last raised by half a class), Y 0 .. the top %
  Belt,           // X from A, Y from the lower (E) up to 1.1 x the upper (D) limit
  ReturnPeriods,  // X from A, Y up to the largest T; the last row may be dropped (below)
};

// How the Y axis is laid out.
enum class YAxisRule {
  Percent,          // 0 .. 120 % in 12 divisions, labels 0 .. 100
  IntervalPercent,  // 0 .. 10 * Near((top + 15) / 10) %, one decimal
  FromData,         // bounds, factor and steps from the data, as the X axis
};

// Inks of the graph; in black and white each of them is black.
enum class Ink { White, Cyan, Yellow };
enum class LineStyle { Solid, Dotted, Dashed };

// Which segments of a curve are drawn.
enum class Segments {
  None,            // an unused curve slot
  All,             // every segment from row i to i + 1
  EndNotAboveTop,  // only segments whose end lies not above the largest value shown
  CutAtPlotTop,    // every segment; what lies above the plot is cut off there
  FirstToLast,     // one straight line from the first to the last row
};

// One curve against series A.
struct CurveRule {
  Series y = Series::C;
  Ink ink = Ink::White;
  LineStyle style = LineStyle::Solid;
  Segments segments = Segments::None;
};

enum class LegendRole { Observed, Calculated, Limit, Equality };
struct LegendLine {
  LegendRole role = LegendRole::Observed;
  int y = 0;  // top of the text; all legend lines stand at x = 86
  Ink ink = Ink::White;
};

enum class NumberKind { Any, Percent, ReturnPeriod };

struct GraphTypeRow {
  int type = 0;
  std::string_view name{};  // for messages and tests

  // --- The table in the report.
  std::string_view marker{};  // first four characters of the heading line
  std::size_t linesAfterHeading = 4;
  std::size_t numbersPerRow = 0;
  // Where each number of a row goes: its series, or kNoSeries when it is read
  // and dropped.
  std::array<int, 7> target{};
  // What each number of a row is, where the graph's frame holds only some
  // values: a frequency in percent (0 .. 100), a return period (1 or more).
  std::array<NumberKind, 7> kinds{};

  // --- Scales.
  ExtentRule extents = ExtentRule::Points;
  // Calculated against observed: A and D become the observed (B) and B the
  // calculated (C) frequency before anything else.
  bool swapObservedCalculated = false;
  YAxisRule yAxis = YAxisRule::FromData;
  bool yFromZero = false;  // the Y extent starts at 0 whatever the data
  // More than 10 Y divisions are cut to 10 (the cumulative graph keeps 12).
  bool capYDivisions = true;

  // --- Titles and legend.
  std::string_view yTitle{};  // empty: "X-data" with the Y factor
  std::string_view xTitle{};  // empty: "X-Data" with the X factor
  int xTitleLeft = 470;
  std::string_view observedLegend = "  o    observed";
  std::string_view calculatedLegend = "-----  calculated";
  std::string_view limitLegend = "- - -  90% conf. limit";
  std::string_view equalityLegend = " - - - Obs = Calc";
  std::array<LegendLine, 3> legend{};
  std::size_t legendLines = 0;

  // --- Data.
  bool observedPoints = false;   // "o" at (A, B)
  bool intervalBars = false;     // class bars of D, "#" marks of C
  std::size_t firstSegment = 0;  // segments from this row on
  std::array<CurveRule, 3> curves{};

  // Return periods only: the option of a logarithmic T axis applies.
  bool periodAxis = false;
};

// The row of a graph type; nullptr for a type outside 1..5.
const GraphTypeRow* GraphTypeOf(int GraphType);

// All rows, in the order of the types.
const std::array<GraphTypeRow, 5>& GraphTypes();

}  // namespace quilmor::graphs
