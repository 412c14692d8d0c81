#include <windows.h>
#include <gtest/gtest.h>

#include "app/settings_path.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_locale.h"
#include "platform/win32/win32_shell.h"
#include "text/case_mapping.h"
#include "wine_test_support.h"

namespace qm {

namespace {

TEST(Win32Locale, MapsCyrillicCase) {
  Win32Locale locale;
  EXPECT_EQ(locale.ToLower(L"ПРИВЕТ, ЁЖ! ÀÉ C:\\WINDOWS"), L"привет, ёж! àé c:\\windows");
  EXPECT_EQ(locale.ToUpper(L"привет, ёж! àé"), L"ПРИВЕТ, ЁЖ! ÀÉ");
  EXPECT_EQ(locale.ToLower(L""), L"");
}

TEST(Win32Locale, ConvertsTheAnsiCodePage) {
  Win32Locale locale;
  const std::vector<std::uint8_t> ascii{'[', 'O', 'p', 't', ']', '\r', '\n'};
  EXPECT_EQ(locale.ToAnsi(L"[Opt]\r\n"), ascii);
  EXPECT_EQ(locale.FromAnsi(ascii), L"[Opt]\r\n");
  EXPECT_EQ(locale.ToAnsi(L"\x4E2D"), std::vector<std::uint8_t>{'?'}) << "code page " << GetACP();
  EXPECT_TRUE(locale.FromAnsi({}).empty());
}

TEST(Win32Shell, ReportsTheSystemFolders) {
  Win32Shell shell;
  Win32FileSystem files;
  EXPECT_TRUE(EqualsNoCase(shell.WindowsDirectory(), shell.SpecialFolderPath(csidl::Windows)));
  EXPECT_TRUE(files.FolderExists(shell.WindowsDirectory()));
  EXPECT_TRUE(EqualsNoCase(shell.SpecialFolderPath(csidl::System), shell.WindowsDirectory() + L"\\system32"));
  EXPECT_EQ(shell.TempFolder().back(), L'\\');
  EXPECT_TRUE(files.FolderExists(shell.TempFolder()));
  EXPECT_TRUE(files.PathExists(shell.ProgramFilePath()));
  EXPECT_TRUE(EqualsNoCase(shell.ProgramFilePath(), testing::TestProgramFolder() + L"wine_tests.exe"));
  EXPECT_EQ(shell.SpecialFolderPath(0x7FFF), L"");
}

TEST(Win32Shell, PerUserConfigFolderIsCreatedInAppData) {
  Win32Shell shell;
  Win32FileSystem files;
  const std::wstring appData = GetAppDataFolder(shell);
  ASSERT_FALSE(appData.empty());
  EXPECT_EQ(appData.back(), L'\\');
  const std::wstring company = L"Quillmere Test " + std::to_wstring(GetCurrentProcessId());
  EXPECT_EQ(PortablePath(files, shell, {false, company}), appData + company + L"\\Quillmere\\Config\\Option.ini");
  EXPECT_TRUE(files.FolderExists(appData + company + L"\\Quillmere\\Config"));
  std::error_code ignored;
  std::filesystem::remove_all(appData + company, ignored);
}

TEST(Win32Clock, TellsTheLocalTime) {
  SYSTEMTIME before;
  GetLocalTime(&before);
  const LocalTime now = Win32Clock().Now();
  EXPECT_EQ(now.year, before.wYear);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
  EXPECT_GE(now.day, 1);
}

}  // namespace

}  // namespace qm
