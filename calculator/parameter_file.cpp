#include "calculator/parameter_file.hpp"

#include "engine/catalogue.hpp"
#include "textio/number_format.hpp"
#include "textio/number_parse.hpp"
#include "textio/text_file.hpp"

namespace quilmor::calculator {

std::string ParameterFileText(const engine::AnalysisState& state) {
  const int code = state.Code;
  const auto c = static_cast<std::size_t>(code);
  const engine::CodeInfo& row = engine::CodeRow(code);
  const engine::ParameterFileLayout& layout = row.parameterFile;
  textio::TextWriter out;
  auto real = [&out](double value) { out.Line(textio::FormatE23(value)); };
  out.Line(textio::FormatI(code));
  if (layout.line) {
    real(state.Slope);
    real(state.Intercept);
  }
  if (layout.exponentAfterLine) real(state.ExpE[c]);
  if (layout.bound) real(row.bound == engine::Bound::Lower ? state.LowerBoundC : state.UpperBoundC);
  if (layout.pieces) {
    real(state.SlopeLow);
    real(state.InterceptLow);
    real(state.SlopeHigh);
    real(state.InterceptHigh);
    real(state.BreakValue);
  }
  if (layout.normal) {
    real(state.NormMean[c]);
    real(state.NormSigma[c]);
    if (layout.exponentAfterNormal) real(state.ExpE[c]);
  }
  if (layout.student) {
    real(state.MeanX);
    real(state.StdDevX);
  }
  real(state.Shift);
  return out.Text();
}

std::optional<std::string> WriteParameterFile(report::TDMQuilmor& dm,
                                              const engine::AnalysisState& state) {
  dm.FileName = textio::ChangeFileExt(dm.FileName, ".aux");
  std::string error;
  const bool written = textio::WriteFileAtomic(dm.FileName, ParameterFileText(state), &error);
  const std::string auxName = dm.FileName;
  dm.FileName = textio::ChangeFileExt(dm.FileName, ".out");
  if (!written) return "The parameter file \"" + auxName + "\" could not be written: " + error;
  return std::nullopt;
}

std::optional<engine::Parameters> ParseParameterFile(const std::vector<std::string>& lines,
                                                     std::string& error) {
  std::size_t next = 0;
  bool ok = true;
  auto real = [&](const char* what) {
    if (!ok) return 0.0;
    if (next >= lines.size()) {
      error = std::string("it ends before the ") + what;
      ok = false;
      return 0.0;
    }
    textio::LineScanner scan(lines[next++]);
    auto value = scan.ReadReal();
    if (!value || !scan.AtEnd()) {
      error = std::string("its ") + what + " is not a number";
      ok = false;
      return 0.0;
    }
    return *value;
  };
  engine::Parameters p;
  if (lines.empty()) {
    error = "it is empty";
    return std::nullopt;
  }
  {
    textio::LineScanner scan(lines[next++]);
    auto code = scan.ReadInt();
    if (!code || !scan.AtEnd()) {
      error = "its first line is not a distribution code";
      return std::nullopt;
    }
    p.Code = *code;
  }
  const int code = p.Code;
  const engine::CodeInfo* row = engine::FindCode(code);
  if (row != nullptr && row->family == engine::Family::None) {
    error = "it holds no fitted distribution (code 0)";
    return std::nullopt;
  }
  if (!engine::IsCatalogueCode(code)) {
    error = "its distribution code " + std::to_string(code) + " is unknown";
    return std::nullopt;
  }
  const engine::ParameterFileLayout& layout = row->parameterFile;
  if (layout.line) {
    p.A = real("parameter A");
    p.B = real("parameter B");
  }
  if (layout.exponentAfterLine) p.E = real("exponent E");
  if (layout.bound) p.C = real("bound C");
  if (layout.pieces) {
    p.As = real("parameter As");
    p.Bs = real("parameter Bs");
    p.Ag = real("parameter Ag");
    p.Bg = real("parameter Bg");
    p.P = real("break point P");
  }
  if (layout.normal) {
    p.M = real("mean");
    p.D = real("standard deviation");
    if (layout.exponentAfterNormal) p.E = real("exponent E");
  }
  if (layout.student) {
    p.M = real("average X");
    p.D = real("standard deviation of X");
  }
  p.S = real("shift S");
  if (!ok) return std::nullopt;
  return p;
}

}  // namespace quilmor::calculator
