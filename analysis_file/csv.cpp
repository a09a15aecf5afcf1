#include "analysis_file/csv.h"

#include <algorithm>
#include <initializer_list>

#include "entry/group_file.h"

namespace quillon {
namespace {

void AppendField(std::string& csv, std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    csv += field;
    return;
  }
  csv += '"';
  for (const char c : field) {
    if (c == '"') csv += '"';
    csv += c;
  }
  csv += '"';
}

void AppendRow(std::string& csv, std::initializer_list<std::string_view> fields) {
  bool first = true;
  for (const std::string_view field : fields) {
    if (!first) csv += ',';
    first = false;
    AppendField(csv, field);
  }
  csv += "\r\n";
}

std::string_view RowOf(const std::vector<std::string>& group, std::size_t row) {
  return row < group.size() ? std::string_view(group[row]) : std::string_view();
}

}  // namespace

std::string SamplesCsv(std::string_view caption1, std::string_view caption2,
                       const std::vector<std::string>& group1,
                       const std::vector<std::string>& group2) {
  std::string csv(kUtf8ByteOrderMark);
  AppendRow(csv, {caption1, caption2});
  const std::size_t rows = std::max(group1.size(), group2.size());
  for (std::size_t row = 0; row < rows; ++row) {
    AppendRow(csv, {RowOf(group1, row), RowOf(group2, row)});
  }
  return csv;
}

std::string FourfoldCsv(const std::array<std::string, 2>& rowCaptions,
                        const std::array<std::string, 2>& columnCaptions,
                        const std::array<std::string, 4>& cells, std::string_view corner) {
  std::string csv(kUtf8ByteOrderMark);
  AppendRow(csv, {corner, columnCaptions[0], columnCaptions[1]});
  AppendRow(csv, {rowCaptions[0], cells[0], cells[1]});
  AppendRow(csv, {rowCaptions[1], cells[2], cells[3]});
  return csv;
}

}  // namespace quillon
