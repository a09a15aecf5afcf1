"""Plans against a margin (non-inferiority, superiority, equivalence) for reference_power.py.

Exact references computed here, each to 1e-6 in power, n the least that reaches the power:
- means, non-inferiority and superiority: SciPy's noncentral t against the shifted null;
- means, equivalence: the two one-sided t tests' exact power (Owen's Q) integrated here over
  SciPy's χ density, checked first against Diletti et al. (1991): 2×2 cross-over, 0.80–1.25,
  ratio 0.95, power 80 %: 20 subjects at CV 20 %, 40 at CV 30 %;
- proportions: Farrington and Manning's score test with the restricted estimates found here by
  maximising the likelihood numerically (not by their closed form), and Blackwelder's unpooled z
  beside it; equivalence by the two one-sided tests with the same spreads.
R, in the same run as the other requests:
- rpact getSampleSizeMeans (noncentral t) and getSampleSizeRates (Farrington–Manning) with
  thetaH0 = ∓Δ, n1 = ⌈nFixed1⌉: the program's n itself;
- epiR epi.ssninfc, epi.sssupc, epi.ssequc, epi.ssninfb, epi.sssupb, epi.ssequb are normal
  approximations (the equivalence ones with z(1−β/2), as Chow, Shao & Wang): they are compared
  with their own formulas computed here, and Blackwelder's n of the program with epi.ssninfb and
  epi.sssupb.
"""

import math
from decimal import Decimal
from fractions import Fraction

import numpy as np
from scipy import integrate, optimize, stats

HYPOTHESES = ("non-inferiority", "superiority", "equivalence")


def z(p):
    return float(stats.norm.isf(p))


def text(value, decimals):
    return f"{Decimal(round(value * 10 ** decimals)).scaleb(-decimals):f}"


# ---- The plans ----

def add_margin(rng, design, boxes):
    """Turns a plan of two samples, pairs or two proportions against a margin: the difference
    set on the alternative's side (now and then on the wrong side, for the reason)."""
    hypothesis = rng.choice(HYPOTHESES)
    better = rng.choice(("higher", "lower"))
    sign = 1 if better == "higher" else -1
    rates = design == "proportions"
    decimals = 3 if rates else len(boxes["sd" if design == "two-sample" else "sddiff"]
                                   .partition(".")[2])
    scale = 0.1 if rates else float(boxes["sd" if design == "two-sample" else "sddiff"])
    margin = max(10 ** -decimals, scale * rng.uniform(0.1, 1.5 if not rates else 1.2))
    wrong = rng.random() < 0.05
    if hypothesis == "equivalence":
        d = margin * (rng.uniform(1, 1.3) if wrong else rng.uniform(-0.9, 0.9))
    elif hypothesis == "non-inferiority":
        d = sign * margin * (rng.uniform(-1.5, -1) if wrong else rng.uniform(-0.9, 1))
    else:
        d = sign * margin * (rng.uniform(0.5, 1) if wrong else rng.uniform(1.15, 3))
    boxes.update(hypothesis=hypothesis, better=better, margin=text(margin, decimals))
    if design == "two-sample":
        boxes["mean1"] = text(float(boxes["mean2"]) + d, decimals)
    elif design == "paired":
        boxes["meandiff"] = text(d, decimals)
    else:
        p1 = float(boxes["p2"]) + d
        boxes["p1"] = text(min(0.995, max(0.005, p1)), 3)


def difference(design, boxes):
    if design == "two-sample":
        return Fraction(Decimal(boxes["mean1"])) - Fraction(Decimal(boxes["mean2"]))
    if design == "paired":
        return Fraction(Decimal(boxes["meandiff"]))
    return Fraction(Decimal(boxes["p1"])) - Fraction(Decimal(boxes["p2"]))


def null_shifts(boxes):
    """The null differences d0 with the direction of each one-sided test."""
    margin = Fraction(Decimal(boxes["margin"]))
    sign = 1 if boxes["better"] == "higher" else -1
    if boxes["hypothesis"] == "equivalence":
        return [(-margin, 1), (margin, -1)]
    shift = -margin if boxes["hypothesis"] == "non-inferiority" else margin
    return [(sign * shift, sign)]


