#include "win32/main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <exception>
#include <utility>

#include "app/main_settings.h"
#include "app/visual_theme.h"
#include "exclusions/exclusion_file.h"
#include "platform/error.h"
#include "platform/win32/win32_version_info.h"
#include "repair/backup.h"
#include "repair/repair.h"
#include "text/ini_file.h"
#include "text/text_ops.h"
#include "win32/clipboard.h"
#include "win32/message_loop.h"
#include "win32/page_pictures.h"
#include "win32/visual_style.h"

// <shellapi.h> brought back the macro; the file system seam's own name is meant.
#undef DeleteFile

namespace qm {

namespace {

constexpr wchar_t kFindingsList[] = L"ListViewQuillmere";
constexpr wchar_t kExclusionsList[] = L"ListViewExceptions";
constexpr wchar_t kBackupsList[] = L"ListViewBackups";
constexpr wchar_t kCategoryPanel[] = L"TabControlRegOption";
constexpr wchar_t kGeneralMenuButton[] = L"SpeedButton_GeneralMenu";
// Controls that a run disables, so that nothing changes what the scan reads.
constexpr std::array<const wchar_t*, 4> kLockedWhileScanning = {L"TabControlRegOption", L"TabControlRegistry",
                                                                L"TabControlPanel", L"SpeedButton_GeneralMenu"};
// Controls that a repair disables; the page buttons stay usable.
constexpr std::array<const wchar_t*, 4> kLockedWhileRepairing = {L"ButtonSearch", L"TabControlRegOption",
                                                                 L"TabControlRegistry", L"SpeedButton_GeneralMenu"};
constexpr std::array<const wchar_t*, 3> kPageButtons = {L"ButtonRegClean", L"ButtonExceptions", L"ButtonBackups"};
// During a run what the scan shows reaches the controls at most this often.
constexpr ULONGLONG kScanViewInterval = 40;
// Drawing the status bar and the progress, and growing the list view and scrolling to
// its last row, happen at once and cost tens of milliseconds where drawing is slow
// (under Wine, in a remote session, on a loaded machine). Each then waits this many
// times as long as its last update took, so that drawing takes at most about a
// thirteenth of the run; where drawing is quick they keep the pace above, and where it
// is very slow they still come a few times a second.
constexpr ULONGLONG kPauseFactor = 12;
constexpr ULONGLONG kLongestPause = 250;

// Runs show() and gives the time from now on before it may run again.
template <class Show>
ULONGLONG TimedPause(Show&& show) {
  const auto start = std::chrono::steady_clock::now();
  show();
  const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  return std::clamp(static_cast<ULONGLONG>(spent.count()) * kPauseFactor, kScanViewInterval, kLongestPause);
}

// During a run waiting messages are run at most this often: a look into the queue
// costs far more than testing one item (some 0.2 ms under Wine), and a Stop press
// still takes effect within this time and one item.
constexpr ULONGLONG kPumpInterval = 20;

// The selected row of a list view; -1 when none is.
int SelectedRow(HWND list) { return ListView_GetNextItem(list, -1, LVNI_SELECTED); }

// A file time as the local time of that moment; the zero date when it cannot be converted.
LocalTime LocalFileTime(std::uint64_t ticks) {
  const FILETIME utc{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  FILETIME local;
  SYSTEMTIME time;
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &time)) return {1899, 12, 30};
  return {time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond};
}

}  // namespace

TForm1::TForm1(const Platform& platform, std::span<const ScanCategory> categories)
    : FormWindow(MainFormDesign()),
      platform_(platform),
      sorter_(platform.locale),
      scanner_(platform, *this, findings_, exclusions_, categories),
      languages_({platform.files, platform.locale, ProgramFolder(platform.shell), [this] { return PortablePath(); },
                  [] { qm::ProcessMessages(); }}) {}

TForm1::~TForm1() = default;

void TForm1::Create() {
  CreateForm(nullptr, false);
  pictures_ = CreatePagePictures(Dpi());
  ListView_SetCallbackMask(FindingsView(), LVIS_STATEIMAGEMASK);
  FormCreate();
}

void TForm1::Show() { ShowWindow(Handle(), showMaximized_ ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL); }

void TForm1::SetSecondaryWindows(FormWindow* updateWindow, FormWindow* aboutWindow) {
  updateWindow_ = updateWindow;
  aboutWindow_ = aboutWindow;
}

