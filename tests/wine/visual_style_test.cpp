// The visual styles on real windows: the theme restored at start-up, the system's
// settings broadcast, and what the dark and light styles paint.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/settings_path.h"
#include "app/visual_theme.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_version_info.h"
#include "win32/about_window.h"
#include "win32/gdi.h"
#include "win32/main_window.h"
#include "win32/message_loop.h"
#include "win32/visual_style.h"
#include "win32/windows_platform.h"
#include "wine_test_support.h"

namespace qm {
namespace {

constexpr wchar_t kPersonalize[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

void SetSystemDark(bool dark) {
  UniqueHkey key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kPersonalize, 0, nullptr, 0, KEY_WRITE, nullptr, key.put(), nullptr),
            ERROR_SUCCESS);
  const DWORD light = dark ? 0 : 1;
  RegSetValueExW(key.get(), L"AppsUseLightTheme", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&light), sizeof(light));
}

int Brightness(COLORREF color) { return (GetRValue(color) * 3 + GetGValue(color) * 6 + GetBValue(color)) / 10; }

// The share of light pixels (brightness above 160) of what a control paints.
double LightShare(HWND control) {
  RECT client;
  GetClientRect(control, &client);
  WindowDc screen(control);
  UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
  UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), client.right, client.bottom));
  SelectedObject selected(dc.get(), bitmap.get());
  SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT | PRF_ERASEBKGND);
  int light = 0;
  for (int y = 0; y < client.bottom; ++y) {
    for (int x = 0; x < client.right; ++x) light += Brightness(GetPixel(dc.get(), x, y)) > 160;
  }
  return static_cast<double>(light) / (client.right * client.bottom);
}

class VisualStyleTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    testing::PrepareWindowTests();
  }

  void SetUp() override { DeleteFileW(SettingsPath().c_str()); }

  void TearDown() override {
    window_.reset();
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kPersonalize, L"AppsUseLightTheme");
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }

  std::wstring SettingsPath() {
    return PortablePath(windows_.Files(), windows_.Shell(),
                        {false, ReadCompanyName(windows_.Shell().ProgramFilePath())});
  }

  void WriteSettings(const std::string& text) {
    UniqueFile file(CreateFileW(SettingsPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }

  TForm1& OpenWindow() {
    window_.reset();
    window_ = std::make_unique<TForm1>(windows_.Get());
    window_->Create();
    window_->Show();
    ProcessMessages();
    return *window_;
  }

  void Command(std::wstring_view item) {
    SendMessageW(window_->Handle(), WM_COMMAND, MAKEWPARAM(window_->CommandId(item), 0), 0);
    ProcessMessages();
  }

  void SettingsBroadcast() {
    SendMessageW(window_->Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"));
    ProcessMessages();
  }

  std::wstring CheckedThemeItems() {
    std::wstring checked;
    for (const wchar_t* item : {kThemeAuto, kThemeLight, kThemeDark}) {
      if (window_->IsMenuChecked(item)) checked += item;
    }
    return checked;
  }

  WindowsPlatform windows_;
  std::unique_ptr<TForm1> window_;
};

TEST_F(VisualStyleTest, StartUpChecksAndAppliesTheLastMarkedItemInMenuOrder) {
  struct Case {
    const char* settings;
    bool systemDark;
    const wchar_t* item;
    const wchar_t* style;
  };
  const Case cases[] = {
      {"[Option]\r\nThemeLight=1\r\nThemeDark=1\r\n", false, kThemeDark, kDarkStyle},
      {"[Option]\r\nThemeDark=1\r\nThemeAuto=1\r\n", false, kThemeDark, kDarkStyle},
      {"[Option]\r\nThemeAuto=1\r\nThemeLight=1\r\n", true, kThemeLight, kLightStyle},
      {"[Option]\r\nThemeAuto=1\r\n", true, kThemeAuto, kDarkStyle},
      {"[Option]\r\nThemeAuto=1\r\n", false, kThemeAuto, kLightStyle},
  };
  for (const Case& c : cases) {
    ApplyStyle(std::wstring_view(c.style) == kDarkStyle ? kLightStyle : kDarkStyle);
    SetSystemDark(c.systemDark);
    WriteSettings(c.settings);
    OpenWindow();
    EXPECT_EQ(CheckedThemeItems(), c.item) << c.settings;
    EXPECT_EQ(ActiveStyleName(), c.style) << c.settings;
  }
}

TEST_F(VisualStyleTest, WithNoStoredThemeNoItemIsCheckedAndTheLookStays) {
  ApplyStyle(kDarkStyle);
  WriteSettings("[Option]\r\nThemeAuto=0\r\n");
  OpenWindow();
  EXPECT_EQ(CheckedThemeItems(), L"");
  EXPECT_EQ(ActiveStyleName(), kDarkStyle);
  Command(kThemeLight);
  EXPECT_EQ(CheckedThemeItems(), kThemeLight);
  EXPECT_EQ(ActiveStyleName(), kLightStyle);
}

TEST_F(VisualStyleTest, TheSettingsBroadcastFollowsTheSystemOnlyWhileTheStoredChoiceIsTheSystem) {
  SetSystemDark(false);
  WriteSettings("[Option]\r\nThemeAuto=1\r\n");
  OpenWindow();
  EXPECT_EQ(ActiveStyleName(), kLightStyle);
  SetSystemDark(true);
  SettingsBroadcast();
  EXPECT_EQ(ActiveStyleName(), kDarkStyle);

  // Light picked but not saved: the stored system choice still rules the broadcast.
  Command(kThemeLight);
  EXPECT_EQ(ActiveStyleName(), kLightStyle);
  SettingsBroadcast();
  EXPECT_EQ(ActiveStyleName(), kDarkStyle);
  EXPECT_EQ(CheckedThemeItems(), kThemeLight);

  // Once light is saved, changes of the system change nothing.
  Command(L"OptionSaveMenu");
  Command(kThemeLight);
  SetSystemDark(true);
  SettingsBroadcast();
  EXPECT_EQ(ActiveStyleName(), kLightStyle);
  SetSystemDark(false);
  Command(kThemeDark);
  Command(L"OptionSaveMenu");
  SettingsBroadcast();
  EXPECT_EQ(ActiveStyleName(), kDarkStyle);
}

TEST_F(VisualStyleTest, TheDarkStylePaintsEveryKindOfControlDarkAndTheLightStyleUndoesIt) {
  TForm1& window = OpenWindow();
  Command(kThemeDark);
  Shell& shell = windows_.Shell();
  TForm8 about(shell, [] { return std::wstring(L"Quillmere"); });  // made after the style was chosen
  about.Create();
  ShowWindow(about.Handle(), SW_SHOWNA);
  ProcessMessages();

  const HWND list = window.Control(L"ListViewQuillmere");
  EXPECT_LT(Brightness(ListView_GetBkColor(list)), 60);
  EXPECT_GT(Brightness(ListView_GetTextColor(list)), 180);
  for (HWND control : {window.Control(L"CheckBoxSharedDLLs"), window.Control(L"ButtonSearch"),
                       window.Control(L"ButtonRegClean"), window.Control(L"StatusBarQuillmere"),
                       ListView_GetHeader(list), about.Control(L"Button1")}) {
    EXPECT_LT(LightShare(control), 0.2) << control;
  }
  // Labels, link labels included, are light text on the dark background.
  WindowDc screen(window.Handle());
  for (HWND label : {window.Control(L"Label1"), about.Control(L"LabelTelegram")}) {
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(GetParent(label), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(screen.get()), reinterpret_cast<LPARAM>(label)));
    LOGBRUSH fill{};
    GetObjectW(brush, sizeof(fill), &fill);
    EXPECT_LT(Brightness(fill.lbColor), 60);
    EXPECT_GT(Brightness(GetTextColor(screen.get())), 120);
  }

  Command(kThemeLight);
  EXPECT_GT(Brightness(ListView_GetBkColor(list)), 200);
  EXPECT_GT(LightShare(window.Control(L"CheckBoxSharedDLLs")), 0.5);
  EXPECT_GT(LightShare(about.Control(L"Button1")), 0.5);
}

}  // namespace
}  // namespace qm
