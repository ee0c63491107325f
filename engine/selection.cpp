#include "engine/selection.hpp"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <optional>
#include <string>

#include "engine/bound_scans.hpp"
#include "engine/break_point.hpp"
#include "engine/catalogue.hpp"
#include "engine/exponent_scan.hpp"
#include "engine/fit_data.hpp"
#include "engine/fit_series.hpp"
#include "engine/line_fit.hpp"
#include "engine/normal_family.hpp"
#include "engine/pareto_scan.hpp"
#include "engine/scan_choice.hpp"
#include "engine/single_fits.hpp"
#include "engine/workers.hpp"
#include "textio/number_parse.hpp"

namespace quilmor::engine {

bool HasLine(int code) {
  const CodeInfo* row = FindCode(code);
  return row != nullptr && HasLine(*row);
}

bool IsUsableCandidate(const Candidate& c) {
  if (!(c.sse < kNoFitSSE) || !std::isfinite(c.sse)) return false;
  if (!std::isfinite(c.slope) || !std::isfinite(c.intercept)) return false;
  if (!IsTwoPieceCode(c.code)) return true;
  return std::isfinite(c.slopeLow) && std::isfinite(c.interceptLow) && std::isfinite(c.slopeHigh) &&
         std::isfinite(c.interceptHigh) && std::isfinite(c.breakValue);
}

Selection SelectBestFit(const std::vector<Candidate>& candidates, int n, bool breakPointAllowed) {
  Selection selection;
  // The single functions come first; the first usable one is the starting best.
  std::size_t singles = 0;
  while (singles < candidates.size() && !IsTwoPieceCode(candidates[singles].code)) ++singles;
  std::size_t i = 0;
  while (i < singles && !IsUsableCandidate(candidates[i])) ++i;
  if (i == singles) return selection;  // no single function has a fit
  double best = candidates[i].sse;
  selection.singleIndex = static_cast<int>(i);
  selection.bestSingleCode = candidates[i].code;
  if (HasLine(candidates[i].code)) selection.lineIndex = static_cast<int>(i);
  // On equal SSE the earlier candidate stays.
  for (++i; i < singles; ++i) {
    if (IsUsableCandidate(candidates[i]) && candidates[i].sse < best) {
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
    if (IsUsableCandidate(c) && c.sse < best && c.sse < limit && c.nBelow > kMinValuesBesideBreak &&
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

// The parameters a preferred fit leaves in the state, as finite numbers.
bool PreferredFitIsFinite(const AnalysisState& state, int code) {
  const auto c = static_cast<std::size_t>(code);
  const CodeInfo& row = CodeRow(code);
  if (IsNormalFamilyCode(code)) {
    return std::isfinite(state.NormMean[c]) && std::isfinite(state.NormSigma[c]) &&
           std::isfinite(state.NormSSE[c]) && (!row.hasExponent || std::isfinite(state.ExpE[c]));
  }
  if (row.fit == FitMethod::Student) {
    return std::isfinite(state.MeanX) && std::isfinite(state.StdDevX);
  }
  if (ScansExponent(row) && !std::isfinite(state.ExpE[c])) return false;
  if (row.bound == Bound::Lower && !std::isfinite(state.LowerBoundC)) return false;
  if (row.bound == Bound::Upper && !std::isfinite(state.UpperBoundC)) return false;
  return true;
}

// The candidate of one code whose fit is its own (not a group's).
Candidate FitOneCode(AnalysisState& state, const FitData& data, const Workers& workers,
                     const ExponentScanTable* exponents, const CodeInfo& row) {
  const int code = row.code;
  switch (row.fit) {
    case FitMethod::Line:
      return FitLineCode(state, data, code);
    case FitMethod::ExponentScan:
      if (exponents) return FitExponentCode(state, data, *exponents, code);
      return FitExponentCode(state, data, ScanExponents(data, workers, {code}), code);
    case FitMethod::ParetoScan:
      return FitPareto(state, data, workers);
    case FitMethod::BoundScan:
      return FitBoundCode(state, data, workers, code);
    default:
      break;
  }
  assert(false && "not a code fitted on its own");
  return Candidate{code, kNoFitSSE};
}

void FitPreferred(AnalysisState& state, const FitData& data, const Workers& workers, int code,
                  const Notice& notice) {
  Candidate fit;
  const CodeInfo& row = CodeRow(code);
  if (row.fit == FitMethod::Student) {
    // Both forms are fitted; the one with the smaller SSE is kept.
    const StudentFit student = FitStudent(state, data);
    fit = state.Code == student.twoDf.code ? student.twoDf : student.oneDf;
  } else if (IsNormalFamilyCode(code)) {
    state.Code = code;
    // Transformed values without spread have no σ: the run cannot go on.
    if (!FitNormalFamily(state, data, workers, notice)) state.StopFlag = true;
    fit = Candidate{code, state.NormSSE[static_cast<std::size_t>(code)]};
  } else {
    fit = FitOneCode(state, data, workers, nullptr, row);
  }
  // A fit that overflowed (an SSE or a parameter that is not a finite
  // number) has nothing to report: the run cannot go on.
  if (!IsUsableCandidate(fit) || !PreferredFitIsFinite(state, code)) state.StopFlag = true;
}

// The codes of a best-of-all run in the order in which they are fitted; the
// order matters, because each fit leaves its by-products in the state.
std::vector<const CodeInfo*> BestOfAllFitOrder() {
  std::vector<const CodeInfo*> rows;
  for (const CodeInfo& row : Catalogue()) {
    if (row.fitOrder > 0) rows.push_back(&row);
  }
  std::sort(rows.begin(), rows.end(),
            [](const CodeInfo* a, const CodeInfo* b) { return a->fitOrder < b->fitOrder; });
  return rows;
}

// The plain normal distribution: Hastings on X itself.
const CodeInfo& PlainNormal() {
  for (const CodeInfo& row : Catalogue()) {
    if (row.fit == FitMethod::NormalSigma && row.abscissa == Abscissa::X) return row;
  }
  assert(false && "the catalogue has a normal distribution");
  return CodeRow(0);
}

void FitBestOfAll(AnalysisState& state, const FitData& data, const Workers& workers,
                  const Notice& notice) {
  const std::vector<const CodeInfo*> order = BestOfAllFitOrder();
  // The exponent codes share the powers X^E of every trial.
  std::vector<int> exponentCodes;
  for (const CodeInfo& row : Catalogue()) {
    if (row.fitOrder > 0 && ScansExponent(row)) exponentCodes.push_back(row.code);
  }
  const ExponentScanTable exponents = ScanExponents(data, workers, exponentCodes);
  Candidate fits[kCodeArraySize];
  auto keep = [&](const Candidate& c) { fits[c.code] = c; };

  std::vector<Candidate> pieces;
  bool studentFitted = false;
  for (const CodeInfo* row : order) {
    const int code = row->code;
    switch (row->fit) {
      case FitMethod::TwoPiece:
        // All two-piece codes at once, where the first of them stands.
        if (pieces.empty()) pieces = FitTwoPieceCodes(state, data, workers);
        break;
      case FitMethod::Student:
        // Both forms from one fit, where the first of them stands.
        if (!studentFitted) {
          const StudentFit student = FitStudent(state, data);
          keep(student.oneDf);
          keep(student.twoDf);
          studentFitted = true;
        }
        break;
      case FitMethod::NormalSigma:
        state.Code = code;
        fits[code].code = code;
        // A code whose transformed values show no spread has no fit this run.
        fits[code].sse =
            FitNormalFamily(state, data, workers, notice) ? state.NormSSE[code] : kNoFitSSE;
        break;
      default:
        keep(FitOneCode(state, data, workers, &exponents, *row));
        break;
    }
  }

  if (state.N > kBusyNoticeAbove && state.BusyNoticePending) {
    if (notice) notice(kStillBusyNotice);
    state.BusyNoticePending = false;
  }

  // The candidates in the order of the selection.
  std::vector<Candidate>& candidates = state.Candidates;
  for (int code : SingleSelectionOrder()) {
    Candidate c = fits[code];
    if (IsExponentCode(code)) c.sse = ComparedSSE(state, c);
    candidates.push_back(c);
  }
  candidates.insert(candidates.end(), pieces.begin(), pieces.end());

  const Selection selection = SelectBestFit(candidates, state.N, state.BreakPointAllowed);
  if (!IsCatalogueCode(selection.code)) {
    // No candidate has a fit (every one overflowed): the run cannot go on.
    state.StopFlag = true;
    return;
  }
  // The plain normal fit's sigma and standard deviation stay as the run's.
  const auto normal = static_cast<std::size_t>(PlainNormal().code);
  state.Code = PlainNormal().code;
  state.FitStdDev = state.NormSigma[normal];
  state.StdDevX = state.NormStdDev[normal];
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

void FitDistributions(AnalysisState& state, const std::string& preference,
                      const FitOptions& options) {
  state.Candidates.clear();
  state.ScanCounts.clear();
  FitLine(state);
  if (state.StopFlag) return;
  state.PrefCode = preference.substr(0, kPrefCodeLength);

  FitData data = FitData::FromState(state, options.tables);
  const Workers workers(options.threads);
  // Partial trials need the trials in order: one worker.
  data.partialTrials = options.resultOnly && workers.Count() == 1;
  if (state.PrefCode == kBestOfAllPreference) {
    FitBestOfAll(state, data, workers, options.notice);
    return;
  }
  if (const int code = PreferredCode(state.PrefCode))
    FitPreferred(state, data, workers, code, options.notice);
}

}  // namespace quilmor::engine