void TForm1::StartLanguages() {
  std::vector<FormWindow*> windows{this};
  for (FormWindow* window : {updateWindow_, aboutWindow_}) {
    if (window) windows.push_back(window);
  }
  languages_.SetWindows(std::move(windows));
  languages_.Start();
}

bool TForm1::IsWindows10Or11() {
  // The plain version query answers with an older Windows to programs whose manifest
  // does not name the newer one; the kernel's own query tells the truth.
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto rtlGetVersion = reinterpret_cast<RtlGetVersionFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  OSVERSIONINFOW version{sizeof(version)};
  if (!rtlGetVersion || rtlGetVersion(&version) != 0) return false;
  return version.dwMajorVersion == 10 && version.dwBuildNumber >= 10240;
}

std::wstring TForm1::PortablePath() { return qm::PortablePath(platform_.files, platform_.shell, config_); }

DWORD TForm1::ExtraStyle(const Component& component) const {
  if (component.name == kFindingsList) return LVS_OWNERDATA;  // the list view mirrors FindingsList
  if (component.name == kBackupsList) return LVS_SHAREIMAGELISTS;  // the system's lists stay the system's
  return 0;
}

// --- creation and closing

void TForm1::FormCreate() {
  const std::wstring program = platform_.shell.ProgramFilePath();
  config_.portableMode = DetectPortableMode(platform_.files, platform_.shell);
  config_.companyName = ReadCompanyName(program);
  const wchar_t* bits = sizeof(void*) == 8 ? L"(64-bit)" : L"(32-bit)";
  Model().SetCaption(Model().Caption() + L" " + ReadFileVersion(program) + L" " + bits +
                     (config_.portableMode ? L" Portable" : L""));

  SHFILEINFOW info{};
  const auto systemList = [&](UINT size) {
    return reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | size));
  };
  HWND backups = Control(kBackupsList);
  if (HIMAGELIST large = systemList(SHGFI_LARGEICON)) ListView_SetImageList(backups, large, LVSIL_NORMAL);
  if (HIMAGELIST small = systemList(SHGFI_SMALLICON)) ListView_SetImageList(backups, small, LVSIL_SMALL);
  qm::ProcessMessages();

  platform_.files.CreateFolders(ProgramFolder(platform_.shell) + L"backup");
  qm::ProcessMessages();

  // A file that cannot be read is said once the window is complete, and does not keep
  // the other from loading: the exclusion list is written back at close, and an empty
  // one would replace the stored rows.
  std::exception_ptr firstError;
  const auto load = [&firstError](auto step) {
    try {
      step();
    } catch (...) {
      if (!firstError) firstError = std::current_exception();
    }
  };
  load([this] { LoadNastr(); });
  exclusionsUnread_ = true;
  load([this] {
    LoadExclusionReg();
    exclusionsUnread_ = false;
  });
  qm::ProcessMessages();
  ShowPage(L"TabSheetRegistry");
  if (firstError) std::rethrow_exception(firstError);
}

void TForm1::OnClose() { FormClose(); }

void TForm1::FormClose() {
  if (scanner_.State() == RunState::Running) scanner_.ToggleSearch();  // the run ends at its next item
  SaveExclusionReg();
  SaveNastr();
}

// --- settings

std::vector<std::wstring> TForm1::CategoryNames() const {
  std::vector<std::wstring> names;
  for (const Component* child : Model().Children(kCategoryPanel)) {
    if (child->kind == ComponentKind::CheckBox) names.push_back(child->name);
  }
  return names;
}

std::vector<std::wstring> TForm1::ThemeItemNames() const {
  std::vector<std::wstring> names;
  for (const Component* item : Model().Children(L"ThemeMenu")) names.push_back(item->name);
  return names;
}

void TForm1::LoadNastr() {
  RECT outer;
  GetWindowRect(Handle(), &outer);
  const IniFile file = IniFile::Load(platform_.files, platform_.locale, PortablePath());
  const MainWindowSettings settings = ReadMainWindowSettings(file, ThemeItemNames(), CategoryNames(),
                                                             outer.bottom - outer.top, outer.right - outer.left);
  // The items form one radio group: of several marked items the last one wins.
  UnCheckTheme();
  if (const std::optional<std::wstring> theme = ThemeItemToRestore(settings.themeItems)) Click(*theme);
  for (const NamedFlag& category : settings.categories) SetChecked(category.name, category.value);
  showMaximized_ = settings.maximized;
  if (!settings.maximized) {
    const FormDesign& design = Model().Design();
    CentreWithOuterSize({std::max(settings.width, Scale(design.minWidth)), std::max(settings.height, Scale(design.minHeight))});
  }
}

