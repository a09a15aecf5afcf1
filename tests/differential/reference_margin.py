"""Tests against a margin (non-inferiority, superiority, equivalence) against statsmodels and
SciPy (see differential_test.py).

Means:
  - values typed into the grid, where the report reads Welch's test: statsmodels' ttest_ind
    (value = the null difference, alternative = its side, usevar = "unequal") and ttost_ind on the
    values, and the (1 − 2α) interval by CompareMeans.tconfint_diff(alpha = 2α);
  - the pooled test, which the report takes from the summaries the boxes show (as its two-sample
    test does), and every test of typed summaries: SciPy's ttest_ind_from_stats with the first
    mean less the null difference (exact, in decimal) and the interval d ± t(1 − α, ν)·SE;
  - pairs: statsmodels' DescrStatsW on the exact differences (ttest_mean, ttost_mean, which is
    ttost_paired, and tconfint_mean(alpha = 2α)).
Rates: the Farrington–Manning score test and the interval of the null differences it does not
reject. statsmodels 0.13.5 (Debian 12) cannot be the reference here: its
test_proportions_2indep(method = "score") keeps the N/(N − 1) factor whatever `correction` says
(statsmodels #8704, fixed in 0.14), and its restricted rates solve a cubic with a wrong
coefficient where the null difference is not 0 (statsmodels #10269). So the reference maximises
the restricted likelihood itself, the root of its derivative by brentq (the program takes
Farrington and Manning's closed form), and inverts the statistic by brentq.

Statistics, P values and bounds agree to 1e-9 of their scale (the statistic's numerator over its
standard error). Each case checks besides that the conclusion is the program's P < α and its
interval's bound beyond the margin, and the reference's where P is not within rounding of α.
"""

import collections
import math
import warnings
from decimal import Decimal
from fractions import Fraction

import numpy as np
from scipy import optimize, stats
from statsmodels.stats.weightstats import CompareMeans, DescrStatsW, ttest_ind, ttost_ind

from reference_p import exact_moments, two_sample_p, two_sample_p_from_values
from reference_texts import Failure

TOLERANCE = 1e-9
NAMES = {"non-inferiority": "非劣效", "superiority": "优效", "equivalence": "等效"}
DEFAULT_ALPHA = {"non-inferiority": "0.025", "superiority": "0.025", "equivalence": "0.05"}
TALLY = collections.Counter()


def number(text):
    try:
        value = float(text)
    except ValueError:
        return None
    return value if math.isfinite(value) else None


def nulls(hypothesis, better, margin):
    """Each one-sided test's null difference and whether H1 lies above it."""
    higher = better == "higher"
    if hypothesis == "equivalence":
        return [(-margin, True), (margin, False)]
    sign = -1 if hypothesis == "non-inferiority" else 1
    return [(sign * margin if higher else -sign * margin, higher)]


def t_critical(alpha, df):
    """t(1 − α, ν): SciPy 1.10's t.isf is off by up to a few 1e-9 at few degrees of freedom
    (6.96455671876 for t(0.99, 2), exactly 6.96455673428), so its answer is taken one Newton
    step on t.sf, which is accurate."""
    x = float(stats.t.isf(alpha, df))
    for _ in range(2):
        x += (float(stats.t.sf(x, df)) - alpha) / float(stats.t.pdf(x, df))
    return x


def rescaled(interval, estimate, alpha, df):
    """statsmodels' interval with its half-width taken at t_critical instead of SciPy's."""
    lower, upper = interval
    factor = t_critical(alpha, df) / float(stats.t.ppf(1 - alpha, df))
    return estimate - (estimate - lower) * factor, estimate + (upper - estimate) * factor


def tail(statistic, above, distribution):
    return float(distribution.sf(statistic) if above else distribution.cdf(statistic))


# ---- The references: the difference, its standard error and ν, or the tests themselves ----

def welch_chosen(reference):
    """The report's rule: Welch's test where the variance ratio's P is below 0.05 or exactly one
    group has no spread."""
    return reference["welch"] is not None and (
        (reference["f"] is not None and reference["f"] < 0.05) or reference["one zero"])


def summary_reference(boxes, welch):
    """d, SE and ν from six summary values (Decimals), as ttest_ind_from_stats takes them."""
    m1, s1, n1, m2, s2, n2 = boxes
    if s1 < 0 or s2 < 0 or n1 < 1 or n2 < 1 or n1 % 1 or n2 % 1 or n1 + n2 < 3:
        return None
    v1, v2 = Fraction(s1) ** 2, Fraction(s2) ** 2
    if welch:
        share1, share2 = v1 / int(n1), v2 / int(n2)
        if share1 + share2 == 0:
            return None
        df = float((share1 + share2) ** 2 / (share1 ** 2 / int(n1 - 1) + share2 ** 2 / int(n2 - 1)))
        variance = share1 + share2
    else:
        df = float(n1 + n2 - 2)
        variance = (v1 * int(n1 - 1) + v2 * int(n2 - 1)) / int(n1 + n2 - 2) * \
            (Fraction(1, int(n1)) + Fraction(1, int(n2)))
        if variance == 0:
            return None
    return {"boxes": boxes, "welch": welch, "d": m1 - m2, "se": math.sqrt(variance), "df": df}


