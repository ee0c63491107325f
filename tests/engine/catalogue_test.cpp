#include "engine/catalogue.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

namespace quilmor::engine {
namespace {

TEST(CatalogueName, NamesOnlyTheCodesOfTheCatalogue) {
  EXPECT_STREQ(CatalogueName(13), "Standard Gumbel + mirrored Gumbel  distribution");
  EXPECT_EQ(CatalogueName(6), nullptr);
  EXPECT_STREQ(CatalogueName(0), "");
  EXPECT_STREQ(CatalogueName(62), "Student t-distribution with 1 d.f.");
}

struct HastingsRow {
  double u;
  double expected;
  double tolerance;
};

class HastingsTest : public ::testing::TestWithParam<HastingsRow> {};

TEST_P(HastingsTest, MatchesTheWorkedValues) {
  EXPECT_NEAR(HastingsFreq(GetParam().u), GetParam().expected, GetParam().tolerance);
}

// Worked values: 1 - 0.398942 (0.31938 - 0.35656 + 1.78148 - 1.82126 + 1.33027)
// at 0; elsewhere the normal distribution's own values, which the
// approximation meets to better than 1e-7. Below 0 the upper half is
// mirrored: F(-1) = 1 - F(1) = 0.158655, F(-2) = 0.0227501.
INSTANTIATE_TEST_SUITE_P(
    Rows, HastingsTest,
    ::testing::Values(HastingsRow{0.0, 0.500002, 1e-5}, HastingsRow{1.0, 0.841345, 1e-5},
                      HastingsRow{-0.5, 0.308538, 1e-5}, HastingsRow{-1.0, 0.158655, 1e-5},
                      HastingsRow{-1.5, 0.0668072, 1e-5}, HastingsRow{-2.0, 0.0227501, 1e-5},
                      HastingsRow{-1.0 / 0.23165, 7.91e-6, 1e-7}, HastingsRow{-INFINITY, 0.0, 0.0},
                      HastingsRow{INFINITY, 1.0, 0.0}, HastingsRow{NAN, 0.0, 0.0}));

// The reflected frequencies rise with u and stay positive far out.
TEST(HastingsFreq, RisesAndStaysPositiveOverTheWholeAxis) {
  double previous = 0.0;
  for (double u = -12.0; u <= 12.0; u += 0.01) {
    const double f = HastingsFreq(u);
    EXPECT_GE(f, previous) << u;
    if (u < 8.0) {
      EXPECT_GT(f, 0.0) << u;
    }
    EXPECT_NEAR(f + HastingsFreq(-u), 1.0, 1e-15) << u;
    previous = f;
  }
}

TEST(Ordinate, InvertsFreqFromLine) {
  for (Transform t :
       {Transform::Power, Transform::Exponential, Transform::Gumbel, Transform::MirroredGumbel,
        Transform::Logistic, Transform::Weibull, Transform::Frechet, Transform::Pareto}) {
    for (double fr : {0.05, 0.3, 0.5, 0.77, 0.95}) {
      EXPECT_NEAR(FreqFromLine(t, Ordinate(t, fr)), fr, 1e-12) << static_cast<int>(t);
    }
  }
}

TEST(ModelFreq, BoundFloorIsUsedAndReported) {
  Parameters p;
  p.Code = 58;
  p.A = -2.0;
  p.B = 1.0;
  p.C = 5.0;
  bool floorUsed = false;
  FreqContext context;
  context.floorUsed = &floorUsed;
  const double fc = ModelFreq(p, 4.0, context);
  EXPECT_TRUE(floorUsed);
  EXPECT_DOUBLE_EQ(fc, std::exp(-std::exp(-2.0 * std::log(0.0001))));
}

TEST(ModelFreq, ModelsNeedingPositiveXAreEvaluatedAtZeroBelowIt) {
  Parameters p;
  p.A = 1.5;
  p.B = -0.3;
  p.E = 0.7;
  for (int code : {2, 3, 51, 52, 54, 55, 57, 60}) {
    p.Code = code;
    EXPECT_EQ(ModelFreq(p, -3.0), ModelFreq(p, 0.0)) << code;
    EXPECT_FALSE(std::isnan(ModelFreq(p, -3.0))) << code;
  }
}

TEST(TwoPieceKinds, CodesPairTheirTransforms) {
  EXPECT_EQ(TwoPieceKinds(10).lower, Transform::MirroredGumbel);
  EXPECT_EQ(TwoPieceKinds(10).upper, Transform::Logistic);
  EXPECT_EQ(TwoPieceKinds(16).upper, Transform::Exponential);
  EXPECT_EQ(TwoPieceKinds(14).lower, Transform::Logistic);
}

}  // namespace

// Every code of the catalogue has a complete row: the facts each subsystem
// reads are present and agree with one another.
TEST(CatalogueTable, EveryCodeHasACompleteRow) {
  std::vector<int> codes;
  std::set<int> selection, fitting, buttons;
  for (const CodeInfo& row : Catalogue()) {
    codes.push_back(row.code);
    if (row.family == Family::None) continue;
    SCOPED_TRACE(row.code);
    EXPECT_NE(std::string(row.name), "");
    EXPECT_GT(row.parameterCount, 0);
    const ParameterFileLayout& file = row.parameterFile;
    EXPECT_TRUE(file.line || file.pieces || file.normal);
    EXPECT_EQ(file.exponentAfterLine || file.exponentAfterNormal, row.hasExponent);
    EXPECT_EQ(file.bound, row.bound != Bound::None);
    EXPECT_EQ(file.pieces, row.fit == FitMethod::TwoPiece);
    EXPECT_EQ(file.pieces, row.report.twoPiece != nullptr);
    EXPECT_EQ(file.normal, row.report.normal != nullptr);
    EXPECT_EQ(file.student, row.fit == FitMethod::Student);
    EXPECT_EQ(row.parametersInDataScale, row.bound != Bound::None || file.student);
    EXPECT_EQ(row.degreesOfFreedom != 0, file.student);
    if (row.fit == FitMethod::None) continue;  // code 1: named, never fitted
    EXPECT_NE(row.report.name, nullptr);
    EXPECT_NE(row.abscissa, Abscissa::None);
    // A function without pieces or normal lines prints its formula.
    if (!file.pieces && !file.normal) {
      EXPECT_NE(row.report.formulaPlain, nullptr);
      EXPECT_NE(row.report.formulaWithShift, nullptr);
      EXPECT_NE(row.report.shiftLabel, nullptr);
    }
    EXPECT_EQ(row.report.printsLine, HasLine(row));
    if (row.selectionOrder > 0) {
      EXPECT_TRUE(selection.insert(row.selectionOrder).second);
    }
    if (row.fitOrder > 0) {
      EXPECT_TRUE(fitting.insert(row.fitOrder).second);
    }
    EXPECT_EQ(row.preferable, row.buttonOrder > 0);
    if (row.preferable) {
      EXPECT_NE(row.buttonName, nullptr);
      EXPECT_NE(row.buttonCaption, nullptr);
      EXPECT_TRUE(buttons.insert(row.buttonOrder).second);
    }
  }
  const std::vector<int> expected = {0,  1,  2,  3,  4,  5,  7,  8,  9,  10, 11, 12,
                                     13, 14, 15, 16, 17, 18, 21, 22, 23, 24, 25, 51,
                                     52, 53, 54, 55, 56, 57, 58, 59, 60, 62, 63};
  EXPECT_EQ(codes, expected);
  EXPECT_EQ(selection.size(), static_cast<std::size_t>(kSingleCandidates));
  EXPECT_EQ(buttons.size(), static_cast<std::size_t>(kPreferenceButtons));
  // Every code but 0, 1 and 25 (preferred only) is fitted in a best-of-all run.
  EXPECT_EQ(fitting.size(), expected.size() - 3);
  EXPECT_EQ(*fitting.rbegin(), static_cast<int>(fitting.size()));
}

// The orders a run and the Input page use, as the method lists them.
TEST(CatalogueTable, OrdersOfSelectionAndButtons) {
  const std::vector<int> selection(SingleSelectionOrder().begin(), SingleSelectionOrder().end());
  EXPECT_EQ(selection, (std::vector<int>{21, 22, 23, 24, 2,  3,  4,  5,  51, 52,
                                         53, 54, 55, 56, 57, 58, 59, 60, 62, 63}));
  const std::vector<int> buttons(PreferenceButtonOrder().begin(), PreferenceButtonOrder().end());
  EXPECT_EQ(buttons, (std::vector<int>{21, 22, 24, 23, 25, 53, 54, 55, 4, 51, 5, 52, 58, 56, 3, 57,
                                       60, 59, 62}));
  EXPECT_EQ(StudentCode(1), 62);
  EXPECT_EQ(StudentCode(2), 63);
}

}  // namespace quilmor::engine

