#pragma once
// Reading the reference data sets that the tests type into the grid.

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace quillon::testing {

// One value per line of entry/tests/data/strd/<name>.txt; lines starting with "#" are skipped.
inline std::vector<std::string> ReferenceLines(const std::string& name) {
  std::ifstream file(std::string(QUILLON_TEST_DATA_DIR) + "/strd/" + name + ".txt");
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() != '#') lines.push_back(line);
  }
  return lines;
}

}  // namespace quillon::testing
