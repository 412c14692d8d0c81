// quillmere-cli.exe over the real registry and file system for the file types, the
// empty software keys and the Windows sounds: each category's fixture registry is
// imported with the registry editor and the fixture drive copied to C:\; a scan of
// that category must give the fixture's expected findings, as the native tests do.
#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli_run.h"
#include "imported_fixtures.h"
#include "platform/registry.h"
#include "platform/win32/win32_registry.h"
#include "wine_test_support.h"

namespace qm::testing {

namespace {

const std::filesystem::path kFixtures = QM_FIXTURES;
constexpr const char* kDrive = "file_types_and_sounds_drive_c";

struct CliScan {
  DWORD status;
  std::vector<std::string> fixtureLines;
  std::string errors;
};

// A scan of the one category, its output in the given format.
CliScan ScanCategory(std::wstring_view checkBox, std::wstring_view format) {
  const ScratchFolder scratch;
  const auto out = std::filesystem::path(scratch.path()) / L"out.txt";
  const auto err = std::filesystem::path(scratch.path()) / L"err.txt";
  const DWORD status = RunCommand(
      CliCommand(L"scan --category " + std::wstring(checkBox) + L" --format " + std::wstring(format)), out, err);
  return {status, FixtureLines(out), ReadFileText(err)};
}

struct CategoryFixture {
  const char* name;
  const wchar_t* checkBox;
  const char* registry;
  const char* expected;
};

class FileTypesSoftwareSoundsUnderWine : public ::testing::TestWithParam<CategoryFixture> {};

TEST_P(FileTypesSoftwareSoundsUnderWine, TheCliFindsTheFixturesBrokenEntries) {
  const CategoryFixture& fixture = GetParam();
  CopiedDriveFixture drive(kFixtures / kDrive);
  ImportedRegistryFixture registry(kFixtures / fixture.registry);
  ASSERT_TRUE(registry.Imported());
  const CliScan scan = ScanCategory(fixture.checkBox, L"tsv");
  EXPECT_EQ(scan.status, 0u) << scan.errors;
  EXPECT_EQ(scan.fixtureLines, FixtureLines(kFixtures / fixture.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, FileTypesSoftwareSoundsUnderWine,
    ::testing::Values(CategoryFixture{"FileTypes", L"CheckBoxFileExts", "file_types.reg", "file_types_expected.tsv"},
                      CategoryFixture{"EmptySoftwareKeys", L"CheckBoxHKLMSOFTWARE", "software_keys.reg",
                                      "software_keys_expected.tsv"},
                      CategoryFixture{"WindowsSounds", L"CheckBoxSound", "sounds.reg", "sounds_expected.tsv"}),
    [](const ::testing::TestParamInfo<CategoryFixture>& info) { return std::string(info.param.name); });

// The machine-wide key found empty in the 32-bit view has a 64-bit namesake that
// holds data. The findings carry the 32-bit view, and deleting through it removes the
// key found and leaves the namesake as it was.
TEST(EmptySoftwareKeysUnderWine, TheFindingsViewReachesTheKeyFoundAndNotItsNamesake) {
  ImportedRegistryFixture fixture(kFixtures / "software_keys.reg");
  ASSERT_TRUE(fixture.Imported());
  const CliScan scan = ScanCategory(L"CheckBoxHKLMSOFTWARE", L"json");
  EXPECT_EQ(scan.status, 0u) << scan.errors;
  ASSERT_EQ(scan.fixtureLines.size(), 2u);
  for (const std::string& line : scan.fixtureLines) EXPECT_NE(line.find("\"view\": \"32\""), std::string::npos) << line;

  Win32Registry backend;
  constexpr std::wstring_view kFound = L"\\SOFTWARE\\QuillmereEmptyVendor\\";
  EXPECT_TRUE(Registry(backend, RootKey::LocalMachine, access::AllAccess | ViewBits(RegView::Bits32)).DeleteKey(kFound));
  EXPECT_FALSE(Registry(backend, RootKey::LocalMachine, access::Read32).KeyExists(kFound));
  Registry view64(backend, RootKey::LocalMachine, access::Read64);
  ASSERT_TRUE(view64.OpenKey(kFound));
  EXPECT_EQ(view64.ReadString(L"InstallDir"), L"C:\\QuillmereFixture");
  EXPECT_TRUE(view64.KeyExists(L"\\SOFTWARE\\QuillmereEmptyVendor\\Settings\\"));
}

}  // namespace

}  // namespace qm::testing
