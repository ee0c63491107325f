#include "calculator/parameter_file.hpp"

#include "engine/catalogue.hpp"
#include "textio/number_format.hpp"
#include "textio/number_parse.hpp"
#include "textio/text_file.hpp"

namespace quilmor::calculator {

std::string ParameterFileText(const report::ReportModel& model) {
  const int code = model.Fit.Code;
  const engine::Parameters& p = model.Fit;
  const engine::CodeInfo* row = engine::FindCode(code);
  const engine::ParameterFileLayout layout =
      row ? row->parameterFile : engine::CodeRow(0).parameterFile;
  textio::TextWriter out;
  auto real = [&out](double value) { out.Line(textio::FormatE23(value)); };
  out.Line(textio::FormatI(code));
  if (layout.line) {
    real(p.A);
    real(p.B);
  }
  if (layout.exponentAfterLine) real(p.E);
  if (layout.bound) real(p.C);
  if (layout.pieces) {
    real(p.As);
    real(p.Bs);
    real(p.Ag);
    real(p.Bg);
    real(p.P);
  }
  if (layout.normal) {
    real(p.M);
    real(p.D);
    if (layout.exponentAfterNormal) real(p.E);
  }
  if (layout.student) {
    real(p.M);
    real(p.D);
  }
  real(model.Shift);
  return out.Text();
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
  // A number after the shift belongs to the parameters of another code: the
  // code line or the file has been changed, and the values would be misread.
  for (std::size_t extra = next; extra < lines.size(); ++extra) {
    if (lines[extra].find_first_not_of(" \t") == std::string::npos) continue;
    error = "line " + std::to_string(extra + 1) +
            " follows the shift S, the last parameter of code " + std::to_string(code);
    return std::nullopt;
  }
  return p;
}

}  // namespace quilmor::calculator
