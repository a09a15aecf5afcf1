// The scripts' rank sections: Wilcoxon's rank-sum and signed-rank tests with their
// Hodges–Lehmann estimates and rank-biserial correlations, and Spearman's correlation.
//
// wilcox.test gives the statistic, and its P where it takes the report's way: exact without
// ties below 50 values, the normal approximation with the continuity and tie corrections from
// 50 up. Below 50 with ties the report's P is the exact one given the ties, which R lacks; the
// script counts the permutation distribution of the mid-ranks. The Hodges–Lehmann estimate is
// the median by its definition, and the interval R's exact one (the order statistics at the
// 2.5 % quantile of the untied distribution) or, from 50 up, the exact point where the
// corrected z crosses ±z(0.975), which wilcox.test approaches with uniroot to 1e-4.

#include "rscript/section_codes.h"

namespace quillon::rscript {

namespace {

const char* const kRankHelpers =
    "# The sum of t^3 - t over the ties of a sample.\n"
    ".ties <- function(v) { t <- table(v); sum(t^3 - t) }\n"
    "# The first m at which the corrected z of a rank statistic, count/2 - m away from its mean,\n"
    "# is no longer above zq (halving, as it falls with m): where the normal interval ends.\n"
    ".crossing <- function(count, sigma, zq) {\n"
    "  above <- function(m) { dz <- count / 2 - m; (dz - sign(dz) * 0.5) / sigma - zq > 0 }\n"
    "  lo <- 0; hi <- count\n"
    "  while (hi - lo > 1) { mid <- lo + (hi - lo) %/% 2; if (above(mid)) lo <- mid else hi <- mid "
    "}\n"
    "  hi\n"
    "}\n"
    "# The k-th smallest of every x - y (and of every Walsh sum d_i + d_j, i <= j) without "
    "listing\n"
    "# them, which two groups of 30,000 values would make 10^9 of: in ten-thousandths, whole and\n"
    "# exact, the least v with at least k of them <= v, by halving.\n"
    ".kth_difference <- function(x, y, k) {\n"
    "  xi <- sort(round(x * 1e4)); yi <- sort(round(y * 1e4))\n"
    "  lo <- xi[1] - yi[length(yi)] - 1; hi <- xi[length(xi)] - yi[1]\n"
    "  while (hi - lo > 1) {\n"
    "    mid <- lo + (hi - lo) %/% 2\n"
    "    if (sum(findInterval(mid + yi, xi)) >= k) hi <- mid else lo <- mid\n"
    "  }\n"
    "  hi\n"
    "}\n"
    ".kth_walsh <- function(d, k) {\n"
    "  di <- sort(round(d * 1e4))\n"
    "  lo <- 2 * di[1] - 1; hi <- 2 * di[length(di)]\n"
    "  while (hi - lo > 1) {\n"
    "    mid <- lo + (hi - lo) %/% 2\n"
    "    # Ordered pairs with d_i + d_j <= mid, and the pairs i = j once more, halved.\n"
    "    inside <- (sum(findInterval(mid - di, di)) + sum(2 * di <= mid)) / 2\n"
    "    if (inside >= k) hi <- mid else lo <- mid\n"
    "  }\n"
    "  hi\n"
    "}\n"
    "# Hodges-Lehmann by the definition: the median of every x - y, of every Walsh average.\n"
    ".hl_shift <- function(x, y) {\n"
    "  count <- length(x) * length(y)\n"
    "  (.kth_difference(x, y, (count + 1) %/% 2) + .kth_difference(x, y, count %/% 2 + 1)) / 2e4\n"
    "}\n"
    ".hl_pseudo <- function(d) {\n"
    "  count <- length(d) * (length(d) + 1) / 2\n"
    "  (.kth_walsh(d, (count + 1) %/% 2) + .kth_walsh(d, count %/% 2 + 1)) / 4e4\n"
    "}\n"
    "# Two-sided P of a sum of twice the mid-ranks given the ties: the ways of every sum, and\n"
    "# P(|S - mean| >= |s - mean|). `ways` counts them item by item: for the rank-sum test each\n"
    "# way of drawing m of the ranks, for the signed-rank test each rank with a plus sign or not.\n"
    ".tied_p <- function(ways, s, mean) {\n"
    "  sums <- seq_along(ways) - 1\n"
    "  sum(ways[abs(sums - mean) >= abs(s - mean)]) / sum(ways)\n"
    "}\n"
    ".draw_ways <- function(r2, m) {\n"
    "  total <- sum(r2); ways <- matrix(0, m + 1, total + 1); ways[1, 1] <- 1\n"
    "  for (r in r2) for (k in m:1) {\n"
    "    to <- (r + 1):(total + 1)\n"
    "    ways[k + 1, to] <- ways[k + 1, to] + ways[k, seq_len(total + 1 - r)]\n"
    "  }\n"
    "  ways[m + 1, ]\n"
    "}\n"
    ".sign_ways <- function(r2) {\n"
    "  total <- sum(r2); ways <- c(1, numeric(total))\n"
    "  for (r in r2) ways <- ways + c(numeric(r), ways[seq_len(total + 1 - r)])\n"
    "  ways\n"
    "}\n"
    "# Fisher z interval of a rank correlation with the standard error se of atanh(r).\n"
    ".fisher <- function(r, se) tanh(atanh(r) + c(-1, 1) * qnorm(0.975) * se)\n"
    ".quartiles <- function(v) {\n"
    "  q <- quantile(v, c(0.25, 0.5, 0.75), type = 6, names = FALSE)\n"
    "  paste0(.num(q[2]), \" (\", .num(q[1]), \", \", .num(q[3]), \")\")\n"
    "}";

}  // namespace

SectionCodes RankSumCodes(const RankSumFigures& f) {
  const RankP method = f.method;
  return {{"Wilcoxon秩和检验", [method](const ReportSection&) -> std::vector<RowCode> {
             std::string test = "n1r <- length(xs); n2r <- length(ys)\n";
             std::string p;
             std::string interval =
                 "qu <- max(1, qwilcox(0.025, n1r, n2r))\n"
                 "shift_ci <- c(.kth_difference(xs, ys, qu),\n"
                 "              .kth_difference(xs, ys, n1r * n2r - qu + 1)) / 1e4";
             switch (method) {
               case RankP::Exact:
                 test +=
                     "rank_sum <- wilcox.test(xs, ys, conf.int = TRUE)  # exact: no ties, n < 50";
                 p = "rank_sum$p.value";
                 interval = "shift_ci <- rank_sum$conf.int";
                 break;
               case RankP::ExactGivenTies:
                 test +=
                     "rank_sum <- suppressWarnings(wilcox.test(xs, ys, exact = FALSE))\n"
                     "r2 <- 2 * rank(c(xs, ys))  # twice the mid-ranks: whole numbers\n"
                     "rank_p <- .tied_p(.draw_ways(r2, n1r), sum(r2[seq_len(n1r)]),\n"
                     "                  n1r * (n1r + n2r + 1))";
                 p = "rank_p";
                 break;
               default:
                 test +=
                     "rank_sum <- wilcox.test(xs, ys, exact = FALSE, correct = TRUE)\n"
                     "N <- n1r + n2r\n"
                     "zu <- unname(rank_sum$statistic) - n1r * n2r / 2\n"
                     "zu <- (zu - sign(zu) * 0.5) /\n"
                     "  sqrt(n1r * n2r / 12 * ((N + 1) - .ties(c(xs, ys)) / (N * (N - 1))))";
                 p = "rank_sum$p.value";
                 interval =
                     "sigma0 <- sqrt(n1r * n2r / 12 * ((N + 1) - (.ties(xs) + .ties(ys)) / (N * (N "
                     "- 1))))\n"
                     "shift_ci <- c(.kth_difference(xs, ys, .crossing(n1r * n2r, sigma0, "
                     "qnorm(0.975))),\n"
                     "              .kth_difference(xs, ys, .crossing(n1r * n2r, sigma0, "
                     "-qnorm(0.975)))) / 1e4";
             }
             const std::vector<std::string> s = {kRankHelpers, test};
             const std::vector<std::string> ci = {kRankHelpers, test, interval};
             const std::string u = "unname(rank_sum$statistic)";
             return {Value(".quartiles(x)", {kRankHelpers}),
                     Value(".quartiles(y)", {kRankHelpers}),
                     Value(".count(" + u + ")", s),
                     Value(".num(zu)", s),
                     Value(".p(" + p + ")", s),
                     Value(".num(.hl_shift(xs, ys))", s),
                     Value(".ci(shift_ci[1], shift_ci[2])", ci),
                     Value(".num(" + u + " / (n1r * n2r))", s),
                     Value(".num(2 * " + u + " / (n1r * n2r) - 1)", s),
                     Value("do.call(.ci, as.list(.fisher(2 * " + u +
                               " / (n1r * n2r) - 1, sqrt((n1r + n2r + 1) / (3 * n1r * n2r)))))",
                           s)};
           }}};
}

SectionCodes SignedRankCodes(const SignedRankFigures& f) {
  const RankP method = f.method;
  return {
      {"Wilcoxon符号秩检验", [method](const ReportSection&) -> std::vector<RowCode> {
         const std::string differences =
             "dd <- (round(x * 1e4) - round(y * 1e4)) / 1e4  # d = first - second, exact\n"
             "dn <- dd[dd != 0]; nr <- length(dn)  # zeros take no part";
         std::string test;
         std::string p = "signed$p.value";
         std::string interval =
             "qu <- max(1, qsignrank(0.025, nr))\n"
             "pseudo_ci <- c(.kth_walsh(dn, qu), .kth_walsh(dn, nr * (nr + 1) / 2 - qu + 1)) / 2e4";
         switch (method) {
           case RankP::Exact:
             test = "signed <- wilcox.test(dn, conf.int = TRUE)  # exact: no ties, n < 50";
             interval = "pseudo_ci <- signed$conf.int";
             break;
           case RankP::ExactGivenTies:
             test =
                 "signed <- suppressWarnings(wilcox.test(dn, exact = FALSE))\n"
                 "r2 <- 2 * rank(abs(dn))  # twice the mid-ranks of |d|\n"
                 "signed_p <- .tied_p(.sign_ways(r2), sum(r2[dn > 0]), nr * (nr + 1) / 2)";
             p = "signed_p";
             break;
           default:
             test =
                 "signed <- wilcox.test(dn, exact = FALSE, correct = TRUE)\n"
                 "sigma_of <- function(m, ties) sqrt(m * (m + 1) * (2 * m + 1) / 24 - ties / 48)\n"
                 "zv <- unname(signed$statistic) - nr * (nr + 1) / 4\n"
                 "zv <- (zv - sign(zv) * 0.5) / sigma_of(nr, .ties(abs(dn)))";
             interval =
                 "sigma0 <- sigma_of(nr, .ties(dn))\n"
                 "pseudo_ci <- c(.kth_walsh(dn, .crossing(nr * (nr + 1) / 2, sigma0, "
                 "qnorm(0.975))),\n"
                 "               .kth_walsh(dn, .crossing(nr * (nr + 1) / 2, sigma0, "
                 "-qnorm(0.975)))) / 2e4";
         }
         const std::vector<std::string> s = {kRankHelpers, differences, test};
         const std::vector<std::string> ci = {kRankHelpers, differences, test, interval};
         const std::string v = "unname(signed$statistic)";
         const std::string total = "(nr * (nr + 1) / 2)";
         return {Value(".quartiles(dd)", {kRankHelpers, differences}),
                 Value(".count(nr)", {kRankHelpers, differences}),
                 Value(".count(" + v + ")", s),
                 Value(".num(zv)", s),
                 Value(".p(" + p + ")", s),
                 Value(".num(.hl_pseudo(dn))", s),
                 Value(".ci(pseudo_ci[1], pseudo_ci[2])", ci),
                 Value(".num((2 * " + v + " - " + total + ") / " + total + ")", s),
                 Value("do.call(.ci, as.list(.fisher((2 * " + v + " - " + total + ") / " + total +
                           ", sqrt((2 * nr^3 + 3 * nr^2 + nr) / 6) / " + total + ")))",
                       s)};
       }}};
}

SectionCodes SpearmanCodes(const SpearmanFigures&) {
  return {
      {"Spearman秩相关", [](const ReportSection&) -> std::vector<RowCode> {
         // Exact up to 9 pairs, AS 89's Edgeworth series up to 1,290 without ties, the t
         // approximation otherwise: R's way and the report's.
         const std::vector<std::string> s = {
             kRankHelpers,
             "spearman <- suppressWarnings(cor.test(xs, ys, method = \"spearman\"))\n"
             "rs <- unname(spearman$estimate)"};
         return {
             Value(".num(rs)", s), Value(".p(spearman$p.value)", s),
             Value("do.call(.ci, as.list(.fisher(rs, sqrt((1 + rs^2 / 2) / (length(xs) - 3)))))",
                   s)};
       }}};
}

SectionCodes NothingToRank() {
  return {{"Wilcoxon秩和检验", [](const ReportSection& section) {
             std::vector<RowCode> rows;
             for (const ReportRow& row : section.rows) rows.push_back(Text(row));
             return rows;
           }}};
}

}  // namespace quillon::rscript
