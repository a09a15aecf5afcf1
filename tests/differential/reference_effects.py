"""The effect sizes and absolute effects of the results report, from independent references, and
their comparison with the program's (see differential_test.py). The driver appends them to each
analysis's fields; each reference takes the same inputs as the program's figures.

  two-sample: d, its noncentral-t interval, J(ν) and g, from the exact values of the groups;
  summary:   the same from the summary boxes;
  paired:    dz and its interval, from the exact differences;
  fourfold:  the two risks, RD with Newcombe's hybrid score interval
             (statsmodels' confint_proportions_2indep, method "newcomb") and NNT = 1/|RD| with
             the ends of its interval;
  mcnemar:   the paired difference (b − c)/n with Newcombe's interval for paired data (written
             here from the paper's formula, on statsmodels' Wilson intervals), the matched odds
             ratio b/c with the bounds of SciPy's Clopper–Pearson interval of b/(b + c), and the
             mid-P, 2·[P(X ≤ k) − ½P(X = k)], k = min(b, c), X ~ Bin(b + c, ½).

The noncentral-t interval: the λ with P(T ≤ t; ν, λ) = 0.975 and 0.025, over √(n1n2/(n1+n2)) or
√n. R's pt finds them (tests/differential/noncentral_t.R, one Rscript run for all data sets)
where it computes the distribution exactly, |λ| ≤ 37.62. Beyond it R approximates, and the
reference is the program's own λ after one Newton step on the defining integral
P(T ≤ t) = E[Φ(t·S − λ)], S = √(χ²ν/ν), integrated here with quad from the normal and chi
densities: a λ off by δ comes back corrected by δ, up to δ². The program gives no interval
beyond |t| = 500, nor may the reference.

Agreement is to 1e-6 relative, with an absolute floor at the references' own accuracy: 1e-9 for
the bounds of d, g and dz (R's pt is good to about 1e-12 in probability) and 1e-12 for the
proportions. NNT bounds are compared as their reciprocals, in RD's units. The mid-P is a P value
and is held to the P values' 1e-10 (reference_p.check_p).
"""

import collections
import math
import os
import shutil
import subprocess
import warnings
from decimal import Decimal, localcontext
from fractions import Fraction

from scipy import stats
from scipy.integrate import quad
from statsmodels.stats.proportion import confint_proportions_2indep, proportion_confint

from reference_p import check_p, exact_binomial_p, exact_moments, BINOMTEST_RELIABLE_DOWN_TO
from reference_texts import Failure

RELATIVE = 1e-6
EFFECT_FLOOR = 1e-9
PROPORTION_FLOOR = 1e-12
LARGEST_T = 500
R_EXACT_UP_TO = 37.5  # R's pt is exact for |λ| ≤ 37.62
R_SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "noncentral_t.R")

# How the effect figures were compared: printed with the run's summary.
EFFECT_TALLY = collections.Counter()


def compare(field, text, reference, floor):
    if reference is None or text == "":
        if reference is None and text == "":
            return
        raise Failure(f"{field}: program gives {text or 'no value'}, reference "
                      f"{'no value' if reference is None else repr(reference)}")
    value = float(text)
    EFFECT_TALLY["compared"] += 1
    if abs(value - reference) > RELATIVE * abs(reference) + floor:
        raise Failure(f"{field}: program gives {value!r}, reference {reference!r} "
                      f"(difference {abs(value - reference):.3g})")


def decimal_sqrt(fraction):
    with localcontext() as context:
        context.prec = 40
        return (Decimal(fraction.numerator) / Decimal(fraction.denominator)).sqrt()


# ---- Standardised differences ----

def hedges_j(df):
    return math.exp(math.lgamma(df / 2) - 0.5 * math.log(df / 2) - math.lgamma((df - 1) / 2))


class Standardised:
    """An effect size e = t / scale on ν degrees of freedom, and its interval's reference."""

    def __init__(self, estimate, scale, df):
        self.estimate, self.scale, self.df = estimate, scale, df
        self.t = estimate * scale
        self.limits = None  # λ of the two bounds from R, where R computes them exactly

    def needs_interval(self):
        return abs(self.t) <= LARGEST_T