def expected_reason(design, solve, boxes):
    """The reason the window gives, or None, from the typed decimals exactly."""
    margin = Fraction(Decimal(boxes["margin"]))
    if margin >= 1 and design == "proportions":
        return "率差的界值Δ须小于1"
    if design == "proportions":
        p2 = Fraction(Decimal(boxes["p2"]))
        if any(not 0 < p2 + d0 < 1 for d0, _ in null_shifts(boxes)):
            return "RATES"
    d = difference(design, boxes)
    if solve == "n" and any(direction * (d - d0) <= 0 for d0, direction in null_shifts(boxes)):
        return "UNREACHABLE"
    return None


# ---- Means ----

def shifted_t_power(df, noncentrality, alpha):
    """SciPy's noncentral t; where it has no answer, P(Z + λ > t·χν/√ν) integrated."""
    critical = stats.t.isf(alpha, df)
    if noncentrality > 80 * max(1, critical):
        return 1.0
    with np.errstate(all="ignore"):
        power = float(stats.nct.sf(critical, df, noncentrality))
    if math.isfinite(power):
        return power
    c = critical / math.sqrt(df)
    f = lambda u: stats.norm.cdf(noncentrality - c * u) * stats.chi.pdf(u, df)
    return integrate.quad(f, max(0.0, math.sqrt(df) - 13), math.sqrt(df) + 12, epsabs=1e-13,
                          limit=400)[0]


def tost_power(df, d, margin, se, alpha):
    """∫ [Φ((Δ − d)/SE − t·u/√ν) − Φ((−Δ − d)/SE + t·u/√ν)] fν(u) du over u where the interval
    fits within ±Δ, fν SciPy's χ density."""
    c = stats.t.isf(alpha, df) / math.sqrt(df)
    a, b = (margin - d) / se, (-margin - d) / se
    low, high = max(0.0, math.sqrt(df) - 13), min((a - b) / (2 * c), math.sqrt(df) + 12)
    if high <= low:
        return 0.0
    f = lambda u: (stats.norm.cdf(a - c * u) - stats.norm.cdf(b + c * u)) * stats.chi.pdf(u, df)
    middle = [math.sqrt(df)] if low < math.sqrt(df) < high else None
    return integrate.quad(f, low, high, epsabs=1e-13, epsrel=1e-11, limit=400, points=middle)[0]


def diletti_check():
    """The cross-over sizes of Diletti et al. (1991), as two groups of n/2 with SD σw/√2."""
    for cv, published in ((0.2, 20), (0.3, 40)):
        sw = math.sqrt(math.log(1 + cv * cv))
        n = next(n for n in range(4, 200, 2) if tost_power(
            n - 2, math.log(0.95), math.log(1.25), sw * math.sqrt(2 / n), 0.05) >= 0.8)
        if n != published:
            raise SystemExit(f"Owen's Q here gives {n} at CV {cv}, Diletti et al. {published}")


def means_power(design, boxes, n1, alpha):
    d = float(difference(design, boxes))
    sd = float(boxes["sd" if design == "two-sample" else "sddiff"])
    if design == "two-sample":
        n2 = max(1, math.ceil(Fraction(boxes["ratio"]) * n1))
        df, se = n1 + n2 - 2, sd * math.sqrt(1 / n1 + 1 / n2)
    else:
        df, se = n1 - 1, sd / math.sqrt(n1)
    if boxes["hypothesis"] == "equivalence":
        return tost_power(df, d, float(Fraction(Decimal(boxes["margin"]))), se, alpha)
    (d0, direction), = null_shifts(boxes)
    return shifted_t_power(df, direction * (d - float(d0)) / se, alpha)


# ---- Proportions ----

