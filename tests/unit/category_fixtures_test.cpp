// What the fonts, help files, known DLLs and codecs scans share, over their fixtures.
#include <gtest/gtest.h>

#include <memory>

#include "category_fixture.h"

namespace qm::testing {

namespace {

struct FixtureScan {
  std::string fixture;
  std::wstring checkBoxName;
};

// A scan of the category over its fixture.
std::unique_ptr<ScanFixture> Loaded(const FixtureScan& category) {
  auto scan = std::make_unique<ScanFixture>();
  LoadCategoryFixture(*scan, category.fixture);
  return scan;
}

TEST(CategoryFixtures, BrokenEntriesAreFoundInTheSixtyFourBitViewAndOtherTypesPassedOver) {
  struct Case {
    FixtureScan category;
    int maximum;  // the number of items - 1
  };
  const Case cases[] = {
      {{"fonts", L"CheckBoxFonts"}, 9},
      {{"help_files", L"CheckBoxHelp"}, 14},  // 7 + 3 + 5 items of three sources
      {{"known_dlls", L"CheckBoxKnownDLLs"}, 10},
      {{"codecs", L"CheckBoxCodec"}, 9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.category.fixture);
    auto scan = Loaded(c.category);
    scan->Scan(c.category.checkBoxName);
    EXPECT_EQ(scan->Rows(), ExpectedRows(c.category.fixture));
    for (const Finding& finding : scan->findings.Rows()) EXPECT_EQ(finding.view, RegView::Bits64);
    // Numbers and binaries among the values leave the run going to its end.
    EXPECT_TRUE(RanWithoutError(scan->host));
    EXPECT_EQ(scan->host.maxima, std::vector<int>{c.maximum});
    EXPECT_EQ(scan->host.position, c.maximum);
  }
}

TEST(CategoryFixtures, OnlyTheValueNameIsAskedOfTheExclusions) {
  struct Case {
    FixtureScan category;
    std::wstring nameExclusion;   // part of the first finding's value name
    std::wstring dataExclusion;   // part of the second finding's data, which is no candidate
  };
  const Case cases[] = {
      {{"fonts", L"CheckBoxFonts"}, L"QUILLMERE GONE", L"fonts\\lost.ttf"},
      {{"known_dlls", L"CheckBoxKnownDLLs"}, L"quillmereGONE", L"knowndlls\\gone.dll"},
      {{"codecs", L"CheckBoxCodec"}, L"msacm.QUILLMEREGONE", L"codecs\\lost.dll"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.category.fixture);
    auto scan = Loaded(c.category);
    scan->Exclude(c.nameExclusion);
    scan->Exclude(c.dataExclusion);
    scan->Scan(c.category.checkBoxName);
    std::vector<std::wstring> kept = ExpectedRows(c.category.fixture);
    kept.erase(kept.begin());
    EXPECT_EQ(scan->Rows(), kept);
  }
}

TEST(CategoryFixtures, StopKeepsEarlierFindingsAndLeavesTheBar) {
  struct Case {
    FixtureScan category;
    std::wstring stopAtItem;  // the status bar's item text when Stop is pressed
    int maximum;
  };
  const Case cases[] = {
      {{"fonts", L"CheckBoxFonts"}, L"C:\\QuillmereFixture\\Fonts\\lost.ttf", 9},
      {{"help_files", L"CheckBoxHelp"}, L"QuillmereLost.chm", 14},  // in the second source: no snap-in is tested
      {{"known_dlls", L"CheckBoxKnownDLLs"}, L"C:\\QuillmereFixture\\KnownDLLs\\gone.dll", 10},
      {{"codecs", L"CheckBoxCodec"}, L"C:\\QuillmereFixture\\Codecs\\lost.dll", 9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.category.fixture);
    auto scan = Loaded(c.category);
    scan->host.stopAtItem = c.stopAtItem;
    scan->Scan(c.category.checkBoxName);
    EXPECT_EQ(scan->Rows(), std::vector<std::wstring>{ExpectedRows(c.category.fixture)[0]});
    // Only the Stop press (the bar to 0, then to its maximum) and the end of the run
    // move the bar: the category neither walks on nor finishes its progress.
    EXPECT_EQ(scan->host.positionsAfterStop, (std::vector<int>{0, c.maximum, c.maximum}));
  }
}

}  // namespace

}  // namespace qm::testing
