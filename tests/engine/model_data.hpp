// Series that follow a model of the catalogue exactly at their plotting
// positions, so that a fit must find the model's parameters again.
#pragma once

#include <cmath>
#include <vector>

#include "engine/catalogue.hpp"
#include "engine_test_support.hpp"

namespace quilmor::engine::testing {

// X_i with T(Fr_i) = I + S·x′(X_i), Fr_i = i/(n+1), for a line of the
// transform `type` on x′ = X^E, or x′ = ln(X^E) when `logOfPower`. I and S
// are chosen so that x′ >= 2 and the points ascend; they are returned.
struct ModelSeries {
  std::vector<double> values;
  double intercept = 0.0;
  double slope = 0.0;
};

inline ModelSeries ExponentModel(Transform type, double exponent, int n, bool logOfPower = false) {
  const std::vector<double> fr = PlotPositions(n);
  std::vector<double> z(n);
  for (int i = 0; i < n; ++i) z[i] = Ordinate(type, fr[i]);
  const bool rising = z[n - 1] > z[0];
  ModelSeries series;
  series.slope = rising ? 0.5 : -0.5;
  series.intercept = rising ? z[0] - 1.0 : z[0] + 1.0;
  for (int i = 0; i < n; ++i) {
    const double xPrime = (z[i] - series.intercept) / series.slope;  // >= 2
    series.values.push_back(logOfPower ? std::exp(xPrime / exponent)
                                       : std::exp(std::log(xPrime) / exponent));
  }
  return series;
}

// A series that is exactly two Gumbel pieces: ranks 1..32 on the line
// Z = I1 + S1·X, ranks 33..40 on the line through point 32 with slope S2,
// Z = −ln(−ln Fr). S2 is small, so the upper values spread far and the gap
// after rank 32 (ΔZ ≈ 0.13 of 2.3 over the upper ranks) spans more than two
// steps of the break grid.
struct TwoPieceSeries {
  std::vector<double> values;
  double s1 = 2.0, i1 = -3.0, s2 = 0.02;
  int m = 32;
  double zAnchor = 0.0;
};

inline TwoPieceSeries ExactTwoGumbel() {
  TwoPieceSeries series;
  const std::vector<double> fr = PlotPositions(40);
  std::vector<double> z;
  for (double f : fr) z.push_back(-std::log(-std::log(f)));
  for (int i = 0; i < series.m; ++i) series.values.push_back((z[i] - series.i1) / series.s1);
  series.zAnchor = z[series.m - 1];
  const double xAnchor = series.values.back();
  for (int i = series.m; i < 40; ++i) {
    series.values.push_back(xAnchor + (z[i] - series.zAnchor) / series.s2);
  }
  return series;
}

}  // namespace quilmor::engine::testing
