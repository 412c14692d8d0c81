#pragma once
// The findings list: the rows a scan adds and the repair works through. The list
// view of the main window mirrors this model.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace qm {

enum class FindingAction { DeleteKey, DeleteValue };

// "DelKey" or "DelVal", as the list keeps the action.
std::wstring_view ActionText(FindingAction action);

struct Finding {
  RootKey root = RootKey::LocalMachine;
  std::wstring keyPath;    // from the root, with a leading backslash
  std::wstring valueName;  // empty for the default value or when the category leaves it empty
  std::wstring valueData;
  std::wstring category;   // the category's caption when the finding was made
  FindingAction action = FindingAction::DeleteKey;
  RegView view = RegView::Bits64;  // the registry view the finding was made in
  bool checked = true;
};

// The columns of the list, in display order.
enum class FindingColumn { Root, KeyPath, ValueName, ValueData, Category };
std::wstring ColumnText(const Finding& finding, FindingColumn column);

class FindingsList {
 public:
  const std::vector<Finding>& Rows() const { return rows_; }
  std::size_t Size() const { return rows_.size(); }
  bool Empty() const { return rows_.empty(); }
  const Finding& operator[](std::size_t index) const { return rows_[index]; }

  // Appends the finding, checked; gives its row index.
  std::size_t Add(Finding finding);
  void Clear() { rows_.clear(); }
  void SetChecked(std::size_t index, bool checked) { rows_[index].checked = checked; }
  // Puts the rows in the given order: order[i] is the old index of the new row i.
  void Reorder(const std::vector<std::size_t>& order);

 private:
  std::vector<Finding> rows_;
};

}  // namespace qm
