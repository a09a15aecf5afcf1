#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "stats/fixed4.h"

namespace quillon {

// The two-sided t critical value table: 55 fixed-width lines, each ended by CR LF. Lines 4 to
// 52 are the rows for 1 to 1000 degrees of freedom, line 53 the infinite row "∝"; lines 0 to 3
// and 54 are the title, the column heads and dash rules.
std::string_view TCriticalTable();

// Line lineIndex (from 0) of text without its line break (CR LF, CR or LF); the empty text for
// a line that does not exist.
std::string GetLineText(std::string_view text, int lineIndex);

// The critical-value texts of one table row, exactly as the table writes them ("12.70").
struct TCriticalValues {
  std::string c05;
  std::string c01;
  std::string c001;

  friend bool operator==(const TCriticalValues&, const TCriticalValues&) = default;
};

// The row for df degrees of freedom: the largest tabulated df not above df up to 999.9999, the
// 1000 row for exactly 1000, the infinite row above 1000. A df below 1 has no row.
std::optional<TCriticalValues> LookUpTCritical(Fixed4 df);

// One data row of the table as the table window shows it: the degrees of freedom ("1" to
// "1000", and "∞" for the infinite row, which the table text writes "∝") and the three values.
struct TTableRow {
  std::string df;
  TCriticalValues critical;

  friend bool operator==(const TTableRow&, const TTableRow&) = default;
};

// The table's 50 data rows in their order, read from TCriticalTable().
std::vector<TTableRow> TCriticalTableRows();

}  // namespace quillon
