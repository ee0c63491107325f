#include "calculator/calculator.hpp"

#include <cmath>
#include <limits>
#include <numbers>

#include "calculator/inverse.hpp"
#include "engine/catalogue.hpp"
#include "textio/number_format.hpp"
#include "textio/number_parse.hpp"
#include "textio/text_file.hpp"

namespace quilmor::calculator {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

engine::ModelParameters ModelOf(const ParameterSet& p) {
  engine::ModelParameters m;
  m.A = p.A;
  m.B = p.B;
  m.E = p.E;
  m.C = p.C;
  m.M = p.M;
  m.D = p.D;
  m.As = p.As;
  m.Bs = p.Bs;
  m.Ag = p.Ag;
  m.Bg = p.Bg;
  return m;
}

// Hastings' approximation as the calculator writes it:
//   t = 1/(1 + 0.23165 z); poly = 0.31938 t - 0.35656 t^2 + 1.78148 t^3
//   - 1.82126 t^4 + 1.33027 t^5; F = 1 - poly exp(-z^2/2)/sqrt(2 pi),
// and 0.001 where poly is negative. z = -infinity (the logarithm of 0) lies
// in that region as well.
double CalculatorNormalFreq(double z) {
  const double t = 1.0 / (1.0 + 0.23165 * z);
  const double t2 = t * t;
  const double t3 = t2 * t;
  const double t4 = t3 * t;
  const double t5 = t4 * t;
  const double poly = 0.31938 * t - 0.35656 * t2 + 1.78148 * t3 - 1.82126 * t4 + 1.33027 * t5;
  double f = 1.0 - poly * std::exp(-(z * z) / 2.0) / std::sqrt(2.0 * std::numbers::pi);
  if (!(poly >= 0.0) || z == -std::numeric_limits<double>::infinity()) f = 0.001;
  return f;
}

// sd = sqrt((1 - F) F n)/n; upper = F + 3.4 sd (1 - F); lower = F - 3.4 sd F.
void Limits(double f, int n, double& lower, double& upper) {
  const double count = static_cast<double>(n);
  const double sd = std::sqrt((1.0 - f) * f * count) / count;
  upper = f + 3.4 * sd * (1.0 - f);
  lower = f - 3.4 * sd * f;
  if (lower < 0.0) lower = 0.0;
}

}  // namespace

double UpperPieceFreqAtBreak(const ParameterSet& p) {
  return engine::TwoPieceFreq(p.Code, ModelOf(p), p.P, true);
}

std::optional<CalcParameters> ReadParam(report::TDMQuilmor& dm, std::string& message) {
  dm.FileName = textio::ChangeFileExt(dm.FileName, ".aux");
  const std::string auxName = dm.FileName;
  const auto lines = textio::ReadTextLines(auxName);
  dm.FileName = textio::ChangeFileExt(dm.FileName, ".out");
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
  CalcParameters p;
  static_cast<ParameterSet&>(p) = *set;
  if (engine::IsTwoPieceCode(p.Code)) p.BreakFreq = UpperPieceFreqAtBreak(p);
  return p;
}

FrequencyEstimate CalcFrequent(const CalcParameters& p, double calcXInput, int n) {
  const int code = p.Code;
  const double x = engine::CodeRow(code).parametersInDataScale ? calcXInput : calcXInput - p.S;
  const engine::ModelParameters model = ModelOf(p);
  double f = kNaN;
  if (engine::IsTwoPieceCode(code)) {
    f = engine::TwoPieceFreq(code, model, x, x > p.P);
  } else if (engine::IsNormalFamilyCode(code)) {
    // Models of ln x, sqrt x and x^E are taken at 0, their lower end, below 0.
    const double xt = (x < 0.0 && engine::CodeRow(code).needsNonNegativeX) ? 0.0 : x;
    const double v = engine::NormalTransform(code, xt, p.E);
    f = CalculatorNormalFreq((v - p.M) / p.D);
  } else if (engine::IsCatalogueCode(code)) {
    bool beyondBound = false;
    f = engine::SingleModelFreq(code, model, x, 0.0001, &beyondBound);
    if (beyondBound) f = kNaN;
  }
  if (f < 0.0) f = 0.0000001;
  if (f > 1.0) f = 0.9999999;
  FrequencyEstimate estimate;
  estimate.CalcFreqValue = f;
  Limits(f, n, estimate.CalcFreqLower, estimate.CalcFreqUpper);
  if (estimate.CalcFreqUpper > 1.0) estimate.CalcFreqUpper = 1.0;
  return estimate;
}

double NormalCalc(const CalcParameters& p, double f) { return p.M + p.D * InvertHastings(f); }

