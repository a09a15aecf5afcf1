// Reading an analysis file from any bytes: it is refused with a reason in UTF-8, or it gives a
// state within the grid's bounds that writes a file which reads back to the same state.

#include <utf8cpp/utf8.h>

#include <cstdint>
#include <string>
#include <variant>

#include "analysis_file/analysis_file.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillon;
  using fuzz::Require;
  const std::string_view bytes = fuzz::AsText(data, size);
  const auto read = ReadAnalysis(bytes);
  if (const auto* error = std::get_if<AnalysisFileError>(&read)) {
    Require(!error->reason.empty() && utf8::is_valid(error->reason.begin(), error->reason.end()),
            "a refusal gives its reason as UTF-8 text", bytes);
    return 0;
  }
  const auto& state = std::get<AnalysisState>(read);
  Require(state.group1.size() <= kMaxGridRows && state.group2.size() <= kMaxGridRows,
          "no group holds more rows than the grid", bytes);
  const auto again = ReadAnalysis(WriteAnalysis(state));
  const auto* same = std::get_if<AnalysisState>(&again);
  Require(same != nullptr && *same == state, "a state read writes a file that reads back to it",
          bytes);
  return 0;
}
