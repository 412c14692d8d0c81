#pragma once
// What a scan needs from the window that shows it. The main window implements it
// over its controls; the console front end and the tests implement it too.
#include <cstddef>
#include <string>
#include <string_view>

namespace qm {

class FindingsList;

enum class StatusPanel { Category = 0, Item = 1 };

class ScanHost {
 public:
  virtual ~ScanHost() = default;

  // The progress bar of the running category; the taskbar button follows it.
  virtual void SetProgressMaximum(int maximum) = 0;
  virtual int ProgressMaximum() const = 0;
  virtual void SetProgressPosition(int position) = 0;

  virtual void SetStatusText(StatusPanel panel, std::wstring_view text) = 0;
  // The totals label: the "Всего: " text followed by the number of rows.
  virtual void ShowTotal(std::size_t rowCount) = 0;

  // The model was emptied.
  virtual void FindingsCleared() = 0;
  // Row `index` was appended to the model, checked: show it, scroll it into view
  // and update the totals label.
  virtual void FindingAdded(const FindingsList& findings, std::size_t index) = 0;
  // Sizes every column of the list to the wider of its header and its contents.
  virtual void FitColumns() = 0;

  // Lets pending window messages run; a Stop press arrives here.
  virtual void ProcessMessages() = 0;

  // The category check boxes, by check-box name (CheckBoxSharedDLLs, ...).
  virtual bool IsCategoryChecked(std::wstring_view checkBoxName) = 0;
  virtual std::wstring CategoryCaption(std::wstring_view checkBoxName) = 0;
  // Bold while the category runs, regular again afterwards.
  virtual void SetCategoryRunning(std::wstring_view checkBoxName, bool running) = 0;

  virtual void SetFixEnabled(bool enabled) = 0;
  // The automatic pop-up of the findings list's and the options panel's menus.
  virtual void SetMenusEnabled(bool enabled) = 0;
  // Running: the Search button reads "Стоп" and the options panel, the list panel,
  // the page buttons and the general-menu button are disabled. Idle: the reverse.
  virtual void ShowRunning(bool running) = 0;

  // An error ended the run; the run is already back to idle.
  virtual void ReportError(std::wstring_view message) = 0;
};

}  // namespace qm