namespace {

// X(F) by code, without fallbacks or clamps. `upperPiece` is the piece of a
// two-piece code, chosen once from F.
double InverseAt(const CalcParameters& p, double f, bool upperPiece) {
  const double a = p.A;
  const double b = p.B;
  const double s = p.S;
  const double e = p.E;
  // clang-format off
  switch (p.Code) {
    case 1: return RootE((f - b) / a, e) + s;
    case 2: return RootE((std::log(f) - b) / a, e) + s;
    case 3: return RootE(-(std::log(1.0 - f) + b) / a, e) + s;
    case 4: return GumbelInverse(a, b, f) + s;
    case 5: return MirroredGumbelInverse(a, b, f) + s;
    case 21: case 22: case 23: case 24: case 25: {
      const double v = NormalCalc(p, f);
      switch (p.Code) {
        case 21: return v + s;
        case 22: return std::exp(v) + s;
        case 23: return std::sqrt(v) + s;
        // A negative root has no X-value.
        case 24: return v >= 0.0 ? v * v + s : kNaN;
        default: return RootE(v, e) + s;
      }
    }
    case 51: return RootE(GumbelInverse(a, b, f), e) + s;
    case 52: return RootE(MirroredGumbelInverse(a, b, f), e) + s;
    case 53: return LogisticInverse(a, b, f) + s;
    case 54: return std::exp(LogisticInverse(a, b, f)) + s;
    case 55: return RootE(LogisticInverse(a, b, f), e) + s;
    case 56: return b * engine::Power(1.0 - f, -1.0 / a) - b + s;
    case 57: return std::exp((std::log(-std::log(1.0 - f)) - b) / a) + s;
    // Bound and average are in the data scale: no shift is added.
    case 58: return std::exp(-b / a) * RootE(-std::log(f), a) + p.C;
    case 59: return p.C - std::exp(-b / a) * RootE(-std::log(f), a);
    case 60: return RootE(std::exp((std::log(-std::log(1.0 - f)) - b) / a), e) + s;
    case 62: return p.D * std::tan(std::numbers::pi * (f - 0.5)) + p.M;
    case 63: {
      const double u = 2.0 * f - 1.0;
      return p.D * std::numbers::sqrt2 * u / std::sqrt(1.0 - u * u) + p.M;
    }
    default: break;
  }
  // clang-format on
  if (engine::IsTwoPieceCode(p.Code)) {
    const engine::PieceKinds kinds = engine::TwoPieceKinds(p.Code);
    if (upperPiece) {
      if (p.Code == 7 || p.Code == 8) {
        if (f >= 1.0) f = 0.999;
        if (p.Code == 8 && f <= 0.0) f = 0.001;
      }
      return KernelInverse(kinds.upper, p.Ag, p.Bg, f) + s;
    }
    return KernelInverse(kinds.lower, p.As, p.Bs, f) + s;
  }
  return kNaN;
}

}  // namespace

ValueEstimate CalcVal(const CalcParameters& p, double calcFreqValue, int n) {
  const double f = calcFreqValue;
  double lower = 0.0;
  double upper = 0.0;
  Limits(f, n, lower, upper);
  const bool upperPiece = engine::IsTwoPieceCode(p.Code) && f > p.BreakFreq;
  ValueEstimate estimate;
  estimate.CalcXValue = InverseAt(p, f, upperPiece);
  estimate.CalcXUpper = InverseAt(p, upper, upperPiece);
  estimate.CalcXLower = InverseAt(p, lower, upperPiece);
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
std::optional<CalcParameters> LoadFiles(report::TDMQuilmor& dm, std::string& message) {
  dm.FileName = textio::ChangeFileExt(dm.FileName, ".inp");
  if (dm.ReadInputFile() != report::TDMQuilmor::ReadResult::Ok) return std::nullopt;
  if (dm.NrOfData < 1) {
    message = "The input file \"" + dm.FileName + "\" holds no data values";
    return std::nullopt;
  }
  dm.FileName = textio::ChangeFileExt(dm.FileName, ".out");
  return ReadParam(dm, message);
}

// The bounds are the decimal numbers themselves, compared with the double
// value of the typed text: the double nearest 0.000001 lies just below it
// (refused), the double nearest 0.999999 just below that (accepted).
bool FrequencyOutOfRange(double f) { return f <= 0.000001 || f > 0.999999; }
bool ReturnPeriodOutOfRange(double t) { return t <= 0.000001 || t > 1000000.0; }

CalcOutcome<ValueFields> ValueFromFrequency(report::TDMQuilmor& dm, double f, ValueFields fields) {
  CalcOutcome<ValueFields> outcome;
  auto p = LoadFiles(dm, outcome.message);
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

CalcOutcome<FrequencyFields> Edit7Click(report::TDMQuilmor& dm, std::string_view edit1,
                                        char decimalSeparator) {
  CalcOutcome<FrequencyFields> outcome;
  const auto x = textio::StringToFloat(edit1, decimalSeparator);
  if (!x) {
    outcome.message = kValueNotReal;
    return outcome;
  }
  auto p = LoadFiles(dm, outcome.message);
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

CalcOutcome<ValueFields> Edit4Exit(report::TDMQuilmor& dm, std::string_view edit4,
                                   char decimalSeparator) {
  const auto f = textio::StringToFloat(edit4, decimalSeparator);
  if (!f) return {std::nullopt, kFrequencyNotNumber};
  if (FrequencyOutOfRange(*f)) return {std::nullopt, kFrequencyOutOfRange};
  ValueFields fields;
  fields.Edit4 = std::string(edit4);
  fields.Edit5 = textio::FormatGeneral(1.0 / (1.0 - *f));
  return ValueFromFrequency(dm, *f, std::move(fields));
}

CalcOutcome<ValueFields> Edit5Exit(report::TDMQuilmor& dm, std::string_view edit5,
                                   char decimalSeparator) {
  const auto t = textio::StringToFloat(edit5, decimalSeparator);
  if (!t) return {std::nullopt, kReturnPeriodNotReal};
  if (ReturnPeriodOutOfRange(*t)) return {std::nullopt, kReturnPeriodOutOfRange};
  const double f = 1.0 - 1.0 / *t;
  ValueFields fields;
  fields.Edit5 = std::string(edit5);
  fields.Edit4 = textio::FormatGeneral(f);
  return ValueFromFrequency(dm, f, std::move(fields));
}

}  // namespace quilmor::calculator