void TForm1::SaveNastr() {
  IniFile file = IniFile::Load(platform_.files, platform_.locale, PortablePath());
  MainWindowSettings settings;
  for (const std::wstring& item : ThemeItemNames()) settings.themeItems.push_back({item, IsMenuChecked(item)});
  for (const std::wstring& category : CategoryNames()) settings.categories.push_back({category, IsChecked(category)});
  WINDOWPLACEMENT placement{sizeof(placement)};
  GetWindowPlacement(Handle(), &placement);
  settings.maximized = placement.showCmd == SW_SHOWMAXIMIZED || (IsWindowVisible(Handle()) && IsZoomed(Handle()));
  const RECT& normal = placement.rcNormalPosition;  // also right for a minimized window
  settings.height = normal.bottom - normal.top;
  settings.width = normal.right - normal.left;
  WriteMainWindowSettings(file, settings);
  file.Save();
}

// --- commands

void TForm1::OnClick(const Component& component) {
  using Handler = void (TForm1::*)();
  static const std::pair<std::wstring_view, Handler> handlers[] = {
      {L"ButtonSearch", &TForm1::ButtonSearchClick},
      {L"ButtonRegClean", &TForm1::ButtonRegCleanClick},
      {L"ButtonExceptions", &TForm1::ButtonExceptionsClick},
      {L"ButtonBackups", &TForm1::ButtonBackupsClick},
      {L"SpeedButton_GeneralMenu", &TForm1::SpeedButton_GeneralMenuClick},
      {L"CheckUpdateMenu", &TForm1::CheckUpdateMenuClick},
      {L"AboutMenu", &TForm1::AboutMenuClick},
      {kThemeAuto, &TForm1::ThemeAutoClick},
      {kThemeLight, &TForm1::ThemeLightClick},
      {kThemeDark, &TForm1::ThemeDarkClick},
      {L"SelectAllMenu", &TForm1::SelectAllMenuClick},
      {L"ExcludeAllMenu", &TForm1::ExcludeAllMenuClick},
      {L"ClearListMenu", &TForm1::ClearListMenuClick},
      {L"CopyKeyMenu", &TForm1::CopyKeyMenuClick},
      {L"OptionSelectAllMenu", &TForm1::OptionSelectAllMenuClick},
      {L"OptionExcludeAllMenu", &TForm1::OptionExcludeAllMenuClick},
      {L"OptionSaveMenu", &TForm1::OptionSaveMenuClick},
      {L"ButtonFix", &TForm1::ButtonFixClick},
      {L"AddKeyMenu", &TForm1::AddKeyMenuClick},
      {L"AddParameterMenu", &TForm1::AddParameterMenuClick},
      {L"SaveExceptionsMenu", &TForm1::SaveExceptionsMenuClick},
      {L"DeletaExceptionsMenu", &TForm1::DeletaExceptionsMenuClick},
      {L"DeleteAllExceptionsMenu", &TForm1::DeleteAllExceptionsMenuClick},
      {L"BackupsUpdateMenu", &TForm1::BackupsUpdateMenuClick},
      {L"BackupsRestoreMenu", &TForm1::BackupsRestoreMenuClick},
      {L"BackupsDelMenu", &TForm1::BackupsDelMenuClick},
      {L"BackupsDelAllMenu", &TForm1::BackupsDelAllMenuClick},
  };
  for (const auto& [name, handler] : handlers) {
    if (name == component.name) {
      (this->*handler)();
      return;
    }
  }
}

void TForm1::ButtonSearchClick() { scanner_.ToggleSearch(); }

void TForm1::SelectPage(std::wstring_view page, std::wstring_view button) {
  ShowPage(page);
  for (const wchar_t* pageButton : kPageButtons) SetBold(pageButton, pageButton == button);
}

void TForm1::ButtonRegCleanClick() { SelectPage(L"TabSheetRegistry", L"ButtonRegClean"); }

void TForm1::ButtonExceptionsClick() {
  SelectPage(L"TabSheetExceptions", L"ButtonExceptions");
  FitListColumns(kExclusionsList);
}

void TForm1::ButtonBackupsClick() {
  SelectPage(L"TabSheetBackups", L"ButtonBackups");
  TabSheetBackupsShow();
}

