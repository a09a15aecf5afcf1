#!/usr/bin/python3 -B
"""Differential test of Quillon's analyses against SciPy.

Random data sets are run through the core (tests/differential/differential_driver, one process
per analysis) and through SciPy; the four-decimal texts the window shows must equal SciPy's values
rounded the way the window rounds (the value as a double, its 15 significant digits, then four
decimals with halves away from zero), and each verdict must be the one the t table gives for
SciPy's statistic.

    differential_test.py DRIVER T_TABLE ANALYSIS

The results report's exact figures (its P values and Welch's degrees of freedom), which the
driver prints in full, must agree with SciPy's from the same inputs to 1e-10 relative; see
reference_p.py. The effect sizes and absolute effects the driver appends (d, g, dz, RD, NNT,
the paired difference, the matched odds ratio, the mid-P) are checked against R, statsmodels and
SciPy; see reference_effects.py.

ANALYSIS is two-sample, summary, paired, correlation, fourfold, mcnemar, assumptions (the
checks of the sample analyses' assumptions against R and SciPy: see reference_assumptions.py,
600 data sets by default), sample-size (the planned sample sizes and powers of the five designs
against R, statsmodels and the published formulas: see reference_power.py, 6,000 plans by
default, over 1,000 of each design), ranks (the rank tests against R and SciPy: see
reference_ranks.py, 3,300 data sets by default, over 1,000 of each test) or margin (the tests
against a margin of the two-sample, paired and four-fold reports against statsmodels and SciPy:
see reference_margin.py, 3,000 data sets by default). The seed is printed and
is the same every run; set QUILLON_DIFF_SEED to replay another run ("random" for a new one), QUILLON_DIFF_CASE to run only one data set of it,
QUILLON_DIFF_COUNT for another number of data sets (1000 by default) and QUILLON_DIFF_SHOWN for
how many failures are printed in full (5).

The two-sample t test on typed samples runs on the summaries the window shows, that is the means
and standard deviations rounded to four decimals: its t is compared with ttest_ind_from_stats on
those shown summaries, the summaries themselves with NumPy's mean and std(ddof=1), and
ttest_ind on the raw values must lie within the range of t that the rounding of the summaries
allows.

SciPy works in binary floating point, where values such as 10000000.1234 are not exact; the
program works on exact decimal values. So each data set is handed to SciPy less an offset that
is subtracted exactly in decimal. Every statistic compared is unchanged by that shift, but for
the intercept, which is shifted back exactly.

A tie case is a value whose text SciPy cannot decide: a four-decimal rounding boundary
(x.xxxx5) or a critical value lies within SciPy's own rounding error of its value (a billionth of
the value, more where it comes out of cancellation: the intercept, and t of a nearly perfect
correlation, whose exact value is then checked too). The program's text must then be one of
those within reach; such cases are reported and counted, not failed. Any other difference fails.
"""

import collections
import math
import os
import random
import subprocess
import sys
import time
import warnings
from decimal import Decimal, localcontext
from fractions import Fraction

import numpy as np
from scipy import stats

import reference_effects
import reference_assumptions as assumptions
import reference_margin
import reference_power
import reference_rscript
import reference_ranks as ranks
from reference_p import (TALLY, check_p, check_two_sample_p, correlation_p, fourfold_p, mcnemar_p,
                         paired_p)
from reference_texts import (RELATIVE_TOLERANCE, WARNING, Checker, Failure, Report, TTable,
                             centred_sums, chi_square_level, held_to_four_decimals, shown)

DEFAULT_COUNT = 1000
# The assumption checks take larger samples, up to 5,000 values, and R: fewer data sets.
DEFAULT_COUNTS = {"assumptions": 600, "sample-size": 6000, "ranks": 3300, "margin": 3000,
                  "r-script": 800}
DEFAULT_SEED = 20261207


# ---- Random data ----

def decimal_text(value, rng):
    """The text a user might type for a value: now and then ".5" for "0.5"."""
    text = f"{value:f}"
    if rng.random() < 0.1:
        if text.startswith("0."):
            text = text[1:]
        elif text.startswith("-0."):
            text = "-" + text[2:]
    return text


def random_size(rng, low=2, high=2000):
    pick = rng.random()
    if pick < 0.05:
        return low
    if pick < 0.08:
        return high
    if pick < 0.11:
        # Around the table rows for 40 and 1000 degrees of freedom and the infinite row.
        return min(high, max(low, rng.choice((41, 42, 43, 1000, 1001, 1002, 1003))))
    return int(round(math.exp(rng.uniform(math.log(low), math.log(high)))))


