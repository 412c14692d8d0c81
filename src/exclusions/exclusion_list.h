#pragma once
// The exclusion list: texts that suppress findings. The exclusions page mirrors it.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

class Locale;

struct Exclusion {
  std::wstring text;         // looked for inside candidates
  std::wstring description;  // free text, usually the caption of a category
  bool checked = true;       // only checked rows take part in the test
  friend bool operator==(const Exclusion&, const Exclusion&) = default;
};

class ExclusionList {
 public:
  void Add(Exclusion exclusion) { rows_.push_back(std::move(exclusion)); }
  const std::vector<Exclusion>& Rows() const { return rows_; }
  std::size_t Size() const { return rows_.size(); }
  void SetChecked(std::size_t index, bool checked) { rows_[index].checked = checked; }
  void Remove(std::size_t index) { rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index)); }
  void Clear() { rows_.clear(); }

 private:
  std::vector<Exclusion> rows_;
};

// True when the text of a checked row, lower-cased by the locale, occurs inside the
// lower-cased candidate. Rows are read in list order at every call; an empty text
// never matches.
bool IsExcluded(const ExclusionList& exclusions, std::wstring_view candidate, Locale& locale);

}  // namespace qm
