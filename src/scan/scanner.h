#pragma once
// The scan run: the Search/Stop button, the run over the checked categories and
// the stop, all on the caller's thread. Messages pumped by the host during a run
// may call ToggleSearch again; that is how Stop reaches the running category.
#include <span>

#include "scan/category_scan.h"
#include "scan/scan_categories.h"

namespace qm {

enum class RunState {
  Idle,
  Running,
  Stopping,  // Stop was pressed; the running category has not returned yet
};

class Scanner {
 public:
  Scanner(const Platform& platform, ScanHost& host, FindingsList& findings, const ExclusionList& exclusions,
          std::span<const ScanCategory> categories = ScanCategories());

  // The Search/Stop button: starts a run when idle, stops it while it runs. A press
  // while a stopped run is still unwinding is ignored.
  void ToggleSearch();
  // Starts a run when idle and returns when it has ended. An error that escapes a
  // category stops the run, puts it back to idle and goes to the host's ReportError.
  void StartSearch();
  // One whole run over the checked categories; errors of the categories pass through.
  void Search();
  // Sets the stop flag and puts the page into its idle look.
  void StopSearch();

  bool StopRequested() const { return session_.stopRequested; }
  RunState State() const { return state_; }

 private:
  void PressStop();
  void RunCategory(const ScanCategory& category);

  ScanSession session_;
  std::span<const ScanCategory> categories_;
  RunState state_ = RunState::Idle;
};

}  // namespace qm
