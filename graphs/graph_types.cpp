#include "graphs/graph_types.hpp"

namespace quilmor::graphs {
namespace {

constexpr int A = static_cast<int>(Series::A);
constexpr int B = static_cast<int>(Series::B);
constexpr int C = static_cast<int>(Series::C);
constexpr int D = static_cast<int>(Series::D);
constexpr int E = static_cast<int>(Series::E);
constexpr int kDrop = kNoSeries;

// The observed and calculated frequencies: X, serial, rank %, calc %, st.dev,
// lower, upper.
constexpr std::array<int, 7> kObservedRow = {A, kDrop, B, C, kDrop, E, D};
constexpr NumberKind kAny = NumberKind::Any;
constexpr NumberKind kPercent = NumberKind::Percent;
constexpr NumberKind kPeriod = NumberKind::ReturnPeriod;
constexpr std::array<NumberKind, 7> kObservedKinds = {kAny, kAny,     kPercent, kPercent,
                                                      kAny, kPercent, kPercent};

// Legend of the graphs with points, a curve and its limits.
constexpr std::array<LegendLine, 3> kPointsCurveLimits = {{
    {LegendRole::Observed, 65, Ink::Cyan},
    {LegendRole::Calculated, 80, Ink::White},
    {LegendRole::Limit, 95, Ink::Yellow},
}};

constexpr std::array<GraphTypeRow, 5> kGraphTypes = {{
    {
        .type = 1,
        .name = "cumulative distribution",
        .marker = " Obs",
        .linesAfterHeading = 4,
        .numbersPerRow = 7,
        .target = kObservedRow,
        .kinds = kObservedKinds,
        .extents = ExtentRule::Points,
        .yAxis = YAxisRule::Percent,
        .yFromZero = true,
        .capYDivisions = false,
        .yTitle = "Cumulative frequency (%)",
        .legend = kPointsCurveLimits,
        .legendLines = 3,
        .observedPoints = true,
        .curves = {{
            {Series::C, Ink::White, LineStyle::Solid, Segments::All},
            {Series::E, Ink::Yellow, LineStyle::Dotted, Segments::All},
            {Series::D, Ink::Yellow, LineStyle::Dotted, Segments::All},
        }},
    },
    {
        .type = 2,
        .name = "interval distribution",
        // lower limit, upper limit, observed %, calculated %
        .marker = " Int",
        .linesAfterHeading = 4,
        .numbersPerRow = 4,
        .target = {A, B, C, D, kDrop, kDrop, kDrop},
        .kinds = {kAny, kAny, kPercent, kPercent, kAny, kAny, kAny},
        .extents = ExtentRule::Classes,
        .yAxis = YAxisRule::IntervalPercent,
        .yTitle = "Interval frequency (%)",
        .observedLegend = "  #    observed",
        .calculatedLegend = "____calculated",
        .legend = {{{LegendRole::Observed, 65, Ink::White},
                    {LegendRole::Calculated, 80, Ink::White}}},
        .legendLines = 2,
        .intervalBars = true,
    },
    {
        .type = 3,
        .name = "confidence belt of X",
        // observed X, serial, calculated X, lower, upper
        .marker = " Con",
        .linesAfterHeading = 5,
        .numbersPerRow = 5,
        .target = {A, B, C, E, D, kDrop, kDrop},
        .extents = ExtentRule::Belt,
        .yAxis = YAxisRule::FromData,
        .observedLegend = "----- observed/calculated",
        .legend = {{{LegendRole::Observed, 65, Ink::White}, {LegendRole::Limit, 80, Ink::Yellow}}},
        .legendLines = 2,
        // The segment from the first row is left out.
        .firstSegment = 1,
        .curves = {{
            {Series::C, Ink::White, LineStyle::Solid, Segments::All},
            {Series::E, Ink::Yellow, LineStyle::Dotted, Segments::All},
            {Series::D, Ink::Yellow, LineStyle::Dotted, Segments::All},
        }},
    },
    {
        .type = 4,
        .name = "return periods",
        // X, serial, Tr, Tc, lower, upper
        .marker = " Ret",
        .linesAfterHeading = 4,
        .numbersPerRow = 6,
        .target = {A, kDrop, B, C, E, D, kDrop},
        .kinds = {kAny, kAny, kPeriod, kPeriod, kPeriod, kPeriod, kAny},
        .extents = ExtentRule::ReturnPeriods,
        .yAxis = YAxisRule::FromData,
        .yFromZero = true,
        .yTitle = "Return period",
        .legend = kPointsCurveLimits,
        .legendLines = 3,
        .observedPoints = true,
        // A calculated or upper segment ends at most at the largest value
        // shown; the lower limit is always drawn and cut at the top.
        .curves = {{
            {Series::C, Ink::White, LineStyle::Solid, Segments::EndNotAboveTop},
            {Series::D, Ink::Yellow, LineStyle::Dotted, Segments::EndNotAboveTop},
            {Series::E, Ink::Yellow, LineStyle::Dotted, Segments::CutAtPlotTop},
        }},
        .periodAxis = true,
    },
    {
        .type = 5,
        .name = "calculated against observed cumulative frequency",
        .marker = " Obs",
        .linesAfterHeading = 4,
        .numbersPerRow = 7,
        .target = kObservedRow,
        .kinds = kObservedKinds,
        .extents = ExtentRule::Points,
        .swapObservedCalculated = true,
        .yAxis = YAxisRule::FromData,
        .yTitle = "Cumulative frequency calculated (%)",
        .xTitle = "Cumulative frequency observed (%)",
        .xTitleLeft = 405,
        .legend = {{{LegendRole::Equality, 70, Ink::White}}},
        .legendLines = 1,
        .observedPoints = true,
        // The line of equality, from the first to the last observed value.
        .curves = {{{Series::D, Ink::White, LineStyle::Dashed, Segments::FirstToLast}}},
    },
}};

}  // namespace

const std::array<GraphTypeRow, 5>& GraphTypes() { return kGraphTypes; }

const GraphTypeRow* GraphTypeOf(int GraphType) {
  for (const GraphTypeRow& row : kGraphTypes) {
    if (row.type == GraphType) return &row;
  }
  return nullptr;
}

}  // namespace quilmor::graphs
