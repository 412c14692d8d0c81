#include <gtest/gtest.h>

#include "category_fixture.h"
#include "text/encoding.h"

namespace qm::testing {

namespace {

TEST(HelpFiles, OneProgressRunCountsTheItemsOfAllThreeSources) {
  ScanFixture scan;
  LoadCategoryFixture(scan, "help_files");
  scan.Scan(L"CheckBoxHelp");
  // The run's start, the category's start, one step per item running on from one
  // source to the next, the category's end, the run's end.
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
      {L"QuillmereGone.HLP", {1, 2, 3, 4}},                    // a help file by its name
      {L"quillmerefixture\\help", {0, 1, 2, 4}},               // a snap-in topic by its data, not a folder
      {L"\\MMC\\SnapIns\\", {0, 1, 2, 3}},                     // "HelpTopic" by the snap-in's key path
      {L"SnapInLinkedGone", {0, 1, 2, 4}},                     // "LinkedHelpTopics" by the subkey name
      {L"\\SnapIns\\QuillmereSnapInLinked", {0, 1, 2, 3, 4}},  // but not by its key path
  };
  const std::vector<std::wstring> expected = ExpectedRows("help_files");
  for (const Case& c : cases) {
    ScanFixture scan;
    LoadCategoryFixture(scan, "help_files");
    scan.Exclude(c.exclusion);
    scan.Scan(L"CheckBoxHelp");
    std::vector<std::wstring> kept;
    for (std::size_t index : c.kept) kept.push_back(expected[index]);
    EXPECT_EQ(scan.Rows(), kept) << ToUtf8(c.exclusion);
  }
}

}  // namespace

}  // namespace qm::testing
