// The working record of one fit: the prepared values and what each fitting
// step leaves behind (the fitted line, the scans' by-products). FitSeries
// fills one from a prepared series, runs the fit on it and returns the
// result as a value; nothing outside the engine reads it.
//
// Per-rank arrays are indexed from 1 like the ranks they hold: entries
// 1..N are in use, N <= 2500, entry 0 is unused.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace quilmor::engine {

inline constexpr int kMaxValues = 2500;
// Room for ranks 1..2501 plus the unused entry 0.
inline constexpr int kRankArraySize = kMaxValues + 2;
// Codes index ExpE and the normal-family arrays directly.
inline constexpr int kCodeArraySize = 64;

// One candidate of a best-of-all run as it enters the selection.
struct Candidate {
  int code = 0;
  double sse = 0.0;  // after the near-linear rule for the exponent codes
  double slope = 0.0;
  double intercept = 0.0;
  // Two-piece codes 7..18 only.
  double slopeLow = 0.0;
  double interceptLow = 0.0;
  double slopeHigh = 0.0;
  double interceptHigh = 0.0;
  double breakValue = 0.0;
  int nBelow = 0;
};

// How many trials one scan of the last fit ran (for benchmarks and tests).
struct ScanCount {
  int code = 0;
  long long trials = 0;
};

struct AnalysisState {
  AnalysisState()
      : Values(kRankArraySize, 0.0),
        Serials(kRankArraySize, 0),
        PlotFreq(kRankArraySize, 0.0),
        CalcFreq(kRankArraySize, 0.0),
        ScanSSE(2001, 0.0),
        SigmaBest(281, 0.0) {}

  // --- Input and preparation -------------------------------------------
  std::string PrefCode;          // "1" = best fitting of all, else a code
  int N = 0;                     // values in use, 0..2500
  int NrOfData = 0;              // values in use as handed to the data module
  std::vector<double> Values;    // ascending, shifted when Shift applies
  std::vector<int> Serials;      // running number of each value in the file
  std::vector<double> PlotFreq;  // i / (N + 1)
  double Shift = 0.0;            // 0, or the smallest value when it is <= 0
  bool NegativeValues = false;
  bool StopFlag = false;
  bool BusyNoticePending = false;
  bool BreakPointAllowed = false;

  // --- Fit results ------------------------------------------------------
  int Code = 0;
  double Slope = 0.0;
  double Intercept = 0.0;  // code 56: the scale C
  double MeanY = 0.0;
  double MeanX = 0.0;
  double Sxx = 0.0;
  double StdDevX = 0.0;
  std::array<double, kCodeArraySize> ExpE{};  // codes 2, 3, 25, 51, 52, 55, 60
  double FitStdDev = 0.0;
  std::array<double, kCodeArraySize> NormMean{};  // codes 21..25
  std::array<double, kCodeArraySize> NormSigma{};
  std::array<double, kCodeArraySize> NormSSE{};
  std::array<double, kCodeArraySize> NormStdDev{};
  double LowerBoundC = 0.0;  // code 58
  double UpperBoundC = 0.0;  // code 59
  double SlopeLow = 0.0;
  double InterceptLow = 0.0;
  double SlopeHigh = 0.0;
  double InterceptHigh = 0.0;
  double BreakValue = 0.0;
  int BreakIndex = 0;
  bool BreakPointFound = false;
  std::vector<double> CalcFreq;

  // Working fields of the scans.
  double TrialBreak = 0.0;
  int NBelow = 0;
  int NrOfTrials = 0;
  std::vector<double> ScanSSE;    // 1..2000
  std::vector<double> SigmaBest;  // 1..280 (code 25)

  // Record of the last fit: every candidate of a best-of-all run in the order
  // of the selection, and the trial count of each scan.
  std::vector<Candidate> Candidates;
  std::vector<ScanCount> ScanCounts;
};

}  // namespace quilmor::engine
