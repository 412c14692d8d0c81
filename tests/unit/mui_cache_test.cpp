#include <gtest/gtest.h>

#include "fixture_folder.h"

namespace qm::testing {

namespace {

constexpr std::wstring_view kCheckBox = L"CheckBoxMUI";

// Six values in the first cache key (a byte array, a number and an expandable text
// among them) and three in the second; no program of the fixture exists.
TEST(MuiCache, ReportsEveryPlainTextNameWithoutAReference) {
  ScanFixture scan;
  ExpectFolderFindings(scan, "mui_cache", kCheckBox, 8);  // both keys counted, - 1
}

TEST(MuiCache, ACachedNameOfAProgramThatExistsIsReportedAllTheSame) {
  ScanFixture scan;
  scan.AddFile(L"C:\\Apps\\present.exe");
  scan.ImportReg(
      L"[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\ShellNoRoam\\MUICache]\r\n"
      L"\"C:\\\\Apps\\\\present.exe\"=\"Present\"\r\n");
  scan.Scan(kCheckBox);
  EXPECT_EQ(scan.Rows(), std::vector<std::wstring>{L"HKEY_CURRENT_USER|\\Software\\Microsoft\\Windows\\ShellNoRoam\\"
                                                   L"MUICache\\|C:\\Apps\\present.exe|Present|Кэш MUI|DelVal"});
}

TEST(MuiCache, StopKeepsEarlierFindingsAndEndsTheCategory) {
  ScanFixture scan;
  ExpectStopAt(scan, "mui_cache", kCheckBox, L"C:\\QuillmereFixture\\Mui\\empty.exe", 1, 8);
}

}  // namespace

}  // namespace qm::testing
