#pragma once

// What the fuzz targets share: a failed property stops the run with the input saved.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace quillon::fuzz {

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// Stops the fuzzer (it keeps the input as a crash file) when a property does not hold.
inline void Require(bool holds, const char* property, std::string_view subject) {
  if (holds) {
    return;
  }
  std::fprintf(stderr, "property failed: %s\n  for \"%.*s\"\n", property,
               static_cast<int>(subject.size()), subject.data());
  std::abort();
}

// "-" at most, one or more digits, ".", exactly four digits: "12.3457", "-0.0100".
inline bool HasFourDecimals(std::string_view text) {
  if (text.starts_with('-')) {
    text.remove_prefix(1);
  }
  const std::size_t point = text.find('.');
  if (point == std::string_view::npos || point == 0 || text.size() - point != 5) {
    return false;
  }
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (at != point && (text[at] < '0' || text[at] > '9')) {
      return false;
    }
  }
  return true;
}

}  // namespace quillon::fuzz
