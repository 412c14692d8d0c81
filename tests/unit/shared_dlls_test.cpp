#include <gtest/gtest.h>

#include "scan_test_support.h"

namespace qm::testing {

namespace {

constexpr std::wstring_view kKey = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs\\";

// Value names in enumeration order; the reference counts play no part.
constexpr std::wstring_view kSharedDlls = LR"([HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\SharedDLLs]
"%SystemRoot%\\System32\\x.dll"=dword:00000001
"C:\\Program Files\\Old\\lib.dll"=dword:00000001
"C:\\Windows\\System32\\gone.dll"=dword:00000002
"c:\\windows\\sysTEM32\\gone2.dll"=dword:00000001
"E:\\Removable\\lib.dll"=dword:00000001
"D:\\Disc\\lib.dll"=dword:00000001
"C:\\Apps"=dword:00000001
"C:\\Apps\\*.exe"=dword:00000001
"C:\\Apps\\present.exe"=dword:00000000
"C:\\Temp\\App.dll"=dword:00000001
"C:\\Old\\Tail.dll"=dword:00000001

[HKEY_LOCAL_MACHINE\SOFTWARE\WOW6432Node\Microsoft\Windows\CurrentVersion\SharedDLLs]
"C:\\Only32\\lib.dll"=dword:00000001
)";

std::wstring SharedDllRow(std::wstring_view path) {
  return L"HKEY_LOCAL_MACHINE|" + std::wstring(kKey) + L"|" + std::wstring(path) + L"||Общие (тест)|DelVal";
}

class SharedDllsTest : public ::testing::Test {
 protected:
  SharedDllsTest() {
    scan.ImportReg(kSharedDlls);
    scan.AddFile(L"C:\\Apps\\present.exe");
    scan.host.captions[L"CheckBoxSharedDLLs"] = L"Общие (тест)";
  }
  ScanFixture scan;
};

TEST_F(SharedDllsTest, ReportsMissingFilesOnFixedDrivesInTheSixtyFourBitView) {
  scan.Scan(L"CheckBoxSharedDLLs");
  EXPECT_EQ(scan.Rows(), (std::vector<std::wstring>{SharedDllRow(L"C:\\Program Files\\Old\\lib.dll"),
                                                    SharedDllRow(L"C:\\Temp\\App.dll"),
                                                    SharedDllRow(L"C:\\Old\\Tail.dll")}));
  for (const Finding& finding : scan.findings.Rows()) EXPECT_EQ(finding.view, RegView::Bits64);
  EXPECT_EQ(scan.host.maxima, std::vector<int>{11});  // one per name
  EXPECT_EQ(scan.host.position, 11);
  EXPECT_EQ(scan.host.total, 3u);
  EXPECT_TRUE(scan.host.fixEnabled);
}

TEST_F(SharedDllsTest, CheckedExclusionsMatchThePathInAnyCase) {
  scan.Exclude(L"TEMP");
  scan.Exclude(L"old\\tail", false);
  scan.Scan(L"CheckBoxSharedDLLs");
  EXPECT_EQ(scan.Rows(), (std::vector<std::wstring>{SharedDllRow(L"C:\\Program Files\\Old\\lib.dll"),
                                                    SharedDllRow(L"C:\\Old\\Tail.dll")}));
}

TEST_F(SharedDllsTest, StopKeepsEarlierFindingsAndAddsNothingMore) {
  scan.host.stopAtItem = L"C:\\Temp\\App.dll";
  scan.Scan(L"CheckBoxSharedDLLs");
  EXPECT_EQ(scan.Rows(), std::vector<std::wstring>{SharedDllRow(L"C:\\Program Files\\Old\\lib.dll")});
  // Only the Stop press (bar to 0, then to its maximum) and the end of the run move
  // the bar: the category neither walks on nor finishes its progress.
  EXPECT_EQ(scan.host.positionsAfterStop, (std::vector<int>{0, 11, 11}));
  EXPECT_EQ(scan.host.stateAfterStop, RunState::Stopping);
  EXPECT_EQ(scan.scanner.State(), RunState::Idle);
}

TEST(SharedDlls, AMissingKeyLeavesTheProgressAlone) {
  ScanFixture empty;
  empty.Scan(L"CheckBoxSharedDLLs");
  EXPECT_TRUE(empty.findings.Empty());
  EXPECT_TRUE(empty.host.maxima.empty());
}

// Drive types asked of the file system, by drive part.
class DriveTypeCountingFiles : public SubstituteFileSystem {
 public:
  std::vector<std::wstring> asked;
  DriveType GetDriveType(std::wstring_view drivePart) override {
    asked.emplace_back(drivePart);
    return SubstituteFileSystem::GetDriveType(drivePart);
  }
};

TEST_F(SharedDllsTest, EachDriveTypeIsAskedOncePerRun) {
  DriveTypeCountingFiles files;
  files.MapDrive(L'C', scan.driveC.path());
  files.MapDrive(L'E', scan.driveE.path(), DriveType::Removable);
  files.AddEmptyDrive(L'D', DriveType::CdRom);
  const Platform platform{scan.registry, files, scan.shell, scan.locale, scan.clock};
  Scanner scanner(platform, scan.host, scan.findings, scan.exclusions);
  scan.host.checked = {L"CheckBoxSharedDLLs"};
  scanner.StartSearch();
  const std::vector<std::wstring> oneRun{L"C:", L"E:", L"D:"};  // "c:" is drive C: too
  EXPECT_EQ(files.asked, oneRun);
  EXPECT_EQ(scan.findings.Size(), 3u);  // as without the counting
  scanner.StartSearch();  // a new run asks again
  EXPECT_EQ(files.asked.size(), 2 * oneRun.size());
}

}  // namespace

}  // namespace qm::testing
