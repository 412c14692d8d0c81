#include "setup_fixture_test.h"

namespace qm::testing {

namespace {

constexpr std::wstring_view kCategory = L"CheckBoxLoadUninstall";

// The fixture's findings by position in its expected file.
enum ExpectedRow {
  kFileNotFolderLocation, kFileNotFolderUninstall, kGoneSource, kGoneLocation, kGoneIcon, kProductSource,
  kInfBackupPath, kInfFile, kShortcut, kPatch,
};

class InstalledProgramsTest : public SetupFixtureTest {
 protected:
  InstalledProgramsTest() : SetupFixtureTest("installed_programs.reg", "installed_programs_expected.tsv") {}
};

TEST_F(InstalledProgramsTest, ReportsEachMissingStringValueOfTheFiveSources) {
  scan.Scan(kCategory);
  EXPECT_EQ(scan.Rows(), expected);
  for (const Finding& finding : scan.findings.Rows()) EXPECT_EQ(finding.view, RegView::Bits64);
  // One progress run over the 6 + 3 + 2 + 4 + 2 items of the five sources.
  EXPECT_EQ(scan.host.maxima, std::vector<int>{16});
  EXPECT_EQ(scan.host.position, 16);
}

TEST_F(InstalledProgramsTest, ExclusionCandidatesAreTheRecordKeyAndTheText) {
  scan.Exclude(L"uninstall\\quillmereappgone");  // the key: all three values of that record
  scan.Exclude(L"GONEBACKUP");                  // the text of one value only
  scan.Scan(kCategory);
  EXPECT_EQ(scan.Rows(), (std::vector<std::wstring>{expected[kFileNotFolderLocation], expected[kFileNotFolderUninstall],
                                                    expected[kProductSource], expected[kInfFile], expected[kShortcut],
                                                    expected[kPatch]}));
}

TEST_F(InstalledProgramsTest, StopEndsTheRunOverAllSources) {
  scan.host.stopAtItem = L"C:\\QuillmereSetup\\GoneMsi\\";
  scan.Scan(kCategory);
  EXPECT_EQ(scan.Rows(), std::vector<std::wstring>(expected.begin(), expected.begin() + kProductSource));
  // Only the Stop press and the end of the run move the bar.
  EXPECT_EQ(scan.host.positionsAfterStop, (std::vector<int>{0, 16, 16}));
}

TEST(InstalledPrograms, NoSourceKeysLeaveTheProgressMaximumAlone) {
  ScanFixture scan;
  scan.Scan(kCategory);
  EXPECT_TRUE(scan.findings.Empty());
  EXPECT_TRUE(scan.host.maxima.empty());
}

}  // namespace

}  // namespace qm::testing
