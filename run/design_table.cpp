#include "run/design_table.hpp"

#include <algorithm>
#include <cassert>
#include <string>
#include <string_view>

#include "calculator/calculator.hpp"
#include "calculator/parameter_file.hpp"
#include "engine/catalogue.hpp"
#include "engine/model.hpp"
#include "textio/text_file.hpp"

namespace quilmor::run {

engine::Parameters CalculatorParameters(const report::ReportModel& model) {
  std::string error;
  const std::optional<engine::Parameters> p = calculator::ParseParameterFile(
      textio::SplitLines(calculator::ParameterFileText(model)), error);
  // The text was written from the model a moment ago: it always reads back.
  assert(p && "a parameter file written from a model reads back");
  return p.value_or(engine::Parameters{});
}

double DesignValueOf(const engine::Parameters& calculator, double frequency) {
  // The calculator's limits need a count of data; the X-value does not.
  const double x = calculator::CalcVal(calculator, frequency, 1).CalcXValue;
  return std::isfinite(x) ? x : kNotComputed;
}

namespace {

double Finite(double value) { return std::isfinite(value) ? value : kNotComputed; }

// Fc of a fitted function at x, two-piece codes by the piece x lies in.
double FittedFrequency(const engine::Parameters& p, double x) {
  engine::FreqContext context;
  context.upperPiece = engine::IsTwoPieceCode(p.Code) && x > p.P;
  return engine::ModelFreq(p, x, context);
}

// X(F) in the fit's scale, two-piece codes by the piece the calculator
// chooses for F.
double FittedValue(const engine::Parameters& p, double f, double breakFreq) {
  engine::InverseContext context;
  context.upperPiece = engine::IsTwoPieceCode(p.Code) && f > breakFreq;
  return engine::ModelInverse(p, f, context) - p.S;
}

}  // namespace

engine::GoodnessOfFit FunctionGoodness(const engine::PreparedSeries& series,
                                       const engine::Parameters& fit, double selectionSse) {
  const auto n = static_cast<std::size_t>(series.N);
  std::vector<double> calcFreq(n);
  std::vector<double> calcX(n);
  const double breakFreq =
      engine::IsTwoPieceCode(fit.Code) ? engine::UpperPieceFreqAtBreak(fit) : 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    const double fc = FittedFrequency(fit, series.Values[i + 1]);
    // Frequencies beyond 0..1 (a model outside its range) count at the bound.
    calcFreq[i] = std::isnan(fc) ? fc : std::clamp(fc, 0.0, 1.0);
    calcX[i] = FittedValue(fit, series.PlotFreq[i + 1], breakFreq);
  }
  engine::FittedSeries fitted;
  fitted.values = std::span<const double>(series.Values).subspan(1, n);
  fitted.plotFreq = std::span<const double>(series.PlotFreq).subspan(1, n);
  fitted.calcFreq = calcFreq;
  fitted.calcX = calcX;
  fitted.parameters = engine::FindCode(fit.Code) ? engine::CodeRow(fit.Code).parameterCount : 0;
  engine::GoodnessOfFit g = engine::ComputeGoodnessOfFit(fitted);
  g.sse = selectionSse;
  g.rmse = Finite(g.rmse);
  g.aicc = Finite(g.aicc);
  g.bic = Finite(g.bic);
  g.ppcc = Finite(g.ppcc);
  return g;
}

