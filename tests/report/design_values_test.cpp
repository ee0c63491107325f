#include "report/design_values.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace quilmor::report {
namespace {

TEST(DesignValues, DesignLifeRisk) {
  struct Row {
    double t;
    int years;
    double risk;  // exact value, from rational arithmetic in Python
  };
  const std::vector<Row> rows = {
      {2, 3, 0.875},                      // 1 − (1/2)³
      {100, 50, 0.39499393286246365},     // 1 − 0.99^50
      {1000, 1, 0.001},                   // one year: 1/T
      {1e9, 100, 9.999999505000016e-08},  // the plain form gives 9.9999992e-08 here
  };
  for (const Row& row : rows) {
    EXPECT_NEAR(DesignLifeRisk(row.t, row.years), row.risk, 1e-14 * row.risk)
        << "T = " << row.t << ", n = " << row.years;
  }
}

TEST(DesignValues, PointsArePeriodsThenFrequencies) {
  DesignOptions options;
  ASSERT_EQ(options.returnPeriods.size(), 10u);
  EXPECT_EQ(options.returnPeriods.front(), 2.0);
  EXPECT_EQ(options.returnPeriods.back(), 1000.0);
  EXPECT_EQ(SetReturnPeriods(options, "50, 10"), std::nullopt);
  EXPECT_EQ(SetFrequencies(options, "0.75"), std::nullopt);
  const std::vector<DesignPoint> points = DesignPoints(options);
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[0].returnPeriod, 50.0);
  EXPECT_DOUBLE_EQ(points[0].frequency, 0.98);
  EXPECT_EQ(points[1].returnPeriod, 10.0);
  EXPECT_DOUBLE_EQ(points[2].returnPeriod, 4.0);
  EXPECT_EQ(points[2].frequency, 0.75);
}

TEST(DesignOptions, GoodValuesAreTaken) {
  DesignOptions o;
  EXPECT_EQ(SetReturnPeriods(o, " 1.5,2  100\t1e4 "), std::nullopt);
  EXPECT_EQ(o.returnPeriods, (std::vector<double>{1.5, 2, 100, 1e4}));
  EXPECT_EQ(SetBootstrapReplicates(o, "100000"), std::nullopt);
  EXPECT_EQ(o.bootstrapReplicates, 100000);
  EXPECT_EQ(SetSeed(o, "18446744073709551615"), std::nullopt);
  EXPECT_EQ(o.seed, 18446744073709551615ULL);
  EXPECT_EQ(SetBootstrapKind(o, "parametric"), std::nullopt);
  EXPECT_EQ(o.bootstrapKind, BootstrapKind::kParametric);
}

using Setter = std::function<std::optional<std::string>(DesignOptions&, std::string_view)>;

struct BadRow {
  Setter set;
  const char* text;
  const char* message;
};

TEST(DesignOptions, BadValuesGetAClearMessageAndChangeNothing) {
  const std::vector<BadRow> rows = {
      {SetReturnPeriods, "1", "--periods: \"1\" is not a return period above 1"},
      {SetReturnPeriods, "10,0.5", "--periods: \"0.5\" is not a return period above 1"},
      {SetReturnPeriods, "1e17",
       "--periods: \"1e17\" is too long a return period: 1 - 1/T rounds to 1"},
      {SetReturnPeriods, "ten", "--periods: \"ten\" is not a number"},
      {SetReturnPeriods, "2,,5", "--periods: \"2,,5\" has an empty item"},
      {SetReturnPeriods, "", "--periods: give at least one return period above 1"},
      {SetReturnPeriods, "5,2;3", "--periods: \"2;3\" is not a number"},
      {SetFrequencies, "0", "--freqs: \"0\" is not a frequency between 0 and 1"},
      {SetFrequencies, "0,5", "--freqs: \"0\" is not a frequency between 0 and 1"},
      {SetFrequencies, "nan", "--freqs: \"nan\" is not a number"},
      {SetDesignLife, "0",
       "--design-life: the design life must be a whole number of years from 1 "
       "to 2147483647"},
      {SetDesignLife, "-3",
       "--design-life: the design life must be a whole number of years from "
       "1 to 2147483647"},
      {SetDesignLife, "2.5", "--design-life: \"2.5\" is not a whole number of years"},
      {SetBootstrapReplicates, "-1",
       "--bootstrap: the number of replicates must lie from 0 (no bootstrap) to 100000"},
      {SetBootstrapReplicates, "99999999999",
       "--bootstrap: the number of replicates must lie from 0 (no bootstrap) to 100000"},
      {SetBootstrapReplicates, "1e3", "--bootstrap: \"1e3\" is not a whole number"},
      {SetSeed, "-1", "--seed: \"-1\" is not a whole number from 0 to 18446744073709551615"},
      {SetSeed, "18446744073709551616",
       "--seed: \"18446744073709551616\" is not a whole number from 0 to 18446744073709551615"},
      {SetBootstrapKind, "Parametric",
       "--bootstrap-kind: \"Parametric\" is neither nonparametric nor parametric"},
  };
  for (const BadRow& row : rows) {
    DesignOptions options;
    const DesignOptions before = options;
    EXPECT_EQ(row.set(options, row.text), std::optional<std::string>(row.message)) << row.text;
    EXPECT_EQ(options.returnPeriods, before.returnPeriods) << row.text;
    EXPECT_EQ(options.frequencies, before.frequencies) << row.text;
    EXPECT_EQ(options.designLife, before.designLife) << row.text;
    EXPECT_EQ(options.bootstrapReplicates, before.bootstrapReplicates) << row.text;
    EXPECT_EQ(options.seed, before.seed) << row.text;
  }
}

}  // namespace
}  // namespace quilmor::report
