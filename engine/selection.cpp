#include "engine/selection.hpp"

#include <optional>
#include <string>

#include "engine/bound_scans.hpp"
#include "engine/break_point.hpp"
#include "engine/catalogue.hpp"
#include "engine/exponent_scan.hpp"
#include "engine/fit_data.hpp"
#include "engine/line_fit.hpp"
#include "engine/normal_family.hpp"
#include "engine/pareto_scan.hpp"
#include "engine/run_fit.hpp"
#include "engine/scan_choice.hpp"
#include "engine/single_fits.hpp"
#include "engine/workers.hpp"
#include "textio/number_parse.hpp"

namespace quilmor::engine {

bool HasLine(int code) { return (code >= 2 && code <= 5) || (code >= 51 && code <= 60); }

Selection SelectBestFit(const std::vector<Candidate>& candidates, int n, bool breakPointAllowed) {
  Selection selection;
  if (candidates.empty()) return selection;
  // Best single function; on equal SSE the earlier candidate stays.
  double best = candidates[0].sse;
  selection.bestSingleCode = candidates[0].code;
  if (HasLine(candidates[0].code)) selection.lineIndex = 0;
  std::size_t i = 1;
  for (; i < candidates.size() && !IsTwoPieceCode(candidates[i].code); ++i) {
    if (candidates[i].sse < best) {
      best = candidates[i].sse;
      selection.singleIndex = static_cast<int>(i);
      selection.bestSingleCode = candidates[i].code;
      if (HasLine(candidates[i].code)) selection.lineIndex = static_cast<int>(i);
    }
  }
  // A two-piece function must beat the best so far, the limit, and leave
  // more than five values on each side.
  const double limit = kBreakPointFactor * best;
  int code = selection.bestSingleCode;
  for (; i < candidates.size(); ++i) {
    const Candidate& c = candidates[i];
    if (c.sse < best && c.sse < limit && c.nBelow > kMinValuesBesideBreak &&
        c.nBelow < n - kMinValuesBesideBreak) {
      best = c.sse;
      code = c.code;
      selection.twoPieceIndex = static_cast<int>(i);
    }
  }
  selection.breakPointFound = code != selection.bestSingleCode;
  selection.code = breakPointAllowed ? code : selection.bestSingleCode;
  return selection;
}

namespace {

constexpr const char* kBestOfAllPreference = "1";
// A best-of-all run on more than this many values says that it is still busy.
constexpr int kBusyNoticeAbove = 200;

// The code a preference text names, or 0 when it names none.
int PreferredCode(const std::string& prefCode) {
  const std::optional<int> code = textio::ParseInt(prefCode);
  if (!code || std::to_string(*code) != prefCode || !IsPreferenceCode(*code)) return 0;
  return *code;
}

// The SSE with which an exponent code enters the comparison.
double ComparedSSE(const AnalysisState& state, const Candidate& candidate) {
  return IsNearLinear(state.ExpE[candidate.code]) ? kNearLinearSSE : candidate.sse;
}

void FitPreferred(AnalysisState& state, const FitData& data, const Workers& workers, int code,
                  UserInteraction& ui) {
  if (IsExponentCode(code)) {
    FitExponentCode(state, data, ScanExponents(data, workers, {code}), code);
  } else if (IsLineCode(code)) {
    FitLineCode(state, data, code);
  } else if (code == 56) {
    FitPareto(state, data, workers);
  } else if (code == 58 || code == 59) {
    FitBoundCode(state, data, workers, code);
  } else if (code == 62) {
    FitStudent(state, data);
  } else if (IsNormalFamilyCode(code)) {
    state.Code = code;
    // Transformed values without spread have no σ: the run cannot go on.
    if (!FitNormalFamily(state, data, workers, ui)) state.StopFlag = true;
  }
}

void FitBestOfAll(AnalysisState& state, const FitData& data, const Workers& workers,
                  UserInteraction& ui) {
  // The exponent codes share the powers X^E of every trial.
  const ExponentScanTable exponents = ScanExponents(data, workers, {2, 3, 51, 52, 55, 60});
  Candidate fits[kCodeArraySize];
  auto keep = [&](const Candidate& c) { fits[c.code] = c; };

  keep(FitExponentCode(state, data, exponents, 2));
  keep(FitExponentCode(state, data, exponents, 3));
  keep(FitLineCode(state, data, 4));
  keep(FitLineCode(state, data, 5));
  const std::vector<Candidate> pieces = FitTwoPieceCodes(state, data, workers);
  keep(FitExponentCode(state, data, exponents, 51));
  keep(FitExponentCode(state, data, exponents, 52));
  keep(FitLineCode(state, data, 53));
  keep(FitLineCode(state, data, 54));
  keep(FitExponentCode(state, data, exponents, 55));
  keep(FitPareto(state, data, workers));
  keep(FitLineCode(state, data, 57));
  keep(FitBoundCode(state, data, workers, 58));
  keep(FitBoundCode(state, data, workers, 59));
  keep(FitExponentCode(state, data, exponents, 60));
  const StudentFit student = FitStudent(state, data);
  keep(student.oneDf);
  keep(student.twoDf);
  for (int code = 21; code <= 24; ++code) {
    state.Code = code;
    fits[code].code = code;
    // A code whose transformed values show no spread has no fit this run.
    fits[code].sse = FitNormalFamily(state, data, workers, ui) ? state.NormSSE[code] : kNoFitSSE;
  }

  if (state.N > kBusyNoticeAbove && state.BusyNoticePending) {
    ui.AppendProgress(kStillBusyNotice);
    state.BusyNoticePending = false;
  }

  // The candidates in the order of the selection.
  std::vector<Candidate>& candidates = state.Candidates;
  for (int code : kSingleSelectionOrder) {
    Candidate c = fits[code];
    if (IsExponentCode(code)) c.sse = ComparedSSE(state, c);
    candidates.push_back(c);
  }
  candidates.insert(candidates.end(), pieces.begin(), pieces.end());

  const Selection selection = SelectBestFit(candidates, state.N, state.BreakPointAllowed);
  state.Code = 21;
  state.FitStdDev = state.NormSigma[21];
  state.StdDevX = state.NormStdDev[21];
  state.Code = selection.bestSingleCode;
  if (selection.lineIndex >= 0) {
    state.Slope = candidates[selection.lineIndex].slope;
    state.Intercept = candidates[selection.lineIndex].intercept;
  }
  if (selection.twoPieceIndex >= 0) {
    const Candidate& piece = candidates[selection.twoPieceIndex];
    state.SlopeLow = piece.slopeLow;
    state.InterceptLow = piece.interceptLow;
    state.SlopeHigh = piece.slopeHigh;
    state.InterceptHigh = piece.interceptHigh;
    state.BreakValue = piece.breakValue;
    state.BreakIndex = piece.nBelow;
  }
  state.BreakPointFound = selection.breakPointFound;
  state.Code = selection.code;
}

}  // namespace

void FitDistributions(AnalysisState& state, const std::string& preference, UserInteraction& ui,
                      const FitOptions& options) {
  state.Candidates.clear();
  state.ScanCounts.clear();
  FitLine(state);
  if (state.StopFlag) return;
  state.PrefCode = preference.substr(0, kPrefCodeLength);

  const FitData data = FitData::FromState(state);
  const Workers workers(options.threads);
  if (state.PrefCode == kBestOfAllPreference) {
    FitBestOfAll(state, data, workers, ui);
    return;
  }
  if (const int code = PreferredCode(state.PrefCode)) FitPreferred(state, data, workers, code, ui);
}

}  // namespace quilmor::engine
