# The 95 % interval of the noncentrality of Student's t: for each input line "t df", the λ with
# pt(t, df, λ) = 0.975 and the λ with pt(t, df, λ) = 0.025, printed as "lower upper".
# R computes pt with a noncentrality exactly (AS 243) up to |λ| = 37.62 and approximates it
# beyond; the caller uses these roots only within that range.
limit <- function(t, df, p) {
  spread <- sqrt(1 + t^2 / (2 * df))
  uniroot(function(l) pt(t, df, l) - p, c(t - 3 * spread - 1, t + 3 * spread + 1),
          extendInt = "downX", tol = 1e-14, maxiter = 1000)$root
}
input <- file("stdin")
for (line in readLines(input)) {
  v <- as.numeric(strsplit(line, " ")[[1]])
  roots <- suppressWarnings(c(limit(v[1], v[2], 0.975), limit(v[1], v[2], 0.025)))
  cat(sprintf("%.17g %.17g\n", roots[1], roots[2]))
}
close(input)
