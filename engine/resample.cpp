#include "engine/resample.hpp"

namespace quilmor::engine {

std::vector<double> DrawResample(std::span<const double> values, ReplicateStream& stream) {
  std::vector<double> sample;
  sample.reserve(values.size());
  for (std::size_t i = 0; i < values.size(); ++i) {
    sample.push_back(values[stream.NextIndex(values.size())]);
  }
  return sample;
}

std::vector<double> DrawParametricSample(std::size_t n,
                                         const std::function<double(double)>& inverse,
                                         ReplicateStream& stream) {
  std::vector<double> sample;
  sample.reserve(n);
  for (std::size_t i = 0; i < n; ++i) sample.push_back(inverse(stream.NextUniform()));
  return sample;
}

}  // namespace quilmor::engine
