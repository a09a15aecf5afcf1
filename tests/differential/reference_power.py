"""Sample size and power of the five designs against R, statsmodels and the published formulas
(see differential_test.py), on random plans solved for n or for the power at a typed n. n must
be the reference's to the subject, the power the reference's to 1e-6:

- t tests: n reaches the power and n − 1 does not by R's exact power (power.t.test(strict =
  TRUE) for equal groups and pairs, pwr.t2n.test at n1 and ⌈k·n1⌉), and the power is
  statsmodels' TTestIndPower (ratio n2/n1) and TTestPower too;
- correlation: n = ⌈((z(1−α/2) + z(1−β))/C)² + 3⌉ (Fisher's z). pwr.r.test differs on purpose:
  it turns t's critical value at n − 2 df into a critical r and adds the bias r/(2(n − 1)) to z,
  then iterates; larger n where small n meet a small α, smaller where the bias counts. At α from
  0.001 to 0.1 and a power from 0.5 its n stays within NEAR_PWR_R of ours or two subjects;
- two proportions: Fleiss's pooled approximation and Fleiss, Tytun and Ury's corrected n from
  their formulas, power.prop.test's power for equal groups, the power through statsmodels'
  NormalIndPower, and the plan the four-fold rule calls for in the planned table;
- McNemar: the exact test's power summed here with SciPy's binomial; n is the least from which
  that power stays at or above the target (checked over a window of n well beyond the saw teeth,
  and n − 1 short of it), Connor's n from his formula beside it.

One plan in ten is extreme: α down to its floor of 10⁻⁸ (and below, refused), a power typed in
percent ("90", "92.5%"), a dropout near its cap of 99 % with many decimals (and above, refused), a
ratio k with many decimals or up to 10⁶, a typed n up to 10,000,000, discordant proportions
summing to about 1 (the exact power's saw teeth). The counts must then still be exact, and a plan
must have no count above 10,000,000, or say so.
A third of the plans of two samples, pairs and two proportions are against a margin
(non-inferiority, superiority or equivalence): see reference_margin_plans.py.
R runs once a run: every request is a line of a file Rscript reads.
"""

import collections
import math
import os
import shutil
import subprocess
import tempfile
from decimal import Decimal
from fractions import Fraction

import numpy as np
from scipy import stats
from statsmodels.stats.power import NormalIndPower, TTestIndPower, TTestPower

import reference_margin_plans as margins
from reference_texts import Failure

POWER_TOLERANCE = 1e-6
LARGEST = 10_000_000
TOO_LARGE = "所需样本量超过10,000,000"
TOO_MANY_ENROLLED = "考虑脱落后需纳入的例数超过10,000,000"
REFUSED = {"alpha": "α须不小于0.00000001", "dropout": "脱落率须不小于0%且不超过99%"}
# Beyond the exact power's saw teeth: the n above the plan's checked to keep the power.
STEADY_WINDOW = 400
NEAR_PWR_R = 0.05
DESIGNS = ("two-sample", "paired", "correlation", "proportions", "mcnemar")

TALLY = collections.Counter()
PENDING = []  # (case, R request, check(value))

