// The input data file (".inp"): a 13-line header followed by one line per
// value. Both the data module and the analysis run read it, so the layout and
// its reading rules live here, once.
//
//    1  " Input data for Quilmor program"
//    2  " Cumulative frequency analysis"
//    3  (empty)
//    4  " " + title 1
//    5  " " + title 2
//    6  (empty)
//    7  " Filename: " + file name
//    8  " Number of data: " + count
//    9  " Threshold:" + threshold in F(12.5)
//   10  (empty)
//   11  " ------------------"
//   12  " Serial    Variable"
//   13  " ------------------"
//   14… running number in I(5), a blank, the value: F(10.2) when |v| >= 1,
//       otherwise E(14) (six significant digits, so small values keep their
//       digits).
//
// Older files without a threshold line (line 9 empty) have a 12-line header
// and threshold 0.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quilmor::textio {

inline constexpr int kInputHeaderLines = 13;

struct InputRow {
  int serial = 0;
  double value = 0.0;
};

struct InputFileContent {
  std::string title1;  // line 4 without its first character
  std::string title2;  // line 5 without its first character
  double threshold = 0.0;
  bool hasThresholdLine = true;
  std::vector<InputRow> rows;  // the rows read before any bad one
  // Set when the threshold or a data row is not a real number: the file is
  // corrupt. `badLine` is the 1-based line number; `badThreshold` tells that
  // it is the threshold line (an error of the header, not of the data).
  bool corrupt = false;
  bool badThreshold = false;
  int badLine = 0;
  // What was read otherwise than the file seems to mean, line by line: a
  // count that disagrees with the rows, rows after an empty line, extra
  // columns, a threshold line under another label.
  std::vector<std::string> warnings;
};

// Reads the lines of an input file. Data rows run from the line after the
// header to the end of the file or the first empty (or blank) line. Each row
// holds a running number and a value; the rest of the line is ignored.
InputFileContent ParseInputFile(const std::vector<std::string>& lines);

// Messages about an input file, the same for every reader of it.
std::string InputOpenFailedMessage(std::string_view fileName);
std::string InputCorruptMessage(std::string_view fileName);
std::string InputBadThresholdMessage(std::string_view fileName);
// The message for the first fault of `content` (corrupt must be set).
std::string InputFaultMessage(const InputFileContent& content, std::string_view fileName);
// What was read otherwise than the file seems to mean, one line per warning
// after the file's name; "" when nothing was.
std::string InputWarningsMessage(const InputFileContent& content, std::string_view fileName);

// The data line of one value: I(5), a blank, the value.
std::string FormatInputRow(int runningNumber, double value);

// The whole file text with CR LF line ends. `values` are written in order,
// numbered 1, 2, 3 …
std::string RenderInputFile(std::string_view title1, std::string_view title2,
                            std::string_view fileName, double threshold,
                            const std::vector<double>& values);

}  // namespace quilmor::textio
