#include "engine/value_tables.hpp"

#include <bit>
#include <cmath>
#include <cstdint>

#include "engine/exponent_scan.hpp"
#include "engine/pareto_scan.hpp"
#include "engine/workers.hpp"

namespace quilmor::engine {

ValueTables::ValueTables(const std::vector<double>& ascendingValues, const Workers& workers) {
  const ValueRuns runs =
      FindRuns(ascendingValues.data(), static_cast<int>(ascendingValues.size()));
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
}

std::vector<int> ValueTables::Find(const ValueRuns& runs) const {
  // Both lists ascend: one walk finds them all.
  std::vector<int> index(runs.value.size());
  std::size_t t = 0;
  for (std::size_t r = 0; r < runs.value.size(); ++r) {
    const double value = runs.value[r];
    while (t < m_values.size() && m_values[t] < value) ++t;
    if (t == m_values.size() ||
        std::bit_cast<std::uint64_t>(m_values[t]) != std::bit_cast<std::uint64_t>(value)) {
      return {};
    }
    index[r] = static_cast<int>(t);
  }
  return index;
}

}  // namespace quilmor::engine
