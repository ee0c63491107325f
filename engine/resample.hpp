// The samples of a bootstrap: a resample of the values in use, drawn with
// replacement, or a parametric sample drawn from the fitted function through
// its inverse. Each draws from the replicate's own stream (random_stream.hpp).
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <vector>

#include "engine/random_stream.hpp"

namespace quilmor::engine {

// values.size() draws with replacement, each value equally likely, in the
// order drawn. An empty series gives an empty resample.
std::vector<double> DrawResample(std::span<const double> values, ReplicateStream& stream);

// n values X(u) with u uniform in (0, 1), in the order drawn. The sample holds
// what `inverse` returns; a caller whose inverse can fail (an infinite or
// undefined value) checks the sample before it is analysed.
std::vector<double> DrawParametricSample(std::size_t n,
                                         const std::function<double(double)>& inverse,
                                         ReplicateStream& stream);

}  // namespace quilmor::engine
