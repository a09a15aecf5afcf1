"""The texts the window shows, as a reference computes them, and their comparison with what the
program shows: the window's rounding, its t table and verdicts, and tie cases (see
differential_test.py)."""

import math
import os
import subprocess
import tempfile
from decimal import ROUND_HALF_EVEN, ROUND_HALF_UP, Decimal, localcontext

RELATIVE_TOLERANCE = 1e-9
FOUR_PLACES = Decimal("0.0001")
VERDICTS = ("P > 0.05", "P < 0.05", "P < 0.01", "P < 0.001")

# ---- The window's rounding and its t table ----

def shown(value):
    """The four-decimal text of a value as the window shows it: the nearest double, its 15
    significant digits, then four decimals with halves away from zero."""
    if value is None or not math.isfinite(float(value)):
        return ""
    exact = Decimal(float(value))
    if exact == 0:
        return "0.0000"
    with localcontext() as context:
        context.prec = 15
        context.rounding = ROUND_HALF_EVEN
        significant = +exact
    with localcontext() as context:
        context.prec = 60
        text = significant.quantize(FOUR_PLACES, rounding=ROUND_HALF_UP)
    if text == 0:
        text = abs(text)
    return f"{text:f}"


class TTable:
    """The t critical value table as the window reads it: the row texts for a df."""

    def __init__(self, path):
        with open(path, encoding="utf-8", newline="") as file:
            lines = file.read().split("\r\n")
        self.rows = []  # (df, (c05, c01, c001)); the infinite row has df None
        for line in lines[4:54]:
            fields = line.split()
            df = None if fields[0] == "∝" else int(fields[0])
            self.rows.append((df, tuple(fields[1:4])))
        assert self.rows[-1][0] is None and self.rows[-2][0] == 1000, "unexpected table"

    def row(self, df):
        """The texts of the row for df (a Decimal), or None below 1."""
        if df < 1:
            return None
        if df > 1000:
            return self.rows[-1][1]
        chosen = None
        for row_df, texts in self.rows[:-1]:
            if row_df <= df:
                chosen = texts
        return chosen


def level(statistic, critical):
    """The verdict text of a statistic against the critical texts of a row."""
    c05, c01, c001 = (float(text) for text in critical)
    if c05 <= statistic < c01:
        return VERDICTS[1]
    if c01 <= statistic < c001:
        return VERDICTS[2]
    if statistic >= c001:
        return VERDICTS[3]
    return VERDICTS[0]


# ---- Comparison ----

class Failure(Exception):
    pass


