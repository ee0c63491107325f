// The end of a run: calculated X-values and their limits, the section of
// calculated X-values ("Values.tmp"), the parameter file, and the report
// (".out") joined from the report body and that section.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "calculator/inverse.hpp"
#include "engine/analysis_state.hpp"
#include "report/data_module.hpp"

namespace quilmor::calculator {

// Decimals of the X columns, from the largest ranked value in the data scale:
// 4 below 1, 3 below 10, 2 below 100, 1 below 500, otherwise 0.
int XDecimals(double largestValue);

// Initial CalcX, LowerX, UpperX of ranks 1..rows.size() from the printed
// calculated frequency, standard deviation and lower limit (as fractions), or
// 0.4 i/N, 0.2 i/N and i/N where the printed standard deviation is 0. They
// stay only for a code without an inverse.
void PrefillXArrays(engine::AnalysisState& state, const std::vector<FrequencyRow>& rows);

// The section " Confidence limits of calculated X-values" for ranks 1..N with
// the efficiency coefficient R and the code line (CR LF lines). Sets a
// negative LowerX to 0 when no data value is negative, and an UpperX that is
// not above CalcX to 1.01 CalcX, as printed.
std::string XConfidenceText(engine::AnalysisState& state, const std::vector<FrequencyRow>& rows);

// WriteXConfidence: writes that section to "Values.tmp" in `scratchDir`.
std::optional<std::string> WriteXConfidence(engine::AnalysisState& state,
                                            const std::vector<FrequencyRow>& rows,
                                            const std::filesystem::path& scratchDir);

// The whole step after an analysis run that did not stop, with "Temp.tmp" and
// "TmpFile.Tmp" complete in `scratchDir`: calculated X-values, " Almost
// done ..." on the progress display when dm.NrOfData > 1000, "Values.tmp",
// the parameter file, the report joined from the body and the section, the
// temporary files deleted, NameIsCurrent set. On return dm.FileName ends in
// ".out". The report and the parameter file are written under temporary
// names and renamed into place, so a failure leaves earlier ones whole.
// nullopt on success, else why the step failed.
std::optional<std::string> FinishReport(report::TDMQuilmor& dm, engine::AnalysisState& state,
                                        const std::filesystem::path& scratchDir);

}  // namespace quilmor::calculator