def random_offset(rng):
    pick = rng.random()
    if pick < 0.45:
        return Decimal(0)
    if pick < 0.65:
        return Decimal(rng.choice((10_000_000, -10_000_000, 10_000_000)))
    if pick < 0.75:
        return Decimal(rng.randint(-10**8, 10**8)).scaleb(-4)
    return Decimal(rng.randint(-10**6, 10**6)).scaleb(-rng.randint(0, 4))


class ValueStyle:
    """How the values of one column are drawn: offset, spread, decimals and ties."""

    def __init__(self, rng, offset=None):
        self.offset = random_offset(rng) if offset is None else offset
        self.spread = 10 ** rng.uniform(-3, 4)
        self.decimals = rng.choice((0, 1, 2, 3, 4, 4))
        if self.spread < 10 ** -self.decimals and rng.random() < 0.9:
            # Mostly a spread the decimals can show; now and then heavy ties.
            self.spread = 10 ** (rng.uniform(0, 2) - self.decimals)
        pick = rng.random()
        self.pool = None
        if pick < 0.02:
            self.pool = [self.fresh(rng)]  # all values equal
        elif pick < 0.25:
            self.pool = [self.fresh(rng) for _ in range(rng.randint(2, 6))]

    def rounded(self, value):
        return Decimal(round(value * 10 ** self.decimals)).scaleb(-self.decimals)

    def fresh(self, rng, centre=0.0):
        return self.offset + self.rounded(centre + rng.gauss(0, self.spread))

    def draw(self, rng, centre=0.0):
        return rng.choice(self.pool) if self.pool else self.fresh(rng, centre)


def with_gaps(rng, texts):
    """The column as grid cells: now and then empty cells between the values."""
    if rng.random() < 0.8:
        return texts
    share = rng.uniform(0, 0.3)
    cells = []
    for text in texts:
        while rng.random() < share:
            cells.append("_")
        cells.append(text)
    return cells


def floats(values, offset):
    return np.array([float(value - offset) for value in values])


# ---- The analyses ----
# Each has make(rng) -> (input line, data) and check(data, fields, checker, table).

def make_two_sample(rng, high=2000):
    one = ValueStyle(rng)
    two = ValueStyle(rng, offset=one.offset)
    two.spread = one.spread * 10 ** rng.uniform(-0.5, 0.5)
    shift = rng.uniform(-3, 3) * one.spread
    xs = [one.draw(rng) for _ in range(random_size(rng, high=high))]
    ys = [two.draw(rng, shift) for _ in range(random_size(rng, high=high))]
    line = " ".join(with_gaps(rng, [decimal_text(x, rng) for x in xs])) + " | " + \
        " ".join(with_gaps(rng, [decimal_text(y, rng) for y in ys]))
    return line, (xs, ys, one.offset)


def t_range_of_rounded_summaries(boxes):
    """The least and greatest pooled t over summaries within rounding of the shown ones: the mean
    difference within 0.0001, each standard deviation within 0.00005 (t grows with the difference
    and falls as a deviation grows)."""
    m1, s1, n1, m2, s2, n2 = boxes
    half = 0.50001e-4

    def t(difference, d1, d2):
        pooled = (d1 * d1 * (n1 - 1) + d2 * d2 * (n2 - 1)) / (n1 + n2 - 2)
        error = math.sqrt((1 / n1 + 1 / n2) * pooled)
        return difference / error if error > 0 else math.inf

    difference = abs(m1 - m2)
    low = t(max(0.0, difference - 2 * half), s1 + half, s2 + half)
    high = t(difference + 2 * half, max(0.0, s1 - half), max(0.0, s2 - half))
    return low, high


def fixed_text(value, decimals):
    """value with the decimals, halves away from zero; None near a half, where the double and
    its decimal may round apart."""
    scaled = abs(value) * 10 ** decimals
    if abs(scaled - math.floor(scaled) - 0.5) < 1e-6 + 1e-12 * scaled:
        return None
    text = f"{abs(value):.{decimals}f}"
    return ("-" + text) if value < 0 and float(text) != 0 else text


