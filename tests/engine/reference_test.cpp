// The engine shares work between trials and cores; the numbers must
// nevertheless be those of the plain evaluation: every fit done one trial
// after another on the state's own arrays (transform, fit, restore), each
// formula as written. The plain evaluations below are written from the
// method, independently of the engine's code, and must agree to the bit.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "engine/catalogue.hpp"
#include "engine/fit_series.hpp"
#include "engine/line_fit.hpp"
#include "engine_test_support.hpp"
#include "scripted_interaction.hpp"

namespace quilmor::engine {
namespace {

using quilmor::testing::ScriptedInteraction;
using testing::PreparedState;

enum class Kind { Power, Exponential, Gumbel, Mirrored, Logistic, Weibull, Frechet };

// y = T(Fr).
double Ordinate(Kind kind, double fr) {
  switch (kind) {
    case Kind::Power:
      return std::log(fr);
    case Kind::Exponential:
      return -std::log(1.0 - fr);
    case Kind::Gumbel:
      return -std::log(-std::log(fr));
    case Kind::Mirrored:
      return -std::log(-std::log(1.0 - fr));
    case Kind::Logistic:
      return std::log(1.0 / fr - 1.0);
    case Kind::Weibull:
      return std::log(-std::log(1.0 - fr));
    case Kind::Frechet:
      return std::log(-std::log(fr));
  }
  return 0.0;
}

double Clamp8(double v) {
  if (v > 8.0) v = 8.0;
  if (v < -8.0) v = -8.0;
  return v;
}

// Fc of a single function with its cap or clamp.
double SingleFc(Kind kind, double z) {
  switch (kind) {
    case Kind::Power:
      return z >= 8.0 ? 8.0 : std::exp(z);
    case Kind::Exponential:
      return z <= -8.0 ? 8.0 : 1.0 - std::exp(-z);
    case Kind::Gumbel:
      return std::exp(-std::exp(-Clamp8(z)));
    case Kind::Mirrored:
      return 1.0 - std::exp(-std::exp(-Clamp8(z)));
    case Kind::Logistic:
      return 1.0 / (1.0 + std::exp(z));
    case Kind::Weibull:
      return 1.0 - std::exp(-Clamp8(std::exp(z)));
    case Kind::Frechet:
      return std::exp(-std::exp(z));
  }
  return 0.0;
}

// Fc of one piece of a two-piece function.
double PieceFc(Kind kind, double z) {
  switch (kind) {
    case Kind::Gumbel:
      return std::exp(-std::exp(-Clamp8(z)));
    case Kind::Mirrored:
      return 1.0 - std::exp(-std::exp(-z));
    case Kind::Logistic:
      return 1.0 / (1.0 + std::exp(z));
    case Kind::Exponential:
      return z <= -8.0 ? 8.0 : 1.0 - std::exp(-z);
    default:
      return 0.0;
  }
}

struct Plain {
  double slope = 0.0, intercept = 0.0, sse = 0.0;
  double parameter = 0.0;  // E, C or σ
  long long trials = 0;
  std::vector<double> trialSSE = std::vector<double>(1);  // from trial 1 on
};

// SSE of the line (I, S) on the abscissae now in s.Values.
double SingleSSE(const AnalysisState& s, const std::vector<double>& fr, Kind kind, double i0,
                 double slope) {
  double sse = 0.0;
  for (int i = 1; i <= s.N; ++i) {
    const double d = fr[i] - SingleFc(kind, i0 + slope * s.Values[i]);
    sse += d * d;
  }
  return sse;
}

Plain PlainExponentScan(AnalysisState s, int code, Kind kind) {
  const std::vector<double> x = s.Values, fr = s.PlotFreq;
  for (int i = 1; i <= s.N; ++i) s.PlotFreq[i] = Ordinate(kind, fr[i]);
  auto abscissae = [&](double e) {
    for (int i = 1; i <= s.N; ++i) {
      s.Values[i] = std::exp(e * std::log(x[i]));
      if (code == 60) s.Values[i] = std::log(s.Values[i]);
    }
  };
  double e = 0.19, best = 1'000'000.0;
  int chosen = 0;
  Plain plain;
  for (int k = 1; k <= 280; ++k) {
    e += 0.01;
    abscissae(e);
    FitLine(s);
    const double sse = SingleSSE(s, fr, kind, s.MeanY - s.Slope * s.MeanX, s.Slope);
    plain.trialSSE.push_back(sse);
    if (sse < best) {
      best = sse;
      chosen = k;
    }
  }
  plain.parameter = 0.01 * chosen + 0.19;
  abscissae(plain.parameter);
  FitLine(s);
  if (code == 2 && s.Slope < 0.001) s.Slope = 0.001;
  plain.slope = s.Slope;
  plain.intercept = s.MeanY - s.Slope * s.MeanX;
  plain.sse = SingleSSE(s, fr, kind, plain.intercept, plain.slope);
  return plain;
}

Plain PlainLine(AnalysisState s, Kind kind, bool onLog) {
  const std::vector<double> fr = s.PlotFreq;
  for (int i = 1; i <= s.N; ++i) {
    s.PlotFreq[i] = Ordinate(kind, fr[i]);
    if (onLog) s.Values[i] = std::log(s.Values[i]);
  }
  FitLine(s);
  Plain plain;
  plain.slope = s.Slope;
  plain.intercept = s.MeanY - s.Slope * s.MeanX;
  plain.sse = SingleSSE(s, fr, kind, plain.intercept, plain.slope);
  return plain;
}

Plain PlainPareto(AnalysisState s) {
  const std::vector<double> x = s.Values, fr = s.PlotFreq;
  for (int i = 1; i <= s.N; ++i) s.PlotFreq[i] = std::log(1.0 - fr[i]);
  double xMax = 0.0;
  for (int i = 1; i <= s.N; ++i) {
    if (x[i] > xMax) xMax = x[i];
  }
  double d = 0.001;
  if (xMax > 0.5 && xMax < 1) d = 0.002;
  if (xMax > 1 && xMax <= 5) d = 0.01;
  if (xMax > 5 && xMax <= 10) d = 0.02;
  if (xMax > 10 && xMax <= 50) d = 0.1;
  if (xMax > 50 && xMax <= 100) d = 0.2;
  if (xMax > 100 && xMax <= 500) d = 1;
  if (xMax > 500 && xMax <= 1000) d = 2;
  if (xMax > 1000 && xMax <= 5000) d = 10;
  if (xMax > 5000) d = 20;
  auto trial = [&](double c) {
    for (int i = 1; i <= s.N; ++i) s.Values[i] = std::log(c / (x[i] + c));
    FitThroughFirstPoint(s);
    double sse = 0.0;
    for (int i = 1; i <= s.N; ++i) {
      const double e = fr[i] - (1.0 - std::exp(s.Slope * s.Values[i]));
      sse += e * e;
    }
    return sse;
  };
  double c = 0.0, best = 1'000'000.0, chosen = 0.0;
  Plain plain;
  for (int k = 1; k <= 2000; ++k) {
    c += d;
    const double sse = trial(c);
    plain.trialSSE.push_back(sse);
    if (sse < best) {
      best = sse;
      chosen = c;
    }
  }
  plain.sse = trial(chosen);
  plain.slope = s.Slope;
  plain.parameter = chosen;
  return plain;
}

Plain PlainBound(AnalysisState s, int code) {
  const std::vector<double> x = s.Values, fr = s.PlotFreq;
  for (int i = 1; i <= s.N; ++i) s.PlotFreq[i] = Ordinate(Kind::Frechet, fr[i]);
  const double r = x[s.N] - x[1];
  double bound = 0.0;
  auto trial = [&](int j) {
    double c = code == 58 ? x[1] - 0.01 * r * j : x[s.N] + 0.01 * r * j;
    for (int i = 1; i <= s.N; ++i) {
      if (code == 58) {
        if (x[i] - c <= 0) c = x[i] - 0.001;
        s.Values[i] = std::log(x[i] - c);
      } else {
        if (c - x[i] <= 0) c = x[i] + 0.001;
        s.Values[i] = std::log(c - x[i]);
      }
    }
    bound = c;
    FitLine(s);
    return SingleSSE(s, fr, Kind::Frechet, s.MeanY - s.Slope * s.MeanX, s.Slope);
  };
  double best = 1'000'000.0;
  int chosen = 1;
  Plain plain;
  for (int j = 1; j <= (code == 58 ? 10000 : 100000); ++j) {
    plain.trials = j;
    const double sse = trial(j);
    if (!(sse < best)) break;
    best = sse;
    chosen = j;
  }
  plain.sse = trial(chosen);
  plain.slope = s.Slope;
  plain.intercept = s.MeanY - s.Slope * s.MeanX;
  plain.parameter = bound;
  return plain;
}

struct PlainPieces {
  double sse = 1'000'000.0;
  double slopeLow = 0, interceptLow = 0, slopeHigh = 0, interceptHigh = 0, breakValue = 0;
  int nBelow = 0;
};

PlainPieces PlainTwoPiece(AnalysisState s, Kind low, Kind high) {
  const std::vector<double> fr = s.PlotFreq;
  const double d = (s.Values[s.N] - s.Values[1]) / 50;
  PlainPieces best;
  s.TrialBreak = s.Values[1];
  for (int j = 1; j <= 49; ++j) {
    s.TrialBreak = s.TrialBreak + d;
    int above = 0;
    for (int i = 1; i <= s.N; ++i) above += s.Values[i] > s.TrialBreak;
    s.NBelow = s.N - above;
    if (s.NBelow < 3 || above < 3) continue;
    for (int i = 1; i <= s.N; ++i) {
      s.PlotFreq[i] = Ordinate(s.Values[i] > s.TrialBreak ? high : low, fr[i]);
    }
    FitLowerPiece(s);
    const double sl = s.Slope, il = s.Intercept;
    double sseLow = 0.0;
    for (int i = 1; i <= s.NBelow; ++i) {
      const double e = fr[i] - PieceFc(low, il + sl * s.Values[i]);
      sseLow += e * e;
    }
    FitUpperPiece(s);
    double sseHigh = 0.0;
    for (int i = s.NBelow + 1; i <= s.N; ++i) {
      const double e = fr[i] - PieceFc(high, s.Intercept + s.Slope * s.Values[i]);
      sseHigh += e * e;
    }
    if (sseLow + sseHigh < best.sse) {
      best = {sseLow + sseHigh, sl, il, s.Slope, s.Intercept, s.TrialBreak, s.NBelow};
    }
  }
  return best;
}

// Hastings on |u|, mirrored below 0: F(u) = 1 - F(-u).
double Hastings(double u) {
  const double a = std::fabs(u);
  const double t = 1 / (1 + 0.23165 * a);
  const double p = 0.31938 * t - 0.35656 * (t * t) + 1.78148 * (t * t * t) -
                   1.82126 * (t * t * t * t) + 1.33027 * (t * t * t * t * t);
  const double tail = std::exp(-(a * a) / 2) / std::sqrt(2 * std::numbers::pi) * p;
  return u >= 0 ? 1 - tail : tail;
}

// σ search on x′ = transform(X): {σ, SSE}.
template <typename F>
Plain PlainSigma(const AnalysisState& s, F transform) {
  double sum = 0.0, squares = 0.0;
  for (int i = 1; i <= s.N; ++i) {
    sum += transform(s.Values[i]);
    squares += transform(s.Values[i]) * transform(s.Values[i]);
  }
  const double mean = sum / s.N;
  const double sd = std::sqrt((squares - sum * sum / s.N) / (s.N - 1));
  Plain plain;
  for (int k = 1; k <= 201; ++k) {
    const double sigma = (k + 99) * sd / 200;
    double sse = 0.0;
    for (int i = 1; i <= s.N; ++i) {
      const double e = s.PlotFreq[i] - Hastings((transform(s.Values[i]) - mean) / sigma);
      sse += e * e;
    }
    if (k == 1 || sse < plain.sse) {
      plain.sse = sse;
      plain.parameter = sigma;
    }
  }
  return plain;
}

// --- Two series: one with ties and a long upper tail, one shifted --------------------

std::vector<double> TiedSeries() {
  std::vector<double> values;
  for (int i = 1; i <= 60; ++i) {
    const double fr = (i - 0.44) / 60.12;
    values.push_back(std::round((20.0 - 4.0 * std::log(-std::log(fr))) * 10.0) / 10.0);
  }
  return values;
}

std::vector<double> ShiftedSeries() {
  // As preparation leaves data whose smallest value was 0: smallest 0.0001.
  std::vector<double> values;
  for (int i = 0; i < 45; ++i) values.push_back(0.0001 + std::exp(0.05 * i) - 1.0 + (i % 3) * 0.2);
  std::sort(values.begin(), values.end());
  return values;
}

class AgreesWithPlainEvaluation : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    state = PreparedState(GetParam() == 0 ? TiedSeries() : ShiftedSeries());
    prepared = state;
    ScriptedInteraction ui;
    FitDistributions(state, "1", testing::NoticesTo(ui, 2));
    for (const Candidate& c : state.Candidates) byCode[c.code] = c;
  }