def two_sample_standardised(m1, s1, n1, m2, s2, n2):
    """d from the six summary values (Decimals) as the report reads them, or None."""
    if s1 < 0 or s2 < 0 or n1 < 1 or n2 < 1 or n1 % 1 or n2 % 1 or n1 + n2 - 2 < 1:
        return None
    df = int(n1 + n2 - 2)
    pooled = (Fraction(s1) ** 2 * int(n1 - 1) + Fraction(s2) ** 2 * int(n2 - 1)) / df
    if pooled == 0:
        return None
    with localcontext() as context:
        context.prec = 40
        d = float((m1 - m2) / decimal_sqrt(pooled))
        scale = float((Decimal(int(n1 * n2)) / Decimal(int(n1 + n2))).sqrt())
    return Standardised(d, scale, df)


def two_sample_standardised_from_values(xs, ys):
    """d from the two groups' exact values (Decimals), or None."""
    (n1, mean1, v1), (n2, mean2, v2) = (exact_moments(values) for values in (xs, ys))
    if n1 + n2 - 2 < 1:
        return None
    df = n1 + n2 - 2
    pooled = (v1 * (n1 - 1) + v2 * (n2 - 1)) / df
    if pooled == 0:
        return None
    with localcontext() as context:
        context.prec = 40
        difference = Decimal((mean1 - mean2).numerator) / Decimal((mean1 - mean2).denominator)
        d = float(difference / decimal_sqrt(pooled))
        scale = float((Decimal(n1 * n2) / Decimal(n1 + n2)).sqrt())
    return Standardised(d, scale, df)


def paired_standardised(rows):
    """dz from the exact differences (in ten-thousandths), or None."""
    n = len(rows)
    d = [int(x.scaleb(4)) - int(y.scaleb(4)) for x, y in rows]
    total = sum(d)
    centred = n * sum(v * v for v in d) - total * total  # n(n − 1) times the variance
    if n < 2 or centred == 0:
        return None
    with localcontext() as context:
        context.prec = 40
        # dz = (Σd/n) / √(centred / (n(n − 1))) = Σd · √((n − 1) / (n · centred))
        dz = float(Decimal(total) * decimal_sqrt(Fraction(n - 1, n * centred)))
    return Standardised(dz, math.sqrt(n), n - 1)


def r_limits(effects):
    """Fills in R's λ limits of every effect that has an interval, in one Rscript run."""
    wanted = [e for e in effects if e is not None and e.needs_interval()]
    if not wanted:
        return
    rscript = shutil.which("Rscript") or "/usr/bin/Rscript"
    run = subprocess.run([rscript, R_SCRIPT], capture_output=True, text=True, check=True,
                         input="".join(f"{e.t!r} {e.df}\n" for e in wanted))
    lines = run.stdout.split("\n")[:-1]
    if len(lines) != len(wanted):
        raise SystemExit(f"Rscript answered {len(lines)} lines for {len(wanted)} intervals")
    for effect, line in zip(wanted, lines):
        effect.limits = tuple(float(word) for word in line.split())


def noncentral_cdf_and_slope(t, df, lam):
    """P(T ≤ t; df, λ) = E[Φ(t·S − λ)] and its derivative in λ, −E[φ(t·S − λ)], integrated over
    the density of S = √(χ²df / df)."""
    root = math.sqrt(df)
    log_constant = (df / 2 - 1) * math.log(2) + math.lgamma(df / 2)

    def density(s):
        x = s * root
        return math.exp((df - 1) * math.log(x) - x * x / 2 - log_constant) * root if x > 0 else 0.0

    low = float(stats.chi.ppf(1e-18, df)) / root
    high = float(stats.chi.isf(1e-18, df)) / root
    points = [p for p in (lam / t if t else None, math.sqrt((df - 1) / df)) if p and low < p < high]
    options = dict(points=sorted(points) or None, epsabs=1e-15, epsrel=1e-13, limit=1000)
    cdf = quad(lambda s: 0.5 * math.erfc((lam - t * s) / math.sqrt(2)) * density(s), low, high,
               **options)[0]
    slope = -quad(lambda s: math.exp(-(t * s - lam) ** 2 / 2) / math.sqrt(2 * math.pi) *
                  density(s), low, high, **options)[0]
    return cdf, slope