def check_paper_table(data, fields, paper):
    """The paper's x̄±s of group 1 (one decimal more than the data) against NumPy, and its t
    (two decimals) against SciPy's: Welch's on the values where the report chose it, else the
    pooled t of the shown summaries."""
    xs, ys, offset = data
    if not paper[0]:
        return
    decimals = min(4, 1 + max(abs(Decimal(v).as_tuple().exponent) if Decimal(v).as_tuple().exponent < 0 else 0
                              for v in list(xs) + list(ys)))
    shifted = floats(xs, offset)
    mean = float(offset) + float(np.mean(shifted))
    sd = float(np.std(shifted, ddof=1)) if len(xs) > 1 else 0.0
    expected_mean, expected_sd = fixed_text(mean, decimals), fixed_text(sd, decimals)
    if expected_mean is not None and expected_sd is not None and abs(mean) < 1e9:
        if paper[1] != f"{expected_mean}±{expected_sd}":
            raise Failure(f"paper table x̄±s {paper[1]!r}, NumPy {expected_mean}±{expected_sd}")
    boxes = [Decimal(text) for text in fields[:6]]
    with warnings.catch_warnings():
        warnings.simplefilter("ignore", RuntimeWarning)
        if paper[0] == "t′":
            t = float(stats.ttest_ind(floats(xs, offset), floats(ys, offset),
                                      equal_var=False).statistic)
        else:
            t = float(stats.ttest_ind_from_stats(float(boxes[0] - offset), float(boxes[1]),
                                                 float(boxes[2]), float(boxes[3] - offset),
                                                 float(boxes[4]), float(boxes[5]),
                                                 equal_var=True).statistic)
    expected = fixed_text(t, 2) if math.isfinite(t) else None
    if expected is not None and paper[2] != expected and abs(t) < 1e6 and abs(offset) < 1e9:
        raise Failure(f"paper table {paper[0]} {paper[2]!r}, SciPy {t!r}")


def check_two_sample(data, fields, checker, table):
    xs, ys, offset = data
    boxes = fields[:6]
    c05, c01, c001, line = fields[6:10]
    for name, values, (mean_text, sd_text, count_text) in (("group 1", xs, boxes[0:3]),
                                                           ("group 2", ys, boxes[3:6])):
        shifted = floats(values, offset)
        checker.text(name + " N", count_text, str(len(values)))
        mean = offset + Decimal(float(np.mean(shifted)))
        checker.number(name + " mean", mean_text, mean, RELATIVE_TOLERANCE * float(abs(offset)))
        checker.number(name + " SD", sd_text, float(np.std(shifted, ddof=1)))

    # The test runs on the summaries as the boxes show them.
    m1, s1, n1, m2, s2, n2 = (Decimal(text) for text in boxes)
    # The pooled P from the summaries, the F test and Welch's test from the values.
    check_two_sample_p(fields[10:14], (m1, s1, n1, m2, s2, n2), (xs, ys))
    if s1 == 0 and s2 == 0:
        checker.text("verdict line (both SD 0)", "\t".join(fields[6:10]), "\t\t\t")
        return "no spread within the groups"
    result = stats.ttest_ind_from_stats(float(m1 - offset), float(s1), float(n1),
                                        float(m2 - offset), float(s2), float(n2),
                                        equal_var=True)
    t_summary = abs(float(result.statistic))
    critical = checker.t_line("summaries", line, t_summary, n1 + n2 - 2, table)
    checker.text("critical values", (c05, c01, c001), critical)

    # On the raw values the pooled t differs from the one of the rounded summaries, but by no
    # more than the rounding of the shown means and deviations can make.
    with warnings.catch_warnings():
        # Nearly equal values make SciPy warn of cancellation; its t is still what it is.
        warnings.simplefilter("ignore", RuntimeWarning)
        t_raw = abs(float(stats.ttest_ind(floats(xs, offset), floats(ys, offset),
                                          equal_var=True).statistic))
    low, high = t_range_of_rounded_summaries(
        [float(m1 - offset), float(s1), float(n1), float(m2 - offset), float(s2), float(n2)])
    slack = RELATIVE_TOLERANCE * max(1.0, t_raw)
    if not (low - slack <= t_raw <= high + slack):
        raise Failure(f"ttest_ind on the raw values gives {t_raw!r}, outside [{low!r}, {high!r}],"
                      f" the range the rounding of the shown summaries allows")
    return "t test"


def make_summary(rng):
    offset = random_offset(rng)
    spread = 10 ** rng.uniform(-3, 4)
    decimals = rng.choice((0, 1, 2, 3, 4))

    def number(value):
        return Decimal(round(value * 10 ** decimals)).scaleb(-decimals)

    def count():
        n = Decimal(random_size(rng, 1))
        return n + Decimal("0.5") if rng.random() < 0.05 else n

    m1 = offset + number(rng.gauss(0, spread))
    m2 = m1 + number(rng.uniform(-3, 3) * spread)
    def deviation():
        unit = Decimal(1).scaleb(-decimals)
        return max(unit, abs(number(spread * 10 ** rng.uniform(-0.5, 0.5))))

    s1 = deviation()
    s2 = Decimal(0) if rng.random() < 0.03 else deviation()
    boxes = [m1, s1, count(), m2, s2, count()]
    return " ".join(decimal_text(value, rng) for value in boxes), (boxes, offset)


