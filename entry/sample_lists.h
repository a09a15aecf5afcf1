#pragma once
// The two group lists behind the data grid. Entry k of a list is row k of its group, held as
// the text the user typed (or a file held); the empty text is an empty cell. Each entry keeps
// its value beside its text, and the exact sums over each group and over the complete pairs
// follow every change, so that an analysis never has to read the lists again.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "stats/exact_sums.h"
#include "stats/fixed4.h"

namespace quillon {

enum class Group { First = 0, Second = 1 };

class SampleLists {
 public:
  struct Entry {
    std::string text;
    std::optional<Fixed4> value;  // nothing for an empty cell or a text that is not a number
    bool rounded = false;         // a number typed with digits beyond the fourth decimal
    std::uint8_t decimals = 0;    // the decimals a number was typed with, at most four
  };

  std::size_t Size(Group group) const { return List(group).size(); }
  std::size_t LongerSize() const;
  // The text of a row; the empty text for a row the list does not have.
  const std::string& Text(Group group, std::size_t row) const;
  // The value of a row: nothing for an empty cell, a text that is not a number or a missing row.
  std::optional<Fixed4> Value(Group group, std::size_t row) const;

  // Stores the text of a row. A row past the end of the list first extends it with empty
  // cells, so that nothing typed is lost when an import has left the lists unequal.
  void SetText(Group group, std::size_t row, std::string text);
  // Appends an entry to one list (a line read from a file).
  void Append(Group group, std::string text);
  // Appends an empty row to both lists.
  void AppendRow();
  // Empties one list.
  void Clear(Group group);
  // Shortens one list to at most this many rows.
  void Truncate(Group group, std::size_t rows);
  // Both lists with rows empty entries each.
  void Reset(std::size_t rows);

  const GroupSums& Sums(Group group) const { return sums_[Index(group)]; }
  // Over the rows where both entries are numbers.
  const PairSums& Pairs() const { return pairs_; }

  // How many of a group's values, and of the complete pairs, were typed with digits beyond the
  // fourth decimal that the grid rounds away.
  std::size_t Rounded(Group group) const { return rounded_[Index(group)]; }
  std::size_t RoundedPairs() const { return roundedPairs_; }
  // The most decimals any of a group's values, or of the complete pairs' values, was typed with
  // (Fixed4::TypedDecimals): "1.0" counts one.
  int MostDecimals(Group group) const { return Most(decimals_[Index(group)]); }
  int MostPairDecimals() const { return Most(pairDecimals_); }

  // The sums computed anew from the texts: always equal to Sums and Pairs.
  GroupSums RecomputeSums(Group group) const;
  PairSums RecomputePairs() const;

 private:
  // How many values were typed with each number of decimals, 0 to 4.
  using DecimalCounts = std::array<std::size_t, 5>;
  static int Most(const DecimalCounts& counts);
  static std::size_t Index(Group group) { return static_cast<std::size_t>(group); }
  const std::vector<Entry>& List(Group group) const { return lists_[Index(group)]; }
  // Removes a row's share of the pair sums, or adds it back.
  void WithdrawPair(std::size_t row);
  void ContributePair(std::size_t row);

  std::vector<Entry> lists_[2];
  GroupSums sums_[2];
  PairSums pairs_;
  std::size_t rounded_[2] = {0, 0};
  std::size_t roundedPairs_ = 0;
  DecimalCounts decimals_[2] = {};
  DecimalCounts pairDecimals_ = {};  // each complete pair counted by its finer value
};

// How an entry counts: its value when it is a number within range, nothing otherwise (the empty
// text, "-", ".", "1.2.3", "3中4").
std::optional<Fixed4> EntryValue(std::string_view text);

}  // namespace quillon
