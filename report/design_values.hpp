// Design values: the return periods and frequencies at which the fitted
// function is read, the risk of exceedance over a design life, and the options
// of a design-value run (what to tabulate, whether and how to bootstrap).
// The options are given as text, by the command line or the windows, and each
// is checked here with one message for both.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quilmor::report {

// Return periods in years tabulated when none are given.
inline constexpr std::array<double, 10> kDefaultReturnPeriods = {2,  5,   10,  20,  25,
                                                                 50, 100, 200, 500, 1000};
inline constexpr int kMaxBootstrapReplicates = 100000;
inline constexpr std::uint64_t kDefaultSeed = 1;

enum class BootstrapKind {
  kNonparametric,  // resample the values in use with replacement
  kParametric,     // draw from the fitted function through its inverse
};

struct DesignOptions {
  std::vector<double> returnPeriods{kDefaultReturnPeriods.begin(), kDefaultReturnPeriods.end()};
  std::vector<double> frequencies;  // non-exceedance frequencies, beside the periods
  int designLife = 0;               // years; 0: no risk column
  int bootstrapReplicates = 0;      // B; 0: no bootstrap
  std::uint64_t seed = kDefaultSeed;
  BootstrapKind bootstrapKind = BootstrapKind::kNonparametric;
};

// F = 1 − 1/T, the non-exceedance frequency of return period T.
double FrequencyOfReturnPeriod(double returnPeriod);
// T = 1/(1 − F).
double ReturnPeriodOfFrequency(double frequency);

// The probability that the T-year value is exceeded at least once in n
// years, 1 − (1 − 1/T)^n, computed as −expm1(n·log1p(−1/T)) so that it keeps
// its digits when 1/T is small (the plain form loses them in 1 − 1/T).
double DesignLifeRisk(double returnPeriod, int years);

// One row of the design-value table.
struct DesignPoint {
  double returnPeriod;
  double frequency;
};

// The rows: the return periods in the order given, then the frequencies in
// the order given.
std::vector<DesignPoint> DesignPoints(const DesignOptions& options);

// --- Options from text ---------------------------------------------------
// Each setter takes the option's text, stores the value and returns nothing,
// or leaves the options as they were and returns the message (which names
// the option as the command line spells it).

// "2, 5, 10.5": numbers with "." decimals, separated by commas or blanks;
// each above 1 (and small enough that 1 − 1/T is not 1).
std::optional<std::string> SetReturnPeriods(DesignOptions& options, std::string_view text);
// Frequencies strictly between 0 and 1, the same list form.
std::optional<std::string> SetFrequencies(DesignOptions& options, std::string_view text);
// A whole number of years, at least 1.
std::optional<std::string> SetDesignLife(DesignOptions& options, std::string_view text);
// A whole number of replicates from 0 to kMaxBootstrapReplicates.
std::optional<std::string> SetBootstrapReplicates(DesignOptions& options, std::string_view text);
// A whole number from 0 to 2^64 − 1.
std::optional<std::string> SetSeed(DesignOptions& options, std::string_view text);
// "nonparametric" or "parametric".
std::optional<std::string> SetBootstrapKind(DesignOptions& options, std::string_view text);

// The options as a table, for a front end that registers them in a loop.
struct DesignOptionRow {
  const char* flag;       // "--periods"
  const char* valueName;  // "LIST"
  const char* help;
  std::optional<std::string> (*set)(DesignOptions&, std::string_view);
};
std::span<const DesignOptionRow> DesignOptionTable();

}  // namespace quilmor::report
