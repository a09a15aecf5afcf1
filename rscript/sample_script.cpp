// The scripts of the sample analyses: the two-sample t tests, the paired t test and the
// correlation with its regression line, with the checks of their assumptions.

#include "rscript/report_script.h"
#include "rscript/section_codes.h"

namespace quillon {

namespace rscript {

RowCode Value(std::string expression, std::vector<std::string> setup) {
  return {std::move(setup), std::move(expression)};
}

RowCode Text(const ReportRow& row) { return {{}, RString(row.value)}; }

const char* const kChiDensity =
    "# The density of the chi variable with df degrees of freedom, in logarithms about its\n"
    "# mode m = sqrt(df - 1) so that large df keep their digits.\n"
    ".chi_density <- function(u, df) {\n"
    "  if (df <= 2) return(exp((1 - df / 2) * log(2) - lgamma(df / 2) +\n"
    "                          (if (df > 1) (df - 1) * log(u) else 0) - u^2 / 2))\n"
    "  m <- sqrt(df - 1)\n"
    "  exp((1 - df / 2) * log(2) - lgamma(df / 2) + (df - 1) * log(m) - m^2 / 2 +\n"
    "      (df - 1) * log1p((u - m) / m) - (u - m) * (u + m) / 2)\n"
    "}";

const char* const kNoncentralInterval =
    "# The 95% interval of an effect size from its t: the noncentralities with\n"
    "# P(T <= t; df, ncp) = 0.975 and 0.025, found by uniroot. R's pt(t, df, ncp) is exact up\n"
    "# to |ncp| = 37.62 and an approximation beyond; there the distribution function is\n"
    "# integrated from its definition, E[pnorm(t * u / sqrt(df) - ncp)] over the chi variable u,\n"
    "# in two parts either side of where the normal's argument is 0.\n"
    ".pnct <- function(t, df, ncp) {\n"
    "  if (abs(ncp) <= 37.62) return(pt(t, df, ncp))\n"
    "  inside <- function(u) pnorm(t * u / sqrt(df) - ncp) * .chi_density(u, df)\n"
    "  from <- max(0, sqrt(df) - 12); to <- sqrt(df) + 12\n"
    "  step <- if (t != 0) sqrt(df) * ncp / t else -1\n"
    "  cuts <- c(from, if (step > from && step < to) step, to)\n"
    "  sum(sapply(seq_len(length(cuts) - 1), function(k)\n"
    "    integrate(inside, cuts[k], cuts[k + 1], rel.tol = 1e-13, abs.tol = 0,\n"
    "              subdivisions = 1000L)$value))\n"
    "}\n"
    ".noncentral <- function(t, df) {\n"
    "  spread <- sqrt(1 + t^2 / (2 * df))\n"
    "  sapply(c(0.975, 0.025), function(target) uniroot(function(ncp) .pnct(t, df, ncp) - target,\n"
    "    t + c(-3, 3) * spread + c(-1, 1), extendInt = \"downX\", tol = 1e-13,\n"
    "    maxiter = 1000)$root)\n"
    "}";

}  // namespace rscript

namespace {

using rscript::SectionCodes;
using rscript::Text;
using rscript::Value;

const char* const kSummaryPooled =
    "# The report takes the pooled test from the summaries the main window shows (means and SDs\n"
    "# to four decimals), so it is written out from them here; t.test(x, y, var.equal = TRUE)\n"
    "# on the values differs only within the rounding of those summaries. The difference of the\n"
    "# means is taken in ten-thousandths, exactly, as the report takes it.\n"
    "dif <- (round(m1 * 1e4) - round(m2 * 1e4)) / 1e4\n"
    "df0 <- n1 + n2 - 2\n"
    "sc2 <- (s1^2 * (n1 - 1) + s2^2 * (n2 - 1)) / df0\n"
    "se0 <- sqrt(sc2 * (1 / n1 + 1 / n2))\n"
    "t0 <- dif / se0\n"
    "p0 <- 2 * pt(-abs(t0), df0)\n"
    "ci0 <- dif + c(-1, 1) * qt(0.975, df0) * se0";
const char* const kValuesPooled =
    "# The groups' sums are too large for the shown means to keep their fourth decimal, so the\n"
    "# report takes the pooled test from the values themselves.\n"
    "pooled <- t.test(xs, ys, var.equal = TRUE)\n"
    "dif <- mean(xs) - mean(ys); df0 <- unname(pooled$parameter)\n"
    "sc2 <- ((n1 - 1) * var(xs) + (n2 - 1) * var(ys)) / df0; se0 <- pooled$stderr\n"
    "t0 <- unname(pooled$statistic); p0 <- pooled$p.value; ci0 <- pooled$conf.int";

// The figures beyond the pooled test, from the values (t.test, var.test) or, with summaries
// alone, from the summaries by the same formulas.
const char* const kValuesBeyond =
    "wse <- sqrt(var(xs) / n1 + var(ys) / n2)\n"
    "difv <- mean(xs) - mean(ys)\n"
    "sp <- sqrt(((n1 - 1) * var(xs) + (n2 - 1) * var(ys)) / (n1 + n2 - 2))";
const char* const kValuesWelch =
    "welch <- t.test(xs, ys)  # Welch, var.equal = FALSE\n"
    "wt <- unname(welch$statistic); wdf <- unname(welch$parameter)\n"
    "wp <- welch$p.value; wci <- welch$conf.int";
const char* const kSummaryBeyond =
    "# Welch's test from the summaries: base R's t.test needs the values.\n"
    "v1 <- s1^2 / n1; v2 <- s2^2 / n2\n"
    "wse <- sqrt(v1 + v2); wt <- dif / wse\n"
    "wdf <- (v1 + v2)^2 / (v1^2 / (n1 - 1) + v2^2 / (n2 - 1))\n"
    "wp <- 2 * pt(-abs(wt), wdf); wci <- dif + c(-1, 1) * qt(0.975, wdf) * wse\n"
    "difv <- dif; sp <- sqrt(sc2)";
const char* const kValuesF =
    "vt <- var.test(xs, ys)  # F = S1^2 / S2^2, two-sided 2 * min(lower, upper tail)\n"
    "fv <- unname(vt$statistic); fdf <- unname(vt$parameter); fp <- vt$p.value";
const char* const kSummaryF =
    "fv <- s1^2 / s2^2; fdf <- c(n1 - 1, n2 - 1)\n"
    "fp <- min(1, 2 * min(pf(fv, fdf[1], fdf[2]), pf(fv, fdf[1], fdf[2], lower.tail = FALSE)))";
const char* const kEffects =
    "# Cohen's d from the pooled SD; its interval from the noncentral t; Hedges' g = J * d.\n"
    "d <- difv / sp; dscale <- sqrt(n1 * n2 / (n1 + n2)); ddf <- n1 + n2 - 2\n"
    "dci <- .noncentral(d * dscale, ddf) / dscale\n"
    "J <- exp(lgamma(ddf / 2) - lgamma((ddf - 1) / 2)) / sqrt(ddf / 2)";

SectionCodes TwoSampleCodes(const TwoSampleFigures& f) {
  const bool values = f.fromValues;
  const std::string pooled = f.pooledFromValues ? kValuesPooled : kSummaryPooled;
  const std::string beyond = values ? kValuesBeyond : kSummaryBeyond;
  auto meanInterval = [=](int group) {
    const std::string k = std::to_string(group);
    const std::string name = group == 1 ? "xs" : "ys";
    const std::string setup = values ? "ci" + k + " <- t.test(" + name + ")$conf.int + shift"
                                     : "ci" + k + " <- m" + k + " + c(-1, 1) * qt(0.975, n" + k +
                                           " - 1) * s" + k + " / sqrt(n" + k + ")";
    return Value(".ci(ci" + k + "[1], ci" + k + "[2])", {setup});
  };
  return {
      {"各组描述",
       [=](const ReportSection& s) -> std::vector<RowCode> {
         if (s.rows.size() != 9) return {};
         return {Value(".num(m1)"),   Value(".num(s1)"), Value(".count(n1)"),
                 meanInterval(1),     Value(".num(m2)"), Value(".num(s2)"),
                 Value(".count(n2)"), meanInterval(2),   Text(s.rows[8])};
       }},
      {"合并方差t检验",
       [=](const ReportSection&) -> std::vector<RowCode> {
         return {Value(".num(dif)", {pooled}),
                 Value(".num(sc2)", {pooled}),
                 Value(".num(se0)", {pooled}),
                 Value(".num(t0)", {pooled}),
                 Value(".count(df0)", {pooled}),
                 Value(".p(p0)", {pooled}),
                 Value(".ci(ci0[1], ci0[2], \"zero\")", {pooled})};
       }},
      {"方差齐性检验",
       [=](const ReportSection&) -> std::vector<RowCode> {
         const std::string setup = values ? kValuesF : kSummaryF;
         return {Value(".num(fv)", {setup}),
                 Value("paste0(.count(fdf[1]), \", \", .count(fdf[2]))", {setup}),
                 Value(".p(fp)", {setup})};
       }},
      {"Welch校正t检验",
       [=](const ReportSection&) -> std::vector<RowCode> {
         const std::vector<std::string> setup = {pooled, beyond};
         std::vector<std::string> test = setup;
         if (values) test.push_back(kValuesWelch);
         return {Value(".num(wse)", setup), Value(".num(wt)", test), Value(".count(wdf)", test),
                 Value(".p(wp)", test), Value(".ci(wci[1], wci[2], \"zero\")", test)};
       }},
      {"效应量",
       [=](const ReportSection&) -> std::vector<RowCode> {
         const std::vector<std::string> setup = {pooled, beyond, rscript::kChiDensity,
                                                 rscript::kNoncentralInterval, kEffects};
         return {Value(".num(d)", setup), Value(".ci(dci[1], dci[2], \"zero\")", setup),
                 Value(".num(J * d)", setup),
                 Value(".ci(J * dci[1], J * dci[2], \"zero\")", setup)};
       }},
      {"正态性与方差齐性",
       [=](const ReportSection&) -> std::vector<RowCode> {
         const std::string bf =
             "# Brown-Forsythe: one-way ANOVA of the distances from each group's median.\n"
             "spread <- anova(lm(c(abs(xs - median(xs)), abs(ys - median(ys))) ~\n"
             "  factor(rep(1:2, c(length(xs), length(ys))))))";
         return {Value(".num(unname(shapiro.test(xs)$statistic))"),
                 Value(".p(shapiro.test(xs)$p.value)"),
                 Value(".num(unname(shapiro.test(ys)$statistic))"),
                 Value(".p(shapiro.test(ys)$p.value)"),
                 Value(".num(spread[1, \"F value\"])", {bf}),
                 Value("paste0(.count(spread$Df[1]), \", \", .count(spread$Df[2]))", {bf}),
                 Value(".p(spread[1, \"Pr(>F)\"])", {bf})};
       }},
  };
}

const char* const kPairedTest =
    "# d = first - second, exactly; the paired t test is the one-sample t test of d, as\n"
    "# t.test(x, y, paired = TRUE) takes it.\n"
    "d <- (round(x * 1e4) - round(y * 1e4)) / 1e4\n"
    "dbar <- mean(d); sd_d <- sd(d); n <- length(d)";
const char* const kPairedT = "paired <- t.test(d)";
const char* const kPairedEffect =
    "dz <- dbar / sd_d; dzci <- .noncentral(dz * sqrt(n), n - 1) / sqrt(n)";
const char* const kAgreement =
    "# Bland-Altman: limits dbar -/+ 1.96 Sd, each with the interval +/- t * sqrt(3 Sd^2 / n).\n"
    "limits <- dbar + c(-1, 1) * 1.96 * sd_d\n"
    "reach <- qt(0.975, n - 1) * sd_d * sqrt(3 / n)";

SectionCodes PairedCodes() {
  const std::vector<RowCode> normality = {
      Value(".num(unname(shapiro.test(d)$statistic))", {kPairedTest}),
      Value(".p(shapiro.test(d)$p.value)", {kPairedTest})};
  return {
      {"差值 d =",
       [](const ReportSection&) -> std::vector<RowCode> {
         const std::vector<std::string> s = {kPairedTest};
         const std::vector<std::string> t = {kPairedTest, kPairedT};
         return {Value(".count(n)", s),
                 Value(".num(dbar)", s),
                 Value(".num(sd_d)", s),
                 Value(".num(sd_d / sqrt(n))", s),
                 Value(".num(unname(paired$statistic))", t),
                 Value(".count(n - 1)", s),
                 Value(".p(paired$p.value)", t),
                 Value(".ci(paired$conf.int[1], paired$conf.int[2], \"zero\")", t)};
       }},
      {"效应量",
       [](const ReportSection&) -> std::vector<RowCode> {
         const std::vector<std::string> s = {kPairedTest, rscript::kChiDensity,
                                             rscript::kNoncentralInterval, kPairedEffect};
         return {Value(".num(dz)", s), Value(".ci(dzci[1], dzci[2], \"zero\")", s)};
       }},
      {"差值的正态性与两种测量的一致性",
       [normality](const ReportSection&) -> std::vector<RowCode> {
         const std::vector<std::string> s = {kPairedTest, kAgreement};
         std::vector<RowCode> rows = normality;
         for (RowCode row :
              {Value(".num(dbar)", s),
               Value(".ci(paired$conf.int[1], paired$conf.int[2], \"zero\")",
                     {kPairedTest, kPairedT}),
               Value(".num(limits[1])", s), Value(".ci(limits[1] - reach, limits[1] + reach)", s),
               Value(".num(limits[2])", s),
               Value(".ci(limits[2] - reach, limits[2] + reach)", s)}) {
           rows.push_back(row);
         }
         return rows;
       }},
      {"差值的正态性",
       [normality](const ReportSection&) -> std::vector<RowCode> { return normality; }},
  };
}

const char* const kPairs = "n <- length(xs)";
const char* const kCorrelation =
    "ct <- cor.test(xs, ys)  # Pearson; its interval is tanh(atanh(r) -/+ 1.96/sqrt(n - 3))";
const char* const kRegression =
    "# The line of the shifted values has the same slope; the intercept is ybar - b * xbar and\n"
    "# its standard error Sb * sqrt(sum(x^2) / n).\n"
    "n <- length(xs); fit <- lm(ys ~ xs)\n"
    "coefs <- summary(fit)$coefficients; bounds <- confint(fit)\n"
    "b <- coefs[2, 1]; sb <- coefs[2, 2]\n"
    "a <- (ys_shift - b * xs_shift) + (mean(ys) - b * mean(xs))\n"
    "sa <- sb * sqrt(sum((xs + xs_shift)^2) / n)\n"
    "aci <- a + c(-1, 1) * qt(0.975, n - 2) * sa";

SectionCodes CorrelationCodes(const CorrelationFigures& f) {
  // The intercept as the main window's equation rounds it exactly to four decimals.
  const bool shownIntercept = f.shown.intercept.has_value();
  return {
      {"相关",
       [](const ReportSection&) -> std::vector<RowCode> {
         const std::vector<std::string> s = {kPairs, kCorrelation};
         return {Value(".count(n)", {kPairs}), Value(".num(cor(xs, ys))"),
                 Value(".ci(ct$conf.int[1], ct$conf.int[2], \"cor\")", s),
                 // t from the line's slope: for a nearly perfect correlation, 1 - r^2 from r
                 // has lost its digits where the residuals keep them.
                 Value(".num(coefs[2, 3])", {kRegression}),
                 Value(".count(unname(ct$parameter))", s), Value(".p(ct$p.value)", s),
                 Value(".num(cor(xs, ys)^2)")};
       }},
      {"回归",
       [shownIntercept](const ReportSection&) -> std::vector<RowCode> {
         const std::vector<std::string> s = {kRegression};
         return {Value(shownIntercept ? ".decimals(a, 4L, 15L)" : ".num(a)", s),
                 Value(".num(sa)", s),
                 Value(".ci(aci[1], aci[2], \"zero\")", s),
                 Value(".num(b)", s),
                 Value(".num(sb)", s),
                 Value(".ci(bounds[2, 1], bounds[2, 2], \"zero\")", s)};
       }},
      {"残差的正态性",
       [](const ReportSection&) -> std::vector<RowCode> {
         const std::vector<std::string> s = {kRegression};
         return {Value(".num(unname(shapiro.test(residuals(fit))$statistic))", s),
                 Value(".p(shapiro.test(residuals(fit))$p.value)", s)};
       }},
  };
}

void Append(SectionCodes& codes, SectionCodes more) {
  for (auto& code : more) codes.push_back(std::move(code));
}

std::vector<Fixed4> Column(const std::vector<std::pair<Fixed4, Fixed4>>& pairs, bool second) {
  std::vector<Fixed4> column;
  column.reserve(pairs.size());
  for (const auto& [x, y] : pairs) column.push_back(second ? y : x);
  return column;
}

// The complete pairs as x and y; none: the script says so.
bool PairsData(ScriptWriter& writer, const std::vector<std::pair<Fixed4, Fixed4>>& pairs,
               const char* what) {
  if (pairs.empty()) {
    writer.NothingToCompute(std::string("没有") + what + "均有数值的行。");
    return false;
  }
  writer.Blank();
  writer.Comment(std::string("数据：") + what + "均有数值的行（完整的数据对），按数据表的顺序");
  writer.Line("x <- " + RVector(Column(pairs, false)));
  writer.Line("y <- " + RVector(Column(pairs, true)));
  writer.Line("xs_shift <- round(median(x)); xs <- .shifted(x, xs_shift)");
  writer.Line("ys_shift <- round(median(y)); ys <- .shifted(y, ys_shift)");
  return true;
}

}  // namespace

std::string TwoSampleScript(const Report& report, PStyle style, const ScriptHeader& header,
                            const TwoSampleFigures& figures, const RankSumFigures& ranks,
                            const std::vector<Fixed4>& first, const std::vector<Fixed4>& second,
                            const MarginFigures* margin) {
  ScriptWriter writer(header.version, header.date, report, style);
  if (report.sections.empty()) {
    writer.NothingToCompute(report.sentences.empty() ? std::string() : report.sentences.front());
    return writer.Text();
  }
  const SummaryValues& v = figures.input;
  writer.Blank();
  writer.Comment("数据：两组的均数、标准差与例数，与主窗口的汇总值相同");
  writer.Line("m1 <- " + v.mean1.ToPlainText() + "; s1 <- " + v.deviation1.ToPlainText() +
              "; n1 <- " + v.count1.ToPlainText());
  writer.Line("m2 <- " + v.mean2.ToPlainText() + "; s2 <- " + v.deviation2.ToPlainText() +
              "; n2 <- " + v.count2.ToPlainText());
  const bool values = !first.empty() || !second.empty();
  if (values) {
    writer.Comment("各组的原始数据，按数据表的顺序");
    writer.Line("x <- " + RVector(first));
    writer.Line("y <- " + RVector(second));
    writer.Line(
        "shift <- round(median(c(x, y))); xs <- .shifted(x, shift); ys <- .shifted(y, shift)");
  } else {
    writer.Comment(
        "只填了汇总值，没有原始数据：各检验按汇总值的公式计算，秩和检验没有可排秩的数据。");
  }
  SectionCodes codes = TwoSampleCodes(figures);
  Append(codes, values ? rscript::RankSumCodes(ranks) : rscript::NothingToRank());
  if (margin != nullptr && margin->Shown()) {
    // On the test the report's sentences use: Welch's where the variances differ.
    const std::string pooled = figures.pooledFromValues ? kValuesPooled : kSummaryPooled;
    std::vector<std::string> welch = {pooled, figures.fromValues ? kValuesBeyond : kSummaryBeyond};
    if (figures.fromValues) welch.push_back(kValuesWelch);
    Append(codes, margin->welch ? rscript::MarginCodes(*margin, "difv", "wse", "wdf", welch)
                                : rscript::MarginCodes(*margin, "dif", "se0", "df0", {pooled}));
  }
  writer.Sections(report, codes);
  return writer.Text();
}

std::string PairedScript(const Report& report, PStyle style, const ScriptHeader& header,
                         const SignedRankFigures& ranks,
                         const std::vector<std::pair<Fixed4, Fixed4>>& pairs,
                         const MarginFigures* margin) {
  ScriptWriter writer(header.version, header.date, report, style);
  if (!PairsData(writer, pairs, "两列")) return writer.Text();
  SectionCodes codes = PairedCodes();
  Append(codes, rscript::SignedRankCodes(ranks));
  if (margin != nullptr && margin->Shown()) {
    Append(codes, rscript::MarginCodes(*margin, "dbar", "sd_d / sqrt(n)", "n - 1", {kPairedTest}));
  }
  writer.Sections(report, codes);
  return writer.Text();
}

std::string CorrelationScript(const Report& report, PStyle style, const ScriptHeader& header,
                              const CorrelationFigures& figures, const SpearmanFigures& ranks,
                              const std::vector<std::pair<Fixed4, Fixed4>>& pairs) {
  ScriptWriter writer(header.version, header.date, report, style);
  if (!PairsData(writer, pairs, "X与Y")) return writer.Text();
  SectionCodes codes = CorrelationCodes(figures);
  Append(codes, rscript::SpearmanCodes(ranks));
  writer.Sections(report, codes);
  return writer.Text();
}

}  // namespace quillon
