"""Tests against a margin (see differential_test.py). Means: statsmodels on the grid's values
where the report reads Welch's test (ttest_ind and ttost_ind with usevar="unequal", tconfint_diff
at alpha = 2α) and on paired differences (DescrStatsW: ttest_mean, ttost_mean as ttost_paired,
tconfint_mean); the pooled test, which the report takes from the summaries the boxes show, and
typed summaries by SciPy's ttest_ind_from_stats, the first mean less the null in decimal.
SciPy 1.10's t quantile is off by up to a few 1e-9 at few degrees of freedom (6.96455671876 for
t(0.99, 2), exactly 6.96455673428): intervals are taken at its quantile refined on t.sf.
Rates: statsmodels 0.13.5 (Debian 12) keeps the N/(N − 1) factor of its score test whatever
`correction` says (statsmodels #8704) and solves the restricted rates with a wrong coefficient
where the null is not 0 (#10269); so the reference maximises the restricted likelihood itself
(brentq on its derivative; the program takes Farrington and Manning's closed form) and inverts
the statistic by brentq. Figures agree to 1e-9 of their scale; the conclusion must be P < α and
the bound beyond the margin, in the program's figures and, unless P is within 1e-6 of α, the
reference's. A fifth of the margins are put at the interval's bound (12 or 17 digits)."""

import collections
import math
from decimal import Decimal
from fractions import Fraction

import numpy as np
from scipy import optimize, stats
from statsmodels.stats.weightstats import CompareMeans, DescrStatsW, ttest_ind, ttost_ind

from reference_p import exact_moments
from reference_texts import Failure

NAMES = {"non-inferiority": "非劣效", "superiority": "优效", "equivalence": "等效"}
DEFAULT_ALPHA = {"non-inferiority": "0.025", "superiority": "0.025", "equivalence": "0.05"}
TALLY = collections.Counter()


def number(text):
    try:
        return float(text) if math.isfinite(float(text)) else None
    except ValueError:
        return None


def nulls(hypothesis, better, margin):
    """Each one-sided test's null difference and whether H1 lies above it."""
    if hypothesis == "equivalence":
        return [(-margin, True), (margin, False)]
    sign = (-1 if hypothesis == "non-inferiority" else 1) * (1 if better == "higher" else -1)
    return [(sign * margin, better == "higher")]


def t_critical(alpha, df):
    x = float(stats.t.isf(alpha, df))
    for _ in range(2):
        x += (float(stats.t.sf(x, df)) - alpha) / float(stats.t.pdf(x, df))
    return x


def moved(interval, estimate, alpha, df):
    """statsmodels' interval with its half-widths taken at the refined quantile."""
    factor = t_critical(alpha, df) / float(stats.t.ppf(1 - alpha, df))
    lower, upper = interval
    return estimate - (estimate - lower) * factor, estimate + (upper - estimate) * factor


def t_tests(design, data, boxes, welch, alpha, tests):
    """(difference, interval, [(t, P)], ν, SE), or None where the report has no test."""
    side = lambda above: "larger" if above else "smaller"
    if design == "paired":
        differences = [x - y for x, y in data[0]]
        if len(differences) < 2 or len(set(differences)) == 1:
            return None
        described = DescrStatsW(np.array([float(v) for v in differences]))
        out = [described.ttest_mean(value=null, alternative=side(above))[:2]
               for null, above in tests] if len(tests) == 1 else \
            [r[:2] for r in described.ttost_mean(tests[0][0], tests[1][0])[1:]]
        df = len(differences) - 1
        return (described.mean, moved(described.tconfint_mean(alpha=2 * alpha), described.mean,
                                      alpha, df), out, df, described.std_mean)
    if design == "two-sample" and welch:
        xs, ys, offset = data
        (n1, _, v1), (n2, _, v2) = exact_moments(xs), exact_moments(ys)
        if n1 < 2 or n2 < 2 or v1 + v2 == 0:
            return None
        fx, fy = (np.array([float(v - offset) for v in group]) for group in (xs, ys))
        out = [ttest_ind(fx, fy, value=null, usevar="unequal", alternative=side(above))[:2]
               for null, above in tests] if len(tests) == 1 else \
            [r[:2] for r in ttost_ind(fx, fy, tests[0][0], tests[1][0], usevar="unequal")[1:]]
        share1, share2 = v1 / n1, v2 / n2
        df = float((share1 + share2) ** 2 / (share1 ** 2 / (n1 - 1) + share2 ** 2 / (n2 - 1)))
        d = float(np.mean(fx) - np.mean(fy))
        interval = CompareMeans.from_data(fx, fy).tconfint_diff(alpha=2 * alpha, usevar="unequal")
        return d, moved(interval, d, alpha, df), out, df, math.sqrt(share1 + share2)
    m1, s1, n1, m2, s2, n2 = boxes
    if s1 < 0 or s2 < 0 or n1 < 1 or n2 < 1 or n1 % 1 or n2 % 1 or n1 + n2 < 3:
        return None
    v1, v2, n1, n2 = Fraction(s1) ** 2, Fraction(s2) ** 2, int(n1), int(n2)
    if welch:
        variance = v1 / n1 + v2 / n2
        df = float(variance ** 2 / ((v1 / n1) ** 2 / (n1 - 1) + (v2 / n2) ** 2 / (n2 - 1))) \
            if variance else 0
    else:
        df = n1 + n2 - 2
        variance = (v1 * (n1 - 1) + v2 * (n2 - 1)) / df * (Fraction(1, n1) + Fraction(1, n2))
    if variance == 0:
        return None
    out = [stats.ttest_ind_from_stats(float(m1 - m2 - Decimal(repr(null))), float(s1), n1, 0.0,
                                      float(s2), n2, equal_var=not welch,
                                      alternative="greater" if above else "less")
           for null, above in tests]
    se, d = math.sqrt(variance), float(m1 - m2)
    half = t_critical(alpha, df) * se
    return d, (d - half, d + half), [tuple(r) for r in out], df, se


