// The design-value options of the command line and what a run writes beside
// its report: NAME.json (everything the run computed, docs/run.schema.json),
// NAME.design.csv and NAME.candidates.csv.
#pragma once

#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "report/data_module.hpp"
#include "report/design_values.hpp"
#include "run/bootstrap.hpp"
#include "run/design_table.hpp"
#include "run/run_analysis.hpp"
#include "run/save_run.hpp"

namespace CLI {
class App;
}

namespace quilmor::cli {

// The texts of the design options given (--periods, --freqs, --design-life,
// --bootstrap, --bootstrap-kind, --seed), by flag.
using DesignOptionTexts = std::map<std::string, std::string>;

// Registers the design options on a subcommand; their texts land in `texts`.
void AddDesignOptions(CLI::App& command, const std::shared_ptr<DesignOptionTexts>& texts);

// The options from the texts given; the message of the first bad one.
std::optional<std::string> ApplyDesignOptions(const DesignOptionTexts& texts,
                                              report::DesignOptions& options);

// The bootstrap of an analysis with a progress bar on stderr when it is a
// terminal; fills the bootstrap columns of `design`. nullopt when B = 0.
std::optional<run::BootstrapResult> BootstrapWithProgress(const run::AnalysisResult& analysis,
                                                          const report::DesignOptions& options,
                                                          const std::string& preference,
                                                          bool breakPointAllowed,
                                                          std::vector<run::DesignRow>& design,
                                                          std::ostream& err, int threads = 0,
                                                          bool progress = true);

// Everything the JSON of one run holds.
struct RunRecord {
  std::string inputFile;
  std::string title1;
  std::string title2;
  double threshold = 0.0;
  int valuesInFile = 0;
  std::string preference = "1";
  bool breakPointAllowed = false;
  int intervals = 5;
  report::DesignOptions design;
  const run::AnalysisResult* analysis = nullptr;
  const run::FinishedReport* finished = nullptr;  // nullptr when the run stopped
  std::vector<run::CandidateGoodness> candidates;
  std::vector<run::DesignRow> designRows;
  std::optional<run::BootstrapResult> bootstrap;
};

nlohmann::ordered_json GoodnessJson(const run::CandidateGoodness& row);
nlohmann::ordered_json RunJson(const RunRecord& record);
// The fitted function's parameters in the data scale, as NAME.json holds them.
nlohmann::ordered_json ParametersJson(const report::ReportModel& model);
nlohmann::ordered_json DesignRowJson(const run::DesignRow& row);

// The design values and candidates of a record, computed in memory from its
// analysis (with the bootstrap when the options ask for one, on `threads`
// cores, 0 for all, with a progress bar when `progress` and stderr is a
// terminal).
void CompleteRecord(RunRecord& record, std::ostream& err, int threads = 0, bool progress = true);

// Writes NAME.json and/or NAME.design.csv and NAME.candidates.csv beside the
// input file, each under a temporary name renamed into place. False after a
// message on `err`.
bool WriteRunOutputs(const RunRecord& record, bool json, bool csv, std::ostream& err);
// The names and contents WriteRunOutputs writes.
std::vector<std::pair<std::string, std::string>> RunOutputTexts(const RunRecord& record, bool json,
                                                                bool csv);

// What `run --json/--csv` asks for beside the report of one Save-Run.
struct RunOutputRequest {
  bool json = false;
  bool csv = false;
  std::string preference = "1";
  bool breakPointAllowed = false;
  int intervals = 5;
  report::DesignOptions design;
};

// The record of a Save-Run's result (not yet completed): result and dm must
// outlive it.
RunRecord SaveRunRecord(const run::SaveRunResult& result, const report::TDMQuilmor& dm,
                        const RunOutputRequest& request);

// After a Save-Run that wrote its report or stopped: the design values, the
// candidates and the bootstrap of its analysis in memory, written beside its
// input file. dm holds the run's input (titles, threshold, rows). False after
// a message on `err`.
bool WriteSaveRunOutputs(const run::SaveRunResult& result, const report::TDMQuilmor& dm,
                         const RunOutputRequest& request, std::ostream& err);

}  // namespace quilmor::cli
