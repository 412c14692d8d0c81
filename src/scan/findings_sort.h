#pragma once
// Sorting the findings list by a column. One direction is shared by all columns and
// flipped before every sort, so the first sort of any column is descending.
#include <string_view>

#include "scan/findings_list.h"

namespace qm {

class Locale;

// Upper-cases both texts with the locale and compares them code unit by code unit:
// `direction` when the first is greater, -direction when it is smaller, 0 when equal.
int CompareForSort(std::wstring_view first, std::wstring_view second, int direction, Locale& locale);

class FindingsSorter {
 public:
  explicit FindingsSorter(Locale& locale) : locale_(locale) {}

  // Flips the shared direction, then sorts the rows by the column's text; a result
  // below zero puts the first row first. Rows with equal texts keep their order.
  void SortBy(FindingsList& findings, FindingColumn column);

 private:
  Locale& locale_;
  int direction_ = 1;
};

}  // namespace qm
