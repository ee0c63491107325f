#include "calculator/inverse.hpp"

#include <cmath>

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
  const engine::CodeInfo* entry = engine::FindCode(summary.Code);
  if (entry == nullptr || entry->parameterFile.line) {
    state.Slope = summary.A;
    state.Intercept = summary.B;
  }
  FindTableRange(state, rows, summary.S);

  const int n = summary.N;
  if (HasInverse(summary.Code)) {
    double a = summary.A;
    if (std::fabs(a) < 1e-13) a = 1e-13;
    // The parameters as the fit summary and the state hold them after the
    // report: the bounds of 58/59 and the average of 62/63 in the data scale.
    engine::Parameters p;
    p.Code = summary.Code;
    p.A = a;
    p.B = summary.B;
    p.S = summary.S;
    p.M = summary.M;
    p.D = summary.D;
    const engine::CodeInfo& info = engine::CodeRow(summary.Code);
    const auto c = static_cast<std::size_t>(summary.Code);
    if (info.hasExponent) p.E = state.ExpE[c];
    if (info.bound == engine::Bound::Lower) p.C = state.LowerBoundC;
    if (info.bound == engine::Bound::Upper) p.C = state.UpperBoundC;
    if (info.fit == engine::FitMethod::Student) {
      p.M = state.MeanX;
      p.D = state.StdDevX;
    }
    p.As = state.SlopeLow;
    p.Bs = state.InterceptLow;
    p.Ag = state.SlopeHigh;
    p.Bg = state.InterceptHigh;
    engine::HastingsCache calcCache, lowerCache, upperCache;
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
      // Where the formula has no value, the value of rank i stands.
      engine::InverseContext context;
      context.fallback = engine::Fallback::RankValue;
      context.rankValue = state.Values[k];
      context.lowerEnd = state.TableMin;
      context.upperPiece = i > state.BreakIndex;
      context.cache = &calcCache;
      state.CalcX[k] = engine::ModelInverse(p, fc, context);
      context.lowerLimit = true;
      context.cache = &lowerCache;
      state.LowerX[k] = engine::ModelInverse(p, fl, context);
      context.lowerLimit = false;
      context.cache = &upperCache;
      state.UpperX[k] = engine::ModelInverse(p, fu, context);
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
