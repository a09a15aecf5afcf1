#include "rscript/power_script.h"

#include <variant>

#include "power/sample_size_inputs.h"
#include "rscript/script_writer.h"
#include "rscript/section_codes.h"

namespace quillon {

namespace {

// The search and the counts every design shares.
constexpr const char* kCounts = R"R(
# Group 2's ceiling(k * n1), at least 1, and ceiling(n / (1 - dropout)), both exact from the
# typed decimals (k = k_num / k_den, the dropout drop_num / drop_den percent).
# k_num * n1 may pass 2^53, where doubles no longer hold whole numbers: the product is worked
# digit by digit from k_num's decimal digits (k_digits), k_den being 10^k_places.
.group2 <- function(n1) {
  product <- numeric(0); carry <- 0
  for (digit in rev(k_digits)) {
    v <- digit * n1 + carry; product <- c(v %% 10, product); carry <- v %/% 10
  }
  while (carry > 0) { product <- c(carry %% 10, product); carry <- carry %/% 10 }
  kept <- length(product) - k_places
  whole <- if (kept > 0) sum(product[seq_len(kept)] * 10^((kept - 1):0)) else 0
  fraction <- if (kept > 0) product[-seq_len(kept)] else product
  max(1, whole + any(fraction > 0))
}
.enrolled <- function(n) (100 * drop_den * n + (100 * drop_den - drop_num) - 1) %/% (100 * drop_den - drop_num)
.plan <- function(n1, power_at) {
  n2 <- if (two_groups) .group2(n1) else 0
  list(n1 = n1, n2 = n2, total = n1 + n2, e1 = .enrolled(n1),
       e2 = if (two_groups) .enrolled(n2) else 0,
       et = .enrolled(n1) + if (two_groups) .enrolled(n2) else 0, power = power_at(n1))
}
# From a closed-form n: its ceiling, or the next n above whose power reaches the target (the
# rounding of group 2 may leave it a hair short).
.from_formula <- function(formula, power_at, least) {
  n <- max(least, ceiling(formula))
  while (power_at(n) < target) n <- n + 1
  n
}
# The least n whose power reaches the target, the power rising with n.
# The least n whose power reaches the target, by doubling from a start and halving the bracket
# (NA beyond 10,000,000).
.search <- function(start, power_at, least) {
  reaches <- function(n) power_at(n) >= target
  start <- min(max(if (is.finite(start)) ceiling(start) else 0, least), 1e7)
  below <- least - 1; above <- start; step <- 1
  if (reaches(start)) {
    while (above > least) {
      lower <- max(least, start - step)
      if (!reaches(lower)) { below <- lower; break }
      above <- lower; step <- step * 2
    }
  } else {
    below <- start
    repeat {
      if (below >= 1e7) return(NA)
      higher <- min(1e7, start + step)
      if (reaches(higher)) { above <- higher; break }
      below <- higher; step <- step * 2
    }
  }
  while (above - below > 1) {
    middle <- below + (above - below) %/% 2
    if (reaches(middle)) above <- middle else below <- middle
  }
  above
}
.smallest <- function(start, power_at, least) {
  n <- max(least, ceiling(start))
  while (n > least && power_at(n - 1) >= target) n <- n - 1
  while (power_at(n) < target) n <- n + 1
  n
}
)R";

constexpr const char* kTTests = R"R(
# Both tails of the noncentral t beyond +/- t(1 - alpha/2, df): power.t.test(strict = TRUE) for
# equal groups and for pairs, its formula for group 2 k times the size of group 1.
.t_power <- function(n1) {
  if (!two_groups) return(power.t.test(n = n1, delta = abs(delta), sd = sd, sig.level = alpha,
                                      type = "paired", strict = TRUE)$power)
  if (k_num == k_den) return(power.t.test(n = n1, delta = abs(delta), sd = sd, sig.level = alpha,
                                          strict = TRUE)$power)
  n2 <- .group2(n1); df <- n1 + n2 - 2
  ncp <- abs(delta) / (sd * sqrt(1 / n1 + 1 / n2)); critical <- qt(1 - alpha / 2, df)
  min(1, pt(critical, df, ncp, lower.tail = FALSE) + pt(-critical, df, ncp))
}
# Where the search starts: the normal approximation (z(1-alpha/2) + z(power))^2 (1 + 1/k) / (delta/sd)^2.
.t_start <- function() {
  (qnorm(1 - alpha / 2) + qnorm(target))^2 * (if (two_groups) 1 + k_den / k_num else 1) / (delta / sd)^2
}
)R";

