// The options `quilmor-cli run` and `quilmor-cli batch` share: the Input
// page's fields (preference, break point, intervals, threshold, titles), the
// column of a CSV file, the plotting position, the files written beside the
// report and the design-value options; checked as the Input page checks
// its fields.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "cli/design_output.hpp"
#include "engine/plotting_position.hpp"
#include "report/data_module.hpp"
#include "report/design_values.hpp"
#include "run/save_run.hpp"

namespace CLI {
class App;
}

namespace quilmor::cli {

struct RunSettings {
  std::vector<std::string> inputs;
  std::string preference = "1";
  bool breakpoint = false;
  std::string intervals = "5";
  std::string threshold;  // empty: 0 for a value file, as stored for an input file
  std::string title1;
  std::string title2;
  bool title1Given = false;
  bool title2Given = false;
  int column = 0;
  bool overwrite = false;
  std::string plottingPosition = "weibull";
  engine::PlottingPosition plotting;
  // Beside the report: NAME.json, NAME.design.csv and NAME.candidates.csv.
  bool json = false;
  bool csv = false;
  std::shared_ptr<DesignOptionTexts> designTexts = std::make_shared<DesignOptionTexts>();
  report::DesignOptions design;
};

// Registers the shared options on `command`.
void AddRunOptions(CLI::App& command, RunSettings& settings);

// After parsing: checks the options, applies the design options and tells
// the note of a preferred function. False after a message on `err`.
bool FinishRunSettings(const CLI::App& command, RunSettings& settings, std::ostream& err);

// The note of a run whose chosen function fits poorly (efficiency R below
// 0.5 for the frequencies or the data values), or "".
std::string PoorFitText(const run::SaveRunResult& result);

// The titles and threshold given on the command line, over those the input
// brought.
void ApplyTitlesAndThreshold(const RunSettings& settings, report::TDMQuilmor& dm);

}  // namespace quilmor::cli