R_SCRIPT = r"""
suppressMessages(library(pwr))
suppressMessages(library(epiR))
suppressMessages(library(rpact))
# epiR's normal approximations against a margin, n of the treatment group.
epi <- function(f, v, sd = TRUE) {
  if (sd) f(treat = v[1], control = v[2], sd = v[3], delta = v[4], n = NA, power = v[6],
            alpha = v[5], nfractional = TRUE)$n.treat
  else f(treat = v[1], control = v[2], delta = v[4], n = NA, power = v[6], alpha = v[5],
         nfractional = TRUE)$n.treat
}
lines <- readLines(commandArgs(trailingOnly = TRUE)[1])
for (line in lines) {
  w <- strsplit(line, " ", fixed = TRUE)[[1]]
  v <- as.numeric(w[-1])
  value <- tryCatch(switch(w[1],
    t2n = pwr.t2n.test(n1 = v[1], n2 = v[2], d = v[3], sig.level = v[4])$power,
    ttwo = power.t.test(n = v[1], delta = v[2], sd = 1, sig.level = v[3], strict = TRUE)$power,
    tpaired = power.t.test(n = v[1], delta = v[2], sd = 1, sig.level = v[3], type = "paired",
                           strict = TRUE)$power,
    propp = power.prop.test(n = v[1], p1 = v[2], p2 = v[3], sig.level = v[4])$power,
    rn = pwr.r.test(r = v[1], sig.level = v[2], power = v[3])$n,
    rpm = {r <- getSampleSizeMeans(thetaH0 = v[1], alternative = v[2], stDev = v[3],
                                   alpha = v[4], beta = 1 - v[5], sided = 1, groups = v[6],
                                   allocationRatioPlanned = v[7])
           if (v[6] == 1) r$nFixed else r$nFixed1},
    rpr = getSampleSizeRates(thetaH0 = v[1], pi1 = v[2], pi2 = v[3], alpha = v[4],
                             beta = 1 - v[5], sided = 1, allocationRatioPlanned = v[6])$nFixed1,
    ssninfc = epi(epi.ssninfc, v), sssupc = epi(epi.sssupc, v), ssequc = epi(epi.ssequc, v),
    ssninfb = epi(epi.ssninfb, v, FALSE), sssupb = epi(epi.sssupb, v, FALSE),
    ssequb = epi(epi.ssequb, v, FALSE)),
    error = function(e) NA)
  cat(sprintf("%.17g\n", value))
}
"""


def z(p):
    """The upper p point of the standard normal distribution."""
    return float(stats.norm.isf(p))


def pick(rng, *choices):
    return rng.choice(choices)


def decimal_text(value, decimals):
    return f"{Decimal(round(value * 10 ** decimals)).scaleb(-decimals):f}"


def make(rng):
    design = rng.choice(DESIGNS)
    alpha = pick(rng, "0.05", "0.05", "0.01", "0.1", "0.001",
                 decimal_text(rng.uniform(0.001, 0.5), 3))
    alpha = alpha if float(alpha) > 0 else "0.05"
    low = float(alpha) + 0.01
    power = pick(rng, "0.80", "0.8", "0.9", "0.95", decimal_text(rng.uniform(low, 0.99), 2),
                 decimal_text(rng.uniform(low, 0.999), 3))
    if float(power) <= float(alpha):
        power = "0.9"
    dropout = pick(rng, "0", "0", "10", "20", "5.5", decimal_text(rng.uniform(0, 60), 1))
    solve = "power" if rng.random() < 0.2 else "n"
    boxes = {"alpha": alpha, "power": power, "dropout": dropout}
    if design == "two-sample":
        decimals = rng.randint(0, 3)
        sd = max(10 ** -decimals, round(10 ** rng.uniform(-1, 2), decimals))
        # Now and then an effect too small for 10,000,000 a group.
        d = 1e-4 if rng.random() < 0.02 else 10 ** rng.uniform(-1.3, 0.5) * pick(rng, 1, -1)
        mean1 = decimal_text(rng.uniform(-100, 100), decimals)
        mean2 = decimal_text(float(mean1) + d * sd, decimals)
        if mean2 == mean1:
            mean2 = decimal_text(float(mean1) + 10 ** -decimals, decimals)
        boxes.update(mean1=mean1, mean2=mean2,
                     sd=decimal_text(sd, decimals),
                     ratio=pick(rng, "1", "1", "1", "2", "0.5", "1.5", "3", "0.25",
                                decimal_text(rng.uniform(0.2, 5), 2)))
    elif design == "paired":
        decimals = rng.randint(0, 3)
        sd = max(10 ** -decimals, round(10 ** rng.uniform(-1, 2), decimals))
        difference = max(10 ** -decimals, 10 ** rng.uniform(-1.3, 0.5) * sd)
        boxes.update(meandiff=decimal_text(difference * pick(rng, 1, -1), decimals),
                     sddiff=decimal_text(sd, decimals))
    elif design == "correlation":
        boxes["r"] = decimal_text(10 ** rng.uniform(-1.5, -0.02) * pick(rng, 1, -1), 3)
    elif design == "proportions":
        decimals = rng.choice((2, 3))
        p1 = decimal_text(rng.uniform(0.01, 0.99), decimals)
        p2 = float(p1) + rng.uniform(0.03, 0.5) * pick(rng, 1, -1)
        p2 = decimal_text(p2 if 0.005 <= p2 <= 0.995 else 1 - p2 if 0.005 <= 1 - p2 <= 0.995
                          else float(p1) / 2, 3)
        boxes.update(p1=p1, p2=p2, ratio=pick(rng, "1", "1", "1", "2", "0.5", "3",
                                              decimal_text(rng.uniform(0.2, 5), 1)))
    else:
        psi = rng.uniform(0.05, 0.9)
        share = rng.uniform(0.55, 0.95) if rng.random() < 0.5 else rng.uniform(0.05, 0.45)
        boxes.update(p10=decimal_text(psi * share, 3), p01=decimal_text(psi * (1 - share), 3))
    if design in ("two-sample", "paired", "proportions") and rng.random() < 0.35:
        margins.add_margin(rng, design, boxes)
    if solve == "power":
        least = {"two-sample": 2, "paired": 2, "correlation": 4}.get(design, 1)
        boxes["n"] = str(int(round(math.exp(rng.uniform(math.log(least), math.log(3000))))))
    if rng.random() < 0.1:
        extreme(rng, design, solve, boxes)
    line = f"{design} {solve} " + " ".join(f"{k}={v}" for k, v in boxes.items())
    return line, (design, solve, boxes)


