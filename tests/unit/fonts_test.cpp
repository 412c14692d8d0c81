#include <gtest/gtest.h>

#include "category_fixture.h"

namespace qm::testing {

namespace {

class FontsTest : public ::testing::Test {
 protected:
  FontsTest() { LoadCategoryFixture(scan, "fonts"); }
  ScanFixture scan;
  const std::vector<std::wstring> expected = ExpectedRows("fonts");
};

TEST_F(FontsTest, ReportsFacesWhoseFileIsNeitherInTheFontsFolderNorAtItsPath) {
  scan.Scan(L"CheckBoxFonts");
  EXPECT_EQ(scan.Rows(), expected);
  for (const Finding& finding : scan.findings.Rows()) EXPECT_EQ(finding.view, RegView::Bits64);
  // The binary and the number are passed over and the run goes on to its end.
  EXPECT_TRUE(RanWithoutError(scan.host));
  EXPECT_EQ(scan.host.maxima, std::vector<int>{9});  // ten faces, the number - 1
  EXPECT_EQ(scan.host.position, 9);
}

TEST_F(FontsTest, OnlyTheFaceNameIsAskedOfTheExclusions) {
  scan.Exclude(L"QUILLMERE GONE");
  scan.Exclude(L"fonts\\lost.ttf");  // the file's path, which is no candidate
  scan.Scan(L"CheckBoxFonts");
  EXPECT_EQ(scan.Rows(), (std::vector<std::wstring>{expected[1], expected[2]}));
}

TEST_F(FontsTest, StopKeepsEarlierFindingsAndLeavesTheBar) {
  scan.host.stopAtItem = L"C:\\QuillmereFixture\\Fonts\\lost.ttf";
  scan.Scan(L"CheckBoxFonts");
  EXPECT_EQ(scan.Rows(), std::vector<std::wstring>{expected[0]});
  // Only the Stop press and the end of the run move the bar.
  EXPECT_EQ(scan.host.positionsAfterStop, (std::vector<int>{0, 9, 9}));
}

TEST(Fonts, AFailedFontsFolderQueryLeavesOnlyThePathAsGiven) {
  ScanFixture scan;
  LoadCategoryFixture(scan, "fonts");
  scan.shell.SetSpecialFolder(csidl::Fonts, L"");
  scan.Scan(L"CheckBoxFonts");
  std::vector<std::wstring> expected = ExpectedRows("fonts");
  expected.insert(expected.begin(),
                  L"HKEY_LOCAL_MACHINE|\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts|"
                  L"Quillmere In Fonts Folder (TrueType)|QuillmereFixture.ttf|Шрифты|DelVal");
  EXPECT_EQ(scan.Rows(), expected);
}

}  // namespace

}  // namespace qm::testing
