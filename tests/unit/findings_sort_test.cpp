#include <gtest/gtest.h>

#include "platform/substitute/substitute_locale.h"
#include "scan/findings_sort.h"

namespace qm {

namespace {

TEST(CompareForSort, IgnoresCaseAndOrdersByUpperCasedCodeUnits) {
  SubstituteLocale locale;
  EXPECT_EQ(CompareForSort(L"abc", L"ABC", 1, locale), 0);
  EXPECT_EQ(CompareForSort(L"_x", L"Zx", 1, locale), 1);  // '_' (95) after 'Z' (90)
  EXPECT_EQ(CompareForSort(L"_x", L"zx", 1, locale), 1);  // z is compared as Z
  EXPECT_EQ(CompareForSort(L"_x", L"Zx", -1, locale), -1);
  EXPECT_EQ(CompareForSort(L"ab", L"abc", 1, locale), -1);
  EXPECT_EQ(CompareForSort(L"я", L"Ю", 1, locale), 1);
}

std::vector<std::wstring> Column(const FindingsList& findings, FindingColumn column) {
  std::vector<std::wstring> texts;
  for (const Finding& finding : findings.Rows()) texts.push_back(ColumnText(finding, column));
  return texts;
}

TEST(FindingsSorter, TheSharedDirectionFlipsBeforeEverySort) {
  SubstituteLocale locale;
  FindingsList findings;
  for (auto [key, name] : {std::pair{L"\\b\\", L"_u"}, std::pair{L"\\A\\", L"Z"}, std::pair{L"\\c\\", L"a"}}) {
    Finding finding;
    finding.keyPath = key;
    finding.valueName = name;
    findings.Add(finding);
  }
  FindingsSorter sorter(locale);

  sorter.SortBy(findings, FindingColumn::KeyPath);  // first click: descending
  EXPECT_EQ(Column(findings, FindingColumn::KeyPath), (std::vector<std::wstring>{L"\\c\\", L"\\b\\", L"\\A\\"}));
  sorter.SortBy(findings, FindingColumn::KeyPath);  // same column again: ascending
  EXPECT_EQ(Column(findings, FindingColumn::KeyPath), (std::vector<std::wstring>{L"\\A\\", L"\\b\\", L"\\c\\"}));
  sorter.SortBy(findings, FindingColumn::KeyPath);
  sorter.SortBy(findings, FindingColumn::ValueName);  // another column after a descending sort: ascending
  EXPECT_EQ(Column(findings, FindingColumn::ValueName), (std::vector<std::wstring>{L"a", L"Z", L"_u"}));
}

}  // namespace

}  // namespace qm