def check_standardised(name, texts, effect, correction=1.0):
    """texts: estimate, lower, upper as the program prints them; correction: J for g."""
    estimate, lower, upper = texts
    if effect is None:
        for field, text in zip(("", " lower", " upper"), texts):
            compare(name + field, text, None, 0)
        return
    compare(name, estimate, correction * effect.estimate, 0)
    if not effect.needs_interval():
        compare(name + " lower", lower, None, 0)
        compare(name + " upper", upper, None, 0)
        return
    for field, text, target, index in ((" lower", lower, 0.975, 0), (" upper", upper, 0.025, 1)):
        if text == "":
            raise Failure(f"{name}{field}: program gives no value, |t| = {abs(effect.t):.6g}")
        program_lambda = float(text) / correction * effect.scale
        r_lambda = effect.limits[index]
        if max(abs(r_lambda), abs(program_lambda)) <= R_EXACT_UP_TO:
            reference = r_lambda
            EFFECT_TALLY["interval bounds against R"] += 1
        else:
            cdf, slope = noncentral_cdf_and_slope(effect.t, effect.df, program_lambda)
            reference = program_lambda - (cdf - target) / slope
            EFFECT_TALLY["interval bounds against the integral"] += 1
        compare(name + field, text, correction * reference / effect.scale, EFFECT_FLOOR)


def check_two_sample_effects(texts, effect):
    """texts: d, d-lower, d-upper, J, g, g-lower, g-upper."""
    check_standardised("d", texts[0:3], effect)
    if effect is None or effect.df < 2:
        compare("J", texts[3], None, 0)
        check_standardised("g", texts[4:7], None)
        return
    j = hedges_j(effect.df)
    compare("J", texts[3], j, 0)
    check_standardised("g", texts[4:7], effect, j)


# ---- Proportions ----

def fourfold_effects(a, b, c, d):
    """risk1, risk2, RD, lower, upper, NNT, NNTB end, NNTH end, far end (None where none)."""
    risk1 = Fraction(a, a + b) if a + b else None
    risk2 = Fraction(c, c + d) if c + d else None
    if risk1 is None or risk2 is None:
        return [None if r is None else float(r) for r in (risk1, risk2)] + [None] * 7
    lower, upper = (float(v) for v in confint_proportions_2indep(
        a, a + b, c, c + d, method="newcomb", compare="diff"))
    difference = risk1 - risk2
    crosses = lower < 0 < upper
    far = None if crosses else (lower if lower >= 0 else upper)
    # NNT figures as their reciprocals (RD units): 1/NNT.
    return [float(risk1), float(risk2), float(difference), lower, upper,
            abs(float(difference)) if difference else None,
            upper if upper > 0 else None,
            -lower if lower < 0 else None,
            abs(far) if far else None]


def check_fourfold_effects(texts, cells):
    reference = fourfold_effects(*cells)
    names = ("risk1", "risk2", "RD", "RD lower", "RD upper", "NNT", "NNTB end", "NNTH end",
             "NNT far end")
    for i, (name, text, value) in enumerate(zip(names, texts, reference)):
        if i >= 5 and text != "":
            text = repr(1 / float(text))  # the program's NNT figures, as 1/NNT
        compare(name, text, value, PROPORTION_FLOOR)


