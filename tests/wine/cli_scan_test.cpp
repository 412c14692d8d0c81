// quillmere-cli.exe over the real registry and file system: the fixture registry is
// imported with the registry editor and the fixture drive copied to C:\.
#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli_run.h"
#include "platform/win32/unique_handle.h"
#include "wine_test_support.h"

namespace qm::testing {

namespace {

const std::filesystem::path kFixtures = QM_FIXTURES;
constexpr wchar_t kAppPaths[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
constexpr wchar_t kSharedDlls[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// Removes what the fixture puts into the 64-bit registry and onto C:.
void RemoveFixture() {
  qm::UniqueHkey appPaths;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kAppPaths, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, appPaths.put()) == ERROR_SUCCESS)
    for (auto name : {L"QuillmereFixturePresent.exe", L"QuillmereFixtureGone.exe", L"QuillmereFixtureFolderGone.exe",
                      L"QuillmereFixtureExcluded.exe"})
      RegDeleteTreeW(appPaths.get(), name);
  for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
    qm::UniqueHkey shared;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSharedDlls, 0, KEY_ALL_ACCESS | view, shared.put()) != ERROR_SUCCESS) continue;
    for (auto name : {L"C:\\QuillmereFixture\\present.dll", L"C:\\QuillmereFixture\\gone.dll",
                      L"C:\\QuillmereFixture\\Excluded\\lib.dll", L"%SystemRoot%\\QuillmereFixture\\env.dll",
                      L"C:\\Windows\\System32\\QuillmereFixture.dll", L"C:\\QuillmereFixture\\only32.dll"})
      RegDeleteValueW(shared.get(), name);
  }
  std::error_code ignored;
  std::filesystem::remove_all(L"C:\\QuillmereFixture", ignored);
}

class CliScanUnderWine : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveFixture();
    std::filesystem::copy(kFixtures / "cli_drive_c", L"C:\\", std::filesystem::copy_options::recursive);
    ASSERT_EQ(ImportWithRegedit(kFixtures / "cli_scan.reg"), 0u);
  }
  void TearDown() override { RemoveFixture(); }
};

TEST_F(CliScanUnderWine, FindsExactlyTheBrokenFixtureEntries) {
  const ScratchFolder scratch;
  const auto out = std::filesystem::path(scratch.path()) / L"out.tsv";
  const auto err = std::filesystem::path(scratch.path()) / L"err.txt";
  const DWORD status = RunCommand(CliCommand(L"scan --exclusions " + Quoted(kFixtures / "cli_exclusions.ini")), out, err);
  EXPECT_EQ(status, 0u) << ReadFileText(err);
  EXPECT_EQ(FixtureLines(out), FixtureLines(kFixtures / "cli_scan_expected.tsv"));
}

}  // namespace

}  // namespace qm::testing
