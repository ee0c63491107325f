#include "cli/design_output.hpp"

#include <CLI/CLI.hpp>
#include <cmath>
#include <ostream>

#include "cli/progress_bar.hpp"
#include "engine/catalogue.hpp"
#include "textio/csv_writer.hpp"
#include "textio/number_parse.hpp"
#include "textio/text_file.hpp"

#ifndef QUILMOR_VERSION
#define QUILMOR_VERSION "0.0.0"
#endif

namespace quilmor::cli {

using Json = nlohmann::ordered_json;

namespace {

// A number, or null where nothing was computed: JSON has no NaN.
Json Number(double value) { return std::isfinite(value) ? Json(value) : Json(nullptr); }

const char* KindName(report::BootstrapKind kind) {
  return kind == report::BootstrapKind::kParametric ? "parametric" : "nonparametric";
}

const char* CodeName(int code) {
  const char* name = engine::CatalogueName(code);
  return name ? name : "";
}

// The parameters of the fitted function as the parameter file holds them,
// in the data scale, under the names the report gives them.
Json ParametersOf(const report::ReportModel& model) {
  const engine::Parameters p = run::CalculatorParameters(model);
  const engine::ParameterFileLayout& layout = engine::CodeRow(p.Code).parameterFile;
  Json json = Json::object();
  if (layout.line) {
    json["A"] = Number(p.A);
    json["B"] = Number(p.B);
  }
  if (layout.exponentAfterLine || layout.exponentAfterNormal) json["E"] = Number(p.E);
  if (layout.bound) json["C"] = Number(p.C);
  if (layout.pieces) {
    json["As"] = Number(p.As);
    json["Bs"] = Number(p.Bs);
    json["Ag"] = Number(p.Ag);
    json["Bg"] = Number(p.Bg);
    json["P"] = Number(p.P);
  }
  if (layout.normal) {
    json["mean"] = Number(p.M);
    json["sigma"] = Number(p.D);
  }
  if (layout.student) {
    json["average_x"] = Number(p.M);
    json["std_dev_x"] = Number(p.D);
  }
  json["shift"] = Number(p.S);
  // Schema: parameters are numbers; drop what could not be computed.
  for (auto it = json.begin(); it != json.end();) {
    it = it->is_null() ? json.erase(it) : std::next(it);
  }
  return json;
}

Json LimitsJson(const run::ReplicateLimits& l) {
  return {{"lower", Number(l.percentile.lower)},
          {"upper", Number(l.percentile.upper)},
          {"median", Number(l.percentile.median)},
          {"bias_corrected_lower", Number(l.biasCorrected.lower)},
          {"bias_corrected_upper", Number(l.biasCorrected.upper)},
          {"basic_lower", Number(l.basic.lower)},
          {"basic_upper", Number(l.basic.upper)},
          {"used", l.percentile.used},
          {"left_out", l.percentile.leftOut}};
}

Json BootstrapJson(const run::BootstrapResult& b) {
  Json codes = Json::array();
  for (const run::CodeShare& c : b.chosenCodes) {
    codes.push_back(
        {{"code", c.code}, {"name", CodeName(c.code)}, {"count", c.count}, {"share", c.share}});
  }
  Json rows = Json::array();
  for (const run::BootstrapPoint& p : b.points) {
    rows.push_back({{"T", p.returnPeriod},
                    {"F", p.frequency},
                    {"chosen_anew", LimitsJson(p.chosenAnew)},
                    {"same_function", LimitsJson(p.sameFunction)}});
  }
  return {{"replicates", b.replicates},
          {"kind", KindName(b.kind)},
          {"coverage", engine::kBootstrapCoverage},
          {"stopped", b.stopped},
          {"chosen_codes", std::move(codes)},
          {"rows", std::move(rows)}};
}

Json TablesJson(const run::AnalysisResult& analysis, const run::FinishedReport& finished) {
  const report::ReportModel& m = analysis.model;
  Json intervals = Json::array();
  for (const report::IntervalRow& r : m.Intervals) {
    intervals.push_back({{"lower", r.lower},
                         {"upper", r.upper},
                         {"observed_percent", r.observed},
                         {"calculated_percent", Number(r.calculated)}});
  }
  Json frequencies = Json::array();
  Json periods = Json::array();
  Json xs = Json::array();
  for (int i = 1; i <= m.N; ++i) {
    const auto k = static_cast<std::size_t>(i);
    const report::ConfidenceRow& f = m.Frequencies[k - 1];
    frequencies.push_back({{"x", m.Values[k]},
                           {"serial", m.Serials[k]},
                           {"observed_percent", f.rank},
                           {"calculated_percent", f.calc},
                           {"std_dev_percent", f.stdDev},
                           {"lower_percent", f.lower},
                           {"upper_percent", f.upper}});
    const report::ReturnPeriodRow& t = m.ReturnPeriods[k - 1];
    periods.push_back({{"x", m.Values[k]},
                       {"serial", m.Serials[k]},
                       {"observed", t.observed},
                       {"calculated", t.calculated},
                       {"lower", t.lower},
                       {"upper", t.upper}});
    if (k < finished.x.CalcX.size()) {
      xs.push_back({{"x", m.Values[k]},
                    {"serial", m.Serials[k]},
                    {"calculated_x", Number(finished.x.CalcX[k])},
                    {"lower_x", Number(finished.x.LowerX[k])},
                    {"upper_x", Number(finished.x.UpperX[k])}});
    }
  }
  return {{"intervals", std::move(intervals)},
          {"frequencies", std::move(frequencies)},
          {"return_periods", std::move(periods)},
          {"x_confidence", std::move(xs)},
          {"summary",
           {{"frequency_mean_abs_difference_percent", Number(m.Goodness.frequencyDifference)},
            {"frequency_efficiency", Number(m.Goodness.efficiency)},
            {"return_period_mean_abs_difference", Number(m.Goodness.returnPeriodDifference)},
            {"x_efficiency", Number(finished.x.Efficiency)}}}};
}

Json DesignRowOf(const run::DesignRow& r) {
  return {{"T", r.returnPeriod},
          {"F", r.frequency},
          {"X", Number(r.x)},
          {"method_lower", Number(r.methodLower)},
          {"method_upper", Number(r.methodUpper)},
          {"chosen_anew_lower", Number(r.chosenAnewLower)},
          {"chosen_anew_upper", Number(r.chosenAnewUpper)},
          {"same_function_lower", Number(r.sameFunctionLower)},
          {"same_function_upper", Number(r.sameFunctionUpper)},
          {"bootstrap_median", Number(r.bootstrapMedian)},
          {"risk", Number(r.risk)}};
}

}  // namespace

Json ParametersJson(const report::ReportModel& model) { return ParametersOf(model); }
Json DesignRowJson(const run::DesignRow& row) { return DesignRowOf(row); }

void AddDesignOptions(CLI::App& command, const std::shared_ptr<DesignOptionTexts>& texts) {
  for (const report::DesignOptionRow& row : report::DesignOptionTable()) {
    const std::string flag = row.flag;
    command
        .add_option_function<std::string>(
            flag, [texts, flag](const std::string& text) { (*texts)[flag] = text; }, row.help)
        ->type_name(row.valueName);
  }
}

std::optional<std::string> ApplyDesignOptions(const DesignOptionTexts& texts,
                                              report::DesignOptions& options) {
  for (const report::DesignOptionRow& row : report::DesignOptionTable()) {
    const auto given = texts.find(row.flag);
    if (given == texts.end()) continue;
    if (auto message = row.set(options, given->second)) return message;
  }
  return std::nullopt;
}

std::optional<run::BootstrapResult> BootstrapWithProgress(const run::AnalysisResult& analysis,
                                                          const report::DesignOptions& options,
                                                          const std::string& preference,
                                                          bool breakPointAllowed,
                                                          std::vector<run::DesignRow>& design,
                                                          std::ostream& err, int threads,
                                                          bool progress) {
  if (options.bootstrapReplicates <= 0 || analysis.Stopped() || analysis.error) return std::nullopt;
  const auto total = static_cast<std::size_t>(options.bootstrapReplicates);
  ProgressBar bar(err, total, progress && ProgressWanted(false));
  run::BootstrapRequest request;
  request.replicates = options.bootstrapReplicates;
  request.seed = options.seed;
  request.kind = options.bootstrapKind;
  request.preference = preference;
  request.breakPointAllowed = breakPointAllowed;
  request.threads = threads;
  request.progress = [&bar] { bar.Advance(); };
  run::BootstrapResult result =
      run::RunBootstrap(analysis.series, analysis.fit, analysis.model, design, request);
  bar.Finish();
  run::AddBootstrapColumns(design, result);
  return result;
}

Json GoodnessJson(const run::CandidateGoodness& row) {
  const engine::GoodnessOfFit& g = row.measures;
  return {{"k", row.parameters},
          {"sse", Number(g.sse)},
          {"rmse", Number(g.rmse)},
          {"aicc", Number(g.aicc)},
          {"bic", Number(g.bic)},
          {"ks_distance", Number(g.ksDistance)},
          {"anderson_darling", Number(g.andersonDarling)},
          {"ppcc", Number(g.ppcc)}};
}

void CompleteRecord(RunRecord& record, std::ostream& err, int threads, bool progress) {
  const run::AnalysisResult& analysis = *record.analysis;
  if (analysis.error || analysis.Stopped()) return;
  record.candidates = run::RankCandidates(analysis.series, analysis.fit);
  record.designRows = run::DesignTable(analysis.model, record.valuesInFile, record.design);
  record.bootstrap = BootstrapWithProgress(analysis, record.design, record.preference,
                                           record.breakPointAllowed, record.designRows, err,
                                           threads, progress);
}

Json RunJson(const RunRecord& record) {
  const run::AnalysisResult& analysis = *record.analysis;
  const engine::PreparedSeries& series = analysis.series;
  const bool stopped = analysis.Stopped() || record.finished == nullptr;
  const report::DesignOptions& d = record.design;
  Json json;
  json["format_version"] = 1;
  json["program"] = {{"name", "quilmor-cli"}, {"version", QUILMOR_VERSION}};
  json["seed"] = d.seed;
  Json input = {{"file", record.inputFile},
                {"title1", record.title1},
                {"title2", record.title2},
                {"threshold", record.threshold},
                {"values_in_file", record.valuesInFile},
                {"values_used", series.N},
                {"limited_to_first_2500", series.Truncated},
                {"shift", series.Shift},
                {"negative_values", series.NegativeValues}};
  if (!stopped) {
    input["mean"] = Number(analysis.model.MeanX);
    input["median"] = Number(analysis.model.MedianX);
    input["std_dev"] = Number(analysis.model.StdDevX);
  }
  json["input"] = std::move(input);
  json["options"] = {{"preference", textio::ParseInt(record.preference).value_or(1)},
                     {"breakpoint_allowed", record.breakPointAllowed},
                     {"intervals", record.intervals},
                     {"return_periods", d.returnPeriods},
                     {"frequencies", d.frequencies},
                     {"design_life", d.designLife > 0 ? Json(d.designLife) : Json(nullptr)},
                     {"bootstrap", d.bootstrapReplicates},
                     {"bootstrap_kind", KindName(d.bootstrapKind)}};
  json["stop"] = stopped;
  if (stopped) {
    json["stop_message"] =
        "No data below threshold, or no variation between data. Program stops running";
    return json;
  }
  const report::ReportModel& m = analysis.model;
  Json chosen = {{"code", m.Fit.Code},
                 {"name", m.DistributionName},
                 {"preferred_by_user", record.preference != "1"},
                 {"breakpoint_found", m.BreakPointFound},
                 {"parameters", ParametersOf(m)}};
  Json candidates = Json::array();
  for (const run::CandidateGoodness& c : record.candidates) {
    if (c.chosen) chosen["goodness_of_fit"] = GoodnessJson(c);
    Json row = {{"code", c.code}, {"name", CodeName(c.code)}};
    row.update(GoodnessJson(c));
    row["near_best"] = c.nearBest;
    row["chosen"] = c.chosen;
    candidates.push_back(std::move(row));
  }
  json["chosen"] = std::move(chosen);
  json["candidates"] = std::move(candidates);
  json["tables"] = TablesJson(analysis, *record.finished);
  Json design = Json::array();
  for (const run::DesignRow& r : record.designRows) design.push_back(DesignRowOf(r));
  json["design_values"] = std::move(design);
  json["bootstrap"] = record.bootstrap ? BootstrapJson(*record.bootstrap) : Json(nullptr);
  return json;
}

std::vector<std::pair<std::string, std::string>> RunOutputTexts(const RunRecord& record, bool json,
                                                                bool csv) {
  const auto cell = [](double v) { return textio::CsvNumber(v); };
  std::vector<std::pair<std::string, std::string>> texts;  // name, content
  if (json) {
    texts.emplace_back(textio::ChangeFileExt(record.inputFile, ".json"),
                       RunJson(record).dump(2) + "\n");
  }
  const run::AnalysisResult& analysis = *record.analysis;
  if (csv && !analysis.Stopped() && !analysis.error) {
    texts.emplace_back(textio::ChangeFileExt(record.inputFile, ".design.csv"),
                       textio::FormatCsv(run::DesignValueTable(record.designRows, cell)));
    texts.emplace_back(textio::ChangeFileExt(record.inputFile, ".candidates.csv"),
                       textio::FormatCsv(run::CandidateTable(record.candidates, cell)));
  }
  return texts;
}

bool WriteRunOutputs(const RunRecord& record, bool json, bool csv, std::ostream& err) {
  const auto texts = RunOutputTexts(record, json, csv);
  if (texts.empty()) return true;
  std::vector<textio::FileContent> files;
  for (const auto& [name, content] : texts) files.push_back({name, content});
  std::string error;
  if (!textio::WriteFilesAtomic(files, &error)) {
    err << "quilmor-cli: " << error << '\n';
    return false;
  }
  return true;
}

RunRecord SaveRunRecord(const run::SaveRunResult& result, const report::TDMQuilmor& dm,
                        const RunOutputRequest& request) {
  RunRecord record;
  record.inputFile = result.InputName;
  record.title1 = dm.Title1;
  record.title2 = dm.Title2;
  record.threshold = dm.InputThreshold;
  record.valuesInFile = dm.NrOfData;
  record.preference = request.preference;
  record.breakPointAllowed = request.breakPointAllowed;
  record.intervals = request.intervals;
  record.design = request.design;
  record.analysis = &result.analysis;
  if (result.status == run::SaveRunStatus::Done) record.finished = &result.finished;
  return record;
}

bool WriteSaveRunOutputs(const run::SaveRunResult& result, const report::TDMQuilmor& dm,
                         const RunOutputRequest& request, std::ostream& err) {
  if (!request.json && !request.csv) return true;
  if (result.status != run::SaveRunStatus::Done && result.status != run::SaveRunStatus::Stopped) {
    return true;
  }
  RunRecord record = SaveRunRecord(result, dm, request);
  CompleteRecord(record, err);
  return WriteRunOutputs(record, request.json, request.csv, err);
}

}  // namespace quilmor::cli
