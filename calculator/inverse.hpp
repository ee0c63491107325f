// Inverse evaluation: the X-values at which the fitted function reaches the
// calculated cumulative frequency of each rank and its 90% confidence limits.
// The frequencies are those printed in the report's frequency table, read back
// from the report body once.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/analysis_state.hpp"
#include "engine/catalogue.hpp"
#include "engine/model.hpp"

namespace quilmor::calculator {

// --- The report body read back -----------------------------------------------

// Table markers are searched from the line after the heading's first five
// lines, which hold the user's titles ("Observed rainfall" is a title, not the
// frequency table).
inline constexpr std::size_t kMarkerSearchStart = 5;

// Index (0-based) of the first line from line 6 on whose first four characters
// are `marker` (" Obs", " Con", ...); nullopt when there is none.
std::optional<std::size_t> FindTableMarker(const std::vector<std::string>& lines,
                                           std::string_view marker);

// One row of the observed/calculated frequency table as printed: the ranked
// X-value (data scale, as printed), the serial number and five percentages.
struct FrequencyRow {
  double RowX = 0.0;
  int RowSerial = 0;
  double RowRank = 0.0;
  double RowCalc = 0.0;
  double RowStDev = 0.0;
  double RowLower = 0.0;
  double RowUpper = 0.0;
};

// Reads rows 1..n of the frequency table of a report body: the table starts
// five lines below the line " Obs..." (title, dash line, two headings, dash
// line). Returns the rows (rows[i - 1] is row i), or nullopt with `error` set
// when the table is missing, shorter than n rows, or a row is not seven
// numbers.
std::optional<std::vector<FrequencyRow>> ReadFrequencyTable(const std::vector<std::string>& lines,
                                                            int n, std::string& error);

// --- The fit summary "Temp.tmp" ----------------------------------------------

struct FitSummary {
  int N = 0;
  int Code = 0;
  double S = 0.0;  // Shift
  double A = 0.0;  // codes below 6 and above 50
  double B = 0.0;
  double M = 0.0;  // codes 21..25
  double D = 0.0;
};

// Parses the lines of "Temp.tmp": N, code, shift; A and B when the code is
// below 6 or above 50; M and D when it lies between 20 and 50. nullopt with
// `error` set when a line is missing or not a number, or N is not 1..2500.
std::optional<FitSummary> ParseFitSummary(const std::vector<std::string>& lines,
                                          std::string& error);

// --- The inverse evaluation of one run ---------------------------------------

// Sets TableMax and TableMin from the printed X-values less the shift S: the
// largest (at least 0) plus 5% of the range, and the smallest (at most
// 10,000,000).
void FindTableRange(engine::AnalysisState& state, const std::vector<FrequencyRow>& rows, double s);

// Fills CalcX, LowerX and UpperX for ranks 1..N from the printed calculated
// frequency and its limits (clamped into the open interval 0..1), then makes
// LowerX and UpperX non-decreasing. Stores N, Code, Shift, Slope and Intercept
// of the summary in the state first. Code 1 keeps the arrays as they are.
// `rows` must hold at least summary.N rows.
void ComputeCalculatedXValues(engine::AnalysisState& state, const FitSummary& summary,
                              const std::vector<FrequencyRow>& rows);

// The same from the run's files: "Temp.tmp" and "TmpFile.Tmp" in `scratchDir`.
// nullopt on success, otherwise why a file could not be used.
std::optional<std::string> ComputeCalculatedXValues(engine::AnalysisState& state,
                                                    const std::filesystem::path& scratchDir);

}  // namespace quilmor::calculator
