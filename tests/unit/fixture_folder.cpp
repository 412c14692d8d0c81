#include "fixture_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "category_fixture.h"
#include "text/encoding.h"

namespace qm::testing {

namespace {

std::string FolderFile(std::string_view folder, std::string_view file) {
  return "scan/" + std::string(folder) + "/" + std::string(file);
}

}  // namespace

void LoadFixtureFolder(ScanFixture& scan, std::string_view folder) {
  scan.ImportRegFixture(FolderFile(folder, "registry.reg"));
  scan.ExcludeFromFixture(FolderFile(folder, "exclusions.ini"));
  if (std::filesystem::is_directory(std::filesystem::path(QM_FIXTURES) / FolderFile(folder, "drive_c")))
    scan.CopyFixtureToDriveC(FolderFile(folder, "drive_c"));
}

std::vector<std::wstring> FolderExpectedRows(std::string_view folder) {
  return ExpectedFixtureRows(FolderFile(folder, "expected.tsv"));
}

void ExpectFolderFindings(ScanFixture& scan, std::string_view folder, std::wstring_view checkBoxName, int maximum) {
  SCOPED_TRACE(folder);
  LoadFixtureFolder(scan, folder);
  scan.Scan(checkBoxName);
  EXPECT_EQ(scan.Rows(), FolderExpectedRows(folder));
  EXPECT_TRUE(RanWithoutError(scan.host));
  EXPECT_EQ(scan.host.maxima, std::vector<int>{maximum});
  EXPECT_EQ(scan.host.position, maximum);
}

void ExpectStopAt(ScanFixture& scan, std::string_view folder, std::wstring_view checkBoxName, std::wstring item,
                  std::size_t rowsKept, int maximum) {
  SCOPED_TRACE(ToUtf8(item));
  LoadFixtureFolder(scan, folder);
  scan.host.stopAtItem = std::move(item);
  scan.Scan(checkBoxName);
  const std::vector<std::wstring> expected = FolderExpectedRows(folder);
  ASSERT_LE(rowsKept, expected.size());
  EXPECT_EQ(scan.Rows(), std::vector<std::wstring>(expected.begin(), expected.begin() + rowsKept));
  EXPECT_EQ(scan.host.positionsAfterStop, (std::vector<int>{0, maximum, maximum}));
}

}  // namespace qm::testing
