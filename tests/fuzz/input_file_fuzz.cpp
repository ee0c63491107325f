// The input data file (".inp") as any bytes: the layout parser, the data
// module's ReadInputFile (the desktop program's "Open input" and the
// calculator), and the analysis run's data preparation on the same file.
// What was read is written back and must read again.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/analysis_state.hpp"
#include "engine/fit_series.hpp"
#include "fuzz_support.hpp"
#include "report/data_module.hpp"
#include "textio/input_file.hpp"
#include "textio/interaction.hpp"
#include "textio/text_file.hpp"

namespace {

using namespace quilmor;

void CheckPrepared(const engine::PreparedSeries& state, const textio::InputFileContent& content) {
  QUILMOR_FUZZ_CHECK(state.N >= 0 && state.N <= engine::kMaxValues);
  QUILMOR_FUZZ_CHECK(state.N <= static_cast<int>(content.rows.size()));
  QUILMOR_FUZZ_CHECK(state.Truncated == (state.N == engine::kMaxValues &&
                                         content.rows.size() > engine::kMaxValues) ||
                     !state.Truncated);
  for (int i = 1; i <= state.N; ++i) {
    QUILMOR_FUZZ_CHECK(state.PlotFreq[i] > 0.0 && state.PlotFreq[i] < 1.0);
    if (i > 1) QUILMOR_FUZZ_CHECK(!(state.Values[i] < state.Values[i - 1]));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::AsText(data, size);
  const textio::InputFileContent content = textio::ParseInputFile(textio::SplitLines(bytes));
  QUILMOR_FUZZ_CHECK(content.corrupt == (content.badLine > 0));
  for (const textio::InputRow& row : content.rows) QUILMOR_FUZZ_CHECK(std::isfinite(row.value));

  const std::filesystem::path file = fuzz::PutFile("series.inp", bytes);
  SilentInteraction ui;
  report::TDMQuilmor dm(ui);
  dm.FileName = file.string();
  const auto read = dm.ReadInputFile();
  QUILMOR_FUZZ_CHECK(read != report::TDMQuilmor::ReadResult::OpenFailed);
  QUILMOR_FUZZ_CHECK((read != report::TDMQuilmor::ReadResult::Ok) == content.corrupt);
  // A bad threshold leaves the module as it was (no rows); a bad data row
  // keeps the rows before it.
  const std::size_t rows =
      read == report::TDMQuilmor::ReadResult::BadThreshold ? 0 : content.rows.size();
  QUILMOR_FUZZ_CHECK(dm.NrOfData == static_cast<int>(rows));
  QUILMOR_FUZZ_CHECK(dm.RowValues.size() == rows && dm.RowSerials.size() == rows &&
                     dm.Skipped.size() == rows);

  if (!content.corrupt)
    CheckPrepared(engine::PrepareData(content.rows, content.threshold), content);

  // What the data module holds, written as an input file, reads back whole.
  if (!content.corrupt) {
    dm.FileName = (fuzz::Folder() / "written.inp").string();
    QUILMOR_FUZZ_CHECK(dm.WriteInputFile());
    const auto lines = textio::ReadTextLines(dm.FileName);
    QUILMOR_FUZZ_CHECK(lines.has_value());
    const textio::InputFileContent again = textio::ParseInputFile(*lines);
    QUILMOR_FUZZ_CHECK(!again.corrupt);
    QUILMOR_FUZZ_CHECK(again.rows.size() == content.rows.size());
  }
  return 0;
}
