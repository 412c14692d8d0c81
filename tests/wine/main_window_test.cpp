// The main window driven in this process: real controls, real registry (64-bit view),
// real files. Buttons are pressed with BM_CLICK, menu commands arrive as WM_COMMAND,
// shortcuts go through the window's keyboard handling, and messages are pumped as the
// program's loop does.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/settings_path.h"
#include "platform/error.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_version_info.h"
#include "repair/backup.h"
#include "repair/backup_files.h"
#include "scan/category_scan.h"
#include "scan/scan_categories.h"
#include "started_programs.h"
#include "win32/main_window.h"
#include "win32/message_loop.h"
#include "win32/windows_platform.h"
#include "wine_test_support.h"

namespace qm {
namespace {

constexpr wchar_t kSharedDllsKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr wchar_t kSharedDllsPath[] = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs\\";

// The Shared DLLs list of the test prefix, holding the given value names while it lives.
class SharedDllsFixture {
 public:
  explicit SharedDllsFixture(const std::vector<std::wstring>& names) {
    Remove();
    UniqueHkey key;
    EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSharedDllsKey, 0, nullptr, 0, KEY_WRITE | KEY_WOW64_64KEY,
                              nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
    const DWORD count = 1;
    for (const std::wstring& name : names) {
      RegSetValueExW(key.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), sizeof(count));
    }
  }
  ~SharedDllsFixture() { Remove(); }

 private:
  static void Remove() { RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kSharedDllsKey, KEY_WOW64_64KEY, 0); }
};

