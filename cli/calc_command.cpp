// `quilmor-cli calc FILE.aux --x VALUE | --freq F | --period T`: the
// calculator. It reads the parameter file and the input file beside it, as
// the calculator window does, and prints the fields that window shows.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <system_error>

#include "calculator/calculator.hpp"
#include "cli/cli_app.hpp"
#include "report/data_module.hpp"
#include "textio/number_format.hpp"
#include "textio/number_parse.hpp"
#include "textio/text_file.hpp"

namespace quilmor::cli {

namespace {

struct CalcSettings {
  std::string file;
  std::string x;
  std::string freq;
  std::string period;
};

void PrintLine(std::ostream& out, const std::string& label, const std::string& value) {
  std::string padded = label + ":";
  padded.resize(std::max<std::size_t>(padded.size() + 1, 13), ' ');
  out << padded << value << '\n';
}

template <class Fields>
bool Refused(const calculator::CalcOutcome<Fields>& outcome, CommandContext& context) {
  if (!outcome.message.empty()) context.err << outcome.message << '\n';
  if (outcome.fields) return false;
  context.exitCode = kExitUsage;
  return true;
}

void PrintValueFields(const calculator::ValueFields& f, std::ostream& out) {
  PrintLine(out, "Cum. Freq.", f.Edit4);
  PrintLine(out, "Ret. Per.", f.Edit5);
  PrintLine(out, "X-value", f.Edit6);
  out << "90% confidence limits of the X-Value\n";
  PrintLine(out, "  Lower", f.Edit11);
  PrintLine(out, "  Upper", f.Edit12);
}

// A number written out that no double holds: beyond 1.8E308 in size, or so
// close to 0 that it cannot be told from it.
bool OutOfDoubleRange(const std::string& text) {
  std::string number = text;
  const auto first = number.find_first_not_of(' ');
  const auto last = number.find_last_not_of(' ');
  if (first == std::string::npos) return false;
  number = number.substr(first, last - first + 1);
  std::replace(number.begin(), number.end(), ',', '.');
  if (!number.empty() && number.front() == '+') number.erase(0, 1);
  double value = 0.0;
  const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value,
                                         std::chars_format::general);
  return ec == std::errc::result_out_of_range && end == number.data() + number.size();
}

// The command line states what it accepts where the window has its own short
// texts: a text that is no number, the exact range of a frequency or a return
// period. The bounds are those of the window's checks.
bool CheckNumber(const std::string& option, const std::string& text, double above, double most,
                 const char* what, CommandContext& context) {
  const std::optional<double> value = textio::StringToFloat(text, '.');
  if (!value || !std::isfinite(*value)) {
    context.err << "quilmor-cli calc: " << option << " \"" << textio::Excerpt(text)
                << (OutOfDoubleRange(text)
                        ? "\" lies outside the numbers the program can hold (sizes from about "
                          "4.9E-324 to 1.8E308, and 0)\n"
                        : "\" is not a number\n");
    context.exitCode = kExitUsage;
    return false;
  }
  if (*value <= above || *value > most) {
    context.err << "quilmor-cli calc: the " << what << " must be above "
                << textio::FormatGeneral(above) << " and at most " << textio::FormatGeneral(most)
                << ", not " << text << '\n';
    context.exitCode = kExitUsage;
    return false;
  }
  return true;
}

// The calculator reads the parameter file (".aux") named, or the one beside
// the report named, and the input file beside it.
bool CheckParameterFile(const std::string& file, CommandContext& context) {
  std::error_code ec;
  const std::string aux = textio::ChangeFileExt(file, ".aux");
  if (std::filesystem::exists(aux, ec)) return true;
  if (aux == file) {
    context.err << "quilmor-cli calc: the parameter file \"" << file << "\" does not exist\n";
  } else {
    context.err << "quilmor-cli calc: \"" << file
                << "\" is not a parameter file, and there is no parameter file \"" << aux
                << "\" beside it\n";
  }
  context.exitCode = kExitUsage;
  return false;
}

}  // namespace

void AddCalcCommand(CLI::App& app, CommandContext& context) {
  auto settings = std::make_shared<CalcSettings>();
  CLI::App* calc = app.add_subcommand(
      "calc", "Evaluate the fitted function of a report both ways (reads FILE.aux and the .inp)");
  calc->add_option("file", settings->file, "The parameter file (.aux) of a report")->required();
  auto* x =
      calc->add_option("--x", settings->x, "X-value: its cumulative frequency and return period");
  auto* freq =
      calc->add_option("--freq", settings->freq, "Cumulative frequency (>0 and <1): its X-value");
  auto* period = calc->add_option("--period", settings->period, "Return period: its X-value");
  x->excludes(freq)->excludes(period);
  freq->excludes(period);
  calc->callback([settings, x, freq, period, &context]() {
    if (x->count() + freq->count() + period->count() != 1) {
      context.err << "quilmor-cli calc: give one of --x, --freq or --period\n";
      context.exitCode = kExitUsage;
      return;
    }
    if (!CheckParameterFile(settings->file, context)) return;
    if (x->count() && !CheckNumber("--x", settings->x, -HUGE_VAL, HUGE_VAL, "value", context)) {
      return;
    }
    if (freq->count() &&
        !CheckNumber("--freq", settings->freq, 0.000001, 0.999999, "frequency", context)) {
      return;
    }
    if (period->count() &&
        !CheckNumber("--period", settings->period, 0.000001, 1000000.0, "return period", context)) {
      return;
    }
    StreamInteraction ui(context.err, context.verbose);
    report::TDMQuilmor dm(ui);
    const std::string& report = settings->file;
    if (x->count()) {
      const auto outcome = calculator::Edit7Click(dm, report, settings->x);
      if (Refused(outcome, context)) return;
      const calculator::FrequencyFields& f = *outcome.fields;
      PrintLine(context.out, "X-value", settings->x);
      PrintLine(context.out, "Cum. Freq.", f.Edit2);
      PrintLine(context.out, "Ret. Per.", f.Edit3);
      context.out << "90% confidence limits of return period\n";
      PrintLine(context.out, "  Lower", f.Edit9);
      PrintLine(context.out, "  Upper", f.Edit10);
      return;
    }
    const auto outcome = freq->count() ? calculator::Edit4Exit(dm, report, settings->freq)
                                       : calculator::Edit5Exit(dm, report, settings->period);
    if (Refused(outcome, context)) return;
    PrintValueFields(*outcome.fields, context.out);
  });
}

}  // namespace quilmor::cli
