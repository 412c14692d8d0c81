#include "scan/findings_sort.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

#include "platform/locale.h"

namespace qm {

namespace {

// The text as UTF-16 code units, whose ordinal order is the order of the sort.
// std::wstring holds UTF-32 on some hosts; there a character beyond the Basic
// Multilingual Plane becomes its surrogate pair, as it is on Windows.
std::u16string CodeUnits(std::wstring_view text) {
  std::u16string units;
  units.reserve(text.size());
  for (wchar_t c : text) {
    const auto value = static_cast<std::uint32_t>(c);
    if (value > 0xFFFF) {
      units.push_back(static_cast<char16_t>(0xD800 + ((value - 0x10000) >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + ((value - 0x10000) & 0x3FF)));
    } else {
      units.push_back(static_cast<char16_t>(value));
    }
  }
  return units;
}

int CompareOrdinal(std::u16string_view first, std::u16string_view second) {
  const int order = first.compare(second);
  return (order > 0) - (order < 0);
}

}  // namespace

int CompareForSort(std::wstring_view first, std::wstring_view second, int direction, Locale& locale) {
  return CompareOrdinal(CodeUnits(locale.ToUpper(first)), CodeUnits(locale.ToUpper(second))) * direction;
}

void FindingsSorter::SortBy(FindingsList& findings, FindingColumn column) {
  direction_ = -direction_;
  std::vector<std::u16string> keys;
  keys.reserve(findings.Size());
  for (const Finding& row : findings.Rows()) keys.push_back(CodeUnits(locale_.ToUpper(ColumnText(row, column))));
  std::vector<std::size_t> order(findings.Size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::ranges::stable_sort(order, [&](std::size_t a, std::size_t b) {
    return direction_ > 0 ? keys[a] < keys[b] : keys[b] < keys[a];
  });
  findings.Reorder(order);
}

}  // namespace qm
