#include "engine/value_tables.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

#include "engine/bound_scans.hpp"
#include "engine/exponent_scan.hpp"
#include "engine/pareto_scan.hpp"
#include "engine/workers.hpp"

namespace quilmor::engine {

namespace {

// The values the bound rows of one code may hold for each pair of smallest
// and largest value, the likeliest pair first (64 MB, then 16 MB each),
// whatever the number of values. Only the rows a scan reaches take memory.
constexpr std::size_t kBoundCells[] = {8'000'000, 2'000'000, 2'000'000};

bool SameNumber(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

}  // namespace

BoundRows::BoundRows(int code, const std::vector<double>& values, int first, int last, int maxRows)
    : m_code(code),
      m_values(values.data()),
      m_count(values.size()),
      m_first(first),
      m_last(last),
      m_maxRows(maxRows),
      m_cells(new double[static_cast<std::size_t>(maxRows) * values.size()]),
      m_state(new std::atomic<std::uint8_t>[static_cast<std::size_t>(maxRows) + 1]()) {}

const double* BoundRows::Row(int j) const {
  if (j < 1 || j > m_maxRows) return nullptr;
  std::atomic<std::uint8_t>& state = m_state[j];
  std::uint8_t seen = state.load(std::memory_order_acquire);
  double* row = &m_cells[static_cast<std::size_t>(j - 1) * m_count];
  if (seen == kReady) return row;
  if (seen != kEmpty || !state.compare_exchange_strong(seen, kMaking, std::memory_order_acq_rel)) {
    return nullptr;
  }
  // As BoundAbscissae takes them, where no value trips the guard.
  const double bound = BoundTrial(m_code, Smallest(), Largest(), j);
  const bool lower = CodeRow(m_code).bound == Bound::Lower;
  for (int v = m_first; v <= m_last; ++v) {
    const double x = m_values[v];
    if (lower ? x - bound <= 0.0 : bound - x <= 0.0) {
      state.store(kGuarded, std::memory_order_release);
      return nullptr;
    }
    row[v] = std::log(lower ? x - bound : bound - x);
  }
  state.store(kReady, std::memory_order_release);
  return row;
}

ValueTables::ValueTables(const std::vector<double>& ascendingValues, const Workers& workers) {
  const ValueRuns runs = FindRuns(ascendingValues.data(), static_cast<int>(ascendingValues.size()));
  m_values = runs.value;
  const std::size_t count = m_values.size();
  std::vector<double> lnV(count);
  for (std::size_t v = 0; v < count; ++v) lnV[v] = std::log(m_values[v]);

  const std::vector<double> grid = ExponentGrid();
  m_powers.resize(count * kExponentTrials);
  m_logPowers.resize(count * kExponentTrials);
  workers.ForEach(kExponentTrials, [&](int index, int) {
    const int k = index + 1;
    double* powers = &m_powers[Row(k)];
    double* logs = &m_logPowers[Row(k)];
    for (std::size_t v = 0; v < count; ++v) {
      powers[v] = std::exp(grid[k] * lnV[v]);
      logs[v] = std::log(powers[v]);
    }
  });

  // The step follows the largest value as the Pareto fit finds it.
  double largest = 0.0;
  for (double value : ascendingValues) {
    if (value > largest) largest = value;
  }
  m_paretoStep = engine::ParetoStep(largest);
  const std::vector<double> scales = ParetoGrid(m_paretoStep);
  m_pareto.resize(count * kParetoTrials);
  workers.ForEach(kParetoTrials, [&](int index, int) {
    const int k = index + 1;
    const double scale = scales[k];
    double* row = &m_pareto[Row(k)];
    for (std::size_t v = 0; v < count; ++v) row[v] = std::log(scale / (m_values[v] + scale));
  });

  // Bound rows for the likeliest smallest and largest values of a resample.
  const int last = static_cast<int>(count) - 1;
  const std::pair<int, int> ranges[] = {{0, last}, {1, last}, {0, last - 1}};
  for (std::size_t p = 0; p < std::size(ranges); ++p) {
    const auto [first, lastValue] = ranges[p];
    const std::size_t rowsInBudget = kBoundCells[p] / std::max<std::size_t>(count, 1);
    if (first >= lastValue || rowsInBudget < 1) continue;
    for (const CodeInfo& row : Catalogue()) {
      if (row.fit != FitMethod::BoundScan) continue;
      const int trials = row.bound == Bound::Lower ? kLowerBoundTrials : kUpperBoundTrials;
      const int maxRows =
          static_cast<int>(std::min<std::size_t>(rowsInBudget, static_cast<std::size_t>(trials)));
      m_bounds.push_back(
          std::make_unique<BoundRows>(row.code, m_values, first, lastValue, maxRows));
    }
  }
}

const BoundRows* ValueTables::BoundScan(int code, double smallest, double largest) const {
  for (const auto& rows : m_bounds) {
    if (rows->Code() == code && SameNumber(rows->Smallest(), smallest) &&
        SameNumber(rows->Largest(), largest)) {
      return rows.get();
    }
  }
  return nullptr;
}

std::vector<int> ValueTables::Find(const ValueRuns& runs) const {
  // Both lists ascend: one walk finds them all.
  std::vector<int> index(runs.value.size());
  std::size_t t = 0;
  for (std::size_t r = 0; r < runs.value.size(); ++r) {
    const double value = runs.value[r];
    while (t < m_values.size() && m_values[t] < value) ++t;
    if (t == m_values.size() || !SameNumber(m_values[t], value)) {
      return {};
    }
    index[r] = static_cast<int>(t);
  }
  return index;
}

}  // namespace quilmor::engine
