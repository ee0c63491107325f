#include "report/report_writer.hpp"

#include <cassert>
#include <cmath>
#include <string_view>
#include <vector>

#include "engine/catalogue.hpp"
#include "report/report_texts.hpp"
#include "textio/number_format.hpp"
#include "textio/text_file.hpp"

namespace quilmor::report {

using textio::FormatF;

namespace {

void AppendRankPrefix(std::string& line, double x, int serial, int decimalsX) {
  line += FormatF(x, 8, decimalsX);
  line += kRowGap;
  line += textio::FormatI(serial);
  if (serial < 10) {
    line += "  ";
  } else if (serial < 100) {
    line += " ";
  }
}

std::string Join(std::string_view a, std::string_view b) {
  std::string text;
  text.reserve(a.size() + b.size());
  text.append(a);
  text.append(b);
  return text;
}

class ReportBuilder {
 public:
  explicit ReportBuilder(const ReportModel& model) : m_model(model) {}

  std::string Build() {
    Heading();
    if (!engine::IsCatalogueCode(m_model.Fit.Code)) {
      m_out.Line(kNotFound);
      return m_out.Text();
    }
    // A fitted function implies a prepared series (the run stops without one).
    assert(m_model.N >= 1 && m_model.N <= engine::kMaxValues);
    const engine::CodeInfo& row = engine::CodeRow(m_model.Fit.Code);
    const engine::ReportTexts& texts = row.report;
    if (texts.description1) m_out.Line(texts.description1);
    if (texts.description2) m_out.Line(texts.description2);

    const int d = m_model.DecimalsD;
    if (texts.normal) NormalFamily(row, *texts.normal, d);
    if (row.fit == engine::FitMethod::TwoPiece) {
      m_out.Line(Join(kBreakPointLabel, FormatF(m_model.Fit.P, 7, d)));
    } else {
      m_out.Line();
    }
    if (texts.formulaPlain) Formula(texts);
    if (texts.printsLine) Parameters(row, d);
    if (texts.twoPiece) TwoPiece(*texts.twoPiece);
    if (texts.gumbelLines) {
      m_out.Line(Join(kGumbelStdErrorLabel, FormatF(m_model.FitStdDev, 7, 2)));
    }
    m_out.Line();

    SummaryStatistics();
    IntervalTable();
    FrequencyTable();
    ReturnPeriodTable();
    return m_out.Text();
  }

 private:
  void Heading() {
    m_out.Line(kReportTitle);
    m_out.Line(kReportSubtitle);
    m_out.Line();
    m_out.Line(Join(" ", m_model.ReportTitle1));
    m_out.Line(Join(" ", m_model.ReportTitle2));
    m_out.Line(Join(kInputFileLabel, textio::ChangeFileExt(m_model.InputName, ".inp")));
    m_out.Line(Join(kNrOfDataLabel, textio::FormatI(m_model.NrOfData)));
    if (!m_model.Plotting.IsDefault()) m_out.Line(engine::PlottingPositionLine(m_model.Plotting));
    if (m_model.Preference == "1") {
      if (m_model.BreakPointAllowed && !m_model.BreakPointFound) m_out.Line(kBreakNotFound);
      if (m_model.BreakPointFound && !m_model.BreakPointAllowed) m_out.Line(kBreakNotAllowed);
    } else {
      m_out.Line(kPreferredByUser);
    }
    m_out.Line();
  }

  // The additional term C = -Shift, in F(7.2).
  std::string ShiftLine(std::string_view label) const {
    return Join(label, FormatF(-m_model.Shift, 7, 2));
  }

  void NormalFamily(const engine::CodeInfo& row, const engine::NormalFamilyTexts& t, int d) {
    const double se = m_model.NormStdDev;
    const double sd = m_model.Fit.D;
    // The mean of the transformed values as fitted: adding the shift to a
    // mean of logarithms, squares or roots would give no meaningful number.
    const double mean = m_model.Fit.M;
    m_out.Line(t.title);
    if (row.hasExponent) {
      m_out.Line(kTransformedDataLine);
      m_out.Line(Join(kExponentIsLabel, FormatF(m_model.Fit.E, 7, 2)));
    }
    m_out.Line(kHastingsLine);
    const bool shifted = t.hasShiftForm && m_model.NegativeValues;
    if (shifted) m_out.Line(ShiftLine(kShiftLabelC));
    std::string line = Join(shifted ? t.stdErrorShift : t.stdErrorPlain, FormatF(se, 7, d + 2));
    line += shifted ? t.optimisedShift : t.optimisedPlain;
    line += FormatF(sd, shifted ? t.sdWidthShift : 7, d + 2);
    m_out.Line(line);
    const char* averageLabel = shifted ? t.averageShift : t.averagePlain;
    if (averageLabel) m_out.Line(Join(averageLabel, FormatF(mean, 7, d + 1)));
  }

