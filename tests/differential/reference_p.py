"""The exact P values of the results report as SciPy computes them from the same inputs, and their
comparison with the program's (see differential_test.py).

Each reference takes what the report takes: the two-sample figures the summary values as typed
or shown in the boxes (the means exact, so their difference is exact before it becomes a double),
but for values typed into the grid the F test and Welch's test the exact values themselves,
the paired and correlation figures the exact sums of the pairs, the count figures the cells. The
test statistics are computed exactly here in rational arithmetic and rounded once to a double;
SciPy's distributions then give the P values. A reference of None means the report shows no
value (a degenerate case), and the program must print none either.

Agreement is to 1e-10 relative or 1e-15 absolute, and, since the report shows a small P with
three significant digits ("2.19E-05"), to 1e-10 relative for every reference down to 1e-300 too.
Below that both libraries lose their relative precision near the underflow of a double (or give
0), and only the absolute bound applies.

Where SciPy is known to be inaccurate, the reference is computed exactly instead:
binomtest (and binom.cdf) give 0 for two-sided P values below about 1e-250 that are far from
underflowing (P = 1.8e-277 for b = 28, c = 1077); there the exact P, 2·Σ C(n, i) / 2ⁿ over
i ≤ min(b, c), is summed in integers.
"""

import collections
import warnings
from decimal import Decimal, localcontext
from fractions import Fraction

from scipy import stats

from reference_texts import Failure

P_RELATIVE = 1e-10
P_ABSOLUTE = 1e-15
RELATIVE_DOWN_TO = 1e-300

# How many P values were compared, and how: printed with the run's summary.
TALLY = collections.Counter()


def agrees(value, reference):
    difference = abs(value - reference)
    if difference <= P_RELATIVE * abs(reference):
        return True
    return difference <= P_ABSOLUTE and abs(reference) < RELATIVE_DOWN_TO


def check_p(field, program_text, reference):
    """The program's full-precision value must agree with the reference (see above), or both
    must be missing."""
    if reference is None or program_text == "":
        if reference is None and program_text == "":
            TALLY["none in both"] += 1
            return
        raise Failure(f"{field}: program gives {program_text or 'no value'}, scipy "
                      f"{'no value' if reference is None else repr(reference)}")
    value = float(program_text)
    TALLY["compared"] += 1
    if abs(reference) < 1e-15:
        TALLY["below 1e-15"] += 1
    if abs(reference) < RELATIVE_DOWN_TO:
        TALLY["below 1e-300"] += 1
    if not agrees(value, reference):
        raise Failure(f"{field}: program gives {value!r}, scipy {reference!r} "
                      f"(difference {abs(value - reference):.3g})")


def square_root(fraction):
    """The double nearest to the square root of a non-negative fraction."""
    with localcontext() as context:
        context.prec = 40
        return float((Decimal(fraction.numerator) / Decimal(fraction.denominator)).sqrt())


def two_sided_t(t_squared, df):
    """2·P(T ≥ |t|) for Student's t with df degrees of freedom, from the exact t²."""
    return float(2 * stats.t.sf(square_root(t_squared), df))


def chi_square_p(chi_square):
    return float(stats.chi2.sf(float(chi_square), 1))


# ---- Two samples, from the six summary values (Decimals) ----

def two_sample_p(m1, s1, n1, m2, s2, n2):
    """The pooled t P, the F test P, Welch's P and Welch's df, each None where the report has
    none."""
    none = {"p": None, "f": None, "welch": None, "welch df": None}
    if s1 < 0 or s2 < 0 or n1 < 1 or n2 < 1 or n1 % 1 or n2 % 1:
        return none
    result = dict(none)
    difference = float(m1 - m2)  # exact, then one rounding, as the program has it
    if n1 + n2 - 2 >= 1 and not (s1 * (n1 - 1) == 0 and s2 * (n2 - 1) == 0):
        result["p"] = float(stats.ttest_ind_from_stats(difference, float(s1), float(n1), 0.0,
                                                       float(s2), float(n2),
                                                       equal_var=True).pvalue)
    if n1 < 2 or n2 < 2:
        return result
    v1, v2 = Fraction(s1) ** 2, Fraction(s2) ** 2
    if v1 != 0 and v2 != 0:
        # As R's var.test: the first group's variance over the second's, 2·min of the two tails.
        f, df1, df2 = float(v1 / v2), float(n1 - 1), float(n2 - 1)
        result["f"] = min(1.0, 2 * min(float(stats.f.cdf(f, df1, df2)),
                                       float(stats.f.sf(f, df1, df2))))
    share1, share2 = v1 / int(n1), v2 / int(n2)
    if share1 + share2 != 0:
        result["welch df"] = float((share1 + share2) ** 2 /
                                   (share1 ** 2 / int(n1 - 1) + share2 ** 2 / int(n2 - 1)))
        result["welch"] = float(stats.ttest_ind_from_stats(difference, float(s1), float(n1), 0.0,
                                                           float(s2), float(n2),
                                                           equal_var=False).pvalue)
    return result