def check_summary(data, fields, checker, table):
    (m1, s1, n1, m2, s2, n2), offset = data
    line = fields[3]
    check_two_sample_p(fields[4:8], (m1, s1, n1, m2, s2, n2))
    df = n1 + n2 - 2
    # Without any spread within the groups the standard error is 0 and there is no test.
    no_spread = s1 * (n1 - 1) == 0 and s2 * (n2 - 1) == 0
    if df <= 0 or no_spread or table.row(df) is None:
        checker.text("verdict line (no test)", "\t".join(fields[:4]), "\t\t\t")
        return "no test"
    result = stats.ttest_ind_from_stats(float(m1 - offset), float(s1), float(n1),
                                        float(m2 - offset), float(s2), float(n2),
                                        equal_var=True)
    critical = checker.t_line("summaries", line, abs(float(result.statistic)), df, table)
    checker.text("critical values", tuple(fields[:3]), critical)
    return "t test"


def make_pairs(rng, correlated, high=2000):
    first = ValueStyle(rng)
    second = ValueStyle(rng, offset=None if correlated else first.offset)
    shift = rng.uniform(-2, 2) * second.spread
    n = random_size(rng, 3 if correlated and rng.random() > 0.02 else 2, high)
    slope = 0.0
    if correlated:
        slope = rng.choice((0.0, 1.0, -1.0)) if rng.random() < 0.1 else \
            rng.choice((1, -1)) * 10 ** rng.uniform(-3, 3)
        if slope and rng.random() < 0.8:
            # Noise from a hundred thousandth of the line's spread to ten times it.
            second.spread = abs(slope) * first.spread * 10 ** rng.uniform(-5, 1)
    exact_line = correlated and rng.random() < 0.05
    if exact_line:
        # Y = c + k·X with X and k together at most four decimals: r is exactly ±1.
        first.pool = None
        first.decimals = rng.randint(0, 2)
        k = Decimal(rng.choice((1, -1)) * rng.randint(1, 300)).scaleb(-rng.randint(0, 2))
    rows = []
    for _ in range(n):
        x = first.draw(rng)
        if exact_line:
            y = second.offset + k * (x - first.offset)
        elif correlated:
            y = second.draw(rng, slope * float(x - first.offset))
        else:
            y = second.draw(rng, float(x - first.offset) + shift)
        rows.append((x, y))
    cells = []
    for x, y in rows:
        while rng.random() < 0.03:
            # A row with only one of its values is no pair.
            lone = decimal_text(first.draw(rng), rng)
            cells.append((lone, "_") if rng.random() < 0.5 else ("_", lone))
        cells.append((decimal_text(x, rng), decimal_text(y, rng)))
    line = " ".join(c[0] for c in cells) + " | " + " ".join(c[1] for c in cells)
    return line, (rows, first.offset, second.offset)


def check_paired(data, fields, checker, table):
    rows, offset, _ = data
    n_text, mean_text, sd_text, c05, c01, c001, line = fields[:7]
    check_p("report p", fields[7], paired_p(rows))
    differences = [x - y for x, y in rows]
    if len(rows) < 2 or len(set(differences)) == 1:
        checker.text("results (no test)", "\t".join(fields[:7]), "\t" * 6)
        return "fewer than 2 pairs or all differences equal"
    checker.text("n", n_text, str(len(rows)))
    d = np.array([float(value) for value in differences])
    checker.number("mean difference", mean_text, abs(float(np.mean(d))))
    checker.number("Sd", sd_text, float(np.std(d, ddof=1)))
    xs = np.array([float(x - offset) for x, _ in rows])
    ys = np.array([float(y - offset) for _, y in rows])
    t = abs(float(stats.ttest_rel(xs, ys).statistic))
    critical = checker.t_line("paired", line, t, Decimal(len(rows) - 1), table)
    checker.text("critical values", (c05, c01, c001), critical)
    return "t test"


def exact_intercept_text(n, sum_x, sum_y, sxx, sxy):
    """The intercept (Σy − b·Σx)/n as shown, from the exact sums (in ten-thousandths): held to
    four decimals (halves to even), then shown like any value."""
    intercept = Fraction(sum_y * sxx - sum_x * sxy, n * sxx)  # in ten-thousandths
    return shown(Decimal(round(intercept)).scaleb(-4))


