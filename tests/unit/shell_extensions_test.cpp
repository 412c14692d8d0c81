#include <gtest/gtest.h>

#include "scan_test_support.h"

namespace qm::testing {

namespace {

#define QM_APPROVED L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved"

constexpr std::wstring_view kCheckBox = L"CheckBoxShellExtensions";

// The fixture's approved list holds nine values in the 64-bit view, among them a
// number and a byte array, which are passed over while the scan goes on to the end.
TEST(ShellExtensions, ReportsApprovedEntriesWhoseClassIsNotRegisteredInTheSixtyFourBitView) {
  ScanFixture scan;
  scan.LoadFixtureFolder("shell_extensions");
  scan.Scan(kCheckBox);
  EXPECT_EQ(scan.Rows(), ExpectedRows("shell_extensions"));
  for (const Finding& finding : scan.findings.Rows()) EXPECT_EQ(finding.view, RegView::Bits64);
  EXPECT_FALSE(scan.host.SawError());
  EXPECT_EQ(scan.host.maxima, std::vector<int>{8});  // number of values - 1
  EXPECT_EQ(scan.host.position, 8);
}

TEST(ShellExtensions, OnlyTheClassIdentifierIsAnExclusionCandidate) {
  ScanFixture scan;
  scan.ImportReg(L"[" QM_APPROVED L"]\r\n\"{0D1E7E7E-0000-4000-8000-000000000001}\"=\"Old menu handler\"\r\n");
  scan.Exclude(L"shell extensions\\approved");
  scan.Exclude(L"old menu");
  scan.Scan(kCheckBox);
  EXPECT_EQ(scan.findings.Size(), 1u);
  scan.Exclude(L"-0000-4000-");
  scan.Scan(kCheckBox);
  EXPECT_TRUE(scan.findings.Empty());
}

TEST(ShellExtensions, StopEndsTheCategoryWithoutFinishingTheProgress) {
  ScanFixture scan;
  scan.LoadFixtureFolder("shell_extensions");
  scan.host.stopAtItem = L"Quillmere expandable extension";
  scan.Scan(kCheckBox);
  EXPECT_EQ(scan.Rows(), std::vector<std::wstring>{ExpectedRows("shell_extensions")[0]});
  // Only the Stop press (bar to 0, then to its maximum) and the end of the run move the bar.
  EXPECT_EQ(scan.host.positionsAfterStop, (std::vector<int>{0, 8, 8}));
}

TEST(ShellExtensions, AnEmptyOrMissingListSetsNoMaximum) {
  ScanFixture empty;
  empty.ImportReg(L"[" QM_APPROVED L"]\r\n");
  empty.Scan(kCheckBox);
  EXPECT_TRUE(empty.host.maxima.empty());
  EXPECT_TRUE(empty.findings.Empty());

  ScanFixture missing;
  missing.Scan(kCheckBox);
  EXPECT_TRUE(missing.host.maxima.empty());
}

}  // namespace

}  // namespace qm::testing
