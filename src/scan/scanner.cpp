#include "scan/scanner.h"

#include <exception>
#include <optional>

#include "platform/error.h"
#include "scan/scan_host.h"
#include "text/encoding.h"

namespace qm {

Scanner::Scanner(const Platform& platform, ScanHost& host, FindingsList& findings, const ExclusionList& exclusions,
                 std::span<const ScanCategory> categories)
    : session_{platform, host, findings, exclusions}, categories_(categories) {}

void Scanner::ToggleSearch() {
  switch (state_) {
    case RunState::Idle: StartSearch(); break;
    case RunState::Running: PressStop(); break;
    case RunState::Stopping: break;
  }
}

void Scanner::StartSearch() {
  if (state_ != RunState::Idle) return;
  ScanHost& host = session_.host;
  host.SetFixEnabled(false);
  state_ = RunState::Running;
  host.ShowRunning(true);
  std::optional<std::wstring> failure;
  try {
    Search();
  } catch (const Error& error) {
    failure = error.Message();
  } catch (const std::exception& error) {
    failure = FromUtf8(error.what());
  }
  if (failure) StopSearch();
  state_ = RunState::Idle;
  host.ShowRunning(false);
  if (failure) host.ReportError(*failure);
}

void Scanner::PressStop() {
  state_ = RunState::Stopping;
  session_.host.ShowRunning(false);
  StopSearch();
  session_.host.SetProgressPosition(session_.host.ProgressMaximum());
}

void Scanner::Search() {
  ScanHost& host = session_.host;
  FindingsList& findings = session_.findings;
  session_.stopRequested = false;
  session_.driveTypes.clear();  // a drive or a folder may have changed since the last run
  session_.folders.Forget();
  host.SetProgressPosition(0);
  findings.Clear();
  host.FindingsCleared();
  host.SetMenusEnabled(false);
  host.ShowTotal(0);
  for (const ScanCategory& category : categories_)
    if (host.IsCategoryChecked(category.checkBoxName)) RunCategory(category);
  session_.stopRequested = true;
  if (!findings.Empty()) host.SetFixEnabled(true);
  host.ProcessMessages();
  host.SetMenusEnabled(true);
  host.ShowTotal(findings.Size());
  host.SetStatusText(StatusPanel::Item, {});
  host.SetStatusText(StatusPanel::Category, {});
  host.ProcessMessages();
  host.SetProgressPosition(host.ProgressMaximum());
  if (!findings.Empty()) host.FitColumns();
  host.ProcessMessages();
}

void Scanner::RunCategory(const ScanCategory& category) {
  ScanHost& host = session_.host;
  host.SetCategoryRunning(category.checkBoxName, true);
  if (category.routine) {
    try {
      CategoryScan scan(category, session_);
      category.routine(scan);
    } catch (...) {
      host.SetCategoryRunning(category.checkBoxName, false);
      throw;
    }
  }
  host.SetCategoryRunning(category.checkBoxName, false);
  if (!session_.findings.Empty()) host.FitColumns();
  host.ShowTotal(session_.findings.Size());
}

void Scanner::StopSearch() {
  ScanHost& host = session_.host;
  session_.stopRequested = true;
  if (!session_.findings.Empty()) host.SetFixEnabled(true);
  host.SetMenusEnabled(true);
  host.ShowTotal(session_.findings.Size());
  host.SetStatusText(StatusPanel::Category, {});
  host.SetStatusText(StatusPanel::Item, {});
  host.SetProgressPosition(0);
  host.ProcessMessages();
  host.FitColumns();
}

}  // namespace qm
