#include "calculator/finish_report.hpp"

#include <cmath>
#include <system_error>

#include "calculator/parameter_file.hpp"
#include "engine/scratch_files.hpp"
#include "textio/number_format.hpp"
#include "textio/text_file.hpp"

namespace quilmor::calculator {

using engine::AnalysisState;

int XDecimals(double largestValue) {
  if (largestValue < 1.0) return 4;
  if (largestValue < 10.0) return 3;
  if (largestValue < 100.0) return 2;
  if (largestValue < 500.0) return 1;
  return 0;
}

void PrefillXArrays(AnalysisState& state, const std::vector<FrequencyRow>& rows) {
  const double n = static_cast<double>(rows.size());
  for (std::size_t k = 1; k <= rows.size(); ++k) {
    const FrequencyRow& row = rows[k - 1];
    state.CalcX[k] = row.RowCalc;
    state.LowerX[k] = row.RowStDev;
    state.UpperX[k] = row.RowLower;
  }
  for (std::size_t k = 1; k <= rows.size(); ++k) {
    const double i = static_cast<double>(k);
    state.LowerX[k] = state.LowerX[k] / 100.0;
    if (state.LowerX[k] > 0.0) {
      state.CalcX[k] = state.CalcX[k] / 100.0;
      state.UpperX[k] = state.UpperX[k] / 100.0;
    } else {
      state.LowerX[k] = 0.2 * i / n;
      state.CalcX[k] = 0.4 * i / n;
      state.UpperX[k] = i / n;
    }
  }
}

namespace {

const std::string kDashLine = " " + std::string(58, '-');

}  // namespace

std::string XConfidenceText(AnalysisState& state, const std::vector<FrequencyRow>& rows) {
  const int n = state.N;
  const double s = state.Shift;
  const int d = XDecimals(state.Values[static_cast<std::size_t>(n)]);
  textio::TextWriter out;
  out.Line();
  out.Line();
  out.Line(" Confidence limits of calculated X-values");
  out.Line(kDashLine);
  out.Line("   Observed            Calculated      90% confidence limit  ");
  out.Line("   X-value   Serial    X-Value         of calulated X-Value  ");
  out.Line("   Ranked     No.                      Lower        Upper    ");
  out.Line(kDashLine);

  // The observed value of row i as printed: the row's X less S, plus S.
  auto observed = [&](std::size_t k) { return (rows[k - 1].RowX - s) + s; };
  double ssr = 0.0;
  double sum = 0.0;
  for (std::size_t k = 1; k <= static_cast<std::size_t>(n); ++k) {
    const double x = observed(k);
    const double r = x - state.CalcX[k];
    ssr = ssr + r * r;
    sum = sum + x;
    if (state.Values[1] >= 0.0 && state.LowerX[k] < 0.0) state.LowerX[k] = 0.0;
    if (!(state.UpperX[k] > state.CalcX[k])) state.UpperX[k] = 1.01 * state.CalcX[k];
    out.Line(textio::FormatF(x, 8, d) + textio::FormatI(rows[k - 1].RowSerial, 8) +
             textio::FormatF(state.CalcX[k], 13, d) + textio::FormatF(state.LowerX[k], 15, d) +
             textio::FormatF(state.UpperX[k], 15, d));
  }
  out.Line(kDashLine);
  const double mean = sum / n;
  double sst = 0.0;
  for (std::size_t k = 1; k <= static_cast<std::size_t>(n); ++k) {
    const double deviation = observed(k) - mean;
    sst = sst + deviation * deviation;
  }
  double r = 0.0;
  if (ssr < sst) r = std::sqrt(1.0 - ssr / sst);
  if (r > 0.99999) r = 0.99999;
  out.Line(" Efficiency coefficient (R) of calculated and observed ");
  out.Line(" data values :" + textio::FormatF(r, 10, 5));
  out.Line();
  out.Line(textio::FormatI(state.Code, 3));
  return out.Text();
}

std::optional<std::string> WriteXConfidence(AnalysisState& state,
                                            const std::vector<FrequencyRow>& rows,
                                            const std::filesystem::path& scratchDir) {
  const std::string text = XConfidenceText(state, rows);
  std::string error;
  if (!textio::WriteFilePlain(scratchDir / engine::kValuesFile, text, &error)) {
    return "\"Values.tmp\" could not be written: " + error;
  }
  return std::nullopt;
}

namespace {

void RemoveQuietly(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::remove(path, ec);
}

}  // namespace

std::optional<std::string> FinishReport(report::TDMQuilmor& dm, AnalysisState& state,
                                        const std::filesystem::path& scratchDir) {
  const std::filesystem::path summaryPath = scratchDir / engine::kFitSummaryFile;
  const std::filesystem::path bodyPath = scratchDir / engine::kReportBodyFile;
  const std::filesystem::path valuesPath = scratchDir / engine::kValuesFile;

  const auto summaryLines = textio::ReadTextLines(summaryPath);
  if (!summaryLines) return std::string("The fit summary \"Temp.tmp\" could not be read");
  std::string error;
  const auto summary = ParseFitSummary(*summaryLines, error);
  if (!summary) return "The fit summary \"Temp.tmp\" is damaged: " + error;
  const auto bodyLines = textio::ReadTextLines(bodyPath);
  if (!bodyLines) return std::string("The report body \"TmpFile.Tmp\" could not be read");

  // A report without a distribution (code 0) has no frequency table and so
  // no section of calculated X-values.
  const bool withSection = summary->Code != 0;
  if (withSection) {
    const auto rows = ReadFrequencyTable(*bodyLines, summary->N, error);
    if (!rows) return "The report body \"TmpFile.Tmp\" is damaged: " + error;
    PrefillXArrays(state, *rows);
    ComputeCalculatedXValues(state, *summary, *rows);
    if (dm.NrOfData > 1000) dm.Ui().AppendProgress(" Almost done ...");
    if (auto failed = WriteXConfidence(state, *rows, scratchDir)) return failed;
  } else {
    state.N = summary->N;
    state.Code = summary->Code;
    state.Shift = summary->S;
    state.Slope = summary->A;
    state.Intercept = summary->B;
  }
  if (auto failed = WriteParameterFile(dm, state)) return failed;

  // The report: every line of the body, then every line of the section.
  textio::TextWriter report;
  for (const std::string& line : *bodyLines) report.Line(line);
  if (withSection) {
    const auto sectionLines = textio::ReadTextLines(valuesPath);
    if (!sectionLines) return std::string("\"Values.tmp\" could not be read");
    for (const std::string& line : *sectionLines) report.Line(line);
  }
  const std::string reportName = textio::ChangeFileExt(dm.FileName, ".out");
  if (!textio::WriteFileAtomic(reportName, report.Text(), &error)) {
    return "The report \"" + reportName + "\" could not be written: " + error;
  }
  dm.FileName = reportName;

  RemoveQuietly(bodyPath);
  RemoveQuietly(valuesPath);
  RemoveQuietly(dm.FileName + ".Tmp");
  RemoveQuietly(summaryPath);
  state.NameIsCurrent = true;
  return std::nullopt;
}

}  // namespace quilmor::calculator
