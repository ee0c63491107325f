// LoadReport on any report and parameter file: the bytes up to the first NUL
// are the report (".out"), the bytes after it the parameter file (".aux");
// without a NUL there is no parameter file.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "fuzz_support.hpp"
#include "report/data_module.hpp"
#include "textio/interaction.hpp"
#include "textio/text_file.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quilmor;
  const std::string_view bytes = fuzz::AsText(data, size);
  const std::size_t split = bytes.find('\0');
  const std::string_view reportBytes = bytes.substr(0, split);
  const std::filesystem::path report = fuzz::PutFile("report.out", reportBytes);
  const std::filesystem::path aux = fuzz::Folder() / "report.aux";
  std::error_code ec;
  std::filesystem::remove(aux, ec);
  if (split != std::string_view::npos) fuzz::PutFile("report.aux", bytes.substr(split + 1));

  SilentInteraction ui;
  report::TDMQuilmor dm(ui);
  bool usable = false;
  dm.LoadReport(report.string(), usable);
  const std::size_t lines = textio::SplitLines(reportBytes).size();
  QUILMOR_FUZZ_CHECK(dm.NrOfReportLines == static_cast<int>(dm.ReportLines.size()));
  QUILMOR_FUZZ_CHECK(dm.ReportLines.size() == lines);
  QUILMOR_FUZZ_CHECK(usable == (lines >= 2));
  // An unusable report is deleted; a usable one stays.
  QUILMOR_FUZZ_CHECK(std::filesystem::exists(report) == usable);
  QUILMOR_FUZZ_CHECK(dm.FileName == report.string());
  return 0;
}