constexpr const char* kCorrelation = R"R(
# Fisher's z: n = ((z(1-alpha/2) + z(power)) / atanh(r))^2 + 3; the power at n from the same.
.r_power <- function(n) {
  shift <- abs(atanh(r)) * sqrt(n - 3); z <- qnorm(1 - alpha / 2)
  pnorm(shift - z) + pnorm(-shift - z)
}
.r_n <- function() ((qnorm(1 - alpha / 2) + qnorm(target)) / atanh(r))^2 + 3
)R";

constexpr const char* kProportions = R"R(
# Fleiss's normal approximation with the pooled variance under H0, and its continuity correction
# (Fleiss, Tytun and Ury 1980); the power at n1 of the same, with |p1 - p2| less (1/n1 + 1/n2)/2
# when corrected.
.spreads <- function(k) {
  pooled <- (p1 + k * p2) / (1 + k)
  c(sqrt(pooled * (1 - pooled) * (1 + 1 / k)), sqrt(p1 * (1 - p1) + p2 * (1 - p2) / k))
}
.p_power <- function(n1, corrected) {
  n2 <- .group2(n1); s <- .spreads(n2 / n1)
  d <- abs(p1 - p2) - if (corrected) (1 / n1 + 1 / n2) / 2 else 0
  pnorm((d * sqrt(n1) - qnorm(1 - alpha / 2) * s[1]) / s[2])
}
.p_n <- function(corrected) {
  k <- k_num / k_den; s <- .spreads(k)
  n <- (qnorm(1 - alpha / 2) * s[1] + qnorm(target) * s[2])^2 / (p1 - p2)^2
  if (corrected) n / 4 * (1 + sqrt(1 + 2 * (k + 1) / (k * n * abs(p1 - p2))))^2 else n
}
# The main window's four-fold rule at the table the plain plan expects: the corrected test (or
# the exact one) where n < 40 or an expected count is below 5, and then the corrected plan.
.rule_corrects <- function(n1) {
  n2 <- .group2(n1)
  cells <- matrix(round(c(n1 * p1, n2 * p2, n1 * (1 - p1), n2 * (1 - p2)), 4), 2)
  floor(sum(cells) + 0.5) < 40 || any(outer(rowSums(cells), colSums(cells)) / sum(cells) < 5)
}
)R";

