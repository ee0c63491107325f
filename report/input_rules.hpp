// The rules of the Input page, for the desktop program and the command line
// alike: how many data, how many intervals, the threshold, the distribution
// preference, and the texts that tell the user about them.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace quilmor::report::rules {

inline constexpr int kMinData = 6;
inline constexpr int kMaxUsedData = 2500;  // values at or above the threshold that are used
inline constexpr int kMinIntervals = 2;
inline constexpr int kMaxIntervals = 20;
inline constexpr const char* kDefaultIntervals = "5";
inline constexpr const char* kBestOfAll = "1";  // the preference "best fitting of all"

// --- Texts ------------------------------------------------------------------------
inline constexpr const char* kNrOfDataNotInteger = "The number of data is not a valid integer";
inline constexpr const char* kMinimumData = " The minimum number of data is 6";
inline constexpr const char* kFirst2500 =
    " The program uses the first 2500 data above the given threshold only";
inline constexpr const char* kLimitedTo2500 =
    "The analysis was limited to the first 2500 data greater than the threshold";
inline constexpr const char* kAddData = " Add data in the last cells at the end of the column";
inline constexpr const char* kRemoveData = " To remove data, empty the relevant data cells ";
inline constexpr const char* kIntervalsNotInteger = "The number of classes is not a valid integer";
inline constexpr const char* kIntervalsOutOfRange =
    "Do not use more than 20 classes and not less than 2";
inline constexpr const char* kIntervalsAdvice =
    "For interval analysis (histogram) a number of interval classes is needed.  It is "
    "recommended to use 2, 5, 10 or 20 classes.  Use 10 or 20 only when there are more than 50 "
    "resp. 100 data";
inline constexpr const char* kThresholdNotReal = "The threshold is not a valid real";
inline constexpr const char* kDistrWarning =
    "Please be aware that in some cases this distribution may not be suitable. Compare the "
    "efficiency (correlation) coefficients in the output files below the table.";
inline constexpr const char* kGeneralizedNormalNote =
    "Please note that the normal distribution with exponentially transformed data is the only "
    "one not included in the group used to determine the \"Best of all\". Therefore, in some "
    "cases, it may be even better fitting than the \"Best of all\", but it may also be "
    "unsuitable. Compare the efficiency (correlation) coefficient in the output file below the "
    "table.";
inline constexpr const char* kGeneralizedNormalHint =
    " The generalized normal distribution is the only one not in included in \"Best of fitting "
    "of all\". Yet is widely applicable.";
inline constexpr const char* kValuesNotReal = "Not all data values in the inputfile are real";

// --- Number of data ---------------------------------------------------------------
struct NrOfDataCheck {
  std::optional<int> count;   // nullopt: the text is no integer, or below the minimum
  std::string message;        // the refusal, or the note about the first 2500
  bool belowMinimum = false;  // the field is then set to the minimum
};
// The "Nr. of Data" field's text.
NrOfDataCheck CheckNrOfData(std::string_view text);

// Messages about the number of values a run would take (rows with a value),
// in the order they are shown; the first, when `refused`, stops the run.
struct ValueCountCheck {
  bool refused = false;
  std::string message;  // empty: nothing to tell
};
ValueCountCheck CheckValueCount(long long values);

// --- Intervals --------------------------------------------------------------------
struct IntervalsCheck {
  std::optional<int> intervals;  // accepted
  std::string message;
  std::optional<int> fieldText;  // what the field is set to after a value out of range
};
IntervalsCheck CheckIntervals(std::string_view text);

// --- Threshold ------------------------------------------------------------------------
// The threshold as the user's number conversion reads it (`separator` the
// system's decimal separator); nullopt when it is no number
// (kThresholdNotReal).
std::optional<double> CheckThreshold(std::string_view text, char separator);

// --- Preference -------------------------------------------------------------------
// What choosing a preference tells the user.
enum class PreferenceNote {
  None,               // best fitting of all
  GeneralizedNormal,  // kGeneralizedNormalNote
  Warning,            // kDistrWarning
};

// One preference button of the Input page.
struct PreferenceButton {
  const char* name;     // the control's name
  const char* caption;  // its caption
  const char* code;     // the preference it stores
  PreferenceNote note;
};
// In their order on the page, top to bottom: best fitting of all, then the
// catalogue's preference buttons in their order.
inline constexpr int kPreferenceButtonCount = 20;
const std::array<PreferenceButton, kPreferenceButtonCount>& PreferenceButtons();

// The code of a preference text ("1" best fitting of all, or the code of a
// preference button); nullopt otherwise.
std::optional<int> CheckPreference(std::string_view text);
// The text shown after choosing the preference `code` ("" for none).
std::string PreferenceNoteText(int code);

// --- Titles and file names ----------------------------------------------------------
// A title is one line of the input file and of the report: a line break, a
// NUL, a tab or any other control character in it would change what is read
// back. The refusal, or nullopt for a title that may be written. `which` is 1
// or 2.
std::optional<std::string> CheckTitle(std::string_view text, int which);
// The same for the name of a file a run reads or writes (the file's header
// holds it on one line).
std::optional<std::string> CheckFileName(std::string_view name);

// A run writes the report (".out") and the parameter file (".aux") beside its
// input: a file of values under one of those names would be replaced by its
// own report. The refusal, or nullopt.
std::optional<std::string> CheckInputExtension(std::string_view name);

}  // namespace quilmor::report::rules