def exact_t_text(n, sxx, syy, sxy):
    """t = |Sxy|·√((n − 2)/(Sxx·Syy − Sxy²)) from the exact sums, as shown."""
    squared = Fraction(n - 2) * Fraction(sxy) ** 2 / Fraction(sxx * syy - sxy * sxy)
    with localcontext() as context:
        context.prec = 60
        return shown((Decimal(squared.numerator) / Decimal(squared.denominator)).sqrt())


def check_correlation(data, fields, checker, table):
    rows, x_offset, y_offset = data
    n_text, r_text, t_text, c05, c01, c001, verdict, equation = fields[:8]
    n = len(rows)
    if n <= 2:
        checker.text("results (n <= 2)", "\t".join(fields[:8]), "\t" * 7)
        check_p("report p", fields[8], None)
        return "n <= 2"
    checker.text("n", n_text, str(n))
    # Exact centred sums, n·Σx² − (Σx)² and so on, in whole ten-thousandths: they decide the
    # degenerate cases and give the exact values where SciPy's cannot decide a text.
    raw, sum_x, sum_y, sxx, syy, sxy = centred_sums(rows)
    check_p("report p", fields[8], correlation_p(n, sxx, syy, sxy))
    if sxx == 0:
        checker.text("results (all X equal)", "\t".join(fields[1:8]), "\t" * 6)
        return "all X equal"
    xs = np.array([float(x - x_offset) for x, _ in rows])
    ys = np.array([float(y - y_offset) for _, y in rows])
    fit = stats.linregress(xs, ys)
    slope = float(fit.slope)
    intercept = Decimal(float(fit.intercept)) + y_offset - Decimal(slope) * x_offset
    if not equation.startswith("Y=") or not equation.endswith("X"):
        raise Failure(f"equation: malformed {equation!r}")
    body = equation[2:-1]
    split = max(body.rfind("+"), body.rfind("-"))
    # The intercept is what is left of the offsets and of slope times the mean of X; SciPy's
    # slope carries an error near its rounding, in proportion to the spread of Y over that of X.
    slope_reach = abs(slope) + math.sqrt(float(syy) / float(sxx)) if sxx else 0.0
    checker.number("intercept", body[:split], intercept,
                   1e-12 * (float(abs(y_offset)) + slope_reach * float(abs(x_offset) + 1)),
                   exact=exact_intercept_text(n, sum_x, sum_y, sxx, sxy))
    slope_text = body[split:]
    if slope_text.startswith("+"):
        slope_text = slope_text[1:]
    checker.number("slope", slope_text, slope)
    if syy == 0:
        checker.text("results (all Y equal)", "\t".join(fields[1:7]), "\t" * 5)
        return "all Y equal"
    critical = table.row(Decimal(n - 2))
    checker.text("critical values", (c05, c01, c001), critical)
    r = float(stats.pearsonr(xs, ys)[0])
    if sxx * syy == sxy * sxy:
        words = "完全正相关" if sxy > 0 else "完全负相关"
        checker.number("r (perfect)", r_text, r)
        checker.text("t and verdict (perfect)", (t_text, verdict), ("", words))
        return "r exactly 1 or -1"
    checker.number("r", r_text, r)
    # t = |r|·√((n − 2)/(1 − r²)) is the t of the slope, b / SE(b). Taken from r, SciPy's
    # rounding error of r is magnified by 1/(1 − r²); taken from the residuals of SciPy's fit it
    # is not, so that is the reference.
    residuals = ys - (fit.intercept + slope * xs)
    residual_sum = float(np.dot(residuals, residuals))
    centred_x = float(np.sum((xs - np.mean(xs)) ** 2))
    t = abs(slope) / math.sqrt(residual_sum / ((n - 2) * centred_x))
    # Each residual is computed with an error near the rounding of the values it is taken from.
    spread = math.sqrt(residual_sum / n)
    uncertainty = t * 4 * np.finfo(float).eps * float(np.max(np.abs(ys))) / spread
    checker.number("t", t_text, t, uncertainty, exact=exact_t_text(n, sxx, syy, sxy))
    checker.verdict("verdict", verdict, t, critical, uncertainty)
    return "r and t"


def random_count(rng, mean):
    return max(0, int(round(rng.gauss(mean, math.sqrt(mean) + 0.5))))