constexpr const char* kMcNemar = R"R(
# The exact McNemar test: given m discordant pairs, the two-sided binomial test of b against 1/2
# rejects at b <= c or b >= m - c, c the largest count with 2 P(b <= c) <= alpha. Its power at n
# pairs sums that over m ~ Binomial(n, psi), b ~ Binomial(m, p10 / psi).
.mc_power <- function(n) {
  psi <- p10 + p01; share <- p10 / psi; spread <- sqrt(n * psi * max(0, 1 - psi))
  m <- if (psi >= 1) n else max(0, floor(n * psi - 8.5 * spread - 20)):min(n, ceiling(n * psi + 8.5 * spread + 20))
  c0 <- qbinom(alpha / 2, m, 0.5)
  c <- ifelse(2 * pbinom(c0, m, 0.5) <= alpha, c0, c0 - 1)
  rejects <- ifelse(c >= 0, pbinom(c, m, share) + pbinom(m - c - 1, m, share, lower.tail = FALSE), 0)
  min(1, max(0, sum(dbinom(m, n, min(1, psi)) * rejects)))
}
# Connor (1987): n = [z(1-alpha/2) sqrt(psi) + z(power) sqrt(psi - delta^2)]^2 / delta^2.
.connor_n <- function(power) {
  psi <- p10 + p01; d <- p10 - p01
  (qnorm(1 - alpha / 2) * sqrt(psi) + qnorm(power) * sqrt(psi - d^2))^2 / d^2
}
.connor_power <- function(n) {
  psi <- p10 + p01; d <- p10 - p01
  pnorm((abs(d) * sqrt(n) - qnorm(1 - alpha / 2) * sqrt(psi)) / sqrt(psi - d^2))
}
# The exact power rises in saw teeth: the least n from which it stays at or above the target. A
# crossing is found by doubling from a start and halving the bracket; the sizes above it are
# checked over the teeth's width (at most 256 in all), and the search starts again above any
# that falls short. The start is Connor's n for the target raised by what the exact power falls
# short of Connor's there.
.crossing <- function(guess, least) .search(guess, .mc_power, least)
.teeth <- function(n) {
  psi <- p10 + p01
  if (abs(1 - 2 * psi)^n < 1e-3) 4 else ceiling((2 * sqrt(n * psi) + 8) / psi)
}
.mc_n <- function() {
  connor <- .connor_n(target); n <- max(1, ceiling(connor))
  raised <- target + .connor_power(n) - .mc_power(n)
  from <- .crossing(if (raised > 0 && raised < 1) .connor_n(raised) else connor, 1)
  checked <- 0
  while (!is.na(from)) {
    end <- min(1e7, from + .teeth(from)); n <- from + 1
    while (n <= end && checked < 256) {
      if (!(.mc_power(n) >= target)) break
      n <- n + 1; checked <- checked + 1
    }
    if (n > end || checked >= 256) return(from)
    from <- .crossing(n + 1, n + 1)
  }
  NA
}
)R";

constexpr const char* kMarginMeans = R"R(
# Against a margin: d0 = -margin (non-inferiority) or +margin (superiority) on the scale where
# higher values are better, `direction` -1 where lower values are better. The degrees of freedom
# and the standard error of the difference at group 1's n (or the pairs).
.frame <- function(n1) {
  if (two_groups) { n2 <- .group2(n1); c(n1 + n2 - 2, sd * sqrt(1 / n1 + 1 / n2)) }
  else c(n1 - 1, sd / sqrt(n1))
}
# The exact power of the one-sided t test of H0: d <= d0, the noncentral t beyond t(1 - alpha, df)
# (power.t.test(alternative = "one.sided") is this test with d0 = 0 and equal groups).
.shifted_power <- function(n1) {
  f <- .frame(n1)
  min(1, max(0, pt(qt(1 - alpha, f[1]), f[1], (direction * difference - d0) / f[2],
                   lower.tail = FALSE)))
}
# The exact power of the two one-sided t tests with a common SD (Phillips 1990, Owen's Q): the
# chance that -margin + t SE^ < d^ < margin - t SE^, as one integral over the chi density of
# u = sqrt(df) SE^ / SE (base R has no Owen's Q).
.tost_power <- function(n1) {
  f <- .frame(n1); df <- f[1]; se <- f[2]; slope <- qt(1 - alpha, df) / sqrt(df)
  upper <- (margin - difference) / se; lower <- (-margin - difference) / se
  from <- max(0, sqrt(df) - 10); to <- min((upper - lower) / (2 * slope), sqrt(df) + 10)
  if (!(to > from)) return(0)
  inside <- function(u) (pnorm(upper - slope * u) - pnorm(lower + slope * u)) * .chi_density(u, df)
  min(1, max(0, integrate(inside, from, to, rel.tol = 1e-12, abs.tol = 0,
                          subdivisions = 2000L)$value))
}
)R";