def extreme(rng, design, solve, boxes):
    """Pushes one box of a plan to its extreme."""
    box = rng.choice(("alpha", "power", "dropout", "ratio", "n", "discordant"))
    if box == "alpha":
        alpha = pick(rng, "0.00000001", ".0000001", ".05", "0.000000005")
        boxes["alpha"] = alpha
        if float(boxes["power"].rstrip("%")) <= float(alpha):
            boxes["power"] = "0.9"
    elif box == "power" and solve == "n":
        boxes["power"] = pick(rng, "90", "90%", "92.5%", "80%", decimal_text(rng.uniform(51, 99.9), 1))
    elif box == "dropout":
        boxes["dropout"] = pick(rng, "99", "98.99999999", "10%", "0.000000000001", "99.0001",
                                decimal_text(rng.uniform(90, 99), 6))
    elif box == "ratio" and "ratio" in boxes:
        boxes["ratio"] = pick(rng, "1000000", "0.000001", "1.000000000000001", "0.3333333333333333",
                              decimal_text(10 ** rng.uniform(-6, 6), 9))
    elif box == "n" and solve == "power":
        boxes["n"] = str(int(10 ** rng.uniform(5, 7)))
    elif box == "discordant" and design == "mcnemar":
        p10 = rng.uniform(0.52, 0.95)
        boxes.update(p10=decimal_text(p10, 3), p01=decimal_text(1 - p10 - pick(rng, 0, 0.001, 0.01),
                                                                 3))


# ---- The program's fields ----

def number(text):
    return float(text) if text else None


def close(field, value, reference, tolerance=POWER_TOLERANCE):
    if value is None or reference is None or not abs(value - reference) <= tolerance:
        raise Failure(f"{field}: program {value!r}, reference {reference!r}")


def proportion(text):
    """A power as the window reads it: above 1 or with "%", in percent."""
    value = Fraction(text.rstrip("%").strip())
    return float(value / 100 if text.endswith("%") or value > 1 else value)


def percent(text):
    return Fraction(text.rstrip("%").strip())


def second_group(ratio, n1):
    return max(1, math.ceil(Fraction(ratio) * n1))


def enrolled(n, dropout):
    return math.ceil(Fraction(n) * 100 / (100 - percent(dropout)))


def check_counts(design, boxes, fields):
    """n2, the totals and the enrolled counts from n1, exactly."""
    n1 = int(fields[0])
    two = design in ("two-sample", "proportions")
    n2 = second_group(boxes["ratio"], n1) if two else None
    dropout = boxes["dropout"]
    enrolled2 = enrolled(n2, dropout) if two else None
    expected = [n1, n2, n1 + (n2 or 0), enrolled(n1, dropout), enrolled2,
                enrolled(n1, dropout) + (enrolled2 or 0)]
    shown = [int(float(text)) if text else None for text in fields[:6]]
    if shown != expected:
        raise Failure(f"counts: program {shown}, reference {expected}")
    if expected[2] > LARGEST or expected[5] > LARGEST:
        raise Failure(f"counts beyond 10,000,000: {expected}")
    return n1, n2


