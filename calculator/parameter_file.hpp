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
#include "engine/model.hpp"
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

// Reads the lines of a parameter file in the order of the table above into
// the parameters of the fitted function (CalcExponent is E, CalcBound C,
// CalcMean M, CalcStDev D). nullopt with `error` set when the code is not one
// of the catalogue or a line is missing or not a number.
std::optional<engine::Parameters> ParseParameterFile(const std::vector<std::string>& lines,
                                                     std::string& error);

}  // namespace quilmor::calculator
