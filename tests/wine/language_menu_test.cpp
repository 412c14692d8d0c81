// The language menu of the main window with the shipped language files beside the
// test program: picking English turns the window's texts English at once, and the
// next start comes up in English.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "app/settings_path.h"
#include "platform/win32/win32_version_info.h"
#include "win32/form_window_ids.h"
#include "win32/main_window.h"
#include "win32/message_loop.h"
#include "win32/windows_platform.h"
#include "wine_test_support.h"

namespace qm {
namespace {

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::wstring ColumnCaption(HWND list, int column) {
  wchar_t buffer[256] = {};
  LVCOLUMNW info{};
  info.mask = LVCF_TEXT;
  info.pszText = buffer;
  info.cchTextMax = 256;
  ListView_GetColumn(list, column, &info);
  return buffer;
}

class LanguageMenuTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    testing::PrepareWindowTests();
  }
  void SetUp() override { DeleteFileW(SettingsPath().c_str()); }
  void TearDown() override {
    Close();
    DeleteFileW(SettingsPath().c_str());
  }

  std::wstring SettingsPath() {
    const ConfigLocation location{false, ReadCompanyName(platform_.Shell().ProgramFilePath())};
    return PortablePath(platform_.Files(), platform_.Shell(), location);
  }

  TForm1& Start() {
    window_ = std::make_unique<TForm1>(platform_.Get());
    window_->Create();
    window_->StartLanguages();
    window_->Show();
    ProcessMessages();
    return *window_;
  }

  void Close() {
    if (!window_) return;
    SendMessageW(window_->Handle(), WM_CLOSE, 0, 0);
    window_.reset();
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }

  int ItemOf(std::wstring_view language) {
    const auto& items = window_->Languages().Menu().Items();
    for (size_t n = 0; n < items.size(); ++n) {
      if (items[n].caption.starts_with(std::wstring(language) + L"\t")) return static_cast<int>(n);
    }
    return -1;
  }

  void ExpectEnglish() {
    EXPECT_EQ(WindowText(window_->Control(L"ButtonSearch")), L"Search...");
    EXPECT_EQ(WindowText(window_->Control(L"CheckBoxFonts")), L"Fonts");
    EXPECT_EQ(ColumnCaption(window_->Control(L"ListViewQuillmere"), 1), L"Registry key");
    EXPECT_EQ(window_->Model().Text(L"LangStop"), L"Stop");
  }

  WindowsPlatform platform_;
  std::unique_ptr<TForm1> window_;
};

TEST_F(LanguageMenuTest, PickingEnglishTranslatesAtOnceAndSurvivesARestart) {
  TForm1& window = Start();
  // First start: the built-in texts, no language checked.
  EXPECT_EQ(WindowText(window.Control(L"ButtonSearch")), L"Поиск...");
  const int english = ItemOf(L"English");
  ASSERT_GE(english, 0);
  ASSERT_GE(ItemOf(L"Russian"), 0);
  for (const LanguageItem& item : window.Languages().Menu().Items()) EXPECT_FALSE(item.checked);
  EXPECT_EQ(window.Languages().Menu().Items()[english].caption, L"English\t\tEnglish");

  EXPECT_TRUE(window.Languages().Click(kFirstRuntimeItemId + english));
  ProcessMessages();
  ExpectEnglish();
  EXPECT_TRUE(window.Languages().Menu().Items()[english].checked);
  if (const char* shot = std::getenv("QM_LANGUAGE_PAUSE")) Sleep(static_cast<DWORD>(std::atoi(shot)));

  Close();
  Start();
  ExpectEnglish();
  EXPECT_TRUE(window_->Languages().Menu().Items()[ItemOf(L"English")].checked);
  EXPECT_EQ(window_->Languages().Menu().CurrentLanguage(), L"English");

  // Russian restates the built-in texts, so the way back exists.
  EXPECT_TRUE(window_->Languages().Click(kFirstRuntimeItemId + ItemOf(L"Russian")));
  EXPECT_EQ(WindowText(window_->Control(L"ButtonSearch")), L"Поиск...");
}

}  // namespace
}  // namespace qm
