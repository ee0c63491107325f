#!/usr/bin/env python3
"""Writes rainfall.out: a results report laid out line for line as the program
writes it, for a Gumbel fit (code 4) of 30 yearly rainfall totals. The numbers
are plausible, not the output of a fit; they only have to be drawn.

Run from this folder: python3 make_sample_report.py
"""
import math

N = 30
A, B = 0.05, -2.5  # Gumbel: Fc = exp(-exp(-(A*X + B)))
Z90 = 1.645


def F(w, d, v):
    return f"{v:{w}.{d}f}"


def gumbel(x):
    return math.exp(-math.exp(-(A * x + B)))


def gumbel_inverse(f):
    return (-math.log(-math.log(f)) - B) / A


# Values: quantiles at the plotting positions with a small wobble.
values = []
for i in range(1, N + 1):
    p = i / (N + 1)
    values.append(round(gumbel_inverse(p) + 3.0 * math.sin(1.7 * i), 1))
values.sort()
serials = [(7 * i) % N + 1 for i in range(N)]

lines = [
    " RESULTS OF Quilmor PROGRAM",
    " Cumulative frequency analysis",
    "",
    " Observed rainfall",
    " data 1990",
    " Name of input file used: rainfall.inp",
    f" Number of data used: {N}",
    "",
    "The cumulative frequency function is double exponential (Gumbel):",
    "",
    "     Freq = exp[-exp{-(A*X+B)}]",
    "     A    =" + F(8, 5, A),
    "     B    =" + F(8, 3, B),
    "   Mode   =" + F(7, 3, -B / A),
    " The standard error of X is optimized as " + F(7, 2, 4.73),
    "",
]
mean = sum(values) / N
median = values[N // 2 - 1]
sd = math.sqrt(sum((v - mean) ** 2 for v in values) / (N - 1))
# Largest value 100 to below 500: D = 0 and DX = 1.
D, DX = 0, 1
lines += [" Average X:" + F(7, D, mean) + "     Median X:" + F(7, D, median)
          + "     St.Dev. X:" + F(7, D + 1, sd), "", ""]

# Interval analysis, K = 5: first row, five classes, last row.
K = 5
width = (values[-1] - values[0]) / K
limits = [values[0] + j * width for j in range(K + 1)]
limits[0] -= 0.0001
limits[K] += 0.0002
counts = [sum(1 for v in values if limits[j] <= v < limits[j + 1]) for j in range(K)]
dash38 = " " + "-" * 38
lines += [" Interval analysis", dash38, "   Class limits of X    Class frequency",
          "    Lower    Upper      Obs. (%)  Calc.", dash38]
lines.append(F(8, D, limits[0] - 0.5 * width) + F(10, D, limits[0]) + F(10, 1, 0.0)
             + F(10, 1, 100 * gumbel(limits[0])))
for j in range(K):
    lines.append(F(8, D, limits[j]) + F(10, D, limits[j + 1]) + F(10, 1, 100 * counts[j] / N)
                 + F(10, 1, 100 * (gumbel(limits[j + 1]) - gumbel(limits[j]))))
lines.append(F(8, D, limits[K]) + F(10, D, limits[K] + 1.5 * width)
             + F(10, 1, 100 * (N - sum(counts)) / N) + F(10, 1, 100 * (1 - gumbel(limits[K]))))
lines += [dash38, "", ""]

# Observed and calculated cumulative frequencies.
dash66 = " " + "-" * 66
lines += [" Observed and calculated cumulative frequencies", dash66,
          "   X-value   Serial    Cumulative frequency in %     90% conf limit",
          "   Ranked     No.      Rank      Calc.    St.Dev     Lower    Upper", dash66]
# Confidence values as the post-fit step computes them.
rows = []
previous_lower = 0.001
for i, x in enumerate(values, start=1):
    rank = min(100 * i / (N + 1), 99.99)
    calc = 100 * gumbel(x)
    if calc <= 0:
        calc = rank / 2
    calc = min(calc, 99.99)
    f = calc / 100
    stdev = 100 * math.sqrt(f * (1 - f) / N)
    lower = calc - 3.4 * stdev * f
    if lower <= 0:
        lower = 0.0001
    lower = min(max(lower, previous_lower), 99.99)
    previous_lower = lower
    upper = min(calc + 3.4 * stdev * (1 - f), 99.99)
    if 1.00001 * calc >= upper:
        upper = 99.99
    serial = serials[i - 1]
    rows.append((x, serial, rank, calc, stdev, lower, upper))
    gap = "  " if serial < 10 else (" " if serial < 100 else "")
    lines.append(F(8, DX, x) + "      " + str(serial) + gap + F(10, DX, rank) + F(10, DX, calc)
                 + F(10, 2, stdev) + F(10, 1, lower) + F(10, 1, upper))
lines += [dash66, " Average of absolute differences between calculated and",
          " observed frequencies :" + F(10, 2, 1.87) + "%",
          " Efficiency coefficient (R) of calculated and observed",
          " cumulative frequency :" + F(11, 4, 0.9953), "", ""]

# Return periods.
dash62 = " " + "-" * 62
lines += [" Return period = 1/(1-Cum.Frq), time units as used for the data ", dash62,
          "   X-value    Serial      Return period        90% conf limit",
          "   Ranked      No.       Rank       Calc.      Lower    Upper", dash62]
previous_tc, previous_l = 1000.0, 0.001
for i, (x, serial, rank, calc, stdev, lower, upper) in enumerate(rows, start=1):
    fr = i / (N + 1)
    f = gumbel(x)
    if f <= 0:
        f = fr / 2
    f = min(f, 0.9999)
    s = math.sqrt(f * (1 - f) / N)
    tr = 1 / (1 - fr)
    tc = 1 / (1 - f)
    if tc >= 3 * previous_tc:
        tc = 3 * previous_tc
    previous_tc = tc
    low = f - 3.4 * s * f
    if low <= 0:
        low = 0.001
    low = min(max(low, previous_l), 2 * previous_l)
    previous_l = low
    up = min(f + 3.4 * s * (1 - f), 0.9999)
    tl, tu = 1 / (1 - low), 1 / (1 - up)
    if tu <= tc:
        tu = 1.01 * tc
    d = 2 if f < 0.5 else (1 if f < 0.99 and up < 0.99 else 0)
    gap = "  " if serial < 10 else (" " if serial < 100 else "")
    lines.append(F(8, DX, x) + "      " + str(serial) + gap + F(11, d, tr) + F(11, d, tc)
                 + F(11, d, tl) + F(11, d, tu))
lines += [dash62, " Average of absolute differences between calculated and",
          " observed return periods :" + F(10, 2, 0.41)]

# Confidence limits of calculated X-values.
dash58 = " " + "-" * 58
lines += ["", "", " Confidence limits of calculated X-values", dash58,
          "   Observed            Calculated      90% confidence limit  ",
          "   X-value   Serial    X-Value         of calulated X-Value  ",
          "   Ranked     No.                      Lower        Upper    ", dash58]
for x, serial, rank, calc, stdev, lower, upper in rows:
    f = rank / 100
    s = math.sqrt(f * (1 - f) / N)
    cx = gumbel_inverse(f)
    lx = gumbel_inverse(max(f - Z90 * s, 0.001))
    ux = gumbel_inverse(min(f + Z90 * s, 0.999))
    lines.append(F(8, DX, x) + f"{serial:8d}" + F(13, DX, cx) + F(15, DX, lx) + F(15, DX, ux))
lines += [dash58, " Efficiency coefficient (R) of calculated and observed ",
          " data values :" + F(10, 5, 0.99412), "", f"{4:3d}"]

with open("rainfall.out", "wb") as out:
    out.write(("\r\n".join(lines) + "\r\n").encode("latin-1"))
