// The body of the results report: heading, the fitted function with its
// formula and parameters, summary statistics, the interval table, the table
// of observed and calculated frequencies with their 90% limits, the goodness
// figures and the table of return periods. The inverse evaluation and the
// assembly continue the report after its last line.
//
// ReportBodyText formats a built report model; it changes nothing.
#pragma once

#include <string>

#include "report/report_model.hpp"

namespace quilmor::report {

// Decimal counts of the report, each chosen from the magnitude of one value.
// D: from the largest ranked value in the fitting scale (<1: 3, <10: 2,
// <100: 1, else 0); normal-family lines, break point, bound, summary
// statistics and interval table.
int DecimalsD(double largestValue);
// DA: from the slope (<0.01, negatives included: 6 = scientific; <0.1: 5;
// <1: 4; <10: 3; <100: 2; else 1).
int DecimalsA(double slope);
// DB: from the intercept (<1, negatives included: 3; <10: 2; <100: 1; else 0).
int DecimalsB(double intercept);
// DP: from one parameter of a two-piece function (<0.1: 4; <1: 3; <10: 2;
// <100: 1; else 0).
int DecimalsP(double parameter);
// DX: from the largest ranked value in the data scale (<1: 4; <10: 3;
// <100: 2; <500: 1; else 0); both per-rank tables.
int DecimalsX(double largestValue);

// The beginning of a table row: X in F(8.DX), six blanks, the serial number
// and blanks that align serials below 1000.
std::string RankPrefix(double x, int serial, int decimalsX);

// The report body of a built model: the input file's name with the
// extension ".inp", the number of data and the preference in the heading.
// With Code 0 (or a code outside the catalogue) the body is the heading and
// the line that no distribution was found.
std::string ReportBodyText(const ReportModel& model);

}  // namespace quilmor::report
