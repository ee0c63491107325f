// The generalised forms with an exponent E on the values:
//   2   Fc = exp(I + S·X^E)                 (power type)
//   3   Fc = 1 − exp(−(I + S·X^E))          (exponential type)
//   51  Fc = exp(−exp(−(I + S·X^E)))        (Gumbel type)
//   52  Fc = 1 − exp(−exp(−(I + S·X^E)))    (mirrored Gumbel type)
//   55  Fc = 1 / (1 + exp(I + S·X^E))       (logistic type)
//   60  Fc = 1 − exp(−(X^E/K)^S), K = exp(−I/S), line on ln(X^E) (Weibull type)
// E is found by trying E = 0.20, 0.21, … 2.99 and keeping the smallest SSE.
#pragma once

#include <array>
#include <vector>

#include "engine/analysis_state.hpp"
#include "engine/catalogue.hpp"
#include "engine/fit_data.hpp"
#include "engine/workers.hpp"

namespace quilmor::engine {

inline constexpr int kExponentTrials = 280;
inline constexpr double kExponentBase = 0.19;  // trial k uses 0.19 + 0.01·k
inline constexpr double kExponentStep = 0.01;

// An exponent this close to 1 makes the generalised form a plain one, which
// the catalogue already holds: in a best-of-all comparison such a candidate
// counts with SSE 1000, which takes it out of the running.
inline constexpr double kNearLinearLow = 0.79;   // exclusive
inline constexpr double kNearLinearHigh = 1.21;  // exclusive
inline constexpr double kNearLinearSSE = 1000.0;

// Spread of X implied by a Gumbel slope: FitStdDev = 1.28 / S (the codes
// with the catalogue's gumbelSpread).
inline constexpr double kGumbelStdDevFactor = 1.28;

// Trial exponents, index 1..280: a running value that starts at 0.19 and
// grows by 0.01 per trial (so it may differ from 0.19 + 0.01·k in the last bits).
std::vector<double> ExponentGrid();

// The exponent reported for trial k: 0.01·k + 0.19.
double ReportedExponent(int k);

// 0.79 < E < 1.21.
bool IsNearLinear(double exponent);

// The single functions whose exponent is scanned: 2, 3, 51, 52, 55, 60.
bool IsExponentCode(int code);

// The SSE of every trial of the exponent scans of `codes`: sse[code][k] for
// k = 1..280. The codes share each trial's X^E.
struct ExponentScanTable {
  std::array<std::vector<double>, kCodeArraySize> sse;
};
ExponentScanTable ScanExponents(const FitData& data, const Workers& workers,
                                const std::vector<int>& codes);

// The fitting step of one exponent code once its trials are known: chooses
// the exponent, fits the final line and leaves ExpE[code], Slope, Intercept,
// the regression's by-products and ScanSSE in the state. The candidate's SSE
// is that of the final line, before the near-linear rule.
Candidate FitExponentCode(AnalysisState& state, const FitData& data, const ExponentScanTable& table,
                          int code);

}  // namespace quilmor::engine