def holds(field, test, words):
    """A check of an answer of R."""
    def check_value(value):
        if not test(value):
            raise Failure(f"{field}: R gives {value!r}, {words}")
    return check_value


# ---- The references ----

def fisher_z(r, alpha, power):
    c = math.atanh(r)
    return ((z(alpha / 2) + z(1 - power)) / c) ** 2 + 3


def fisher_z_power(r, n, alpha):
    shift = abs(math.atanh(r)) * math.sqrt(n - 3)
    return float(stats.norm.cdf(shift - z(alpha / 2)) + stats.norm.cdf(-shift - z(alpha / 2)))


def fleiss(p1, p2, k, alpha, power):
    """Fleiss's n1 with the pooled variance under H0, and Fleiss, Tytun and Ury's correction."""
    pooled = (p1 + k * p2) / (1 + k)
    root = z(alpha / 2) * math.sqrt(pooled * (1 - pooled) * (1 + 1 / k)) + \
        z(1 - power) * math.sqrt(p1 * (1 - p1) + p2 * (1 - p2) / k)
    n = root ** 2 / (p1 - p2) ** 2
    corrected = n / 4 * (1 + math.sqrt(1 + 2 * (k + 1) / (k * n * abs(p1 - p2)))) ** 2
    return n, corrected


def proportion_power(p1, p2, n1, n2, alpha, corrected):
    """Fleiss's power at n1 and n2 through statsmodels' normal power: the pooled spread under H0
    moves the critical value, the spread under H1 scales the effect."""
    pooled = (n1 * p1 + n2 * p2) / (n1 + n2)
    null = math.sqrt(pooled * (1 - pooled) * (1 / n1 + 1 / n2))
    alternative = math.sqrt(p1 * (1 - p1) / n1 + p2 * (1 - p2) / n2)
    difference = abs(p1 - p2) - ((1 / n1 + 1 / n2) / 2 if corrected else 0)
    effect = difference / alternative * math.sqrt(1 / n1 + 1 / n2)
    shifted_alpha = float(stats.norm.sf(z(alpha / 2) * null / alternative))
    return float(NormalIndPower().power(effect, n1, shifted_alpha, ratio=n2 / n1,
                                        alternative="larger"))


def rule_corrects(p1, p2, n1, n2):
    """The main window's four-fold rule on the planned table (cells held to four decimals):
    n below 40 or an expected count below 5 calls for the corrected or the exact test."""
    cells = [Fraction(Decimal(v).quantize(Decimal("0.0001"))) for v in
             (n1 * p1, n1 * (1 - p1), n2 * p2, n2 * (1 - p2))]
    a, b, c, d = cells
    n = a + b + c + d
    expected = [(a + b) * (a + c) / n, (a + b) * (b + d) / n, (c + d) * (a + c) / n,
                (c + d) * (b + d) / n]
    return round(n) < 40 or min(expected) < 5, min(abs(e - 5) for e in expected) < Fraction(1, 1000)


def connor(p10, p01, alpha, power):
    psi, delta = p10 + p01, p10 - p01
    return (z(alpha / 2) * math.sqrt(psi) + z(1 - power) * math.sqrt(psi - delta ** 2)) ** 2 / \
        delta ** 2


def connor_power(p10, p01, n, alpha):
    psi, delta = p10 + p01, p10 - p01
    return float(stats.norm.cdf((abs(delta) * math.sqrt(n) - z(alpha / 2) * math.sqrt(psi)) /
                                math.sqrt(psi - delta ** 2)))