  AnalysisState state;
  AnalysisState prepared;
  Candidate byCode[kCodeArraySize];
};

TEST_P(AgreesWithPlainEvaluation, ExponentScans) {
  const std::pair<int, Kind> codes[] = {{2, Kind::Power},     {3, Kind::Exponential},
                                        {51, Kind::Gumbel},   {52, Kind::Mirrored},
                                        {55, Kind::Logistic}, {60, Kind::Weibull}};
  for (const auto& [code, kind] : codes) {
    const Plain plain = PlainExponentScan(prepared, code, kind);
    EXPECT_SAME_BITS(state.ExpE[code], plain.parameter) << code;
    EXPECT_SAME_BITS(byCode[code].slope, plain.slope) << code;
    EXPECT_SAME_BITS(byCode[code].intercept, plain.intercept) << code;
    if (byCode[code].sse != 1000.0) {  // not taken out by the near-linear rule
      EXPECT_SAME_BITS(byCode[code].sse, plain.sse) << code;
    }
  }
}

TEST_P(AgreesWithPlainEvaluation, EveryTrialOfThePreferredScan) {
  const std::pair<int, Kind> codes[] = {{3, Kind::Exponential},
                                        {51, Kind::Gumbel},
                                        {52, Kind::Mirrored},
                                        {55, Kind::Logistic},
                                        {60, Kind::Weibull}};
  for (const auto& [code, kind] : codes) {
    AnalysisState preferred = prepared;
    ScriptedInteraction ui;
    FitDistributions(preferred, std::to_string(code), testing::NoticesTo(ui, 2));
    const Plain plain = PlainExponentScan(prepared, code, kind);
    for (int k = 1; k <= 280; ++k) EXPECT_SAME_BITS(preferred.ScanSSE[k], plain.trialSSE[k]);
    EXPECT_EQ(preferred.Code, code);
    EXPECT_SAME_BITS(preferred.Slope, plain.slope) << code;
    EXPECT_SAME_BITS(preferred.Intercept, plain.intercept) << code;
  }
  AnalysisState preferred = prepared;
  ScriptedInteraction ui;
  FitDistributions(preferred, "56", testing::NoticesTo(ui, 2));
  const Plain plain = PlainPareto(prepared);
  for (int k = 1; k <= 2000; ++k) EXPECT_SAME_BITS(preferred.ScanSSE[k], plain.trialSSE[k]);
}