class Checker:
    """Compares one data set's texts with the reference, counting tie cases."""

    def __init__(self, report):
        self.report = report

    def number(self, field, program_text, reference, uncertainty=0.0, exact=None, text_of=None):
        """program_text must be the shown form of SciPy's value. uncertainty: how far that value
        may be off by its own rounding, where more than a billionth of it (cancellation). When a
        rounding boundary lies within that distance, SciPy cannot decide the text: the program's
        text must then be one of those within reach, and the shown form of the exact value when
        that is given; the case is counted as a tie case. text_of: how the window turns the
        value into its text, when not as shown()."""
        text_of = text_of or shown
        expected = text_of(reference)
        if program_text == expected:
            return
        value = Decimal(reference)
        reach = Decimal(max(RELATIVE_TOLERANCE * abs(float(reference)), uncertainty))
        lowest, highest = text_of(value - reach), text_of(value + reach)
        try:
            within = Decimal(lowest) <= Decimal(program_text) <= Decimal(highest)
        except ArithmeticError:
            within = False
        if lowest != highest and within:
            if exact is not None and program_text != exact:
                raise Failure(f"{field}: program shows {program_text!r}, scipy {reference!r} "
                              f"cannot decide it, the exact value shows {exact!r}")
            if Decimal(highest) - Decimal(lowest) <= 2 * FOUR_PLACES:
                why = f"a four-decimal tie: {lowest} to {highest} within {float(reach):.3g}"
            else:
                why = (f"beyond SciPy's precision: {lowest} to {highest} within {float(reach):.3g}"
                       + (", the exact value agrees" if exact is not None else ""))
            self.report.tie(field, program_text, reference, why)
            return
        raise Failure(f"{field}: program shows {program_text!r}, scipy {reference!r} "
                      f"shows {expected!r}")

    def text(self, field, program_text, expected):
        if program_text != expected:
            raise Failure(f"{field}: program shows {program_text!r}, expected {expected!r}")

    def verdict(self, field, program_verdict, statistic, critical, uncertainty=0.0):
        """The program's verdict must be the table's for SciPy's statistic, or, when a critical
        value lies within SciPy's rounding error of it, one of the verdicts within reach."""
        expected = level(statistic, critical)
        if program_verdict == expected:
            return
        reach = max(RELATIVE_TOLERANCE * abs(statistic), uncertainty)
        near = [text for text in critical if abs(statistic - float(text)) <= reach]
        possible = {level(statistic - reach, critical), level(statistic + reach, critical)}
        if near and program_verdict in possible:
            self.report.tie(field, program_verdict, statistic, f"critical value {near[0]}")
            return
        raise Failure(f"{field}: program says {program_verdict!r}, scipy's statistic "
                      f"{statistic!r} against {critical} gives {expected!r}")

    def t_line(self, field, line, statistic, df, table):
        """A verdict line "T = 2.2361  P < 0.05" and its row against the reference t."""
        critical = table.row(df)
        if critical is None:
            raise Failure(f"{field}: df {df} has no row, but the program shows {line!r}")
        prefix, _, verdict = line.partition("  ")
        if not prefix.startswith("T = "):
            raise Failure(f"{field}: malformed verdict line {line!r}")
        self.number(field + " T", prefix[4:], statistic)
        self.verdict(field + " verdict", verdict, statistic, critical)
        return critical


class Report:
    def __init__(self):
        self.ties = []
        self.case = None

    def tie(self, field, program_text, reference, why):
        self.ties.append(f"data set {self.case}: {field}: program {program_text!r}, "
                         f"scipy {reference!r} ({why})")


# ---- Chi-square ----

WARNING = "当n < 40或理论数(T)< 1时，不适合使用本法。"


def chi_square_level(text):
    """The verdict of a chi-square value with one degree of freedom from its shown text."""
    value = float(text) if text else 0.0
    if 3.84 <= value < 6.63:
        return VERDICTS[1]
    return VERDICTS[2] if value >= 6.63 else VERDICTS[0]


def held_to_four_decimals(value):
    """The expected count of d is held to four decimals (halves to even) before it is shown."""
    return shown(Decimal(float(value)).quantize(FOUR_PLACES, rounding=ROUND_HALF_EVEN))


def centred_sums(rows):
    """The pairs in whole ten-thousandths and their exact centred sums: Σx, Σy and
    n·Σx² − (Σx)², n·Σy² − (Σy)², n·Σxy − Σx·Σy."""
    n = len(rows)
    raw = [(int(x.scaleb(4)), int(y.scaleb(4))) for x, y in rows]
    sum_x = sum(x for x, _ in raw)
    sum_y = sum(y for _, y in raw)
    sxx = n * sum(x * x for x, _ in raw) - sum_x * sum_x
    syy = n * sum(y * y for _, y in raw) - sum_y * sum_y
    sxy = n * sum(x * y for x, y in raw) - sum_x * sum_y
    return raw, sum_x, sum_y, sxx, syy, sxy


def run_r(script, lines):
    """Runs an R script once on a file of the given lines (its first argument) and returns the
    lines it prints, one a line of input."""
    with tempfile.TemporaryDirectory() as folder:
        data = os.path.join(folder, "data.txt")
        with open(data, "w") as file:
            file.writelines(line + "\n" for line in lines)
        path = os.path.join(folder, "script.R")
        with open(path, "w") as file:
            file.write(script)
        run = subprocess.run(["Rscript", "--vanilla", path, data], capture_output=True,
                             text=True, check=True)
    answers = run.stdout.split("\n")[:-1]
    if len(answers) != len(lines):
        raise SystemExit(f"R answered {len(answers)} lines for {len(lines)} inputs")
    return answers