void TForm1::FitListColumns(std::wstring_view name) {
  HWND list = Control(name);
  const auto& columns = Model().Get(name).columns;
  for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
    ListView_SetColumnWidth(list, i, LVSCW_AUTOSIZE_USEHEADER);
    const ListColumn& column = columns[static_cast<std::size_t>(i)];
    int width = std::max(ListView_GetColumnWidth(list, i), Scale(column.minWidth));
    if (column.maxWidth > 0) width = std::min(width, Scale(column.maxWidth));
    ListView_SetColumnWidth(list, i, width);
  }
}

void TForm1::SpeedButton_GeneralMenuClick() {
  HWND button = Control(kGeneralMenuButton);
  if (IsDown(kGeneralMenuButton)) {
    SetDown(kGeneralMenuButton, false);
    EndMenu();
    qm::ProcessMessages();
    return;
  }
  SetDown(kGeneralMenuButton, true);
  qm::ProcessMessages();
  RECT place;
  GetWindowRect(button, &place);
  PopupMenuAt(L"PopupMenu_General", {place.right, place.bottom}, TPM_RIGHTALIGN | TPM_TOPALIGN);
  // A click on the button itself closed the menu: that was the click that puts it up.
  POINT cursor;
  GetCursorPos(&cursor);
  if (WindowFromPoint(cursor) == button && (GetAsyncKeyState(VK_LBUTTON) & 0x8000)) SetDown(kGeneralMenuButton, false);
}

void TForm1::WMMouseMove() {
  if (IsDown(kGeneralMenuButton)) SetDown(kGeneralMenuButton, false);
}

void TForm1::CheckUpdateMenuClick() {
  SetDown(kGeneralMenuButton, false);
  if (updateWindow_) updateWindow_->ShowModal(Handle());
}

void TForm1::AboutMenuClick() {
  SetDown(kGeneralMenuButton, false);
  if (aboutWindow_) aboutWindow_->ShowModal(Handle());
}

// --- the visual theme

void TForm1::UnCheckTheme() {
  for (const std::wstring& item : ThemeItemNames()) SetMenuChecked(item, false);
}

void TForm1::ChooseTheme(std::wstring_view item) {
  SetDown(kGeneralMenuButton, false);
  UnCheckTheme();
  SetMenuChecked(item, true);
  const bool systemDark = item == kThemeAuto && SystemAppsUseDarkTheme(platform_.registry);
  ApplyStyle(StyleOfThemeItem(item, systemDark));
  qm::ProcessMessages();
}

void TForm1::ThemeAutoClick() { ChooseTheme(kThemeAuto); }

void TForm1::ThemeLightClick() { ChooseTheme(kThemeLight); }

void TForm1::ThemeDarkClick() { ChooseTheme(kThemeDark); }

void TForm1::WMWinIniChange() {
  const IniFile file = IniFile::Load(platform_.files, platform_.locale, PortablePath());
  if (const std::optional<std::wstring> style = StyleOnSettingsChange(file, SystemAppsUseDarkTheme(platform_.registry))) {
    ApplyStyle(*style);
    qm::ProcessMessages();
  }
}

void TForm1::CheckAll(bool checked) {
  for (std::size_t row = 0; row < findings_.Size(); ++row) findings_.SetChecked(row, checked);
  InvalidateRect(FindingsView(), nullptr, FALSE);
  qm::ProcessMessages();
}

void TForm1::SelectAllMenuClick() {
  CheckAll(true);
  SetFixEnabled(true);
}

void TForm1::ExcludeAllMenuClick() {
  CheckAll(false);
  SetFixEnabled(false);
}

void TForm1::CheckAll1(bool checked) {
  for (const std::wstring& category : CategoryNames()) SetChecked(category, checked);
  qm::ProcessMessages();
}

void TForm1::OptionSelectAllMenuClick() {
  CheckAll1(true);
  SaveNastr();
  qm::ProcessMessages();
}

void TForm1::OptionExcludeAllMenuClick() {
  CheckAll1(false);
  SaveNastr();
  qm::ProcessMessages();
}

void TForm1::OptionSaveMenuClick() {
  SaveNastr();
  qm::ProcessMessages();
}

void TForm1::ClearListMenuClick() {
  findings_.Clear();
  FindingsCleared();
  SetFixEnabled(false);
  ShowTotal(0);
}

void TForm1::CopyKeyMenuClick() {
  const int row = SelectedRow(FindingsView());
  if (row < 0 || static_cast<std::size_t>(row) >= findings_.Size()) return;
  PutTextOnClipboard(Handle(), findings_[static_cast<std::size_t>(row)].keyPath);
}

