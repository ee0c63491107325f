#include "calculator/parameter_file.hpp"

#include <gtest/gtest.h>

#include "engine/catalogue.hpp"
#include "textio/text_file.hpp"

namespace quilmor::calculator {
namespace {

// A model whose every parameter holds a distinct value, so that a line
// taken from the wrong field shows.
report::ReportModel FilledState(int code) {
  report::ReportModel s;
  engine::Parameters& p = s.Fit;
  p.Code = code;
  p.A = 1.5;
  p.B = -6.0;
  p.E = 0.01 * code + 0.5;
  p.C = code == 59 ? 250.5 : 4.25;
  p.As = 0.11;
  p.Bs = -1.25;
  p.Ag = 0.22;
  p.Bg = -2.5;
  p.P = 33.0;
  p.M = engine::IsStudentCode(code) ? 45.5 : 100.0 + code;
  p.D = engine::IsStudentCode(code) ? 12.75 : 10.0 + code;
  s.Shift = -3.0;
  return s;
}

struct GroupCase {
  int code;
  std::vector<std::string> lines;
};
void PrintTo(const GroupCase& c, std::ostream* os) { *os << "code " << c.code; }

class ParameterFileGroupTest : public ::testing::TestWithParam<GroupCase> {};

TEST_P(ParameterFileGroupTest, WritesTheLinesOfItsGroup) {
  const GroupCase& c = GetParam();
  const std::string text = ParameterFileText(FilledState(c.code));
  EXPECT_EQ(textio::SplitLines(text), c.lines);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

// Every real in E(23): sign position, one digit, point, 14 digits, E, the
// exponent's sign and four digits.
const std::string kA = " 1.50000000000000E+0000";
const std::string kB = "-6.00000000000000E+0000";
const std::string kS = "-3.00000000000000E+0000";

INSTANTIATE_TEST_SUITE_P(
    Groups, ParameterFileGroupTest,
    ::testing::Values(
        // 57: code, A, B, S (four lines).
        GroupCase{57, {"57", kA, kB, kS}},
        // 4: no exponent.
        GroupCase{4, {"4", kA, kB, kS}},
        // 2 and 60: the exponent after B (60: five lines).
        GroupCase{2, {"2", kA, kB, " 5.20000000000000E-0001", kS}},
        GroupCase{60, {"60", kA, kB, " 1.10000000000000E+0000", kS}},
        // 58, 59: the bound after B.
        GroupCase{58, {"58", kA, kB, " 4.25000000000000E+0000", kS}},
        GroupCase{59, {"59", kA, kB, " 2.50500000000000E+0002", kS}},
        // Two pieces: seven lines.
        GroupCase{
            9,
            {"9", " 1.10000000000000E-0001", "-1.25000000000000E+0000", " 2.20000000000000E-0001",
             "-2.50000000000000E+0000", " 3.30000000000000E+0001", kS}},
        // Normal family: mean and sigma; 25 adds E (five lines).
        GroupCase{22, {"22", " 1.22000000000000E+0002", " 3.20000000000000E+0001", kS}},
        GroupCase{25,
                  {"25", " 1.25000000000000E+0002", " 3.50000000000000E+0001",
                   " 7.50000000000000E-0001", kS}},
        // Student: A, B, average and standard deviation (six lines).
        GroupCase{62, {"62", kA, kB, " 4.55000000000000E+0001", " 1.27500000000000E+0001", kS}},
        GroupCase{63, {"63", kA, kB, " 4.55000000000000E+0001", " 1.27500000000000E+0001", kS}}));

TEST(ParseParameterFile, ReadsBackWhatWasWritten) {
  for (int code : {2, 4, 9, 18, 22, 25, 57, 58, 59, 60, 62, 63}) {
    const report::ReportModel s = FilledState(code);
    std::string error;
    const auto p = ParseParameterFile(textio::SplitLines(ParameterFileText(s)), error);
    ASSERT_TRUE(p) << code << ": " << error;
    EXPECT_EQ(p->Code, code);
    EXPECT_EQ(p->S, -3.0);
    if (code == 4 || code >= 51) {
      EXPECT_EQ(p->A, 1.5);
      EXPECT_EQ(p->B, -6.0);
    }
    if (code == 2 || code == 60 || code == 25) {
      EXPECT_EQ(p->E, s.Fit.E);
    }
    if (code == 58) {
      EXPECT_EQ(p->C, 4.25);
    }
    if (code == 59) {
      EXPECT_EQ(p->C, 250.5);
    }
    if (code == 9 || code == 18) {
      EXPECT_EQ(p->As, 0.11);
      EXPECT_EQ(p->Bg, -2.5);
      EXPECT_EQ(p->P, 33.0);
    }
    if (code == 22 || code == 25) {
      EXPECT_EQ(p->M, 100.0 + code);
      EXPECT_EQ(p->D, 10.0 + code);
    }
    if (code > 60) {
      EXPECT_EQ(p->M, 45.5);
      EXPECT_EQ(p->D, 12.75);
    }
  }
}

TEST(ParseParameterFile, RefusesDamagedFiles) {
  std::string error;
  EXPECT_FALSE(ParseParameterFile({}, error));
  EXPECT_FALSE(ParseParameterFile({"57", " 1.5E+0000", "-6.0E+0000"}, error));  // no S
  EXPECT_FALSE(ParseParameterFile({"57", "x", "1", "1"}, error));
  EXPECT_FALSE(ParseParameterFile({"6", "1", "1", "1", "1", "1", "1"}, error));  // not a code
  EXPECT_FALSE(ParseParameterFile({"0", "1", "1", "1"}, error));
  EXPECT_NE(error.find("no fitted distribution"), std::string::npos);
  // The lines of code 60 (A, B, E, S) under the code 4 (A, B, S): E would be
  // read as the shift.
  EXPECT_FALSE(ParseParameterFile({"4", "1", "-2", "0.5", "0"}, error));
  EXPECT_EQ(error, "line 5 follows the shift S, the last parameter of code 4");
  // Blank lines at the end are no parameters.
  EXPECT_TRUE(ParseParameterFile({"4", "1", "-2", "0", "", "  "}, error));
}

}  // namespace
}  // namespace quilmor::calculator
