#include <gtest/gtest.h>

#include "fixture_folder.h"

namespace qm::testing {

namespace {

constexpr std::wstring_view kCheckBox = L"CheckBoxFirewallPolicy";

// Five entries in the domain list and six in the standard one; E: is a removable
// drive, D: a CD-ROM drive and Q: no drive at all.
TEST(FirewallPolicy, ReportsPlainTextEntriesWhoseProgramIsGone) {
  ScanFixture scan;
  ExpectFolderFindings(scan, "firewall_policy", kCheckBox, 10);  // both lists counted, - 1
}

TEST(FirewallPolicy, StopInTheFirstListEndsTheCategory) {
  ScanFixture scan;
  ExpectStopAt(scan, "firewall_policy", kCheckBox, L"C:\\QuillmereFixture\\Firewall\\gone.exe", 0, 10);
}

TEST(FirewallPolicy, WithoutListsTheProgressIsLeftAlone) {
  ScanFixture scan;
  scan.Scan(kCheckBox);
  EXPECT_TRUE(scan.host.maxima.empty());
  EXPECT_TRUE(scan.findings.Empty());
}

}  // namespace

}  // namespace qm::testing