def score(x1, n1, x2, n2, null):
    """The Farrington–Manning statistic, the restricted rates found by brentq."""
    if x1 / n1 - x2 / n2 == null:
        return 0.0
    part = lambda count, over: 0.0 if count == 0 else math.inf if over <= 0 else count / over
    slope = lambda p2: (part(x1, p2 + null) - part(n1 - x1, 1 - p2 - null) + part(x2, p2) -
                        part(n2 - x2, 1 - p2))
    low, high = max(0.0, -null), min(1.0, 1.0 - null)
    a, b = low + 1e-15 * (high - low), high - 1e-15 * (high - low)
    p2 = low if slope(a) <= 0 else high if slope(b) >= 0 else \
        optimize.brentq(slope, a, b, xtol=1e-16, rtol=1e-15, maxiter=500)
    p1 = min(1.0, max(0.0, p2 + null))
    variance = p1 * (1 - p1) / n1 + p2 * (1 - p2) / n2
    numerator = x1 / n1 - x2 / n2 - null
    return numerator / math.sqrt(variance) if variance > 0 else math.copysign(math.inf, numerator)


def score_tests(cells, alpha, tests):
    a, b, c, d = cells
    if a + b == 0 or c + d == 0:
        return None
    estimate = a / (a + b) - c / (c + d)
    z = lambda null: score(a, a + b, c, c + d, null)
    out = [(z(null), float(stats.norm.sf(z(null)) if above else stats.norm.cdf(z(null))))
           for null, above in tests]

    def bound(target, end):
        inside = end * (1 - 1e-12)
        if (z(inside) - target) * target <= 0 or (inside - estimate) * end <= 0:
            return float(end)
        return optimize.brentq(lambda null: z(null) - target, *sorted((inside, estimate)),
                               xtol=1e-15, rtol=1e-15, maxiter=500)

    critical = float(stats.norm.isf(alpha))
    return estimate, (bound(critical, -1), bound(-critical, 1)), out, None, 1.0


def reference(design, data, boxes, welch, alpha, tests):
    if design == "fourfold":
        return score_tests(data, alpha, tests)
    return t_tests(design, data, boxes, welch, alpha, tests)


def close(field, text, reference, tolerance):
    if text == "" or not abs(float(text) - reference) <= tolerance:
        raise Failure(f"{field}: program gives {text or 'no value'}, reference {reference!r} "
                      f"(allowed {tolerance:.3g})")