TEST_P(AgreesWithPlainEvaluation, Lines) {
  const std::tuple<int, Kind, bool> codes[] = {{4, Kind::Gumbel, false},
                                               {5, Kind::Mirrored, false},
                                               {53, Kind::Logistic, false},
                                               {54, Kind::Logistic, true},
                                               {57, Kind::Weibull, true}};
  for (const auto& [code, kind, onLog] : codes) {
    const Plain plain = PlainLine(prepared, kind, onLog);
    EXPECT_SAME_BITS(byCode[code].slope, plain.slope) << code;
    EXPECT_SAME_BITS(byCode[code].intercept, plain.intercept) << code;
    EXPECT_SAME_BITS(byCode[code].sse, plain.sse) << code;
  }
}

TEST_P(AgreesWithPlainEvaluation, ParetoScan) {
  const Plain plain = PlainPareto(prepared);
  EXPECT_SAME_BITS(byCode[56].intercept, plain.parameter);
  EXPECT_SAME_BITS(byCode[56].slope, plain.slope);
  EXPECT_SAME_BITS(byCode[56].sse, plain.sse);
}

TEST_P(AgreesWithPlainEvaluation, BoundScans) {
  for (int code : {58, 59}) {
    const Plain plain = PlainBound(prepared, code);
    EXPECT_SAME_BITS(code == 58 ? state.LowerBoundC : state.UpperBoundC, plain.parameter);
    EXPECT_SAME_BITS(byCode[code].slope, plain.slope) << code;
    EXPECT_SAME_BITS(byCode[code].intercept, plain.intercept) << code;
    EXPECT_SAME_BITS(byCode[code].sse, plain.sse) << code;
    for (const ScanCount& scan : state.ScanCounts) {
      if (scan.code == code) {
        EXPECT_EQ(scan.trials, plain.trials) << code;
      }
    }
  }
}

