"""The rank tests of the report against R (see differential_test.py): wilcox.test(exact = NULL,
correct = TRUE, conf.int = TRUE) for the rank-sum test and, with paired = TRUE, the signed-rank
test; cor.test(method = "spearman"); quantile(type = 6) for the medians and quartiles. Where R
takes the normal approximation (or Spearman's t), SciPy's mannwhitneyu, wilcoxon and spearmanr
must agree too. Everything to 1e-6 relative, but for one thing:

In the normal approximation R finds the Hodges–Lehmann estimate and the bounds of its interval
with uniroot(tol = 1e-4) on a step function of the shift, so its answer lies anywhere within
1e-4 of the step (the program gives the step itself, one of the differences or Walsh averages);
and where the estimate's equation holds on a whole interval (an even number of differences),
anywhere in that interval (the program gives its middle, the median). Those are compared to
that bound.

Below 50 values a group (50 nonzero differences) the program's P is exact given the ties, as
coin's wilcox_test and wilcoxsign_test (zero.method = "Wilcoxon") give it with distribution =
"exact", and its interval is R's exact one written out (the qwilcox or qsignrank quantile of the
ordered differences or Walsh averages), ties or not; R itself would use the normal approximation
with ties.

The references get each group less the data set's offset, subtracted exactly in decimal, and
the paired differences exact; R runs once for a whole run.
"""

import collections
import math
import warnings

import numpy as np
from scipy import stats

from reference_texts import Failure, run_r

RELATIVE = 1e-6
ROOT_TOLERANCE = 1e-4
Z = float(stats.norm.ppf(0.975))

TALLY = collections.Counter()
# (case, kind, x, y, offset, fields) awaiting R; x, y as floats (the differences and zeros for
# the paired test).
PENDING = []

R_SCRIPT = r"""
suppressMessages(library(coin))
lines <- readLines(commandArgs(trailingOnly = TRUE)[1])
numbers <- function(text) if (is.na(text) || nchar(text) == 0) numeric(0) else
  as.numeric(strsplit(text, " ", fixed = TRUE)[[1]])
quartiles <- function(v) if (length(v) == 0) rep(NA, 3) else
  unname(quantile(v, c(0.25, 0.5, 0.75), type = 6))
for (line in lines) {
  parts <- strsplit(line, "\t", fixed = TRUE)[[1]]
  x <- numbers(parts[2]); y <- numbers(parts[3])
  if (parts[1] == "spearman") {
    r <- tryCatch(suppressWarnings(cor.test(x, y, method = "spearman")), error = function(e) NULL)
    values <- if (is.null(r)) c(NA, NA) else c(r$estimate, r$p.value)
  } else {
    paired <- parts[1] == "paired"
    d <- x[x != 0]
    small <- if (paired) length(d) > 0 && length(d) < 50 else
      length(x) < 50 && length(y) < 50 && length(unique(c(x, y))) > 1
    test <- function(ci) suppressWarnings(wilcox.test(x, y, paired = paired, exact = NULL,
                                                      correct = TRUE, conf.int = ci))
    r <- tryCatch(test(TRUE), error = function(e) NULL)
    interval <- !is.null(r)
    if (!interval) r <- tryCatch(test(FALSE), error = function(e) NULL)
    q <- if (paired) quartiles(x - y) else c(quartiles(x), quartiles(y))
    values <- if (is.null(r)) rep(NA, 7) else c(r$statistic, r$p.value,
      grepl("exact", r$method, fixed = TRUE),
      # R's uniroot failing (its search needs a change of sign the tied data may not give) is
      # told apart by a level of -1.
      if (interval) c(r$estimate, r$conf.int, attr(r$conf.int, "conf.level")) else c(NA, NA, NA, -1))
    if (small && !is.null(r) && length(x) > 1 && (paired || length(y) > 1)) {
      # Small samples: P exact given the ties (coin's permutation distribution of the mid-ranks,
      # zeros dropped first), the interval R's exact one by its definition, whatever the ties.
      if (paired) {
        p <- pvalue(wilcoxsign_test(d ~ numeric(length(d)), zero.method = "Wilcoxon",
                                    distribution = "exact"))
        steps <- outer(d, d, "+"); steps <- sort(steps[!lower.tri(steps)]) / 2
        n <- length(d); qu <- qsignrank(0.025, n); if (qu == 0) qu <- 1
        reached <- 2 * psignrank(trunc(qu) - 1, n); top <- n * (n + 1) / 2 - qu
      } else {
        g <- factor(rep(c("x", "y"), c(length(x), length(y))))
        p <- pvalue(wilcox_test(c(x, y) ~ g, distribution = "exact"))
        steps <- sort(outer(x, y, "-"))
        qu <- qwilcox(0.025, length(x), length(y)); if (qu == 0) qu <- 1
        reached <- 2 * pwilcox(trunc(qu) - 1, length(x), length(y))
        top <- length(x) * length(y) - qu
      }
      level <- if (reached - 0.05 > 0.025) 1 - signif(reached, 2) else 0.95
      bounds <- if (min(steps) == max(steps)) c(NA, NA) else c(steps[qu], steps[top + 1])
      values <- c(r$statistic, as.numeric(p), 1, median(steps), bounds, level)
    }
    values <- c(values, q)
  }
  cat(paste(sprintf("%.17g", values), collapse = " "), "\n", sep = "")
}
"""


