// The analysis as far as the fit, in two stages that take values and give
// values: the prepared series (threshold, the first 2500 values, ranking,
// plotting positions, shift), then the fit of the catalogue or of the
// preferred function. Nothing here reads a file or talks to the user; what
// the user should hear of is returned as flags or sent to a notice callback.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "engine/analysis_state.hpp"
#include "engine/model.hpp"
#include "engine/plotting_position.hpp"
#include "textio/input_file.hpp"

namespace quilmor::engine {

// PrefCode keeps this many characters of the preference.
inline constexpr std::size_t kPrefCodeLength = 4;

// A progress line for the user while a long fit runs (" Still busy ....").
using Notice = std::function<void(const std::string& line)>;

// How a fit may run. The results never depend on it.
class ValueTables;

struct FitOptions {
  int threads = 0;  // cores to use; 0: every hardware thread
  Notice notice;    // progress lines; none when empty
  // Values the fits of a bootstrap share (value_tables.hpp); the fit reads
  // what it finds there instead of computing it. Results are the same.
  const ValueTables* tables = nullptr;
  // Only the result of the fit is wanted, not the SSE of every trial of its
  // scans (fit_data.hpp, partialTrials). The result is the same.
  bool resultOnly = false;
};

// The values of one series as the fit takes them. Arrays are indexed from 1
// like the ranks they hold: entries 1..N are in use, entry 0 is unused.
struct PreparedSeries {
  int N = 0;                     // values in use, 0..2500
  std::vector<double> Values;    // ascending, moved by the shift when it applies
  std::vector<int> Serials;      // running number of each value in the file
  std::vector<double> PlotFreq;  // (i - a)/(N + 1 - 2a); i/(N+1) by default
  PlottingPosition Plotting;
  std::vector<double> DataValues;  // the same ranks as read, before the shift
  double Threshold = 0.0;
  double Shift = 0.0;  // 0, or the smallest value when it is <= 0
  bool NegativeValues = false;
  // More than 2500 values passed the threshold: only the first 2500 are used.
  bool Truncated = false;
  // The threshold is 0 and the file holds negative values, which are not used.
  bool NegativesLeftOut = false;
};

// PrepareData: the values at or above the threshold, the first 2500 of them
// in file order, ranked ascending (stable, serials moving with their values),
// plotting positions (i/(N+1) unless another is chosen), and the shift of
// non-positive data (every value moved to value - smallest + 0.0001).
PreparedSeries PrepareData(const std::vector<textio::InputRow>& rows, double threshold,
                           const PlottingPosition& plotting = {});

// Why a series with variation could not be fitted all the same: its spread
// lies outside what double arithmetic can hold (the squares of the deviations
// overflow, or underflow to nothing). The sentence to add to the stop
// message, or "" for a series whose spread is in range (or that has none).
std::string SpreadOutOfRangeText(const PreparedSeries& series);

struct FitRequest {
  std::string preference = "1";  // "1" best of all, else a code
  bool breakPointAllowed = false;
  FitOptions options;
};

// What a fit found. Parameters are in the scale of the fit: the data less
// the shift, the bound of 58/59 as fitted.
struct FitResult {
  bool Stopped = false;     // no usable data, no variation, or every fit overflowed
  int Code = 0;             // 0: none (a preference that names no function)
  Parameters Fit;           // A, B, E, C, M, D, the pieces and P, S = the shift
  double NormStdDev = 0.0;  // normal family: standard deviation of T(X)
  double FitStdDev = 0.0;   // the spread of X implied by a Gumbel slope
  int BreakIndex = 0;       // two-piece codes: values not above P
  // The mean and standard deviation of X the fit left as by-products.
  double MeanX = 0.0;
  double StdDevX = 0.0;
  bool BreakPointAllowed = false;
  bool BreakPointFound = false;
  std::vector<double> CalcFreq;  // 1..N: the frequencies the fit left (code 25 keeps them)
  // Every candidate of a best-of-all run in the order of the selection, and
  // the trials of every scan.
  std::vector<Candidate> Candidates;
  // The fitted function of each candidate, in the order of Candidates, in the
  // scale of the fit like Fit (for the Student forms the average and standard
  // deviation of the values).
  std::vector<Parameters> CandidateFits;
  std::vector<ScanCount> ScanCounts;
};

// The fit of a prepared series: the preference's function, or every
// candidate and the best of them. Stopped when the series holds no value,
// the data have no spread, or no fit is usable.
FitResult FitSeries(const PreparedSeries& series, const FitRequest& request);

// FitDistributions on the working record of one fit: fits what the
// preference names, or every candidate and selects the best. Reads
// state.BreakPointAllowed; sets StopFlag when the data have no spread.
// Records every candidate of a best-of-all run in state.Candidates (in the
// order of the selection, with the SSE that enters it) and the trials of
// every scan in state.ScanCounts.
void FitDistributions(AnalysisState& state, const std::string& preference,
                      const FitOptions& options = {});

}  // namespace quilmor::engine