def summary_tests(ref, alpha, tests):
    m1, s1, n1, m2, s2, n2 = ref["boxes"]
    out = []
    for null, above in tests:
        # The first mean less the null difference, in decimal, then once to a double.
        shifted = float(m1 - m2 - Decimal(repr(null)))
        result = stats.ttest_ind_from_stats(shifted, float(s1), float(n1), 0.0, float(s2),
                                            float(n2), equal_var=not ref["welch"],
                                            alternative="greater" if above else "less")
        out.append((float(result.statistic), float(result.pvalue)))
    critical = t_critical(alpha, ref["df"])
    d = float(ref["d"])
    return d, (d - critical * ref["se"], d + critical * ref["se"]), out


def values_tests(xs, ys, alpha, tests):
    """Welch's tests by statsmodels on the values."""
    out = []
    if len(tests) == 2:
        _, (t1, p1, _), (t2, p2, _) = ttost_ind(xs, ys, tests[0][0], tests[1][0], usevar="unequal")
        out = [(float(t1), float(p1)), (float(t2), float(p2))]
    else:
        null, above = tests[0]
        t, p, _ = ttest_ind(xs, ys, value=null, usevar="unequal",
                            alternative="larger" if above else "smaller")
        out = [(float(t), float(p))]
    lower, upper = CompareMeans.from_data(xs, ys).tconfint_diff(alpha=2 * alpha, usevar="unequal")
    return float(np.mean(xs) - np.mean(ys)), (float(lower), float(upper)), out


def paired_tests(differences, alpha, tests):
    described = DescrStatsW(differences)
    if len(tests) == 2:
        _, (t1, p1, _), (t2, p2, _) = described.ttost_mean(tests[0][0], tests[1][0])
        out = [(float(t1), float(p1)), (float(t2), float(p2))]
    else:
        null, above = tests[0]
        t, p, _ = described.ttest_mean(value=null, alternative="larger" if above else "smaller")
        out = [(float(t), float(p))]
    lower, upper = described.tconfint_mean(alpha=2 * alpha)
    return float(described.mean), (float(lower), float(upper)), out


def restricted_rates(x1, n1, x2, n2, null):
    """The rates maximising the likelihood under p₁ − p₂ = null: the root in p₂ of the
    likelihood's derivative, which falls from +∞ to −∞ (or the end where it does not change
    sign)."""
    low, high = max(0.0, -null), min(1.0, 1.0 - null)

    def part(count, over):
        # count / over, +∞ where over has rounded to 0 next to an end
        return 0.0 if count == 0 else math.inf if over <= 0 else count / over

    def slope(p2):
        p1 = p2 + null
        return part(x1, p1) - part(n1 - x1, 1 - p1) + part(x2, p2) - part(n2 - x2, 1 - p2)

    span = high - low
    a, b = low + 1e-15 * span, high - 1e-15 * span
    if slope(a) <= 0:
        p2 = low
    elif slope(b) >= 0:
        p2 = high
    else:
        p2 = optimize.brentq(slope, a, b, xtol=1e-16, rtol=4 * np.finfo(float).eps, maxiter=500)
    return p2 + null, p2


def score(x1, n1, x2, n2, null):
    numerator = x1 / n1 - x2 / n2 - null
    if numerator == 0:
        return 0.0
    p1, p2 = restricted_rates(x1, n1, x2, n2, null)
    variance = p1 * (1 - p1) / n1 + p2 * (1 - p2) / n2
    return numerator / math.sqrt(variance) if variance > 0 else math.copysign(math.inf, numerator)


def score_tests(cells, alpha, tests):
    a, b, c, d = cells
    n1, n2 = a + b, c + d
    estimate = a / n1 - c / n2
    out = []
    for null, above in tests:
        z = score(a, n1, c, n2, null)
        out.append((z, tail(z, above, stats.norm)))
    critical = float(stats.norm.isf(alpha))

    def bound(target, end):
        inside = end * (1 - 1e-12)
        f = lambda null: score(a, n1, c, n2, null) - target
        if (f(inside) <= 0 if target > 0 else f(inside) >= 0):
            return float(end)
        left, right = (inside, estimate) if target > 0 else (estimate, inside)
        if left >= right:
            return float(end)
        return optimize.brentq(f, left, right, xtol=1e-15, rtol=4 * np.finfo(float).eps,
                               maxiter=500)

    return estimate, (bound(critical, -1), bound(-critical, 1)), out


