// Hand-made report bodies ("TmpFile.Tmp") and fit summaries ("Temp.tmp") in
// the layout the report writer uses, for testing what reads them back.
#pragma once

#include <string>
#include <vector>

#include "textio/number_format.hpp"
#include "textio/text_file.hpp"

namespace quilmor::testing {

struct BodyRow {
  double x;  // ranked X-value as printed
  int serial;
  double rank;  // percentages
  double calc;
  double stdev;
  double lower;
  double upper;
};

// A frequency-table row: X in F(8.dx), six blanks, the serial, two blanks
// below 10 and one below 100, then rank and calc in F(10.dx), the standard
// deviation in F(10.2) and the limits in F(10.1).
inline std::string FrequencyTableRow(const BodyRow& r, int dx) {
  std::string pad = r.serial < 10 ? "  " : r.serial < 100 ? " " : "";
  return textio::FormatF(r.x, 8, dx) + "      " + std::to_string(r.serial) + pad +
         textio::FormatF(r.rank, 10, dx) + textio::FormatF(r.calc, 10, dx) +
         textio::FormatF(r.stdev, 10, 2) + textio::FormatF(r.lower, 10, 1) +
         textio::FormatF(r.upper, 10, 1);
}

// The heading, a short function part and the frequency table with its
// closing lines, then the start of the return-period table. `title1` lets a
// test put a marker-like title into the heading.
inline std::string ReportBody(const std::vector<BodyRow>& rows, int dx,
                              const std::string& title1 = "Test series") {
  const std::string dashes = " " + std::string(66, '-');
  textio::TextWriter out;
  out.Line(" RESULTS OF Quilmor PROGRAM");
  out.Line(" Cumulative frequency analysis");
  out.Line();
  out.Line(" " + title1);
  out.Line(" Observed by hand");
  out.Line(" Name of input file used: test.inp");
  out.Line(" Number of data used: " + std::to_string(rows.size()));
  out.Line();
  out.Line("The cumulative frequency function is double exponential (Gumbel):");
  out.Line();
  out.Line(" Observed and calculated cumulative frequencies");
  out.Line(dashes);
  out.Line("   X-value   Serial    Cumulative frequency in %     90% conf limit");
  out.Line("   Ranked     No.      Rank      Calc.    St.Dev     Lower    Upper");
  out.Line(dashes);
  for (const BodyRow& r : rows) out.Line(FrequencyTableRow(r, dx));
  out.Line(dashes);
  out.Line(" Average of absolute differences between calculated and");
  out.Line(" observed frequencies :      1.00%");
  out.Line(" Efficiency coefficient (R) of calculated and observed");
  out.Line(" cumulative frequency :     0.9900");
  out.Line();
  out.Line();
  out.Line(" Return period = 1/(1-Cum.Frq), time units as used for the data ");
  return out.Text();
}

// "Temp.tmp": N in I(4), the code in I(3), the shift in E(23), then the two
// parameters of the code (A and B, or the normal-family mean and sigma).
inline std::string FitSummaryText(int n, int code, double shift,
                                  const std::vector<double>& parameters = {}) {
  textio::TextWriter out;
  out.Line(textio::FormatI(n, 4));
  out.Line(textio::FormatI(code, 3));
  out.Line(textio::FormatE23(shift));
  for (double p : parameters) out.Line(textio::FormatE23(p));
  return out.Text();
}

}  // namespace quilmor::testing