def restricted(p1, p2, k, d0):
    """The rates maximising p1·ln q1 + (1−p1)·ln(1−q1) + k·(p2·ln q2 + (1−p2)·ln(1−q2)) on
    q1 − q2 = d0."""
    lo, hi = max(0.0, d0), min(1.0, 1 + d0)

    def minus(q1):
        q2 = q1 - d0
        return -(p1 * math.log(q1) + (1 - p1) * math.log(1 - q1) +
                 k * (p2 * math.log(q2) + (1 - p2) * math.log(1 - q2)))

    eps = 1e-12
    q1 = optimize.minimize_scalar(minus, bounds=(lo + eps, hi - eps), method="bounded",
                                  options={"xatol": 1e-14}).x
    return q1, q1 - d0


def spreads(p1, p2, k, d0, fm):
    sd = lambda a, b: math.sqrt(a * (1 - a) + b * (1 - b) / k)
    return (sd(*restricted(p1, p2, k, d0)) if fm else sd(p1, p2)), sd(p1, p2)


def one_sided_power(p1, p2, n1, n2, d0, direction, alpha, fm):
    null, alternative = spreads(p1, p2, n2 / n1, d0, fm)
    return float(stats.norm.cdf((direction * (p1 - p2 - d0) * math.sqrt(n1) - z(alpha) * null)
                                / alternative))


def rates_power(boxes, n1, n2, alpha, fm):
    p1, p2 = float(boxes["p1"]), float(boxes["p2"])
    powers = [one_sided_power(p1, p2, n1, n2, float(d0), direction, alpha, fm)
              for d0, direction in null_shifts(boxes)]
    return max(0.0, sum(powers) - (len(powers) - 1))


# ---- The checks ----

def least_check(power_at, n, target, least, failure):
    """n reaches the target and n − 1 does not (a power within 1e-9 of it is a tie)."""
    if power_at(n) < target - 1e-9:
        raise failure(f"n = {n} short of {target}")
    if n > least and power_at(n - 1) >= target + 1e-9:
        raise failure(f"n − 1 = {n - 1} reaches {target}")


def r_requests(design, boxes, alpha, target):
    """R's requests and what the answer is compared with: ("n1", value) the program's n1 is
    ⌈value⌉; ("formula", value) the normal formula computed here."""
    hypothesis, better = boxes["hypothesis"], boxes["better"]
    margin = float(boxes["margin"])
    d = float(difference(design, boxes))
    k = Fraction(boxes.get("ratio", "1"))
    requests = []
    if hypothesis != "equivalence" and better == "higher" and design != "proportions":
        theta = -margin if hypothesis == "non-inferiority" else margin
        groups = 1 if design == "paired" else 2
        sd = boxes["sd" if design == "two-sample" else "sddiff"]
        requests.append((f"rpm {theta!r} {d!r} {sd} {alpha!r} {target!r} {groups} {float(1 / k)!r}",
                         "n1"))
    if hypothesis != "equivalence" and better == "higher" and design == "proportions":
        theta = -margin if hypothesis == "non-inferiority" else margin
        requests.append((f"rpr {theta!r} {boxes['p1']} {boxes['p2']} {alpha!r} {target!r} "
                         f"{float(1 / k)!r}", "n1"))
    if better == "higher" and k == 1 and design != "paired":
        name = {"non-inferiority": "ninf", "superiority": "sup", "equivalence": "equ"}[hypothesis]
        kind = "b" if design == "proportions" else "c"
        first, second = ((boxes["p1"], boxes["p2"]) if design == "proportions" else
                         (boxes["mean1"], boxes["mean2"]))
        sd = boxes.get("sd", "0")
        requests.append((f"ss{name}{kind} {first} {second} {sd} {margin!r} {alpha!r} {target!r}",
                         "formula"))
    return requests


def epi_formula(design, boxes, alpha, target):
    """epiR's normal n a group: (z(1−α) + z(1−β))²·V / distance², z(1−β/2) for equivalence, V
    2σ² or p1q1 + p2q2."""
    margin = float(boxes["margin"])
    d = float(difference(design, boxes))
    if design == "proportions":
        p1, p2 = float(boxes["p1"]), float(boxes["p2"])
        variance = p1 * (1 - p1) + p2 * (1 - p2)
    else:
        variance = 2 * float(boxes["sd"]) ** 2
    beta = 1 - target
    if boxes["hypothesis"] == "equivalence":
        distance, beta = margin - abs(d), beta / 2
    else:
        distance = d + margin if boxes["hypothesis"] == "non-inferiority" else d - margin
    return (z(alpha) + z(beta)) ** 2 * variance / distance ** 2


