#include <gtest/gtest.h>

#include <algorithm>

#include "category_fixture.h"
#include "scan_test_support.h"

namespace qm::testing {

namespace {

// The fixture's findings, by their place in file_types_expected.tsv.
enum ExpectedRow {
  kChoiceOpenWithList,
  kEmptyOpenWithList,
  kValuedOpenWithList,
  kEmptyExtensionRecord,
  kEmptyClass,
  kIconGone,
  kIconIndex2,
  kEmptyApplication,
  kApplicationExplorerPath,
  kPlayerOpen,
  kPlayerPlay,
  kClassOpen,
  kClassPrint,
  kCurVerGone,
  kExpectedRows
};

// The fixture has 5 extensions under FileExts (rows 0 and 1), 24 classes (rows 2, 3,
// 8, 9 and 10) and 4 applications (rows 4 to 7).
constexpr int kItems = 2 * 5 + 5 * 24 + 4 * 4;

std::vector<std::wstring> Expected() { return ExpectedFixtureRows("file_types_expected.tsv"); }

std::vector<std::wstring> ExpectedWithout(std::initializer_list<ExpectedRow> left) {
  std::vector<std::wstring> rows = Expected();
  std::vector<std::wstring> kept;
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (std::ranges::count(left, static_cast<ExpectedRow>(i)) == 0) kept.push_back(rows[i]);
  return kept;
}

class FileTypesTest : public ::testing::Test {
 protected:
  FileTypesTest() {
    scan.ImportRegFixture("file_types.reg");
    scan.CopyFixtureToDriveC("file_types_and_sounds_drive_c");
  }
  ScanFixture scan;
};

TEST_F(FileTypesTest, ReportsEmptyKeysAndKeysWhoseIconCommandOrVersionIsGone) {
  scan.Scan(L"CheckBoxFileExts");
  // Icons with index 1x, "AppX" classes, icon keys with subkeys, "%" texts, expandable
  // strings, numbers, empty texts, rundll32, explorer and two-value class commands, and
  // CurVer naming an existing class are all passed over, without an error.
  ASSERT_EQ(Expected().size(), static_cast<std::size_t>(kExpectedRows));
  EXPECT_EQ(scan.Rows(), Expected());
  EXPECT_TRUE(RanWithoutError(scan.host));
  for (const Finding& finding : scan.findings.Rows()) EXPECT_EQ(finding.view, RegView::Bits64);
  EXPECT_EQ(scan.host.maxima, std::vector<int>{kItems - 1});
  EXPECT_EQ(scan.host.position, kItems - 1);
  EXPECT_EQ(scan.host.total, static_cast<std::size_t>(kExpectedRows));
}

TEST_F(FileTypesTest, StatusShowsTheCaptionAndEachItemKey) {
  scan.host.captions[L"CheckBoxFileExts"] = L"File types";
  scan.Scan(L"CheckBoxFileExts");
  ASSERT_EQ(scan.host.shownItems.size(), static_cast<std::size_t>(kItems));
  EXPECT_EQ(scan.host.shownItems.front(),
            L"File types|\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.quillmerechoice"
            L"\\OpenWithList\\");
  EXPECT_EQ(scan.host.shownItems.back(), L"File types|\\SOFTWARE\\Classes\\QuillmereVerGone\\CurVer\\");
  EXPECT_EQ(scan.findings[0].category, L"File types");
}

// A record whose only subkey is an empty "OpenWithList" goes as a whole; one that also
// holds the user's chosen program keeps it and loses only the empty list.
TEST_F(FileTypesTest, AnExtensionRecordIsDeletedWholeOnlyWhenNothingElseIsInIt) {
  scan.Scan(L"CheckBoxFileExts");
  const std::vector<std::wstring> rows = scan.Rows();
  const auto wholeChoiceRecord = [](const std::wstring& row) {
    return row.find(L"\\.quillmerechoice|") != std::wstring::npos;
  };
  EXPECT_EQ(std::ranges::count_if(rows, wholeChoiceRecord), 0);
  EXPECT_EQ(rows[kEmptyExtensionRecord],
            L"HKEY_CURRENT_USER|\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.quillmereempty"
            L"|||Типы файлов|DelKey");
}

TEST_F(FileTypesTest, ExclusionCandidatesAreTheItemKeyAndTheText) {
  scan.Exclude(L"QUILLMEREICON.GONE");          // an icon's key
  scan.Exclude(L"gone.dll,2");                  // an icon's text
  scan.Exclude(L"\\FileExts\\.quillmereempty");  // a record's key path, part of its OpenWithList
  scan.Exclude(L"quillmerevergone.9");          // a CurVer text
  scan.Exclude(L"\\quillmereempty.exe\\");      // an empty key
  scan.Exclude(L"quillmereplayer", false);
  scan.Scan(L"CheckBoxFileExts");
  EXPECT_EQ(scan.Rows(), ExpectedWithout({kIconGone, kIconIndex2, kEmptyOpenWithList, kEmptyExtensionRecord,
                                          kCurVerGone, kEmptyApplication}));
}

TEST_F(FileTypesTest, StopLeavesTheItemUntestedAndEndsTheCategory) {
  scan.host.stopAtItem = L"\\SOFTWARE\\Classes\\QuillmereIcon.Index2\\DefaultIcon\\";
  scan.Scan(L"CheckBoxFileExts");
  const std::vector<std::wstring> expected = Expected();
  EXPECT_EQ(scan.Rows(), std::vector<std::wstring>(expected.begin(), expected.begin() + kIconIndex2));
  EXPECT_EQ(scan.host.positionsAfterStop, (std::vector<int>{0, kItems - 1, kItems - 1}));
  EXPECT_EQ(scan.host.shownItems.back(), L"Типы файлов|" + *scan.host.stopAtItem);
}

TEST(FileTypes, EmptyBaseKeysLeaveTheProgressMaximumAsItWas) {
  ScanFixture scan;
  scan.ImportReg(LR"([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts]

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes]
)");
  scan.host.maximum = 7;
  scan.Scan(L"CheckBoxFileExts");
  EXPECT_TRUE(scan.findings.Empty());
  EXPECT_TRUE(scan.host.maxima.empty());
  EXPECT_EQ(scan.host.position, 7);
}

// Only keys of the 64-bit view are read.
TEST(FileTypes, TheThirtyTwoBitClassesAreNotRead) {
  ScanFixture scan;
  scan.ImportReg(LR"([HKEY_LOCAL_MACHINE\SOFTWARE\WOW6432Node\Classes\.quillmere32]
)");
  scan.Scan(L"CheckBoxFileExts");
  EXPECT_TRUE(scan.findings.Empty());
}

}  // namespace

}  // namespace qm::testing