void TForm1::ListViewQuillmereColumnClick(int column) {
  sorter_.SortBy(findings_, static_cast<FindingColumn>(column));
  // Rows are identified by position, so a selection would now point at another row.
  ListView_SetItemState(FindingsView(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  InvalidateRect(FindingsView(), nullptr, FALSE);
}

// --- the repair

void TForm1::LockForRepair(bool locked) {
  for (const wchar_t* control : kLockedWhileRepairing) SetEnabled(control, !locked);
}

void TForm1::ButtonFixClick() {
  SetFixEnabled(false);  // the list is empty after a repair, or a scan enables it again
  LockForRepair(true);
  try {
    Repair(platform_, *this, findings_, BackupFolder(platform_.shell));
  } catch (...) {
    LockForRepair(false);
    throw;  // shown by the window's error presenter
  }
  LockForRepair(false);
}

void TForm1::ShowFinding(std::size_t index) { ListView_EnsureVisible(FindingsView(), static_cast<int>(index), TRUE); }

void TForm1::FindingRemoved(std::size_t) {
  // Rows are identified by position, so a selection would now point at another row.
  ListView_SetItemState(FindingsView(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  ScanViewChanged();
}

std::wstring TForm1::ReadyText() { return Model().Text(L"LangReady"); }

// --- the exclusion list

void TForm1::LoadExclusionReg() {
  const IniFile file = IniFile::Load(platform_.files, platform_.locale,
                                     PortablePathExclusionReg(platform_.files, platform_.shell, config_));
  ExclusionList stored;
  AppendExclusions(file, stored);
  for (const Exclusion& row : stored.Rows()) AddExl(row.text, row.description, row.checked);
}

void TForm1::SaveExclusionReg() {
  IniFile file = IniFile::Load(platform_.files, platform_.locale,
                               PortablePathExclusionReg(platform_.files, platform_.shell, config_));
  if (!exclusionsUnread_) {
    WriteExclusions(file, exclusions_);
  } else {
    // The file could not be read at start, so the list holds only this run's rows: they
    // go after the stored ones instead of over them.
    ExclusionList rows;
    AppendExclusions(file, rows);
    for (const Exclusion& row : exclusions_.Rows()) rows.Add(row);
    WriteExclusions(file, rows);
  }
  file.Save();
}

void TForm1::AddExl(const std::wstring& path, const std::wstring& description, bool checked) {
  HWND list = Control(kExclusionsList);
  const int row = static_cast<int>(exclusions_.Size());
  exclusions_.Add({path, description, checked});  // first, so that the list view's notifications find the row
  std::wstring text = path;
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.pszText = text.data();
  ListView_InsertItem(list, &item);
  text = description;
  ListView_SetItemText(list, row, 1, text.data());
  ListView_SetCheckState(list, row, checked);
}

void TForm1::ExclusionCheckChanged(const NMLISTVIEW& change) {
  if (!(change.uChanged & LVIF_STATE) || !((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK)) return;
  if (change.iItem < 0 || static_cast<std::size_t>(change.iItem) >= exclusions_.Size()) return;
  exclusions_.SetChecked(static_cast<std::size_t>(change.iItem),
                         (change.uNewState & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2));
}

void TForm1::AddExclusionFromFinding(FindingColumn column) {
  const int row = SelectedRow(FindingsView());
  if (row < 0 || static_cast<std::size_t>(row) >= findings_.Size()) return;
  const auto index = static_cast<std::size_t>(row);
  AddExl(ColumnText(findings_[index], column), ColumnText(findings_[index], FindingColumn::Category), true);
  qm::ProcessMessages();
  findings_.Remove(index);
  FindingRemoved(index);
  qm::ProcessMessages();
  SetStatusText(StatusPanel::Category, Model().Text(L"LangTotal") + std::to_wstring(findings_.Size()));
  ShowTotal(findings_.Size());
}

void TForm1::AddKeyMenuClick() { AddExclusionFromFinding(FindingColumn::KeyPath); }

void TForm1::AddParameterMenuClick() { AddExclusionFromFinding(FindingColumn::ValueName); }

void TForm1::SaveExceptionsMenuClick() { SaveNastr(); }

void TForm1::DeletaExceptionsMenuClick() {
  const int row = SelectedRow(Control(kExclusionsList));
  if (row < 0 || static_cast<std::size_t>(row) >= exclusions_.Size()) return;
  ListView_DeleteItem(Control(kExclusionsList), row);
  exclusions_.Remove(static_cast<std::size_t>(row));
}

void TForm1::DeleteAllExceptionsMenuClick() {
  if (SelectedRow(Control(kExclusionsList)) < 0) return;
  ListView_DeleteAllItems(Control(kExclusionsList));
  exclusions_.Clear();
}

// --- the backups page

bool TForm1::FindFileCopy(const std::wstring& dir) {
  ListView_DeleteAllItems(Control(kBackupsList));
  backups_.clear();
  qm::ProcessMessages();
  for (const BackupFileRow& file : ListBackupFiles(platform_.files, dir)) {
    AddBackupRow(file);
    qm::ProcessMessages();
  }
  FitListColumns(kBackupsList);
  return !backups_.empty();
}

void TForm1::AddBackupRow(const BackupFileRow& file) {
  HWND list = Control(kBackupsList);
  SHFILEINFOW info{};
  SHGetFileInfoW(file.fullPath.c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  backups_.push_back(file);
  const int row = static_cast<int>(backups_.size()) - 1;
  std::wstring text = file.name;
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = row;
  item.iImage = info.iIcon;
  item.pszText = text.data();
  ListView_InsertItem(list, &item);
  ListView_EnsureVisible(list, row, TRUE);
  text = FormatFileSize(static_cast<std::int64_t>(file.size));
  ListView_SetItemText(list, row, 1, text.data());
  text = BackupDateText(LocalFileTime(file.lastWriteTime));
  ListView_SetItemText(list, row, 2, text.data());
}

void TForm1::TabSheetBackupsShow() { FindFileCopy(BackupFolder(platform_.shell)); }

void TForm1::BackupsUpdateMenuClick() { TabSheetBackupsShow(); }

void TForm1::BackupsRestoreMenuClick() {
  const int row = SelectedRow(Control(kBackupsList));
  if (row < 0 || static_cast<std::size_t>(row) >= backups_.size()) return;
  RestoreBackup(platform_.shell, backups_[static_cast<std::size_t>(row)].fullPath);
  qm::ProcessMessages();
}

void TForm1::DeleteFileSelected() {
  const int row = SelectedRow(Control(kBackupsList));
  if (row < 0 || static_cast<std::size_t>(row) >= backups_.size()) return;
  platform_.files.DeleteFile(backups_[static_cast<std::size_t>(row)].fullPath);
  qm::ProcessMessages();
}

void TForm1::BackupsDelMenuClick() {
  if (SelectedRow(Control(kBackupsList)) < 0) return;
  DeleteFileSelected();
  TabSheetBackupsShow();
}

void TForm1::DeleteAll() {
  HWND list = Control(kBackupsList);
  while (!backups_.empty()) {
    ListView_EnsureVisible(list, 0, TRUE);
    platform_.files.DeleteFile(backups_.front().fullPath);
    ListView_DeleteItem(list, 0);
    backups_.erase(backups_.begin());
    qm::ProcessMessages();
  }
}

void TForm1::BackupsDelAllMenuClick() {
  if (SelectedRow(Control(kBackupsList)) < 0) return;
  DeleteAll();
  TabSheetBackupsShow();
}

// --- the findings list view

HWND TForm1::FindingsView() const { return Control(kFindingsList); }

void TForm1::ShowFindingText(NMLVDISPINFOW& request) const {
  LVITEMW& item = request.item;
  if (item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= findings_.Size()) {
    if (item.mask & LVIF_TEXT && item.cchTextMax > 0) item.pszText[0] = L'\0';
    return;
  }
  const Finding& finding = findings_[static_cast<std::size_t>(item.iItem)];
  if ((item.mask & LVIF_TEXT) && item.cchTextMax > 0 && item.iSubItem < 5) {
    const std::wstring text = ColumnText(finding, static_cast<FindingColumn>(item.iSubItem));
    lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
  }
  if (item.mask & LVIF_STATE) {
    item.state = INDEXTOSTATEIMAGEMASK(finding.checked ? 2 : 1);
    item.stateMask = LVIS_STATEIMAGEMASK;
  }
}

void TForm1::ToggleFindingCheck(int row) {
  if (row < 0 || static_cast<std::size_t>(row) >= findings_.Size()) return;
  const auto index = static_cast<std::size_t>(row);
  findings_.SetChecked(index, !findings_[index].checked);
  ListView_RedrawItems(FindingsView(), row, row);
}

LRESULT TForm1::OnNotify(const Component& component, NMHDR& header) {
  if (component.name == kExclusionsList && header.code == LVN_ITEMCHANGED) {
    ExclusionCheckChanged(reinterpret_cast<NMLISTVIEW&>(header));
    return 0;
  }
  if (component.name != kFindingsList || header.hwndFrom != FindingsView()) return 0;
  switch (header.code) {
    case LVN_GETDISPINFOW:
      ShowFindingText(reinterpret_cast<NMLVDISPINFOW&>(header));
      return 0;
    case LVN_BEGINLABELEDITW:
      return TRUE;  // ListViewQuillmereEditing: no caption is edited in place
    case LVN_COLUMNCLICK:
      ListViewQuillmereColumnClick(reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
      return 0;
    case NM_CLICK:
    case NM_DBLCLK: {
      LVHITTESTINFO hit{};
      hit.pt = reinterpret_cast<NMITEMACTIVATE&>(header).ptAction;
      if (ListView_SubItemHitTest(FindingsView(), &hit) >= 0 && (hit.flags & LVHT_ONITEMSTATEICON)) {
        ToggleFindingCheck(hit.iItem);
      }
      return 0;
    }
    case LVN_KEYDOWN:
      if (reinterpret_cast<NMLVKEYDOWN&>(header).wVKey == VK_SPACE) {
        ToggleFindingCheck(ListView_GetNextItem(FindingsView(), -1, LVNI_FOCUSED));
      }
      return 0;
    default:
      return 0;
  }
}

// Rows are measured when the columns are next fitted, all with one device context:
// asking for a context and a font per row costs more than testing the row's item.
void TForm1::MeasureNewFindings() {
  if (measuredRows_ >= findings_.Size()) {
    measuredRows_ = findings_.Size();  // rows may have left the list
    return;
  }
  HWND list = FindingsView();
  WindowDc dc(list);
  SelectedObject font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
  for (; measuredRows_ < findings_.Size(); ++measuredRows_) {
    for (std::size_t column = 0; column < contentWidths_.size(); ++column) {
      const std::wstring text = ColumnText(findings_[measuredRows_], static_cast<FindingColumn>(column));
      SIZE extent{};
      GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
      contentWidths_[column] = std::max(contentWidths_[column], static_cast<int>(extent.cx));
    }
  }
}

void TForm1::ForgetMeasuredWidths() {
  contentWidths_.fill(0);
  measuredRows_ = 0;
}

void TForm1::FitColumns() {
  MeasureNewFindings();
  HWND list = FindingsView();
  HWND header = ListView_GetHeader(list);
  WindowDc dc(header);
  SelectedObject font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(header, WM_GETFONT, 0, 0)));
  int checkWidth = 0, checkHeight = 0;
  ImageList_GetIconSize(ListView_GetImageList(list, LVSIL_STATE), &checkWidth, &checkHeight);
  const auto& columns = Model().Get(kFindingsList).columns;
  for (std::size_t i = 0; i < columns.size() && i < contentWidths_.size(); ++i) {
    SIZE extent{};
    GetTextExtentPoint32W(dc.get(), columns[i].caption.c_str(), static_cast<int>(columns[i].caption.size()), &extent);
    const int headerWidth = extent.cx + Scale(16);
    const int contentWidth = contentWidths_[i] + Scale(14) + (i == 0 ? checkWidth + Scale(6) : 0);
    const int width = std::max({headerWidth, contentWidth, Scale(columns[i].minWidth)});
    // Each change redraws the list; during a run most columns keep their width.
    const int column = static_cast<int>(i);
    if (ListView_GetColumnWidth(list, column) != width) ListView_SetColumnWidth(list, column, width);
  }
}

void TForm1::OnDpiChanged() {
  pictures_ = CreatePagePictures(Dpi());
  ForgetMeasuredWidths();
}

LRESULT TForm1::OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MOUSEMOVE) {
    WMMouseMove();
    return 0;
  }
  if (message == WM_SETTINGCHANGE) {
    WMWinIniChange();
    return 0;
  }
  return FormWindow::OnOtherMessage(message, wParam, lParam);
}

// --- ScanHost: what a run shows

void TForm1::ScanViewChanged() { FlushScanView(scanner_.State() != RunState::Running); }

void TForm1::FlushScanView(bool force) {
  if (!force && GetTickCount64() < nextProgressFlush_) return;
  nextProgressFlush_ = GetTickCount64() + TimedPause([this] { ShowScanProgress(); });
  if (!force && GetTickCount64() < nextRowsFlush_) return;
  nextRowsFlush_ = GetTickCount64() + TimedPause([this] { ShowScanRows(); });
}

void TForm1::ShowScanProgress() {
  HWND progress = Control(L"ProgressBarQuillmere");
  if (shown_.progressMaximum != view_.progressMaximum) {
    SendMessageW(progress, PBM_SETRANGE32, 0, std::max(view_.progressMaximum, 0));
  }
  SendMessageW(progress, PBM_SETPOS, std::max(view_.progressPosition, 0), 0);
  taskbar_.Show(Handle(), view_.progressPosition, view_.progressMaximum);
  shown_.progressMaximum = view_.progressMaximum;
  shown_.progressPosition = view_.progressPosition;
  HWND status = Control(L"StatusBarQuillmere");
  for (std::size_t panel = 0; panel < view_.status.size(); ++panel) {
    if (shown_.status[panel] == view_.status[panel]) continue;
    std::wstring text = view_.status[panel];
    if (panel == 0 && !text.empty()) text.insert(0, L"\t\t");  // panel 0 is right-aligned
    SendMessageW(status, SB_SETTEXTW, panel, reinterpret_cast<LPARAM>(text.c_str()));
    shown_.status[panel] = view_.status[panel];
  }
}

void TForm1::ShowScanRows() {
  HWND list = FindingsView();
  view_.rows = findings_.Size();
  if (shown_.rows != view_.rows) {
    const bool grew = view_.rows > shown_.rows;
    ListView_SetItemCountEx(list, static_cast<int>(view_.rows), grew ? LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL : 0);
    if (grew) ListView_EnsureVisible(list, static_cast<int>(view_.rows) - 1, FALSE);
    shown_.rows = view_.rows;
  }
  if (shown_.total != view_.total || Model().Text(L"Label1").empty()) {
    Model().SetCaption(L"Label1", LabelWithNumber(Model().Text(L"LangTotal"), view_.total));
    shown_.total = view_.total;
  }
}

void TForm1::SetProgressMaximum(int maximum) {
  view_.progressMaximum = maximum;
  ScanViewChanged();
}

void TForm1::SetProgressPosition(int position) {
  view_.progressPosition = position;
  ScanViewChanged();
}

void TForm1::SetStatusText(StatusPanel panel, std::wstring_view text) {
  view_.status[static_cast<std::size_t>(panel)] = text;
  ScanViewChanged();
}

void TForm1::ShowTotal(std::size_t rowCount) {
  view_.total = rowCount;
  ScanViewChanged();
}

void TForm1::FindingsCleared() {
  ForgetMeasuredWidths();
  shown_.rows = static_cast<std::size_t>(-1);  // the list view must drop every row at the next flush
  ScanViewChanged();
}

void TForm1::FindingAdded(const FindingsList& findings, std::size_t) {
  view_.total = findings.Size();
  ScanViewChanged();
}

void TForm1::ProcessMessages() {
  FlushScanView(false);
  const ULONGLONG now = GetTickCount64();
  if (scanner_.State() == RunState::Running && now - lastPump_ < kPumpInterval) return;
  lastPump_ = now;
  qm::ProcessMessages();
}

bool TForm1::IsCategoryChecked(std::wstring_view checkBoxName) { return IsChecked(checkBoxName); }

std::wstring TForm1::CategoryCaption(std::wstring_view checkBoxName) { return Model().Text(checkBoxName); }

void TForm1::SetCategoryRunning(std::wstring_view checkBoxName, bool running) { SetBold(checkBoxName, running); }

void TForm1::SetFixEnabled(bool enabled) { SetEnabled(L"ButtonFix", enabled); }

void TForm1::SetMenusEnabled(bool enabled) {
  SetAutoPopup(L"PopupMenuList", enabled);
  SetAutoPopup(L"PopupMenuOption", enabled);
}

void TForm1::ShowRunning(bool running) {
  FlushScanView(true);
  Model().SetCaption(L"ButtonSearch", Model().Text(running ? L"LangStop" : L"LangSearch"));
  for (const wchar_t* control : kLockedWhileScanning) SetEnabled(control, !running);
}

void TForm1::ReportError(std::wstring_view message) {
  // Shown by the window's error presenter once the Search handler has returned.
  OnUncaughtError(std::make_exception_ptr(Error(std::wstring(message))));
}

}  // namespace qm
