// How often the 90 % limits of the 100-year value contain the true value, in
// simulation: M samples of N values from a known Gumbel function and from a
// known log-normal function, each analysed as a user would (best fitting of
// all), with the method's limits and the bootstrap limits of three kinds
// (percentile, bias-corrected, basic) for the function chosen anew and for
// the same function refitted. Prints one table; evidence, not a test.
//
// Usage: design_coverage [M] [N] [B] [threads]   (defaults 200 50 200 0)
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/samples.hpp"
#include "bench/analysed_series.hpp"
#include "run/bootstrap.hpp"
#include "run/run_analysis.hpp"
#include "textio/input_file.hpp"
#include "textio/interaction.hpp"
#include "textio/text_file.hpp"

namespace quilmor::bench {
namespace {

constexpr double kT = 100.0;
constexpr double kF = 1.0 - 1.0 / kT;

// The true 100-year values of the two functions of samples.hpp.
double TrueValue(Sample kind) {
  if (kind == Sample::Gumbel) return 50.0 - 12.0 * std::log(-std::log(kF));
  return std::exp(2.0 + 0.75 * NormalQuantile(kF));  // log-normal
}

struct Tally {
  int samples = 0;
  int counted[7] = {};  // covered
  int above[7] = {};    // the true value above the upper limit
  int defined[7] = {};  // limits with a value
  void Add(int kind, double lower, double upper, double truth) {
    if (!std::isfinite(lower) || !std::isfinite(upper)) return;
    ++defined[kind];
    if (lower <= truth && truth <= upper) ++counted[kind];
    if (truth > upper) ++above[kind];
  }
};

const char* const kKinds[7] = {"method (binomial)",         "chosen anew, percentile",
                               "chosen anew, bias-corr.",   "chosen anew, basic",
                               "same function, percentile", "same function, bias-corr.",
                               "same function, basic"};

Tally Simulate(Sample kind, int m, int n, int b, int threads) {
  const double truth = TrueValue(kind);
  Tally tally;
  for (int sample = 0; sample < m; ++sample) {
    const std::vector<double> values = MakeSample(kind, n, 1000u + static_cast<unsigned>(sample));
    SilentInteraction ui;
    const run::AnalysisResult analysis = AnalyseSample(values, "coverage.inp", ui);
    if (analysis.Stopped() || analysis.error) continue;
    report::DesignOptions options;
    options.returnPeriods = {kT};
    const std::vector<run::DesignRow> design = run::DesignTable(analysis.model, n, options);
    run::BootstrapRequest boot;
    boot.replicates = b;
    boot.threads = threads;
    boot.seed = 77u + static_cast<unsigned>(sample);
    const run::BootstrapResult r =
        run::RunBootstrap(analysis.series, analysis.fit, analysis.model, design, boot);
    ++tally.samples;
    const run::DesignRow& row = design[0];
    const run::BootstrapPoint& p = r.points[0];
    tally.Add(0, row.methodLower, row.methodUpper, truth);
    int k = 1;
    for (const run::ReplicateLimits* l : {&p.chosenAnew, &p.sameFunction}) {
      tally.Add(k++, l->percentile.lower, l->percentile.upper, truth);
      tally.Add(k++, l->biasCorrected.lower, l->biasCorrected.upper, truth);
      tally.Add(k++, l->basic.lower, l->basic.upper, truth);
    }
    std::fprintf(stderr, "\r%s sample %d/%d", kind == Sample::Gumbel ? "Gumbel" : "log-normal",
                 sample + 1, m);
  }
  std::fprintf(stderr, "\n");
  return tally;
}

}  // namespace
}  // namespace quilmor::bench

int main(int argc, char** argv) {
  using namespace quilmor::bench;
  const int m = argc > 1 ? std::atoi(argv[1]) : 200;
  const int n = argc > 2 ? std::atoi(argv[2]) : 50;
  const int b = argc > 3 ? std::atoi(argv[3]) : 200;
  const int threads = argc > 4 ? std::atoi(argv[4]) : 0;
  const Tally gumbel = Simulate(Sample::Gumbel, m, n, b, threads);
  const Tally lognormal = Simulate(Sample::LogNormal, m, n, b, threads);
  std::printf(
      "Coverage of the 100-year value's nominal 90 %% limits: M = %d samples of N = %d, "
      "B = %d replicates\n",
      m, n, b);
  std::printf("%-27s  %-22s  %-22s\n", "limits", "Gumbel: cover (above)",
              "log-normal: cover (above)");
  for (int k = 0; k < 7; ++k) {
    auto cell = [k](const Tally& t) {
      char text[64];
      const double d = t.defined[k] > 0 ? t.defined[k] : 1;
      std::snprintf(text, sizeof text, "%5.1f %% (%4.1f %%) of %d", 100.0 * t.counted[k] / d,
                    100.0 * t.above[k] / d, t.defined[k]);
      return std::string(text);
    };
    std::printf("%-27s  %-22s  %-22s\n", kKinds[k], cell(gumbel).c_str(), cell(lognormal).c_str());
  }
  return 0;
}