def reference(design, data, boxes, welch, alpha, tests):
    """(difference, (lower, upper), [(statistic, P)], ν or None, the scale of each statistic),
    or None where the report has no test."""
    if design == "fourfold":
        a, b, c, d = data
        if a + b == 0 or c + d == 0:
            return None
        estimate, interval, out = score_tests(data, alpha, tests)
        return estimate, interval, out, None, [1 + abs(z) for z, _ in out]
    if design == "paired":
        rows = data[0]
        differences = [x - y for x, y in rows]
        if len(rows) < 2 or len(set(differences)) == 1:
            return None
        floats = np.array([float(v) for v in differences])
        estimate, interval, out = paired_tests(floats, alpha, tests)
        sd = float(np.std(floats, ddof=1))
        se = sd / math.sqrt(len(rows))
        df = len(rows) - 1
        interval = rescaled(interval, estimate, alpha, df)
    elif design == "two-sample" and welch:
        xs, ys, offset = data
        (n1, mean1, v1), (n2, mean2, v2) = exact_moments(xs), exact_moments(ys)
        if n1 < 2 or n2 < 2 or v1 + v2 == 0:
            return None
        fx = np.array([float(x - offset) for x in xs])
        fy = np.array([float(y - offset) for y in ys])
        estimate, interval, out = values_tests(fx, fy, alpha, tests)
        share1, share2 = v1 / n1, v2 / n2
        se = math.sqrt(share1 + share2)
        df = float((share1 + share2) ** 2 / (share1 ** 2 / (n1 - 1) + share2 ** 2 / (n2 - 1)))
        interval = rescaled(interval, estimate, alpha, df)
    else:
        ref = summary_reference(boxes, welch)
        if ref is None:
            return None
        estimate, interval, out = summary_tests(ref, alpha, tests)
        se, df = ref["se"], ref["df"]
    scales = [(abs(estimate) + abs(null)) / se + 1 for null, _ in tests]
    return estimate, interval, out, df, scales


# ---- Making and checking a case ----

def margin_near_bound(design, data, boxes, welch, alpha, hypothesis, better, digits):
    """A margin at which the conclusion changes: the interval's bound written with the digits
    given (17: the bound itself), where it lies on the side of 0 that the hypothesis allows."""
    probe = reference(design, data, boxes, welch, alpha, nulls(hypothesis, better, 0.5))
    if probe is None:
        return None
    lower, upper = probe[1]
    (null, above), *_ = nulls(hypothesis, better, 0.5)
    if hypothesis == "equivalence":
        margin = max(abs(lower), abs(upper))
    else:
        bound = lower if above else upper
        margin = 0.5 * bound / null  # the null's sign is the margin's
    if not (margin > 0) or (design == "fourfold" and margin >= 1):
        return None
    return f"{margin:.{digits}g}"


def expected_welch(design, data, boxes):
    """The report's choice of Welch's test, for the margins made at the bound."""
    if design == "summary":
        ref = two_sample_p(*boxes)
        s1, s2, n1, n2 = boxes[1], boxes[4], boxes[2], boxes[5]
        ref["one zero"] = (s1 == 0) != (s2 == 0) and n1 >= 2 and n2 >= 2
        return welch_chosen(ref)
    if design == "two-sample":
        xs, ys, _ = data
        ref = two_sample_p_from_values(xs, ys)
        (_, _, v1), (_, _, v2) = exact_moments(xs), exact_moments(ys)
        ref["one zero"] = (v1 == 0) != (v2 == 0) and len(xs) >= 2 and len(ys) >= 2
        return welch_chosen(ref)
    return False


def close(field, text, reference, tolerance):
    if text == "":
        raise Failure(f"{field}: program gives no value, reference {reference!r}")
    value = float(text)
    if not abs(value - reference) <= tolerance:
        raise Failure(f"{field}: program gives {value!r}, reference {reference!r} "
                      f"(difference {abs(value - reference):.3g}, allowed {tolerance:.3g})")


