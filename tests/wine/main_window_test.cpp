// The main window driven in this process: real controls, real registry (64-bit view),
// real files. Buttons are pressed with BM_CLICK, menu commands arrive as WM_COMMAND,
// shortcuts go through the window's keyboard handling, and messages are pumped as the
// program's loop does.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

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
  }

  void TearDown() override {
    window_.reset();
    DropQuitMessage();
  }

  std::wstring SettingsPath() {
    const ConfigLocation location{false, ReadCompanyName(shell_.ProgramFilePath())};
    return PortablePath(files_, shell_, location);
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
  constexpr int kNames = 300;
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
