// quillmere-cli.exe over the real registry and file system for the installed
// programs, installer folders, services and drivers: each category's fixture registry
// is imported with the registry editor and the fixture drive copied to C:\; a scan of
// that category must give the fixture's expected findings, as the native tests do.
// Everything the fixture added is taken away again afterwards.
#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli_run.h"
#include "imported_fixtures.h"
#include "wine_test_support.h"

namespace qm::testing {

namespace {

const std::filesystem::path kFixtures = QM_FIXTURES;

struct CategoryFixture {
  const char* name;
  const wchar_t* checkBox;
  const char* registry;
  const char* expected;
};

class SetupCategoriesUnderWine : public ::testing::TestWithParam<CategoryFixture> {};

TEST_P(SetupCategoriesUnderWine, TheCliFindsTheFixturesBrokenEntries) {
  ASSERT_EQ(GetDriveTypeW(L"D:\\"), static_cast<UINT>(DRIVE_CDROM)) << "the prefix needs D: as a CD-ROM drive";
  ASSERT_EQ(GetDriveTypeW(L"E:\\"), static_cast<UINT>(DRIVE_REMOVABLE)) << "the prefix needs E: as a removable drive";
  const CategoryFixture& fixture = GetParam();
  CopiedDriveFixture drive(kFixtures / "setup_drive_c");
  ImportedRegistryFixture registry(kFixtures / fixture.registry);
  ASSERT_TRUE(registry.Imported());

  const ScratchFolder scratch;
  const auto out = std::filesystem::path(scratch.path()) / L"out.tsv";
  const auto err = std::filesystem::path(scratch.path()) / L"err.txt";
  const DWORD status = RunCommand(CliCommand(L"scan --category " + std::wstring(fixture.checkBox) + L" --exclusions " +
                                             Quoted(kFixtures / "setup_exclusions.ini")),
                                  out, err);
  EXPECT_EQ(status, 0u) << ReadFileText(err);
  EXPECT_EQ(FixtureLines(out), FixtureLines(kFixtures / fixture.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, SetupCategoriesUnderWine,
    ::testing::Values(
        CategoryFixture{"InstalledPrograms", L"CheckBoxLoadUninstall", "installed_programs.reg",
                        "installed_programs_expected.tsv"},
        CategoryFixture{"InstallerFolders", L"CheckBoxInstall", "installer_folders.reg", "installer_folders_expected.tsv"},
        CategoryFixture{"Services", L"CheckBoxServices", "services.reg", "services_expected.tsv"},
        CategoryFixture{"Drivers", L"CheckBoxDriver", "drivers.reg", "drivers_expected.tsv"}),
    [](const ::testing::TestParamInfo<CategoryFixture>& info) { return std::string(info.param.name); });

}  // namespace

}  // namespace qm::testing
