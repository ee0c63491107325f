// The calculator's parameter file (".aux") as any bytes: its reader, the
// evaluations in both directions with the parameters read, and the three
// handlers of the calculator window with an input file beside it. Every
// result field shows a finite number or says that there is none.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "calculator/calculator.hpp"
#include "calculator/parameter_file.hpp"
#include "fuzz_support.hpp"
#include "report/data_module.hpp"
#include "textio/input_file.hpp"
#include "textio/interaction.hpp"
#include "textio/number_parse.hpp"
#include "textio/text_file.hpp"

namespace {

using namespace quilmor;

void CheckField(const std::string& text) {
  if (text == calculator::kNoValue) return;
  const auto value = textio::StringToFloat(text);
  QUILMOR_FUZZ_CHECK(value.has_value());
}

template <class Fields>
void CheckOutcome(const calculator::CalcOutcome<Fields>& outcome) {
  if (!outcome.fields) {
    QUILMOR_FUZZ_CHECK(!outcome.message.empty());
    return;
  }
  if constexpr (std::is_same_v<Fields, calculator::FrequencyFields>) {
    for (const std::string* f : {&outcome.fields->Edit2, &outcome.fields->Edit3,
                                 &outcome.fields->Edit9, &outcome.fields->Edit10}) {
      CheckField(*f);
    }
  } else {
    for (const std::string* f :
         {&outcome.fields->Edit4, &outcome.fields->Edit5, &outcome.fields->Edit6,
          &outcome.fields->Edit11, &outcome.fields->Edit12}) {
      CheckField(*f);
    }
  }
}

void Evaluate(const calculator::CalcParameters& p) {
  for (double x : {-1.0e6, -1.0, 0.0, 0.5, 1.0, 10.0, 1.0e6, p.S, p.P, p.C, p.M}) {
    const calculator::FrequencyEstimate f = calculator::CalcFrequent(p, x, 12);
    if (std::isnan(f.CalcFreqValue)) continue;
    // Outside 0..1 the value is moved to 0.0000001 or 0.9999999; far in a
    // tail the function itself gives exactly 0 or 1.
    QUILMOR_FUZZ_CHECK(f.CalcFreqValue >= 0.0 && f.CalcFreqValue <= 1.0);
    QUILMOR_FUZZ_CHECK(f.CalcFreqLower >= 0.0 && f.CalcFreqUpper <= 1.0);
  }
  for (double f : {0.000002, 0.1, 0.5, 0.9, 0.999999}) (void)calculator::CalcVal(p, f, 12);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::AsText(data, size);
  std::string error;
  const auto set = calculator::ParseParameterFile(textio::SplitLines(bytes), error);
  QUILMOR_FUZZ_CHECK(set.has_value() == error.empty());
  if (set) {
    Evaluate(*set);
  }

  // The window's handlers read the files beside the report.
  static const bool inputWritten = [] {
    fuzz::PutFile("calc.inp",
                  textio::RenderInputFile("Fuzz", "", "calc.inp", 0.0,
                                          {3, 5, 7, 18, 43, 85, 91, 98, 100, 130, 230, 487}));
    return true;
  }();
  (void)inputWritten;
  fuzz::PutFile("calc.aux", bytes);
  SilentInteraction ui;
  report::TDMQuilmor dm(ui);
  const std::string report = (fuzz::Folder() / "calc.out").string();
  for (const char* x : {"-1", "0", "50", "1E6"}) {
    dm.FileName = report;
    CheckOutcome(calculator::Edit7Click(dm, x));
  }
  for (const char* f : {"0.01", "0.5", "0.999"}) {
    dm.FileName = report;
    CheckOutcome(calculator::Edit4Exit(dm, f));
  }
  for (const char* t : {"0.5", "2", "100"}) {
    dm.FileName = report;
    CheckOutcome(calculator::Edit5Exit(dm, t));
  }
  return 0;
}