def check(case, data, fields):
    design, hypothesis, better, margin_text, alpha_text, values = data
    boxes = [Decimal(text) for text in fields[:6]] if design == "two-sample" and all(fields[:6]) \
        else (values[0] if design == "summary" else None)
    welch = fields[6] == "1"
    difference, lower, upper, s1, p1, s2, p2, df, p, established, conclusion = fields[7:18]
    alpha = number(DEFAULT_ALPHA[hypothesis] if alpha_text == "_" else alpha_text)
    margin = number(margin_text)
    alpha_bad = alpha is None or not 0 < alpha < 0.5
    margin_bad = margin is None or margin <= 0 or (design == "fourfold" and margin >= 1)
    tests = nulls(hypothesis, better, margin if not margin_bad else 1.0)
    ref = None if alpha_bad else reference(design, values, boxes, welch, alpha, tests)
    if ref is None or margin_bad:
        if p or established or not conclusion.startswith("—（"):
            raise Failure(f"a test where there is none: P {p!r}, conclusion {conclusion!r}")
        if alpha_bad and (lower or upper):
            raise Failure("an interval without a usable α")
        TALLY["bad α" if alpha_bad else "bad margin" if margin_bad else "no test"] += 1
        return "no test"
    estimate, (low, high), out, ref_df, scales = ref
    scale = abs(estimate) + abs(high - low)
    close("difference", difference, estimate, TOLERANCE * scale + 1e-15)
    close("lower", lower, low, TOLERANCE * scale + 1e-15)
    close("upper", upper, high, TOLERANCE * scale + 1e-15)
    for (name_s, text_s, name_p, text_p), (statistic, p_ref), test_scale in zip(
            (("statistic 1", s1, "P 1", p1), ("statistic 2", s2, "P 2", p2)), out, scales):
        close(name_s, text_s, statistic, TOLERANCE * test_scale)
        tolerance = p_ref * (2 * (abs(statistic) + 1) * TOLERANCE * test_scale) + \
            TOLERANCE * test_scale
        close(name_p, text_p, p_ref, tolerance)
    if ref_df is not None:
        close("df", df, ref_df, TOLERANCE * ref_df)
    # The conclusion is P < α, and the interval's bound beyond each margin, in the program's
    # own figures; and the reference's, unless its P lies within rounding of α.
    shown_p = [float(text) for text in (p1, p2)[:len(tests)]]
    rejected = all(value < alpha for value in shown_p)
    if float(p) != max(shown_p):
        raise Failure(f"P {p} is not the larger one-sided P {max(shown_p)}")
    beyond = all((float(lower) > null) if above else (float(upper) < null)
                 for null, above in tests)
    if (established == "1") != rejected or beyond != rejected:
        raise Failure(f"conclusion {established!r}, P < α {rejected}, bound beyond {beyond}")
    name = NAMES[hypothesis] + ("成立" if rejected else "不成立")
    if conclusion != name:
        raise Failure(f"conclusion cell {conclusion!r}, expected {name!r}")
    reference_p = max(p_value for _, p_value in out)
    if abs(reference_p - alpha) <= 1e-6 * alpha:
        TALLY["P within rounding of α"] += 1
    elif (reference_p < alpha) != rejected:
        raise Failure(f"conclusion {name} but the reference's P is {reference_p!r}")
    TALLY["compared"] += 1
    return f"{design} {hypothesis}"


def make(rng, generators):
    """A data set of one of the four designs with a hypothesis, a direction, a margin and α;
    now and then a margin at the interval's bound, a bad margin or a bad α."""
    design = rng.choice(("two-sample", "summary", "paired", "fourfold"))
    hypothesis = rng.choice(("non-inferiority", "superiority", "equivalence"))
    better = rng.choice(("higher", "lower"))
    line, data = generators[design](rng)
    alpha_text = rng.choice(("_", "_", "0.025", "0.05", "0.01", "0.1", f"{rng.uniform(0.001, 0.3):.3g}"))
    if rng.random() < 0.04:
        alpha_text = rng.choice(("0", "0.5", "-0.05", "a", "0.7"))
    if design == "fourfold":
        margin_text = f"{rng.uniform(0.005, 0.4):.3g}"
        cells = data
        values = [float(v) for v in cells]
    else:
        if design == "summary":
            spread = float(max(data[0][1], data[0][4])) or 1.0
        elif design == "two-sample":
            spread = float(np.std([float(x - data[2]) for x in data[0]])) or 1.0
        else:
            spread = float(np.std([float(x - y) for x, y in data[0]])) or 1.0
        margin_text = f"{spread * 10 ** rng.uniform(-1.5, 0.7):.4g}"
    if rng.random() < 0.04:
        margin_text = rng.choice(("0", "-1", "x", "1", "1.5"))
    alpha = number(DEFAULT_ALPHA[hypothesis] if alpha_text == "_" else alpha_text)
    if rng.random() < 0.2 and alpha is not None and 0 < alpha < 0.5:
        boxes = data[0] if design == "summary" else None
        if design == "two-sample":
            boxes = None  # the shown summaries are the program's; the pooled case is left out
        if design != "two-sample" or expected_welch(design, data, boxes):
            near = margin_near_bound(design, data, boxes, expected_welch(design, data, boxes),
                                     alpha, hypothesis, better, rng.choice((12, 17)))
            if near is not None:
                margin_text = near
                TALLY["margins at the bound"] += 1
    return (f"{design} {hypothesis} {better} {margin_text} {alpha_text} {line}",
            (design, hypothesis, better, margin_text, alpha_text, data))
