#pragma once
// The main window TForm1: the strip with the general-menu button, the page buttons,
// the cleaning page with its categories, findings list, status and progress, and the
// Search/Stop and Fix buttons. It shows the scan engine's runs (it is their ScanHost)
// and keeps its own settings in the settings file. The exclusions page mirrors the
// exclusion list, the backups page the files of the backup folder; the Fix button runs
// the repair (the window is its RepairHost).
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "app/settings_path.h"
#include "exclusions/exclusion_list.h"
#include "platform/platform.h"
#include "repair/backup_files.h"
#include "repair/repair_host.h"
#include "scan/findings_list.h"
#include "scan/findings_sort.h"
#include "scan/scan_host.h"
#include "scan/scanner.h"
#include "win32/form_window.h"
#include "win32/language_menu_window.h"
#include "win32/taskbar_progress.h"

namespace qm {

class TForm1 final : public FormWindow, private ScanHost, private RepairHost {
 public:
  explicit TForm1(const Platform& platform, std::span<const ScanCategory> categories = ScanCategories());
  ~TForm1() override;

  // Creates the window and runs its creation handler; the window stays hidden.
  void Create();
  // Shows the window, maximized when the settings say so.
  void Show();
  // The update and About windows that the general menu opens.
  void SetSecondaryWindows(FormWindow* updateWindow, FormWindow* aboutWindow);
  // Tidies the language files, fills the language menu and applies the chosen language
  // to all three windows.
  void StartLanguages();
  LanguageMenuWindow& Languages() { return languages_; }

  // The platform version gate: major version 10, build 10240 or later.
  static bool IsWindows10Or11();

  const FindingsList& Findings() const { return findings_; }
  const ExclusionList& Exclusions() const { return exclusions_; }
  RunState ScanState() const { return scanner_.State(); }
  bool PortableMode() const { return config_.portableMode; }
  // The settings file (Config\Option.ini); creates its folder.
  std::wstring PortablePath();

  void LoadNastr();
  void SaveNastr();

 private:
  // FormWindow
  void OnClick(const Component& component) override;
  LRESULT OnNotify(const Component& component, NMHDR& header) override;
  void OnClose() override;
  DWORD ExtraStyle(const Component& component) const override;
  HIMAGELIST ButtonPictures() const override { return pictures_.get(); }
  void OnDpiChanged() override;
  bool IsMainWindow() const override { return true; }
  std::wstring_view InitialFocus() const override { return L"ButtonSearch"; }
  LRESULT OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool HasRuntimeItems(const Component& item) const override { return item.name == L"LanguageMenu"; }
  void FillRuntimeItems(const Component&, HMENU submenu) const override { languages_.Fill(submenu); }
  void OnRuntimeItemClick(UINT id) override { languages_.Click(id); }

  // ScanHost
  void SetProgressMaximum(int maximum) override;
  int ProgressMaximum() const override { return view_.progressMaximum; }
  void SetProgressPosition(int position) override;
  void SetStatusText(StatusPanel panel, std::wstring_view text) override;
  void ShowTotal(std::size_t rowCount) override;
  void FindingsCleared() override;
  void FindingAdded(const FindingsList& findings, std::size_t index) override;
  void FitColumns() override;
  void ProcessMessages() override;
  bool IsCategoryChecked(std::wstring_view checkBoxName) override;
  std::wstring CategoryCaption(std::wstring_view checkBoxName) override;
  void SetCategoryRunning(std::wstring_view checkBoxName, bool running) override;
  void SetFixEnabled(bool enabled) override;
  void SetMenusEnabled(bool enabled) override;
  void ShowRunning(bool running) override;
  void ReportError(std::wstring_view message) override;

  // RepairHost (the progress, status, total and message pump are shared with ScanHost)
  void ShowFinding(std::size_t index) override;
  void FindingRemoved(std::size_t index) override;
  std::wstring ReadyText() override;

