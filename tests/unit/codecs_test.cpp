#include <gtest/gtest.h>

#include "category_fixture.h"

namespace qm::testing {

namespace {

class CodecsTest : public ::testing::Test {
 protected:
  CodecsTest() { LoadCategoryFixture(scan, "codecs"); }
  ScanFixture scan;
  const std::vector<std::wstring> expected = ExpectedRows("codecs");
};

TEST_F(CodecsTest, ReportsMissingDriversOfPlainStringValuesOnly) {
  scan.Scan(L"CheckBoxCodec");
  EXPECT_EQ(scan.Rows(), expected);
  for (const Finding& finding : scan.findings.Rows()) EXPECT_EQ(finding.view, RegView::Bits64);
  EXPECT_TRUE(RanWithoutError(scan.host));
  EXPECT_EQ(scan.host.maxima, std::vector<int>{9});  // ten values, the number - 1
  EXPECT_EQ(scan.host.position, 9);
}

TEST_F(CodecsTest, OnlyTheAliasIsAskedOfTheExclusions) {
  scan.Exclude(L"msacm.QUILLMEREGONE");
  scan.Exclude(L"codecs\\lost.dll");  // the driver's path, which is no candidate
  scan.Scan(L"CheckBoxCodec");
  EXPECT_EQ(scan.Rows(), std::vector<std::wstring>{expected[1]});
}

TEST_F(CodecsTest, StopKeepsEarlierFindingsAndLeavesTheBar) {
  scan.host.stopAtItem = L"C:\\QuillmereFixture\\Codecs\\lost.dll";
  scan.Scan(L"CheckBoxCodec");
  EXPECT_EQ(scan.Rows(), std::vector<std::wstring>{expected[0]});
  EXPECT_EQ(scan.host.positionsAfterStop, (std::vector<int>{0, 9, 9}));
}

}  // namespace

}  // namespace qm::testing
