// The parameter file (".aux") beside a report: the distribution code and the
// parameters the calculator needs, one value per line, every real in E(23).
//
//   always first          the code (plain integer)
//   code < 6 or > 50      A; B
//   1, 2, 3, 51, 52, 55, 60   the exponent E
//   58                    the lower bound C (as printed in the report)
//   59                    the upper bound C (as printed)
//   6 <= code <= 19       As; Bs; Ag; Bg; P
//   21 .. 25              mean; sigma of the transformed values; 25: E
//   code > 60             average X; St.Dev. X
//   always last           the shift S
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "engine/analysis_state.hpp"
#include "report/data_module.hpp"

namespace quilmor::calculator {

// The text of the parameter file for the fitted code of `state` (CR LF lines).
std::string ParameterFileText(const engine::AnalysisState& state);

// WriteParameterFile: writes the parameter file named after dm.FileName with
// the extension ".aux" (a file left by an earlier run is replaced), leaving
// dm.FileName with the extension ".out". The file is written under a
// temporary name and renamed into place. nullopt on success, else why not.
std::optional<std::string> WriteParameterFile(report::TDMQuilmor& dm,
                                              const engine::AnalysisState& state);

// The content of a parameter file as the calculator reads it.
struct ParameterSet {
  int Code = 0;
  double A = 0.0, B = 0.0;
  double E = 0.0;  // CalcExponent
  double C = 0.0;  // CalcBound of codes 58 and 59
  double M = 0.0;  // CalcMean: normal-family mean, or the average X of 62/63
  double D = 0.0;  // CalcStDev
  double As = 0.0, Bs = 0.0, Ag = 0.0, Bg = 0.0, P = 0.0;
  double S = 0.0;
};

// Reads the lines of a parameter file in the order of the table above.
// nullopt with `error` set when the code is not one of the catalogue or a
// line is missing or not a number.
std::optional<ParameterSet> ParseParameterFile(const std::vector<std::string>& lines,
                                               std::string& error);

}  // namespace quilmor::calculator
