// The fixtures of the native category tests, scanned by quillmere-cli.exe on the real
// registry and file system: each fixture's registry is imported with the registry
// editor and its drive copied to C:\, and the scan must give the findings the native
// tests expect of the same fixture. The test prefix has a CD-ROM drive D: and a
// removable drive E: (scripts/wine-run.sh).
#include <windows.h>
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

#include "console_run.h"
#include "platform/registry.h"
#include "platform/win32/win32_registry.h"
#include "text/encoding.h"

namespace {

const std::filesystem::path kFixtures = std::filesystem::path(QM_FIXTURES) / "categories";

// The keys the fixtures write to.
constexpr std::array<std::wstring_view, 6> kFixtureKeys{
    L"\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts",
    L"\\SOFTWARE\\Microsoft\\Windows\\Help",
    L"\\SOFTWARE\\Microsoft\\Windows\\HTML Help",
    L"\\SOFTWARE\\Microsoft\\MMC\\SnapIns",
    L"\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\KnownDLLs",
    L"\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32",
};

// Every fixture entry holds "Quillmere" in its name or its text.
bool IsFixtureText(std::wstring_view text) { return text.find(L"uillmere") != std::wstring_view::npos; }

// Deletes the fixture's values and subkeys from one key, in the registry's view.
void RemoveFixtureEntries(qm::Registry& registry, std::wstring_view keyPath) {
  if (!registry.OpenKey(keyPath)) return;
  for (const std::wstring& name : registry.GetValueNames()) {
    const auto text = registry.TryReadString(name);
    if (IsFixtureText(name) || (text && IsFixtureText(*text))) registry.DeleteValue(name);
  }
  const auto subkeys = registry.GetKeyNames();
  registry.CloseKey();
  for (const std::wstring& subkey : subkeys)
    if (IsFixtureText(subkey)) registry.DeleteKey(std::wstring(keyPath) + L"\\" + subkey);
}

// Removes what the fixtures put into either view of the registry and onto C:.
void RemoveFixtures() {
  qm::Win32Registry backend;
  for (std::uint32_t access : {qm::access::AllAccess64, qm::access::AllAccess | qm::access::Wow64_32Key}) {
    qm::Registry registry(backend, qm::RootKey::LocalMachine, access);
    for (std::wstring_view key : kFixtureKeys) RemoveFixtureEntries(registry, key);
  }
  std::error_code ignored;
  std::filesystem::remove_all(L"C:\\QuillmereFixture", ignored);
  std::filesystem::remove(L"C:\\Windows\\Fonts\\QuillmereFixture.ttf", ignored);
}

struct CategoryFixture {
  std::string name;          // the fixture's file names
  std::wstring checkBoxName;
};

class CategoryFixtureUnderWine : public ::testing::TestWithParam<CategoryFixture> {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetDriveTypeW(L"D:\\"), static_cast<UINT>(DRIVE_CDROM));
    ASSERT_EQ(GetDriveTypeW(L"E:\\"), static_cast<UINT>(DRIVE_REMOVABLE));
    RemoveFixtures();
    std::filesystem::copy(kFixtures / "drive_c", L"C:\\", std::filesystem::copy_options::recursive);
    ASSERT_EQ(qm::testing::ImportRegFile(kFixtures / (GetParam().name + ".reg")), 0u);
  }
  void TearDown() override { RemoveFixtures(); }
};

TEST_P(CategoryFixtureUnderWine, GivesTheFindingsOfTheNativeScan) {
  using namespace qm::testing;
  const CategoryFixture& fixture = GetParam();
  const CliResult result =
      RunCli(L"scan --category " + fixture.checkBoxName, qm::FromUtf8(fixture.name) + L"_out.tsv");
  EXPECT_EQ(result.status, 0u) << result.errors;
  EXPECT_EQ(FixtureLines(result.output), FixtureLines(kFixtures / (fixture.name + "_expected.tsv")));
}

INSTANTIATE_TEST_SUITE_P(Categories, CategoryFixtureUnderWine,
                         ::testing::Values(CategoryFixture{"fonts", L"CheckBoxFonts"},
                                           CategoryFixture{"help_files", L"CheckBoxHelp"},
                                           CategoryFixture{"known_dlls", L"CheckBoxKnownDLLs"},
                                           CategoryFixture{"codecs", L"CheckBoxCodec"}),
                         [](const ::testing::TestParamInfo<CategoryFixture>& info) { return info.param.name; });

}  // namespace
