#include "engine/frequency_forms.hpp"

namespace quilmor::engine {

double SingleFitFreq(Transform type, double z) {
  switch (type) {
    case Transform::Power:
      return SingleFitFreq<Transform::Power>(z);
    case Transform::Exponential:
      return SingleFitFreq<Transform::Exponential>(z);
    case Transform::Gumbel:
      return SingleFitFreq<Transform::Gumbel>(z);
    case Transform::MirroredGumbel:
      return SingleFitFreq<Transform::MirroredGumbel>(z);
    case Transform::Logistic:
      return SingleFitFreq<Transform::Logistic>(z);
    case Transform::Weibull:
      return SingleFitFreq<Transform::Weibull>(z);
    case Transform::Frechet:
      return SingleFitFreq<Transform::Frechet>(z);
    case Transform::Pareto:
      return SingleFitFreq<Transform::Pareto>(z);
  }
  return 0.0;
}

double PieceFreq(Transform type, double z) {
  switch (type) {
    case Transform::Gumbel:
      return PieceFreq<Transform::Gumbel>(z);
    case Transform::MirroredGumbel:
      return PieceFreq<Transform::MirroredGumbel>(z);
    case Transform::Logistic:
      return PieceFreq<Transform::Logistic>(z);
    case Transform::Exponential:
      return PieceFreq<Transform::Exponential>(z);
    default:
      break;
  }
  // No two-piece code uses another type; the plain form is the sensible answer.
  return FreqFromLine(type, z);
}

double LineSSE(Transform type, const double* xPrime, const double* fr, int n, double intercept,
               double slope) {
  switch (type) {
    case Transform::Power:
      return LineSSE<Transform::Power>(xPrime, fr, n, intercept, slope);
    case Transform::Exponential:
      return LineSSE<Transform::Exponential>(xPrime, fr, n, intercept, slope);
    case Transform::Gumbel:
      return LineSSE<Transform::Gumbel>(xPrime, fr, n, intercept, slope);
    case Transform::MirroredGumbel:
      return LineSSE<Transform::MirroredGumbel>(xPrime, fr, n, intercept, slope);
    case Transform::Logistic:
      return LineSSE<Transform::Logistic>(xPrime, fr, n, intercept, slope);
    case Transform::Weibull:
      return LineSSE<Transform::Weibull>(xPrime, fr, n, intercept, slope);
    case Transform::Frechet:
      return LineSSE<Transform::Frechet>(xPrime, fr, n, intercept, slope);
    case Transform::Pareto:
      return LineSSE<Transform::Pareto>(xPrime, fr, n, intercept, slope);
  }
  return 0.0;
}

double LineSSE(Transform type, const double* runXPrime, const ValueRuns& runs, const double* fr,
               double intercept, double slope) {
  using T = Transform;
  switch (type) {
    case T::Power:
      return LineSSE<T::Power>(runXPrime, runs, fr, intercept, slope);
    case T::Exponential:
      return LineSSE<T::Exponential>(runXPrime, runs, fr, intercept, slope);
    case T::Gumbel:
      return LineSSE<T::Gumbel>(runXPrime, runs, fr, intercept, slope);
    case T::MirroredGumbel:
      return LineSSE<T::MirroredGumbel>(runXPrime, runs, fr, intercept, slope);
    case T::Logistic:
      return LineSSE<T::Logistic>(runXPrime, runs, fr, intercept, slope);
    case T::Weibull:
      return LineSSE<T::Weibull>(runXPrime, runs, fr, intercept, slope);
    case T::Frechet:
      return LineSSE<T::Frechet>(runXPrime, runs, fr, intercept, slope);
    case T::Pareto:
      return LineSSE<T::Pareto>(runXPrime, runs, fr, intercept, slope);
  }
  return 0.0;
}

}  // namespace quilmor::engine
