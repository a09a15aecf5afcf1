#include "report/p_style.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <system_error>
#include <vector>

namespace quillon {

namespace {}  // namespace

std::string FixedText(double value, int decimals) {
  std::string result;
  if (!std::isfinite(value)) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    result = text;
  } else {
    // The shortest decimal that reads back as the value (3.875, not the binary 3.87499…, where
    // an exact quartile of four-decimal data lands on a half), rounded half away from zero.
    char text[400];
    const auto [end, error] =
        std::to_chars(text, text + sizeof text, std::fabs(value), std::chars_format::fixed);
    std::string digits(text, error == std::errc() ? end : text);
    const std::size_t point = digits.find('.');
    std::string whole = digits.substr(0, point);
    std::string fraction = point == std::string::npos ? "" : digits.substr(point + 1);
    const bool up = fraction.size() > static_cast<std::size_t>(decimals) &&
                    fraction[static_cast<std::size_t>(decimals)] >= '5';
    fraction.resize(static_cast<std::size_t>(decimals), '0');
    std::string kept = whole + fraction;
    if (up) {
      std::size_t at = kept.size();
      while (at > 0 && kept[at - 1] == '9') kept[--at] = '0';
      if (at == 0) {
        kept.insert(kept.begin(), '1');
      } else {
        ++kept[at - 1];
      }
    }
    const std::size_t wholeDigits = kept.size() - static_cast<std::size_t>(decimals);
    result = (value < 0 ? "-" : "") + kept.substr(0, wholeDigits) +
             (decimals > 0 ? "." + kept.substr(wholeDigits) : "");
  }
  if (result.front() == '-' && result.find_first_not_of("-0.") == std::string::npos) {
    result.erase(0, 1);
  }
  return result;
}

namespace {

std::string Fixed(double value, int decimals) { return FixedText(value, decimals); }

double Rounded(double value, int decimals) { return std::stod(Fixed(value, decimals)); }

bool LeadingZero(PStyle style) { return style == PStyle::ChineseMedical || style == PStyle::Nejm; }

int Decimals(PStyle style, double p) {
  switch (style) {
    case PStyle::Ama:
    case PStyle::Nejm:
      return p >= 0.01 ? 2 : 3;
    case PStyle::ChineseMedical:
    case PStyle::Apa:
      break;
  }
  return 3;
}

std::string Number(PStyle style, const std::string& text) {
  if (!LeadingZero(style) && text.rfind("0.", 0) == 0) return text.substr(1);
  return text;
}

std::string Relation(PStyle style, const char* relation) {
  const bool spaced = style == PStyle::Ama || style == PStyle::Apa;
  return spaced ? std::string(" ") + relation + " " : std::string(relation);
}

std::string Missing(const Figure& figure) { return "—（" + figure.reason + "）"; }

}  // namespace

std::string StyledP::Html() const { return "<i>" + symbol + "</i>" + HtmlEscaped(rest); }

std::string HtmlEscaped(const std::string& text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char character : text) {
    switch (character) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      default:
        escaped += character;
    }
  }
  return escaped;
}

StyledP FormatP(PStyle style, const Figure& p, double level) {
  StyledP styled{style == PStyle::Apa ? "p" : "P", {}};
  if (!p) {
    styled.rest = "=" + Missing(p);
    return styled;
  }
  const double value = *p;
  if (value < 0.001) {
    styled.rest = Relation(style, "<") + Number(style, "0.001");
    return styled;
  }
  int decimals = Decimals(style, value);
  if (Rounded(value, decimals) >= 1) {
    styled.rest =
        Relation(style, ">") + Number(style, Fixed(1 - std::pow(10.0, -decimals), decimals));
    return styled;
  }
  // Where two decimals would read 0.05, three (P = 0.0504 is "0.050", not "0.05").
  if (decimals == 2 && Fixed(value, 2) == "0.05") decimals = 3;
  std::string number = Fixed(value, decimals);
  if (value < level) {
    const int most = decimals + 2;
    while (decimals < most && Rounded(value, decimals) >= level) {
      number = Fixed(value, ++decimals);
    }
    if (Rounded(value, decimals) >= level) {
      number = Fixed(level - std::pow(10.0, -decimals), decimals);
    }
  }
  styled.rest = Relation(style, "=") + Number(style, number);
  return styled;
}

std::string JoinBounds(PStyle style, const std::string& lower, const std::string& upper) {
  switch (style) {
    case PStyle::ChineseMedical:
      return lower + "～" + upper;
    case PStyle::Ama: {
      const bool negative = lower.front() == '-' || upper.front() == '-';
      return lower + (negative ? " to " : "-") + upper;
    }
    case PStyle::Nejm:
      return lower + " to " + upper;
    case PStyle::Apa:
      break;
  }
  return "[" + lower + ", " + upper + "]";
}

std::string UnboundedLowerText(const Figure& lower, int decimals, const std::string& written) {
  if (!lower) return written;
  return GuardedBound(*lower, *lower, std::numeric_limits<double>::infinity(), decimals,
                      IntervalNull::One, written);
}

std::string IntervalPrefix(PStyle style) {
  return style == PStyle::ChineseMedical ? "95%CI："
         : style == PStyle::Apa          ? "95% CI "
                                         : "95% CI, ";
}

std::string GuardedBound(double bound, double lower, double upper, int decimals, IntervalNull null,
                         const std::string& written) {
  std::vector<double> guarded;
  switch (null) {
    case IntervalNull::None:
      return written;
    case IntervalNull::Zero:
      guarded = {0};
      break;
    case IntervalNull::One:
      guarded = {1};
      break;
    case IntervalNull::Correlation:
      guarded = {-1, 0, 1};
      break;
  }
  char* end = nullptr;
  const double read = std::strtod(written.c_str(), &end);
  for (const double value : guarded) {
    const bool excluded = lower > value || upper < value;
    if (!excluded || bound == value || end == written.c_str() || read != value) continue;
    const int most = decimals + 2;
    std::string text;
    do {
      text = Fixed(bound, ++decimals);
    } while (decimals < most && Rounded(bound, decimals) == value);
    if (Rounded(bound, decimals) == value) {
      const double step = std::pow(10.0, -decimals);
      text = Fixed(bound < value ? value - step : value + step, decimals);
    }
    return text;
  }
  return written;
}

std::string FormatInterval(PStyle style, const Figure& lower, const Figure& upper, int decimals,
                           IntervalNull null) {
  const std::string prefix = IntervalPrefix(style);
  if (!lower || !upper) {
    return (style == PStyle::ChineseMedical ? prefix : std::string("95% CI ")) +
           Missing(!lower ? lower : upper);
  }
  auto bound = [&](double value) {
    return GuardedBound(value, *lower, *upper, decimals, null, Fixed(value, decimals));
  };
  return prefix + JoinBounds(style, bound(*lower), bound(*upper));
}

std::string PStyleName(PStyle style) {
  switch (style) {
    case PStyle::ChineseMedical:
      return "中华医学会系列杂志";
    case PStyle::Ama:
      return "AMA / JAMA";
    case PStyle::Nejm:
      return "NEJM";
    case PStyle::Apa:
      break;
  }
  return "APA 7";
}

}  // namespace quillon