namespace quilmor::engine {
namespace {

// At the ends of the double range, at the smallest numbers and at 0 a
// frequency is a number in [0, 1] or no value at all: never a square that
// overflowed into 0.5, a sum that cancelled below 0 or above 1.
TEST(ModelFreq, StaysAFrequencyAtTheEndsOfTheNumberRange) {
  const double xs[] = {-1e308, -1e160, -1e-308, 0.0, 1e-308, 1e160, 1e308};
  for (const CodeInfo& row : Catalogue()) {
    // The linear and the power-exponential forms are not bounded by their
    // formula (the fit caps them).
    if (row.code <= 2) continue;
    for (const double a : {1.0, 1e-3}) {
      Parameters p;
      p.Code = row.code;
      p.A = a;
      p.B = row.code == 56 ? 1.0 : 0.5;
      p.As = p.Ag = a;
      p.D = 1.0 / a;
      for (const double x : xs) {
        const double f = ModelFreq(p, x);
        EXPECT_TRUE(std::isnan(f) || (f >= 0.0 && f <= 1.0))
            << "code " << row.code << " at " << x << ": " << f;
      }
    }
  }
  // The Student forms reach 0 and 1 at the ends, whatever the spread.
  struct Row {
    int code;
    double x, d, freq;
  };
  const Row rows[] = {{63, 1e160, 1.0, 1.0},  {63, 1e308, 1.0, 1.0},  {63, -1e308, 1.0, 0.0},
                      {63, 1e300, 1e-300, 1.0}, {63, -1e300, 1e-300, 0.0}, {63, 0.0, 1.0, 0.5},
                      {62, 1e308, 1e-300, 1.0}, {62, -1e308, 1e-300, 0.0}};
  for (const Row& r : rows) {
    Parameters p;
    p.Code = r.code;
    p.D = r.d;
    EXPECT_EQ(ModelFreq(p, r.x), r.freq) << r.code << " at " << r.x;
  }
}

}  // namespace
}  // namespace quilmor::engine
