#include <gtest/gtest.h>

#include "scan_test_support.h"

namespace qm::testing {

namespace {

constexpr std::wstring_view kCheckBox = L"CheckBoxMUI";

// Six values in the first cache key (a byte array, a number and an expandable text
// among them) and three in the second; no program of the fixture exists.
TEST(MuiCache, ReportsEveryPlainTextNameWithoutAReference) {
  ScanFixture scan;
  scan.LoadFixtureFolder("mui_cache");
  scan.Scan(kCheckBox);
  EXPECT_EQ(scan.Rows(), ExpectedRows("mui_cache"));
  EXPECT_FALSE(scan.host.SawError());
  EXPECT_EQ(scan.host.maxima, std::vector<int>{8});  // both keys counted, - 1
  EXPECT_EQ(scan.host.position, 8);
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
  scan.LoadFixtureFolder("mui_cache");
  scan.host.stopAtItem = L"C:\\QuillmereFixture\\Mui\\empty.exe";
  scan.Scan(kCheckBox);
  EXPECT_EQ(scan.Rows(), std::vector<std::wstring>{ExpectedRows("mui_cache")[0]});
  EXPECT_EQ(scan.host.positionsAfterStop, (std::vector<int>{0, 8, 8}));
}

}  // namespace

}  // namespace qm::testing
