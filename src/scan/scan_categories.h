#pragma once
// The seventeen scan categories in the order a scan runs them.
#include <span>
#include <string_view>

namespace qm {

class CategoryScan;

// A category's scanning routine: reads its registry keys and reports findings.
using CategoryRoutine = void (*)(CategoryScan& scan);

struct ScanCategory {
  std::wstring_view checkBoxName;    // the check box, also the settings key
  std::wstring_view defaultCaption;  // the caption until a language file replaces it
  CategoryRoutine routine;           // null while the category is not built yet
};

std::span<const ScanCategory> ScanCategories();
// The category of a check-box name, compared without regard to case; null when none.
const ScanCategory* FindScanCategory(std::wstring_view checkBoxName);

}  // namespace qm