constexpr const char* kMarginRates = R"R(
# Two rates against a margin, one-sided z tests of H0: p1 - p2 <= d0 (direction 1) or >= d0
# (direction -1): Phi((direction (p1 - p2 - d0) sqrt(n1) - z(1 - alpha) s0) / s1), s1 the spread of
# p1^ - p2^ for n1 = 1 and n2 = k, s0 the same at Farrington and Manning's restricted rates
# (restricted = TRUE) or at the expected rates (Blackwelder, unpooled).
.spreads0 <- function(k, null, restricted) {
  of <- function(q1, q2) sqrt(q1 * (1 - q1) + q2 * (1 - q2) / k)
  q <- if (restricted) .restricted(p1, 1, p2 * k, k, null) else c(p1, p2)
  c(of(q[1], q[2]), of(p1, p2))
}
.rate_power <- function(n1, null, sense, restricted) {
  n2 <- .group2(n1); s <- .spreads0(n2 / n1, null, restricted)
  pnorm((sense * (p1 - p2 - null) * sqrt(n1) - qnorm(1 - alpha) * s[1]) / s[2])
}
# Equivalence: both one-sided tests, each with its own null spread.
.rate_tost <- function(n1, restricted) {
  max(0, .rate_power(n1, -margin, 1, restricted) + .rate_power(n1, margin, -1, restricted) - 1)
}
# Where the search starts: ((z(1 - alpha) s0 + z(power) s1) / (p1 - p2 - d0))^2 at k.
.rate_start <- function(null, power, restricted) {
  s <- .spreads0(k_num / k_den, null, restricted)
  ((qnorm(1 - alpha) * s[1] + qnorm(power) * s[2]) / (p1 - p2 - null))^2
}
)R";

std::string Decimal(const TypedValue& value) { return value.text.empty() ? "0" : value.text; }

// The R expressions of the figures a line of the result holds, in order, after its "：".
std::vector<std::string> LineFigures(const std::string& line, const std::string& plan) {
  const std::string n1 = ".count(" + plan + "$n1)";
  const std::string power = ".decimals(" + plan + "$power, 4L)";
  auto has = [&](const char* text) { return line.find(text) != std::string::npos; };
  if (line.starts_with("Connor法近似：")) {
    // Connor's n, and Connor's power at the exact test's n.
    return {".count(max(1, ceiling(.connor_n(target))))",
            ".decimals(.connor_power(" + plan + "$n1), 4L)"};
  }
  if (line.starts_with("Connor法近似的检验效能：")) {
    return {".decimals(.connor_power(" + plan + "$n1), 4L)"};
  }
  if (has("检验效能：")) return {power};
  if (has("脱落后每组纳入：")) return {".count(" + plan + "$e1)", ".count(" + plan + "$et)"};
  if (has("脱落后第1组纳入：")) {
    return {".count(" + plan + "$e1)", ".count(" + plan + "$e2)", ".count(" + plan + "$et)"};
  }
  if (has("脱落后纳入")) return {".count(" + plan + "$e1)"};
  if (line.starts_with("第2组例数：")) return {".count(" + plan + "$n2)"};
  if (line.starts_with("合计：")) return {".count(" + plan + "$total)"};
  if (line.starts_with("每组例数：") || line.starts_with("第1组例数：") ||
      line.starts_with("例数：") || line.starts_with("对子数：")) {
    return {n1};
  }
  return {};
}

// The line printed with its first figures computed in R, the rest of its text as it reads.
std::string LineExpression(const std::string& line, const std::vector<std::string>& figures) {
  const std::size_t colon = line.find("：");
  std::string expression = "paste0(";
  std::size_t from = 0;
  std::size_t at = colon;
  // A figure follows "：", "合计", "对子数" or "检验效能"; other digits ("第2组") are text.
  auto figureAt = [&](std::size_t position) {
    for (const std::string before : {"：", "合计", "对子数", "检验效能"}) {
      if (position >= before.size() &&
          line.compare(position - before.size(), before.size(), before) == 0) {
        return true;
      }
    }
    return false;
  };
  for (const std::string& figure : figures) {
    at = line.find_first_of("0123456789", at);
    while (at != std::string::npos && !figureAt(at)) at = line.find_first_of("0123456789", at + 1);
    if (at == std::string::npos) return {};
    std::size_t end = line.find_first_not_of("0123456789.", at);
    if (end == std::string::npos) end = line.size();
    expression += RString(line.substr(from, at - from)) + ", " + figure + ", ";
    from = at = end;
  }
  return expression + RString(line.substr(from)) + ")";
}

}  // namespace