std::vector<CandidateGoodness> RankCandidates(const engine::PreparedSeries& series,
                                              const engine::FitResult& fit) {
  std::vector<CandidateGoodness> rows;
  if (fit.Stopped || !engine::IsCatalogueCode(fit.Code)) return rows;
  if (fit.Candidates.empty()) {
    // One preferred function: its SSE is that of its own frequencies.
    CandidateGoodness row;
    row.code = fit.Code;
    row.parameters = engine::CodeRow(fit.Code).parameterCount;
    row.measures = FunctionGoodness(series, fit.Fit, 0.0);
    const auto n = static_cast<std::size_t>(series.N);
    std::vector<double> calcFreq(n);
    for (std::size_t i = 0; i < n; ++i) {
      calcFreq[i] = std::clamp(FittedFrequency(fit.Fit, series.Values[i + 1]), 0.0, 1.0);
    }
    row.measures.sse = engine::SumOfSquaredDeviations(
        std::span<const double>(series.PlotFreq).subspan(1, n), calcFreq);
    row.nearBest = true;
    row.chosen = true;
    rows.push_back(row);
    return rows;
  }
  assert(fit.CandidateFits.size() == fit.Candidates.size());
  std::vector<double> sse;
  for (const engine::Candidate& c : fit.Candidates) sse.push_back(c.sse);
  for (const engine::SseRank& rank : engine::RankBySse(sse)) {
    const engine::Candidate& c = fit.Candidates[rank.index];
    CandidateGoodness row;
    row.code = c.code;
    row.parameters = engine::CodeRow(c.code).parameterCount;
    row.measures = FunctionGoodness(series, fit.CandidateFits[rank.index], c.sse);
    row.nearBest = rank.nearBest;
    row.chosen = c.code == fit.Code;
    rows.push_back(row);
  }
  return rows;
}

std::vector<DesignRow> DesignTable(const report::ReportModel& model, int calculatorN,
                                   const report::DesignOptions& options) {
  std::vector<DesignRow> rows;
  if (!engine::IsCatalogueCode(model.Fit.Code)) return rows;
  const engine::Parameters p = CalculatorParameters(model);
  for (const report::DesignPoint& point : report::DesignPoints(options)) {
    DesignRow row;
    row.returnPeriod = point.returnPeriod;
    row.frequency = point.frequency;
    const calculator::ValueEstimate x = calculator::CalcVal(p, point.frequency, calculatorN);
    row.x = Finite(x.CalcXValue);
    row.methodLower = Finite(x.CalcXLower);
    row.methodUpper = Finite(x.CalcXUpper);
    if (options.designLife > 0) {
      row.risk = report::DesignLifeRisk(point.returnPeriod, options.designLife);
    }
    rows.push_back(row);
  }
  return rows;
}

textio::Table DesignValueTable(const std::vector<DesignRow>& rows, CellText cell) {
  textio::Table table;
  for (const char* name :
       {"T", "F", "X", "method_lower", "method_upper", "chosen_anew_lower", "chosen_anew_upper",
        "same_function_lower", "same_function_upper", "bootstrap_median", "risk"}) {
    table.columns.push_back({name, textio::Align::kRight});
  }
  for (const DesignRow& r : rows) {
    table.rows.push_back({cell(r.returnPeriod), cell(r.frequency), cell(r.x), cell(r.methodLower),
                          cell(r.methodUpper), cell(r.chosenAnewLower), cell(r.chosenAnewUpper),
                          cell(r.sameFunctionLower), cell(r.sameFunctionUpper),
                          cell(r.bootstrapMedian), cell(r.risk)});
  }
  return table;
}

textio::Table CandidateTable(const std::vector<CandidateGoodness>& rows, CellText cell) {
  textio::Table table;
  for (const char* name : {"code", "name", "k", "sse", "rmse", "aicc", "bic", "ks_distance",
                           "anderson_darling", "ppcc", "near_best", "chosen"}) {
    const bool text = std::string_view(name) == "name";
    table.columns.push_back({name, text ? textio::Align::kLeft : textio::Align::kRight});
  }
  for (const CandidateGoodness& r : rows) {
    const engine::GoodnessOfFit& g = r.measures;
    table.rows.push_back({std::to_string(r.code), engine::CatalogueName(r.code),
                          std::to_string(r.parameters), cell(g.sse), cell(g.rmse), cell(g.aicc),
                          cell(g.bic), cell(g.ksDistance), cell(g.andersonDarling), cell(g.ppcc),
                          r.nearBest ? "1" : "0", r.chosen ? "1" : "0"});
  }
  return table;
}

}  // namespace quilmor::run
