#include "report/input_rules.hpp"

#include <string>

#include "textio/number_parse.hpp"

namespace quilmor::report::rules {

const PreferenceButton kPreferenceButtons[kPreferenceButtonCount] = {
    {"AllRadioButton", "Best fitting of all", "1", PreferenceNote::None},
    {"NormalRadioButton", "Normal", "21", PreferenceNote::Warning},
    {"LogNormRadioButton", "Logarithmic Normal", "22", PreferenceNote::Warning},
    {"RootNormRadioButton", "Root Normal", "24", PreferenceNote::Warning},
    {"SquareNormRadioButton", "Square Normal", "23", PreferenceNote::Warning},
    {"ExpNormRadioButton", "Generalized Normal", "25", PreferenceNote::GeneralizedNormal},
    {"LogisRadioButton", "Logistic", "53", PreferenceNote::Warning},
    {"LogLogisRadiButton", "Logarithmic Logistic", "54", PreferenceNote::Warning},
    {"ExpLogisRadioButton", "Generalized Logistic", "55", PreferenceNote::Warning},
    {"GumbelRadioButton", "Gumbel (Fisher-Tippett I)", "4", PreferenceNote::Warning},
    {"GumbelGenRadioButton", "Gumbel Generalized", "51", PreferenceNote::Warning},
    {"GumMirRadioButton", "Gumbel Mirrored", "5", PreferenceNote::Warning},
    {"GenGumMirRadioButton", "Generalized Gumbel Mirrored", "52", PreferenceNote::Warning},
    {"FrechetRadioButton", "Frechet (Fisher-Tippett II)", "58", PreferenceNote::Warning},
    {"ParetoRadioButton", "Pareto", "56", PreferenceNote::Warning},
    {"PoissonRadioButton", "Exponential (Poisson type)", "3", PreferenceNote::Warning},
    {"WeibullRadioButton", "Weibull", "57", PreferenceNote::Warning},
    {"WeibGenRadioButton", "Weibull generalized", "60", PreferenceNote::Warning},
    {"Type3RadioButton", "Fisher-Tippet III", "59", PreferenceNote::Warning},
    {"StudentRadioButton", "Student's t-distrib. ", "62", PreferenceNote::Warning},
};

namespace {

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

const PreferenceButton* ButtonOf(int code) {
  for (const PreferenceButton& button : kPreferenceButtons) {
    if (textio::ParseInt(button.code) == code) return &button;
  }
  return nullptr;
}

}  // namespace

NrOfDataCheck CheckNrOfData(std::string_view text) {
  NrOfDataCheck check;
  const std::optional<int> n = textio::ParseInt(Trimmed(text));
  if (!n) {
    check.message = kNrOfDataNotInteger;
    return check;
  }
  if (*n < kMinData) {
    check.message = kMinimumData;
    check.belowMinimum = true;
    return check;
  }
  check.count = *n;
  if (*n > kMaxUsedData) check.message = kFirst2500;
  return check;
}

ValueCountCheck CheckValueCount(long long values) {
  if (values < kMinData) return {true, kMinimumData};
  if (values > kMaxUsedData) return {false, kFirst2500};
  return {};
}

IntervalsCheck CheckIntervals(std::string_view text) {
  IntervalsCheck check;
  const std::optional<int> k = textio::ParseInt(Trimmed(text));
  if (!k) {
    check.message = kIntervalsNotInteger;
  } else if (*k < kMinIntervals || *k > kMaxIntervals) {
    check.message = kIntervalsOutOfRange;
    check.fieldText = *k > kMaxIntervals ? kMaxIntervals : kMinIntervals;
  } else {
    check.intervals = *k;
  }
  return check;
}

std::optional<double> CheckThreshold(std::string_view text, char separator) {
  return textio::StringToFloat(text, separator);
}

std::optional<int> CheckPreference(std::string_view text) {
  const std::optional<int> code = textio::ParseInt(Trimmed(text));
  if (!code || !ButtonOf(*code)) return std::nullopt;
  return code;
}

std::string PreferenceNoteText(int code) {
  const PreferenceButton* button = ButtonOf(code);
  if (!button) return {};
  switch (button->note) {
    case PreferenceNote::GeneralizedNormal:
      return kGeneralizedNormalNote;
    case PreferenceNote::Warning:
      return kDistrWarning;
    case PreferenceNote::None:
      break;
  }
  return {};
}

}  // namespace quilmor::report::rules
