#include "cli/console_scan_host.h"

#include <algorithm>

#include "cli/console.h"
#include "scan/scan_categories.h"
#include "text/case_mapping.h"

namespace qm {

namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
constexpr size_t kLineWidth = 79;

}  // namespace

ConsoleScanHost::ConsoleScanHost(std::vector<const ScanCategory*> categories, bool showProgress)
    : categories_(std::move(categories)), showProgress_(showProgress) {}

bool ConsoleScanHost::IsCategoryChecked(std::wstring_view checkBoxName) {
  return std::ranges::any_of(categories_, [&](const ScanCategory* category) {
    return EqualsNoCase(category->checkBoxName, checkBoxName);
  });
}

std::wstring ConsoleScanHost::CategoryCaption(std::wstring_view checkBoxName) {
  const ScanCategory* category = FindScanCategory(checkBoxName);
  return category ? std::wstring(category->defaultCaption) : std::wstring(checkBoxName);
}

void ConsoleScanHost::SetStatusText(StatusPanel panel, std::wstring_view text) {
  if (panel == StatusPanel::Category) category_ = text;
  if (panel == StatusPanel::Item) DrawProgress();
}

void ConsoleScanHost::ShowRunning(bool running) {
  if (!showProgress_ || running) return;
  WriteStderr(L"\r" + std::wstring(kLineWidth, L' ') + L"\r");  // the progress line goes away
}

// "<caption> <position>/<maximum>", redrawn in place at most ten times a second.
void ConsoleScanHost::DrawProgress() {
  if (!showProgress_ || category_.empty()) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - lastDrawn_ < kRedrawInterval) return;
  lastDrawn_ = now;
  std::wstring line = category_ + L" " + std::to_wstring(std::max(position_, 0)) + L"/" +
                      std::to_wstring(std::max(maximum_, 0));
  line.resize(kLineWidth, L' ');
  WriteStderr(L"\r" + line);
}

}  // namespace qm
