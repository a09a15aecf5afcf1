#pragma once
// The power of the tests against a margin: non-inferiority and superiority (one test against a
// shifted null), equivalence (two one-sided tests). Plain numbers in and out, as in
// power_methods.h: the inputs are checked by the caller, and a value that cannot be computed
// comes back as NaN.
//
// The one-sided tests are written for higher values better: H0: d ≤ d0 against H1: d > d0, with
// d0 = −Δ for non-inferiority and +Δ for superiority. Lower values better is the mirror image
// (H0: d ≥ d0, d0 = +Δ or −Δ): the t tests' callers turn the noncentrality round, the
// proportions take a direction of −1.

namespace quillon {

// The exact power of the one-sided t test of H0: d ≤ d0 at level α: P(T > t(1 − α, ν)) for T
// noncentral t with ν degrees of freedom and noncentrality λ = (d − d0) / SE.
double OneSidedTPower(double df, double noncentrality, double alpha);

// The exact power of the two one-sided t tests at level α each against −Δ and +Δ, with a
// common SD estimated on ν degrees of freedom (Phillips 1990): the chance that
// −Δ + t·ŜE < d̂ < Δ − t·ŜE, t = t(1 − α, ν), d̂ ~ N(d, SE²) and ŜE = SE·χν/√ν. Owen's Q
// written as one integral over the χ density of the SD's estimate:
//   ∫₀^R [Φ((Δ − d)/SE − t·u/√ν) − Φ((−Δ − d)/SE + t·u/√ν)] fν(u) du,  R = √ν·Δ / (t·SE),
// by adaptive Gauss–Kronrod quadrature over the few units around √ν where fν holds its mass
// (fν in logarithms, so that ν in the hundreds of thousands neither overflows nor underflows).
double EquivalenceTPower(double df, double difference, double margin, double standardError,
                         double alpha);

// Two proportions p1 (group 1) and p2 (group 2), group 2 k times the size of group 1.
// How the spread under the null is taken: at the restricted estimates (Farrington–Manning's
// score test, the rates of report/margin_tests.h with the expected rates as the counts of one
// group-1 subject and k of group 2) or at the expected rates themselves (Blackwelder's unpooled z,
// 1982).
enum class NullSpread { Restricted, Unpooled };

// The power of the one-sided z test of H0: p1 − p2 ≤ d0 (direction 1) or H0: p1 − p2 ≥ d0
// (direction −1) at n1 and n2: Φ((direction·(p1 − p2 − d0)·√n1 − z(1−α)·σ0) / σ1), σ0 and σ1
// the spreads of one group-1 subject's worth of data (and n2/n1 of group 2's) under H0 and H1.
double ShiftedProportionPower(double p1, double p2, double n1, double n2, double nullDifference,
                              double direction, double alpha, NullSpread spread);
// The n1 of the same approximation for a power, group 2 k times group 1:
// ((z(1−α)·σ0 + z(1−β)·σ1) / (p1 − p2 − d0))², unrounded.
double ShiftedProportionSampleSize(double p1, double p2, double ratio, double nullDifference,
                                   double alpha, double power, NullSpread spread);
// The power of the two one-sided tests against −Δ and +Δ at level α each, each with its own
// null spread: the chance both reject, P(z_L > z(1−α)) + P(z_U < −z(1−α)) − 1, held at 0.
double EquivalenceProportionPower(double p1, double p2, double n1, double n2, double margin,
                                  double alpha, NullSpread spread);

}  // namespace quillon
