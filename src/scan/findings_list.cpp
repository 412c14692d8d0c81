#include "scan/findings_list.h"

namespace qm {

std::wstring_view ActionText(FindingAction action) {
  return action == FindingAction::DeleteKey ? L"DelKey" : L"DelVal";
}

std::wstring ColumnText(const Finding& finding, FindingColumn column) {
  switch (column) {
    case FindingColumn::Root: return RootKeyText(finding.root);
    case FindingColumn::KeyPath: return finding.keyPath;
    case FindingColumn::ValueName: return finding.valueName;
    case FindingColumn::ValueData: return finding.valueData;
    case FindingColumn::Category: return finding.category;
  }
  return {};
}

std::size_t FindingsList::Add(Finding finding) {
  finding.checked = true;
  rows_.push_back(std::move(finding));
  return rows_.size() - 1;
}

void FindingsList::Reorder(const std::vector<std::size_t>& order) {
  std::vector<Finding> reordered;
  reordered.reserve(order.size());
  for (std::size_t old : order) reordered.push_back(std::move(rows_[old]));
  rows_ = std::move(reordered);
}

}  // namespace qm
