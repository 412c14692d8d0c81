#include "scan/findings_sort.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "platform/locale.h"

namespace qm {

namespace {

// Ordinal comparison of UTF-16 code units. std::wstring holds UTF-32 on some
// hosts, so a character beyond the Basic Multilingual Plane is compared by its
// leading surrogate there too.
unsigned CodeUnit(wchar_t c) {
  const auto value = static_cast<unsigned>(c);
  return value > 0xFFFF ? 0xD800 + ((value - 0x10000) >> 10) : value;
}

int CompareOrdinal(std::wstring_view first, std::wstring_view second) {
  const size_t common = std::min(first.size(), second.size());
  for (size_t i = 0; i < common; ++i) {
    const unsigned a = CodeUnit(first[i]), b = CodeUnit(second[i]);
    if (a != b) return a < b ? -1 : 1;
    // Two different characters with the same leading surrogate differ in the trailing one.
    if (first[i] != second[i]) return first[i] < second[i] ? -1 : 1;
  }
  if (first.size() == second.size()) return 0;
  return first.size() < second.size() ? -1 : 1;
}

}  // namespace

int CompareForSort(std::wstring_view first, std::wstring_view second, int direction, Locale& locale) {
  return CompareOrdinal(locale.ToUpper(first), locale.ToUpper(second)) * direction;
}

void FindingsSorter::SortBy(FindingsList& findings, FindingColumn column) {
  direction_ = -direction_;
  std::vector<std::wstring> keys;
  keys.reserve(findings.Size());
  for (const Finding& row : findings.Rows()) keys.push_back(locale_.ToUpper(ColumnText(row, column)));
  std::vector<std::size_t> order(findings.Size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::ranges::stable_sort(order, [&](std::size_t a, std::size_t b) {
    return CompareOrdinal(keys[a], keys[b]) * direction_ < 0;
  });
  findings.Reorder(order);
}

}  // namespace qm
