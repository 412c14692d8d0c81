#pragma once
// A window that shows nothing: every category checked, counts what a scan shows, and
// presses Stop at a chosen moment (at the first message pump after it, as a click
// waits for the pump).
#include <chrono>
#include <cstdio>
#include <optional>
#include <span>
#include <string>

#include "exclusions/exclusion_list.h"
#include "scan/findings_list.h"
#include "scan/scan_categories.h"
#include "scan/scan_host.h"
#include "scan/scanner.h"

namespace qm::bench {

class BenchHost : public ScanHost {
 public:
  using Clock = std::chrono::steady_clock;

  Scanner* scanner = nullptr;
  std::optional<Clock::time_point> stopAt;  // when the user clicks Stop
  bool stopPressed = false;
  std::size_t statusTexts = 0;
  std::size_t rowsShown = 0;
  int position = 0;

  void SetProgressMaximum(int value) override { maximum_ = value; }
  int ProgressMaximum() const override { return maximum_; }
  void SetProgressPosition(int value) override { position = value; }
  void SetStatusText(StatusPanel, std::wstring_view) override { ++statusTexts; }
  void ShowTotal(std::size_t) override {}
  void FindingsCleared() override {}
  void FindingAdded(const FindingsList&, std::size_t) override { ++rowsShown; }
  void FitColumns() override {}
  void ProcessMessages() override {
    if (!stopAt || stopPressed || Clock::now() < *stopAt) return;
    stopPressed = true;
    scanner->ToggleSearch();
  }
  bool IsCategoryChecked(std::wstring_view) override { return true; }
  std::wstring CategoryCaption(std::wstring_view name) override { return std::wstring(name); }
  void SetCategoryRunning(std::wstring_view, bool) override {}
  void SetFixEnabled(bool) override {}
  void SetMenusEnabled(bool) override {}
  void ShowRunning(bool) override {}
  void ReportError(std::wstring_view message) override {
    std::fprintf(stderr, "scan error: %ls\n", std::wstring(message).c_str());
  }

 private:
  int maximum_ = 0;
};

// The seconds a whole run over `categories` takes through the core, with nothing shown.
inline double CoreScanSeconds(const Platform& platform, std::span<const ScanCategory> categories = ScanCategories()) {
  FindingsList findings;
  ExclusionList exclusions;
  BenchHost host;
  Scanner scanner(platform, host, findings, exclusions, categories);
  host.scanner = &scanner;
  const auto start = BenchHost::Clock::now();
  scanner.StartSearch();
  return std::chrono::duration<double>(BenchHost::Clock::now() - start).count();
}

}  // namespace qm::bench
