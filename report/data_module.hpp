// The data module: the current input (file name, titles, threshold, rows,
// number of intervals, preference), the lines of the last loaded report and
// the series of the last graph table. It writes and reads the input file and
// loads a finished report. One object per program window or CLI run.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "textio/interaction.hpp"
#include "textio/value_file.hpp"

namespace quilmor::report {

class TDMQuilmor {
 public:
  // DataModuleCreate: FileName starts as the current working directory.
  explicit TDMQuilmor(UserInteraction& ui);

  std::string FileName;
  std::string Title1;
  std::string Title2;
  std::vector<int> RowSerials;  // entry i describes data row i + 1
  std::vector<double> RowValues;
  std::vector<double> SeriesA, SeriesB, SeriesC, SeriesD, SeriesE;
  double InputThreshold = 0.0;
  std::vector<std::string> ReportLines;
  std::vector<bool> Skipped;  // an empty value cell: the row is not written
  int NrOfData = 0;
  int NrOfReportLines = 0;
  int FittedCode = 0;
  std::string NrOfIntervals = "5";
  std::string Preference = "1";
  int AuxCode = 0;

  // Writes FileName from Title1, Title2, NrOfData, InputThreshold, RowValues
  // and Skipped. Afterwards NrOfData is the number of rows written. False when
  // the file could not be written (message shown, nothing changed on disk)
  // or a value could not be written (program error).
  bool WriteInputFile();

  // The text WriteInputFile writes to `fileName` (whose name the file's
  // header gives), with the number of rows it holds; nullopt when a value
  // cannot be written (not a finite number).
  struct InputText {
    std::string text;
    int rows = 0;
  };
  std::optional<InputText> InputFileText(const std::string& fileName) const;

  enum class ReadResult { Ok, OpenFailed, Corrupt, BadThreshold };
  // Reads FileName into the titles, threshold and rows. OpenFailed: message
  // shown, nothing changed. Corrupt (a data row is not a number): the rows
  // before the bad line are kept and the program error is raised.
  // BadThreshold (the threshold line holds text instead of a number, an
  // error of the header that does not end the program): message shown,
  // nothing changed.
  ReadResult ReadInputFile();
  // The same from another file; FileName stays as it is.
  ReadResult ReadInputFile(const std::string& fileName);
  // The same from the lines of `fileName` as already read.
  ReadResult TakeInputLines(const std::vector<std::string>& lines, const std::string& fileName);
  // The rows of a value file as the input (titles empty, threshold 0; an
  // empty row is skipped), as a run writes its input file.
  void TakeValueRows(const textio::ValueFile& file);

  // Reads `reportName` into ReportLines, reads AuxCode from the parameter
  // file beside it and leaves FileName ending in ".out".
  void LoadReport(const std::string& reportName, bool& usable);

  // The same for a report a run has just written, from its text and code.
  void TakeReport(const std::string& reportName, const std::string& reportText, int auxCode);

  // "A program error occurred." + text, then the application is asked to end.
  void ProgramError(const std::string& text);
  bool ConfirmYesNo(const std::string& text);

  UserInteraction& Ui() { return m_ui; }

  // Message texts of the input file operations.
  static std::string OpenFailedMessage(const std::string& fileName);
  static std::string CorruptMessage(const std::string& fileName);
  static std::string BadThresholdMessage(const std::string& fileName);
  static std::string ReportOpenFailedMessage(const std::string& reportName);
  static constexpr const char* kInvalidOutputMessage =
      " The output file is invalid due to inadequate input data";
  static constexpr const char* kNoCalculatorMessage =
      " If you wish to make use of the calculator, run the program again";

 private:
  UserInteraction& m_ui;
};

}  // namespace quilmor::report
