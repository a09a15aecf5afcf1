"""The results report's R script run by R against the report it was written from.

For random data sets of every analysis (in every journal style, with names that try to break
out of an R string), the driver writes the report's rows and its script; one Rscript process
runs all the scripts, each in an environment of its own with its output captured, and each
script's output must be the report's rows, "label<TAB>value" line by line, character for
character. A row the script leaves out, prints differently or adds fails, and so does a script
that stops with an error.

R works on the values in binary floating point, the report on their exact sums: a figure that lies
within R's rounding error of a rounding boundary may come out one unit apart in its last shown
decimal (or as "199.0000" for a count the report finds whole), or a billionth apart where the
figure comes out of cancellation (ten millionths for a figure of a million or more, such as t of a
nearly perfect correlation). Such a row is a tie case, reported
and counted, not failed; any other difference fails.
"""

import os
import re
import subprocess
import tempfile

# Typed names that an unescaped script would break on.
NAMES = ['_', '_', '_', 'A"b', 'back\\\\slash', 'end");system("echo_x")#', 'two\\nlines',
         'tab\\there', '组别（新）', '#comment']

NOTHING = "没有可计算的数据："

RUNNER = r"""
files <- commandArgs(trailingOnly = TRUE)
for (f in files) {
  out <- file(sub("\\.R$", ".out", f), open = "w", encoding = "UTF-8")
  sink(out)
  tryCatch(source(f, local = new.env(), encoding = "UTF-8"),
           error = function(e) cat("ERROR: ", conditionMessage(e), "\n", sep = ""))
  sink()
  close(out)
}
"""


NUMBER = re.compile(r"-?\d+(?:\.(\d+))?(?:E[-+]\d+)?")


def tie(want, got):
    """Whether two rows differ only by one unit in a last shown decimal."""
    if want.split("\t")[0] != got.split("\t")[0]:
        return False
    a = list(NUMBER.finditer(want.split("\t", 1)[-1]))
    b = list(NUMBER.finditer(got.split("\t", 1)[-1]))
    if not a or len(a) != len(b):
        return False
    for x, y in zip(a, b):
        unit = 10.0 ** -max(len(x.group(1) or ""), len(y.group(1) or ""))
        a_value, b_value = float(x.group(0)), float(y.group(0))
        # One unit of the last decimal, or a billionth; a figure of a million or more, shown
        # with more digits than R's binary arithmetic keeps through a cancellation (t of a
        # nearly perfect correlation), ten millionths.
        relative = 1e-7 if abs(a_value) >= 1e6 else 1e-9
        if abs(a_value - b_value) > max(unit * 1.0001, relative * abs(a_value)):
            return False
    return True


def make(rng, makers):
    """One data set: the analysis, the style, a name for the first group and the data."""
    kind = rng.choice(sorted(makers))
    line, _ = makers[kind](rng)
    # A margin typed at the interval's bound to 12 or 17 digits turns the conclusion on the last
    # bit of P against alpha, which two implementations need not share: the margin analysis's
    # own run checks those.
    while kind == "margin" and len(line.split()[3]) > 8:
        line, _ = makers[kind](rng)
    return f"{kind} {rng.randrange(4)} {rng.choice(NAMES)} {line}"


def run(driver, lines, failed, ties):
    """Writes and runs the scripts of the data sets; failed(case, text) for each difference,
    the tie cases added to ties."""
    with tempfile.TemporaryDirectory(prefix="quillon-rscript-") as folder:
        subprocess.run([driver, "r-script", folder], input="".join(l + "\n" for l in lines),
                       capture_output=True, text=True, check=True)
        scripts = [os.path.join(folder, f"{k}.R") for k in range(len(lines))]
        runner = os.path.join(folder, "runner.R")
        with open(runner, "w", encoding="utf-8") as f:
            f.write(RUNNER)
        environment = dict(os.environ, LC_ALL="C.UTF-8")
        # A few processes of many scripts each: R's start-up is the larger cost.
        for start in range(0, len(scripts), 100):
            subprocess.run(["Rscript", "--vanilla", runner] + scripts[start:start + 100],
                           check=True, env=environment, capture_output=True)
        rows = 0
        for k in range(len(lines)):
            with open(os.path.join(folder, f"{k}.txt"), encoding="utf-8") as f:
                expected = f.read()
            with open(os.path.join(folder, f"{k}.out"), encoding="utf-8") as f:
                printed = f.read()
            rows += expected.count("\n")
            # Without values the script says so and computes nothing.
            nothing = printed.startswith(NOTHING) and printed.count("\n") == 1
            if nothing and (expected == "" or "对子数 n\t0\n" in expected):
                continue
            if printed == expected:
                continue
            want, got = expected.split("\n"), printed.split("\n")
            if len(want) == len(got) and all(w == g or tie(w, g) for w, g in zip(want, got)):
                ties.extend(f"data set {k}: report {w!r}, script {g!r}"
                            for w, g in zip(want, got) if w != g)
                continue
            at = next((i for i, (w, g) in enumerate(zip(want, got)) if w != g and not tie(w, g)),
                      min(len(want), len(got)))
            failed(k, f"line {at + 1}: report {want[at] if at < len(want) else '(none)'!r}, "
                      f"script {got[at] if at < len(got) else '(none)'!r}")
        return rows