def method(text):
    """"exact", "normal", "edgeworth" or "t" from the program's name of how P was found."""
    return text.split(" ")[0].lower()


def number(text):
    return float(text) if text else None


def note(case, kind, values, fields):
    """Queues one data set of the rank tests for R."""
    if kind == "two-sample":
        xs, ys, offset = values
        x = [float(v - offset) for v in xs]
        y = [float(v - offset) for v in ys]
    else:
        rows, x_offset, y_offset = values
        if kind == "paired":
            x = [float(a - b) for a, b in rows]
            y = [0.0] * len(rows)
            offset = 0
        else:
            x = [float(a - x_offset) for a, _ in rows]
            y = [float(b - y_offset) for _, b in rows]
            offset = None
    PENDING.append((case, kind, x, y, offset, fields))


def expect_none(name, fields, why):
    if any(fields):
        raise Failure(f"{name}: program gives {fields!r} where there is none ({why})")
    TALLY[f"no {name} ({why})"] += 1


def compare(name, text, reference, absolute=1e-300):
    value = number(text)
    if value is None or abs(value - reference) > max(RELATIVE * abs(reference), absolute):
        raise Failure(f"{name}: program {text!r}, reference {reference!r}")


def compare_quartiles(name, texts, references, offset):
    for label, text, reference in zip(("P25", "median", "P75"), texts, references):
        if math.isnan(reference):
            expect_none(f"{name} {label}", [text], "no values")
            continue
        # The program's value is the whole value; the reference has the offset taken off.
        value = number(text)
        if value is None or abs(value - float(offset) - reference) > \
                RELATIVE * abs(reference) + 1e-9 * (abs(float(offset)) + 1):
            raise Failure(f"{name} {label}: program {text!r}, R {reference!r} + {offset}")
    TALLY["quartiles compared"] += 1


def compare_estimate(name, text, reference, exact, steps):
    """The Hodges–Lehmann estimate: the median of the differences (or Walsh averages)."""
    ordered = np.sort(steps)
    middle = len(ordered) // 2
    low, high = (ordered[middle], ordered[middle]) if len(ordered) % 2 else \
        (ordered[middle - 1], ordered[middle])
    compare(name + " (median)", text, (low + high) / 2, 1e-9)
    if math.isnan(reference):
        # Every difference the same (R's search divides by a σ of 0), or R's uniroot failed:
        # the program's estimate was held to its definition above.
        TALLY["estimate where R has none, held to the median of the differences"] += 1
    elif exact:
        compare(name, text, reference, 1e-9)
    elif not low - ROOT_TOLERANCE * 1.001 <= reference <= high + ROOT_TOLERANCE * 1.001:
        raise Failure(f"{name}: R's uniroot {reference!r} outside the middle step "
                      f"[{low!r}, {high!r}]")


