#include "calculator/inverse.hpp"

#include <cmath>
#include <numbers>

#include "engine/scratch_files.hpp"
#include "textio/number_parse.hpp"
#include "textio/text_file.hpp"

namespace quilmor::calculator {

using engine::AnalysisState;

std::optional<std::size_t> FindTableMarker(const std::vector<std::string>& lines,
                                           std::string_view marker) {
  for (std::size_t i = kMarkerSearchStart; i < lines.size(); ++i) {
    if (std::string_view(lines[i]).substr(0, 4) == marker) return i;
  }
  return std::nullopt;
}

std::optional<std::vector<FrequencyRow>> ReadFrequencyTable(const std::vector<std::string>& lines,
                                                            int n, std::string& error) {
  const auto marker = FindTableMarker(lines, " Obs");
  if (!marker) {
    error = "the report body holds no table of observed and calculated frequencies";
    return std::nullopt;
  }
  // Title, dash line, two column headings, dash line; then the rows.
  const std::size_t first = *marker + 5;
  std::vector<FrequencyRow> rows;
  rows.reserve(static_cast<std::size_t>(std::max(n, 0)));
  for (int i = 1; i <= n; ++i) {
    const std::size_t index = first + static_cast<std::size_t>(i - 1);
    if (index >= lines.size()) {
      error = "the frequency table of the report body ends before row " + std::to_string(i);
      return std::nullopt;
    }
    textio::LineScanner scan(lines[index]);
    FrequencyRow row;
    auto x = scan.ReadReal();
    auto serial = scan.ReadInt();
    auto rank = scan.ReadReal();
    auto calc = scan.ReadReal();
    auto stdev = scan.ReadReal();
    auto lower = scan.ReadReal();
    auto upper = scan.ReadReal();
    if (!x || !serial || !rank || !calc || !stdev || !lower || !upper) {
      error = "row " + std::to_string(i) + " of the frequency table is not seven numbers";
      return std::nullopt;
    }
    row.RowX = *x;
    row.RowSerial = *serial;
    row.RowRank = *rank;
    row.RowCalc = *calc;
    row.RowStDev = *stdev;
    row.RowLower = *lower;
    row.RowUpper = *upper;
    rows.push_back(row);
  }
  return rows;
}

std::optional<FitSummary> ParseFitSummary(const std::vector<std::string>& lines,
                                          std::string& error) {
  std::size_t next = 0;
  auto real = [&](const char* what) -> std::optional<double> {
    if (next >= lines.size()) {
      error = std::string("the fit summary ends before its ") + what;
      return std::nullopt;
    }
    textio::LineScanner scan(lines[next++]);
    auto value = scan.ReadReal();
    if (!value) error = std::string("the ") + what + " of the fit summary is not a number";
    return value;
  };
  auto integer = [&](const char* what) -> std::optional<int> {
    if (next >= lines.size()) {
      error = std::string("the fit summary ends before its ") + what;
      return std::nullopt;
    }
    textio::LineScanner scan(lines[next++]);
    auto value = scan.ReadInt();
    if (!value) error = std::string("the ") + what + " of the fit summary is not an integer";
    return value;
  };
  FitSummary summary;
  auto n = integer("number of data");
  if (!n) return std::nullopt;
  if (*n < 1 || *n > engine::kMaxValues) {
    error = "the fit summary gives " + std::to_string(*n) + " data";
    return std::nullopt;
  }
  auto code = integer("distribution code");
  if (!code) return std::nullopt;
  auto s = real("shift");
  if (!s) return std::nullopt;
  summary.N = *n;
  summary.Code = *code;
  summary.S = *s;
  const engine::CodeInfo* row = engine::FindCode(summary.Code);
  if (row == nullptr || row->parameterFile.line) {
    auto a = real("parameter A");
    if (!a) return std::nullopt;
    auto b = real("parameter B");
    if (!b) return std::nullopt;
    summary.A = *a;
    summary.B = *b;
  }
  if (row != nullptr && row->parameterFile.normal) {
    auto m = real("mean");
    if (!m) return std::nullopt;
    auto d = real("standard deviation");
    if (!d) return std::nullopt;
    summary.M = *m;
    summary.D = *d;
  }
  return summary;
}

double GumbelInverse(double a, double b, double f) { return -(std::log(-std::log(f)) + b) / a; }

double MirroredGumbelInverse(double a, double b, double f) {
  return (-std::log(-std::log(1.0 - f)) - b) / a;
}

double LogisticInverse(double a, double b, double f) {
  return (std::log(1.0 / f - 1.0) - b) * (1.0 / a);
}

double ExponentialInverse(double a, double b, double f) {
  return (std::log(1.0 - f) + b) * (-1.0 / a);
}

double KernelInverse(engine::Transform kind, double a, double b, double f) {
  // clang-format off
  switch (kind) {
    case engine::Transform::Gumbel: return GumbelInverse(a, b, f);
    case engine::Transform::MirroredGumbel: return MirroredGumbelInverse(a, b, f);
    case engine::Transform::Logistic: return LogisticInverse(a, b, f);
    case engine::Transform::Exponential: return ExponentialInverse(a, b, f);
    default: break;
  }
  // clang-format on
  return std::nan("");
}

double RootE(double v, double e) { return std::exp(std::log(v) / e); }

double InvertHastings(double f) {
  double lo = -10.0;
  double hi = 10.0;
  for (;;) {
    const double mid = (lo + hi) / 2.0;
    if (mid == lo || mid == hi) break;
    if (engine::HastingsFreq(mid) > f) {
      hi = mid;
    } else {
      lo = mid;
    }
  }
  return hi;
}

void FindTableRange(AnalysisState& state, const std::vector<FrequencyRow>& rows, double s) {
  state.TableMax = 0.0;
  state.TableMin = 10000000.0;
  for (const FrequencyRow& row : rows) {
    const double x = row.RowX - s;
    if (x > state.TableMax) state.TableMax = x;
    if (x < state.TableMin) state.TableMin = x;
  }
  state.TableMax = state.TableMax + 0.05 * (state.TableMax - state.TableMin);
}

namespace {

enum class Column { Calc, Lower, Upper };

// The last normal-family inversion of one column: printed frequencies repeat
// from row to row, and the same frequency gives the same z.
struct HastingsCache {
  double f = -1.0;
  double z = 0.0;
  double Invert(double freq) {
    if (freq != f) {
      f = freq;
      z = InvertHastings(freq);
    }
    return z;
  }
};

// Everything the inverses of one run read, with A already kept off zero.
struct RunInverse {
  const AnalysisState& state;
  int code;
  double A, B, S, M, D;