  // Handlers, named after their control and event.
  void FormCreate();
  void FormClose();
  void ButtonSearchClick();
  void ButtonRegCleanClick();
  void ButtonExceptionsClick();
  void ButtonBackupsClick();
  void SpeedButton_GeneralMenuClick();
  void WMMouseMove();
  void CheckUpdateMenuClick();
  void AboutMenuClick();
  void ThemeAutoClick();
  void ThemeLightClick();
  void ThemeDarkClick();
  void WMWinIniChange();
  void SelectAllMenuClick();
  void ExcludeAllMenuClick();
  void ClearListMenuClick();
  void CopyKeyMenuClick();
  void OptionSelectAllMenuClick();
  void OptionExcludeAllMenuClick();
  void OptionSaveMenuClick();
  void ListViewQuillmereColumnClick(int column);
  void ButtonFixClick();
  void AddKeyMenuClick();
  void AddParameterMenuClick();
  void SaveExceptionsMenuClick();
  void DeletaExceptionsMenuClick();
  void DeleteAllExceptionsMenuClick();
  void TabSheetBackupsShow();
  void BackupsUpdateMenuClick();
  void BackupsRestoreMenuClick();
  void BackupsDelMenuClick();
  void BackupsDelAllMenuClick();

  void UnCheckTheme();
  // Checks a theme item and applies its style.
  void ChooseTheme(std::wstring_view item);
  void CheckAll(bool checked);
  void CheckAll1(bool checked);
  void LoadExclusionReg();
  void SaveExclusionReg();
  // Appends a row to the exclusion list and its list view.
  void AddExl(const std::wstring& path, const std::wstring& description, bool checked);
  // Makes an exclusion of one column of the selected finding and takes the finding off the list.
  void AddExclusionFromFinding(FindingColumn column);
  void ExclusionCheckChanged(const NMLISTVIEW& change);

  // Empties the backups list and fills it with the backup files under `dir`; true when
  // it lists at least one.
  bool FindFileCopy(const std::wstring& dir);
  void AddBackupRow(const BackupFileRow& file);
  void DeleteFileSelected();
  void DeleteAll();
  void LockForRepair(bool locked);
  // Sizes each column of a report list to the wider of its header and its contents,
  // within the column's limits.
  void FitListColumns(std::wstring_view list);

  void SelectPage(std::wstring_view page, std::wstring_view button);
  std::vector<std::wstring> CategoryNames() const;
  std::vector<std::wstring> ThemeItemNames() const;
  HWND FindingsView() const;
  void ShowFindingText(NMLVDISPINFOW& request) const;
  void ToggleFindingCheck(int row);
  void MeasureNewFindings();
  void ForgetMeasuredWidths();
  // Writes what the scan shows into the controls: at once when no run is going on,
  // during a run at most every few tens of milliseconds.
  void FlushScanView(bool force);
  // The progress bar, the taskbar button and the status bar.
  void ShowScanProgress();
  // The list view's row count (scrolled to the last row when it grew) and the totals label.
  void ShowScanRows();
  void ScanViewChanged();

  // What the scan asked to show, and what the controls show.
  struct ScanView {
    int progressMaximum = 100;
    int progressPosition = 0;
    std::array<std::wstring, 2> status;
    std::size_t total = 0;
    std::size_t rows = 0;
  };

  const Platform& platform_;
  ConfigLocation config_;
  FindingsList findings_;
  ExclusionList exclusions_;
  std::vector<BackupFileRow> backups_;  // the rows of ListViewBackups
  FindingsSorter sorter_;
  Scanner scanner_;
  UniqueImageList pictures_;
  TaskbarProgress taskbar_;
  ScanView view_;
  ScanView shown_;
  // During a run the progress and status, and the rows, are not shown again before these.
  ULONGLONG nextProgressFlush_ = 0;
  ULONGLONG nextRowsFlush_ = 0;
  ULONGLONG lastPump_ = 0;
  std::array<int, 5> contentWidths_{};  // widest text of each column, in pixels
  std::size_t measuredRows_ = 0;        // the first rows, whose texts contentWidths_ holds
  FormWindow* updateWindow_ = nullptr;
  FormWindow* aboutWindow_ = nullptr;
  bool showMaximized_ = false;
  bool exclusionsUnread_ = false;  // the exclusion file could not be read at start
  LanguageMenuWindow languages_;
};

}  // namespace qm
