// The scripts' section of a test against a margin: non-inferiority, superiority or equivalence
// (two one-sided tests), on the report's own t test or, for rates, Farrington and Manning's
// score test with its interval.

#include <cmath>

#include "rscript/section_codes.h"

namespace quillon::rscript {

namespace {

const char* const kMarginHelpers =
    R"R(# A bound that reads as a margin it does not equal gets more decimals.
.margin_bound <- function(b, nulls) {
  written <- .num(b)
  for (null in nulls) {
    touches <- function(text) b != null && as.numeric(text) == null
    more <- 5L
    while (touches(written) && more <= 8L) { written <- .decimals(b, more); more <- more + 1L }
    if (touches(written)) written <- .decimals(if (b > null) null + 1e-8 else null - 1e-8, 8L)
  }
  written
})R";

}  // namespace

// Farrington and Manning's restricted maximum likelihood estimates of the two rates under
// p1 - p2 = d0, from x1 of n1 and x2 of n2 (counts or expected counts).
const char* const kRestrictedRates =
    R"R(# The rates' maximum likelihood estimates restricted to p1 - p2 = d0 (Farrington and
# Manning): the cubic's closed form, then Newton steps on the likelihood.
.restricted <- function(x1, n1, x2, n2, d0) {
  r1 <- x1 / n1; r2 <- x2 / n2; th <- n2 / n1
  a <- 1 + th; b <- -(1 + th + r1 + th * r2 + d0 * (th + 2))
  c <- d0^2 + d0 * (2 * r1 + th + 1) + r1 + th * r2; d <- -r1 * d0 * (1 + d0)
  v <- b^3 / (27 * a^3) - b * c / (6 * a^2) + d / (2 * a)
  u <- sign(v) * sqrt(max(0, b^2 / (9 * a^2) - c / (3 * a)))
  p1 <- -b / (3 * a)
  if (u != 0) p1 <- p1 + 2 * u * cos((pi + acos(min(1, max(-1, v / u^3)))) / 3)
  part <- function(count, over) if (count == 0) 0 else count / over
  for (step in 1:3) {
    q1 <- min(max(p1, max(0, d0)), min(1, 1 + d0)); q2 <- q1 - d0
    slope <- part(x1, q1) - part(n1 - x1, 1 - q1) + part(x2, q2) - part(n2 - x2, 1 - q2)
    curve <- part(x1, q1^2) + part(n1 - x1, (1 - q1)^2) + part(x2, q2^2) + part(n2 - x2, (1 - q2)^2)
    if (!is.finite(slope) || !(curve > 0) || !is.finite(curve)) break
    p1 <- q1 + slope / curve
  }
  p1 <- min(max(p1, max(0, d0)), min(1, 1 + d0))
  c(p1, p1 - d0)
})R";

namespace {

const char* const kScore =
    R"R(# Farrington and Manning's score test of p1 - p2 = d0 and the interval of the d0 whose
# statistic lies within +/- z(1 - alpha).
.fm <- function(x1, n1, x2, n2, d0) {
  numerator <- x1 / n1 - x2 / n2 - d0
  if (numerator == 0) return(0)
  p <- .restricted(x1, n1, x2, n2, d0)
  v <- p[1] * (1 - p[1]) / n1 + p[2] * (1 - p[2]) / n2
  if (v > 0) numerator / sqrt(v) else sign(numerator) * Inf
}
.fm_bound <- function(x1, n1, x2, n2, estimate, target) {
  lower <- target > 0; end <- if (lower) -1 else 1; inside <- end * (1 - 1e-12)
  excess <- function(d0) .fm(x1, n1, x2, n2, d0) - target
  at_end <- excess(inside)
  if (if (lower) at_end <= 0 else at_end >= 0) return(end)
  if ((lower && estimate <= inside) || (!lower && estimate >= inside)) return(end)
  uniroot(excess, sort(c(inside, estimate)), tol = 1e-15, maxiter = 1000)$root
})R";

std::string Number(double value) { return RDouble(value); }

}  // namespace

SectionCodes MarginCodes(const MarginFigures& f, const std::string& difference,
                         const std::string& error, const std::string& df,
                         const std::vector<std::string>& setup) {
  const std::string name = HypothesisName(f.hypothesis);
  const bool equivalence = f.hypothesis == Hypothesis::Equivalence;
  std::string values = "# " + name + "检验: margin " + f.marginText + ", alpha " + f.alphaText +
                       (equivalence ? " each side (two one-sided tests)" : " one-sided") + "\n";
  values += "m_alpha <- " + (f.alpha ? Number(*f.alpha) : std::string("NA")) + "\n";
  values += "m_nulls <- c(" + Number(f.null1) + ", " + Number(f.null2) + ")  # -/+ the margin";
  std::vector<std::string> s = setup;
  s.push_back(kMarginHelpers);
  s.push_back(values);
  std::string interval;
  std::string statistic;
  if (f.score) {
    s.push_back(kRestrictedRates);
    s.push_back(kScore);
    interval =
        "m_ci <- c(.fm_bound(a, a + b, c, c + d, rd, qnorm(m_alpha, lower.tail = FALSE)),\n"
        "          .fm_bound(a, a + b, c, c + d, rd, -qnorm(m_alpha, lower.tail = FALSE)))";
    statistic = ".fm(a, a + b, c, c + d, m_nulls[k])";
  } else {
    s.push_back("m_dif <- " + difference + "; m_se <- " + error + "; m_df <- " + df);
    interval = "m_ci <- m_dif + c(-1, 1) * qt(m_alpha, m_df, lower.tail = FALSE) * m_se";
    statistic = "(m_dif - m_nulls[k]) / m_se";
  }
  std::vector<std::string> ci = s;
  ci.push_back(interval);
  // The one-sided tests, each against its null and in its tail.
  const std::string tails = std::string("m_upper <- c(") + (f.upperTail1 ? "TRUE" : "FALSE") +
                            ", " + (f.upperTail2 ? "TRUE" : "FALSE") + ")";
  const std::string tests = tails + "\nm_stat <- sapply(1:" + (equivalence ? "2" : "1") +
                            ", function(k) " + statistic +
                            ")\nm_p <- sapply(seq_along(m_stat), function(k) " +
                            (f.score ? "pnorm(m_stat[k], lower.tail = !m_upper[k])"
                                     : "pt(m_stat[k], m_df, lower.tail = !m_upper[k])") +
                            ")";
  std::vector<std::string> t = s;
  t.push_back(tests);
  const std::string heading = name;
  return {
      {heading, [=](const ReportSection& section) -> std::vector<RowCode> {
         std::vector<RowCode> rows = {Text(section.rows.at(0)),
                                      Text(section.rows.at(1)),
                                      Value(".num(" + difference + ")", s),
                                      Value(".join(.margin_bound(m_ci[1], m_nulls), "
                                            ".margin_bound(m_ci[2], m_nulls))",
                                            ci),
                                      Value(".num(m_stat[1])", t),
                                      Value(".p(m_p[1], m_alpha)", t)};
         if (equivalence) {
           rows.push_back(Value(".num(m_stat[2])", t));
           rows.push_back(Value(".p(m_p[2], m_alpha)", t));
         }
         if (!f.score) rows.push_back(Value(".count(m_df)", s));
         if (equivalence) rows.push_back(Value(".p(max(m_p), m_alpha)", t));
         // Shown where every one-sided P is below alpha, as the interval's bound agrees.
         rows.push_back(Value(
             "paste0(" + RString(name) + ", if (all(m_p < m_alpha)) \"成立\" else \"不成立\")", t));
         return rows;
       }}};
}

}  // namespace quillon::rscript
