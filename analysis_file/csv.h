#pragma once
// The data of an analysis as a CSV file for a spreadsheet: RFC 4180 (a field holding a comma, a
// double quote, CR or LF is put in double quotes, its double quotes doubled), CRLF after every
// row, UTF-8 with a byte order mark, so that Excel and WPS open the Chinese captions intact.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// A header row of the two captions, then one row per row of the longer group; a group that has
// no such row gives an empty field.
std::string SamplesCsv(std::string_view caption1, std::string_view caption2,
                       const std::vector<std::string>& group1,
                       const std::vector<std::string>& group2);

// The four-fold table with its captions:
//   corner, column 1, column 2
//   row 1,  a,        b
//   row 2,  c,        d
std::string FourfoldCsv(const std::array<std::string, 2>& rowCaptions,
                        const std::array<std::string, 2>& columnCaptions,
                        const std::array<std::string, 4>& cells, std::string_view corner = {});

}  // namespace quillon