def make_counts(rng):
    """Four cells of counts: small and large tables, zeros and empty cells among them."""
    # Now and then close to n = 40, where the four-fold test stops warning.
    total = rng.uniform(36, 44) if rng.random() < 0.1 else math.exp(rng.uniform(0, math.log(20000)))
    row = rng.uniform(0.05, 0.95)
    column = rng.uniform(0.05, 0.95)
    association = rng.uniform(-1, 1) * min(row, 1 - row, column, 1 - column) * rng.random()
    shares = (row * column + association, row * (1 - column) - association,
              (1 - row) * column - association, (1 - row) * (1 - column) + association)
    cells = [random_count(rng, max(0.0, share) * total) for share in shares]
    if rng.random() < 0.1:
        # b + c close to 40, where the paired test drops its continuity correction.
        discordant = rng.randint(36, 44)
        cells[1] = rng.randint(0, discordant)
        cells[2] = discordant - cells[1]
    if rng.random() < 0.05:
        cells[rng.randrange(4)] = 0
    texts = [str(cell) for cell in cells]
    for i in range(4):
        if rng.random() < 0.02:
            texts[i], cells[i] = "_", 0  # an empty cell counts as 0
    return " ".join(texts), cells


def check_fourfold(cells, fields, checker, table):
    a, b, c, d = cells
    margins, total = fields[0:4], fields[4]
    expected_texts, n_text, chi_text, verdict = fields[5:9], fields[9], fields[10], fields[11]
    for field, text, reference in zip(("chi-square P", "corrected P", "Fisher P"), fields[12:15],
                                      fourfold_p(a, b, c, d)):
        check_p("report " + field, text, reference)
    n = a + b + c + d
    checker.text("margins", (tuple(margins), total),
                 (tuple(str(m) for m in (a + c, b + d, a + b, c + d)), str(n)))
    checker.text("n", n_text, str(n))
    if n == 0:
        checker.text("results (n = 0)", (tuple(expected_texts), chi_text, verdict),
                     (("", "", "", "0.0000"), "", WARNING))
        return "empty table"
    observed = np.array([[a, b], [c, d]], dtype=float)
    expected = stats.contingency.expected_freq(observed).flatten()
    for i, name in enumerate("abc"):
        checker.number(f"T of {name}", expected_texts[i], float(expected[i]))
    checker.number("T of d", expected_texts[3], float(expected[3]), text_of=held_to_four_decimals)
    # The choice of formula and the warning look at T of d as held to four decimals.
    held = [float(t) for t in expected[:3]] + [float(held_to_four_decimals(expected[3]))]
    corrected = min(held) < 5
    warned = n < 40 or min(held) < 1
    if 0 in (a + b, c + d, a + c, b + d):
        checker.text("chi-square and verdict (a total is 0)", (chi_text, verdict),
                     ("", WARNING if warned else ""))
        return "a row or column total 0"
    difference = abs(a * d - b * c)
    if corrected and 2 * difference < n:
        # SciPy's continuity correction never takes more than the difference itself (it gives
        # 0 here); the program squares the corrected difference as it stands. So the reference
        # is the formula n (|ad − bc| − n/2)² / D itself, in exact fractions.
        margins_product = (a + b) * (c + d) * (a + c) * (b + d)
        reference = float(Fraction(n) * (Fraction(difference) - Fraction(n, 2)) ** 2 /
                          margins_product)
        kind = "corrected, difference below n/2"
    else:
        reference = float(stats.chi2_contingency(observed, correction=corrected).statistic)
        kind = "corrected" if corrected else "plain"
    checker.number("chi-square", chi_text, reference)
    checker.text("verdict", verdict, WARNING if warned else chi_square_level(chi_text))
    return kind


def check_mcnemar(cells, fields, checker, table):
    a, b, c, d = cells
    n_text, chi_text, verdict = fields[:3]
    for field, text, reference in zip(("chi-square P", "exact P"), fields[3:5], mcnemar_p(b, c)):
        check_p("report " + field, text, reference)
    checker.text("n", n_text, str(a + b + c + d))
    if b + c == 0:
        checker.text("results (b + c = 0)", (chi_text, verdict), ("", ""))
        return "b + c = 0"
    if b + c >= 40:
        observed, kind = [b, c], "plain"
    else:
        # The continuity correction moves b and c half a count towards each other, so that
        # their difference is |b − c| − 1 (−1 when b = c: the program squares it as it stands).
        towards = 0.5 if b >= c else -0.5
        observed, kind = [b - towards, c + towards], "corrected"
    # McNemar's statistic is the chi-square of b and c against their mean.
    reference = float(stats.chisquare(observed).statistic)
    checker.number("chi-square", chi_text, reference)
    checker.text("verdict", verdict, chi_square_level(chi_text))
    return kind


