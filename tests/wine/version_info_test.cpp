#include <gtest/gtest.h>

#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_version_info.h"
#include "wine_test_support.h"

namespace qm {

namespace {

TEST(Win32VersionInfo, ReadsStringsUnderTheFallbackTranslation) {
  const std::wstring probe = testing::TestProgramFolder() + L"version_probe_default.exe";
  EXPECT_EQ(ReadCompanyName(probe), L"Quillmere Test Company");
  EXPECT_EQ(ReadLegalCopyright(probe), L"© 2024 Quillmere Test Company");
  EXPECT_EQ(ReadFileVersion(probe), L"1.2.0.5");  // the string, not the fixed part 9.9.9.9
  EXPECT_EQ(ReadVersionInfoString(probe, L"ProductName"), L"");
}

TEST(Win32VersionInfo, ReadsStringsOfTheFirstTranslationAndTheFixedVersion) {
  const std::wstring probe = testing::TestProgramFolder() + L"version_probe_russian.exe";
  EXPECT_EQ(ReadCompanyName(probe), L"Тестовая компания");
  EXPECT_EQ(ReadLegalCopyright(probe), L"");
  EXPECT_EQ(ReadFileVersion(probe), L"3.1.4.15");
}

TEST(Win32VersionInfo, FilesWithoutVersionInformationGiveEmptyTexts) {
  for (const std::wstring& file : {Win32Shell().ProgramFilePath(), testing::TestProgramFolder() + L"no such file.exe"}) {
    EXPECT_EQ(ReadCompanyName(file), L"");
    EXPECT_EQ(ReadLegalCopyright(file), L"");
    EXPECT_EQ(ReadFileVersion(file), L"");
  }
}

}  // namespace

}  // namespace qm