  void Formula(const engine::ReportTexts& t) {
    if (m_model.NegativeValues) {
      m_out.Line(ShiftLine(t.shiftLabel));
      m_out.Line(t.formulaWithShift);
    } else {
      m_out.Line(t.formulaPlain);
    }
  }

  // The bound is in the scale of the data.
  void Bound(bool warning, std::string_view warningText, int d) {
    m_out.Line(Join(kBoundLabel, FormatF(m_model.Fit.C, 7, d)));
    if (warning) m_out.Line(warningText);
  }

  void Parameters(const engine::CodeInfo& row, int d) {
    using engine::ParameterExtras;
    const double a = m_model.Fit.A;
    const double b = m_model.Fit.B;
    switch (row.report.extras) {
      case ParameterExtras::None:
        break;
      case ParameterExtras::Exponent:
        m_out.Line(Join(kExponentLabel, FormatF(m_model.Fit.E, 6, 3)));
        break;
      case ParameterExtras::WeibullScaleText:
        m_out.Line(kWeibullScaleText);
        break;
      case ParameterExtras::LowerBound:
        Bound(m_model.BelowBoundWarning, kBelowBoundWarning, d);
        break;
      case ParameterExtras::UpperBound:
        Bound(m_model.AboveBoundWarning, kAboveBoundWarning, d);
        break;
      case ParameterExtras::ExponentAndScale:
        m_out.Line(Join(kExponentLabel, FormatF(m_model.Fit.E, 6, 3)));
        m_out.Line(Join(kWeibullScaleLabel, FormatF(std::exp(-b / a), 7, 2)));
        break;
    }
    const int da = DecimalsA(a);
    m_out.Line(Join(kSlopeLabel, da < 6 ? FormatF(a, 8, da) : textio::FormatE3(a)));
    const int db = DecimalsB(b);
    m_out.Line(Join(kInterceptLabel, FormatF(b, 8, db)));
    if (row.report.gumbelLines) m_out.Line(Join(kModeLabel, FormatF(-b / a, 7, db)));
  }

  std::string PieceParameters(const char* slopeLabel, double slope, const char* interceptLabel,
                              double intercept) const {
    std::string line = Join(slopeLabel, FormatF(slope, 8, DecimalsP(slope)));
    line += interceptLabel;
    line += FormatF(intercept, 7, DecimalsP(intercept));
    return line;
  }

  void TwoPiece(const engine::TwoPieceTexts& t) {
    const bool shifted = m_model.NegativeValues;
    if (t.leadingEmptyLine) m_out.Line();
    if (shifted) m_out.Line(ShiftLine(t.shiftLabel));
    m_out.Line(shifted ? t.lowerWithShift : t.lowerPlain);
    m_out.Line(PieceParameters(t.labelAs, m_model.Fit.As, t.labelBs, m_model.Fit.Bs));
    m_out.Line(shifted ? t.upperWithShift : t.upperPlain);
    m_out.Line(PieceParameters(t.labelAg, m_model.Fit.Ag, t.labelBg, m_model.Fit.Bg));
  }

  void SummaryStatistics() {
    const int d = m_model.DecimalsD;
    std::string line = Join(kAverageLabel, FormatF(m_model.MeanX, 7, d));
    line += kMedianLabel;
    line += FormatF(m_model.MedianX, 7, d);
    line += kStdDevLabel;
    line += FormatF(m_model.StdDevX, 7, d + 1);
    m_out.Line(line);
    m_out.Line();
    m_out.Line();
  }

  void IntervalTable() {
    m_out.Line(kIntervalTitle);
    m_out.Line(kIntervalRule);
    m_out.Line(kIntervalHeader1);
    m_out.Line(kIntervalHeader2);
    m_out.Line(kIntervalRule);
    const int d = m_model.DecimalsD;
    for (const IntervalRow& row : m_model.Intervals) {
      std::string line = FormatF(row.lower, 8, d);
      textio::AppendField(line, FormatF(row.upper, 10, d));
      textio::AppendField(line, FormatF(row.observed, 10, 1));
      textio::AppendField(line, FormatF(row.calculated, 10, 1));
      m_out.Line(line);
    }
    m_out.Line(kIntervalRule);
    m_out.Line();
    m_out.Line();
  }