TEST_P(AgreesWithPlainEvaluation, TwoPieceCodes) {
  const std::pair<Kind, Kind> kinds[] = {
      {Kind::Mirrored, Kind::Mirrored},    {Kind::Logistic, Kind::Logistic},
      {Kind::Gumbel, Kind::Gumbel},        {Kind::Mirrored, Kind::Logistic},
      {Kind::Mirrored, Kind::Gumbel},      {Kind::Gumbel, Kind::Logistic},
      {Kind::Gumbel, Kind::Mirrored},      {Kind::Logistic, Kind::Mirrored},
      {Kind::Logistic, Kind::Gumbel},      {Kind::Gumbel, Kind::Exponential},
      {Kind::Mirrored, Kind::Exponential}, {Kind::Logistic, Kind::Exponential}};
  for (int code = 7; code <= 18; ++code) {
    const PlainPieces plain =
        PlainTwoPiece(prepared, kinds[code - 7].first, kinds[code - 7].second);
    const Candidate& c = byCode[code];
    EXPECT_SAME_BITS(c.sse, plain.sse) << code;
    EXPECT_SAME_BITS(c.slopeLow, plain.slopeLow) << code;
    EXPECT_SAME_BITS(c.interceptLow, plain.interceptLow) << code;
    EXPECT_SAME_BITS(c.slopeHigh, plain.slopeHigh) << code;
    EXPECT_SAME_BITS(c.interceptHigh, plain.interceptHigh) << code;
    EXPECT_SAME_BITS(c.breakValue, plain.breakValue) << code;
    EXPECT_EQ(c.nBelow, plain.nBelow) << code;
  }
}

