#include "engine/goodness_of_fit.hpp"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>
#include <numeric>

namespace quilmor::engine {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool AnyNaN(std::span<const double> v) {
  return std::any_of(v.begin(), v.end(), [](double x) { return std::isnan(x); });
}

// N·ln(SSE/N), the likelihood term shared by both criteria; NaN when it has
// no finite value.
double LogLikelihoodTerm(double sse, std::size_t n) {
  if (n == 0 || !(sse > 0.0) || !std::isfinite(sse)) return kNaN;
  const double dn = static_cast<double>(n);
  return dn * std::log(sse / dn);
}

}  // namespace

double SumOfSquaredDeviations(std::span<const double> plotFreq, std::span<const double> calcFreq) {
  assert(plotFreq.size() == calcFreq.size());
  double sse = 0.0;
  for (std::size_t i = 0; i < plotFreq.size(); ++i) {
    const double d = plotFreq[i] - calcFreq[i];
    sse += d * d;
  }
  return sse;
}

double RootMeanSquareDeviation(double sse, std::size_t n) {
  if (n == 0) return kNaN;
  return std::sqrt(sse / static_cast<double>(n));
}

double CorrectedAkaike(double sse, std::size_t n, int k) {
  const double dn = static_cast<double>(n);
  const double dk = k;
  const double dof = dn - dk - 1.0;
  if (dof <= 0.0) return kNaN;
  return LogLikelihoodTerm(sse, n) + 2.0 * dk + 2.0 * dk * (dk + 1.0) / dof;
}

double BayesianInformation(double sse, std::size_t n, int k) {
  return LogLikelihoodTerm(sse, n) + k * std::log(static_cast<double>(n));
}

double KolmogorovSmirnovDistance(std::span<const double> calcFreq) {
  const std::size_t n = calcFreq.size();
  if (n == 0 || AnyNaN(calcFreq)) return kNaN;
  const double dn = static_cast<double>(n);
  double d = 0.0;
  for (std::size_t i = 1; i <= n; ++i) {
    const double fc = std::clamp(calcFreq[i - 1], 0.0, 1.0);
    d = std::max({d, static_cast<double>(i) / dn - fc, fc - static_cast<double>(i - 1) / dn});
  }
  return d;
}

double AndersonDarling(std::span<const double> calcFreq) {
  const std::size_t n = calcFreq.size();
  if (n == 0 || AnyNaN(calcFreq)) return kNaN;
  const auto kept = [](double fc) {
    return std::clamp(fc, kAndersonDarlingFloor, 1.0 - kAndersonDarlingFloor);
  };
  double sum = 0.0;
  for (std::size_t i = 1; i <= n; ++i) {
    const double low = kept(calcFreq[i - 1]);
    const double high = kept(calcFreq[n - i]);  // Fc_{N+1−i}
    sum += static_cast<double>(2 * i - 1) * (std::log(low) + std::log(1.0 - high));
  }
  const double dn = static_cast<double>(n);
  return -dn - sum / dn;
}

double ProbabilityPlotCorrelation(std::span<const double> values, std::span<const double> calcX) {
  assert(values.size() == calcX.size());
  const std::size_t n = values.size();
  if (n < 2) return kNaN;
  const auto finite = [](double v) { return std::isfinite(v); };
  if (!std::all_of(values.begin(), values.end(), finite) ||
      !std::all_of(calcX.begin(), calcX.end(), finite)) {
    return kNaN;
  }
  const double dn = static_cast<double>(n);
  const double meanX = std::accumulate(values.begin(), values.end(), 0.0) / dn;
  const double meanY = std::accumulate(calcX.begin(), calcX.end(), 0.0) / dn;
  double sxy = 0.0, sxx = 0.0, syy = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    const double dx = values[i] - meanX;
    const double dy = calcX[i] - meanY;
    sxy += dx * dy;
    sxx += dx * dx;
    syy += dy * dy;
  }
  if (!(sxx > 0.0) || !(syy > 0.0)) return kNaN;
  // r = Sxy / √(Sxx·Syy), kept within [−1, 1] against rounding.
  return std::clamp(sxy / std::sqrt(sxx * syy), -1.0, 1.0);
}

GoodnessOfFit ComputeGoodnessOfFit(const FittedSeries& fit) {
  const std::size_t n = fit.values.size();
  assert(fit.plotFreq.size() == n && fit.calcFreq.size() == n && fit.calcX.size() == n);
  GoodnessOfFit g;
  g.sse = SumOfSquaredDeviations(fit.plotFreq, fit.calcFreq);
  g.rmse = RootMeanSquareDeviation(g.sse, n);
  g.aicc = CorrectedAkaike(g.sse, n, fit.parameters);
  g.bic = BayesianInformation(g.sse, n, fit.parameters);
  g.ksDistance = KolmogorovSmirnovDistance(fit.calcFreq);
  g.andersonDarling = AndersonDarling(fit.calcFreq);
  g.ppcc = ProbabilityPlotCorrelation(fit.values, fit.calcX);
  return g;
}

std::vector<SseRank> RankBySse(std::span<const double> sse) {
  std::vector<std::size_t> order(sse.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  // NaN last; otherwise ascending, ties in the given order.
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    if (std::isnan(sse[b])) return !std::isnan(sse[a]);
    return sse[a] < sse[b];
  });
  std::vector<SseRank> ranks;
  ranks.reserve(order.size());
  const double best = order.empty() ? kNaN : sse[order.front()];
  for (std::size_t index : order) {
    ranks.push_back({index, sse[index] <= best * (1.0 + kNearBestShare)});
  }
  return ranks;
}

}  // namespace quilmor::engine
