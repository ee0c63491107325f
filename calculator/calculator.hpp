// The calculator: evaluates the fitted function of a report both ways, from an
// X-value to its cumulative frequency and return period (with 90% limits of the
// return period), and from a cumulative frequency or a return period to the
// X-value (with 90% limits of the X-value). It works only from the files on
// disk: every evaluation reloads the input file (".inp") and reads the
// parameter file (".aux") named after the data module's FileName.
//
// The numeric operations take numbers and give numbers; the three handlers
// take the texts of the input fields and give the texts of the result fields
// (numbers in the general format with 15 significant digits) or a message, so
// that a window only moves text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "calculator/parameter_file.hpp"
#include "report/data_module.hpp"

namespace quilmor::calculator {

// The parameter file as the calculator holds it.
using CalcParameters = engine::Parameters;

// ReadParam: reads the file named dm.FileName with the extension ".aux" and
// leaves dm.FileName with the extension ".out". nullopt with `message` set
// (the text to show) when the file is missing or damaged.
std::optional<CalcParameters> ReadParam(report::TDMQuilmor& dm, std::string& message);

// Cumulative frequency F and its 90% limits.
struct FrequencyEstimate {
  double CalcFreqValue = 0.0;
  double CalcFreqLower = 0.0;
  double CalcFreqUpper = 0.0;
};

// CalcFrequent: F at the typed X-value (x = X - S; for 58, 59, 62 and 63,
// whose bound or average is in the data scale, x = X), moved into
// [0.0000001, 0.9999999] when the formula leaves 0..1, with limits from n data.
// F is not a number where the fitted function has no value at X (below the
// bound of 58, above that of 59, at or below -B for 56).
FrequencyEstimate CalcFrequent(const CalcParameters& p, double calcXInput, int n);

// The X-value of F and the X-values of its 90% limits.
struct ValueEstimate {
  double CalcXValue = 0.0;
  double CalcXLower = 0.0;
  double CalcXUpper = 0.0;
};

// CalcVal: the inverse of F (0 < F < 1) and of its limits from n data. A
// result that does not exist (a logarithm or root of a non-positive number)
// is not a number.
ValueEstimate CalcVal(const CalcParameters& p, double calcFreqValue, int n);

// NormalCalc: the transformed value v = mean + sigma z of the normal family at
// frequency F, z being the bisection inverse of Hastings' approximation.
double NormalCalc(const CalcParameters& p, double f);

// --- The handlers: texts in, texts out ---------------------------------------

// Shown in a result field whose number does not exist.
inline constexpr const char* kNoValue = "no value";

// Results of Edit7Click: frequency, return period and the return-period
// limits.
struct FrequencyFields {
  std::string Edit2;   // Cum. Freq.
  std::string Edit3;   // Ret. Per.
  std::string Edit9;   // lower limit of the return period
  std::string Edit10;  // upper limit of the return period
};

// Results of Edit4Exit and Edit5Exit: both input fields (the one left as
// typed, the other filled in) and the X-value with its limits.
struct ValueFields {
  std::string Edit4;   // Cum. Freq.
  std::string Edit5;   // Ret. Per.
  std::string Edit6;   // X-value
  std::string Edit11;  // lower limit of the X-value
  std::string Edit12;  // upper limit of the X-value
};

// No fields: nothing was computed and `message` says why (empty when the data
// module has already reported an input file it could not read). Fields and a
// message: part of the result has no value and `message` says which.
template <class Fields>
struct CalcOutcome {
  std::optional<Fields> fields;
  std::string message;
};

// X-value to frequency ("Go ->" beside the X-value).
CalcOutcome<FrequencyFields> Edit7Click(report::TDMQuilmor& dm, std::string_view edit1,
                                        char decimalSeparator = '.');
// Frequency to X-value (leaving the frequency field).
CalcOutcome<ValueFields> Edit4Exit(report::TDMQuilmor& dm, std::string_view edit4,
                                   char decimalSeparator = '.');
// Return period to X-value (leaving the return-period field).
CalcOutcome<ValueFields> Edit5Exit(report::TDMQuilmor& dm, std::string_view edit5,
                                   char decimalSeparator = '.');

// Messages of the handlers.
inline constexpr const char* kValueNotReal = "The value is not a valid real";
inline constexpr const char* kFrequencyNotNumber = "The frequency is not a valid integer";
inline constexpr const char* kFrequencyOutOfRange = "The frequency must be >0 and <1";
inline constexpr const char* kReturnPeriodNotReal = "The retrun period is not a valid real";
inline constexpr const char* kReturnPeriodOutOfRange = "The return period must be >0 and <1000000";
inline constexpr const char* kNoFrequencyAtX =
    "The fitted function has no cumulative frequency at this X-value (it lies beyond a bound "
    "of the function)";
inline constexpr const char* kNoFiniteReturnPeriod =
    "A cumulative frequency of 1 has no finite return period";
inline constexpr const char* kReturnPeriodOneOrLess =
    "A return period of 1 or less gives a cumulative frequency of 0 or less, which has no "
    "X-value";
inline constexpr const char* kNoXAtFrequency =
    "The fitted function gives no X-value at this frequency or one of its limits (a logarithm "
    "or root of a number that is not positive)";

}  // namespace quilmor::calculator
