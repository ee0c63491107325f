#include "engine/selection.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "engine/catalogue.hpp"
#include "engine/run_fit.hpp"
#include "engine_test_support.hpp"
#include "model_data.hpp"
#include "scripted_interaction.hpp"

namespace quilmor::engine {
namespace {

using quilmor::testing::ScriptedInteraction;
using testing::ExactTwoGumbel;
using testing::ExponentModel;
using testing::PreparedState;

// --- The choice among given candidates -----------------------------------------

struct PieceSpec {
  int code;
  double sse;
  int nBelow;
};

// Single candidates in the order of the selection, all with SSE 1 except
// those given, then the two-piece codes 7..18 with SSE 10 except those given.
std::vector<Candidate> Candidates(std::vector<std::pair<int, double>> singles,
                                  std::vector<PieceSpec> pieces) {
  std::vector<Candidate> list;
  for (int code : SingleSelectionOrder()) {
    Candidate c;
    c.code = code;
    c.sse = 1.0;
    c.slope = code;  // lets a test see whose line was kept
    for (const auto& [given, sse] : singles) {
      if (given == code) c.sse = sse;
    }
    list.push_back(c);
  }
  for (int code = 7; code <= 18; ++code) {
    Candidate c;
    c.code = code;
    c.sse = 10.0;
    c.nBelow = 20;
    for (const PieceSpec& p : pieces) {
      if (p.code == code) {
        c.sse = p.sse;
        c.nBelow = p.nBelow;
      }
    }
    list.push_back(c);
  }
  return list;
}

struct SelectionRow {
  const char* name;
  std::vector<std::pair<int, double>> singles;
  std::vector<PieceSpec> pieces;
  int n;
  bool allowed;
  int bestSingle;
  int code;
  bool found;
};

class SelectBestFitRule : public ::testing::TestWithParam<SelectionRow> {};

TEST_P(SelectBestFitRule, ChoosesAsTheRulesSay) {
  const SelectionRow& row = GetParam();
  const std::vector<Candidate> list = Candidates(row.singles, row.pieces);
  const Selection selection = SelectBestFit(list, row.n, row.allowed);
  EXPECT_EQ(selection.bestSingleCode, row.bestSingle);
  EXPECT_EQ(list[selection.singleIndex].code, row.bestSingle);
  EXPECT_EQ(selection.code, row.code);
  EXPECT_EQ(selection.breakPointFound, row.found);
}

// Best single SSE 0.5 (code 3) unless said otherwise; N = 40, so a break
// needs 5 < NBelow < 35.
INSTANTIATE_TEST_SUITE_P(
    Rows, SelectBestFitRule,
    ::testing::Values(
        SelectionRow{"EqualSinglesKeepNormal", {}, {}, 40, true, 21, 21, false},
        SelectionRow{"StrictlySmallerWins", {{56, 0.5}, {57, 0.5}}, {}, 40, true, 56, 56, false},
        SelectionRow{"LaterEqualStaysBehind", {{3, 0.5}, {63, 0.5}}, {}, 40, true, 3, 3, false},
        SelectionRow{"StudentCanWin", {{63, 0.2}}, {}, 40, true, 63, 63, false},
        SelectionRow{"PieceAt085NotTaken", {{3, 0.5}}, {{8, 0.425, 20}}, 40, true, 3, 3, false},
        SelectionRow{"PieceAtExactly08NotTaken", {{3, 0.5}}, {{8, 0.4, 20}}, 40, true, 3, 3, false},
        SelectionRow{"PieceAt07Taken", {{3, 0.5}}, {{8, 0.35, 20}}, 40, true, 3, 8, true},
        SelectionRow{"FiveBelowNotTaken", {{3, 0.5}}, {{8, 0.35, 5}}, 40, true, 3, 3, false},
        SelectionRow{"SixBelowTaken", {{3, 0.5}}, {{8, 0.35, 6}}, 40, true, 3, 8, true},
        SelectionRow{"NMinusFiveBelowNotTaken", {{3, 0.5}}, {{8, 0.35, 35}}, 40, true, 3, 3, false},
        SelectionRow{"NMinusSixBelowTaken", {{3, 0.5}}, {{8, 0.35, 34}}, 40, true, 3, 8, true},
        SelectionRow{"ElevenValuesNeverBreak",
                     {{3, 0.5}},
                     {{8, 0.01, 5}, {9, 0.01, 6}},
                     11,
                     true,
                     3,
                     3,
                     false},
        SelectionRow{
            "NotAllowedReturnsToSingle", {{3, 0.5}}, {{8, 0.35, 20}}, 40, false, 3, 3, true},
        SelectionRow{"LaterPieceMustBeatTheTakenOne",
                     {{3, 0.5}},
                     {{8, 0.3, 20}, {12, 0.35, 20}},
                     40,
                     true,
                     3,
                     8,
                     true},
        SelectionRow{"LaterBetterPieceReplaces",
                     {{3, 0.5}},
                     {{8, 0.35, 20}, {12, 0.3, 20}},
                     40,
                     true,
                     3,
                     12,
                     true}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(SelectBestFit, KeepsTheLineOfTheLastBestWithALine) {
  // 2 becomes the best, then 62 (no line) beats it: the line of 2 stays.
  const std::vector<Candidate> list = Candidates({{2, 0.5}, {62, 0.25}}, {});
  const Selection selection = SelectBestFit(list, 40, true);
  EXPECT_EQ(selection.bestSingleCode, 62);
  ASSERT_GE(selection.lineIndex, 0);
  EXPECT_EQ(list[selection.lineIndex].code, 2);
}

TEST(SelectBestFit, TwoPieceIndexNamesTheTakenCandidate) {
  const std::vector<Candidate> list = Candidates({{3, 0.5}}, {{15, 0.35, 20}});
  const Selection selection = SelectBestFit(list, 40, false);
  ASSERT_GE(selection.twoPieceIndex, 0);
  EXPECT_EQ(list[selection.twoPieceIndex].code, 15);
  EXPECT_EQ(selection.code, 3);
}

// --- Candidates without a fit never win ----------------------------------------

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// One field of one candidate spoilt, every other candidate as Candidates()
// makes them (SSE 1; the best single is then 21, the first).
struct SpoiltRow {
  const char* name;
  int code;
  double Candidate::*field;
  double value;
  std::vector<std::pair<int, double>> singles;
  std::vector<PieceSpec> pieces;
  int bestSingle;
  int code2;  // the result with the break point allowed
};

void PrintTo(const SpoiltRow& row, std::ostream* os) { *os << row.name; }

class UnusableCandidate : public ::testing::TestWithParam<SpoiltRow> {};

TEST_P(UnusableCandidate, LosesToEveryOther) {
  const SpoiltRow& row = GetParam();
  std::vector<Candidate> list = Candidates(row.singles, row.pieces);
  for (Candidate& c : list) {
    if (c.code == row.code) c.*row.field = row.value;
  }
  const Selection selection = SelectBestFit(list, 40, true);
  EXPECT_EQ(selection.bestSingleCode, row.bestSingle);
  EXPECT_EQ(selection.code, row.code2);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, UnusableCandidate,
    ::testing::Values(
        // The first candidate is the starting best only when it has a fit.
        SpoiltRow{"NaNFirstIsPassedOver", 21, &Candidate::sse, kNaN, {}, {}, 22, 22},
        SpoiltRow{"NoFitFirstIsPassedOver", 21, &Candidate::sse, 1'000'000.0, {}, {}, 22, 22},
        // Pareto with Slope = -inf at values near 1e-100: its SSE would win.
        SpoiltRow{"InfiniteSlopeLoses", 56, &Candidate::slope, -kInf, {{56, 0.1}}, {}, 21, 21},
        SpoiltRow{"NaNInterceptLoses", 4, &Candidate::intercept, kNaN, {{4, 0.1}}, {}, 21, 21},
        SpoiltRow{"InfiniteSSELoses", 3, &Candidate::sse, kInf, {}, {}, 21, 21},
        SpoiltRow{"NegativeInfiniteSSELoses", 3, &Candidate::sse, -kInf, {}, {}, 21, 21},
        SpoiltRow{"PieceWithNaNBreakNotTaken",
                  8,
                  &Candidate::breakValue,
                  kNaN,
                  {{3, 0.5}},
                  {{8, 0.35, 20}},
                  3,
                  3},
        SpoiltRow{"PieceWithInfiniteSlopeNotTaken",
                  9,
                  &Candidate::slopeHigh,
                  kInf,
                  {{3, 0.5}},
                  {{9, 0.35, 20}},
                  3,
                  3}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(SelectBestFit, NoUsableSingleFunctionIsNoFit) {
  std::vector<Candidate> list = Candidates({}, {{8, 0.35, 20}});
  for (Candidate& c : list) {
    if (!IsTwoPieceCode(c.code)) c.sse = kNaN;
  }
  const Selection selection = SelectBestFit(list, 40, true);
  EXPECT_EQ(selection.code, 0);
  EXPECT_EQ(selection.bestSingleCode, 0);
  EXPECT_EQ(selection.twoPieceIndex, -1);
}

// --- Whole fits --------------------------------------------------------------

// Candidate order of the selection.
std::vector<int> SelectionOrder() {
  std::vector<int> codes = {21, 22, 23, 24, 2, 3, 4, 5};
  for (int code = 51; code <= 60; ++code) codes.push_back(code);
  codes.push_back(62);
  codes.push_back(63);
  for (int code = 7; code <= 18; ++code) codes.push_back(code);
  return codes;
}

class BestOfAll : public ::testing::Test {
 protected:
  void Fit(const std::vector<double>& values, bool allowed = false) {
    state = PreparedState(values);
    state.BreakPointAllowed = allowed;
    state.BusyNoticePending = true;
    FitDistributions(state, "1", ui);
  }

  AnalysisState state;
  ScriptedInteraction ui;
};

TEST_F(BestOfAll, RecordsTheCandidatesInTheOrderOfTheSelection) {
  Fit(ExponentModel(Transform::Gumbel, 1.4, 30).values);
  std::vector<int> codes;
  for (const Candidate& c : state.Candidates) codes.push_back(c.code);
  EXPECT_EQ(codes, SelectionOrder());
  for (int code = 21; code <= 24; ++code) {
    EXPECT_EQ(state.Candidates[code - 21].sse, state.NormSSE[code]) << code;
  }
}

TEST_F(BestOfAll, CountsTheTrialsOfEveryScanInFittingOrder) {
  Fit(ExponentModel(Transform::Gumbel, 1.4, 30).values);
  std::vector<int> codes;
  for (const ScanCount& scan : state.ScanCounts) codes.push_back(scan.code);
  const std::vector<int> expected = {2,  3,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17,
                                     18, 51, 52, 55, 56, 58, 59, 60, 21, 22, 23, 24};
  EXPECT_EQ(codes, expected);
  for (const ScanCount& scan : state.ScanCounts) {
    if (IsTwoPieceCode(scan.code)) {
      EXPECT_EQ(scan.trials, 49);
    } else if (scan.code == 56) {
      EXPECT_EQ(scan.trials, 2000);
    } else if (scan.code == 58) {
      EXPECT_GE(scan.trials, 1);
      EXPECT_LE(scan.trials, 10000);
    } else if (scan.code == 59) {
      EXPECT_GE(scan.trials, 1);
      EXPECT_LE(scan.trials, 100000);
    } else if (scan.code >= 21 && scan.code <= 24) {
      EXPECT_EQ(scan.trials, 201);
    } else {
      EXPECT_EQ(scan.trials, 280) << scan.code;
    }
  }
}

TEST_F(BestOfAll, NearLinearGeneralisedGumbelCountsAs1000) {
  // An exact Gumbel series: the generalised Gumbel ends with E = 1.00 and
  // leaves the comparison to the plain Gumbel, which fits exactly.
  Fit(ExponentModel(Transform::Gumbel, 1.0, 40).values);
  EXPECT_EQ(state.ExpE[51], 1.0);
  EXPECT_EQ(state.Candidates[8].code, 51);
  EXPECT_EQ(state.Candidates[8].sse, 1000.0);
  EXPECT_EQ(state.Code, 4);
}

TEST_F(BestOfAll, LeavesThePreparedValuesAsTheyWere) {
  const std::vector<double> values = ExponentModel(Transform::Logistic, 0.8, 25).values;
  Fit(values);
  const AnalysisState prepared = PreparedState(values);
  for (int i = 1; i <= state.N; ++i) {
    EXPECT_EQ(state.Values[i], prepared.Values[i]);
    EXPECT_EQ(state.PlotFreq[i], prepared.PlotFreq[i]);
  }
  EXPECT_EQ(state.StdDevX, state.NormStdDev[21]);
  EXPECT_EQ(state.FitStdDev, state.NormSigma[21]);
}

TEST_F(BestOfAll, AllowedBreakPointTakesTheTwoPieceFunction) {
  Fit(ExactTwoGumbel().values, true);
  EXPECT_EQ(state.Code, 9);
  EXPECT_TRUE(state.BreakPointFound);
  EXPECT_EQ(state.BreakIndex, 32);
  EXPECT_EQ(state.BreakValue, state.Candidates[20 + 2].breakValue);  // code 9
  EXPECT_EQ(state.SlopeLow, state.Candidates[22].slopeLow);
}

TEST_F(BestOfAll, BreakPointNotAllowedReturnsToTheBestSingleFunction) {
  Fit(ExactTwoGumbel().values, false);
  EXPECT_TRUE(state.BreakPointFound);
  EXPECT_FALSE(IsTwoPieceCode(state.Code));
  // The two-piece fields hold the function found, though it is not used.
  EXPECT_EQ(state.BreakIndex, 32);
  EXPECT_EQ(state.SlopeHigh, state.Candidates[22].slopeHigh);
}

TEST_F(BestOfAll, AllowedButNoneQualifies) {
  // With eleven values no break leaves more than five on each side, however
  // well two pieces fit.
  Fit(ExactTwoGumbel().values, true);
  ASSERT_TRUE(state.BreakPointFound);  // forty values: the break is found
  Fit({1, 2, 3, 4, 5, 6, 7, 8, 9, 20, 40}, true);
  EXPECT_FALSE(state.BreakPointFound);
  EXPECT_FALSE(IsTwoPieceCode(state.Code));
}

std::vector<double> Spread(int n) {
  std::vector<double> values;
  for (int i = 1; i <= n; ++i) values.push_back(10.0 + 3.0 * i / n + (i % 7) * 0.01);
  std::sort(values.begin(), values.end());
  return values;
}

TEST_F(BestOfAll, MoreThan200ValuesShowTheBusyNoticeOnce) {
  Fit(Spread(201));
  ASSERT_EQ(ui.progress.size(), 1u);
  EXPECT_EQ(ui.progress[0], " Still busy ....");
  EXPECT_FALSE(state.BusyNoticePending);
}

TEST_F(BestOfAll, TwoHundredValuesShowNoNotice) {
  Fit(Spread(200));
  EXPECT_TRUE(ui.progress.empty());
  EXPECT_TRUE(state.BusyNoticePending);
}

TEST_F(BestOfAll, NoNoticeWhenItIsNoLongerPending) {
  state = PreparedState(Spread(201));
  state.BusyNoticePending = false;
  FitDistributions(state, "1", ui);
  EXPECT_TRUE(ui.progress.empty());
}

TEST_F(BestOfAll, HugeValuesLeaveOnlyTheFitsThatCanBeComputed) {
  // X² of 1e120 is 1e240, whose square overflows: the square-normal has no
  // σ and keeps out of the comparison; the fit still ends with a usable code.
  std::vector<double> values;
  for (int i = 1; i <= 30; ++i) values.push_back(1e120 * (1.0 + i * i / 100.0));
  Fit(values);
  EXPECT_FALSE(state.StopFlag);
  EXPECT_EQ(state.Candidates[2].code, 23);
  EXPECT_EQ(state.Candidates[2].sse, 1'000'000.0);
  const Candidate* chosen = nullptr;
  for (const Candidate& c : state.Candidates) {
    if (c.code == state.Code) chosen = &c;
  }
  ASSERT_NE(chosen, nullptr);
  EXPECT_TRUE(std::isfinite(chosen->sse));
  EXPECT_LT(chosen->sse, 1.0);
}

// --- Preferences ------------------------------------------------------------------

TEST(Preference, NamedFunctionIsFittedEvenWhenAnotherFitsBetter) {
  // An exact Gumbel series: best of all takes 4, the preference 57.
  AnalysisState state = PreparedState(ExponentModel(Transform::Gumbel, 1.0, 30).values);
  ScriptedInteraction ui;
  FitDistributions(state, "57", ui);
  EXPECT_EQ(state.Code, 57);
  EXPECT_TRUE(state.Candidates.empty());
  EXPECT_TRUE(ui.progress.empty());
}

TEST(Preference, TextsOutsideTheListFitNothing) {
  for (const char* text : {"2", "7", "61", "051", "abc", ""}) {
    AnalysisState state = PreparedState({1, 2, 4, 7, 8});
    state.Code = 77;
    ScriptedInteraction ui;
    FitDistributions(state, text, ui);
    EXPECT_EQ(state.Code, 77) << text;
    EXPECT_FALSE(state.StopFlag) << text;
    EXPECT_TRUE(state.ScanCounts.empty()) << text;
  }
}

TEST(Preference, StudentTakesTwoDegreesOnlyWhenStrictlyBetter) {
  for (const std::vector<double>& values :
       {std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8, 9, 30},
        std::vector<double>{1, 1.5, 1.7, 2, 2.1, 2.2, 2.3, 2.5, 3.5, 4}}) {
    AnalysisState state = PreparedState(values);
    ScriptedInteraction ui;
    FitDistributions(state, "62", ui);
    // By hand: m the mean, s the sample standard deviation.
    const double n = static_cast<double>(values.size());
    double sum = 0.0;
    for (double v : values) sum += v;
    const double m = sum / n;
    double ss = 0.0;
    for (double v : values) ss += (v - m) * (v - m);
    const double s = std::sqrt(ss / (n - 1.0));
    double sseOne = 0.0, sseTwo = 0.0;
    for (std::size_t i = 0; i < values.size(); ++i) {
      const double fr = (i + 1.0) / (n + 1.0);
      const double u = (values[i] - m) / s;
      sseOne += std::pow(fr - (0.5 + std::atan(u) / M_PI), 2);
      sseTwo += std::pow(fr - 0.5 * (1.0 + u / std::sqrt(2.0 + u * u)), 2);
    }
    ASSERT_GT(std::fabs(sseOne - sseTwo), 1e-9);  // the data decide clearly
    EXPECT_EQ(state.Code, sseTwo < sseOne ? 63 : 62);
  }
}

TEST(Preference, NoSpreadStopsBeforeAnyFit) {
  AnalysisState state = PreparedState({4, 4, 4, 4});
  state.Code = 5;
  ScriptedInteraction ui;
  FitDistributions(state, "1", ui);
  EXPECT_TRUE(state.StopFlag);
  EXPECT_EQ(state.Code, 5);
  EXPECT_TRUE(state.Candidates.empty());
}

// Values near 1e-100: the Pareto abscissae ln(C/(X + C)) are all 0, so its
// line through the first point has Slope = -inf (0/0 and x/0 on the way).
// Whatever the preference, the run either stops or ends with finite
// parameters.
std::vector<double> TinyValues() {
  return {3e-100, 5e-100, 7e-100, 18e-100, 43e-100, 85e-100, 91e-100, 98e-100, 1e-98, 1.3e-98};
}

bool FitIsFinite(const AnalysisState& s) {
  const auto c = static_cast<std::size_t>(s.Code);
  bool finite = std::isfinite(s.Slope) && std::isfinite(s.Intercept);
  if (IsNormalFamilyCode(s.Code)) {
    finite = std::isfinite(s.NormMean[c]) && std::isfinite(s.NormSigma[c]);
  }
  if (s.Code == 62 || s.Code == 63) finite = std::isfinite(s.MeanX) && std::isfinite(s.StdDevX);
  if (s.Code == 58) finite = finite && std::isfinite(s.LowerBoundC);
  if (s.Code == 59) finite = finite && std::isfinite(s.UpperBoundC);
  return finite && std::isfinite(s.ExpE[c]);
}

class TinyValuesFit : public ::testing::TestWithParam<const char*> {};

TEST_P(TinyValuesFit, StopsOrLeavesFiniteParameters) {
  AnalysisState state = PreparedState(TinyValues());
  ScriptedInteraction ui;
  FitDistributions(state, GetParam(), ui);
  EXPECT_TRUE(state.StopFlag || FitIsFinite(state)) << "code " << state.Code;
}

INSTANTIATE_TEST_SUITE_P(EveryPreference, TinyValuesFit,
                         ::testing::Values("1", "3", "4", "5", "21", "22", "23", "24", "25", "51",
                                           "52", "53", "54", "55", "56", "57", "58", "59", "60",
                                           "62"));

TEST(Preference, ParetoWithAnInfiniteSlopeStops) {
  AnalysisState state = PreparedState(TinyValues());
  ScriptedInteraction ui;
  FitDistributions(state, "56", ui);
  EXPECT_TRUE(std::isinf(state.Slope));  // what the fit gives
  EXPECT_TRUE(state.StopFlag);           // and so the run stops
}

TEST_F(BestOfAll, ParetoWithAnInfiniteSlopeIsNotChosen) {
  Fit(TinyValues());
  ASSERT_FALSE(state.StopFlag);
  EXPECT_NE(state.Code, 56);
  EXPECT_TRUE(FitIsFinite(state)) << "code " << state.Code;
}

// --- The cores never show in a result ---------------------------------------------

void ExpectSameState(const AnalysisState& a, const AnalysisState& b) {
  EXPECT_EQ(a.Code, b.Code);
  EXPECT_EQ(a.StopFlag, b.StopFlag);
  EXPECT_EQ(a.BreakPointFound, b.BreakPointFound);
  EXPECT_EQ(a.BreakIndex, b.BreakIndex);
  EXPECT_EQ(a.NBelow, b.NBelow);
  for (double AnalysisState::*field :
       {&AnalysisState::Slope, &AnalysisState::Intercept, &AnalysisState::MeanY,
        &AnalysisState::MeanX, &AnalysisState::Sxx, &AnalysisState::StdDevX,
        &AnalysisState::FitStdDev, &AnalysisState::LowerBoundC, &AnalysisState::UpperBoundC,
        &AnalysisState::SlopeLow, &AnalysisState::InterceptLow, &AnalysisState::SlopeHigh,
        &AnalysisState::InterceptHigh, &AnalysisState::BreakValue, &AnalysisState::TrialBreak}) {
    EXPECT_SAME_BITS(a.*field, b.*field);
  }
  for (int c = 0; c < kCodeArraySize; ++c) {
    EXPECT_SAME_BITS(a.ExpE[c], b.ExpE[c]);
    EXPECT_SAME_BITS(a.NormMean[c], b.NormMean[c]);
    EXPECT_SAME_BITS(a.NormSigma[c], b.NormSigma[c]);
    EXPECT_SAME_BITS(a.NormSSE[c], b.NormSSE[c]);
    EXPECT_SAME_BITS(a.NormStdDev[c], b.NormStdDev[c]);
  }
  for (std::size_t i = 0; i < a.Values.size(); ++i) {
    EXPECT_SAME_BITS(a.Values[i], b.Values[i]);
    EXPECT_SAME_BITS(a.PlotFreq[i], b.PlotFreq[i]);
    EXPECT_SAME_BITS(a.CalcFreq[i], b.CalcFreq[i]);
  }
  for (std::size_t k = 0; k < a.ScanSSE.size(); ++k) EXPECT_SAME_BITS(a.ScanSSE[k], b.ScanSSE[k]);
  for (std::size_t k = 0; k < a.SigmaBest.size(); ++k) {
    EXPECT_SAME_BITS(a.SigmaBest[k], b.SigmaBest[k]);
  }
  ASSERT_EQ(a.Candidates.size(), b.Candidates.size());
  for (std::size_t i = 0; i < a.Candidates.size(); ++i) {
    const Candidate& x = a.Candidates[i];
    const Candidate& y = b.Candidates[i];
    EXPECT_EQ(x.code, y.code);
    EXPECT_EQ(x.nBelow, y.nBelow);
    for (double Candidate::*field :
         {&Candidate::sse, &Candidate::slope, &Candidate::intercept, &Candidate::slopeLow,
          &Candidate::interceptLow, &Candidate::slopeHigh, &Candidate::interceptHigh,
          &Candidate::breakValue}) {
      EXPECT_SAME_BITS(x.*field, y.*field) << x.code;
    }
  }
  ASSERT_EQ(a.ScanCounts.size(), b.ScanCounts.size());
  for (std::size_t i = 0; i < a.ScanCounts.size(); ++i) {
    EXPECT_EQ(a.ScanCounts[i].code, b.ScanCounts[i].code);
    EXPECT_EQ(a.ScanCounts[i].trials, b.ScanCounts[i].trials);
  }
}

class ThreadCount : public ::testing::TestWithParam<const char*> {};

TEST_P(ThreadCount, SameStateOnOneTwoAndThreeCores) {
  // A lopsided series with ties, fitted with the break point allowed.
  std::vector<double> values;
  for (int i = 1; i <= 300; ++i) {
    const double fr = (i - 0.44) / 300.12;
    values.push_back(std::round((20.0 - 4.0 * std::log(-std::log(fr))) * 10.0) / 10.0);
  }
  std::sort(values.begin(), values.end());
  AnalysisState states[3];
  for (int t = 0; t < 3; ++t) {
    states[t] = PreparedState(values);
    states[t].BreakPointAllowed = true;
    states[t].BusyNoticePending = true;
    ScriptedInteraction ui;
    FitDistributions(states[t], GetParam(), ui, FitOptions{t + 1});
  }
  ExpectSameState(states[0], states[1]);
  ExpectSameState(states[0], states[2]);
}

INSTANTIATE_TEST_SUITE_P(Preferences, ThreadCount, ::testing::Values("1", "25", "58", "59"),
                         [](const auto& row) { return std::string("Pref") + row.param; });

}  // namespace
}  // namespace quilmor::engine