TEST_P(AgreesWithPlainEvaluation, NormalFamily) {
  const Plain plain[] = {PlainSigma(prepared, [](double x) { return x; }),
                         PlainSigma(prepared, [](double x) { return std::log(x); }),
                         PlainSigma(prepared, [](double x) { return x * x; }),
                         PlainSigma(prepared, [](double x) { return std::sqrt(x); })};
  for (int code = 21; code <= 24; ++code) {
    EXPECT_SAME_BITS(state.NormSigma[code], plain[code - 21].parameter) << code;
    EXPECT_SAME_BITS(state.NormSSE[code], plain[code - 21].sse) << code;
  }
}

TEST_P(AgreesWithPlainEvaluation, GeneralNormal) {
  AnalysisState general = prepared;
  ScriptedInteraction ui;
  FitDistributions(general, "25", testing::NoticesTo(ui, 2));
  double e = 0.19, best = 1'000'000.0, sigma = 0.0;
  int chosen = 0;
  for (int k = 1; k <= 280; ++k) {
    e += 0.01;
    const Plain search = PlainSigma(prepared, [e](double x) { return std::exp(e * std::log(x)); });
    if (search.sse < best) {
      best = search.sse;
      chosen = k;
      sigma = search.parameter;
    }
  }
  EXPECT_SAME_BITS(general.ExpE[25], 0.01 * chosen + 0.19);
  EXPECT_SAME_BITS(general.NormSigma[25], sigma);
}

TEST_P(AgreesWithPlainEvaluation, Student) {
  AnalysisState s = prepared;
  FitLine(s);
  double one = 0.0, two = 0.0;
  for (int i = 1; i <= s.N; ++i) {
    const double u = (s.Values[i] - s.MeanX) / s.StdDevX;
    const double a = s.PlotFreq[i] - (0.5 + std::atan(u) / std::numbers::pi);
    const double b = s.PlotFreq[i] - 0.5 * (1 + u / std::sqrt(2 + u * u));
    one += a * a;
    two += b * b;
  }
  EXPECT_SAME_BITS(byCode[62].sse, one);
  EXPECT_SAME_BITS(byCode[63].sse, two);
}

INSTANTIATE_TEST_SUITE_P(Series, AgreesWithPlainEvaluation, ::testing::Values(0, 1),
                         [](const auto& row) {
                           return std::string(row.param == 0 ? "Tied" : "Shifted");
                         });

}  // namespace
}  // namespace quilmor::engine
