#pragma once
// The power of each planned test at given sample sizes, and the sample sizes that reach a power.
// Plain numbers in and out: the inputs are already checked (α in (0, 0.5], power in (α, 1),
// proportions in (0, 1), deviations above 0); a value that cannot be computed comes back as NaN
// and the caller says why.

#include <cstdint>
#include <functional>
#include <optional>

namespace quillon {

// The largest sample size searched for; a design needing more is reported as such.
inline constexpr std::int64_t kLargestSampleSize = 10'000'000;

// z of the upper 1 − p point of the standard normal distribution.
double NormalUpper(double p);

// Two independent samples, both tails of the noncentral t: ν = n1 + n2 − 2,
// λ = δ / (σ·√(1/n1 + 1/n2)), critical value t(1 − α/2, ν).
double TwoSampleTPower(double delta, double sd, double n1, double n2, double alpha);
// Paired samples: ν = n − 1, λ = δ / (σd / √n).
double PairedTPower(double delta, double sdDiff, double n, double alpha);

// The normal approximation of a two-sided t test's n at a standardized difference δ / σ:
// (z(1−α/2) + z(1−β))²·factor / (δ/σ)², the factor 1 + 1/k for group 1 of two samples, 1 for
// pairs; where the exact search starts.
double NormalApproximateN(double standardized, double factor, double alpha, double power);

// The smallest n from `least` up to kLargestSampleSize whose power reaches `target`, power being
// nondecreasing in n; searched by doubling from the guess, then halving the bracket. Nothing when
// even kLargestSampleSize does not reach it.
std::optional<std::int64_t> SmallestSampleSize(const std::function<double(std::int64_t)>& power,
                                               double target, double guess, std::int64_t least);

// The least n from `least` up to kLargestSampleSize from which the power stays at or above
// `target`, for a power that rises with n only on the whole (the saw teeth of an exact test): a
// crossing found as SmallestSampleSize finds it, then the `window(n)` sizes above it checked, and
// the check started again above any of them that falls short. At most kLargestCheck sizes are
// checked in all, so that a keystroke stays within a frame. Nothing when the target is not
// reached by kLargestSampleSize.
inline constexpr std::int64_t kLargestCheck = 256;
std::optional<std::int64_t> LeastLastingSampleSize(
    const std::function<double(std::int64_t)>& power, double target, double guess,
    std::int64_t least, const std::function<std::int64_t(std::int64_t)>& window);

// Fisher's z for a correlation ρ: n = ((z(1−α/2) + z(1−β)) / C)² + 3, C = ½·ln((1+ρ)/(1−ρ)),
// unrounded; the power at n is Φ(|C|·√(n−3) − z(1−α/2)) + Φ(−|C|·√(n−3) − z(1−α/2)).
double FisherZSampleSize(double rho, double alpha, double power);
double FisherZPower(double rho, double n, double alpha);

// Two proportions, group 2 k times the size of group 1, the normal approximation with the
// pooled variance under H0 (Fleiss): n1 unrounded.
double TwoProportionSampleSize(double p1, double p2, double ratio, double alpha, double power);
// The continuity-corrected n1 of Fleiss, Tytun and Ury (1980) from the uncorrected n1:
// n'/4·(1 + √(1 + 2(k+1)/(k·n·|p1−p2|)))².
double ContinuityCorrectedSampleSize(double n, double p1, double p2, double ratio);
// The power at n1 and n2 of the same approximation: Φ((|p1−p2|·√… − z(1−α/2)·σ0) / σ1); with
// `corrected`, |p1 − p2| less (1/n1 + 1/n2)/2, the correction the corrected n makes up for.
double TwoProportionPower(double p1, double p2, double n1, double n2, double alpha, bool corrected);

// McNemar's test by Connor (1987): ψ = p10 + p01, δ = p10 − p01,
// n = [z(1−α/2)·√ψ + z(1−β)·√(ψ − δ²)]² / δ², unrounded; and the power at n by the same formula.
double ConnorSampleSize(double p10, double p01, double alpha, double power);
double ConnorPower(double p10, double p01, double n, double alpha);
// The exact power of the exact (conditional binomial) McNemar test at n pairs: the sum over the
// discordant count m ~ Binomial(n, ψ) of the chance that the two-sided binomial test of
// b ~ Binomial(m, p10/ψ) against ½ rejects at level α.
double ExactMcNemarPower(double p10, double p01, std::int64_t n, double alpha);
// How many pairs above n the exact McNemar power may still fall back below a level it reached
// at n. Its saw teeth follow the parity of the discordant count and fade as √m grows; the
// binomial spread of m washes the parity out by the factor |1 − 2ψ|^n, after which a few pairs
// are enough; otherwise (ψ near 1) the teeth span up to about 2√m discordant pairs.
std::int64_t McNemarSawtoothWindow(double p10, double p01, std::int64_t n);

}  // namespace quillon
