#pragma once
// The analysis file (*.quillon): everything the user typed and chose, so that the main window,
// the results report and the sample-size window show again exactly what they showed, and nothing
// computed (every result is computed again on opening).
//
// The file is UTF-8 JSON, pretty-printed with two spaces so that two versions diff well. Keys are
// lowerCamelCase, the values of choices kebab-case; every box and every grid cell is a JSON
// string, as typed (an empty string is an empty cell or box):
//
//   {
//     "format": "quillon-analysis",
//     "version": 1,
//     "analysis": "two-sample",              two-sample | paired | correlation | fourfold | mcnemar
//     "group1": ["12.5", "", "13"],          every row of group 1, as typed
//     "group2": ["11", "14.2"],              the lists may differ in length
//     "summary": {"mean1": "", "sd1": "", "n1": "", "mean2": "", "sd2": "", "n2": ""},
//     "fourfold": {"a": "", "b": "", "c": "", "d": ""},
//     "report": {"style": "chinese-medical",  chinese-medical | ama | nejm | apa
//                "testPath": "t",             t | rank
//                "positiveMeans": "benefit",  benefit | harm
//                "hypothesis": "difference",  difference | non-inferiority | superiority |
//                                             equivalence, of the current analysis
//                "better": "higher",          higher | lower
//                "margin": "", "alpha": ""},  as typed; an empty α is the hypothesis's default
//     "sampleSize": {"design": "two-sample",  the analyses' keys
//                    "solveFor": "sample-size", sample-size | power
//                    "alpha": "0.05", "power": "0.80", "dropout": "0", "mean1": "", "mean2": "",
//                    "sd": "", "ratio": "1", "meanDiff": "", "sdDiff": "", "r": "", "p1": "",
//                    "p2": "", "p10": "", "p01": "", "n": "",
//                    "outcome": "", "unit": "",   the protocol sentence's names, each at most
//                    "group1": "", "group2": "",  kMaxAnalysisNameLength code points like
//                    "source": ""},               those of "names"
//     "names": {"group1": "试验组"}            names of groups, outcome and variables
//   }
//
// Reading is lenient where a person writing a file by hand would expect it and strict where a
// wrong file could pass for a right one: a missing key takes the value the window starts with
// (a file with only "group1" and "group2" reads), an unknown key is ignored (a later version may
// add some), and "format" and "version" may be left out as long as the file has at least one of
// the keys above; anything else wrong refuses the whole file with a reason in Chinese.

#include <array>
#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "counts/summary_t_test.h"
#include "entry/grid_rows.h"
#include "power/sample_size.h"
#include "report/hypothesis.h"
#include "report/p_style.h"
#include "report/proportions.h"
#include "report/test_path.h"

namespace quillon {

// The file name's suffix.
inline constexpr std::string_view kAnalysisFileSuffix = ".quillon";
// The largest file read: a full grid typed as 32,776 long entries in both groups is far smaller.
// Check a file's size against it before reading it into memory.
inline constexpr std::size_t kMaxAnalysisFileBytes = std::size_t{64} << 20;
// The longest name in "names" and in the sample-size plan's names, in code points.
inline constexpr std::size_t kMaxAnalysisNameLength = 40;

// The five analyses, in the order of the main window's buttons (the same order as the windows'
// own enumeration, so that a cast converts).
enum class AnalysisKind { TwoSample, Paired, Correlation, Fourfold, McNemar };

// What the main window shows, as typed. Default-constructed, it is the window as it starts:
// the two-sample t test, nine empty rows in each group, every box empty or at its default.
struct AnalysisState {
  AnalysisKind analysis = AnalysisKind::TwoSample;
  // Row k of each group; each list holds at most kMaxGridRows rows.
  std::vector<std::string> group1 = std::vector<std::string>(kVisibleRows);
  std::vector<std::string> group2 = std::vector<std::string>(kVisibleRows);
  // The two-sample t test's summary boxes, in SummaryBox order (mean, SD, n of each group).
  std::array<std::string, kSummaryBoxCount> summary;
  // Whether the file gave the summary boxes: one without them (written by hand or by another
  // program, with the groups alone) leaves them to what the grid's values give.
  bool summaryGiven = true;
  // The four-fold table's cells a, b (first row), c, d (second row), shared by both count
  // analyses.
  std::array<std::string, 4> fourfold;
  // The results report's choices, which the sample-size window's sentence shares.
  PStyle style = kDefaultPStyle;
  TestPath testPath = TestPath::TTest;
  PositiveMeans positiveMeans = PositiveMeans::Benefit;
  // What the current analysis's report judges: a difference, or a margin with its direction and
  // level, the margin and α as typed.
  Hypothesis hypothesis = Hypothesis::Difference;
  Better better = Better::Higher;
  std::string margin, alpha;
  // The sample-size window.
  PowerDesign design = PowerDesign::TwoSample;
  SolveFor solveFor = SolveFor::SampleSize;
  SampleSizeBoxes sampleSize;
  // Names the user gave (groups, outcome, variables), by key; kept as read and written back,
  // each at most kMaxAnalysisNameLength code points.
  std::map<std::string, std::string> names;

  friend bool operator==(const AnalysisState&, const AnalysisState&) = default;
};

// The state as the file's bytes. Text that is not UTF-8 (which the windows never hand over) is
// written with U+FFFD in place of each bad sequence.
std::string WriteAnalysis(const AnalysisState& state);

// Why a file was refused.
enum class AnalysisFileProblem {
  TooLarge,      // over kMaxAnalysisFileBytes
  NotUtf8,       // a byte sequence that is not UTF-8
  Truncated,     // the JSON ends before it is complete (or the file is empty)
  NotJson,       // a JSON syntax error
  OtherFormat,   // another "format", or not an object, or none of the file's keys
  NewerVersion,  // a "version" above the one this program writes
  WrongType,     // a key's value of another JSON type than the file holds there
  TooManyRows,   // a group with more rows than the grid holds
  BadValue,      // a choice's unknown key, a name too long, a version below 1
};

struct AnalysisFileError {
  AnalysisFileProblem problem;
  // One sentence in Chinese that names what is wrong and where ("键“group1”的第3项应为文本"),
  // to be shown after the file's name.
  std::string reason;
};

// A file's bytes read: the complete state, or why not. Never throws, and never gives a state
// filled in part.
std::variant<AnalysisState, AnalysisFileError> ReadAnalysis(std::string_view bytes);

}  // namespace quillon