  // X(F) of rank i. Where the table by code falls back, and wherever the
  // formula gives no finite number, the value of rank i stands instead.
  double Evaluate(int i, double f, Column column, HastingsCache& cache) const {
    const double x = Raw(i, f, column, cache);
    return std::isfinite(x) ? x : Fallback(i);
  }

 private:
  double Fallback(int i) const { return state.Values[static_cast<std::size_t>(i)]; }

  // v^(1/E) + S when v > 0, else the value of rank i.
  double RootOrValue(int i, double v, double e) const {
    return v > 0.0 ? RootE(v, e) + S : Fallback(i);
  }

  double Raw(int i, double f, Column column, HastingsCache& cache) const {
    const double e = state.ExpE[static_cast<std::size_t>(code)];
    // clang-format off
    switch (code) {
      case 2: {
        const double v = (std::log(f) - B) / A;
        if (v > 0.0) return RootE(v, e) + S;
        const double value = Fallback(i);
        // The value of the rank itself has no root when it is not positive.
        return value > 0.0 ? RootE(value, e) + S : value;
      }
      case 3: return RootOrValue(i, -(std::log(1.0 - f) + B) / A, e);
      case 4: return GumbelInverse(A, B, f) + S;
      case 5: return MirroredGumbelInverse(A, B, f) + S;
      case 21: case 22: case 23: case 24: case 25: {
        const double v = M + D * cache.Invert(f);
        switch (code) {
          case 21: return v + S;
          case 22: return std::exp(v) + S;
          case 23: return v >= 0.0 ? std::sqrt(v) + S : Fallback(i);
          case 24: return v >= 0.0 ? v * v + S : Fallback(i);
          default: return RootOrValue(i, v, e);
        }
      }
      case 51: return RootOrValue(i, GumbelInverse(A, B, f), e);
      case 52: return RootOrValue(i, MirroredGumbelInverse(A, B, f), e);
      case 53: return LogisticInverse(A, B, f) + S;
      case 54: {
        const double v = LogisticInverse(A, B, f);
        if (v > 0.0) return std::exp(v) + S;
        return column == Column::Lower ? state.TableMin + S : Fallback(i);
      }
      case 55: return RootOrValue(i, LogisticInverse(A, B, f >= 1.0 ? 0.999 : f), e);
      case 56: return B * engine::Power(1.0 - f, -1.0 / A) - B + S;
      case 57: return std::exp((std::log(-std::log(1.0 - f)) - B) / A) + S;
      // The bounds of 58 and 59 and the average of 62 and 63 are in the data
      // scale once the report is written: no shift is added again.
      case 58:
        return std::exp(-B / A) * RootE(-std::log(f), A) + state.LowerBoundC;
      case 59:
        return state.UpperBoundC - std::exp(-B / A) * RootE(-std::log(f), A);
      case 60: return RootOrValue(i, std::exp((std::log(-std::log(1.0 - f)) - B) / A), e);
      case 62:
        return state.StdDevX * std::tan(std::numbers::pi * (f - 0.5)) + state.MeanX;
      case 63: {
        const double u = 2.0 * f - 1.0;
        return state.StdDevX * std::numbers::sqrt2 * u / std::sqrt(1.0 - u * u) + state.MeanX;
      }
      default: break;
    }
    // clang-format on
    if (engine::IsTwoPieceCode(code)) {
      const engine::PieceKinds kinds = engine::TwoPieceKinds(code);
      if (i <= state.BreakIndex) {
        return KernelInverse(kinds.lower, state.SlopeLow, state.InterceptLow, f) + S;
      }
      return KernelInverse(kinds.upper, state.SlopeHigh, state.InterceptHigh, f) + S;
    }
    return Fallback(i);
  }
};

// Code 1 is named but never fitted: it has no inverse.
bool HasInverse(int code) {
  return engine::IsCatalogueCode(code) && engine::CodeRow(code).fit != engine::FitMethod::None;
}

}  // namespace

void ComputeCalculatedXValues(AnalysisState& state, const FitSummary& summary,
                              const std::vector<FrequencyRow>& rows) {
  state.N = summary.N;
  state.Code = summary.Code;
  state.Shift = summary.S;
  const engine::CodeInfo* row = engine::FindCode(summary.Code);
  if (row == nullptr || row->parameterFile.line) {
    state.Slope = summary.A;
    state.Intercept = summary.B;
  }
  FindTableRange(state, rows, summary.S);

  const int n = summary.N;
  if (HasInverse(summary.Code)) {
    double a = summary.A;
    if (std::fabs(a) < 1e-13) a = 1e-13;
    const RunInverse inverse{state, summary.Code, a, summary.B, summary.S, summary.M, summary.D};
    HastingsCache calcCache, lowerCache, upperCache;
    for (int i = 1; i <= n; ++i) {
      const FrequencyRow& row = rows[static_cast<std::size_t>(i - 1)];
      double fc = row.RowCalc / 100.0;
      double fl = row.RowLower / 100.0;
      double fu = row.RowUpper / 100.0;
      // Into the open interval; the clamps at 0 are 1 minus those at 1.
      if (fc >= 1.0) fc = 0.9998;
      if (fl >= 1.0) fl = 0.9997;
      if (fu >= 1.0) fu = 0.9999;
      if (fc <= 0.0) fc = 0.0002;
      if (fl <= 0.0) fl = 0.0003;
      if (fu <= 0.0) fu = 0.0001;
      const std::size_t k = static_cast<std::size_t>(i);
      state.CalcX[k] = inverse.Evaluate(i, fc, Column::Calc, calcCache);
      state.LowerX[k] = inverse.Evaluate(i, fl, Column::Lower, lowerCache);
      state.UpperX[k] = inverse.Evaluate(i, fu, Column::Upper, upperCache);
    }
  }
  // The limits never decrease with the rank; the calculated values may.
  for (std::size_t k = 2; k <= static_cast<std::size_t>(n); ++k) {
    if (state.UpperX[k] < state.UpperX[k - 1]) state.UpperX[k] = state.UpperX[k - 1];
    if (state.LowerX[k] < state.LowerX[k - 1]) state.LowerX[k] = state.LowerX[k - 1];
  }
}

std::optional<std::string> ComputeCalculatedXValues(AnalysisState& state,
                                                    const std::filesystem::path& scratchDir) {
  const auto summaryLines = textio::ReadTextLines(scratchDir / engine::kFitSummaryFile);
  if (!summaryLines) return std::string("the fit summary \"Temp.tmp\" cannot be read");
  std::string error;
  const auto summary = ParseFitSummary(*summaryLines, error);
  if (!summary) return error;
  const auto bodyLines = textio::ReadTextLines(scratchDir / engine::kReportBodyFile);
  if (!bodyLines) return std::string("the report body \"TmpFile.Tmp\" cannot be read");
  const auto rows = ReadFrequencyTable(*bodyLines, summary->N, error);
  if (!rows) return error;
  ComputeCalculatedXValues(state, *summary, *rows);
  return std::nullopt;
}

}  // namespace quilmor::calculator
