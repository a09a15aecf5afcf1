#pragma once
// The pieces the results and methods sentences are made of, shared by the t tests' and the rank
// tests' sentences: the style's punctuation, the verdict's words, intervals read against P and
// the names the user gave.

#include <string>

#include "report/figure.h"
#include "report/p_style.h"
#include "report/t_tests.h"
#include "report/writing/names.h"
#include "report/writing/text.h"

namespace quillon::sentence_parts {

inline constexpr double kAlpha = 0.05;
inline constexpr const char* kProgram = "Quillon 3.0";

bool English(PStyle style);
std::string Is(PStyle style, const std::string& symbol, const std::string& value);
std::string Two(const Figure& figure);
std::string Df(const Figure& figure);
std::string Interval(PStyle style, const Figure& lower, const Figure& upper,
                     IntervalNull null = IntervalNull::None);
std::string Bracketed(PStyle style, const std::string& text);
std::string List(PStyle style);
std::string Finding(PStyle style, const Figure& p, const std::string& chinese,
                    const std::string& english);
std::string NoTest(PStyle style, const Figure& missing);
std::string Closing(PStyle style);
bool UsesWelch(const TwoSampleFigures& f);
double NullOf(IntervalNull null);
std::string IntervalNote(PStyle style, const Figure& p, const Figure& lower, const Figure& upper,
                         IntervalNull null, const std::string& chinese, const std::string& english);
std::string SentenceInterval(PStyle style, const Figure& lower, const Figure& upper,
                             IntervalNull null);
std::string CheckedInterval(PStyle style, const Figure& p, const Figure& lower, const Figure& upper,
                            IntervalNull null, const std::string& chinese,
                            const std::string& english);
std::string Groups(PStyle style, const ReportNames& names);
std::string Outcome(const ReportNames& names);
std::string PairedFirst(const ReportNames& names);
std::string PairedSecond(const ReportNames& names);
std::string Change(PStyle style, const ReportNames& names, const Figure& beforeLessAfter);
std::string DifferenceName(PStyle style, const ReportNames& names, const char* chinese,
                           const char* english);

}  // namespace quillon::sentence_parts
