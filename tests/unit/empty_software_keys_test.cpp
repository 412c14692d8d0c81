#include <gtest/gtest.h>

#include "scan_test_support.h"

namespace qm::testing {

namespace {

class EmptySoftwareKeysTest : public ::testing::Test {
 protected:
  EmptySoftwareKeysTest() { scan.ImportRegFixture("software_keys.reg"); }
  ScanFixture scan;
  const std::vector<std::wstring> expected = ExpectedFixtureRows("software_keys_expected.tsv");
};

TEST_F(EmptySoftwareKeysTest, ReportsEmptyFirstLevelKeysOfTheThirtyTwoBitView) {
  scan.Scan(L"CheckBoxHKLMSOFTWARE");
  // Not reported: the empty key that only the 64-bit view holds, a key whose only
  // content is a set (empty) default value, a key holding only an empty subkey, and
  // that subkey, which lies one level too deep.
  EXPECT_EQ(scan.Rows(), expected);
  for (const Finding& finding : scan.findings.Rows()) EXPECT_EQ(finding.view, RegView::Bits32);
  // Three machine-wide vendor keys in the 32-bit view, two of the user.
  EXPECT_EQ(scan.host.maxima, std::vector<int>{5 - 1});
  EXPECT_EQ(scan.host.position, 4);
}

// The repair deletes a finding through the view it was made in: the machine-wide key
// found empty in the 32-bit view goes, its 64-bit namesake keeps its data.
TEST_F(EmptySoftwareKeysTest, DeletingThroughTheFindingsViewSparesTheSixtyFourBitNamesake) {
  scan.Scan(L"CheckBoxHKLMSOFTWARE");
  ASSERT_FALSE(scan.findings.Empty());
  const Finding& found = scan.findings[0];
  ASSERT_EQ(found.keyPath, L"\\SOFTWARE\\QuillmereEmptyVendor\\");
  Registry repair(scan.registry, found.root, access::AllAccess | ViewBits(found.view));
  EXPECT_TRUE(repair.DeleteKey(found.keyPath));

  Registry view32(scan.registry, RootKey::LocalMachine, access::Read32);
  EXPECT_FALSE(view32.KeyExists(found.keyPath));
  Registry view64(scan.registry, RootKey::LocalMachine, access::Read64);
  ASSERT_TRUE(view64.OpenKey(found.keyPath));
  EXPECT_EQ(view64.ReadString(L"InstallDir"), L"C:\\QuillmereFixture");
  EXPECT_TRUE(view64.KeyExists(L"\\SOFTWARE\\QuillmereEmptyVendor\\Settings\\"));
}

TEST_F(EmptySoftwareKeysTest, StatusShowsFixedTextsWhateverTheCaption) {
  scan.host.captions[L"CheckBoxHKLMSOFTWARE"] = L"Empty software keys";
  scan.Scan(L"CheckBoxHKLMSOFTWARE");
  EXPECT_EQ(scan.host.shownItems, (std::vector<std::wstring>{
                                      L"HKLM SOFTWARE: |\\SOFTWARE\\QuillmereDefaultOnly\\",
                                      L"HKLM SOFTWARE: |\\SOFTWARE\\QuillmereEmptyVendor\\",
                                      L"HKLM SOFTWARE: |\\SOFTWARE\\QuillmereParent\\",
                                      L"HKCU SOFTWARE: |\\SOFTWARE\\QuillmereEmptyUser\\",
                                      L"HKCU SOFTWARE: |\\SOFTWARE\\QuillmereUserValue\\",
                                  }));
  ASSERT_EQ(scan.findings.Size(), 2u);
  EXPECT_EQ(scan.findings[1].category, L"Empty software keys");
}

TEST_F(EmptySoftwareKeysTest, AnExclusionOfTheVendorSuppressesItUnderBothRoots) {
  scan.ImportReg(L"[HKEY_CURRENT_USER\\Software\\QuillmereEmptyVendor]\r\n");
  scan.Exclude(L"quillmereemptyvendor");
  scan.Exclude(L"EmptyUser", false);
  scan.Scan(L"CheckBoxHKLMSOFTWARE");
  EXPECT_EQ(scan.Rows(), std::vector<std::wstring>{expected[1]});
}

TEST_F(EmptySoftwareKeysTest, StopEndsTheCategoryBeforeTheNextKey) {
  scan.host.stopAtItem = L"\\SOFTWARE\\QuillmereParent\\";
  scan.Scan(L"CheckBoxHKLMSOFTWARE");
  EXPECT_EQ(scan.Rows(), std::vector<std::wstring>{expected[0]});
  EXPECT_EQ(scan.host.shownItems.back(), L"HKLM SOFTWARE: |\\SOFTWARE\\QuillmereParent\\");
  EXPECT_EQ(scan.host.positionsAfterStop, (std::vector<int>{0, 4, 4}));
}

}  // namespace

}  // namespace qm::testing