def make_assumptions(rng):
    """A data set of one of the sample analyses, with up to 5,000 values a column (the largest
    sample the Shapiro–Wilk test takes) and now and then more."""
    kind = rng.choice(("two-sample", "paired", "correlation"))
    high = 5000 if rng.random() < 0.9 else 5100
    if kind == "two-sample":
        line, data = make_two_sample(rng, high)
    else:
        line, data = make_pairs(rng, kind == "correlation", high)
    return f"{kind} {line}", (kind, data)


def check_assumptions(data, fields, checker, table):
    kind, values = data
    case = checker.report.case
    if kind == "two-sample":
        xs, ys, offset = values
        assumptions.check_groups(case, xs, ys, offset, fields)
    elif kind == "paired":
        assumptions.check_differences(case, values[0], fields)
    else:
        assumptions.check_residuals(case, values[0], fields)
    return kind


def make_ranks(rng):
    """A data set of one of the rank tests, 1 to 200 values a column: the generators above
    give ties (pools of few values, few decimals); now and then equal groups, a group of one
    value, or paired differences that are zero."""
    kind = rng.choice(("two-sample", "paired", "spearman"))
    if kind == "two-sample":
        _, (xs, ys, offset) = make_two_sample(rng, 200)
        pick = rng.random()
        if pick < 0.05:
            ys = list(xs)
        elif pick < 0.08:
            xs = xs[:1]
        line = " ".join(with_gaps(rng, [decimal_text(x, rng) for x in xs])) + " | " + \
            " ".join(with_gaps(rng, [decimal_text(y, rng) for y in ys]))
        return f"{kind} {line}", (kind, (xs, ys, offset))
    _, (rows, first_offset, second_offset) = make_pairs(rng, kind == "spearman", 200)
    if kind == "paired" and rng.random() < 0.3:
        share = 1.0 if rng.random() < 0.05 else rng.random()
        rows = [(x, x) if rng.random() < share else (x, y) for x, y in rows]
    line = " ".join(decimal_text(x, rng) for x, _ in rows) + " | " + \
        " ".join(decimal_text(y, rng) for _, y in rows)
    return f"{kind} {line}", (kind, (rows, first_offset, second_offset))


def check_ranks(data, fields, checker, table):
    kind, values = data
    ranks.note(checker.report.case, kind, values, fields)
    return kind


ANALYSES = {
    "two-sample": (make_two_sample, check_two_sample),
    "summary": (make_summary, check_summary),
    "paired": (lambda rng: make_pairs(rng, False), check_paired),
    "correlation": (lambda rng: make_pairs(rng, True), check_correlation),
    "fourfold": (make_counts, check_fourfold),
    "mcnemar": (make_counts, check_mcnemar),
    "assumptions": (make_assumptions, check_assumptions),
    "sample-size": (reference_power.make,
                    lambda data, fields, checker, table:
                    reference_power.check(checker.report.case, data, fields)),
    "ranks": (make_ranks, check_ranks),
    "margin": (lambda rng: reference_margin.make(rng, {
        "two-sample": lambda r: make_two_sample(r, 200), "summary": make_summary,
        "paired": lambda r: make_pairs(r, False, 200), "fourfold": make_counts}),
               lambda data, fields, checker, table:
               reference_margin.check(checker.report.case, data, fields)),
}
# Checks compared once every data set of the run is known (R runs once for all).
FINISH = {"assumptions": assumptions.finish, "sample-size": reference_power.finish,
          "ranks": ranks.finish}


# The report's R script of each analysis, on smaller data sets (R runs every script).
R_SCRIPT_MAKERS = {
    "two-sample": lambda rng: make_two_sample(rng, high=200),
    "summary": make_summary,
    "paired": lambda rng: make_pairs(rng, False, high=200),
    "methods": lambda rng: make_pairs(rng, False, high=200),
    "correlation": lambda rng: make_pairs(rng, True, high=200),
    "fourfold": make_counts,
    "mcnemar": make_counts,
    "plan": lambda rng: reference_power.make(rng),
    "margin": lambda rng: reference_margin.make(rng, {
        "two-sample": lambda r: make_two_sample(r, high=200), "summary": make_summary,
        "paired": lambda r: make_pairs(r, False, high=200), "fourfold": make_counts}),
}