def exact_moments(values):
    """n, the mean and the variance (Fractions) of exact values (Decimals)."""
    scaled_values = [scaled(value) for value in values]
    n, total = len(scaled_values), sum(scaled_values)
    centred = n * sum(v * v for v in scaled_values) - total * total  # n(n − 1) S², in 10^-8
    variance = Fraction(centred, n * (n - 1) * 10**8) if n > 1 else Fraction(0)
    return n, Fraction(total, n * 10**4), variance


def two_sample_p_from_values(xs, ys):
    """The F test's P, Welch's P and Welch's df from the two groups' exact values."""
    result = {"f": None, "welch": None, "welch df": None}
    (n1, mean1, v1), (n2, mean2, v2) = exact_moments(xs), exact_moments(ys)
    if n1 < 2 or n2 < 2:
        return result
    if v1 != 0 and v2 != 0:
        f, df1, df2 = float(v1 / v2), float(n1 - 1), float(n2 - 1)
        result["f"] = min(1.0, 2 * min(float(stats.f.cdf(f, df1, df2)),
                                       float(stats.f.sf(f, df1, df2))))
    share1, share2 = v1 / n1, v2 / n2
    if share1 + share2 != 0:
        df = float((share1 + share2) ** 2 / (share1 ** 2 / (n1 - 1) + share2 ** 2 / (n2 - 1)))
        result["welch df"] = df
        result["welch"] = two_sided_t((mean1 - mean2) ** 2 / (share1 + share2), df)
    return result


def check_two_sample_p(fields, summaries, values=None):
    """fields: the program's P, F-P, Welch-P and Welch-df; summaries: the six box values;
    values: the two groups' exact values where the grid holds them."""
    reference = two_sample_p(*summaries)
    if values is not None:
        reference.update(two_sample_p_from_values(*values))
    for field, text in zip(("p", "f", "welch", "welch df"), fields):
        check_p(f"report {field}", text, reference[field])


# ---- Pairs, from the exact values (Decimals) ----

def scaled(value):
    return int(value.scaleb(4))


def paired_p(rows):
    n = len(rows)
    d = [scaled(x) - scaled(y) for x, y in rows]
    total = sum(d)
    centred = n * sum(v * v for v in d) - total * total  # n(n − 1) times the variance
    if n < 2 or centred == 0:
        return None
    # t² = d̄² / (Sd² / n) = (Σd)² (n − 1) / (nΣd² − (Σd)²)
    return two_sided_t(Fraction(total * total * (n - 1), centred), n - 1)


def correlation_p(n, sxx, syy, sxy):
    """From the centred sums n·Σx² − (Σx)² and so on."""
    unexplained = sxx * syy - sxy * sxy
    if n < 3 or sxx == 0 or syy == 0:
        return None
    if unexplained == 0:
        return 0.0  # |r| = 1: t is infinite, P is 0
    return two_sided_t(Fraction((n - 2) * sxy * sxy, unexplained), n - 2)


# ---- Counts ----

def fourfold_p(a, b, c, d):
    """Plain chi-square P, corrected chi-square P and Fisher's exact two-sided P."""
    n = a + b + c + d
    product = (a + b) * (c + d) * (a + c) * (b + d)
    if product == 0:
        # With a margin of 0 only the observed table is possible: Fisher's P is 1 (R's
        # fisher.test), unless the table is empty.
        return None, None, (1.0 if n > 0 else None)
    difference = abs(a * d - b * c)
    plain = chi_square_p(Fraction(n * difference * difference, product))
    corrected = chi_square_p(n * max(Fraction(0), difference - Fraction(n, 2)) ** 2 / product)
    fisher = float(stats.fisher_exact([[a, b], [c, d]]).pvalue)
    return plain, corrected, fisher


def mcnemar_p(b, c):
    """McNemar's chi-square P (corrected below b + c = 40) and the exact binomial P."""
    discordant = b + c
    if discordant == 0:
        return None, None
    difference = abs(b - c)
    if discordant < 40:
        difference = max(0, difference - 1)
    chi_square = chi_square_p(Fraction(difference * difference, discordant))
    with warnings.catch_warnings():
        # Deep in the tail SciPy's binomial probabilities underflow, with a warning.
        warnings.simplefilter("ignore", RuntimeWarning)
        exact = float(stats.binomtest(min(b, c), discordant, 0.5).pvalue)
    if exact < BINOMTEST_RELIABLE_DOWN_TO:
        exact = exact_binomial_p(min(b, c), discordant)
        TALLY["exact binomial references"] += 1
    return chi_square, exact


BINOMTEST_RELIABLE_DOWN_TO = 1e-200


def exact_binomial_p(k, n):
    """min(1, 2·P(X ≤ k)) for X binomial with n trials and p = 1/2, in integers."""
    term, total = 1, 1  # C(n, 0)
    for i in range(k):
        term = term * (n - i) // (i + 1)
        total += term
    return min(1.0, float(Fraction(2 * total, 2 ** n)))

