// The scripts of the count analyses: the four-fold table and McNemar's paired counts.

#include <cmath>

#include "rscript/report_script.h"
#include "rscript/section_codes.h"

namespace quillon {

namespace {

using rscript::SectionCodes;
using rscript::Value;

const char* const kWilson =
    "# Wilson's score interval of x / n; prop.test(x, n, correct = FALSE)$conf.int gives the same\n"
    "# for whole counts.\n"
    ".wilson <- function(x, n) {\n"
    "  z <- qnorm(0.975)\n"
    "  centre <- (2 * x + z^2) / (2 * (n + z^2))\n"
    "  half <- z * sqrt(z^2 + 4 * x * (n - x) / n) / (2 * (n + z^2))\n"
    "  c(if (x == 0) 0 else centre - half, if (x == n) 1 else centre + half)\n"
    "}";

const char* const kFourfold =
    "tab <- matrix(c(a, c, b, d), 2)  # rows: the two groups; columns: (+), (-)\n"
    "n <- a + b + c + d";
const char* const kExpected =
    "# The expected counts T = row total x column total / n, with n the whole total. The main\n"
    "# window holds the one of d to four decimals, halves to even, and shows it as 0 when n = 0.\n"
    "expected <- outer(rowSums(tab), colSums(tab)) / floor(n + 0.5)\n"
    "expected_d <- if (floor(n + 0.5) == 0) 0 else {\n"
    "  s <- expected[2, 2] * 1e4; f <- floor(s)\n"
    "  (if (abs(s - f - 0.5) < 1e-9 * max(1, s)) f + f %% 2 else round(s)) / 1e4\n"
    "}";
const char* const kChiSquare =
    "pearson <- suppressWarnings(chisq.test(tab, correct = FALSE))\n"
    "# With the correction R subtracts min(0.5, |O - E|), which gives 0 where |ad - bc| < n/2,\n"
    "# as the report takes it.\n"
    "yates <- suppressWarnings(chisq.test(tab, correct = TRUE))";
const char* const kRatios =
    "# The odds ratio and the risk ratio with Woolf's log intervals (fisher.test's odds ratio is\n"
    "# the conditional maximum likelihood one, not ad / bc).\n"
    "or <- a * d / (b * c); or_ci <- exp(log(or) + c(-1, 1) * qnorm(0.975) * sqrt(1/a + 1/b + 1/c "
    "+ 1/d))\n"
    "rr <- (a / (a + b)) / (c / (c + d))\n"
    "rr_ci <- exp(log(rr) + c(-1, 1) * qnorm(0.975) * sqrt(1/a - 1/(a + b) + 1/c - 1/(c + d)))";
const char* const kRiskDifference =
    "# Newcombe's hybrid score interval of p1 - p2 from the two Wilson intervals.\n"
    "p1 <- a / (a + b); p2 <- c / (c + d); rd <- p1 - p2\n"
    "w1 <- .wilson(a, a + b); w2 <- .wilson(c, c + d)\n"
    "rd_ci <- c(rd - sqrt((p1 - w1[1])^2 + (w2[2] - p2)^2), rd + sqrt((w1[2] - p1)^2 + (p2 - "
    "w2[1])^2))";
const char* const kNumberNeeded =
    "# The number needed to treat, 1 / |RD|, one decimal, its interval from the RD interval's\n"
    "# ends (through infinity where that interval holds 0). `towards` is 1 where (+) is a\n"
    "# benefit, -1 where it is a harm.\n"
    ".nnt <- function(rd, lo, hi, towards) {\n"
    "  d <- towards * rd; l <- min(towards * c(lo, hi)); u <- max(towards * c(lo, hi))\n"
    "  one <- function(v) if (is.finite(v)) sprintf(\"%.1f\", v) else \"\\u221e\"\n"
    "  estimate <- if (d == 0) \"NNT \\u221e\" else paste0(if (d >= 0) \"NNTB \" else \"NNTH \", "
    "one(1 / abs(d)))\n"
    "  if (l < 0 && u > 0) {\n"
    "    interval <- paste0(\"NNTB \", one(1 / u), \" \\u81f3 \\u221e \\u81f3 NNTH \", one(1 / "
    "-l))\n"
    "  } else {\n"
    "    near <- if (u > 0) 1 / u else 1 / -l\n"
    "    far <- if (l >= 0) l else u\n"
    "    interval <- paste0(if (u > 0) \"NNTB \" else \"NNTH \", one(near), \" \\u81f3 \",\n"
    "                       one(if (far == 0) Inf else 1 / abs(far)))\n"
    "  }\n"
    "  c(estimate, interval)\n"
    "}";

SectionCodes FourfoldCodes(const FourfoldFigures& f) {
  const std::string towards = f.positive == PositiveMeans::Harm ? "-1" : "1";
  const std::vector<std::string> count = {kFourfold};
  const std::vector<std::string> test = {kFourfold, kChiSquare};
  return {
      {"理论数",
       [count](const ReportSection&) -> std::vector<RowCode> {
         const std::vector<std::string> s = {kFourfold, kExpected};
         return {Value(".count(floor(n + 0.5))", count), Value(".num(expected[1, 1])", s),
                 Value(".num(expected[1, 2])", s), Value(".num(expected[2, 1])", s),
                 Value(".num(expected_d)", s)};
       }},
      {"检验",
       [test, count](const ReportSection&) -> std::vector<RowCode> {
         return {Value(".num(unname(pearson$statistic))", test), Value(".p(pearson$p.value)", test),
                 Value(".num(unname(yates$statistic))", test), Value(".p(yates$p.value)", test),
                 Value(".p(fisher.test(tab)$p.value)", count)};
       }},
      {"效应量",
       [](const ReportSection&) -> std::vector<RowCode> {
         const std::vector<std::string> s = {kFourfold, kRatios};
         return {Value(".num(or)", s), Value(".ci(or_ci[1], or_ci[2], \"one\")", s),
                 Value(".num(rr)", s), Value(".ci(rr_ci[1], rr_ci[2], \"one\")", s)};
       }},
      {"率与绝对效应",
       [towards](const ReportSection&) -> std::vector<RowCode> {
         const std::vector<std::string> s = {kFourfold, kWilson, kRiskDifference};
         const std::vector<std::string> nnt = {
             kFourfold, kWilson, kRiskDifference, kNumberNeeded,
             "nnt <- .nnt(rd, rd_ci[1], rd_ci[2], " + towards + ")"};
         return {Value(".num(a / (a + b))", {kFourfold}),
                 Value(".num(c / (c + d))", {kFourfold}),
                 Value(".num(rd)", s),
                 Value(".ci(rd_ci[1], rd_ci[2], \"zero\")", s),
                 Value("nnt[1]", nnt),
                 Value("nnt[2]", nnt)};
       }},
  };
}

const char* const kPairedDifference =
    "# Newcombe's score interval for paired proportions (his method 10): the Wilson intervals of\n"
    "# the margins (a + b) / n and (a + c) / n, with phi corrected by n/2 towards 0 where "
    "positive.\n"
    "q1 <- (a + b) / n; q2 <- (a + c) / n\n"
    "v1 <- .wilson(a + b, n); v2 <- .wilson(a + c, n)\n"
    "margins <- (a + b) * (c + d) * (a + c) * (b + d); cross <- a * d - b * c\n"
    "phi <- if (margins == 0) 0 else\n"
    "  (if (cross > n / 2) cross - n / 2 else if (cross < 0) cross else 0) / sqrt(margins)\n"
    "down1 <- q1 - v1[1]; up1 <- v1[2] - q1; down2 <- q2 - v2[1]; up2 <- v2[2] - q2\n"
    "pd <- (b - c) / n\n"
    "pd_ci <- pd + c(-sqrt(max(0, down1^2 - 2 * phi * down1 * up2 + up2^2)),\n"
    "                sqrt(max(0, up1^2 - 2 * phi * up1 * down2 + down2^2)))";
const char* const kMatchedOdds =
    "# The matched odds ratio b / c, its interval from the Clopper-Pearson interval of\n"
    "# b / (b + c) (binom.test's) as p / (1 - p).\n"
    "cp <- binom.test(b, b + c)$conf.int; odds_ci <- cp / (1 - cp)";

SectionCodes McNemarCodes(const McNemarFigures& f) {
  // R's mcnemar.test squares |b - c| - 1 as it is; the report takes 0 where |b - c| < 1.
  const bool clamp = f.corrected && std::fabs(f.b - f.c) < 1;
  const std::string test =
      clamp ? "# |b - c| < 1: mcnemar.test(tab) would square |b - c| - 1 < 0; the report takes 0.\n"
              "chi <- max(0, abs(b - c) - 1)^2 / (b + c)\n"
              "chi_p <- pchisq(chi, 1, lower.tail = FALSE)"
            : std::string("mc <- mcnemar.test(tab, correct = ") + (f.corrected ? "TRUE" : "FALSE") +
                  ")\nchi <- unname(mc$statistic); chi_p <- mc$p.value";
  const bool unbounded = f.paired.oddsUnbounded;
  return {
      {"不一致的对子",
       [test](const ReportSection&) -> std::vector<RowCode> {
         const std::vector<std::string> s = {kFourfold, test};
         return {Value(".count(b)"), Value(".count(c)"), Value(".count(b + c)"),
                 Value(".num(chi)", s), Value(".p(chi_p)", s),
                 // binom.test(min(b, c), b + c)$p.value is the same P, but its sum can land a
                 // hair below an exact half (0.6875) that the report rounds up.
                 Value(".p(min(1, 2 * pbinom(min(b, c), b + c, 0.5)))"),
                 Value("# mid-P: half the probability of the observed count left out\n"
                       "  .p(min(1, 2 * (pbinom(min(b, c), b + c, 0.5) - "
                       "0.5 * dbinom(min(b, c), b + c, 0.5))))")};
       }},
      {"配对率差与配对比值比",
       [unbounded](const ReportSection&) -> std::vector<RowCode> {
         const std::vector<std::string> s = {kFourfold, kWilson, kPairedDifference};
         const std::vector<std::string> odds = {kMatchedOdds};
         return {Value(".num(pd)", s), Value(".ci(pd_ci[1], pd_ci[2], \"zero\")", s),
                 Value(".num(b / c)"),
                 Value(unbounded ? ".join(.guard(odds_ci[1], odds_ci[1], Inf, \"one\", "
                                   ".num(odds_ci[1])), \"\\u221e\")"
                                 : ".ci(odds_ci[1], odds_ci[2], \"one\")",
                       odds)};
       }},
  };
}

void Cells(ScriptWriter& writer, const std::array<double, 4>& cells) {
  writer.Blank();
  writer.Comment("数据：四格表的四个格子（空格按0计）");
  writer.Line("a <- " + RDouble(cells[0]) + "; b <- " + RDouble(cells[1]) + "; c <- " +
              RDouble(cells[2]) + "; d <- " + RDouble(cells[3]));
}

}  // namespace

std::string FourfoldScript(const Report& report, PStyle style, const ScriptHeader& header,
                           const FourfoldFigures& figures, const MarginFigures* margin) {
  ScriptWriter writer(header.version, header.date, report, style);
  Cells(writer, figures.cells);
  SectionCodes codes = FourfoldCodes(figures);
  if (margin != nullptr && margin->Shown()) {
    for (auto& code :
         rscript::MarginCodes(*margin, "rd", "", "", {kFourfold, kWilson, kRiskDifference})) {
      codes.push_back(std::move(code));
    }
  }
  writer.Sections(report, codes);
  return writer.Text();
}

std::string McNemarScript(const Report& report, PStyle style, const ScriptHeader& header,
                          const McNemarFigures& figures) {
  ScriptWriter writer(header.version, header.date, report, style);
  Cells(writer, {figures.a, figures.b, figures.c, figures.d});
  writer.Sections(report, McNemarCodes(figures));
  return writer.Text();
}

}  // namespace quillon