std::string SampleSizeScript(PowerDesign design, const SampleSizeBoxes& boxes, SolveFor solve,
                             const SampleSizeResult& result, const ScriptHeader& header) {
  Report title;
  title.title = "样本量与检验效能：" + PowerDesignName(design) + "，" + SolveForName(solve);
  ScriptWriter writer(header.version, header.date, title, kDefaultPStyle);
  const auto read = ReadSampleSizeInputs(design, boxes, solve);
  if (const auto* reason = std::get_if<std::string>(&read)) {
    writer.NothingToCompute(*reason);
    return writer.Text();
  }
  const SampleSizeInputs& in = std::get<SampleSizeInputs>(read);
  const ExactDecimal ratio = ExactValue(in.ratio);
  const ExactDecimal dropout = ExactValue(in.dropout);
  const bool twoGroups = design == PowerDesign::TwoSample || design == PowerDesign::TwoProportions;
  writer.Blank();
  writer.Comment("数据：窗口中填写的数值");
  const bool margin = HasMargin(in.hypothesis);
  writer.Line("alpha <- " + Decimal(in.alpha) + "  # " +
              (!margin                                    ? "two-sided"
               : in.hypothesis == Hypothesis::Equivalence ? "each of the two one-sided tests"
                                                          : "one-sided"));
  writer.Line("target <- " + Decimal(in.power) + "  # the power wanted");
  writer.Line("drop_num <- " + dropout.numerator.str() + "; drop_den <- " +
              dropout.denominator.str() + "  # dropout " + Decimal(in.dropout) + "%");
  const std::string ratioDigits = ratio.numerator.str();
  std::string digitVector;
  for (const char digit : ratioDigits) {
    digitVector += std::string(digitVector.empty() ? "" : ", ") + digit;
  }
  writer.Line("k_digits <- c(" + digitVector + "); k_places <- " +
              std::to_string(in.ratio.decimals));
  writer.Line("k_num <- " + ratio.numerator.str() + "; k_den <- " + ratio.denominator.str() +
              "  # k = n2 / n1 = " + Decimal(in.ratio));
  writer.Line(std::string("two_groups <- ") + (twoGroups ? "TRUE" : "FALSE"));
  if (solve == SolveFor::Power) writer.Line("n_typed <- " + std::to_string(in.n));
  writer.Line(kCounts);
  const std::string least = std::to_string(LeastSampleSize(design));
  const std::string at = solve == SolveFor::Power ? "n_typed" : "";
  std::string plan, other;
  if (margin) {
    const bool rates = design == PowerDesign::TwoProportions;
    const bool equivalence = in.hypothesis == Hypothesis::Equivalence;
    const double direction = in.better == Better::Higher ? 1 : -1;
    // d0 on the scale where higher is better, and the direction's sign.
    const std::string shift = in.hypothesis == Hypothesis::NonInferiority ? "-margin" : "margin";
    writer.Line("# " + RCommentText(HypothesisName(in.hypothesis)) + ", " +
                RCommentText(BetterName(in.better)));
    writer.Line("margin <- " + Decimal(in.margin) + "; direction <- " +
                (direction > 0 ? "1" : "-1") + "; d0 <- " + shift);
    if (!rates) {
      writer.Line("difference <- " + Decimal(in.difference) + "; sd <- " + Decimal(in.spread) +
                  "  # the expected difference (group 1 - group 2, or the pairs' mean) and its SD");
      writer.Line(rscript::kChiDensity);
      writer.Line(kMarginMeans);
      const std::string power = equivalence ? ".tost_power" : ".shifted_power";
      // The normal approximation where the search starts, as the program starts it.
      writer.Line(std::string(".start <- function() {\n") + "  z <- qnorm(1 - alpha) + qnorm(" +
                  (equivalence ? "if (difference == 0) (1 + target) / 2 else target" : "target") +
                  ")\n  distance <- " +
                  (equivalence ? "margin - abs(difference)" : "direction * difference - d0") +
                  "\n  z^2 * (if (two_groups) 1 + k_den / k_num else 1) / (distance / sd)^2\n}");
      plan = ".plan(" + (at.empty() ? ".search(.start(), " + power + ", " + least + ")" : at) +
             ", " + power + ")";
    } else {
      writer.Line("p1 <- " + Decimal(in.first) + "; p2 <- " + Decimal(in.second));
      writer.Line(rscript::kRestrictedRates);
      writer.Line(kMarginRates);
      auto of = [&](const char* restricted) {
        const std::string r = restricted;
        const std::string power =
            equivalence ? "function(n) .rate_tost(n, " + r + ")"
                        : "function(n) .rate_power(n, direction * d0, direction, " + r + ")";
        const std::string start =
            equivalence
                ? ".rate_start(if (p1 - p2 >= 0) margin else -margin, if (p1 == p2) (1 + target) / "
                  "2 else target, " +
                      r + ")"
                : ".rate_start(direction * d0, target, " + r + ")";
        return ".plan(" +
               (at.empty() ? ".search(" + start + ", " + power + ", " + least + ")" : at) + ", " +
               power + ")";
      };
      writer.Line("# The plan by Farrington and Manning; Blackwelder's beside it, for comparison.");
      writer.Line("fm <- " + of("TRUE") + "; blackwelder <- " + of("FALSE"));
      plan = "fm";
      other = "blackwelder";
    }
  } else {
    switch (design) {
      case PowerDesign::TwoSample:
      case PowerDesign::Paired:
        writer.Line("delta <- " + Decimal(in.effect) + "; sd <- " + Decimal(in.spread));
        writer.Line(kTTests);
        plan = ".plan(" + (at.empty() ? ".smallest(.t_start(), .t_power, " + least + ")" : at) +
               ", .t_power)";
        break;
      case PowerDesign::Correlation:
        writer.Line("r <- " + Decimal(in.r));
        writer.Line(kCorrelation);
        plan = ".plan(" + (at.empty() ? ".from_formula(.r_n(), .r_power, " + least + ")" : at) +
               ", .r_power)";
        break;
      case PowerDesign::TwoProportions: {
        writer.Line("p1 <- " + Decimal(in.first) + "; p2 <- " + Decimal(in.second));
        writer.Line(kProportions);
        auto of = [&](const char* corrected) {
          const std::string power = "function(n) .p_power(n, " + std::string(corrected) + ")";
          return ".plan(" +
                 (at.empty() ? ".from_formula(.p_n(" + std::string(corrected) + "), " + power +
                                   ", " + least + ")"
                             : at) +
                 ", " + power + ")";
        };
        writer.Line("plain <- " + of("FALSE") + "; corrected <- " + of("TRUE"));
        writer.Line("chosen <- .rule_corrects(plain$n1)");
        plan = "if (chosen) corrected else plain";
        other = "if (chosen) plain else corrected";
        break;
      }
      case PowerDesign::McNemar:
        writer.Line("p10 <- " + Decimal(in.first) + "; p01 <- " + Decimal(in.second));
        writer.Line(kMcNemar);
        plan = ".plan(" + (at.empty() ? std::string(".mc_n()") : at) + ", .mc_power)";
        break;
    }
  }
  writer.Blank();
  writer.Comment("结果：每个含数值的行，与窗口中的写法相同");
  // The lines of the plan, then those of the other plan (two proportions), each figure
  // computed; a "—（reason）" line is a comment and is printed as it reads.
  bool planned = false;
  int methods = 0;
  for (const std::string& line : result.lines) {
    if (line.starts_with("方法：")) {
      writer.Comment(line);
      ++methods;
      continue;
    }
    if (line.find("：") == std::string::npos) {
      writer.Comment(line);
      continue;
    }
    const std::string which = methods > 1 ? "other" : "plan";
    if (line.find("—") != std::string::npos) {
      writer.Comment(line);
      writer.Line("cat(" + RString(line) + ", \"\\n\", sep = \"\")");
      continue;
    }
    if (!planned) {
      writer.Line("plan <- " + plan);
      if (!other.empty()) writer.Line("other <- " + other);
      planned = true;
    }
    const std::vector<std::string> figures = LineFigures(line, which);
    const std::string expression = figures.empty() ? "" : LineExpression(line, figures);
    if (expression.empty()) {
      writer.Comment(line);
      continue;
    }
    writer.Line("cat(" + expression + ", \"\\n\", sep = \"\")");
  }
  return writer.Text();
}

}  // namespace quillon
