#include <gtest/gtest.h>

#include "scan_test_support.h"

namespace qm::testing {

namespace {

constexpr std::wstring_view kStandardList =
    L"\\SYSTEM\\CurrentControlSet\\Services\\SharedAccess\\Parameters\\FirewallPolicy\\StandardProfile\\"
    L"AuthorizedApplications\\List\\";

constexpr std::wstring_view kCheckBox = L"CheckBoxFirewallPolicy";

// Five entries in the domain list and four in the standard one.
TEST(FirewallPolicy, ReportsPlainTextEntriesWhoseProgramIsGone) {
  ScanFixture scan;
  scan.ExpectFixtureFindings("firewall_policy", kCheckBox, 8);  // both lists counted, - 1
}

// E: is removable, D: a CD-ROM drive without a disc, Q: no drive at all.
TEST(FirewallPolicy, ProgramsOnRemovableAndCdRomDrivesAreNeverReported) {
  ScanFixture scan;
  scan.ImportReg(L"[HKEY_LOCAL_MACHINE" + std::wstring(kStandardList) +
                 L"]\r\n"
                 L"\"E:\\\\Gone\\\\tool.exe\"=\"E:\\\\Gone\\\\tool.exe:*:Enabled:Tool\"\r\n"
                 L"\"D:\\\\Setup\\\\setup.exe\"=\"D:\\\\Setup\\\\setup.exe:*:Enabled:Setup\"\r\n"
                 L"\"Q:\\\\Gone\\\\game.exe\"=\"Q:\\\\Gone\\\\game.exe:*:Enabled:Game\"\r\n");
  scan.Scan(kCheckBox);
  EXPECT_EQ(scan.Rows(), std::vector<std::wstring>{L"HKEY_LOCAL_MACHINE|" + std::wstring(kStandardList) +
                                                   L"|Q:\\Gone\\game.exe|Q:\\Gone\\game.exe:*:Enabled:Game|"
                                                   L"Брандмауэр|DelVal"});
}

TEST(FirewallPolicy, StopInTheFirstListEndsTheCategory) {
  ScanFixture scan;
  scan.ExpectStopAt("firewall_policy", kCheckBox, L"C:\\QuillmereFixture\\Firewall\\gone.exe", 0, 8);
}

TEST(FirewallPolicy, WithoutListsTheProgressIsLeftAlone) {
  ScanFixture scan;
  scan.Scan(kCheckBox);
  EXPECT_TRUE(scan.host.maxima.empty());
  EXPECT_TRUE(scan.findings.Empty());
}

}  // namespace

}  // namespace qm::testing
