// Results reports laid out line for line as the report writer and the
// assembly write them, built from the rows a test needs: the heading, the
// interval table, the observed/calculated table, the return-period table and
// the section of calculated X-values with the code line.
#pragma once

#include <string>
#include <vector>

#include "textio/number_format.hpp"

namespace quilmor::testing {

struct ObsRow {  // X, serial, rank %, calc %, st.dev, lower, upper
  double x;
  int serial;
  double rank, calc, stdev, lower, upper;
};
struct IntRow {  // lower limit, upper limit, observed %, calculated %
  double lower, upper, observed, calculated;
};
struct RetRow {  // X, serial, Tr, Tc, lower, upper
  double x;
  int serial;
  double tr, tc, lower, upper;
};
struct ConRow {  // observed X, serial, calculated X, lower, upper
  double x;
  int serial;
  double calc, lower, upper;
};

struct ReportContent {
  std::string title1 = "Yearly totals";
  std::string title2 = "station A";
  std::vector<IntRow> intervals;
  std::vector<ObsRow> observed;
  std::vector<RetRow> returns;
  std::vector<ConRow> xconf;
  std::string codeLine = "  4";  // I(3)
};

inline std::string Serial(int serial) {
  return "      " + std::to_string(serial) + (serial < 10 ? "  " : serial < 100 ? " " : "");
}

inline std::string ReportText(const ReportContent& content) {
  using textio::FormatF;
  std::vector<std::string> lines = {
      " RESULTS OF Quilmor PROGRAM",
      " Cumulative frequency analysis",
      "",
      " " + content.title1,
      " " + content.title2,
      " Name of input file used: run.inp",
      " Number of data used: 30",
      "",
      "The cumulative frequency function is double exponential (Gumbel):",
      "",
      "     Freq = exp[-exp{-(A*X+B)}]",
      "     A    = 0.05000",
      "     B    =  -2.500",
      "   Mode   = 50.000",
      " The standard error of X is optimized as    4.73",
      "",
      " Average X:     61     Median X:     58     St.Dev. X:   22.7",
      "",
      ""};
  const std::string dash38 = " " + std::string(38, '-');
  lines.insert(lines.end(),
               {" Interval analysis", dash38, "   Class limits of X    Class frequency",
                "    Lower    Upper      Obs. (%)  Calc.", dash38});
  for (const IntRow& r : content.intervals) {
    lines.push_back(FormatF(r.lower, 8, 1) + FormatF(r.upper, 10, 1) + FormatF(r.observed, 10, 1) +
                    FormatF(r.calculated, 10, 1));
  }
  lines.insert(lines.end(), {dash38, "", ""});

  const std::string dash66 = " " + std::string(66, '-');
  lines.insert(lines.end(),
               {" Observed and calculated cumulative frequencies", dash66,
                "   X-value   Serial    Cumulative frequency in %     90% conf limit",
                "   Ranked     No.      Rank      Calc.    St.Dev     Lower    Upper", dash66});
  for (const ObsRow& r : content.observed) {
    lines.push_back(FormatF(r.x, 8, 2) + Serial(r.serial) + FormatF(r.rank, 10, 2) +
                    FormatF(r.calc, 10, 2) + FormatF(r.stdev, 10, 2) + FormatF(r.lower, 10, 1) +
                    FormatF(r.upper, 10, 1));
  }
  lines.insert(lines.end(), {dash66, " Average of absolute differences between calculated and",
                             " observed frequencies :      1.87%",
                             " Efficiency coefficient (R) of calculated and observed",
                             " cumulative frequency :     0.9953", "", ""});

  const std::string dash62 = " " + std::string(62, '-');
  lines.insert(lines.end(),
               {" Return period = 1/(1-Cum.Frq), time units as used for the data ", dash62,
                "   X-value    Serial      Return period        90% conf limit",
                "   Ranked      No.       Rank       Calc.      Lower    Upper", dash62});
  for (const RetRow& r : content.returns) {
    lines.push_back(FormatF(r.x, 8, 2) + Serial(r.serial) + FormatF(r.tr, 11, 2) +
                    FormatF(r.tc, 11, 2) + FormatF(r.lower, 11, 2) + FormatF(r.upper, 11, 2));
  }
  lines.insert(lines.end(), {dash62, " Average of absolute differences between calculated and",
                             " observed return periods :      0.41"});

  const std::string dash58 = " " + std::string(58, '-');
  lines.insert(lines.end(),
               {"", "", " Confidence limits of calculated X-values", dash58,
                "   Observed            Calculated      90% confidence limit  ",
                "   X-value   Serial    X-Value         of calulated X-Value  ",
                "   Ranked     No.                      Lower        Upper    ", dash58});
  for (const ConRow& r : content.xconf) {
    lines.push_back(FormatF(r.x, 8, 2) + textio::FormatI(r.serial, 8) + FormatF(r.calc, 13, 2) +
                    FormatF(r.lower, 15, 2) + FormatF(r.upper, 15, 2));
  }
  lines.insert(lines.end(), {dash58, " Efficiency coefficient (R) of calculated and observed ",
                             " data values :   0.99412", "", content.codeLine});

  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace quilmor::testing