def exact_mcnemar_powers(p10, p01, sizes, alpha):
    """Σ over m ~ Binomial(n, ψ) of P(the two-sided binomial test of b ~ Binomial(m, p10/ψ)
    against ½ rejects at α), for each n of `sizes`."""
    psi = p10 + p01

    def reach(n):
        """Binomial(n, ψ) beyond 15 standard deviations (and 40) holds nothing a double keeps."""
        spread = 15 * math.sqrt(n * psi * max(0.0, 1 - psi)) + 40
        return max(0, math.floor(n * psi - spread)), min(n, math.ceil(n * psi + spread))

    first = reach(min(sizes))[0]
    m = np.arange(first, reach(max(sizes))[1] + 1)
    # The largest c with 2·P(b ≤ c) ≤ α under ½, −1 where there is none.
    c = stats.binom.ppf(alpha / 2, m, 0.5).astype(np.int64)
    c = np.where(2 * stats.binom.cdf(c, m, 0.5) <= alpha, c, c - 1)
    c = np.where(2 * stats.binom.cdf(c + 1, m, 0.5) <= alpha, c + 1, c)
    share = p10 / psi
    reject = np.where(c >= 0, stats.binom.cdf(c, m, share) + stats.binom.sf(m - c - 1, m, share),
                      0.0)
    powers = []
    for n in sizes:
        low, high = reach(n)
        with np.errstate(divide="ignore"):
            weight = stats.binom.pmf(m[low - first:high - first + 1], n, min(psi, 1.0))
        powers.append(float(np.sum(weight * reject[low - first:high - first + 1])))
    return powers


def exact_mcnemar_power(p10, p01, n, alpha):
    return exact_mcnemar_powers(p10, p01, [n], alpha)[0]


def ask_r(case, request, check):
    PENDING.append((case, request, check))


# ---- The checks ----

def refusal(boxes):
    """The reason the window gives for a box beyond its limits, if any."""
    if float(boxes["alpha"]) < 1e-8:
        return REFUSED["alpha"]
    if percent(boxes["dropout"]) > 99:
        return REFUSED["dropout"]
    return None


def approximate_n1(design, boxes, alpha, target):
    """Group 1's n (or the pairs) by the design's normal approximation."""
    if design in ("two-sample", "paired"):
        if design == "two-sample":
            d = abs(float(Decimal(boxes["mean1"]) - Decimal(boxes["mean2"]))) / float(boxes["sd"])
            factor = 1 + 1 / float(boxes["ratio"])
        else:
            d, factor = abs(float(boxes["meandiff"])) / float(boxes["sddiff"]), 1
        return (z(alpha / 2) + z(1 - target)) ** 2 * factor / d ** 2
    if design == "correlation":
        return fisher_z(float(boxes["r"]), alpha, target)
    if design == "proportions":
        # The larger of the two plans: the program plans with the corrected one where the
        # planned table has a small expected count, as it does at an extreme ratio.
        return fleiss(float(boxes["p1"]), float(boxes["p2"]), float(boxes["ratio"]), alpha,
                      target)[1]
    return connor(float(boxes["p10"]), float(boxes["p01"]), alpha, target)


def check_too_large(design, solve, boxes, reason, alpha, target):
    """A plan without n: some count must exceed 10,000,000 (the typed n's exactly, a solved n's
    by the normal approximation, to 1 %)."""
    n1 = int(boxes["n"]) if solve == "power" else approximate_n1(design, boxes, alpha, target)
    two = design in ("two-sample", "proportions")
    # Group 2 follows the whole n1: at a ratio of a million, a unit of n1 is a million of n2.
    n2 = float(Fraction(boxes["ratio"]) * Fraction(math.ceil(n1))) if two else 0
    grow = float(100 / (100 - percent(boxes["dropout"])))
    slack = 1 if solve == "power" else 0.99
    total = max(n1, 1) + (max(n2, 1) if two else 0)
    if reason == TOO_LARGE and total <= slack * LARGEST:
        raise Failure(f"{reason!r} where the reference needs {n1!r} + {n2!r}")
    if reason == TOO_MANY_ENROLLED and not (total <= LARGEST / slack and
                                            total * grow > slack * LARGEST):
        raise Failure(f"{reason!r} where the reference enrols {total * grow!r} of {total!r}")
    TALLY["beyond 10,000,000"] += 1


