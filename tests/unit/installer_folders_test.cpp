#include "setup_fixture_test.h"

namespace qm::testing {

namespace {

constexpr std::wstring_view kCategory = L"CheckBoxInstall";

class InstallerFoldersTest : public SetupFixtureTest {
 protected:
  InstallerFoldersTest() : SetupFixtureTest("installer_folders.reg", "installer_folders_expected.tsv") {}
};

// Existing folders (with or without a trailing backslash), removable and CD-ROM
// drives and environment references are passed over; a file is not a folder.
TEST_F(InstallerFoldersTest, ReportsNamesWhoseFolderIsGone) {
  scan.Scan(kCategory);
  EXPECT_EQ(scan.Rows(), expected);
  EXPECT_EQ(scan.host.maxima, std::vector<int>{8});  // number of values - 1
  EXPECT_EQ(scan.host.position, 8);
}

TEST_F(InstallerFoldersTest, TheExclusionCandidateIsTheName) {
  scan.Exclude(L"APP.EXE");
  scan.Scan(kCategory);
  EXPECT_EQ(scan.Rows(), (std::vector<std::wstring>{expected[0], expected[2]}));
}

TEST_F(InstallerFoldersTest, StopAddsNothingMore) {
  scan.host.stopAtItem = L"C:\\QuillmereSetup\\App\\app.exe";
  scan.Scan(kCategory);
  EXPECT_EQ(scan.Rows(), std::vector<std::wstring>{expected[0]});
  EXPECT_EQ(scan.host.positionsAfterStop, (std::vector<int>{0, 8, 8}));
}

}  // namespace

}  // namespace qm::testing
