#include "cli/read_input.hpp"

#include <ostream>

#include "report/data_module.hpp"
#include "textio/text_file.hpp"
#include "textio/value_file.hpp"

namespace quilmor::cli {

std::optional<textio::InputFileContent> ReadAnalysisInput(const std::filesystem::path& inputFile,
                                                          int column, UserInteraction& ui,
                                                          std::ostream& err,
                                                          const std::string& prefix) {
  if (textio::IsInputFile(inputFile)) {
    const auto lines = textio::ReadTextLines(inputFile);
    if (!lines) {
      err << prefix << textio::InputOpenFailedMessage(inputFile.string()) << "\n";
      return std::nullopt;
    }
    textio::InputFileContent content = textio::ParseInputFile(*lines);
    if (content.corrupt) {
      err << prefix << textio::InputFaultMessage(content, inputFile.string()) << "\n";
      return std::nullopt;
    }
    const std::string warnings = textio::InputWarningsMessage(content, inputFile.string());
    if (!warnings.empty()) err << prefix << warnings << "\n";
    return content;
  }
  const textio::ValueFile values = textio::ReadValueFile(inputFile, column);
  if (!values.error.empty()) {
    err << prefix << values.error << "\n";
    return std::nullopt;
  }
  report::TDMQuilmor dm(ui);
  dm.Title1 = inputFile.filename().string();
  for (const textio::ValueRow& row : values.rows) {
    dm.RowSerials.push_back(static_cast<int>(dm.RowValues.size()) + 1);
    dm.RowValues.push_back(row.value.value_or(0.0));
    dm.Skipped.push_back(!row.value.has_value());
  }
  dm.NrOfData = static_cast<int>(dm.RowValues.size());
  const auto text = dm.InputFileText(inputFile.stem().string() + ".inp");
  if (!text) {
    err << prefix << textio::InputCorruptMessage(inputFile.string()) << "\n";
    return std::nullopt;
  }
  return textio::ParseInputFile(textio::SplitLines(text->text));
}

}  // namespace quilmor::cli
