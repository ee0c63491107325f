#include "engine/frequency_forms.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace quilmor::engine {
namespace {

enum class Use { Single, Piece };

struct FormRow {
  const char* name;
  Transform type;
  Use use;
  double z;
  double expected;
};

class FrequencyForm : public ::testing::TestWithParam<FormRow> {};

TEST_P(FrequencyForm, GivesTheCappedOrClampedFrequency) {
  const FormRow& row = GetParam();
  const double fc =
      row.use == Use::Single ? SingleFitFreq(row.type, row.z) : PieceFreq(row.type, row.z);
  EXPECT_DOUBLE_EQ(fc, row.expected);
}

using T = Transform;
// Expected values written from the models: power exp(Z), exponential
// 1 − exp(−Z), Gumbel exp(−exp(−Z)), mirrored Gumbel 1 − exp(−exp(−Z)),
// logistic 1/(1 + exp(Z)), Weibull 1 − exp(−W) with W = exp(Z), Frechet
// exp(−exp(Z)), Pareto 1 − exp(Z); caps at 8 and clamps to [−8, 8].
INSTANTIATE_TEST_SUITE_P(
    Rows, FrequencyForm,
    ::testing::Values(
        FormRow{"PowerBelowCap", T::Power, Use::Single, 7.5, std::exp(7.5)},
        FormRow{"PowerCapIsInclusive", T::Power, Use::Single, 8.0, 8.0},
        FormRow{"PowerCapped", T::Power, Use::Single, 9.0, 8.0},
        FormRow{"ExponentialPlain", T::Exponential, Use::Single, 0.5, 1.0 - std::exp(-0.5)},
        FormRow{"ExponentialCapIsInclusive", T::Exponential, Use::Single, -8.0, 8.0},
        FormRow{"ExponentialCapped", T::Exponential, Use::Single, -9.0, 8.0},
        FormRow{"ExponentialJustAboveCap", T::Exponential, Use::Single, -7.5, 1.0 - std::exp(7.5)},
        FormRow{"GumbelPlain", T::Gumbel, Use::Single, 0.3, std::exp(-std::exp(-0.3))},
        FormRow{"GumbelClampedBelow", T::Gumbel, Use::Single, -12.0, std::exp(-std::exp(8.0))},
        FormRow{"GumbelClampedAbove", T::Gumbel, Use::Single, 12.0, std::exp(-std::exp(-8.0))},
        FormRow{"MirroredGumbelClampedBelow", T::MirroredGumbel, Use::Single, -12.0,
                1.0 - std::exp(-std::exp(8.0))},
        FormRow{"MirroredGumbelClampedAbove", T::MirroredGumbel, Use::Single, 12.0,
                1.0 - std::exp(-std::exp(-8.0))},
        FormRow{"LogisticUnlimited", T::Logistic, Use::Single, -30.0,
                1.0 / (1.0 + std::exp(-30.0))},
        FormRow{"WeibullPlain", T::Weibull, Use::Single, 1.0, 1.0 - std::exp(-std::exp(1.0))},
        // Z = 3 gives W = e³ ≈ 20.1, clamped to 8.
        FormRow{"WeibullWClamped", T::Weibull, Use::Single, 3.0, 1.0 - std::exp(-8.0)},
        FormRow{"FrechetUnlimited", T::Frechet, Use::Single, 3.0, std::exp(-std::exp(3.0))},
        FormRow{"ParetoUnlimited", T::Pareto, Use::Single, -0.7, 1.0 - std::exp(-0.7)},
        // Pieces: Gumbel clamps, mirrored Gumbel and logistic do not,
        // exponential caps.
        FormRow{"GumbelPieceClamped", T::Gumbel, Use::Piece, -12.0, std::exp(-std::exp(8.0))},
        FormRow{"MirroredGumbelPieceNotClamped", T::MirroredGumbel, Use::Piece, 9.0,
                1.0 - std::exp(-std::exp(-9.0))},
        FormRow{"LogisticPiece", T::Logistic, Use::Piece, 2.0, 1.0 / (1.0 + std::exp(2.0))},
        FormRow{"ExponentialPieceCapped", T::Exponential, Use::Piece, -8.0, 8.0},
        FormRow{"ExponentialPiecePlain", T::Exponential, Use::Piece, 1.0, 1.0 - std::exp(-1.0)}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ClampZ, IsStrictAtEight) {
  EXPECT_EQ(ClampZ(8.0), 8.0);
  EXPECT_EQ(ClampZ(-8.0), -8.0);
  EXPECT_EQ(ClampZ(8.5), 8.0);
  EXPECT_EQ(ClampZ(-8.5), -8.0);
  EXPECT_EQ(ClampZ(0.25), 0.25);
}

TEST(MirroredGumbelPiece, DiffersFromTheSingleFitBeyondTheClamp) {
  // Z = 9: the single fit takes Z = 8, the piece Z = 9.
  EXPECT_NE(SingleFitFreq(T::MirroredGumbel, 9.0), PieceFreq(T::MirroredGumbel, 9.0));
}

TEST(LineSSE, CappedPowerPointAddsItsDistanceToEight) {
  // Line I = 9, S = 0 gives Z = 9 everywhere: every Fc is 8, so the SSE is
  // Σ (Fr − 8)² = (0.25 − 8)² + (0.5 − 8)² + (0.75 − 8)².
  const double x[] = {1.0, 2.0, 3.0};
  const double fr[] = {0.25, 0.5, 0.75};
  const double expected = 7.75 * 7.75 + 7.5 * 7.5 + 7.25 * 7.25;
  EXPECT_DOUBLE_EQ(LineSSE(T::Power, x, fr, 3, 9.0, 0.0), expected);
}

TEST(LineSSE, SumsSquaredDeviationsInRankOrder) {
  // Logistic with I = 0, S = 0: Fc = 1/2 everywhere.
  const double x[] = {1.0, 2.0};
  const double fr[] = {0.25, 1.0};
  EXPECT_DOUBLE_EQ(LineSSE(T::Logistic, x, fr, 2, 0.0, 0.0), 0.0625 + 0.25);
}

}  // namespace
}  // namespace quilmor::engine