# R's r of ranks in perfect order can be 1 less a rounding error; the program's is exact.
PERFECT = 1 - 1e-12


def compare_interval(name, texts, r, se):
    if abs(r) >= PERFECT:
        expect_none(name + " interval", texts, "r = ±1")
        return
    z = math.atanh(r)
    compare(name + " lower", texts[0], math.tanh(z - Z * se), 1e-12)
    compare(name + " upper", texts[1], math.tanh(z + Z * se), 1e-12)


def check_wilcoxon(kind, x, y, offset, fields, answer):
    paired = kind == "paired"
    statistic, p, exact, estimate, lower, upper, level = answer[:7]
    quartiles = answer[7:]
    if paired:
        n, nonzero = int(fields[0]), int(fields[1])
        compare_quartiles("differences", fields[2:5], quartiles, 0)
        test, effect = fields[5:13], fields[12:15]
        d = np.array([v for v in x if v != 0])
        if n < 2 or nonzero == 0:
            expect_none("signed-rank test", fields[5:], "fewer than 2 pairs or all zero")
            return "signed-rank (none)"
        steps = (d[:, None] + d[None, :])[np.triu_indices(len(d))] / 2
    else:
        n1, n2 = int(fields[0]), int(fields[1])
        compare_quartiles("group 1", fields[2:5], quartiles[:3], offset)
        compare_quartiles("group 2", fields[5:8], quartiles[3:], offset)
        test, effect = fields[8:16], fields[15:19]
        if n1 < 2 or n2 < 2 or len(set(x) | set(y)) == 1:
            expect_none("rank-sum test", fields[8:], "a group under 2 values or all equal")
            return "rank-sum (none)"
        steps = (np.array(x)[:, None] - np.array(y)[None, :]).ravel()
    name = "V" if paired else "W"
    compare(name, test[0], statistic, 1e-12)
    compare("P", test[2], p)
    is_exact = exact == 1
    if (method(test[3]) == "exact") != is_exact:
        raise Failure(f"method: program {test[3]!r}, R {'exact' if is_exact else 'normal'}")
    if not is_exact:
        with warnings.catch_warnings():
            warnings.simplefilter("ignore")
            scipy_p = stats.wilcoxon(x, zero_method="wilcox", correction=True,
                                     method="approx").pvalue if paired else \
                stats.mannwhitneyu(x, y, use_continuity=True, alternative="two-sided",
                                   method="asymptotic").pvalue
        compare("P (SciPy)", test[2], float(scipy_p))
        TALLY["P against SciPy"] += 1
    compare_estimate("Hodges–Lehmann estimate", test[4], estimate, is_exact, steps)
    if level == -1:
        # R's search failed: the program's bounds must be differences (or Walsh averages) either
        # side of its estimate, as its definition has them.
        bounds = [number(t) for t in test[5:7]]
        if None not in bounds:
            low_bound, high_bound = bounds
            ordered = np.sort(steps)
            for bound in bounds:
                if np.min(np.abs(ordered - bound)) > 1e-9 * (abs(bound) + 1):
                    raise Failure(f"Hodges–Lehmann bound {bound!r} is not one of the differences")
            if not low_bound <= number(test[4]) <= high_bound:
                raise Failure(f"Hodges–Lehmann interval {bounds!r} misses the estimate {test[4]!r}")
        TALLY["intervals where R's uniroot failed, held to their definition"] += 1
    elif math.isnan(lower) or level != 0.95:
        expect_none("Hodges–Lehmann interval", test[5:7], "R gives none at 95%")
    elif is_exact:
        compare("Hodges–Lehmann lower", test[5], lower, 1e-9)
        compare("Hodges–Lehmann upper", test[6], upper, 1e-9)
        TALLY["exact intervals compared"] += 1
    else:
        # R's uniroot stops within its tolerance of the step, the program gives the step.
        for name, text, reference in (("lower", test[5], lower), ("upper", test[6], upper)):
            compare("Hodges–Lehmann " + name, text, reference, ROOT_TOLERANCE * 1.000001)
        TALLY["uniroot intervals compared"] += 1
    if paired:
        m = len(d)
        count = m * (m + 1) / 2
        r = (2 * statistic - count) / count
        se = math.sqrt((2 * m**3 + 3 * m**2 + m) / 6) / count
        compare("rank-biserial r", effect[0], r, 1e-12)
        compare_interval("rank-biserial", effect[1:3], r, se)
    else:
        count = n1 * n2
        compare("U/(n1 n2)", effect[0], statistic / count, 1e-12)
        r = 2 * statistic / count - 1
        compare("rank-biserial r", effect[1], r, 1e-12)
        compare_interval("rank-biserial", effect[2:4], r,
                         math.sqrt((n1 + n2 + 1) / (3 * count)))
    TALLY[f"{'signed-rank' if paired else 'rank-sum'} compared"] += 1
    return f"{'signed-rank' if paired else 'rank-sum'} {'exact' if is_exact else 'normal'}"


