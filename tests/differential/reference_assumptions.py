"""The checks of the sample analyses' assumptions against R and SciPy (see differential_test.py):
Shapiro–Wilk W and P against R's shapiro.test (each group of the two-sample test, the paired
differences, the residuals of the line), and the Brown–Forsythe test of the two groups against
scipy.stats.levene(center="median"), all to 1e-6 relative.

The references get the values less an offset subtracted exactly in decimal (W, P and F do not
depend on it): each group less the data set's offset, the differences as they are, and the
residuals of the least-squares line computed exactly in rational arithmetic from the whole
ten-thousandths. R runs once for a whole run: every sample becomes one line of a file it reads.
"""

import collections
import warnings
from fractions import Fraction

from scipy import stats

from reference_texts import Failure, centred_sums, run_r

RELATIVE = 1e-6
# F near 0 is the square of the difference of two nearly equal mean deviations, which SciPy
# takes in floating point: there it is compared to this absolute bound.
F_ABSOLUTE = 1e-12
# Within this share of a perfect line (1 − r²) the residuals the program computes from its
# floating-point slope carry rounding beyond a millionth of their spread: counted, not compared.
NEAR_LINE = 1e-10
MINIMUM, MAXIMUM = 3, 5000

TALLY = collections.Counter()
# The Shapiro–Wilk tests of the run awaiting R: (case, sample, values, program's W, P texts).
PENDING = []

R_SCRIPT = r"""
lines <- readLines(commandArgs(trailingOnly = TRUE)[1])
for (line in lines) {
  x <- as.numeric(strsplit(line, " ", fixed = TRUE)[[1]])
  result <- tryCatch(shapiro.test(x), error = function(e) NULL)
  if (is.null(result)) cat("NA NA\n") else
    cat(sprintf("%.17g %.17g\n", result$statistic, result$p.value))
}
"""


# Below this both libraries lose relative precision near the underflow of a double.
P_ABSOLUTE = 1e-300


def close(value, reference, absolute=P_ABSOLUTE):
    return abs(value - reference) <= max(RELATIVE * abs(reference), absolute)


def note_normality(case, sample, values, fields):
    """Queues one sample for R, or checks now that the program gives no figure where R has none:
    fewer than 3 or more than 5,000 values, or all equal."""
    n_text, w_text, p_text = fields
    if n_text != str(len(values)):
        raise Failure(f"{sample}: program counts {n_text} values, the data set has {len(values)}")
    none = "n < 3" if len(values) < MINIMUM else "n > 5000" if len(values) > MAXIMUM else \
        "all equal" if min(values) == max(values) else None
    if none:
        if w_text or p_text:
            raise Failure(f"{sample}: program gives W {w_text!r} P {p_text!r} where there is none")
        TALLY[f"no Shapiro–Wilk ({none})"] += 1
        return
    PENDING.append((case, sample, values, w_text, p_text))


def same_deviations(values):
    """Whether every value lies equally far from the median, exactly."""
    ordered = sorted(values)
    middle = len(ordered) // 2
    median = (ordered[middle] + ordered[~middle]) / 2
    return len({abs(value - median) for value in ordered}) == 1


def check_groups(case, xs, ys, offset, fields):
    """Two-sample: Shapiro–Wilk of each group, then Brown–Forsythe."""
    first = [float(x - offset) for x in xs]
    second = [float(y - offset) for y in ys]
    note_normality(case, "group 1", first, fields[0:3])
    note_normality(case, "group 2", second, fields[3:6])
    f_text, p_text = fields[6:8]
    if len(xs) < 2 or len(ys) < 2 or (same_deviations(xs) and same_deviations(ys)):
        # Every deviation from the median the same within each group: no finite F (SciPy's
        # rounding may still leave some spread within the groups).
        reference = None
    else:
        with warnings.catch_warnings():
            warnings.simplefilter("ignore", RuntimeWarning)
            result = stats.levene(first, second, center="median")
        reference = float(result.statistic), float(result.pvalue)
    if reference is None:
        if f_text or p_text:
            raise Failure(f"Brown–Forsythe: program gives F {f_text!r} P {p_text!r} where "
                          f"there is none")
        TALLY["no Brown–Forsythe"] += 1
        return
    f, p = reference
    if not f_text or not close(float(f_text), f, F_ABSOLUTE) or not close(float(p_text), p):
        raise Failure(f"Brown–Forsythe: program F {f_text!r} P {p_text!r}, SciPy {f!r} {p!r}")
    TALLY["Brown–Forsythe compared"] += 1


def check_differences(case, rows, fields):
    note_normality(case, "differences", [float(x - y) for x, y in rows], fields)


def check_residuals(case, rows, fields):
    """The residuals y − ȳ − b(x − x̄) with b = Sxy / Sxx, exact, as doubles (in 10^-4)."""
    n = len(rows)
    raw, sum_x, sum_y, sxx, syy, sxy = centred_sums(rows)
    if n >= MINIMUM and sxx != 0 and sxx * syy != sxy * sxy and \
            Fraction(sxx * syy - sxy * sxy, sxx * syy) < NEAR_LINE:
        TALLY["residuals near a perfect line"] += 1
        return
    if n < MINIMUM or sxx == 0 or sxx * syy == sxy * sxy:
        residuals = [0.0] * n  # no line, or every residual exactly 0: no figure
    else:
        residuals = [((n * y - sum_y) * sxx - (n * x - sum_x) * sxy) / (n * sxx) for x, y in raw]
    note_normality(case, "residuals", residuals, fields)


def finish(failed):
    """Runs R once on every queued sample and compares; failed(case, message) for each
    disagreement."""
    if not PENDING:
        return
    answers = run_r(R_SCRIPT, [" ".join(repr(value) for value in values)
                               for _, _, values, _, _ in PENDING])
    for (case, sample, values, w_text, p_text), answer in zip(PENDING, answers):
        w_reference, p_reference = answer.split(" ")
        if w_reference == "NA":
            failed(case, f"{sample}: R has no Shapiro–Wilk test of {len(values)} values")
        elif not w_text or not close(float(w_text), float(w_reference)) or \
                not close(float(p_text), float(p_reference)):
            failed(case, f"Shapiro–Wilk of the {sample} ({len(values)} values): program W "
                         f"{w_text!r} P {p_text!r}, R {w_reference} {p_reference}")
        else:
            TALLY["Shapiro–Wilk compared"] += 1
    PENDING.clear()
