#include "entry/sample_lists.h"

#include <algorithm>
#include <utility>

namespace quillon {

std::optional<Fixed4> EntryValue(std::string_view text) {
  return text.empty() ? std::nullopt : Fixed4::Parse(text);
}

std::size_t SampleLists::LongerSize() const {
  return std::max(Size(Group::First), Size(Group::Second));
}

const std::string& SampleLists::Text(Group group, std::size_t row) const {
  static const std::string kEmpty;
  const std::vector<Entry>& list = List(group);
  return row < list.size() ? list[row].text : kEmpty;
}

std::optional<Fixed4> SampleLists::Value(Group group, std::size_t row) const {
  const std::vector<Entry>& list = List(group);
  return row < list.size() ? list[row].value : std::nullopt;
}

namespace {

bool RoundedAt(const std::vector<SampleLists::Entry>& list, std::size_t row) {
  return row < list.size() && list[row].rounded;
}

// The decimals of a complete pair: its finer value's.
std::size_t PairDecimals(const std::vector<SampleLists::Entry>* lists, std::size_t row) {
  return std::max(lists[0][row].decimals, lists[1][row].decimals);
}

}  // namespace

void SampleLists::WithdrawPair(std::size_t row) {
  const std::optional<Fixed4> x = Value(Group::First, row);
  const std::optional<Fixed4> y = Value(Group::Second, row);
  if (!x || !y) return;
  pairs_.Remove(*x, *y);
  if (RoundedAt(lists_[0], row) || RoundedAt(lists_[1], row)) --roundedPairs_;
  --pairDecimals_[PairDecimals(lists_, row)];
}

void SampleLists::ContributePair(std::size_t row) {
  const std::optional<Fixed4> x = Value(Group::First, row);
  const std::optional<Fixed4> y = Value(Group::Second, row);
  if (!x || !y) return;
  pairs_.Add(*x, *y);
  if (RoundedAt(lists_[0], row) || RoundedAt(lists_[1], row)) ++roundedPairs_;
  ++pairDecimals_[PairDecimals(lists_, row)];
}

void SampleLists::SetText(Group group, std::size_t row, std::string text) {
  std::vector<Entry>& list = lists_[Index(group)];
  if (row >= list.size()) list.resize(row + 1);
  Entry& entry = list[row];
  if (entry.text == text) return;

  WithdrawPair(row);
  if (entry.value) {
    sums_[Index(group)].Remove(*entry.value);
    --decimals_[Index(group)][entry.decimals];
  }
  if (entry.rounded) --rounded_[Index(group)];
  entry.value = EntryValue(text);
  entry.rounded = entry.value && Fixed4::DropsDigits(text);
  entry.decimals = entry.value ? static_cast<std::uint8_t>(Fixed4::TypedDecimals(text)) : 0;
  entry.text = std::move(text);
  if (entry.value) {
    sums_[Index(group)].Add(*entry.value);
    ++decimals_[Index(group)][entry.decimals];
  }
  if (entry.rounded) ++rounded_[Index(group)];
  ContributePair(row);
}

void SampleLists::Append(Group group, std::string text) {
  std::vector<Entry>& list = lists_[Index(group)];
  list.push_back(Entry{});
  SetText(group, list.size() - 1, std::move(text));
}

void SampleLists::AppendRow() {
  lists_[0].push_back(Entry{});
  lists_[1].push_back(Entry{});
}

void SampleLists::Clear(Group group) {
  lists_[Index(group)].clear();
  sums_[Index(group)] = GroupSums{};
  rounded_[Index(group)] = 0;
  decimals_[Index(group)] = {};
  pairs_ = PairSums{};
  roundedPairs_ = 0;
  pairDecimals_ = {};
}

void SampleLists::Truncate(Group group, std::size_t rows) {
  while (Size(group) > rows) {
    SetText(group, Size(group) - 1, std::string());
    lists_[Index(group)].pop_back();
  }
}

void SampleLists::Reset(std::size_t rows) {
  for (std::size_t i = 0; i < 2; ++i) {
    lists_[i].assign(rows, Entry{});
    sums_[i] = GroupSums{};
    rounded_[i] = 0;
    decimals_[i] = {};
  }
  pairs_ = PairSums{};
  roundedPairs_ = 0;
  pairDecimals_ = {};
}

int SampleLists::Most(const DecimalCounts& counts) {
  for (int decimals = 4; decimals > 0; --decimals) {
    if (counts[static_cast<std::size_t>(decimals)] != 0) return decimals;
  }
  return 0;
}

GroupSums SampleLists::RecomputeSums(Group group) const {
  GroupSums sums;
  for (const Entry& entry : List(group)) {
    if (const std::optional<Fixed4> value = EntryValue(entry.text)) sums.Add(*value);
  }
  return sums;
}

PairSums SampleLists::RecomputePairs() const {
  PairSums pairs;
  const std::size_t rows = std::min(Size(Group::First), Size(Group::Second));
  for (std::size_t row = 0; row < rows; ++row) {
    const std::optional<Fixed4> x = EntryValue(Text(Group::First, row));
    const std::optional<Fixed4> y = EntryValue(Text(Group::Second, row));
    if (x && y) pairs.Add(*x, *y);
  }
  return pairs;
}

}  // namespace quillon
