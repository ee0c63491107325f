#include "report/report_model.hpp"

#include "engine/catalogue.hpp"
#include "engine/line_fit.hpp"
#include "report/intervals.hpp"
#include "report/post_fit.hpp"
#include "report/report_writer.hpp"

namespace quilmor::report {

namespace {

constexpr std::size_t kTitleLength = 72;
// The values in use were stored as value - Shift + 0.0001.
constexpr double kShiftOffset = 0.0001;

// The summary statistics, as the report writes them: the mean and standard
// deviation of the ranked values by the line fit on them (the fit's own
// figures stand when the values show no spread), the values back in the
// data scale, the median of the ranks.
void SummaryStatistics(ReportModel& model) {
  const int n = model.N;
  const engine::LineStats line = engine::LeastSquaresLine(&model.Values[1], &model.PlotFreq[1], n);
  if (!line.noSpread) {
    model.MeanX = line.meanX;
    model.StdDevX = line.stdDevX;
  }
  if (model.NegativeValues) {
    for (int i = 1; i <= n; ++i) model.Values[i] += model.Shift - kShiftOffset;
  }
  model.MedianX = model.Values[n / 2 >= 1 ? n / 2 : 1];
  model.MeanX += model.Shift - kShiftOffset;
}

}  // namespace

ReportModel BuildReportModel(const engine::PreparedSeries& series, const engine::FitResult& fit,
                             const ReportSettings& settings) {
  ReportModel model;
  model.InputName = settings.InputName;
  model.ReportTitle1 = settings.ReportTitle1.substr(0, kTitleLength);
  model.ReportTitle2 = settings.ReportTitle2.substr(0, kTitleLength);
  model.Preference = settings.Preference;
  model.NrOfData = series.N;
  model.BreakPointAllowed = fit.BreakPointAllowed;
  model.BreakPointFound = fit.BreakPointFound;
  model.Fit = fit.Fit;
  model.NormStdDev = fit.NormStdDev;
  model.FitStdDev = fit.FitStdDev;
  model.BreakIndex = fit.BreakIndex;
  model.N = series.N;
  model.Values = series.Values;
  model.Serials = series.Serials;
  model.PlotFreq = series.PlotFreq;
  model.Plotting = series.Plotting;
  model.CalcFreq = fit.CalcFreq;
  model.CalcFreq.resize(model.Values.size(), 0.0);
  model.Shift = series.Shift;
  model.NegativeValues = series.NegativeValues;
  model.MeanX = fit.MeanX;
  model.StdDevX = fit.StdDevX;
  if (!engine::IsCatalogueCode(model.Fit.Code) || model.N < 1) return model;
  ComputeCalcFreq(model);
  CompleteReportModel(model, settings.NrOfClasses);
  return model;
}

void CompleteReportModel(ReportModel& model, int nrOfClasses) {
  const engine::CodeInfo& row = engine::CodeRow(model.Fit.Code);
  // The fit summary: the Student forms have no line and write A = B = 1.
  if (row.fit == engine::FitMethod::Student) {
    model.Fit.A = 1.0;
    model.Fit.B = 1.0;
  }
  AnalyseIntervals(model, nrOfClasses);

  if (row.report.name) model.DistributionName = row.report.name;
  model.DecimalsD = DecimalsD(model.Values[model.N]);
  // The bound in the scale of the data.
  if (row.bound != engine::Bound::None) model.Fit.C += model.Shift;
  SummaryStatistics(model);
  model.Intervals = IntervalRows(model);
  // The table took the frequencies at the limits as at most 1.
  for (int j = 1; j <= model.NrOfClasses + 1; ++j) {
    if (model.LimitFreq[j] > 1.0) model.LimitFreq[j] = 1.0;
  }
  model.Frequencies = ConfidenceRows(model);
  model.Goodness = ComputeGoodness(model);
  model.ReturnPeriods = ReturnPeriodRows(model);
  // The Student forms are written and inverted with the summary statistics.
  if (row.fit == engine::FitMethod::Student) {
    model.Fit.M = model.MeanX;
    model.Fit.D = model.StdDevX;
  }
}

}  // namespace quilmor::report
