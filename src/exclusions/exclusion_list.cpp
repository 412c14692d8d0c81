#include "exclusions/exclusion_list.h"

#include <optional>

#include "platform/locale.h"
#include "text/text_ops.h"

namespace qm {

bool IsExcluded(const ExclusionList& exclusions, std::wstring_view candidate, Locale& locale) {
  std::optional<std::wstring> lowerCandidate;  // lower-cased only once a row is checked
  for (const Exclusion& row : exclusions.Rows()) {
    if (!row.checked || row.text.empty()) continue;
    if (!lowerCandidate) lowerCandidate = locale.ToLower(candidate);
    if (Contains(*lowerCandidate, locale.ToLower(row.text))) return true;
  }
  return false;
}

}  // namespace qm
