#include "calculator/parameter_file.hpp"

#include "engine/catalogue.hpp"
#include "textio/number_format.hpp"
#include "textio/number_parse.hpp"
#include "textio/text_file.hpp"

namespace quilmor::calculator {

namespace {

bool HasLineParameters(int code) { return code < 6 || code > 50; }

bool HasExponentAfterLine(int code) {
  return code == 1 || code == 2 || code == 3 || code == 51 || code == 52 || code == 55 ||
         code == 60;
}

}  // namespace

std::string ParameterFileText(const engine::AnalysisState& state) {
  const int code = state.Code;
  textio::TextWriter out;
  auto real = [&out](double value) { out.Line(textio::FormatE23(value)); };
  out.Line(textio::FormatI(code));
  if (HasLineParameters(code)) {
    real(state.Slope);
    real(state.Intercept);
  }
  if (HasExponentAfterLine(code)) real(state.ExpE[static_cast<std::size_t>(code)]);
  if (code == 58) real(state.LowerBoundC);
  if (code == 59) real(state.UpperBoundC);
  if (code >= 6 && code <= 19) {
    real(state.SlopeLow);
    real(state.InterceptLow);
    real(state.SlopeHigh);
    real(state.InterceptHigh);
    real(state.BreakValue);
  }
  if (code >= 21 && code <= 25) {
    real(state.NormMean[static_cast<std::size_t>(code)]);
    real(state.NormSigma[static_cast<std::size_t>(code)]);
    if (code == 25) real(state.ExpE[25]);
  }
  if (code > 60) {
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

std::optional<ParameterSet> ParseParameterFile(const std::vector<std::string>& lines,
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
  ParameterSet p;
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
  if (code == 0) {
    error = "it holds no fitted distribution (code 0)";
    return std::nullopt;
  }
  if (!engine::IsCatalogueCode(code)) {
    error = "its distribution code " + std::to_string(code) + " is unknown";
    return std::nullopt;
  }
  if (code < 6 || code > 50) {
    p.A = real("parameter A");
    p.B = real("parameter B");
    if (code < 4 || code == 51 || code == 52 || code == 55 || code == 60) p.E = real("exponent E");
    if (code == 58 || code == 59) p.C = real("bound C");
  }
  if (code > 5 && code < 20) {
    p.As = real("parameter As");
    p.Bs = real("parameter Bs");
    p.Ag = real("parameter Ag");
    p.Bg = real("parameter Bg");
    p.P = real("break point P");
  }
  if (code > 20 && code < 50) {
    p.M = real("mean");
    p.D = real("standard deviation");
    if (code == 25) p.E = real("exponent E");
  }
  if (code > 60) {
    p.M = real("average X");
    p.D = real("standard deviation of X");
  }
  p.S = real("shift S");
  if (!ok) return std::nullopt;
  return p;
}

}  // namespace quilmor::calculator
