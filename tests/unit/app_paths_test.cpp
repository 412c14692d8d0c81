#include <gtest/gtest.h>

#include "scan_test_support.h"

namespace qm::testing {

namespace {

#define QM_APP_PATHS L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths"

// Eleven subkeys, which the registry lists sorted by name.
constexpr std::wstring_view kAppPaths = L"[" QM_APP_PATHS L"]\r\n\r\n"
    L"[" QM_APP_PATHS L"\\Present.exe]\r\n@=\"C:\\\\Apps\\\\present.exe\"\r\n\"Path\"=\"C:\\\\Apps\"\r\n\r\n"
    L"[" QM_APP_PATHS L"\\FolderGone.exe]\r\n@=\"\\\"C:\\\\Apps\\\\present.exe\\\"\"\r\n\"Path\"=\"C:\\\\GoneFolder\"\r\n\r\n"
    L"[" QM_APP_PATHS L"\\BothGone.exe]\r\n@=\"\\\"C:\\\\Gone\\\\Both.exe\\\" /x\"\r\n\"Path\"=\"C:\\\\Gone;\"\r\n\r\n"
    L"[" QM_APP_PATHS L"\\Old.exe]\r\n@=\"C:\\\\Program Files (x86)\\\\Old\\\\old.exe\"\r\n\r\n"
    L"[" QM_APP_PATHS L"\\X86.exe]\r\n@=\"C:\\\\Apps(x86)\\\\present.exe\"\r\n\"Path\"=\"C:\\\\Apps(x86)\"\r\n\r\n"
    L"[" QM_APP_PATHS L"\\notepad.exe]\r\n@=\"notepad.exe\"\r\n\r\n"
    L"[" QM_APP_PATHS L"\\Expanded.exe]\r\n@=\"%ProgramFiles%\\\\Gone\\\\pf.exe\"\r\n\"Path\"=\"%ProgramFiles%\\\\Gone\"\r\n\r\n"
    L"[" QM_APP_PATHS L"\\Removable.exe]\r\n@=\"E:\\\\Gone\\\\r.exe\"\r\n\"Path\"=\"D:\\\\Disc\"\r\n\r\n"
    L"[" QM_APP_PATHS L"\\Number.exe]\r\n@=dword:00000001\r\n\"Path\"=dword:00000002\r\n\r\n"
    L"[" QM_APP_PATHS L"\\Empty.exe]\r\n\r\n"
    L"[" QM_APP_PATHS L"\\DataOnly.exe]\r\n@=\"C:\\\\Lost\\\\d.exe\"\r\n\"Path\"=\"C:\\\\Missing\"\r\n\r\n";

std::wstring ProgramRow(std::wstring_view subkey, std::wstring_view program) {
  return L"HKEY_LOCAL_MACHINE|\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + std::wstring(subkey) +
         L"\\||" + std::wstring(program) + L"|Пути приложений|DelKey";
}

std::wstring FolderRow(std::wstring_view subkey, std::wstring_view folder) {
  return L"HKEY_LOCAL_MACHINE|\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + std::wstring(subkey) +
         L"\\|Path|" + std::wstring(folder) + L"|Пути приложений|DelKey";
}

const std::vector<std::wstring> kFirstPass{
    ProgramRow(L"BothGone.exe", L"c:\\gone\\both.exe"),
    ProgramRow(L"DataOnly.exe", L"c:\\lost\\d.exe"),
    ProgramRow(L"Expanded.exe", L"C:\\Program Files\\gone\\pf.exe"),
    ProgramRow(L"Old.exe", L"c:\\program files (x86)\\old\\old.exe"),
};
const std::vector<std::wstring> kSecondPass{
    FolderRow(L"BothGone.exe", L"C:\\Gone"),
    FolderRow(L"DataOnly.exe", L"C:\\Missing"),
    FolderRow(L"FolderGone.exe", L"C:\\GoneFolder"),
};

std::vector<std::wstring> Joined(std::vector<std::wstring> first, const std::vector<std::wstring>& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

class AppPathsTest : public ::testing::Test {
 protected:
  AppPathsTest() {
    scan.ImportReg(kAppPaths);
    scan.AddFile(L"C:\\Apps\\present.exe");
    scan.AddFile(L"C:\\Windows\\notepad.exe");
  }
  ScanFixture scan;
};

TEST_F(AppPathsTest, FirstPassReportsMissingProgramsSecondPassMissingFolders) {
  scan.Scan(L"CheckBoxApplicationPaths");
  EXPECT_EQ(scan.Rows(), Joined(kFirstPass, kSecondPass));
  EXPECT_EQ(scan.host.maxima, std::vector<int>{21});  // 2n - 1
}

TEST_F(AppPathsTest, ExclusionCandidatesAreTheKeyAndEachPassData) {
  scan.Exclude(L"BOTHGONE");  // the key: both findings of the subkey
  scan.Exclude(L"\\lost\\");  // the first pass's extracted program only
  scan.Exclude(L"missing");   // the second pass's folder only
  scan.Exclude(L"gonefolder", false);
  scan.Scan(L"CheckBoxApplicationPaths");
  EXPECT_EQ(scan.Rows(), (std::vector<std::wstring>{kFirstPass[2], kFirstPass[3], kSecondPass[2]}));
}

TEST_F(AppPathsTest, StopInTheFirstPassSkipsTheSecond) {
  scan.host.stopAtItem = L"C:\\Lost\\d.exe";
  scan.Scan(L"CheckBoxApplicationPaths");
  EXPECT_EQ(scan.Rows(), std::vector<std::wstring>{kFirstPass[0]});
}

TEST_F(AppPathsTest, StopInTheSecondPassKeepsWhatCameBefore) {
  scan.host.stopAtItem = L"C:\\Missing";
  scan.Scan(L"CheckBoxApplicationPaths");
  EXPECT_EQ(scan.Rows(), Joined(kFirstPass, {kSecondPass[0]}));
}

TEST(AppPaths, NoSubkeysGiveTheRangeZeroToMinusOne) {
  ScanFixture scan;
  scan.ImportReg(L"[" QM_APP_PATHS L"]\r\n");
  scan.Scan(L"CheckBoxApplicationPaths");
  EXPECT_EQ(scan.host.maxima, std::vector<int>{-1});
  EXPECT_TRUE(scan.findings.Empty());
}

}  // namespace

}  // namespace qm::testing
