// The body of the results report: heading, the fitted function with its
// formula and parameters, summary statistics, the interval table, the table
// of observed and calculated frequencies with their 90% limits, the goodness
// figures and the table of return periods. The inverse evaluation and the
// assembly continue the report after its last line.
//
// ReportBodyText builds the text from the state (and makes the state changes
// the later steps of the run rely on); WriteReport puts it into the run's
// scratch folder as "TmpFile.Tmp".
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "engine/analysis_state.hpp"
#include "report/data_module.hpp"

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

// The report body for the run in `state`, from the data module's FileName
// (printed with the extension ".inp"), NrOfData and Preference. Changes the
// state as the later steps of the run expect: DistributionName, MeanX,
// StdDevX, MedianX, Values back in the data scale (when NegativeValues),
// the bound of codes 58/59 plus Shift, LimitFreq taken as at most 1.
// With Code 0 (or a code outside the catalogue) the body is the heading and
// the line that no distribution was found, and the state is left alone.
std::string ReportBodyText(engine::AnalysisState& state, const TDMQuilmor& dm);

// Writes ReportBodyText into scratchDir/"TmpFile.Tmp". nullopt on success,
// else a message naming the file.
std::optional<std::string> WriteReport(engine::AnalysisState& state, const TDMQuilmor& dm,
                                       const std::filesystem::path& scratchDir);

}  // namespace quilmor::report