  void FrequencyTable() {
    const int n = m_model.N;
    m_dx = DecimalsX(m_model.Values[n]);
    m_out.Line(kFrequencyTitle);
    m_out.Line(kFrequencyRule);
    m_out.Line(kFrequencyHeader1);
    m_out.Line(kFrequencyHeader2);
    m_out.Line(kFrequencyRule);
    const std::vector<ConfidenceRow>& rows = m_model.Frequencies;
    std::string line;
    for (int i = 1; i <= n; ++i) {
      const ConfidenceRow& row = rows[static_cast<std::size_t>(i - 1)];
      line.clear();
      AppendRankPrefix(line, m_model.Values[i], m_model.Serials[i], m_dx);
      textio::AppendField(line, FormatF(row.rank, 10, m_dx));
      textio::AppendField(line, FormatF(row.calc, 10, m_dx));
      textio::AppendField(line, FormatF(row.stdDev, 10, 2));
      textio::AppendField(line, FormatF(row.lower, 10, 1));
      textio::AppendField(line, FormatF(row.upper, 10, 1));
      m_out.Line(line);
    }
    m_out.Line(kFrequencyRule);
    m_out.Line(kAverageDifference1);
    m_out.Line(
        Join(kFrequencyDifferenceLabel, FormatF(m_model.Goodness.frequencyDifference, 10, 2)) +
        "%");
    m_out.Line(kEfficiency1);
    m_out.Line(Join(kEfficiencyLabel, FormatF(m_model.Goodness.efficiency, 11, 4)));
    m_out.Line();
    m_out.Line();
  }

  void ReturnPeriodTable() {
    const int n = m_model.N;
    m_out.Line(kReturnTitle);
    m_out.Line(kReturnRule);
    m_out.Line(kReturnHeader1);
    m_out.Line(kReturnHeader2);
    m_out.Line(kReturnRule);
    const std::vector<ReturnPeriodRow>& rows = m_model.ReturnPeriods;
    std::string line;
    for (int i = 1; i <= n; ++i) {
      const ReturnPeriodRow& row = rows[static_cast<std::size_t>(i - 1)];
      line.clear();
      AppendRankPrefix(line, m_model.Values[i], m_model.Serials[i], m_dx);
      textio::AppendField(line, FormatF(row.observed, 11, row.decimals));
      textio::AppendField(line, FormatF(row.calculated, 11, row.decimals));
      textio::AppendField(line, FormatF(row.lower, 11, row.decimals));
      textio::AppendField(line, FormatF(row.upper, 11, row.decimals));
      m_out.Line(line);
    }
    m_out.Line(kReturnRule);
    m_out.Line(kAverageDifference1);
    m_out.Line(
        Join(kReturnDifferenceLabel, FormatF(m_model.Goodness.returnPeriodDifference, 10, 2)));
  }

  const ReportModel& m_model;
  textio::TextWriter m_out;
  int m_dx = 0;  // DX of both per-rank tables
};

}  // namespace

int DecimalsD(double largestValue) {
  if (largestValue < 1.0) return 3;
  if (largestValue < 10.0) return 2;
  if (largestValue < 100.0) return 1;
  return 0;
}

int DecimalsA(double slope) {
  if (slope < 0.01) return 6;
  if (slope < 0.1) return 5;
  if (slope < 1.0) return 4;
  if (slope < 10.0) return 3;
  if (slope < 100.0) return 2;
  return 1;
}

int DecimalsB(double intercept) {
  if (intercept < 1.0) return 3;
  if (intercept < 10.0) return 2;
  if (intercept < 100.0) return 1;
  return 0;
}

int DecimalsP(double parameter) {
  if (parameter < 0.1) return 4;
  if (parameter < 1.0) return 3;
  if (parameter < 10.0) return 2;
  if (parameter < 100.0) return 1;
  return 0;
}

int DecimalsX(double largestValue) {
  if (largestValue < 1.0) return 4;
  if (largestValue < 10.0) return 3;
  if (largestValue < 100.0) return 2;
  if (largestValue < 500.0) return 1;
  return 0;
}

std::string RankPrefix(double x, int serial, int decimalsX) {
  std::string text;
  AppendRankPrefix(text, x, serial, decimalsX);
  return text;
}

std::string ReportBodyText(const ReportModel& model) { return ReportBuilder(model).Build(); }

}  // namespace quilmor::report
