#include <gtest/gtest.h>

#include "fixture_folder.h"

namespace qm::testing {

namespace {

#define QM_APPROVED L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved"

constexpr std::wstring_view kCheckBox = L"CheckBoxShellExtensions";

// The fixture's approved list holds nine values in the 64-bit view, among them a
// number and a byte array, which are passed over while the scan goes on to the end.
TEST(ShellExtensions, ReportsApprovedEntriesWhoseClassIsNotRegisteredInTheSixtyFourBitView) {
  ScanFixture scan;
  ExpectFolderFindings(scan, "shell_extensions", kCheckBox, 8);  // number of values - 1
  for (const Finding& finding : scan.findings.Rows()) EXPECT_EQ(finding.view, RegView::Bits64);
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
  ExpectStopAt(scan, "shell_extensions", kCheckBox, L"Quillmere expandable extension", 1, 8);
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
