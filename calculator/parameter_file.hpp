// The parameter file (".aux") beside a report: the distribution code and the
// parameters the calculator needs, one value per line, every real in E(23).
//
// Which groups a code writes is the catalogue's parameter-file layout:
//
//   always first                 the code (plain integer)
//   line (0..5, 51..63)          A; B
//   exponent after the line      the exponent E (1, 2, 3, 51, 52, 55, 60)
//   bound (58, 59)               the bound C, as printed in the report
//   pieces (7..18)               As; Bs; Ag; Bg; P
//   normal family (21..25)       mean; sigma of the transformed values; 25: E
//   Student forms (62, 63)       average X; St.Dev. X
//   always last                  the shift S
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/model.hpp"
#include "report/report_model.hpp"

namespace quilmor::calculator {

// The text of the parameter file for the fitted function of a built report
// model (CR LF lines): the bound in the data scale as the report prints it,
// the Student forms with A = B = 1 and their summary statistics.
std::string ParameterFileText(const report::ReportModel& model);

// Reads the lines of a parameter file in the order of the table above into
// the parameters of the fitted function (CalcExponent is E, CalcBound C,
// CalcMean M, CalcStDev D). nullopt with `error` set when the code is not one
// of the catalogue or a line is missing or not a number.
std::optional<engine::Parameters> ParseParameterFile(const std::vector<std::string>& lines,
                                                     std::string& error);

}  // namespace quilmor::calculator
