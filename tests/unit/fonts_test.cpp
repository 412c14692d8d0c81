#include <gtest/gtest.h>

#include "category_fixture.h"

namespace qm::testing {

namespace {

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
