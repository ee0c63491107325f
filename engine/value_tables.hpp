// What every replicate of a bootstrap would otherwise compute again from the
// values of the original series. A resample holds only values of the series,
// so for each distinct value v the tables hold, once for all replicates:
//   v^E = exp(E·ln v) and ln(v^E) for every trial exponent E of the grid, and
//   ln(C/(v + C)) for every trial scale C of the Pareto grid of the series.
// A fit whose values are all among them reads these instead of computing
// them; they are the same numbers, computed by the same expressions.
#pragma once

#include <vector>

#include "engine/fit_data.hpp"

namespace quilmor::engine {

class Workers;

class ValueTables {
 public:
  // From the prepared values of a series (ranks in ascending order, as the
  // fit takes them); the rows are shared out among the workers.
  ValueTables(const std::vector<double>& ascendingValues, const Workers& workers);

  // The index of every run's value among the tables' values, or an empty
  // list when one of them is not among them (bit for bit).
  std::vector<int> Find(const ValueRuns& runs) const;

  int Count() const { return static_cast<int>(m_values.size()); }
  const std::vector<double>& Values() const { return m_values; }

  // Row k = 1..280 of the exponent grid: v^E and ln(v^E) per value.
  const double* Powers(int k) const { return &m_powers[Row(k)]; }
  const double* LogPowers(int k) const { return &m_logPowers[Row(k)]; }

  // The Pareto step the rows were made with, and row k = 1..2000.
  double ParetoStep() const { return m_paretoStep; }
  const double* ParetoAbscissae(int k) const { return &m_pareto[Row(k)]; }

 private:
  std::size_t Row(int k) const {
    return static_cast<std::size_t>(k - 1) * m_values.size();
  }

  std::vector<double> m_values;  // distinct, ascending
  std::vector<double> m_powers;
  std::vector<double> m_logPowers;
  double m_paretoStep = 0.0;
  std::vector<double> m_pareto;
};

}  // namespace quilmor::engine
