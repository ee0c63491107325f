// Every code's forward and inverse at the ends of the double range, with the
// parameters a fit of the Wabash peak flows gives that code: no NaN where the
// function has a value, the calculator's frequency within [0, 1], the forward
// never falling, and a huge X at the right end of the frequencies instead of
// an overflow artefact.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "calculator/calculator.hpp"
#include "engine/break_point.hpp"
#include "engine/catalogue.hpp"
#include "engine/fit_data.hpp"
#include "engine/fit_series.hpp"
#include "engine/model.hpp"
#include "textio/value_file.hpp"

namespace quilmor::engine {
namespace {

constexpr double kHuge = 1e308;
constexpr double kTiny = 1e-308;
// The X points and the frequencies, ascending.
const std::vector<double> kXs = {-kHuge, -kTiny, 0.0, kTiny, kHuge};
const std::vector<double> kFreqs = {0.0, 1e-300, 0.5, 1.0 - 1e-16, 1.0};
// Far beyond the data the frequency is at its right end: 1 in every code
// but the two-piece ones that end below it on their upper line's limit.
constexpr double kRightEnd = 0.999;
// Hastings' approximation steps by 3.3e-6 at u = 0, where its two halves
// meet; the other forms take their inverse back to the last digits.
constexpr double kRoundTrip = 1e-5;

std::vector<double> Wabash() {
  const textio::ValueFile file = textio::ReadValueFile(
      std::string(QUILMOR_SOURCE_DIR) + "/data/examples/wabash_annual_peak_flow.txt");
  std::vector<double> values;
  for (const textio::ValueRow& row : file.rows) {
    if (row.value) values.push_back(*row.value);
  }
  std::sort(values.begin(), values.end());
  return values;
}

// The pieces of a two-piece code at the break of the smallest SSE, as the
// break scan chooses it.
Parameters TwoPieceFit(int code, const std::vector<double>& ranked) {
  AnalysisState state;
  state.N = static_cast<int>(ranked.size());
  for (int i = 1; i <= state.N; ++i) {
    state.Values[i] = ranked[i - 1];
    state.PlotFreq[i] = static_cast<double>(i) / (state.N + 1);
  }
  const FitData data = FitData::FromState(state);
  Parameters p;
  p.Code = code;
  double best = 0.0;
  for (const double breakValue : BreakGrid(ranked.front(), ranked.back())) {
    const PieceTrial trial = TwoPieceTrial(code, data, breakValue);
    if (!trial.used || !std::isfinite(trial.sse) || (p.P != 0.0 && trial.sse >= best)) continue;
    best = trial.sse;
    p.As = trial.slopeLow;
    p.Bs = trial.interceptLow;
    p.Ag = trial.slopeHigh;
    p.Bg = trial.interceptHigh;
    p.P = breakValue;
  }
  EXPECT_NE(p.P, 0.0) << code;
  return p;
}

// The parameters of `code` fitted to the Wabash flows (no shift: all flows
// are positive), by the preference for a code that can be preferred.
Parameters FittedParameters(int code) {
  static const std::vector<double> ranked = Wabash();
  if (IsTwoPieceCode(code)) return TwoPieceFit(code, ranked);
  std::vector<textio::InputRow> rows;
  for (std::size_t i = 0; i < ranked.size(); ++i) {
    rows.push_back({static_cast<int>(i + 1), ranked[i]});
  }
  FitRequest request;
  request.preference = std::to_string(code);
  request.options.threads = 1;
  const FitResult fit = FitSeries(PrepareData(rows, 0.0), request);
  EXPECT_FALSE(fit.Stopped) << code;
  Parameters p = fit.Fit;
  p.Code = code;
  return p;
}

struct CodeCase {
  int code;
  Parameters p;
};

void PrintTo(const CodeCase& row, std::ostream* out) {
  const Parameters& p = row.p;
  *out << "code " << row.code << " A " << p.A << " B " << p.B << " E " << p.E << " C " << p.C
       << " M " << p.M << " D " << p.D << " As " << p.As << " Bs " << p.Bs << " Ag " << p.Ag
       << " Bg " << p.Bg << " P " << p.P << " S " << p.S;
}

std::vector<CodeCase> FittedCodes() {
  std::vector<CodeCase> rows;
  for (const CodeInfo& row : Catalogue()) {
    if (row.freq == nullptr) continue;
    if (!IsPreferenceCode(row.code) && !IsTwoPieceCode(row.code)) continue;
    rows.push_back({row.code, FittedParameters(row.code)});
  }
  return rows;
}

// The forward at x, on the piece the calculator takes there.
double Forward(const Parameters& p, double x) {
  FreqContext context;
  context.upperPiece = x > p.P;
  return ModelFreq(p, x, context);
}

// The piece the calculator takes for an inverse at f.
bool UpperPieceOf(const Parameters& p, double f) {
  return IsTwoPieceCode(p.Code) && f > UpperPieceFreqAtBreak(p);
}

double Inverse(const Parameters& p, double f) {
  InverseContext context;
  context.upperPiece = UpperPieceOf(p, f);
  return ModelInverse(p, f, context);
}

class ModelExtremes : public ::testing::TestWithParam<CodeCase> {};

TEST_P(ModelExtremes, ForwardRisesToTheRightEnd) {
  const Parameters& p = GetParam().p;
  double previous = -1.0;
  for (const double x : kXs) {
    SCOPED_TRACE(::testing::Message() << "x = " << x);
    const double f = Forward(p, x);
    ASSERT_FALSE(std::isnan(f));
    EXPECT_GE(f, previous);
    previous = f;
    // What the calculator shows: a frequency, or no value beyond a bound.
    const double shown = calculator::CalcFrequent(p, x, 116).CalcFreqValue;
    if (std::isnan(shown)) {
      EXPECT_NE(CodeRow(p.Code).bound, Bound::None);
    } else {
      EXPECT_GE(shown, 0.0);
      EXPECT_LE(shown, 1.0);
    }
  }
  EXPECT_GT(Forward(p, kHuge), kRightEnd);
}

TEST_P(ModelExtremes, InverseHasAValueWithinTheForwardsRange) {
  const Parameters& p = GetParam().p;
  // The frequencies the function takes between the ends of its domain.
  const double lowest = Forward(p, -kHuge);
  const double highest = Forward(p, kHuge);
  double previous = -std::numeric_limits<double>::infinity();
  for (const double f : kFreqs) {
    SCOPED_TRACE(::testing::Message() << "F = " << f);
    const double x = Inverse(p, f);
    if (f < lowest || f > highest) continue;  // no X has it: NaN is "no value"
    ASSERT_FALSE(std::isnan(x));
    // Strictly inside, some finite X has it: an infinite one is an overflow.
    if (f > lowest && f < highest) {
      EXPECT_TRUE(std::isfinite(x)) << x;
    }
    // F = 1 itself stands at 0.999 on the upper line of the clamped
    // two-piece codes, by the method's rule.
    if (f < 1.0) {
      EXPECT_GE(x, previous);
    }
    previous = x;
  }
  // Half-way the inverse is an ordinary number the forward of the same piece
  // takes back.
  const double median = Inverse(p, 0.5);
  ASSERT_TRUE(std::isfinite(median));
  FreqContext samePiece;
  samePiece.upperPiece = UpperPieceOf(p, 0.5);
  EXPECT_NEAR(ModelFreq(p, median, samePiece), 0.5, kRoundTrip);
}

INSTANTIATE_TEST_SUITE_P(Codes, ModelExtremes, ::testing::ValuesIn(FittedCodes()),
                         [](const auto& row) { return "Code" + std::to_string(row.param.code); });

}  // namespace
}  // namespace quilmor::engine
