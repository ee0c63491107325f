#include "calculator/calculator.hpp"

#include <filesystem>
#include <system_error>

#include <cmath>
#include <limits>

#include "engine/catalogue.hpp"
#include "engine/model.hpp"
#include "textio/number_format.hpp"
#include "textio/number_parse.hpp"
#include "textio/text_file.hpp"

namespace quilmor::calculator {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// sd = sqrt((1 - F) F n)/n; upper = F + 3.4 sd (1 - F); lower = F - 3.4 sd F.
void Limits(double f, int n, double& lower, double& upper) {
  const double count = static_cast<double>(n);
  const double sd = std::sqrt((1.0 - f) * f * count) / count;
  upper = f + 3.4 * sd * (1.0 - f);
  lower = f - 3.4 * sd * f;
  if (lower < 0.0) lower = 0.0;
}

}  // namespace

std::optional<CalcParameters> ReadParam(const std::string& reportName, std::string& message) {
  const std::string auxName = textio::ChangeFileExt(reportName, ".aux");
  const auto lines = textio::ReadTextLines(auxName);
  if (!lines) {
    message = "The parameter file \"" + auxName + "\" could not be read";
    return std::nullopt;
  }
  std::string error;
  auto set = ParseParameterFile(*lines, error);
  if (!set) {
    message = "The parameter file \"" + auxName + "\" cannot be used: " + error;
    return std::nullopt;
  }
  return *set;
}

FrequencyEstimate CalcFrequent(const CalcParameters& p, double calcXInput, int n) {
  const double x = engine::CodeRow(p.Code).parametersInDataScale ? calcXInput : calcXInput - p.S;
  bool beyondBound = false;
  engine::FreqContext context;
  context.floorUsed = &beyondBound;
  context.upperPiece = x > p.P;
  double f = engine::ModelFreq(p, x, context);
  if (beyondBound) f = kNaN;
  if (f < 0.0) f = 0.0000001;
  if (f > 1.0) f = 0.9999999;
  FrequencyEstimate estimate;
  estimate.CalcFreqValue = f;
  Limits(f, n, estimate.CalcFreqLower, estimate.CalcFreqUpper);
  if (estimate.CalcFreqUpper > 1.0) estimate.CalcFreqUpper = 1.0;
  return estimate;
}

double NormalCalc(const CalcParameters& p, double f) {
  return p.M + p.D * engine::InvertHastings(f);
}

ValueEstimate CalcVal(const CalcParameters& p, double calcFreqValue, int n) {
  const double f = calcFreqValue;
  double lower = 0.0;
  double upper = 0.0;
  Limits(f, n, lower, upper);
  // The piece of a two-piece code is chosen once, from F.
  engine::InverseContext context;
  context.upperPiece = engine::IsTwoPieceCode(p.Code) && f > engine::UpperPieceFreqAtBreak(p);
  ValueEstimate estimate;
  estimate.CalcXValue = engine::ModelInverse(p, f, context);
  estimate.CalcXUpper = engine::ModelInverse(p, upper, context);
  estimate.CalcXLower = engine::ModelInverse(p, lower, context);
  return estimate;
}

