// The fixed texts of the results report: the lines every report has. The
// texts of each distribution code (description, name, formulas, parameter
// labels) are columns of the catalogue (engine/catalogue.hpp). The readers of
// the report (inverse evaluation, graphs) find its tables by the titles and
// hyphen lines below.
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

// Code 25's lines before the Hastings line.
inline constexpr std::string_view kTransformedDataLine =
    " The X-data were temporarily transformed into X^E";
inline constexpr std::string_view kExponentIsLabel = " The exponent E is : ";

}  // namespace quilmor::report
