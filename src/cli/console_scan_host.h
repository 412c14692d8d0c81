#pragma once
// The scan and repair host of quillmere-cli: the chosen categories are the checked
// ones, the captions are the built-in ones, and the scan's progress goes to a line on
// stderr.
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "repair/repair_host.h"
#include "scan/scan_host.h"

namespace qm {

struct ScanCategory;

class ConsoleScanHost : public ScanHost, public RepairHost {
 public:
  ConsoleScanHost(std::vector<const ScanCategory*> categories, bool showProgress);

  // The error that ended the run, if one did.
  const std::optional<std::wstring>& Failure() const { return failure_; }

  void SetProgressMaximum(int maximum) override { maximum_ = maximum; }
  int ProgressMaximum() const override { return maximum_; }
  void SetProgressPosition(int position) override { position_ = position; }
  void SetStatusText(StatusPanel panel, std::wstring_view text) override;
  void ShowTotal(std::size_t) override {}
  void FindingsCleared() override {}
  void FindingAdded(const FindingsList&, std::size_t) override {}
  void FitColumns() override {}
  void ProcessMessages() override {}
  bool IsCategoryChecked(std::wstring_view checkBoxName) override;
  std::wstring CategoryCaption(std::wstring_view checkBoxName) override;
  void SetCategoryRunning(std::wstring_view, bool) override {}
  void SetFixEnabled(bool) override {}
  void SetMenusEnabled(bool) override {}
  void ShowRunning(bool running) override;
  void ReportError(std::wstring_view message) override { failure_ = std::wstring(message); }
  void ShowFinding(std::size_t) override {}
  void FindingRemoved(std::size_t) override {}
  std::wstring ReadyText() override { return {}; }  // no status bar to show it

 private:
  void DrawProgress();

  std::vector<const ScanCategory*> categories_;
  bool showProgress_;
  int maximum_ = 0;
  int position_ = 0;
  std::wstring category_;
  std::chrono::steady_clock::time_point lastDrawn_{};
  std::optional<std::wstring> failure_;
};

}  // namespace qm
