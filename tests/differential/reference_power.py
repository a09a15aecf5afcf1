"""Sample size and power of the five designs against R, statsmodels and the published formulas
(see differential_test.py), on random plans solved for n or for the power at a typed n. n must
be the reference's to the subject, the power the reference's to 1e-6:

- t tests: n reaches the power and n − 1 does not by R's exact power (power.t.test(strict =
  TRUE) for equal groups and pairs, pwr.t2n.test at n1 and ⌈k·n1⌉), and the power is
  statsmodels' TTestIndPower (ratio n2/n1) and TTestPower too;
- correlation: n = ⌈((z(1−α/2) + z(1−β))/C)² + 3⌉ (Fisher's z). pwr.r.test differs on purpose:
  it turns t's critical value at n − 2 df into a critical r and adds the bias r/(2(n − 1)) to z,
  then iterates; larger n where small n meet a small α, smaller where the bias counts. At α up
  to 0.1 and a power from 0.5 its n stays within NEAR_PWR_R of ours or two subjects;
- two proportions: Fleiss's pooled approximation and Fleiss, Tytun and Ury's corrected n from
  their formulas, power.prop.test's power for equal groups, the power through statsmodels'
  NormalIndPower, and the plan the four-fold rule calls for in the planned table;
- McNemar: Connor's formula, and the exact test's power summed here with SciPy's binomial.
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

from reference_texts import Failure

POWER_TOLERANCE = 1e-6
LARGEST = 10_000_000
TOO_LARGE = "所需样本量超过10,000,000"
NEAR_PWR_R = 0.05
DESIGNS = ("two-sample", "paired", "correlation", "proportions", "mcnemar")

TALLY = collections.Counter()
PENDING = []  # (case, R request, check(value))

R_SCRIPT = r"""
suppressMessages(library(pwr))
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
    rn = pwr.r.test(r = v[1], sig.level = v[2], power = v[3])$n),
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
    if solve == "power":
        least = {"two-sample": 2, "paired": 2, "correlation": 4}.get(design, 1)
        boxes["n"] = str(int(round(math.exp(rng.uniform(math.log(least), math.log(3000))))))
    line = f"{design} {solve} " + " ".join(f"{k}={v}" for k, v in boxes.items())
    return line, (design, solve, boxes)


# ---- The program's fields ----

def number(text):
    return float(text) if text else None


def close(field, value, reference, tolerance=POWER_TOLERANCE):
    if value is None or reference is None or not abs(value - reference) <= tolerance:
        raise Failure(f"{field}: program {value!r}, reference {reference!r}")


def second_group(ratio, n1):
    return max(1, math.ceil(Fraction(ratio) * n1))


def enrolled(n, dropout):
    return math.ceil(Fraction(n) * 100 / (100 - Fraction(dropout)))


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


def exact_mcnemar_power(p10, p01, n, alpha):
    """Σ over m ~ Binomial(n, ψ) of P(the two-sided binomial test of b ~ Binomial(m, p10/ψ)
    against ½ rejects at α)."""
    psi = p10 + p01
    m = np.arange(0, n + 1)
    with np.errstate(divide="ignore"):
        weight = stats.binom.pmf(m, n, psi)
    keep = weight > 1e-20
    m, weight = m[keep], weight[keep]
    # The largest c with 2·P(b ≤ c) ≤ α under ½, −1 where there is none.
    c = stats.binom.ppf(alpha / 2, m, 0.5).astype(np.int64)
    c = np.where(2 * stats.binom.cdf(c, m, 0.5) <= alpha, c, c - 1)
    c = np.where(2 * stats.binom.cdf(c + 1, m, 0.5) <= alpha, c + 1, c)
    share = p10 / psi
    reject = np.where(c >= 0, stats.binom.cdf(c, m, share) + stats.binom.sf(m - c - 1, m, share),
                      0.0)
    return float(np.sum(weight * reject))


def ask_r(case, request, check):
    PENDING.append((case, request, check))


# ---- The checks ----

def check(case, data, fields):
    design, solve, boxes = data
    reason = fields[12]
    alpha = float(boxes["alpha"])
    target = float(boxes["power"])
    if reason:
        if reason != TOO_LARGE or design != "two-sample":
            raise Failure(f"no n: {reason!r}")
        d = abs(float(Decimal(boxes["mean1"]) - Decimal(boxes["mean2"]))) / float(boxes["sd"])
        normal = (z(alpha / 2) + z(1 - target)) ** 2 * (1 + 1 / float(boxes["ratio"])) / d ** 2
        if normal < 0.99 * LARGEST:
            raise Failure(f"beyond 10,000,000 where the normal approximation needs {normal!r}")
        TALLY["beyond 10,000,000"] += 1
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
            if alpha > 0.1 or target < 0.5:
                TALLY["pwr.r.test outside the compared range"] += 1
            elif value != value or abs(value - n) > max(2, NEAR_PWR_R * n):
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
        if math.ceil(formula) != n:
            raise Failure(f"n: program {n}, Connor {formula!r}")


def finish(failed):
    """Runs R once for every request of the run and checks its answers."""
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
