// What every replicate of a bootstrap would otherwise compute again from the
// values of the original series. A resample holds only values of the series,
// so for each distinct value v the tables hold, once for all replicates:
//   v^E = exp(E·ln v) and ln(v^E) for every trial exponent E of the grid, and
//   ln(C/(v + C)) for every trial scale C of the Pareto grid of the series.
// A fit whose values are all among them reads these instead of computing
// them; they are the same numbers, computed by the same expressions.
//
// The bound scans of codes 58 and 59 take ln(v − C_j) or ln(C_j − v), where
// the trial bounds C_j follow from the smallest and largest value of the fit.
// Most resamples keep the smallest and largest values of the series, or the
// second smallest or largest, so the tables keep rows for three such pairs.
// A row is made by the first fit that needs it and read by every later one.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/fit_data.hpp"

namespace quilmor::engine {

class Workers;

// The abscissae of one bound scan (code 58 or 59) for one smallest and
// largest value: row j holds ln(v − C_j) or ln(C_j − v) for every value v
// from the smallest to the largest. Rows are made when first asked for, by
// whichever thread asks; the others meanwhile compute their own.
class BoundRows {
 public:
  // `values` (ascending) outlive the rows.
  BoundRows(int code, const std::vector<double>& values, int first, int last, int maxRows);

  int Code() const { return m_code; }
  double Smallest() const { return m_values[m_first]; }
  double Largest() const { return m_values[m_last]; }

  // Row j (1-based; indexed like the tables' values), or null: beyond the
  // rows kept, being made by another thread, or a trial where a value lies
  // on the wrong side of C_j, so that the guard moves it.
  const double* Row(int j) const;

 private:
  enum State : std::uint8_t { kEmpty, kMaking, kReady, kGuarded };

  int m_code;
  const double* m_values;
  std::size_t m_count;
  int m_first;
  int m_last;
  int m_maxRows;
  std::unique_ptr<double[]> m_cells;  // left uninitialised until a row is made
  std::unique_ptr<std::atomic<std::uint8_t>[]> m_state;
};

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

  // The rows of the bound scan of `code` for a fit whose values run from
  // `smallest` to `largest` (the same numbers, bit for bit), or null.
  const BoundRows* BoundScan(int code, double smallest, double largest) const;

 private:
  std::size_t Row(int k) const { return static_cast<std::size_t>(k - 1) * m_values.size(); }

  std::vector<double> m_values;  // distinct, ascending
  std::vector<double> m_powers;
  std::vector<double> m_logPowers;
  double m_paretoStep = 0.0;
  std::vector<double> m_pareto;
  std::vector<std::unique_ptr<BoundRows>> m_bounds;
};

}  // namespace quilmor::engine
