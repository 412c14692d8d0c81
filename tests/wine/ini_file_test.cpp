#include <windows.h>
#include <gtest/gtest.h>

#include "platform/error.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_locale.h"
#include "text/ini_file.h"
#include "wine_test_support.h"

namespace qm {

namespace {

class IniFileOnWindows : public ::testing::Test {
 protected:
  std::wstring PathOf(const wchar_t* name) const { return scratch_.path() + L"\\" + name; }

  Win32FileSystem files_;
  Win32Locale locale_;
  testing::ScratchFolder scratch_;
};

TEST_F(IniFileOnWindows, KeepsUtf16AndAnsiFilesInTheirEncoding) {
  const std::vector<std::uint8_t> utf16{0xFF, 0xFE, '[', 0, 0x2F, 0x04, ']', 0, '\r', 0, '\n', 0};  // [Я]
  files_.WriteFile(PathOf(L"utf16.ini"), utf16);
  files_.WriteFile(PathOf(L"ansi.ini"), {'[', 'A', ']', '\n'});

  for (const wchar_t* name : {L"utf16.ini", L"ansi.ini"}) {
    IniFile ini = IniFile::Load(files_, locale_, PathOf(name));
    ini.WriteString(L"Option", L"Window", L"wsNormal");
    ini.Save();
  }
  IniFile utf16Again = IniFile::Load(files_, locale_, PathOf(L"utf16.ini"));
  EXPECT_EQ(utf16Again.Encoding(), TextEncoding::Utf16LeBom);
  EXPECT_EQ(utf16Again.Sections(), (std::vector<std::wstring>{L"Я", L"Option"}));
  const std::string ansi = "[A]\r\n\r\n[Option]\r\nWindow=wsNormal\r\n\r\n";
  EXPECT_EQ(files_.ReadFile(PathOf(L"ansi.ini")), std::vector<std::uint8_t>(ansi.begin(), ansi.end()));
}

TEST_F(IniFileOnWindows, AFileLockedByAnotherProgramIsNotTakenAsEmpty) {
  const std::wstring path = PathOf(L"Option.ini");
  files_.WriteFile(path, {'[', 'L', 'a', 'n', 'g', 'u', 'a', 'g', 'e', ']', '\n'});
  {
    UniqueFile lock(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock);
    EXPECT_THROW(IniFile::Load(files_, locale_, path), Error);
  }
  EXPECT_TRUE(IniFile::Load(files_, locale_, path).SectionExists(L"Language"));
}

}  // namespace

}  // namespace qm
