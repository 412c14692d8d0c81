#pragma once
// A scan over the substitute platform, watched through a recording host that can
// press Stop when a chosen item shows in the status bar.
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "exclusions/exclusion_list.h"
#include "platform/platform.h"
#include "platform/substitute/fixed_clock.h"
#include "platform/substitute/substitute_file_system.h"
#include "platform/substitute/substitute_locale.h"
#include "platform/substitute/substitute_registry.h"
#include "platform/substitute/substitute_shell.h"
#include "scan/findings_list.h"
#include "scan/scan_host.h"
#include "scan/scanner.h"
#include "temp_folder.h"

namespace qm::testing {

class RecordingScanHost : public ScanHost {
 public:
  // Set to press Stop: when panel 1 shows `stopAtItem`, the next message pump
  // presses the Search/Stop button `stopPresses` times.
  Scanner* scanner = nullptr;
  std::optional<std::wstring> stopAtItem;
  int stopPresses = 1;

  std::set<std::wstring> checked;                 // check-box names
  std::map<std::wstring, std::wstring> captions;  // current captions, by check-box name

  int maximum = 0;
  int position = 0;
  std::vector<int> maxima;                 // every maximum set, in order
  std::vector<int> positions;              // every position set, in order
  std::vector<int> positionsAfterStop;     // every position set once Stop was pressed
  std::wstring status[2];
  std::size_t total = 0;
  std::size_t clears = 0;
  bool fixEnabled = false;
  bool menusEnabled = true;
  bool runningLook = false;
  std::optional<RunState> stateAfterStop;  // the run state right after the Stop press
  std::vector<std::wstring> events;        // "bold X", "regular X", "error: ..."

  void SetProgressMaximum(int value) override;
  int ProgressMaximum() const override { return maximum; }
  void SetProgressPosition(int value) override;
  void SetStatusText(StatusPanel panel, std::wstring_view text) override;
  void ShowTotal(std::size_t rowCount) override { total = rowCount; }
  void FindingsCleared() override { ++clears; }
  void FindingAdded(const FindingsList& findings, std::size_t index) override;
  void FitColumns() override {}
  void ProcessMessages() override;
  bool IsCategoryChecked(std::wstring_view checkBoxName) override { return checked.contains(std::wstring(checkBoxName)); }
  std::wstring CategoryCaption(std::wstring_view checkBoxName) override;
  void SetCategoryRunning(std::wstring_view checkBoxName, bool running) override;
  void SetFixEnabled(bool enabled) override { fixEnabled = enabled; }
  void SetMenusEnabled(bool enabled) override { menusEnabled = enabled; }
  void ShowRunning(bool running) override { runningLook = running; }
  void ReportError(std::wstring_view message) override { events.push_back(L"error: " + std::wstring(message)); }

 private:
  bool stopPending_ = false;
  bool stopPressed_ = false;
};

// The substitute platform: C: and E: (removable) mapped onto temporary folders,
// D: an empty CD-ROM drive; Windows in C:\Windows.
class ScanFixture {
 public:
  explicit ScanFixture(std::span<const ScanCategory> categories = ScanCategories());

  // Registry text below the "Windows Registry Editor Version 5.00" line.
  void ImportReg(std::wstring_view keys);
  // Creates a file on C: or E: (and the folders that hold it).
  void AddFile(std::wstring_view path);
  void Exclude(std::wstring text, bool checked = true);
  // Fixtures of tests/fixtures: a registry file imported, a folder copied onto C:, an
  // exclusion file's rows appended.
  void ImportRegFixture(std::string_view file);
  void CopyFixtureToDriveC(std::string_view folder);
  void ExcludeFromFixture(std::string_view file);
  // Checks only this category and presses Search.
  void Scan(std::wstring_view checkBoxName);
  // Each finding as "root|key|name|data|category|action".
  std::vector<std::wstring> Rows() const;

  TempFolder driveC;
  TempFolder driveE;
  SubstituteRegistry registry;
  SubstituteFileSystem files;
  SubstituteShell shell;
  SubstituteLocale locale;
  FixedClock clock;
  Platform platform{registry, files, shell, locale, clock};
  FindingsList findings;
  ExclusionList exclusions;
  RecordingScanHost host;
  Scanner scanner;
};

std::wstring RowText(const Finding& finding);
// The lines of a fixture's expected findings (the tab-separated columns that
// quillmere-cli prints), each as ScanFixture::Rows gives a finding.
std::vector<std::wstring> ExpectedFixtureRows(std::string_view file);

}  // namespace qm::testing
