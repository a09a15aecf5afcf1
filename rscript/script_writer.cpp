#include "rscript/script_writer.h"

#include <charconv>
#include <cstdio>
#include <system_error>

namespace quillon {

namespace {

// The helpers at the head of every script. The report rounds halves away from zero on the
// decimal digits of a value (15 significant digits for figures, the shortest text that reads
// back for P values and guarded bounds), not on its binary value as sprintf() and round() do:
// .decimals() does the same on the digits sprintf("%.*e") gives.
constexpr const char* kHelpers = R"R(
.significant <- function(v) {
  for (k in 15:17) if (as.numeric(sprintf("%.*e", k - 1L, v)) == v) return(k)
  17L
}
.decimals <- function(v, dec, sig = .significant(v)) {
  if (v == 0) return(if (dec > 0) paste0("0.", strrep("0", dec)) else "0")
  s <- sprintf("%.*e", sig - 1L, abs(v))
  digits <- as.integer(strsplit(sub(".", "", sub("e.*", "", s), fixed = TRUE), "")[[1]])
  e <- as.integer(sub(".*e", "", s))
  at <- e - (max(e, 0):(-dec - 1)) + 1
  d <- ifelse(at >= 1 & at <= length(digits), digits[pmin(pmax(at, 1), length(digits))], 0L)
  keep <- d[-length(d)]
  if (d[length(d)] >= 5) {
    i <- length(keep)
    while (i > 0 && keep[i] == 9) { keep[i] <- 0L; i <- i - 1 }
    if (i == 0) keep <- c(1L, keep) else keep[i] <- keep[i] + 1L
  }
  whole <- length(keep) - dec
  text <- paste(keep[seq_len(whole)], collapse = "")
  if (dec > 0) text <- paste0(text, ".", paste(keep[whole + seq_len(dec)], collapse = ""))
  if (v < 0 && grepl("[1-9]", text)) paste0("-", text) else text
}
# A figure: four decimals from 1E-04 up to below 1E+12, otherwise "1.2346E-05".
.num <- function(v) {
  a <- abs(v)
  if (a == 0 || (a >= 1e-4 && a < 1e12)) .decimals(v, 4L, 15L) else sprintf("%.4E", v)
}
# Whole numbers (counts, degrees of freedom) without decimals.
.count <- function(v) {
  if (v == floor(v) && abs(v) < 1e15) sub("^-0$", "0", sprintf("%.0f", v)) else .num(v)
}
# A P value as the journal style writes it; below the level (0.05, or a test's alpha) it never
# reads as the level.
.p <- function(p, level = 0.05) {
  lead <- .style %in% c("cma", "nejm")
  number <- function(t) if (!lead && startsWith(t, "0.")) substring(t, 2) else t
  relation <- function(r) if (.style %in% c("ama", "apa")) paste0(r, " ") else r
  if (p < 0.001) return(paste0(relation("<"), number("0.001")))
  d <- if (.style %in% c("ama", "nejm") && p >= 0.01) 2L else 3L
  if (as.numeric(.decimals(p, d)) >= 1) return(paste0(relation(">"), number(.decimals(1 - 10^-d, d))))
  if (d == 2L && .decimals(p, 2L) == "0.05") d <- 3L
  text <- .decimals(p, d)
  if (p < level) {
    most <- d + 2L
    while (d < most && as.numeric(.decimals(p, d)) >= level) { d <- d + 1L; text <- .decimals(p, d) }
    if (as.numeric(.decimals(p, d)) >= level) text <- .decimals(level - 10^-d, d)
  }
  number(text)
}
# A bound that would read as a value the interval excludes (0 for a difference, 1 for a ratio,
# 0 and ±1 for a correlation) gets more decimals.
.guard <- function(b, lo, hi, null, written) {
  for (value in switch(null, none = numeric(0), zero = 0, one = 1, cor = c(-1, 0, 1))) {
    read <- suppressWarnings(as.numeric(written))
    if (!(lo > value || hi < value) || b == value || is.na(read) || read != value) next
    d <- 4L
    repeat { d <- d + 1L; text <- .decimals(b, d); if (!(d < 6L && as.numeric(text) == value)) break }
    if (as.numeric(text) == value) text <- .decimals(if (b < value) value - 10^-d else value + 10^-d, d)
    return(text)
  }
  written
}
.join <- function(lo, hi) {
  switch(.style, cma = paste0(lo, "\uff5e", hi), nejm = paste0(lo, " to ", hi),
         apa = paste0("[", lo, ", ", hi, "]"),
         ama = paste0(lo, if (startsWith(lo, "-") || startsWith(hi, "-")) " to " else "-", hi))
}
.ci <- function(lo, hi, null = "none") {
  .join(.guard(lo, lo, hi, null, .num(lo)), .guard(hi, lo, hi, null, .num(hi)))
}
# Values far from 0 lose digits in binary floating point, where the report works on exact
# decimals: a column is shifted exactly, in ten-thousandths, by a whole number near its middle
# before it is analysed. The shift leaves every figure but a mean or an intercept as it is, and
# those are shifted back.
.shifted <- function(v, by) (round(v * 1e4) - by * 1e4) / 1e4
.row <- function(label, value) cat(label, "\t", value, "\n", sep = "")
)R";

const char* StyleCode(PStyle style) {
  switch (style) {
    case PStyle::Ama:
      return "ama";
    case PStyle::Nejm:
      return "nejm";
    case PStyle::Apa:
      return "apa";
    case PStyle::ChineseMedical:
      break;
  }
  return "cma";
}

// The code points of a UTF-8 text, a byte that does not begin a valid sequence read as U+FFFD.
template <typename Visit>
void ForEachCodePoint(std::string_view text, Visit visit) {
  std::size_t at = 0;
  while (at < text.size()) {
    const auto byte = static_cast<unsigned char>(text[at]);
    std::size_t length = byte < 0x80         ? 1
                         : (byte >> 5) == 6  ? 2
                         : (byte >> 4) == 14 ? 3
                         : (byte >> 3) == 30 ? 4
                                             : 0;
    char32_t code = length == 1   ? byte
                    : length == 2 ? byte & 0x1F
                    : length == 3 ? byte & 0x0F
                                  : byte & 0x07;
    bool valid = length != 0 && at + length <= text.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[at + k]);
      valid = (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8 either.
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    valid =
        valid && code >= least[length] && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
    if (!valid) {
      visit(U'\uFFFD', std::string_view("\xEF\xBF\xBD"));
      at += 1;
      continue;
    }
    visit(code, text.substr(at, length));
    at += length;
  }
}

bool LineBreaking(char32_t code) {
  return code < 0x20 || code == 0x7F || code == 0x85 || code == 0x2028 || code == 0x2029;
}

}  // namespace

