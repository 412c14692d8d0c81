// quillmere-cli.exe over the real registry and file system for the installed
// programs, installer folders, services and drivers: each category's fixture registry
// is imported with the registry editor and the fixture drive copied to C:\; a scan of
// that category must give the fixture's expected findings, as the native tests do.
// Everything the fixture added is taken away again afterwards.
#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "cli_run.h"
#include "platform/reg_file.h"
#include "platform/registry.h"
#include "platform/win32/win32_locale.h"
#include "platform/win32/win32_registry.h"
#include "wine_test_support.h"

namespace qm::testing {

namespace {

const std::filesystem::path kFixtures = QM_FIXTURES;

// A registry file imported into the 64-bit view and taken out again: the keys the
// import creates (the first missing key on each path) are deleted with their
// subkeys, and the values it writes into keys that were there before are deleted.
class ImportedRegistryFixture {
 public:
  explicit ImportedRegistryFixture(const std::filesystem::path& regFile) {
    const std::string text = ReadFileText(regFile);
    Win32Locale locale;
    for (const RegFileKey& key : ParseRegFile(Bytes(text.begin(), text.end()), locale).keys) Record(key);
    imported_ = ImportWithRegedit(regFile) == 0;
  }
  ~ImportedRegistryFixture() {
    for (const auto& [root, path, name] : addedValues_) {
      Registry registry = Open(root);
      if (registry.OpenKey(L"\\" + path)) registry.DeleteValue(name);
    }
    for (const auto& [root, path] : createdKeys_) Open(root).DeleteKey(L"\\" + path);
  }
  ImportedRegistryFixture(const ImportedRegistryFixture&) = delete;
  ImportedRegistryFixture& operator=(const ImportedRegistryFixture&) = delete;

  bool Imported() const { return imported_; }

 private:
  Registry Open(RootKey root) { return Registry(backend_, root, access::AllAccess64); }

  void Record(const RegFileKey& key) {
    Registry registry = Open(key.root);
    for (size_t end = 0; end != std::wstring::npos;) {
      end = key.path.find(L'\\', end + 1);
      const std::wstring path = key.path.substr(0, end);
      if (!registry.KeyExists(L"\\" + path)) {
        createdKeys_.emplace(key.root, path);
        return;
      }
    }
    for (const RegFileValue& value : key.values) addedValues_.emplace(key.root, key.path, value.name);
  }

  Win32Registry backend_;
  std::set<std::pair<RootKey, std::wstring>> createdKeys_;
  std::set<std::tuple<RootKey, std::wstring, std::wstring>> addedValues_;
  bool imported_ = false;
};

// A fixture folder copied onto C:\ and taken out again: the first missing folder or
// file on the way to each file is removed.
class CopiedDriveFixture {
 public:
  explicit CopiedDriveFixture(const std::filesystem::path& folder) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
      std::filesystem::path target = L"C:\\";
      for (const auto& name : std::filesystem::relative(entry.path(), folder)) {
        target /= name;
        if (!std::filesystem::exists(target)) {
          created_.insert(target);
          break;
        }
      }
    }
    std::filesystem::copy(folder, L"C:\\", std::filesystem::copy_options::recursive);
  }
  ~CopiedDriveFixture() {
    std::error_code ignored;
    for (const auto& path : created_) std::filesystem::remove_all(path, ignored);
  }
  CopiedDriveFixture(const CopiedDriveFixture&) = delete;
  CopiedDriveFixture& operator=(const CopiedDriveFixture&) = delete;

 private:
  std::set<std::filesystem::path> created_;
};

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
