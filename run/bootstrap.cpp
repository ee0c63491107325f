#include "run/bootstrap.hpp"

#include <cmath>
#include <limits>
#include <map>
#include <optional>

#include "engine/catalogue.hpp"
#include "engine/random_stream.hpp"
#include "engine/resample.hpp"
#include "engine/value_tables.hpp"
#include "engine/workers.hpp"
#include "textio/input_file.hpp"

namespace quilmor::run {

namespace {

// The number of intervals does not enter a design value; the model needs one.
constexpr int kReplicateClasses = 5;

// X at every point by the calculator's inverse of a replicate's model.
std::vector<double> DesignValues(const engine::PreparedSeries& series, const engine::FitResult& fit,
                                 const std::string& preference,
                                 const std::vector<report::DesignPoint>& points) {
  std::vector<double> x(points.size(), kNotComputed);
  if (!engine::IsCatalogueCode(fit.Code)) return x;
  report::ReportSettings settings;
  settings.Preference = preference;
  settings.NrOfClasses = kReplicateClasses;
  const report::ReportModel model = report::BuildReportModel(series, fit, settings);
  const engine::Parameters p = CalculatorParameters(model);
  for (std::size_t j = 0; j < points.size(); ++j) x[j] = DesignValueOf(p, points[j].frequency);
  return x;
}

bool AllFinite(const std::vector<double>& values) {
  for (double v : values) {
    if (!std::isfinite(v)) return false;
  }
  return true;
}

}  // namespace

std::vector<double> ValuesInUse(const engine::PreparedSeries& series) {
  const auto n = static_cast<std::size_t>(series.N);
  return std::vector<double>(series.DataValues.begin() + 1, series.DataValues.begin() + 1 + n);
}

ReplicateOutcome RunReplicate(const std::vector<double>& values, double threshold, int originalCode,
                              const engine::Parameters& calculator,
                              const std::vector<report::DesignPoint>& points,
                              const BootstrapRequest& request, std::uint64_t index,
                              const engine::ValueTables* tables) {
  ReplicateOutcome outcome;
  engine::ReplicateStream stream(request.seed, index);
  std::vector<double> sample;
  if (request.kind == report::BootstrapKind::kParametric) {
    sample = engine::DrawParametricSample(
        values.size(), [&](double u) { return DesignValueOf(calculator, u); }, stream);
    // Drawn values are not subject to the threshold: they stand for values in use.
    threshold = -std::numeric_limits<double>::max();
  } else {
    sample = engine::DrawResample(values, stream);
  }
  if (!AllFinite(sample)) {
    outcome.stopped = true;
    return outcome;
  }
  std::vector<textio::InputRow> rows(sample.size());
  for (std::size_t i = 0; i < sample.size(); ++i) {
    rows[i] = {static_cast<int>(i + 1), sample[i]};
  }
  const engine::PreparedSeries series = engine::PrepareData(rows, threshold, request.plotting);
  engine::FitRequest fitRequest;
  fitRequest.preference = request.preference;
  fitRequest.breakPointAllowed = request.breakPointAllowed;
  fitRequest.options.threads = 1;  // the replicates share out the cores
  fitRequest.options.tables = tables;
  fitRequest.options.resultOnly = true;  // no trial's SSE is read
  const engine::FitResult fit = engine::FitSeries(series, fitRequest);
  if (fit.Stopped) {
    outcome.stopped = true;
    return outcome;
  }
  outcome.code = fit.Code;
  outcome.chosenAnew = DesignValues(series, fit, request.preference, points);
  if (fit.Code == originalCode || fit.Candidates.empty()) {
    // A preferred function is refitted anyway; the same code has the same fit.
    outcome.sameFunction = outcome.chosenAnew;
    return outcome;
  }
  outcome.sameFunction.assign(points.size(), kNotComputed);
  for (std::size_t j = 0; j < fit.Candidates.size(); ++j) {
    if (fit.Candidates[j].code != originalCode) continue;
    engine::FitResult same = fit;
    same.Code = originalCode;
    same.Fit = fit.CandidateFits[j];
    same.BreakIndex = fit.Candidates[j].nBelow;
    same.BreakPointFound = engine::IsTwoPieceCode(originalCode);
    outcome.sameFunction = DesignValues(series, same, request.preference, points);
    break;
  }
  return outcome;
}

BootstrapResult RunBootstrap(const engine::PreparedSeries& series, const engine::FitResult& fit,
                             const report::ReportModel& model, const std::vector<DesignRow>& design,
                             const BootstrapRequest& request) {
  BootstrapResult result;
  result.replicates = request.replicates;
  result.kind = request.kind;
  result.seed = request.seed;
  if (request.replicates <= 0 || fit.Stopped || !engine::IsCatalogueCode(fit.Code)) return result;

  // What depends only on the original run is made once.
  const std::vector<double> values = ValuesInUse(series);
  const engine::Parameters calculator = CalculatorParameters(model);
  std::vector<report::DesignPoint> points;
  for (const DesignRow& row : design) points.push_back({row.returnPeriod, row.frequency});

  BootstrapRequest replicate = request;
  replicate.plotting = series.Plotting;
  const auto b = static_cast<std::size_t>(request.replicates);
  std::vector<ReplicateOutcome> outcomes(b);
  std::vector<char> ran(b, 0);
  const engine::Workers workers(request.threads);
  // A resample holds only values of the series: what the fits compute from
  // a value alone is made once, from the values as the fit takes them.
  std::optional<engine::ValueTables> tables;
  if (request.kind == report::BootstrapKind::kNonparametric) {
    tables.emplace(
        std::vector<double>(series.Values.begin() + 1, series.Values.begin() + 1 + series.N),
        workers);
  }
  workers.ForEach(request.replicates, [&](int index, int) {
    if (request.cancel && request.cancel->load()) return;
    const auto i = static_cast<std::size_t>(index);
    outcomes[i] = RunReplicate(values, series.Threshold, fit.Code, calculator, points, replicate,
                               static_cast<std::uint64_t>(index), tables ? &*tables : nullptr);
    ran[i] = 1;
    if (request.progress) request.progress();
  });

  std::map<int, int> codes;
  std::vector<std::vector<double>> anew(points.size());
  std::vector<std::vector<double>> same(points.size());
  for (std::size_t i = 0; i < b; ++i) {
    if (!ran[i]) continue;
    ++result.completed;
    const ReplicateOutcome& outcome = outcomes[i];
    if (outcome.stopped) {
      ++result.stopped;
      continue;
    }
    ++codes[outcome.code];
    for (std::size_t j = 0; j < points.size(); ++j) {
      anew[j].push_back(outcome.chosenAnew[j]);
      same[j].push_back(outcome.sameFunction[j]);
    }
  }
  result.cancelled = result.completed < request.replicates;
  const int fitted = result.completed - result.stopped;
  for (const auto& [code, count] : codes) {
    result.chosenCodes.push_back({code, count, static_cast<double>(count) / fitted});
  }
  auto limits = [](const std::vector<double>& replicates, double estimate) {
    ReplicateLimits l;
    l.percentile = engine::SummariseReplicates(replicates);
    if (std::isfinite(estimate)) {
      l.biasCorrected = engine::BiasCorrectedLimits(replicates, estimate);
      l.basic = engine::BasicLimits({l.percentile.lower, l.percentile.upper}, estimate);
    }
    return l;
  };
  for (std::size_t j = 0; j < points.size(); ++j) {
    BootstrapPoint point;
    point.returnPeriod = points[j].returnPeriod;
    point.frequency = points[j].frequency;
    point.chosenAnew = limits(anew[j], design[j].x);
    point.sameFunction = limits(same[j], design[j].x);
    result.points.push_back(point);
  }
  return result;
}

void AddBootstrapColumns(std::vector<DesignRow>& design, const BootstrapResult& bootstrap) {
  const std::size_t rows = std::min(design.size(), bootstrap.points.size());
  auto finite = [](double v) { return std::isfinite(v) ? v : kNotComputed; };
  for (std::size_t j = 0; j < rows; ++j) {
    const BootstrapPoint& point = bootstrap.points[j];
    design[j].chosenAnewLower = finite(point.chosenAnew.percentile.lower);
    design[j].chosenAnewUpper = finite(point.chosenAnew.percentile.upper);
    design[j].sameFunctionLower = finite(point.sameFunction.percentile.lower);
    design[j].sameFunctionUpper = finite(point.sameFunction.percentile.upper);
    design[j].bootstrapMedian = finite(point.chosenAnew.percentile.median);
  }
}

}  // namespace quilmor::run