std::string RString(std::string_view text) {
  std::string literal = "\"";
  ForEachCodePoint(text, [&](char32_t code, std::string_view bytes) {
    if (code == '\\') {
      literal += "\\\\";
    } else if (code == '"') {
      literal += "\\\"";
    } else if (code == 0) {
      // R strings cannot hold NUL: it is left out.
    } else if (LineBreaking(code)) {
      char escaped[16];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(code));
      literal += escaped;
    } else {
      literal += bytes;
    }
  });
  return literal + "\"";
}

std::string RCommentText(std::string_view text) {
  std::string comment;
  ForEachCodePoint(text, [&](char32_t code, std::string_view bytes) {
    if (LineBreaking(code)) {
      comment += ' ';
    } else {
      comment += bytes;
    }
  });
  return comment;
}

std::string RVector(const std::vector<Fixed4>& values) {
  std::string vector = "c(";
  for (std::size_t k = 0; k < values.size(); ++k) {
    // Ten values to a line keep the script readable.
    if (k > 0) vector += k % 10 == 0 ? ",\n  " : ", ";
    vector += values[k].ToPlainText();
  }
  return vector + ")";
}

std::string RDouble(double value) {
  char text[64];
  const auto [end, error] = std::to_chars(text, text + sizeof text, value);
  return error == std::errc() ? std::string(text, end) : "NA";
}

ScriptWriter::ScriptWriter(const std::string& version, const std::string& date,
                           const Report& report, PStyle style) {
  Comment("Quillon " + version + " 生成的R脚本，" + date);
  Comment("分析：" + report.title);
  Comment("逐项重算结果报告表中的数值，按报告的顺序打印\"项目<Tab>数值\"，小数位与报告相同。");
  Comment("只用base R与stats包（R ≥ 4.0）；运行：Rscript 本文件.R");
  Comment("P值与置信区间的写法：" + PStyleName(style));
  Line(std::string(".style <- \"") + StyleCode(style) + "\"");
  text_ += kHelpers;
}

void ScriptWriter::Comment(std::string_view text) { text_ += "# " + RCommentText(text) + "\n"; }

void ScriptWriter::Line(const std::string& code) { text_ += code + "\n"; }

void ScriptWriter::Blank() { text_ += "\n"; }

void ScriptWriter::Once(const std::string& code) {
  if (code.empty() || !done_.insert(code).second) return;
  Line(code);
}

void ScriptWriter::Row(const ReportRow& row, const RowCode& code) {
  if (row.value.starts_with("—")) {
    Comment(row.label + ": " + row.value);
    Line(".row(" + RString(row.label) + ", " + RString(row.value) + ")");
    return;
  }
  for (const std::string& setup : code.setup) Once(setup);
  Line(".row(" + RString(row.label) + ", " + code.value + ")");
}

void ScriptWriter::Sections(const Report& report,
                            const std::vector<std::pair<std::string, SectionCode>>& codes) {
  for (const ReportSection& section : report.sections) {
    Blank();
    Comment("【" + section.heading + "】");
    const SectionCode* found = nullptr;
    for (const auto& [heading, code] : codes) {
      if (section.heading.starts_with(heading)) {
        found = &code;
        break;
      }
    }
    const std::vector<RowCode> rows = found ? (*found)(section) : std::vector<RowCode>{};
    if (rows.size() != section.rows.size()) {
      Comment("本节未在R中重算。");
      continue;
    }
    for (std::size_t k = 0; k < rows.size(); ++k) Row(section.rows[k], rows[k]);
  }
}

void ScriptWriter::NothingToCompute(const std::string& reason) {
  Blank();
  Comment("没有可计算的数据：" + reason);
  Line("cat(" + RString("没有可计算的数据：" + reason) + ", \"\\n\", sep = \"\")");
}

}  // namespace quillon
