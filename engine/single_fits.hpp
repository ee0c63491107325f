// Functions fitted by one straight line, without a scan:
//   4   Fc = exp(−exp(−(I + S·X)))             Gumbel, Z clamped
//   5   Fc = 1 − exp(−exp(−(I + S·X)))         mirrored Gumbel, Z clamped
//   53  Fc = 1 / (1 + exp(I + S·X))            logistic
//   54  Fc = 1 / (1 + exp(I + S·ln X))         log-logistic
//   57  Fc = 1 − exp(−(X/K)^S), K = exp(−I/S)  Weibull: W = exp(I + S·ln X) clamped
// and the Student forms on u = (X − m)/s, m the mean and s the sample standard
// deviation (divisor N − 1) of the values:
//   62  Fc = 0.5 + arctan(u)/π                 1 degree of freedom
//   63  Fc = 0.5·(1 + u/√(2 + u²))             2 degrees of freedom
#pragma once

#include "engine/analysis_state.hpp"
#include "engine/catalogue.hpp"
#include "engine/fit_data.hpp"

namespace quilmor::engine {

bool IsLineCode(int code);  // 4, 5, 53, 54, 57

// Fits the line of a line-only code and leaves Code, Slope, Intercept and the
// regression's by-products in the state (FitStdDev = 1.28/S for 4 and 5).
Candidate FitLineCode(AnalysisState& state, const FitData& data, int code);

// Both Student forms from one regression on the prepared values (for its mean
// and standard deviation only). Code becomes 63 when its SSE is strictly
// smaller, else 62.
struct StudentFit {
  Candidate oneDf;  // 62
  Candidate twoDf;  // 63
};
StudentFit FitStudent(AnalysisState& state, const FitData& data);

}  // namespace quilmor::engine
