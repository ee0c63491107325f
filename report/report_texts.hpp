// The fixed texts of the results report: the lines every report has, and per
// distribution code the description, the name shown in graph titles, the
// formula with and without the shift term and the parameter lines. The
// readers of the report (inverse evaluation, graphs) find its tables by the
// titles and hyphen lines below.
#pragma once

#include <string_view>

namespace quilmor::report {

// --- Heading ---------------------------------------------------------------
inline constexpr std::string_view kReportTitle = " RESULTS OF Quilmor PROGRAM";
inline constexpr std::string_view kReportSubtitle = " Cumulative frequency analysis";
inline constexpr std::string_view kInputFileLabel = " Name of input file used: ";
inline constexpr std::string_view kNrOfDataLabel = " Number of data used: ";
inline constexpr std::string_view kBreakNotFound = " Breakpoint allowed but not found";
inline constexpr std::string_view kBreakNotAllowed = " Breakpoint found but not allowed";
inline constexpr std::string_view kPreferredByUser = " Frequency distribution preferred by user.";
inline constexpr std::string_view kNotFound = " The frequency distibution cannot be found :";

// --- Function part -----------------------------------------------------------
inline constexpr std::string_view kBreakPointLabel = " Breakpoint : P =";
inline constexpr std::string_view kHastingsLine = " The numerical method of Hastings is applied.";
inline constexpr std::string_view kShiftLabelC = " An additional term C is used : C = ";
inline constexpr std::string_view kShiftLabelY = " The variable X is replaced by Y=X+C, with C = ";
inline constexpr std::string_view kShiftLabelT = " An additional term T is used : T = ";
inline constexpr std::string_view kExponentLabel = "     The exponent E = ";
inline constexpr std::string_view kWeibullScaleText = "     C    = exp(-B/A)";
inline constexpr std::string_view kWeibullScaleLabel = "     C    = exp(-B/A) =";
inline constexpr std::string_view kBoundLabel = "     C    = ";
inline constexpr std::string_view kBelowBoundWarning =
    " Warning, there are values smaller than the lower bound C";
inline constexpr std::string_view kAboveBoundWarning =
    " Warning, there are values larger than the upper bound C";
inline constexpr std::string_view kSlopeLabel = "     A    =";
inline constexpr std::string_view kInterceptLabel = "     B    =";
inline constexpr std::string_view kModeLabel = "   Mode   =";
inline constexpr std::string_view kGumbelStdErrorLabel =
    " The standard error of X is optimized as ";

// --- Summary statistics --------------------------------------------------------
inline constexpr std::string_view kAverageLabel = " Average X:";
inline constexpr std::string_view kMedianLabel = "     Median X:";
inline constexpr std::string_view kStdDevLabel = "     St.Dev. X:";

// --- Interval table ------------------------------------------------------------
inline constexpr std::string_view kIntervalTitle = " Interval analysis";
inline constexpr std::string_view kIntervalRule = " --------------------------------------";
inline constexpr std::string_view kIntervalHeader1 = "   Class limits of X    Class frequency";
inline constexpr std::string_view kIntervalHeader2 = "    Lower    Upper      Obs. (%)  Calc.";

// --- Table of observed and calculated frequencies --------------------------------
inline constexpr std::string_view kFrequencyTitle =
    " Observed and calculated cumulative frequencies";
inline constexpr std::string_view kFrequencyRule =
    " ------------------------------------------------------------------";
inline constexpr std::string_view kFrequencyHeader1 =
    "   X-value   Serial    Cumulative frequency in %     90% conf limit";
inline constexpr std::string_view kFrequencyHeader2 =
    "   Ranked     No.      Rank      Calc.    St.Dev     Lower    Upper";
inline constexpr std::string_view kAverageDifference1 =
    " Average of absolute differences between calculated and";
inline constexpr std::string_view kFrequencyDifferenceLabel = " observed frequencies :";
inline constexpr std::string_view kEfficiency1 =
    " Efficiency coefficient (R) of calculated and observed";
inline constexpr std::string_view kEfficiencyLabel = " cumulative frequency :";

// --- Table of return periods -------------------------------------------------------
inline constexpr std::string_view kReturnTitle =
    " Return period = 1/(1-Cum.Frq), time units as used for the data ";
inline constexpr std::string_view kReturnRule =
    " --------------------------------------------------------------";
inline constexpr std::string_view kReturnHeader1 =
    "   X-value    Serial      Return period        90% conf limit";
inline constexpr std::string_view kReturnHeader2 =
    "   Ranked      No.       Rank       Calc.      Lower    Upper";
inline constexpr std::string_view kReturnDifferenceLabel = " observed return periods :";

// The six blanks between the X-value and the serial number of a table row.
inline constexpr std::string_view kRowGap = "      ";

// Extra parameter lines of a single function, before its A and B lines.
enum class ParameterExtras {
  None,
  Exponent,          // the exponent E
  WeibullScaleText,  // "C = exp(-B/A)" as text
  LowerBound,        // the bound C of code 58 and its warning
  UpperBound,        // the bound C of code 59 and its warning
  ExponentAndScale,  // E, then C = exp(-B/A) with its value
};

// Texts of one code. Pointers are nullptr where a code has no such text.
struct CodeTexts {
  int code;
  const char* description1;  // first description line
  const char* description2;  // second description line
  const char* reportName;    // the DistributionName the report gives the code
  // Single functions: the shift line's label and the formula with and without
  // the shift term.
  const char* shiftLabel;
  const char* formulaWithShift;
  const char* formulaPlain;
  // Whether the A and B lines are printed (codes 2..5, 51..60), and what
  // comes before them.
  bool printsParameters;
  ParameterExtras extras;
};

// The texts of `code`; nullptr for a code outside the catalogue.
const CodeTexts* FindCodeTexts(int code);

// Two-piece functions (codes 7..18): formulas of both pieces in the Y form
// (with the shift) and the X form, and the labels of As, Bs, Ag and Bg.
struct TwoPieceTexts {
  int code;
  bool leadingEmptyLine;
  const char* shiftLabel;
  const char* lowerWithShift;
  const char* lowerPlain;
  const char* upperWithShift;
  const char* upperPlain;
  const char* labelAs;
  const char* labelBs;
  const char* labelAg;
  const char* labelBg;
};

const TwoPieceTexts* FindTwoPieceTexts(int code);

// Normal family (codes 21..25): the lines of the standard error and of the
// average of the transformed values, with and without the shift term.
struct NormalFamilyTexts {
  int code;
  const char* title;
  bool hasShiftForm;           // false for code 21: one form only
  const char* stdErrorShift;   // with the shift: label of se
  const char* optimisedShift;  // label of sd
  int sdWidthShift;            // width of sd (8 for code 25)
  const char* averageShift;    // label of the mean (nullptr: no mean line)
  const char* stdErrorPlain;
  const char* optimisedPlain;
  const char* averagePlain;
};

const NormalFamilyTexts* FindNormalFamilyTexts(int code);

// Code 25's lines before the Hastings line.
inline constexpr std::string_view kTransformedDataLine =
    " The X-data were temporarily transformed into X^E";
inline constexpr std::string_view kExponentIsLabel = " The exponent E is : ";

}  // namespace quilmor::report