def check(case, design, solve, boxes, fields, alpha, target):
    """A plan against a margin: the reason, or the counts, the exact power and the least n; R's
    n (rpact) and epiR's formulas."""
    # reference_power's checks of the counts and its R requests; it imports this module first.
    from reference_power import (LARGEST, TALLY, TOO_LARGE, TOO_MANY_ENROLLED, Failure, ask_r,
                                 check_counts, close, enrolled, number, second_group)
    kind = f"{design} {boxes['hypothesis']}"
    reason, expected = fields[12], expected_reason(design, solve, boxes)
    if expected or reason:
        good = {"RATES": reason.startswith("零假设下第1组的率"),
                "UNREACHABLE": reason.endswith("任何样本量都达不到所需检验效能")}.get(
                    expected, reason == expected)
        if reason in (TOO_LARGE, TOO_MANY_ENROLLED) and not expected and solve == "n":
            # The largest n1 whose counts fit within 10,000,000 falls short.
            ratio, two = boxes.get("ratio", "1"), design != "paired"
            fits = lambda m: (m + (second_group(ratio, m) if two else 0) <= LARGEST and
                              enrolled(m, boxes["dropout"]) + (enrolled(second_group(ratio, m),
                              boxes["dropout"]) if two else 0) <= LARGEST)
            low, high = 0, LARGEST
            while high - low > 1:
                low, high = ((low + high) // 2, high) if fits((low + high) // 2) else \
                    (low, (low + high) // 2)
            good = low < 2 or (
                rates_power(boxes, low, second_group(ratio, low), alpha, True)
                if design == "proportions" else means_power(design, boxes, low, alpha)
            ) < target + 1e-9
        if not good:
            raise Failure(f"reason: program {reason!r}, expected {expected!r}")
        TALLY[f"margin: {expected or reason}"] += 1
        return kind + " without n"
    n1, n2 = check_counts(design, boxes, fields)
    power = number(fields[6])
    if design == "proportions":
        plans = [(True, n1, n2, power),
                 (False, int(float(fields[9])), int(float(fields[10])), number(fields[11]))]
        for fm, m1, m2, shown in plans:
            close(f"power ({'Farrington–Manning' if fm else 'Blackwelder'})", shown,
                  rates_power(boxes, m1, m2, alpha, fm))
            if solve == "n":
                least_check(lambda m, fm=fm: rates_power(
                    boxes, m, second_group(boxes["ratio"], m), alpha, fm), m1, target, 1, Failure)
    else:
        close("power (exact)", power, means_power(design, boxes, n1, alpha))
        if solve == "n":
            least_check(lambda m: means_power(design, boxes, m, alpha), n1, target,
                                2, Failure)
    if solve == "n":
        exact_k = Fraction(boxes.get("ratio", "1")) == 1

        def same_n(value):
            if value != value:
                TALLY["R without an answer"] += 1
            elif exact_k:
                if n1 != max(2 if design == "paired" else 1, math.ceil(value - 1e-9)):
                    raise Failure(f"n1: program {n1}, rpact {value!r}")
            elif n1 > math.ceil(value - 1e-9):
                # Group 2 rounded up only adds power: n1 is at most rpact's.
                raise Failure(f"n1: program {n1} above rpact's {value!r}")

        def formula(value):
            here = epi_formula(design, boxes, alpha, target)
            if not abs(value - here) <= 1e-6 * here:
                raise Failure(f"epiR's n {value!r}, its formula here {here!r}")
            other = int(float(fields[9])) if fields[9] else None
            if (design == "proportions" and boxes["hypothesis"] != "equivalence"
                    and other != max(1, math.ceil(value - 1e-9))):
                raise Failure(f"Blackwelder's n1: program {other}, epiR {value!r}")

        for request, compared in r_requests(design, boxes, alpha, target):
            ask_r(case, request, same_n if compared == "n1" else formula)
    TALLY[f"margin: {kind} {solve}"] += 1
    return f"{kind} {solve}"
