#include <gtest/gtest.h>

#include "category_fixture.h"
#include "scan_test_support.h"

namespace qm::testing {

namespace {

// Seven events in the default section and one of Explorer, each walked in two schemes.
constexpr int kItems = 2 * 7 + 2 * 1;

class WindowsSoundsTest : public ::testing::Test {
 protected:
  WindowsSoundsTest() {
    scan.ImportRegFixture("sounds.reg");
    scan.CopyFixtureToDriveC("file_types_and_sounds_drive_c");
  }
  ScanFixture scan;
  const std::vector<std::wstring> expected = ExpectedFixtureRows("sounds_expected.tsv");
};

TEST_F(WindowsSoundsTest, ReportsAssignedSoundsWhoseFileIsGone) {
  scan.Scan(L"CheckBoxSound");
  // Not reported: present files, a bare name in the Windows folder's Media, expandable
  // strings, "%" texts, empty sounds, numbers, missing default values, other schemes
  // and other applications.
  EXPECT_EQ(scan.Rows(), expected);
  EXPECT_TRUE(RanWithoutError(scan.host));
  for (const Finding& finding : scan.findings.Rows()) EXPECT_EQ(finding.view, RegView::Bits64);
  EXPECT_EQ(scan.host.maxima, std::vector<int>{kItems - 1});
  EXPECT_EQ(scan.host.position, kItems - 1);
  EXPECT_EQ(scan.host.shownItems.front(),
            L"Звуки Windows|\\AppEvents\\Schemes\\Apps\\.Default\\QuillmereExpand\\.Current\\");
}

TEST_F(WindowsSoundsTest, TheMediaFolderIsTheOneThePlatformNames) {
  scan.shell.SetSpecialFolder(csidl::Windows, L"C:\\OtherWindows");
  scan.AddFile(L"C:\\OtherWindows\\Media\\QuillmereNoSuchChime.wav");
  scan.Scan(L"CheckBoxSound");
  EXPECT_EQ(scan.Rows(), (std::vector<std::wstring>{
                             expected[0],
                             L"HKEY_CURRENT_USER|\\AppEvents\\Schemes\\Apps\\.Default\\QuillmereMedia\\.Current\\"
                             L"||QuillmereChime.wav|Звуки Windows|DelVal",
                             expected[2],
                         }));
}

TEST_F(WindowsSoundsTest, ExclusionCandidatesAreTheEventKeyAndTheSound) {
  scan.Exclude(L"QUILLMERENAVIGATING");  // the event's key
  scan.Exclude(L"nosuchchime");          // the sound
  scan.Exclude(L"gone.wav", false);
  scan.Scan(L"CheckBoxSound");
  EXPECT_EQ(scan.Rows(), std::vector<std::wstring>{expected[0]});
}

TEST_F(WindowsSoundsTest, StopEndsTheCategory) {
  scan.host.stopAtItem = L"\\AppEvents\\Schemes\\Apps\\.Default\\QuillmereMedia\\.Default\\";
  scan.Scan(L"CheckBoxSound");
  EXPECT_EQ(scan.Rows(), std::vector<std::wstring>{expected[0]});
  EXPECT_EQ(scan.host.shownItems.back(), L"Звуки Windows|" + *scan.host.stopAtItem);
  EXPECT_EQ(scan.host.positionsAfterStop, (std::vector<int>{0, kItems - 1, kItems - 1}));
}

}  // namespace

}  // namespace qm::testing
