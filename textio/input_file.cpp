#include "textio/input_file.hpp"

#include <cmath>

#include "textio/number_format.hpp"
#include "textio/number_parse.hpp"
#include "textio/text_file.hpp"

namespace quilmor::textio {
namespace {

bool IsBlankLine(std::string_view line) {
  return line.find_first_not_of(" \t") == std::string_view::npos;
}

std::string DropFirstChar(const std::string& line) {
  return line.empty() ? std::string() : line.substr(1);
}

}  // namespace

InputFileContent ParseInputFile(const std::vector<std::string>& lines) {
  InputFileContent content;
  auto line = [&](std::size_t number) -> const std::string& {
    static const std::string kEmpty;
    return number <= lines.size() ? lines[number - 1] : kEmpty;
  };
  content.title1 = DropFirstChar(line(4));
  content.title2 = DropFirstChar(line(5));

  std::size_t headerLines = kInputHeaderLines;
  const std::string& thresholdLine = line(9);
  if (thresholdLine.empty()) {
    content.hasThresholdLine = false;
    content.threshold = 0.0;
    headerLines = kInputHeaderLines - 1;
  } else {
    if (thresholdLine.rfind(" Threshold:", 0) != 0) {
      content.warnings.push_back("line 9 reads \"" + Excerpt(thresholdLine) +
                                 "\" where \" Threshold:\" is written; what follows its first 11 "
                                 "characters is taken as the threshold");
    }
    LineScanner scanner(thresholdLine);
    scanner.Skip(11);  // " Threshold:"
    auto threshold = scanner.ReadReal();
    if (!threshold || !scanner.AtEnd()) {
      content.corrupt = true;
      content.badThreshold = true;
      content.badLine = 9;
      return content;
    }
    content.threshold = *threshold;
  }

  bool extraTold = false;
  for (std::size_t number = headerLines + 1; number <= lines.size(); ++number) {
    const std::string& text = lines[number - 1];
    if (IsBlankLine(text)) {
      std::size_t later = 0;
      for (std::size_t k = number; k < lines.size(); ++k) later += IsBlankLine(lines[k]) ? 0 : 1;
      if (later > 0) {
        content.warnings.push_back(
            "line " + std::to_string(number) + " is empty and ends the data: " +
            std::to_string(content.rows.size()) + " rows are used, " + std::to_string(later) +
            " lines after it are not");
      }
      break;
    }
    LineScanner scanner(text);
    auto serial = scanner.ReadInt();
    auto value = scanner.ReadReal();
    if (!serial || !value) {
      content.corrupt = true;
      content.badLine = static_cast<int>(number);
      break;
    }
    if (!extraTold && !scanner.AtEnd()) {
      content.warnings.push_back("line " + std::to_string(number) +
                                 " holds more than a running number and a value (\"" +
                                 Excerpt(text) + "\"); only the value " +
                                 "is used, here and on any such line below");
      extraTold = true;
    }
    content.rows.push_back({*serial, *value});
  }
  // The count line against the rows read.
  if (!content.corrupt) {
    LineScanner count(line(8));
    count.Skip(17);  // " Number of data: "
    const auto stated = count.ReadInt();
    if (stated && *stated != static_cast<int>(content.rows.size())) {
      content.warnings.push_back("line 8 gives " + std::to_string(*stated) + " data, but " +
                                 std::to_string(content.rows.size()) + " rows are read");
    } else if (!stated && !IsBlankLine(line(8))) {
      content.warnings.push_back("line 8 (\"" + Excerpt(line(8)) +
                                 "\") gives no number of data; " +
                                 std::to_string(content.rows.size()) + " rows are read");
    }
  }
  return content;
}

std::string InputOpenFailedMessage(std::string_view fileName) {
  return "The file \"" + std::string(fileName) +
         "\"could not be opened. It may be in use by another program";
}

std::string InputCorruptMessage(std::string_view fileName) {
  return "Real numbers in the inputfile \"" + std::string(fileName) + "\" are corrupt";
}

std::string InputBadThresholdMessage(std::string_view fileName) {
  return "The threshold in the inputfile \"" + std::string(fileName) + "\" is not a real number";
}

std::string InputFaultMessage(const InputFileContent& content, std::string_view fileName) {
  return content.badThreshold ? InputBadThresholdMessage(fileName)
                              : InputCorruptMessage(fileName);
}

std::string InputWarningsMessage(const InputFileContent& content, std::string_view fileName) {
  if (content.warnings.empty()) return {};
  std::string message = "The input file \"" + std::string(fileName) + "\" is read as follows:";
  for (const std::string& warning : content.warnings) message += "\n " + warning;
  return message;
}

std::string FormatInputRow(int runningNumber, double value) {
  const bool fixed = value >= 1.0 || value <= -1.0;
  return FormatI(runningNumber, 5) + " " + (fixed ? FormatF(value, 10, 2) : FormatE(value, 14));
}

std::string RenderInputFile(std::string_view title1, std::string_view title2,
                            std::string_view fileName, double threshold,
                            const std::vector<double>& values) {
  TextWriter out;
  out.Line(" Input data for Quilmor program");
  out.Line(" Cumulative frequency analysis");
  out.Line();
  out.Line(" " + std::string(title1));
  out.Line(" " + std::string(title2));
  out.Line();
  out.Line(" Filename: " + std::string(fileName));
  out.Line(" Number of data: " + FormatI(static_cast<long long>(values.size())));
  out.Line(" Threshold:" + FormatF(threshold, 12, 5));
  out.Line();
  out.Line(" ------------------");
  out.Line(" Serial    Variable");
  out.Line(" ------------------");
  int runningNumber = 0;
  for (double value : values) out.Line(FormatInputRow(++runningNumber, value));
  return out.Text();
}

}  // namespace quilmor::textio