def run_r_scripts(driver, seed, cases):
    """The r-script analysis: see reference_rscript.py."""
    started = time.monotonic()
    lines = [reference_rscript.make(random.Random(f"{seed}:r-script:{case}"), R_SCRIPT_MAKERS)
             for case in cases]
    failures = 0

    def failed(k, text):
        nonlocal failures
        failures += 1
        if failures <= int(os.environ.get("QUILLON_DIFF_SHOWN", 5)):
            print(f"FAIL r-script data set {cases[k]} (QUILLON_DIFF_SEED={seed} "
                  f"QUILLON_DIFF_CASE={cases[k]}): {text}\n  input: {lines[k][:300]}")

    ties = []
    rows = reference_rscript.run(driver, lines, failed, ties)
    for tie in ties:
        print("tie case:", tie)
    print(f"r-script: {len(lines)} data sets, {rows} report rows, {failures} failures, "
          f"{len(ties)} tie cases, "
          f"{time.monotonic() - started:.1f} s")
    return 1 if failures else 0


def main():
    if len(sys.argv) != 4 or sys.argv[3] not in list(ANALYSES) + ["r-script"]:
        sys.exit(__doc__)
    driver, table_path, analysis = sys.argv[1:]
    make, check = ANALYSES.get(analysis, (None, None))
    table = TTable(table_path)
    # The same seed every run unless one is given; "random" explores a new one.
    seed_text = os.environ.get("QUILLON_DIFF_SEED", str(DEFAULT_SEED))
    seed = random.SystemRandom().randrange(2**32) if seed_text == "random" else int(seed_text)
    count = int(os.environ.get("QUILLON_DIFF_COUNT", DEFAULT_COUNTS.get(analysis, DEFAULT_COUNT)))
    only = os.environ.get("QUILLON_DIFF_CASE")
    cases = [int(only)] if only is not None else range(count)
    print(f"{analysis}: seed {seed} (replay with QUILLON_DIFF_SEED={seed})", flush=True)
    if analysis == "r-script":
        sys.exit(run_r_scripts(driver, seed, cases))

    started = time.monotonic()
    data_sets = []
    for case in cases:
        # Each data set has a generator of its own, so that one of them can be replayed alone.
        rng = random.Random(f"{seed}:{analysis}:{case}")
        data_sets.append((case,) + make(rng))
    run = subprocess.run([driver, analysis], input="".join(line + "\n" for _, line, _ in data_sets),
                         capture_output=True, text=True, check=True)
    outputs = run.stdout.split("\n")[:-1]
    if len(outputs) != len(data_sets):
        sys.exit(f"the driver answered {len(outputs)} lines for {len(data_sets)} data sets")

    report = Report()
    checker = Checker(report)
    failures = 0
    kinds = collections.Counter()
    effects = reference_effects.prepare(
        analysis, [(data, output.split("\t")) for (_, _, data), output in zip(data_sets, outputs)])
    lines = {case: (line, output) for (case, line, _), output in zip(data_sets, outputs)}

    def failed(case, failure):
        nonlocal failures
        failures += 1
        if failures <= int(os.environ.get('QUILLON_DIFF_SHOWN', 5)):
            line, output = lines[case]
            print(f"FAIL {analysis} data set {case} (QUILLON_DIFF_SEED={seed} "
                  f"QUILLON_DIFF_CASE={case}): {failure}\n  input: {line}\n  shown: {output}")

    for (case, line, data), output, effect in zip(data_sets, outputs, effects):
        report.case = case
        try:
            fields = output.split("\t")
            if analysis == "two-sample":
                # The paper's table, last: checked against the same references as the table.
                check_paper_table(data, fields, fields[-3:])
                fields = fields[:-3]
                output = "\t".join(fields)
            kinds[check(data, fields, checker, table)] += 1
            if analysis in reference_effects.FIELD_COUNTS:
                reference_effects.check_effects(analysis, data, output.split("\t"), effect)
        except Failure as failure:
            failed(case, failure)
    if analysis in FINISH:
        FINISH[analysis](failed)
    for tie in report.ties:
        print("tie case:", tie)
    print(f"{analysis}: {len(data_sets)} data sets ("
          + ", ".join(f"{count} {kind}" for kind, count in kinds.most_common())
          + f"), {failures} failures, {len(report.ties)} tie cases, "
          f"{time.monotonic() - started:.1f} s; report figures: "
          + ", ".join(f"{count} {kind}" for kind, count in
                      (TALLY + assumptions.TALLY + reference_power.TALLY + ranks.TALLY +
                       reference_margin.TALLY).items())
          + "; effect figures: "
          + ", ".join(f"{count} {kind}" for kind, count in reference_effects.EFFECT_TALLY.items()))
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
