// quillmere-cli.exe over the real registry and file system for the installed
// programs, installer folders, services and drivers, and for the categories whose
// fixtures stand in folders of tests/fixtures/scan (shell extensions, firewall, MUI
// cache, component classes): each category's fixture registry is imported with the
// registry editor and its fixture drive copied to C:\; a scan of that category with
// the fixture's exclusions must give the fixture's expected findings, as the native
// tests do. Everything the fixture added is taken away again afterwards.
#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "cli_run.h"
#include "imported_fixtures.h"
#include "wine_test_support.h"

namespace qm::testing {

namespace {

const std::filesystem::path kFixtures = QM_FIXTURES;

struct CategoryFixture {
  std::string name;
  std::wstring checkBox;
  std::string registry;
  std::string expected;
  std::string drive;  // a folder copied onto C:\; none when empty
  std::string exclusions;
};

// A category's fixture folder of tests/fixtures/scan.
CategoryFixture FixtureFolder(std::string name, std::wstring checkBox, const std::string& folder, bool hasDrive) {
  const std::string path = "scan/" + folder + "/";
  return {std::move(name), std::move(checkBox), path + "registry.reg", path + "expected.tsv",
          hasDrive ? path + "drive_c" : std::string(), path + "exclusions.ini"};
}

class SetupCategoriesUnderWine : public ::testing::TestWithParam<CategoryFixture> {};

TEST_P(SetupCategoriesUnderWine, TheCliFindsTheFixturesBrokenEntries) {
  ASSERT_EQ(GetDriveTypeW(L"D:\\"), static_cast<UINT>(DRIVE_CDROM)) << "the prefix needs D: as a CD-ROM drive";
  ASSERT_EQ(GetDriveTypeW(L"E:\\"), static_cast<UINT>(DRIVE_REMOVABLE)) << "the prefix needs E: as a removable drive";
  const CategoryFixture& fixture = GetParam();
  std::optional<CopiedDriveFixture> drive;
  if (!fixture.drive.empty()) drive.emplace(kFixtures / fixture.drive);
  ImportedRegistryFixture registry(kFixtures / fixture.registry);
  ASSERT_TRUE(registry.Imported());

  const ScratchFolder scratch;
  const auto out = std::filesystem::path(scratch.path()) / L"out.tsv";
  const auto err = std::filesystem::path(scratch.path()) / L"err.txt";
  const DWORD status = RunCommand(CliCommand(L"scan --category " + fixture.checkBox + L" --exclusions " +
                                             Quoted(kFixtures / fixture.exclusions)),
                                  out, err);
  EXPECT_EQ(status, 0u) << ReadFileText(err);
  EXPECT_EQ(FixtureLines(out), FixtureLines(kFixtures / fixture.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, SetupCategoriesUnderWine,
    ::testing::Values(
        CategoryFixture{"InstalledPrograms", L"CheckBoxLoadUninstall", "installed_programs.reg",
                        "installed_programs_expected.tsv", "setup_drive_c", "setup_exclusions.ini"},
        CategoryFixture{"InstallerFolders", L"CheckBoxInstall", "installer_folders.reg", "installer_folders_expected.tsv",
                        "setup_drive_c", "setup_exclusions.ini"},
        CategoryFixture{"Services", L"CheckBoxServices", "services.reg", "services_expected.tsv", "setup_drive_c",
                        "setup_exclusions.ini"},
        CategoryFixture{"Drivers", L"CheckBoxDriver", "drivers.reg", "drivers_expected.tsv", "setup_drive_c",
                        "setup_exclusions.ini"},
        FixtureFolder("ShellExtensions", L"CheckBoxShellExtensions", "shell_extensions", false),
        FixtureFolder("FirewallPolicy", L"CheckBoxFirewallPolicy", "firewall_policy", true),
        FixtureFolder("MuiCache", L"CheckBoxMUI", "mui_cache", false),
        FixtureFolder("ComponentClasses", L"CheckBoxClassKom", "component_classes", true)),
    [](const ::testing::TestParamInfo<CategoryFixture>& info) { return info.param.name; });

}  // namespace

}  // namespace qm::testing