std::vector<std::wstring> MissingFiles(int count, std::wstring_view prefix = L"gone") {
  std::vector<std::wstring> names;
  for (int i = 0; i < count; ++i) names.push_back(L"C:\\qm-test\\" + std::wstring(prefix) + std::to_wstring(i) + L".dll");
  return names;
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::wstring ListText(HWND list, int row, int column) {
  wchar_t buffer[512] = {};
  ListView_GetItemText(list, row, column, buffer, 512);
  return buffer;
}

std::wstring StatusText(HWND statusBar, int panel) {
  wchar_t buffer[512] = {};
  SendMessageW(statusBar, SB_GETTEXTW, panel, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

std::wstring ClipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

void PutClipboardText(const wchar_t* text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  const std::size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  memcpy(GlobalLock(memory), text, bytes);
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
}

// Removes the WM_QUIT that closing the main window posts, so later tests keep a loop.
void DropQuitMessage() {
  MSG message;
  while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

class MainWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    testing::PrepareWindowTests();
  }

  void SetUp() override {
    DeleteFileW(SettingsPath().c_str());
    DeleteFileW(ExclusionPath().c_str());
  }

  void TearDown() override {
    window_.reset();
    DropQuitMessage();
  }

  std::wstring SettingsPath() {
    const ConfigLocation location{false, ReadCompanyName(shell_.ProgramFilePath())};
    return PortablePath(files_, shell_, location);
  }

  std::wstring ExclusionPath() {
    const ConfigLocation location{false, ReadCompanyName(shell_.ProgramFilePath())};
    return PortablePathExclusionReg(files_, shell_, location);
  }

  TForm1& OpenWindow(std::span<const ScanCategory> categories = ScanCategories()) {
    window_ = std::make_unique<TForm1>(windows_.Get(), categories);
    window_->Create();
    window_->SetErrorPresenter([this](const std::wstring& message) { shownErrors_.push_back(message); });
    window_->Show();
    ProcessMessages();
    return *window_;
  }

  HWND Control(std::wstring_view name) { return window_->Control(name); }
  std::wstring Caption(std::wstring_view name) { return WindowText(Control(name)); }

  void Press(std::wstring_view button) {
    SendMessageW(Control(button), BM_CLICK, 0, 0);
    ProcessMessages();
  }

  void Command(std::wstring_view menuItem) {
    SendMessageW(window_->Handle(), WM_COMMAND, MAKEWPARAM(window_->CommandId(menuItem), 0), 0);
    ProcessMessages();
  }

  // A key with Ctrl held, as the message loop hands it to the window with the focus on `target`.
  bool CtrlKey(HWND target, unsigned key) {
    SetFocus(target);
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    MSG message{target, WM_KEYDOWN, key, 0};
    const bool handled = window_->PreTranslateMessage(message);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    ProcessMessages();
    return handled;
  }

  void ScanSharedDlls() {
    window_->SetChecked(L"CheckBoxSharedDLLs", true);
    Press(L"ButtonSearch");
  }

  std::vector<std::wstring> ValueNamesOfRows() {
    std::vector<std::wstring> names;
    HWND list = Control(L"ListViewQuillmere");
    for (int row = 0; row < ListView_GetItemCount(list); ++row) names.push_back(ListText(list, row, 2));
    return names;
  }

  // The idle rows of the run-state table: the Search button reads "Поиск...", the four
  // locked controls are usable again, and the list's menus pop up.
  void ExpectIdle() {
    EXPECT_EQ(window_->ScanState(), RunState::Idle);
    EXPECT_EQ(Caption(L"ButtonSearch"), L"Поиск...");
    for (const wchar_t* control : {L"TabControlRegOption", L"TabControlRegistry", L"TabControlPanel",
                                   L"SpeedButton_GeneralMenu"}) {
      EXPECT_TRUE(IsWindowEnabled(Control(control))) << control;
    }
    EXPECT_TRUE(window_->AutoPopup(L"PopupMenuList"));
    EXPECT_TRUE(window_->AutoPopup(L"PopupMenuOption"));
  }

  WindowsPlatform windows_;
  Win32FileSystem& files_ = windows_.Files();
  Win32Shell& shell_ = windows_.Shell();
  std::unique_ptr<TForm1> window_;
  std::vector<std::wstring> shownErrors_;
};

TEST_F(MainWindowTest, SearchFillsTheListWithTheMissingSharedLibraries) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  SharedDllsFixture fixture({L"C:\\qm-test\\gone-a.dll", L"C:\\qm-test\\Gone-B.dll", L"%SystemRoot%\\x.dll",
                             L"C:\\Windows\\System32\\gone.dll", self});
  OpenWindow();
  ScanSharedDlls();

  HWND list = Control(L"ListViewQuillmere");
  ASSERT_EQ(ListView_GetItemCount(list), 2);
  EXPECT_EQ((std::set<std::wstring>{ListText(list, 0, 2), ListText(list, 1, 2)}),
            (std::set<std::wstring>{L"C:\\qm-test\\gone-a.dll", L"C:\\qm-test\\Gone-B.dll"}));
  for (int row = 0; row < 2; ++row) {
    EXPECT_EQ(ListText(list, row, 0), L"HKEY_LOCAL_MACHINE");
    EXPECT_EQ(ListText(list, row, 1), kSharedDllsPath);
    EXPECT_EQ(ListText(list, row, 3), L"");
    EXPECT_EQ(ListText(list, row, 4), L"Общие библиотеки");
    EXPECT_TRUE(window_->Findings()[static_cast<std::size_t>(row)].checked);
    EXPECT_EQ(window_->Findings()[static_cast<std::size_t>(row)].action, FindingAction::DeleteValue);
    // The check box of a virtual row comes from the model.
    EXPECT_EQ(ListView_GetItemState(list, row, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(2));
  }
  ExpectIdle();
  EXPECT_TRUE(IsWindowEnabled(Control(L"ButtonFix")));
  EXPECT_EQ(Caption(L"Label1"), L"Всего: 2");
  EXPECT_EQ(StatusText(Control(L"StatusBarQuillmere"), 0), L"");
  EXPECT_EQ(StatusText(Control(L"StatusBarQuillmere"), 1), L"");
  HWND progress = Control(L"ProgressBarQuillmere");
  EXPECT_EQ(SendMessageW(progress, PBM_GETPOS, 0, 0), SendMessageW(progress, PBM_GETRANGE, FALSE, 0));
  EXPECT_FALSE(window_->IsBold(L"CheckBoxSharedDLLs"));
  // Columns fit their contents but never go below their minimum widths.
  EXPECT_GE(ListView_GetColumnWidth(list, 0), window_->Scale(180));
  EXPECT_GT(ListView_GetColumnWidth(list, 2), window_->Scale(100));
  EXPECT_TRUE(shownErrors_.empty());
}

TEST_F(MainWindowTest, NoCategoryCheckedEmptiesTheListAndLeavesFixDisabled) {
  SharedDllsFixture fixture(MissingFiles(3));
  OpenWindow();
  ScanSharedDlls();
  window_->SetChecked(L"CheckBoxSharedDLLs", false);
  Press(L"ButtonSearch");
  EXPECT_EQ(ListView_GetItemCount(Control(L"ListViewQuillmere")), 0);
  EXPECT_EQ(Caption(L"Label1"), L"Всего: 0");
  EXPECT_FALSE(IsWindowEnabled(Control(L"ButtonFix")));
  ExpectIdle();
}

TEST_F(MainWindowTest, CheckedExclusionsOfTheExclusionFileSuppressFindings) {
  SharedDllsFixture fixture(MissingFiles(3));
  const ConfigLocation location{false, ReadCompanyName(shell_.ProgramFilePath())};
  const std::wstring exclusions = PortablePathExclusionReg(files_, shell_, location);
  {
    UniqueFile file(CreateFileW(exclusions.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    const char text[] = "[ExclusionReg]\r\nCount=2\r\nReg0=GONE1\r\nD0=\r\nCH0=1\r\nReg1=gone2\r\nD1=\r\nCH1=0\r\n";
    DWORD written = 0;
    WriteFile(file.get(), text, sizeof(text) - 1, &written, nullptr);
  }
  OpenWindow();
  ScanSharedDlls();
  DeleteFileW(exclusions.c_str());
  // gone1 is excluded (any letter case); the unchecked gone2 excludes nothing.
  const std::vector<std::wstring> rows = ValueNamesOfRows();
  EXPECT_EQ((std::set<std::wstring>(rows.begin(), rows.end())),
            (std::set<std::wstring>{L"C:\\qm-test\\gone0.dll", L"C:\\qm-test\\gone2.dll"}));
}

// What the window showed while the run was going, seen from inside the run.
struct RunningLook {
  std::wstring searchCaption;
  bool fixEnabled = true;
  bool panelsEnabled = true;
  bool listMenuPopsUp = true;
  bool categoryBold = false;
  std::size_t rowsAtStop = 0;
};

TForm1* g_window = nullptr;
RunningLook g_look;

void CALLBACK PressStopOnceRowsAppear(HWND, UINT, UINT_PTR timer, DWORD) {
  if (g_window->Findings().Size() < 5) return;
  KillTimer(nullptr, timer);
  g_look.searchCaption = WindowText(g_window->Control(L"ButtonSearch"));
  g_look.fixEnabled = IsWindowEnabled(g_window->Control(L"ButtonFix"));
  g_look.panelsEnabled = IsWindowEnabled(g_window->Control(L"TabControlRegOption")) ||
                         IsWindowEnabled(g_window->Control(L"TabControlRegistry")) ||
                         IsWindowEnabled(g_window->Control(L"TabControlPanel")) ||
                         IsWindowEnabled(g_window->Control(L"SpeedButton_GeneralMenu"));
  g_look.listMenuPopsUp = g_window->AutoPopup(L"PopupMenuList");
  g_look.categoryBold = g_window->IsBold(L"CheckBoxSharedDLLs");
  g_look.rowsAtStop = g_window->Findings().Size();
  SendMessageW(g_window->Control(L"ButtonSearch"), BM_CLICK, 0, 0);  // Stop
}

TEST_F(MainWindowTest, StopDuringALongCategoryKeepsTheRowsFoundSoFar) {
  constexpr int kNames = 5000;  // long enough that the timer fires while the category runs
  SharedDllsFixture fixture(MissingFiles(kNames));
  OpenWindow();
  window_->SetChecked(L"CheckBoxSharedDLLs", true);
  g_window = window_.get();
  g_look = {};
  SetTimer(nullptr, 0, 10, PressStopOnceRowsAppear);
  Press(L"ButtonSearch");

  // While running: "Стоп", Fix and the four controls disabled, no pop-up menus.
  EXPECT_EQ(g_look.searchCaption, L"Стоп");
  EXPECT_FALSE(g_look.fixEnabled);
  EXPECT_FALSE(g_look.panelsEnabled);
  EXPECT_FALSE(g_look.listMenuPopsUp);
  EXPECT_TRUE(g_look.categoryBold);
  // After the stop: the rows so far stay, no more were added after the stop took hold.
  const std::size_t rows = window_->Findings().Size();
  EXPECT_GE(rows, g_look.rowsAtStop);
  EXPECT_LE(rows, g_look.rowsAtStop + 1);
  EXPECT_LT(rows, static_cast<std::size_t>(kNames));
  EXPECT_EQ(ListView_GetItemCount(Control(L"ListViewQuillmere")), static_cast<int>(rows));
  EXPECT_EQ(Caption(L"Label1"), L"Всего: " + std::to_wstring(rows));
  EXPECT_TRUE(IsWindowEnabled(Control(L"ButtonFix")));
  ExpectIdle();
  HWND progress = Control(L"ProgressBarQuillmere");
  EXPECT_EQ(SendMessageW(progress, PBM_GETPOS, 0, 0), SendMessageW(progress, PBM_GETRANGE, FALSE, 0));

  // A new run after a stopped one scans again from the start.
  SharedDllsFixture shorter(MissingFiles(3, L"again"));
  Press(L"ButtonSearch");
  EXPECT_EQ(ValueNamesOfRows().size(), 3u);
  g_window = nullptr;
}

// What the window shows at moments of a run, seen from inside the run.
struct RunMoment {
  int listRows = 0;
  std::size_t foundRows = 0;
  std::wstring category;
  std::wstring item;
  LRESULT progress = 0;
};

std::vector<RunMoment> g_moments;

void CALLBACK NoteTheRunningLook(HWND, UINT, UINT_PTR, DWORD) {
  if (g_window->ScanState() != RunState::Running) return;
  HWND status = g_window->Control(L"StatusBarQuillmere");
  g_moments.push_back({ListView_GetItemCount(g_window->Control(L"ListViewQuillmere")), g_window->Findings().Size(),
                       StatusText(status, 0), StatusText(status, 1),
                       SendMessageW(g_window->Control(L"ProgressBarQuillmere"), PBM_GETPOS, 0, 0)});
}

TEST_F(MainWindowTest, WhileALongCategoryRunsRowsStatusAndProgressFollowIt) {
  constexpr int kNames = 30000;  // a run of a few seconds
  SharedDllsFixture fixture(MissingFiles(kNames));
  OpenWindow();
  g_window = window_.get();
  g_moments.clear();
  const UINT_PTR timer = SetTimer(nullptr, 0, 10, NoteTheRunningLook);
  ScanSharedDlls();
  KillTimer(nullptr, timer);
  g_window = nullptr;

  // The rows appear in the list while the category runs, never ahead of the findings.
  std::set<int> listCounts;
  std::set<LRESULT> positions;
  bool itemShown = false;
  for (const RunMoment& moment : g_moments) {
    EXPECT_LE(static_cast<std::size_t>(moment.listRows), moment.foundRows);
    if (moment.listRows > 0 && moment.listRows < kNames) listCounts.insert(moment.listRows);
    if (moment.progress > 0) positions.insert(moment.progress);
    itemShown = itemShown || (moment.category.find(L"Общие библиотеки") != std::wstring::npos &&
                              moment.item.starts_with(L"C:\\qm-test\\gone"));
  }
  EXPECT_GE(listCounts.size(), 2u);
  EXPECT_GE(positions.size(), 2u);
  EXPECT_TRUE(itemShown);
  // At the end everything is shown exactly.
  EXPECT_EQ(ListView_GetItemCount(Control(L"ListViewQuillmere")), kNames);
  EXPECT_EQ(Caption(L"Label1"), L"Всего: " + std::to_wstring(kNames));
  EXPECT_EQ(StatusText(Control(L"StatusBarQuillmere"), 1), L"");
}

void ThrowingCategory(CategoryScan&) { throw Error(L"Invalid data type for 'Path'"); }

TEST_F(MainWindowTest, AnErrorInACategoryEndsTheRunCleanlyAndShowsOnce) {
  SharedDllsFixture fixture(MissingFiles(3));
  const ScanCategory categories[] = {*FindScanCategory(L"CheckBoxSharedDLLs"),
                                     {L"CheckBoxFonts", L"Шрифты", &ThrowingCategory},
                                     *FindScanCategory(L"CheckBoxHelp")};
  OpenWindow(categories);
  window_->SetChecked(L"CheckBoxFonts", true);
  ScanSharedDlls();

  EXPECT_EQ(shownErrors_, std::vector<std::wstring>{L"Invalid data type for 'Path'"});
  EXPECT_EQ(window_->Findings().Size(), 3u);
  EXPECT_EQ(ListView_GetItemCount(Control(L"ListViewQuillmere")), 3);
  EXPECT_TRUE(IsWindowEnabled(Control(L"ButtonFix")));
  EXPECT_FALSE(window_->IsBold(L"CheckBoxFonts"));
  ExpectIdle();
  // The page works on: the next run goes through and fails the same way, shown once more.
  Press(L"ButtonSearch");
  EXPECT_EQ(shownErrors_.size(), 2u);
  ExpectIdle();
}

TEST_F(MainWindowTest, SelectExcludeAndClearSetTheFixButton) {
  SharedDllsFixture fixture(MissingFiles(3));
  OpenWindow();
  ScanSharedDlls();
  HWND list = Control(L"ListViewQuillmere");
  auto allChecked = [&](bool checked) {
    return std::all_of(window_->Findings().Rows().begin(), window_->Findings().Rows().end(),
                       [&](const Finding& f) { return f.checked == checked; });
  };

  Command(L"ExcludeAllMenu");  // "Исключить все"
  EXPECT_TRUE(allChecked(false));
  EXPECT_EQ(ListView_GetItemState(list, 1, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(1));
  EXPECT_FALSE(IsWindowEnabled(Control(L"ButtonFix")));

  Command(L"SelectAllMenu");  // "Выбрать все"
  EXPECT_TRUE(allChecked(true));
  EXPECT_TRUE(IsWindowEnabled(Control(L"ButtonFix")));

  // The same commands by their shortcuts, with the focus in the list.
  EXPECT_TRUE(CtrlKey(list, 'E'));
  EXPECT_TRUE(allChecked(false));
  EXPECT_FALSE(IsWindowEnabled(Control(L"ButtonFix")));
  EXPECT_TRUE(CtrlKey(list, 'A'));
  EXPECT_TRUE(allChecked(true));
  EXPECT_TRUE(IsWindowEnabled(Control(L"ButtonFix")));

  Command(L"ClearListMenu");  // "Очистить список"
  EXPECT_EQ(ListView_GetItemCount(list), 0);
  EXPECT_TRUE(window_->Findings().Empty());
  EXPECT_FALSE(IsWindowEnabled(Control(L"ButtonFix")));
  EXPECT_EQ(Caption(L"Label1"), L"Всего: 0");

  Command(L"SelectAllMenu");  // enables Fix even on an empty list
  EXPECT_TRUE(IsWindowEnabled(Control(L"ButtonFix")));
}

TEST_F(MainWindowTest, CtrlAInTheCategoryPanelChecksEveryCategoryAndSaves) {
  OpenWindow();
  EXPECT_TRUE(CtrlKey(Control(L"CheckBoxFonts"), 'A'));
  for (const Component* child : window_->Model().Children(L"TabControlRegOption")) {
    if (child->kind == ComponentKind::CheckBox) {
      EXPECT_TRUE(window_->IsChecked(child->name)) << child->name;
    }
  }
  EXPECT_NE(GetFileAttributesW(SettingsPath().c_str()), INVALID_FILE_ATTRIBUTES);  // saved
  // Ctrl+E there is "Исключить все" of the panel's menu, not of the list's.
  EXPECT_TRUE(CtrlKey(Control(L"CheckBoxFonts"), 'E'));
  EXPECT_FALSE(window_->IsChecked(L"CheckBoxFonts"));
  EXPECT_FALSE(window_->IsChecked(L"CheckBoxClassKom"));
}

TEST_F(MainWindowTest, TwoClicksOnAColumnSortDescendingThenAscending) {
  SharedDllsFixture fixture({L"C:\\qm-test\\b.dll", L"C:\\qm-test\\_c.dll", L"C:\\qm-test\\A.dll"});
  OpenWindow();
  ShowWindow(window_->Handle(), SW_MAXIMIZE);  // wide enough to show the third column's header
  ScanSharedDlls();
  HWND header = ListView_GetHeader(Control(L"ListViewQuillmere"));
  auto clickColumn = [&](int column) {
    RECT place;
    Header_GetItemRect(header, column, &place);
    RECT visible;
    GetClientRect(Control(L"ListViewQuillmere"), &visible);
    ASSERT_LT(place.left + 10, visible.right);
    const LPARAM point = MAKELPARAM((place.left + place.right) / 2, (place.top + place.bottom) / 2);
    PostMessageW(header, WM_MOUSEMOVE, 0, point);
    PostMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(header, WM_LBUTTONUP, 0, point);
    ProcessMessages();
  };
  // Upper-cased code units: '_' (95) sorts after 'B' (66) and 'A'.
  clickColumn(2);
  EXPECT_EQ(ValueNamesOfRows(),
            (std::vector<std::wstring>{L"C:\\qm-test\\_c.dll", L"C:\\qm-test\\b.dll", L"C:\\qm-test\\A.dll"}));
  clickColumn(2);
  EXPECT_EQ(ValueNamesOfRows(),
            (std::vector<std::wstring>{L"C:\\qm-test\\A.dll", L"C:\\qm-test\\b.dll", L"C:\\qm-test\\_c.dll"}));
}

TEST_F(MainWindowTest, CopyKeyPutsTheSelectedRowsKeyPathOnTheClipboard) {
  SharedDllsFixture fixture(MissingFiles(2));
  OpenWindow();
  ScanSharedDlls();
  PutClipboardText(L"before");
  Command(L"CopyKeyMenu");  // no row selected: nothing happens
  EXPECT_EQ(ClipboardText(), L"before");

  ListView_SetItemState(Control(L"ListViewQuillmere"), 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  Command(L"CopyKeyMenu");  // "Копировать ключ реестра"
  EXPECT_EQ(ClipboardText(), kSharedDllsPath);
}

// A pop-up menu that opened, seen from inside its modal loop, which this then ends.
std::vector<std::wstring> g_openedMenu;

void CALLBACK ReadAndCloseOpenMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND menuWindow = FindWindowW(L"#32768", nullptr);
  if (!menuWindow || !IsWindowVisible(menuWindow)) return;
  KillTimer(nullptr, timer);
  HMENU menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, 0x01E1 /* MN_GETHMENU */, 0, 0));
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
    g_openedMenu.push_back(text);
  }
  EndMenu();
}

TEST_F(MainWindowTest, RightClicksOpenTheMenusOfTheListAndTheCategoryPanel) {
  SharedDllsFixture fixture(MissingFiles(2));
  OpenWindow();
  ScanSharedDlls();
  auto rightClick = [&](HWND control) {
    g_openedMenu.clear();
    SetTimer(nullptr, 0, 50, ReadAndCloseOpenMenu);
    RECT place;
    GetClientRect(control, &place);
    const LPARAM point = MAKELPARAM(place.right / 2, place.bottom / 2);
    PostMessageW(control, WM_RBUTTONDOWN, MK_RBUTTON, point);
    PostMessageW(control, WM_RBUTTONUP, 0, point);
    for (int i = 0; i < 50 && g_openedMenu.empty(); ++i) {
      ProcessMessages();
      Sleep(20);
    }
    return g_openedMenu;
  };
  EXPECT_EQ(rightClick(Control(L"ListViewQuillmere")),
            (std::vector<std::wstring>{L"&Добавить ключ в исключения", L"Добавить &параметр в исключения", L"",
                                       L"&Копировать ключ реестра", L"", L"&Выбрать все\tCtrl+A",
                                       L"&Исключить все\tCtrl+E", L"", L"&Очистить список\tShift+Del"}));
  EXPECT_EQ(rightClick(Control(L"CheckBoxFonts")),
            (std::vector<std::wstring>{L"&Выбрать все\tCtrl+A", L"&Исключить все\tCtrl+E", L"",
                                       L"&Сохранить\tCtrl+S"}));
  // While a run goes on the menus do not pop up.
  window_->SetAutoPopup(L"PopupMenuList", false);
  EXPECT_TRUE(rightClick(Control(L"ListViewQuillmere")).empty());
}

std::vector<std::wstring> FileLines(const std::wstring& path) {
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return {};
  std::string bytes(64 * 1024, '\0');
  DWORD read = 0;
  ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  bytes.resize(read);
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.emplace_back(bytes.begin() + static_cast<std::ptrdiff_t>(start), bytes.begin() + static_cast<std::ptrdiff_t>(end));
  }
  return lines;
}

TEST_F(MainWindowTest, ClosingWritesEverySettingInItsOrderAndTheNextStartReadsThem) {
  TForm1& window = OpenWindow();
  window.SetChecked(L"CheckBoxSharedDLLs", true);
  window.SetChecked(L"CheckBoxClassKom", true);
  RECT outer;
  GetWindowRect(window.Handle(), &outer);
  SendMessageW(window.Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(window.Handle()));

  std::vector<std::wstring> expected = {L"[Option]", L"ThemeAuto=0", L"ThemeLight=0", L"ThemeDark=0"};
  for (const wchar_t* category :
       {L"CheckBoxApplicationPaths", L"CheckBoxSharedDLLs", L"CheckBoxFonts", L"CheckBoxHelp", L"CheckBoxKnownDLLs",
        L"CheckBoxCodec", L"CheckBoxLoadUninstall", L"CheckBoxInstall", L"CheckBoxServices", L"CheckBoxDriver",
        L"CheckBoxFileExts", L"CheckBoxHKLMSOFTWARE", L"CheckBoxSound", L"CheckBoxShellExtensions",
        L"CheckBoxFirewallPolicy", L"CheckBoxMUI", L"CheckBoxClassKom"}) {
    const bool on = std::wstring_view(category) == L"CheckBoxSharedDLLs" || std::wstring_view(category) == L"CheckBoxClassKom";
    expected.push_back(std::wstring(category) + (on ? L"=1" : L"=0"));
  }
  expected.push_back(L"Window=wsNormal");
  expected.push_back(L"Height=" + std::to_wstring(outer.bottom - outer.top));
  expected.push_back(L"Width=" + std::to_wstring(outer.right - outer.left));
  expected.push_back(L"");
  EXPECT_EQ(FileLines(SettingsPath()), expected);
  DropQuitMessage();

  TForm1& again = OpenWindow();
  EXPECT_TRUE(again.IsChecked(L"CheckBoxSharedDLLs"));
  EXPECT_TRUE(again.IsChecked(L"CheckBoxClassKom"));
  EXPECT_FALSE(again.IsChecked(L"CheckBoxFonts"));
  RECT reopened;
  GetWindowRect(again.Handle(), &reopened);
  EXPECT_EQ(reopened.bottom - reopened.top, outer.bottom - outer.top);
}

TEST_F(MainWindowTest, StoredMaximizedStateWinsOverStoredSizeAndTheDarkThemeWinsOverLight) {
  {
    UniqueFile file(CreateFileW(SettingsPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    const char text[] = "[Option]\r\nThemeLight=1\r\nThemeDark=1\r\nCheckBoxFonts=2\r\nCheckBoxHelp=yes\r\n"
                        "Window=wsMaximized\r\nHeight=300\r\nWidth=300\r\n";
    DWORD written = 0;
    WriteFile(file.get(), text, sizeof(text) - 1, &written, nullptr);
  }
  TForm1& window = OpenWindow();
  EXPECT_TRUE(IsZoomed(window.Handle()));
  EXPECT_TRUE(window.IsMenuChecked(L"ThemeDark"));
  EXPECT_FALSE(window.IsMenuChecked(L"ThemeLight"));
  EXPECT_FALSE(window.IsMenuChecked(L"ThemeAuto"));
  EXPECT_TRUE(window.IsChecked(L"CheckBoxFonts"));
  EXPECT_FALSE(window.IsChecked(L"CheckBoxHelp"));
  WINDOWPLACEMENT placement{sizeof(placement)};
  GetWindowPlacement(window.Handle(), &placement);
  EXPECT_GT(placement.rcNormalPosition.bottom - placement.rcNormalPosition.top, 300);
}

TEST_F(MainWindowTest, PageButtonsShowTheirPageAndTheCaptionCarriesTheVersion) {
  TForm1& window = OpenWindow();
  EXPECT_TRUE(TForm1::IsWindows10Or11());
  const std::wstring version = ReadFileVersion(shell_.ProgramFilePath());
  EXPECT_EQ(WindowText(window.Handle()),
            L"Quillmere " + version + (sizeof(void*) == 8 ? L" (64-bit)" : L" (32-bit)"));
  EXPECT_TRUE(IsWindowVisible(Control(L"TabSheetRegistry")));
  Press(L"ButtonBackups");
  EXPECT_TRUE(IsWindowVisible(Control(L"TabSheetBackups")));
  EXPECT_FALSE(IsWindowVisible(Control(L"TabSheetRegistry")));
  EXPECT_TRUE(window.IsBold(L"ButtonBackups"));
  EXPECT_FALSE(window.IsBold(L"ButtonRegClean"));
  Press(L"ButtonExceptions");
  EXPECT_TRUE(IsWindowVisible(Control(L"TabSheetExceptions")));
  EXPECT_GE(ListView_GetColumnWidth(Control(L"ListViewExceptions"), 1), window.Scale(200));
  Press(L"ButtonRegClean");
  EXPECT_TRUE(IsWindowVisible(Control(L"TabSheetRegistry")));
  EXPECT_TRUE(window.IsBold(L"ButtonRegClean"));
}

// --- the exclusions page

void WriteTextFile(const std::wstring& path, std::string_view text) {
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void SelectRow(HWND list, int row) {
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  if (row >= 0) ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

TEST_F(MainWindowTest, AnExclusionMadeFromAFindingSuppressesItAtTheNextScanWhileChecked) {
  SharedDllsFixture fixture(MissingFiles(3));
  OpenWindow();
  ScanSharedDlls();
  HWND findings = Control(L"ListViewQuillmere");
  HWND exclusions = Control(L"ListViewExceptions");
  Command(L"AddParameterMenu");  // no finding selected: nothing happens
  EXPECT_EQ(ListView_GetItemCount(exclusions), 0);
  EXPECT_EQ(window_->Findings().Size(), 3u);

  const std::vector<std::wstring> before = ValueNamesOfRows();
  const int gone1 = static_cast<int>(std::ranges::find(before, L"C:\\qm-test\\gone1.dll") - before.begin());
  SelectRow(findings, gone1);
  Command(L"AddParameterMenu");  // "Добавить параметр в исключения"
  ASSERT_EQ(ListView_GetItemCount(exclusions), 1);
  EXPECT_EQ(ListText(exclusions, 0, 0), L"C:\\qm-test\\gone1.dll");
  EXPECT_EQ(ListText(exclusions, 0, 1), L"Общие библиотеки");
  EXPECT_TRUE(ListView_GetCheckState(exclusions, 0));
  EXPECT_EQ(ListView_GetItemCount(findings), 2);
  EXPECT_EQ(std::ranges::count(ValueNamesOfRows(), L"C:\\qm-test\\gone1.dll"), 0);
  std::wstring status = StatusText(Control(L"StatusBarQuillmere"), 0);
  EXPECT_EQ(status.substr(status.find_first_not_of(L'\t')), L"Всего: 2");

  Press(L"ButtonSearch");
  const std::vector<std::wstring> after = ValueNamesOfRows();
  EXPECT_EQ((std::set<std::wstring>(after.begin(), after.end())),
            (std::set<std::wstring>{L"C:\\qm-test\\gone0.dll", L"C:\\qm-test\\gone2.dll"}));

  // Clearing its check box, as a click would, lets the finding come back.
  ListView_SetCheckState(exclusions, 0, FALSE);
  ProcessMessages();
  EXPECT_FALSE(window_->Exclusions().Rows()[0].checked);
  Press(L"ButtonSearch");
  EXPECT_EQ(ValueNamesOfRows().size(), 3u);

  SelectRow(findings, 0);
  Command(L"AddKeyMenu");  // "Добавить ключ в исключения"
  ASSERT_EQ(ListView_GetItemCount(exclusions), 2);
  EXPECT_EQ(ListText(exclusions, 1, 0), kSharedDllsPath);
  EXPECT_TRUE(window_->Exclusions().Rows()[1].checked);
}

TEST_F(MainWindowTest, TheExclusionFileAfterCloseHoldsTheListAndKeepsStaleRowsAndOtherSections) {
  WriteTextFile(ExclusionPath(), "[ExclusionReg]\r\nCount=2\r\nReg0=first\r\nD0=d0\r\nCH0=1\r\nReg1=second\r\n"
                                 "D1=d1\r\nCH1=0\r\nReg2=s2\r\nReg3=s3\r\nReg4=s4\r\n[Other]\r\nKeep=1\r\n");
  OpenWindow();
  Press(L"ButtonExceptions");
  HWND exclusions = Control(L"ListViewExceptions");
  ASSERT_EQ(ListView_GetItemCount(exclusions), 2);
  EXPECT_EQ(ListText(exclusions, 1, 0), L"second");
  EXPECT_EQ(ListText(exclusions, 1, 1), L"d1");
  EXPECT_TRUE(ListView_GetCheckState(exclusions, 0));
  EXPECT_FALSE(ListView_GetCheckState(exclusions, 1));

  Command(L"DeletaExceptionsMenu");  // no row selected: nothing happens
  Command(L"DeleteAllExceptionsMenu");
  EXPECT_EQ(ListView_GetItemCount(exclusions), 2);
  SelectRow(exclusions, 0);
  Command(L"DeletaExceptionsMenu");  // "Удалить"
  ASSERT_EQ(ListView_GetItemCount(exclusions), 1);
  EXPECT_EQ(window_->Exclusions().Rows()[0].text, L"second");

  SendMessageW(window_->Handle(), WM_CLOSE, 0, 0);
  DropQuitMessage();
  EXPECT_EQ(FileLines(ExclusionPath()),
            (std::vector<std::wstring>{L"[ExclusionReg]", L"Count=1", L"Reg0=second", L"D0=d1", L"CH0=0",
                                       L"Reg1=second", L"D1=d1", L"CH1=0", L"Reg2=s2", L"Reg3=s3", L"Reg4=s4", L"",
                                       L"[Other]", L"Keep=1", L""}));

  OpenWindow();
  exclusions = Control(L"ListViewExceptions");
  ASSERT_EQ(ListView_GetItemCount(exclusions), 1);
  SelectRow(exclusions, 0);
  Command(L"DeleteAllExceptionsMenu");  // "Удалить все"
  EXPECT_EQ(ListView_GetItemCount(exclusions), 0);
  EXPECT_EQ(window_->Exclusions().Size(), 0u);
  SendMessageW(window_->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(FileLines(ExclusionPath())[1], L"Count=0");
  DeleteFileW(ExclusionPath().c_str());
}

// --- the Fix button and the backups page

// The *.reg files of the backup folder and of its *.reg folders are removed.
void EmptyBackupFolder(FileSystem& files, Shell& shell) {
  for (const BackupFileRow& file : ListBackupFiles(files, BackupFolder(shell))) files.DeleteFile(file.fullPath);
}

// What the window showed while the repair was going, seen from inside the repair.
struct RepairLook {
  bool seen = false;
  std::size_t rowsLeft = 0;
  bool lockedEnabled = true;  // any of the locked controls, Fix included
  bool pageButtonsEnabled = false;
};

RepairLook g_repairLook;

void CALLBACK RecordRepairLook(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  g_repairLook.seen = true;
  g_repairLook.rowsLeft = g_window->Findings().Size();
  g_repairLook.lockedEnabled = false;
  for (const wchar_t* control : {L"ButtonSearch", L"ButtonFix", L"TabControlRegOption", L"TabControlRegistry",
                                 L"SpeedButton_GeneralMenu"}) {
    g_repairLook.lockedEnabled = g_repairLook.lockedEnabled || IsWindowEnabled(g_window->Control(control));
  }
  g_repairLook.pageButtonsEnabled = IsWindowEnabled(g_window->Control(L"TabControlPanel"));
}

bool SharedDllsValueIn(REGSAM view, const std::wstring& name) {
  UniqueHkey key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSharedDllsKey, 0, KEY_READ | view, key.put()) != ERROR_SUCCESS) return false;
  return RegQueryValueExW(key.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

TEST_F(MainWindowTest, FixLocksTheWindowAndTheBackupsPageListsRestoresAndDeletesItsBackup) {
  EmptyBackupFolder(files_, shell_);
  const std::vector<std::wstring> names = MissingFiles(150);
  SharedDllsFixture fixture(names);
  OpenWindow();
  ScanSharedDlls();
  g_window = window_.get();
  g_repairLook = {};
  SetTimer(nullptr, 0, 1, RecordRepairLook);
  Press(L"ButtonFix");  // "Исправить"
  g_window = nullptr;

  ASSERT_TRUE(g_repairLook.seen);
  EXPECT_GT(g_repairLook.rowsLeft, 0u) << "the timer came only after the repair";
  EXPECT_FALSE(g_repairLook.lockedEnabled);
  EXPECT_TRUE(g_repairLook.pageButtonsEnabled);
  ExpectIdle();
  EXPECT_FALSE(IsWindowEnabled(Control(L"ButtonFix")));
  EXPECT_EQ(ListView_GetItemCount(Control(L"ListViewQuillmere")), 0);
  EXPECT_EQ(Caption(L"Label1"), L"Всего: 0");
  std::wstring status = StatusText(Control(L"StatusBarQuillmere"), 0);
  EXPECT_EQ(status.substr(status.find_first_not_of(L'\t')), L"Готово");
  EXPECT_FALSE(SharedDllsValueIn(KEY_WOW64_64KEY, names[0]));
  EXPECT_TRUE(shownErrors_.empty());

  // The page lists the new backup: icon, name, size, date and the full path behind it.
  Press(L"ButtonBackups");
  HWND backups = Control(L"ListViewBackups");
  ASSERT_EQ(ListView_GetItemCount(backups), 1);
  const std::wstring name = ListText(backups, 0, 0);
  EXPECT_EQ(name.rfind(L"RarOvozu_", 0), 0u);
  const std::wstring path = BackupFolder(shell_) + name;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  ASSERT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data));
  EXPECT_EQ(ListText(backups, 0, 1), FormatFileSize(data.nFileSizeLow));
  SYSTEMTIME today;
  GetLocalTime(&today);
  const std::wstring date = ListText(backups, 0, 2);
  ASSERT_EQ(date.size(), 14u);
  EXPECT_EQ(date.substr(0, 8), BackupDateText({today.wYear, today.wMonth, today.wDay}).substr(0, 8));
  EXPECT_EQ(date[11], L':');
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  ListView_GetItem(backups, &item);
  SHFILEINFOW icon{};
  SHGetFileInfoW(path.c_str(), 0, &icon, sizeof(icon), SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  EXPECT_EQ(item.iImage, icon.iIcon);
  EXPECT_NE(ListView_GetImageList(backups, LVSIL_SMALL), nullptr);
  EXPECT_LE(ListView_GetColumnWidth(backups, 1), window_->Scale(70));

  // "Восстановить" brings the key back into the 64-bit view it was taken from.
  RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kSharedDllsKey, KEY_WOW64_64KEY, 0);
  Command(L"BackupsRestoreMenu");  // no row selected: nothing happens
  Sleep(500);
  EXPECT_FALSE(SharedDllsValueIn(KEY_WOW64_64KEY, names[0]));
  SelectRow(backups, 0);
  Command(L"BackupsRestoreMenu");
  for (int i = 0; i < 300 && !SharedDllsValueIn(KEY_WOW64_64KEY, names.back()); ++i) Sleep(100);
  EXPECT_TRUE(SharedDllsValueIn(KEY_WOW64_64KEY, names[0]));
  EXPECT_TRUE(SharedDllsValueIn(KEY_WOW64_64KEY, names.back()));
  EXPECT_FALSE(SharedDllsValueIn(KEY_WOW64_32KEY, names[0]));
  EXPECT_EQ(ListView_GetItemCount(backups), 1);

  // Delete one, then all, only with a row selected; other files and folders stay.
  const std::wstring folder = BackupFolder(shell_);
  CreateDirectoryW((folder + L"old.reg").c_str(), nullptr);
  WriteTextFile(folder + L"old.reg\\inner.reg", "x");
  WriteTextFile(folder + L"extra.reg", "x");
  WriteTextFile(folder + L"notes.txt", "x");
  Command(L"BackupsUpdateMenu");  // "Обновить"
  ASSERT_EQ(ListView_GetItemCount(backups), 3);
  SelectRow(backups, -1);
  Command(L"BackupsDelMenu");
  Command(L"BackupsDelAllMenu");
  EXPECT_EQ(ListView_GetItemCount(backups), 3);
  int extra = 0;
  while (extra < 3 && ListText(backups, extra, 0) != L"extra.reg") ++extra;
  SelectRow(backups, extra);
  Command(L"BackupsDelMenu");  // "Удалить"
  EXPECT_EQ(GetFileAttributesW((folder + L"extra.reg").c_str()), INVALID_FILE_ATTRIBUTES);
  ASSERT_EQ(ListView_GetItemCount(backups), 2);
  SelectRow(backups, 1);
  Command(L"BackupsDelAllMenu");  // "Удалить все"
  EXPECT_EQ(ListView_GetItemCount(backups), 0);
  EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesW((folder + L"old.reg\\inner.reg").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesW((folder + L"old.reg").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesW((folder + L"notes.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  DeleteFileW((folder + L"notes.txt").c_str());
  RemoveDirectoryW((folder + L"old.reg").c_str());
}

TEST_F(MainWindowTest, ABackupThatCannotBeWrittenStopsTheRepairAndUnlocksTheWindow) {
  SharedDllsFixture fixture(MissingFiles(3));
  OpenWindow();
  ScanSharedDlls();
  // A file in the place of the backup folder.
  std::wstring folder = BackupFolder(shell_);
  folder.pop_back();
  EmptyBackupFolder(files_, shell_);
  ASSERT_TRUE(RemoveDirectoryW(folder.c_str()));
  WriteTextFile(folder, "x");

  Press(L"ButtonFix");
  DeleteFileW(folder.c_str());
  CreateDirectoryW(folder.c_str(), nullptr);
  ASSERT_EQ(shownErrors_.size(), 1u);
  EXPECT_EQ(shownErrors_[0].rfind(L"Cannot create file \"" + folder + L"\\RarOvozu_", 0), 0u) << shownErrors_[0];
  EXPECT_EQ(window_->Findings().Size(), 3u);
  EXPECT_TRUE(SharedDllsValueIn(KEY_WOW64_64KEY, L"C:\\qm-test\\gone0.dll"));
  ExpectIdle();
  EXPECT_FALSE(IsWindowEnabled(Control(L"ButtonFix")));
}

// --- settings and exclusion files that cannot be read or written

// Holds a file open as another program can: for reading only, letting others read it,
// so that nothing can write it while the lock lives; with `readable` false nothing can
// read it either.
UniqueFile LockFile(const std::wstring& path, bool readable) {
  return UniqueFile(CreateFileW(path.c_str(), GENERIC_READ, readable ? FILE_SHARE_READ : 0, nullptr, OPEN_EXISTING, 0,
                                nullptr));
}

TEST_F(MainWindowTest, AnUnreadableSettingsFileIsSaidOnceAndKeepsNeitherExclusionsNorLanguagesFromWorking) {
  WriteTextFile(SettingsPath(), "[Option]\r\nCheckBoxFonts=1\r\n[Language]\r\nLanguage=English\r\n");
  WriteTextFile(ExclusionPath(), "[ExclusionReg]\r\nCount=1\r\nReg0=kept\r\nD0=d\r\nCH0=1\r\n");
  const std::string settings = testing::ReadWholeFile(SettingsPath());
  {
    const UniqueFile lock = LockFile(SettingsPath(), false);
    ASSERT_TRUE(lock);
    window_ = std::make_unique<TForm1>(windows_.Get());
    try {
      window_->Create();
      ADD_FAILURE() << "a settings file that cannot be read was taken as empty";
    } catch (const Error& error) {
      EXPECT_EQ(error.Message(), L"Cannot open file \"" + SettingsPath() + L"\".");
    }
    window_->SetErrorPresenter([this](const std::wstring& message) { shownErrors_.push_back(message); });
    EXPECT_EQ(window_->Exclusions().Rows(), (std::vector<Exclusion>{{L"kept", L"d", true}}));
    window_->StartLanguages();  // no language can be read: the built-in texts
    EXPECT_EQ(Caption(L"ButtonSearch"), L"Поиск...");
    window_->Show();
    ProcessMessages();
    EXPECT_FALSE(window_->IsChecked(L"CheckBoxFonts"));

    // Closing while the file is still held: the settings cannot be saved, which is said;
    // the exclusion file keeps its row and the window closes.
    SendMessageW(window_->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window_->Handle()));
  }
  DropQuitMessage();
  ASSERT_EQ(shownErrors_.size(), 1u);
  EXPECT_EQ(shownErrors_[0], L"Cannot open file \"" + SettingsPath() + L"\".");
  EXPECT_EQ(testing::ReadWholeFile(SettingsPath()), settings);
  EXPECT_EQ(FileLines(ExclusionPath()),
            (std::vector<std::wstring>{L"[ExclusionReg]", L"Count=1", L"Reg0=kept", L"D0=d", L"CH0=1", L""}));
}

TEST_F(MainWindowTest, AnExclusionFileUnreadableAtStartGetsThisRunsRowsAfterItsOwn) {
  WriteTextFile(ExclusionPath(), "[ExclusionReg]\r\nCount=1\r\nReg0=stored\r\nD0=d\r\nCH0=1\r\n[Other]\r\nKeep=1\r\n");
  SharedDllsFixture fixture(MissingFiles(1));
  {
    const UniqueFile lock = LockFile(ExclusionPath(), false);
    ASSERT_TRUE(lock);
    window_ = std::make_unique<TForm1>(windows_.Get());
    EXPECT_THROW(window_->Create(), Error);
  }
  window_->SetErrorPresenter([this](const std::wstring& message) { shownErrors_.push_back(message); });
  window_->Show();
  ProcessMessages();
  EXPECT_TRUE(IsWindowVisible(Control(L"ListViewQuillmere")));  // the cleaning page, as always at start
  EXPECT_EQ(window_->Exclusions().Size(), 0u);
  ScanSharedDlls();
  SelectRow(Control(L"ListViewQuillmere"), 0);
  Command(L"AddParameterMenu");
  SendMessageW(window_->Handle(), WM_CLOSE, 0, 0);
  DropQuitMessage();
  EXPECT_TRUE(shownErrors_.empty());
  const std::vector<std::wstring> lines = FileLines(ExclusionPath());
  ASSERT_GE(lines.size(), 10u);
  EXPECT_EQ(std::vector<std::wstring>(lines.begin(), lines.begin() + 6),
            (std::vector<std::wstring>{L"[ExclusionReg]", L"Count=2", L"Reg0=stored", L"D0=d", L"CH0=1",
                                       L"Reg1=C:\\qm-test\\gone0.dll"}));
  EXPECT_EQ(std::vector<std::wstring>(lines.end() - 3, lines.end()), (std::vector<std::wstring>{L"[Other]", L"Keep=1", L""}));
}

TEST_F(MainWindowTest, FilesThatCannotBeWrittenAtCloseAreSaidAndTheWindowClosesAllTheSame) {
  WriteTextFile(SettingsPath(), "[Option]\r\nCheckBoxFonts=1\r\n[Own]\r\nKey=1\r\n");
  WriteTextFile(ExclusionPath(), "[ExclusionReg]\r\nCount=1\r\nReg0=kept\r\nD0=d\r\nCH0=1\r\n");
  const std::string settings = testing::ReadWholeFile(SettingsPath()), exclusions = testing::ReadWholeFile(ExclusionPath());
  OpenWindow();
  EXPECT_TRUE(window_->IsChecked(L"CheckBoxFonts"));
  window_->SetChecked(L"CheckBoxHelp", true);
  {
    const UniqueFile settingsLock = LockFile(SettingsPath(), true), exclusionLock = LockFile(ExclusionPath(), true);
    ASSERT_TRUE(settingsLock && exclusionLock);
    SendMessageW(window_->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window_->Handle())) << "a window that cannot save could never be closed";
  }
  DropQuitMessage();
  // The exclusion file's error ends the closing step, as a failed write always does.
  ASSERT_EQ(shownErrors_.size(), 1u);
  EXPECT_EQ(shownErrors_[0].rfind(L"Cannot create file \"" + ExclusionPath() + L"\". ", 0), 0u) << shownErrors_[0];
  EXPECT_EQ(testing::ReadWholeFile(SettingsPath()), settings);
  EXPECT_EQ(testing::ReadWholeFile(ExclusionPath()), exclusions);
}

TEST_F(MainWindowTest, TheBackupsPageOfAMissingOrBlockedBackupFolderListsNothingAndSaysNothing) {
  OpenWindow();
  std::wstring folder = BackupFolder(shell_);
  folder.pop_back();
  EmptyBackupFolder(files_, shell_);
  ASSERT_TRUE(RemoveDirectoryW(folder.c_str()));
  HWND backups = Control(L"ListViewBackups");
  Press(L"ButtonBackups");
  EXPECT_EQ(ListView_GetItemCount(backups), 0);
  WriteTextFile(folder, "x");  // a file in the folder's place
  Command(L"BackupsUpdateMenu");
  EXPECT_EQ(ListView_GetItemCount(backups), 0);
  Command(L"BackupsDelAllMenu");
  DeleteFileW(folder.c_str());
  CreateDirectoryW(folder.c_str(), nullptr);
  EXPECT_TRUE(shownErrors_.empty());
}

// --- the program itself

testing::StartedProgram StartProgram() { return testing::StartProgram(testing::BesideThisProgram(L"Quillmere.exe")); }

TEST(Program, ASecondInstanceExitsAtOnceAndTheFirstRunsOn) {
  testing::StartedProgram first = StartProgram();
  ASSERT_TRUE(first.process);
  HWND window = testing::WaitForVisibleWindow(first.id);
  ASSERT_NE(window, nullptr) << "the first instance shows no window";

  testing::StartedProgram second = StartProgram();
  ASSERT_TRUE(second.process);
  EXPECT_EQ(WaitForSingleObject(second.process.get(), 15000), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  GetExitCodeProcess(second.process.get(), &exitCode);
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(testing::VisibleWindowOf(second.id), nullptr);
  EXPECT_EQ(WaitForSingleObject(first.process.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));

  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(first.process.get(), 30000), WAIT_OBJECT_0);
}

}  // namespace
}  // namespace qm