def check(case, data, fields):
    design, hypothesis, better, margin_text, alpha_text, values = data
    boxes = [Decimal(text) for text in fields[:6]] if design == "two-sample" and all(fields[:6]) \
        else values[0] if design == "summary" else None
    difference, lower, upper, s1, p1, s2, p2, df, p, established, conclusion = fields[7:18]
    alpha = number(DEFAULT_ALPHA[hypothesis] if alpha_text == "_" else alpha_text)
    margin = number(margin_text)
    bad = "bad α" if alpha is None or not 0 < alpha < 0.5 else "bad margin" if margin is None or \
        margin <= 0 or (design == "fourfold" and margin >= 1) else None
    tests = nulls(hypothesis, better, margin if not bad else 1.0)
    ref = None if bad == "bad α" else reference(design, values, boxes, fields[6] == "1", alpha,
                                                 tests)
    if ref is None or bad:
        if p or established or not conclusion.startswith("—（") or (bad == "bad α" and lower):
            raise Failure(f"figures where there are none: P {p!r}, conclusion {conclusion!r}")
        TALLY[bad or "no test"] += 1
        return "no test"
    estimate, (low, high), out, ref_df, se = ref
    scale = 1e-9 * (abs(estimate) + abs(high - low)) + 1e-15
    for name, text, value in (("difference", difference, estimate), ("lower", lower, low),
                              ("upper", upper, high)):
        close(name, text, value, scale)
    for number_, (t_text, p_text), (statistic, p_ref), (null, _) in zip(
            "12", ((s1, p1), (s2, p2)), out, tests):
        t_scale = 1e-9 * ((abs(estimate) + abs(null)) / se + 1)
        close("statistic " + number_, t_text, statistic, t_scale)
        close("P " + number_, p_text, p_ref, p_ref * 2 * (abs(statistic) + 1) * t_scale + t_scale)
    if ref_df is not None:
        close("df", df, ref_df, 1e-9 * ref_df)
    shown_p = [float(text) for text in (p1, p2)[:len(tests)]]
    rejected = max(shown_p) < alpha
    beyond = all(float(lower) > null if above else float(upper) < null for null, above in tests)
    name = NAMES[hypothesis] + ("成立" if rejected else "不成立")
    if float(p) != max(shown_p) or (established == "1") != rejected or beyond != rejected or \
            conclusion != name:
        raise Failure(f"conclusion {established!r} {conclusion!r}: P {p}, bound beyond {beyond}")
    reference_p = max(p_value for _, p_value in out)
    if abs(reference_p - alpha) <= 1e-6 * alpha:
        TALLY["P within 1e-6 of α"] += 1
    elif (reference_p < alpha) != rejected:
        raise Failure(f"conclusion {name} but the reference's P is {reference_p!r}")
    TALLY["compared"] += 1
    return f"{design} {hypothesis}"


def make(rng, generators):
    design = rng.choice(("two-sample", "summary", "paired", "fourfold"))
    hypothesis = rng.choice(("non-inferiority", "superiority", "equivalence"))
    better = rng.choice(("higher", "lower"))
    line, data = generators[design](rng)
    alpha_text = rng.choice(("_", "_", "0.025", "0.05", "0.01", "0.1",
                             f"{rng.uniform(0.001, 0.3):.3g}"))
    if rng.random() < 0.04:
        alpha_text = rng.choice(("0", "0.5", "-0.05", "a", "0.7"))
    spread = 1.0 if design == "fourfold" else float(
        max(data[0][1], data[0][4]) if design == "summary" else
        np.std([float(x - data[2]) for x in data[0]]) if design == "two-sample" else
        np.std([float(x - y) for x, y in data[0]])) or 1.0
    margin = rng.uniform(0.005, 0.4) if design == "fourfold" else \
        spread * 10 ** rng.uniform(-1.5, 0.7)
    margin_text = f"{margin:.4g}"
    if rng.random() < 0.04:
        margin_text = rng.choice(("0", "-1", "x", "1", "1.5"))
    alpha = number(DEFAULT_ALPHA[hypothesis] if alpha_text == "_" else alpha_text)
    if design in ("paired", "fourfold") and alpha and 0 < alpha < 0.5 and rng.random() < 0.4:
        # The margin at the interval's bound, where the conclusion turns.
        probe = reference(design, data, None, False, alpha, nulls(hypothesis, better, 0.5))
        if probe is not None:
            (null, above), *_ = nulls(hypothesis, better, 0.5)
            margin = max(map(abs, probe[1])) if hypothesis == "equivalence" else \
                0.5 * probe[1][0 if above else 1] / null
            if margin > 0 and (design != "fourfold" or margin < 1):
                margin_text = f"{margin:.{rng.choice((12, 17))}g}"
                TALLY["margins at the bound"] += 1
    return (f"{design} {hypothesis} {better} {margin_text} {alpha_text} {line}",
            (design, hypothesis, better, margin_text, alpha_text, data))