def check_spearman(x, y, fields, answer):
    n = int(fields[0])
    rho, p = answer
    if math.isnan(rho):
        expect_none("Spearman", fields[1:], "fewer than 2 pairs or a constant column")
        return "spearman (none)"
    compare("rs", fields[1], rho, 1e-12)
    if method(fields[3]) == "t" and abs(rho) >= PERFECT and p < 1e-12:
        # Ranks in perfect order with ties: the program's rs is exactly ±1 and t infinite,
        # R's rs a rounding error short of it.
        if fields[2] != "0":
            raise Failure(f"P of a perfect rank order: program {fields[2]!r}, expected 0")
        TALLY["P = 0 of a perfect rank order"] += 1
    else:
        compare("P", fields[2], p)
    tied = len(set(x)) < n or len(set(y)) < n
    rule = "t" if tied or n > 1290 else "exact" if n <= 9 else "edgeworth"
    if method(fields[3]) != rule:
        raise Failure(f"method: program {fields[3]!r}, R's rule {rule!r}")
    if rule == "t" and abs(rho) < PERFECT:
        with warnings.catch_warnings():
            warnings.simplefilter("ignore")
            compare("P (SciPy)", fields[2], float(stats.spearmanr(x, y).pvalue))
        TALLY["P against SciPy"] += 1
    if n < 4:
        expect_none("Spearman interval", fields[4:6], "n < 4")
    else:
        compare_interval("rs", fields[4:6], rho, math.sqrt((1 + rho * rho / 2) / (n - 3)))
    TALLY["Spearman compared"] += 1
    return f"spearman {rule}"


def finish(failed):
    """Runs R once on every queued data set and compares; failed(case, message) for each
    disagreement. Returns how many data sets of each kind were compared."""
    kinds = collections.Counter()
    if not PENDING:
        return kinds
    answers = run_r(R_SCRIPT, ["\t".join((kind, " ".join(map(repr, x)), " ".join(map(repr, y))))
                               for _, kind, x, y, _, _ in PENDING])
    for (case, kind, x, y, offset, fields), answer in zip(PENDING, answers):
        values = [math.nan if v == "NA" else float(v) for v in answer.split(" ")]
        try:
            if kind == "spearman":
                kinds[check_spearman(x, y, fields, values)] += 1
            else:
                kinds[check_wilcoxon(kind, x, y, offset, fields, values)] += 1
        except Failure as failure:
            failed(case, f"{kind}: {failure}")
    PENDING.clear()
    return kinds