namespace {

// The general number format of the result fields; a number that does not
// exist is shown as such.
std::string Field(double value, bool& missing) {
  if (!std::isfinite(value)) {
    missing = true;
    return kNoValue;
  }
  return textio::FormatGeneral(value);
}

// Reloads the input file and reads the parameter file. nullopt when either
// cannot be used; `message` is then what to show (empty when the data module
// has shown its own).
std::optional<CalcParameters> LoadFiles(report::TDMQuilmor& dm, const std::string& reportName,
                                        std::string& message) {
  const std::string inputName = textio::ChangeFileExt(reportName, ".inp");
  std::error_code ec;
  if (!std::filesystem::exists(inputName, ec)) {
    message = "The input file \"" + inputName + "\" beside the parameter file \"" +
              textio::ChangeFileExt(reportName, ".aux") +
              "\" is missing; the calculator needs the data of the run it belongs to";
    return std::nullopt;
  }
  if (dm.ReadInputFile(inputName) != report::TDMQuilmor::ReadResult::Ok) return std::nullopt;
  if (dm.NrOfData < 1) {
    message = "The input file \"" + inputName + "\" holds no data values";
    return std::nullopt;
  }
  return ReadParam(reportName, message);
}

// The bounds are the decimal numbers themselves, compared with the double
// value of the typed text: the double nearest 0.000001 lies just below it
// (refused), the double nearest 0.999999 just below that (accepted).
bool FrequencyOutOfRange(double f) { return f <= 0.000001 || f > 0.999999; }
bool ReturnPeriodOutOfRange(double t) { return t <= 0.000001 || t > 1000000.0; }

CalcOutcome<ValueFields> ValueFromFrequency(report::TDMQuilmor& dm, const std::string& reportName,
                                            double f, ValueFields fields) {
  CalcOutcome<ValueFields> outcome;
  auto p = LoadFiles(dm, reportName, outcome.message);
  if (!p) return outcome;
  bool missing = false;
  if (f <= 0.0) {
    fields.Edit6 = fields.Edit11 = fields.Edit12 = kNoValue;
    outcome.message = kReturnPeriodOneOrLess;
  } else {
    const ValueEstimate x = CalcVal(*p, f, dm.NrOfData);
    fields.Edit6 = Field(x.CalcXValue, missing);
    fields.Edit11 = Field(x.CalcXLower, missing);
    fields.Edit12 = Field(x.CalcXUpper, missing);
    if (missing) outcome.message = kNoXAtFrequency;
  }
  outcome.fields = std::move(fields);
  return outcome;
}

}  // namespace

CalcOutcome<FrequencyFields> Edit7Click(report::TDMQuilmor& dm, const std::string& reportName,
                                        std::string_view edit1, char decimalSeparator) {
  CalcOutcome<FrequencyFields> outcome;
  const auto x = textio::StringToFloat(edit1, decimalSeparator);
  if (!x) {
    outcome.message = kValueNotReal;
    return outcome;
  }
  auto p = LoadFiles(dm, reportName, outcome.message);
  if (!p) return outcome;
  const FrequencyEstimate estimate = CalcFrequent(*p, *x, dm.NrOfData);
  double f = estimate.CalcFreqValue;
  FrequencyFields fields;
  if (std::isnan(f)) {
    fields.Edit2 = fields.Edit3 = fields.Edit9 = fields.Edit10 = kNoValue;
    outcome.message = kNoFrequencyAtX;
    outcome.fields = std::move(fields);
    return outcome;
  }
  if (f < 0.0) f = 0.0;
  if (f > 1.0) f = 1.0;
  bool missing = false;
  fields.Edit2 = Field(f, missing);
  fields.Edit3 = Field(1.0 / (1.0 - f), missing);
  fields.Edit9 = Field(1.0 / (1.0 - estimate.CalcFreqLower), missing);
  fields.Edit10 = Field(1.0 / (1.0 - estimate.CalcFreqUpper), missing);
  if (missing) outcome.message = kNoFiniteReturnPeriod;
  outcome.fields = std::move(fields);
  return outcome;
}

CalcOutcome<ValueFields> Edit4Exit(report::TDMQuilmor& dm, const std::string& reportName,
                                   std::string_view edit4, char decimalSeparator) {
  const auto f = textio::StringToFloat(edit4, decimalSeparator);
  if (!f) return {std::nullopt, kFrequencyNotNumber};
  if (FrequencyOutOfRange(*f)) return {std::nullopt, kFrequencyOutOfRange};
  ValueFields fields;
  fields.Edit4 = std::string(edit4);
  fields.Edit5 = textio::FormatGeneral(1.0 / (1.0 - *f));
  return ValueFromFrequency(dm, reportName, *f, std::move(fields));
}

CalcOutcome<ValueFields> Edit5Exit(report::TDMQuilmor& dm, const std::string& reportName,
                                   std::string_view edit5, char decimalSeparator) {
  const auto t = textio::StringToFloat(edit5, decimalSeparator);
  if (!t) return {std::nullopt, kReturnPeriodNotReal};
  if (ReturnPeriodOutOfRange(*t)) return {std::nullopt, kReturnPeriodOutOfRange};
  const double f = 1.0 - 1.0 / *t;
  ValueFields fields;
  fields.Edit5 = std::string(edit5);
  fields.Edit4 = textio::FormatGeneral(f);
  return ValueFromFrequency(dm, reportName, f, std::move(fields));
}

}  // namespace quilmor::calculator
