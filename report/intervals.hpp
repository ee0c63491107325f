// Interval analysis: K equal classes over the range of the ranked values, the
// number of values in each, and the share the fitted function gives each
// class. Feeds the "Interval analysis" table of the report.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "report/report_model.hpp"

namespace quilmor::report {

// Class counts the tables have room for.
inline constexpr int kMinClasses = 2;
inline constexpr int kMaxClasses = 23;

// The number of classes from the data module's NrOfIntervals text: a whole
// number from 2 to 23, blanks around it allowed. nullopt otherwise.
std::optional<int> ParseNrOfIntervals(std::string_view text);

// The message for a NrOfIntervals text that ParseNrOfIntervals refuses.
std::string NrOfIntervalsMessage(std::string_view text);

// A step of BuildReportModel on the model being built (values and
// parameters in the fitting scale): sets NrOfClasses = K, the limits
// ClassLimit[1..K+2] (the outer ones widened by 0.0001 below and 0.0002
// above), ClassCount[1..K] and LimitFreq[1..K+1] (the fitted function at each
// limit, unclamped). Values within 0.0001 of an inner limit are moved onto it
// (so they count in the class above it); that change stays in model.Values.
// K must be 2..23.
void AnalyseIntervals(ReportModel& model, int nrOfClasses);

// The K+2 rows of the table: the row below the first class, the K classes,
// the row above the last class. LimitFreq is taken as at most 1; a negative
// share of the first row is carried into the first class row.
std::vector<IntervalRow> IntervalRows(const ReportModel& model);

}  // namespace quilmor::report
