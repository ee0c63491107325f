#include "report/data_module.hpp"

#include <cmath>
#include <filesystem>
#include <system_error>

#include "textio/input_file.hpp"
#include "textio/number_parse.hpp"
#include "textio/text_file.hpp"

namespace quilmor::report {

TDMQuilmor::TDMQuilmor(UserInteraction& ui) : m_ui(ui) {
  std::error_code ec;
  FileName = std::filesystem::current_path(ec).string();
}

std::string TDMQuilmor::OpenFailedMessage(const std::string& fileName) {
  return textio::InputOpenFailedMessage(fileName);
}

std::string TDMQuilmor::CorruptMessage(const std::string& fileName) {
  return textio::InputCorruptMessage(fileName);
}

std::string TDMQuilmor::BadThresholdMessage(const std::string& fileName) {
  return textio::InputBadThresholdMessage(fileName);
}

std::string TDMQuilmor::ReportOpenFailedMessage(const std::string& reportName) {
  return "The file \"" + reportName +
         "\" could not be opened.  It may be damaged,  not created due to inadequate input "
         "data,  or in use by another program";
}

std::optional<TDMQuilmor::InputText> TDMQuilmor::InputFileText(const std::string& fileName) const {
  // Rows whose value cell was empty are not written and not counted; the
  // file then states the number of rows really written.
  const int rows = NrOfData;
  std::vector<double> written;
  written.reserve(static_cast<std::size_t>(std::max(rows, 0)));
  for (int i = 0; i < rows; ++i) {
    const std::size_t row = static_cast<std::size_t>(i);
    if (row < Skipped.size() && Skipped[row]) continue;
    const double value = row < RowValues.size() ? RowValues[row] : 0.0;
    if (!std::isfinite(value)) return std::nullopt;
    written.push_back(value);
  }
  InputText input;
  input.text = textio::RenderInputFile(Title1, Title2, fileName, InputThreshold, written);
  input.rows = static_cast<int>(written.size());
  return input;
}

bool TDMQuilmor::WriteInputFile() {
  const std::optional<InputText> input = InputFileText(FileName);
  if (!input) {
    ProgramError(CorruptMessage(FileName));
    return false;
  }
  std::string reason;
  if (!textio::WriteFileAtomic(FileName, input->text, &reason)) {
    m_ui.ShowMessage(OpenFailedMessage(FileName) + ": " + reason);
    return false;
  }
  NrOfData = input->rows;
  return true;
}

TDMQuilmor::ReadResult TDMQuilmor::ReadInputFile() { return ReadInputFile(FileName); }

TDMQuilmor::ReadResult TDMQuilmor::ReadInputFile(const std::string& fileName) {
  auto lines = textio::ReadTextLines(fileName);
  if (!lines) {
    m_ui.ShowMessage(OpenFailedMessage(fileName));
    return ReadResult::OpenFailed;
  }
  return TakeInputLines(*lines, fileName);
}

void TDMQuilmor::TakeValueRows(const textio::ValueFile& file) {
  const std::size_t rows = file.rows.size();
  Title1.clear();
  Title2.clear();
  InputThreshold = 0.0;
  NrOfData = static_cast<int>(rows);
  RowSerials.resize(rows);
  RowValues.assign(rows, 0.0);
  Skipped.assign(rows, false);
  for (std::size_t i = 0; i < rows; ++i) {
    RowSerials[i] = static_cast<int>(i + 1);
    if (file.rows[i].value) {
      RowValues[i] = *file.rows[i].value;
    } else {
      Skipped[i] = true;
    }
  }
}

TDMQuilmor::ReadResult TDMQuilmor::TakeInputLines(const std::vector<std::string>& lines,
                                                  const std::string& fileName) {
  const textio::InputFileContent content = textio::ParseInputFile(lines);
  // The threshold line is part of the header: text there is an error of the
  // file's layout, not of its numbers, and does not end the program.
  if (content.badThreshold) {
    m_ui.ShowMessage(BadThresholdMessage(fileName));
    return ReadResult::BadThreshold;
  }
  Title1 = content.title1;
  Title2 = content.title2;
  InputThreshold = content.threshold;
  const std::size_t count = content.rows.size();
  RowSerials.resize(count);
  RowValues.resize(count);
  Skipped.assign(count, false);
  for (std::size_t i = 0; i < count; ++i) {
    RowSerials[i] = content.rows[i].serial;
    RowValues[i] = content.rows[i].value;
  }
  NrOfData = static_cast<int>(count);
  if (content.corrupt) {
    ProgramError(CorruptMessage(fileName));
    return ReadResult::Corrupt;
  }
  // Rows left out, a count that disagrees, extra columns: told, not silent.
  if (const std::string warnings = textio::InputWarningsMessage(content, fileName);
      !warnings.empty()) {
    m_ui.ShowMessage(warnings);
  }
  return ReadResult::Ok;
}

void TDMQuilmor::LoadReport(const std::string& reportName, bool& usable) {
  auto lines = textio::ReadTextLines(reportName);
  if (!lines) {
    m_ui.ShowMessage(ReportOpenFailedMessage(reportName));
    usable = false;
    return;
  }
  ReportLines = std::move(*lines);
  NrOfReportLines = static_cast<int>(ReportLines.size());
  usable = true;
  if (NrOfReportLines < 2) {
    usable = false;
    std::error_code ec;
    std::filesystem::remove(reportName, ec);
    std::filesystem::remove(textio::ChangeFileExt(reportName, ".var"), ec);
    m_ui.ShowMessage(kInvalidOutputMessage);
  }
  const std::string auxName = textio::ChangeFileExt(reportName, ".aux");
  AuxCode = 0;
  bool auxRead = false;
  if (auto aux = textio::ReadTextLines(auxName); aux && !aux->empty()) {
    textio::LineScanner scanner((*aux)[0]);
    if (auto code = scanner.ReadInt()) {
      AuxCode = *code;
      auxRead = true;
    }
  }
  if (!auxRead) m_ui.ShowMessage(kNoCalculatorMessage);
  FileName = textio::ChangeFileExt(reportName, ".out");
}

void TDMQuilmor::TakeReport(const std::string& reportName, const std::string& reportText,
                            int auxCode) {
  ReportLines = textio::SplitLines(reportText);
  NrOfReportLines = static_cast<int>(ReportLines.size());
  AuxCode = auxCode;
  FileName = reportName;
}

void TDMQuilmor::ProgramError(const std::string& text) {
  m_ui.ShowMessage("A program error occurred." + text);
  m_ui.RequestQuit();
}

bool TDMQuilmor::ConfirmYesNo(const std::string& text) { return m_ui.ConfirmYesNo(text); }

}  // namespace quilmor::report
