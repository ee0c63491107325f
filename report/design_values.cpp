#include "report/design_values.hpp"

#include <charconv>
#include <cmath>
#include <limits>

#include "textio/number_parse.hpp"

namespace quilmor::report {
namespace {

constexpr std::string_view kListSeparators = ", \t";

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// The items of a list separated by commas and blanks; empty items (two commas
// in a row) are an error, reported as nullopt.
std::optional<std::vector<std::string_view>> SplitList(std::string_view text) {
  std::vector<std::string_view> items;
  std::size_t pos = 0;
  bool expectItem = true;  // after the start or a comma
  while (pos < text.size()) {
    const char c = text[pos];
    if (c == ' ' || c == '\t') {
      ++pos;
    } else if (c == ',') {
      if (expectItem) return std::nullopt;
      expectItem = true;
      ++pos;
    } else {
      const std::size_t end = std::min(text.find_first_of(kListSeparators, pos), text.size());
      items.push_back(text.substr(pos, end - pos));
      expectItem = false;
      pos = end;
    }
  }
  if (expectItem && !items.empty()) return std::nullopt;  // a trailing comma
  return items;
}

// Why a value is not a return period or a frequency; nullptr when it is one.
using ValueCheck = const char* (*)(double);

// A list of numbers, each accepted by `check`; the message names the first
// item that is not, and why.
std::optional<std::string> ParseList(std::string_view flag, std::string_view text,
                                     std::string_view what, ValueCheck check,
                                     std::vector<double>& out) {
  const auto items = SplitList(text);
  if (!items) return std::string(flag) + ": " + Quoted(text) + " has an empty item";
  if (items->empty()) return std::string(flag) + ": give at least one " + std::string(what);
  std::vector<double> values;
  for (std::string_view item : *items) {
    const std::optional<double> v = textio::ParseReal(item);
    if (!v) return std::string(flag) + ": " + Quoted(item) + " is not a number";
    if (const char* reason = check(*v)) return std::string(flag) + ": " + Quoted(item) + reason;
    values.push_back(*v);
  }
  out = std::move(values);
  return std::nullopt;
}

const char* CheckReturnPeriod(double t) {
  if (!(t > 1.0)) return " is not a return period above 1";
  if (!(FrequencyOfReturnPeriod(t) < 1.0))
    return " is too long a return period: 1 - 1/T rounds to 1";
  return nullptr;
}

const char* CheckFrequency(double f) {
  return f > 0.0 && f < 1.0 ? nullptr : " is not a frequency between 0 and 1";
}

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Digits with an optional sign: a whole number, whether or not it fits.
bool IsWholeNumberText(std::string_view text) {
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

constexpr DesignOptionRow kDesignOptions[] = {
    {"--periods", "LIST",
     "return periods in years, above 1 (default 2,5,10,20,25,50,100,200,500,1000)",
     SetReturnPeriods},
    {"--freqs", "LIST", "non-exceedance frequencies between 0 and 1, tabulated beside the periods",
     SetFrequencies},
    {"--design-life", "N", "years of a design life: adds the risk of exceedance in N years",
     SetDesignLife},
    {"--bootstrap", "B", "bootstrap replicates, 0 (off) to 100000", SetBootstrapReplicates},
    {"--seed", "S", "seed of the bootstrap's random streams (default 1)", SetSeed},
    {"--bootstrap-kind", "KIND",
     "nonparametric (resample the values) or parametric (draw from "
     "the fitted function)",
     SetBootstrapKind},
};

}  // namespace

double FrequencyOfReturnPeriod(double returnPeriod) { return 1.0 - 1.0 / returnPeriod; }

double ReturnPeriodOfFrequency(double frequency) { return 1.0 / (1.0 - frequency); }

double DesignLifeRisk(double returnPeriod, int years) {
  return -std::expm1(years * std::log1p(-1.0 / returnPeriod));
}

std::vector<DesignPoint> DesignPoints(const DesignOptions& options) {
  std::vector<DesignPoint> points;
  for (double t : options.returnPeriods) points.push_back({t, FrequencyOfReturnPeriod(t)});
  for (double f : options.frequencies) points.push_back({ReturnPeriodOfFrequency(f), f});
  return points;
}

std::optional<std::string> SetReturnPeriods(DesignOptions& options, std::string_view text) {
  return ParseList("--periods", text, "return period above 1", CheckReturnPeriod,
                   options.returnPeriods);
}

std::optional<std::string> SetFrequencies(DesignOptions& options, std::string_view text) {
  return ParseList("--freqs", text, "frequency between 0 and 1", CheckFrequency,
                   options.frequencies);
}

std::optional<std::string> SetDesignLife(DesignOptions& options, std::string_view text) {
  text = TrimBlanks(text);
  if (!IsWholeNumberText(text)) {
    return "--design-life: " + Quoted(text) + " is not a whole number of years";
  }
  const std::optional<int> years = textio::ParseInt(text);
  if (!years || *years <= 0) {
    return "--design-life: the design life must be a whole number of years from 1 to " +
           std::to_string(std::numeric_limits<int>::max());
  }
  options.designLife = *years;
  return std::nullopt;
}

std::optional<std::string> SetBootstrapReplicates(DesignOptions& options, std::string_view text) {
  text = TrimBlanks(text);
  if (!IsWholeNumberText(text)) return "--bootstrap: " + Quoted(text) + " is not a whole number";
  const std::optional<int> count = textio::ParseInt(text);
  if (!count || *count < 0 || *count > kMaxBootstrapReplicates) {
    return "--bootstrap: the number of replicates must lie from 0 (no bootstrap) to " +
           std::to_string(kMaxBootstrapReplicates);
  }
  options.bootstrapReplicates = *count;
  return std::nullopt;
}

std::optional<std::string> SetSeed(DesignOptions& options, std::string_view text) {
  text = TrimBlanks(text);
  std::uint64_t seed = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), seed);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) {
    return "--seed: " + Quoted(text) + " is not a whole number from 0 to 18446744073709551615";
  }
  options.seed = seed;
  return std::nullopt;
}

std::optional<std::string> SetBootstrapKind(DesignOptions& options, std::string_view text) {
  text = TrimBlanks(text);
  if (text == "nonparametric") {
    options.bootstrapKind = BootstrapKind::kNonparametric;
  } else if (text == "parametric") {
    options.bootstrapKind = BootstrapKind::kParametric;
  } else {
    return "--bootstrap-kind: " + Quoted(text) + " is neither nonparametric nor parametric";
  }
  return std::nullopt;
}

std::span<const DesignOptionRow> DesignOptionTable() { return kDesignOptions; }

}  // namespace quilmor::report