def paired_proportion_effects(a, b, c, d):
    """(b − c)/n with Newcombe's paired interval (method 10), written from the paper."""
    n = a + b + c + d
    if n == 0:
        return None, None, None
    p1, p2 = (a + b) / n, (a + c) / n
    l1, u1 = proportion_confint(a + b, n, alpha=0.05, method="wilson")
    l2, u2 = proportion_confint(a + c, n, alpha=0.05, method="wilson")
    margins = (a + b) * (c + d) * (a + c) * (b + d)
    cross = a * d - b * c
    corrected = Fraction(cross) - Fraction(n, 2) if cross > Fraction(n, 2) else \
        (cross if cross < 0 else 0)
    phi = float(corrected) / math.sqrt(margins) if margins else 0.0
    theta = (b - c) / n
    delta = math.sqrt(max(0.0, (p1 - l1) ** 2 - 2 * phi * (p1 - l1) * (u2 - p2) + (u2 - p2) ** 2))
    epsilon = math.sqrt(max(0.0, (u1 - p1) ** 2 - 2 * phi * (u1 - p1) * (p2 - l2) + (p2 - l2) ** 2))
    return theta, theta - delta, theta + epsilon


def mid_p(b, c):
    k, n = min(b, c), b + c
    with warnings.catch_warnings():
        warnings.simplefilter("ignore", RuntimeWarning)
        p = 2 * (float(stats.binom.cdf(k, n, 0.5)) - 0.5 * float(stats.binom.pmf(k, n, 0.5)))
    if p < BINOMTEST_RELIABLE_DOWN_TO:
        # Deep in the tail, from exact sums: the mid-P is P(X ≤ k) + P(X ≤ k − 1), the mean of
        # the two-sided exact P values at k and at k − 1.
        p = (exact_binomial_p(k, n) + (exact_binomial_p(k - 1, n) if k > 0 else 0.0)) / 2
        EFFECT_TALLY["exact mid-P references"] += 1
    return min(1.0, p)


def check_mcnemar_effects(texts, cells):
    a, b, c, d = cells
    for name, text, value in zip(("paired difference", "lower", "upper"), texts[0:3],
                                 paired_proportion_effects(a, b, c, d)):
        compare(name, text, value, PROPORTION_FLOOR)
    odds, odds_lower, odds_upper, mid = texts[3:7]
    if b + c == 0:
        for name, text in (("OR", odds), ("OR lower", odds_lower), ("OR upper", odds_upper)):
            compare(name, text, None, 0)
        check_p("mid-P", mid, None)
        return
    compare("OR", odds, b / c if c else None, 0)
    interval = stats.binomtest(b, b + c).proportion_ci(confidence_level=0.95, method="exact")
    low, high = float(interval.low), float(interval.high)
    compare("OR lower", odds_lower, low / (1 - low), PROPORTION_FLOOR)
    compare("OR upper", odds_upper, high / (1 - high) if high < 1 else None, PROPORTION_FLOOR)
    check_p("mid-P", mid, mid_p(b, c))


# ---- Per analysis ----

FIELD_COUNTS = {"two-sample": 7, "summary": 7, "paired": 3, "fourfold": 9, "mcnemar": 7}


def prepare(analysis, cases):
    """cases: (data, fields) of every data set. The references that need R, all at once."""
    if analysis not in ("two-sample", "summary", "paired"):
        return [None] * len(cases)
    effects = []
    for data, _ in cases:
        if analysis == "paired":
            effects.append(paired_standardised(data[0]))
        elif analysis == "two-sample":
            effects.append(two_sample_standardised_from_values(data[0], data[1]))
        else:
            try:
                effects.append(two_sample_standardised(*(Decimal(box) for box in data[0])))
            except ArithmeticError:
                effects.append(None)  # an empty box: no test, no effect
    r_limits(effects)
    return effects


def check_effects(analysis, data, fields, prepared):
    texts = fields[-FIELD_COUNTS[analysis]:]
    if analysis in ("two-sample", "summary"):
        check_two_sample_effects(texts, prepared)
    elif analysis == "paired":
        check_standardised("dz", texts, prepared)
    elif analysis == "fourfold":
        check_fourfold_effects(texts, data)
    elif analysis == "mcnemar":
        check_mcnemar_effects(texts, data)