def check(case, data, fields):
    design, solve, boxes = data
    reason = fields[12]
    refused = refusal(boxes)
    if refused or reason in REFUSED.values():
        if reason != refused:
            raise Failure(f"reason: program {reason!r}, expected {refused!r}")
        TALLY["refused"] += 1
        return design + " refused"
    alpha = float(boxes["alpha"])
    target = proportion(boxes["power"])
    if "hypothesis" in boxes:
        return margins.check(case, design, solve, boxes, fields, alpha, target)
    if reason:
        if reason not in (TOO_LARGE, TOO_MANY_ENROLLED):
            raise Failure(f"no n: {reason!r}")
        check_too_large(design, solve, boxes, reason, alpha, target)
        return design + " beyond 10,000,000"
    n1, n2 = check_counts(design, boxes, fields)
    if solve == "power" and n1 != int(boxes["n"]):
        raise Failure(f"n: program {n1}, typed {boxes['n']}")
    power = number(fields[6])
    {"two-sample": check_two_sample, "paired": check_paired, "correlation": check_correlation,
     "proportions": check_proportions, "mcnemar": check_mcnemar}[design](
        case, solve, boxes, fields, n1, n2, power, alpha, target)
    TALLY[f"{design} {solve}"] += 1
    return f"{design} {solve}"


def check_two_sample(case, solve, boxes, fields, n1, n2, power, alpha, target):
    d = abs(float(Decimal(boxes["mean1"]) - Decimal(boxes["mean2"]))) / float(boxes["sd"])
    k = Fraction(boxes["ratio"])
    close("power (statsmodels TTestIndPower)", power,
          float(TTestIndPower().power(d, n1, alpha, ratio=n2 / n1)))

    def r_power(n):
        if k == 1:
            return f"ttwo {n} {d!r} {alpha!r}"
        return f"t2n {n} {second_group(k, n)} {d!r} {alpha!r}"

    # pwr.t2n.test takes at least two in each group; statsmodels then stands alone.
    if n2 >= 2:
        ask_r(case, r_power(n1), lambda value: close("power (pwr.t2n.test)", power, value))
    if solve == "n":
        if n2 >= 2:
            ask_r(case, r_power(n1), holds("n (pwr.t2n.test)", lambda v: v >= target,
                                           f"short of {target} at n = {n1}"))
        if n1 > 2 and second_group(k, n1 - 1) >= 2:
            ask_r(case, r_power(n1 - 1), holds("n − 1 (pwr.t2n.test)", lambda v: v < target,
                                               f"{target} reached at n − 1 = {n1 - 1}"))
        elif n1 > 2:
            if TTestIndPower().power(d, n1 - 1, alpha, ratio=1 / (n1 - 1)) >= target:
                raise Failure(f"n − 1 = {n1 - 1} reaches {target} (statsmodels TTestIndPower)")


def check_paired(case, solve, boxes, fields, n, _, power, alpha, target):
    d = abs(float(boxes["meandiff"])) / float(boxes["sddiff"])
    close("power (statsmodels TTestPower)", power, float(TTestPower().power(d, n, alpha)))
    ask_r(case, f"tpaired {n} {d!r} {alpha!r}",
          lambda value: close("power (power.t.test paired)", power, value))
    if solve == "n":
        ask_r(case, f"tpaired {n} {d!r} {alpha!r}", holds(
            "n (power.t.test)", lambda v: v >= target, f"short of {target} at n = {n}"))
        if n > 2:
            ask_r(case, f"tpaired {n - 1} {d!r} {alpha!r}", holds(
                "n − 1 (power.t.test)", lambda v: v < target, f"{target} reached at {n - 1}"))


def check_correlation(case, solve, boxes, fields, n, _, power, alpha, target):
    r = float(boxes["r"])
    close("power (Fisher z)", power, fisher_z_power(r, n, alpha))
    if solve == "n":
        formula = fisher_z(r, alpha, target)
        if math.ceil(formula) != n:
            raise Failure(f"n: program {n}, Fisher z {formula!r}")

        def near_pwr(value):
            if not 0.001 <= alpha <= 0.1 or target < 0.5:
                TALLY["pwr.r.test outside the compared range"] += 1
            elif value != value:
                # Its search starts at n = 4 and finds no root below (a strong ρ, a few pairs):
                # the program's n was held to Fisher's z above.
                TALLY["pwr.r.test without an answer"] += 1
            elif abs(value - n) > max(2, NEAR_PWR_R * n):
                raise Failure(f"n: program {n}, pwr.r.test {value!r}, beyond {NEAR_PWR_R}")
            else:
                TALLY["pwr.r.test near"] += 1

        ask_r(case, f"rn {r!r} {alpha!r} {target!r}", near_pwr)


