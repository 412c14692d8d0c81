#include <gtest/gtest.h>

#include "category_fixture.h"
#include "text/encoding.h"

namespace qm::testing {

namespace {

class HelpFilesTest : public ::testing::Test {
 protected:
  HelpFilesTest() { LoadCategoryFixture(scan, "help_files"); }
  ScanFixture scan;
  const std::vector<std::wstring> expected = ExpectedRows("help_files");
};

TEST_F(HelpFilesTest, ReportsMissingHelpFilesAndSnapInTopicsThatAreThere) {
  scan.Scan(L"CheckBoxHelp");
  EXPECT_EQ(scan.Rows(), expected);
  for (const Finding& finding : scan.findings.Rows()) EXPECT_EQ(finding.view, RegView::Bits64);
  EXPECT_TRUE(RanWithoutError(scan.host));
}

TEST_F(HelpFilesTest, OneProgressRunCountsTheItemsOfAllThreeSources) {
  scan.Scan(L"CheckBoxHelp");
  EXPECT_EQ(scan.host.maxima, std::vector<int>{14});  // 7 + 3 + 5 items, the total - 1
  // The run's start, the category's start, one step per item, its end, the run's end.
  std::vector<int> positions{0, 0};
  for (int item = 0; item <= 14; ++item) positions.push_back(item);
  positions.insert(positions.end(), {14, 14});
  EXPECT_EQ(scan.host.positions, positions);
}

TEST(HelpFiles, ExclusionCandidatesDifferBySource) {
  struct Case {
    std::wstring exclusion;
    std::vector<std::size_t> kept;  // indexes into the expected rows
  };
  const Case cases[] = {
      {L"QuillmereGone.HLP", {1, 2, 3, 4}},            // a help file by its name
      {L"quillmerefixture\\help", {0, 1, 2, 4}},       // a snap-in topic by its data, not a folder
      {L"\\MMC\\SnapIns\\", {0, 1, 2, 3}},             // "HelpTopic" by the snap-in's key path
      {L"SnapInLinkedGone", {0, 1, 2, 4}},             // "LinkedHelpTopics" by the subkey name
      {L"\\SnapIns\\QuillmereSnapInLinked", {0, 1, 2, 3, 4}},  // but not by its key path
  };
  for (const Case& c : cases) {
    ScanFixture scan;
    LoadCategoryFixture(scan, "help_files");
    scan.Exclude(c.exclusion);
    scan.Scan(L"CheckBoxHelp");
    const std::vector<std::wstring> expected = ExpectedRows("help_files");
    std::vector<std::wstring> kept;
    for (std::size_t index : c.kept) kept.push_back(expected[index]);
    EXPECT_EQ(scan.Rows(), kept) << ToUtf8(c.exclusion);
  }
}

TEST_F(HelpFilesTest, StopInTheSecondSourceSkipsTheSnapIns) {
  scan.host.stopAtItem = L"QuillmereLost.chm";
  scan.Scan(L"CheckBoxHelp");
  EXPECT_EQ(scan.Rows(), std::vector<std::wstring>{expected[0]});
  EXPECT_EQ(scan.host.positionsAfterStop, (std::vector<int>{0, 14, 14}));
}

}  // namespace

}  // namespace qm::testing