def check_proportions(case, solve, boxes, fields, n1, n2, power, alpha, target):
    p1, p2, k = float(boxes["p1"]), float(boxes["p2"]), float(boxes["ratio"])
    corrected = fields[8] == "1"
    other_n1, other_n2 = int(float(fields[9])), int(float(fields[10]))
    other_power = number(fields[11])
    plans = {corrected: (n1, n2, power), not corrected: (other_n1, other_n2, other_power)}
    plain_n1, plain_n2, plain_power = plans[False]
    rule, tie = rule_corrects(p1, p2, plain_n1, plain_n2)
    TALLY["proportions, corrected plan" if corrected else "proportions, plain plan"] += 1
    if rule != corrected and not tie:
        raise Failure(f"the four-fold rule calls for corrected={rule}, program {corrected}")
    for flag, (m1, m2, shown) in plans.items():
        close(f"power (corrected={flag}, NormalIndPower)", shown,
              proportion_power(p1, p2, m1, m2, alpha, flag))
    if solve == "n":
        for flag, formula in zip((False, True), fleiss(p1, p2, k, alpha, target)):
            m1, m2, shown = plans[flag]
            # ⌈formula⌉, or the next n where the rounding of group 2 leaves it a hair short.
            if m1 != math.ceil(formula) and not (
                    m1 > math.ceil(formula) and
                    proportion_power(p1, p2, m1 - 1, second_group(boxes["ratio"], m1 - 1), alpha,
                                     flag) < target):
                raise Failure(f"n (corrected={flag}): program {m1}, formula {formula!r}")
    if k == 1:
        ask_r(case, f"propp {plain_n1} {p1!r} {p2!r} {alpha!r}",
              lambda value: close("power (power.prop.test)", plain_power, value))


def check_mcnemar(case, solve, boxes, fields, n, _, power, alpha, target):
    p10, p01 = float(boxes["p10"]), float(boxes["p01"])
    close("exact power", power, exact_mcnemar_power(p10, p01, n, alpha))
    close("Connor's power", number(fields[7]), connor_power(p10, p01, n, alpha))
    if solve == "n":
        formula = connor(p10, p01, alpha, target)
        if number(fields[13]) != max(1, math.ceil(formula)):
            raise Failure(f"Connor's n: program {fields[13]}, Connor {formula!r}")
        # n − 1 falls short and the power stays from n on; a power within 1e-9 of the target
        # is a tie either way.
        sizes = list(range(max(1, n - 1), n + 1 + STEADY_WINDOW))
        powers = dict(zip(sizes, exact_mcnemar_powers(p10, p01, sizes, alpha)))
        if n > 1 and powers[n - 1] >= target - 1e-9:
            raise Failure(f"n − 1 = {n - 1} reaches {target}")
        fall = [m for m in sizes if m > n and powers[m] < target - 1e-9]
        if fall:
            raise Failure(f"the power falls below {target} again at n = {fall[0]}")
        TALLY["McNemar, steady over the window"] += 1


def finish(failed):
    """Runs R once for every request of the run and checks its answers."""
    if any(request.split()[0] in ("rpm", "rpr") for _, request, _ in PENDING):
        margins.diletti_check()
    if not PENDING:
        return
    with tempfile.TemporaryDirectory() as folder:
        requests = os.path.join(folder, "requests.txt")
        with open(requests, "w", encoding="utf-8") as file:
            file.write("".join(request + "\n" for _, request, _ in PENDING))
        script = os.path.join(folder, "power.R")
        with open(script, "w", encoding="utf-8") as file:
            file.write(R_SCRIPT)
        rscript = shutil.which("Rscript") or "/usr/bin/Rscript"
        run = subprocess.run([rscript, script, requests], capture_output=True, text=True,
                             check=True)
    answers = run.stdout.split("\n")[:-1]
    if len(answers) != len(PENDING):
        raise SystemExit(f"Rscript answered {len(answers)} lines for {len(PENDING)} requests")
    failing = set()
    for (case, request, check_value), answer in zip(PENDING, answers):
        TALLY["R " + request.split()[0]] += 1
        try:
            check_value(math.nan if answer == "NA" else float(answer))
        except Failure as failure:
            if case not in failing:
                failing.add(case)
                failed(case, Failure(f"{failure} (R: {request})"))

