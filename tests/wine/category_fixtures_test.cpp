// The category fixtures through quillmere-cli.exe over the real registry and file
// system: each fixture's registry file is imported with the registry editor, its files
// are made on C:, and the console scan of its category must give the findings that the
// native scan over the substitute registry gives.
#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "../common/category_fixtures.h"
#include "platform/reg_file.h"
#include "platform/substitute/substitute_locale.h"
#include "platform/win32/win32_registry.h"
#include "scan/scan_categories.h"
#include "text/case_mapping.h"
#include "wine_test_support.h"

namespace qm::testing {

namespace {

const std::filesystem::path kFixtures = QM_FIXTURES;

// The part of a fixture key's path up to and including its first name that carries
// "Quillmere"; empty when none does. Deleting that key removes the fixture's key and
// never a key that was there before.
std::wstring FixtureOwnedKey(std::wstring_view path) {
  const std::wstring lower = AsciiLower(path);
  const std::size_t found = lower.find(L"quillmere");
  if (found == std::wstring::npos) return {};
  return std::wstring(path.substr(0, std::min(path.find(L'\\', found), path.size())));
}

void RemoveFixture(const CategoryFixture& fixture) {
  SubstituteLocale locale;
  Win32Registry backend;
  const std::string text = FileText(kFixtures / fixture.regFile);
  const RegFile keys = ParseRegFile(Bytes(text.begin(), text.end()), locale);
  for (const RegFileKey& key : keys.keys) {
    const std::wstring owned = FixtureOwnedKey(key.path);
    ASSERT_FALSE(owned.empty()) << "a fixture key without Quillmere in its path";
    // Paths name the 32-bit branch explicitly (WOW6432Node), so one view reaches both.
    Registry(backend, key.root, access::AllAccess64).DeleteKey(L"\\" + owned);
  }
  std::error_code ignored;
  for (std::wstring_view file : fixture.files) std::filesystem::remove(std::filesystem::path(file), ignored);
  std::filesystem::remove_all(L"C:\\QuillmereFixture", ignored);
}

void MakeFiles(const CategoryFixture& fixture) {
  for (std::wstring_view file : fixture.files) {
    const std::filesystem::path path(file);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << "x";
  }
}

struct CliOutput {
  DWORD status;
  std::filesystem::path out;
  std::string err;
};

// Scans the fixture's category and nothing else.
CliOutput ScanCategory(const ScratchFolder& scratch, const CategoryFixture& fixture, std::wstring_view format) {
  const std::filesystem::path out = std::filesystem::path(scratch.path()) / L"out.txt";
  const std::filesystem::path err = std::filesystem::path(scratch.path()) / L"err.txt";
  const auto cli = std::filesystem::path(TestProgramFolder()) / L"quillmere-cli.exe";
  const DWORD status = RunProgram(Quoted(cli) + L" scan --category " + std::wstring(fixture.checkBoxName) +
                                      L" --format " + std::wstring(format),
                                  out, err);
  return {status, out, FileText(err)};
}

// Puts the fixture in place for one test and removes it afterwards.
class FixtureInPlace {
 public:
  explicit FixtureInPlace(const CategoryFixture& fixture) : fixture_(fixture) {
    RemoveFixture(fixture_);
    MakeFiles(fixture_);
    imported_ = ImportWithRegedit(kFixtures / fixture_.regFile) == 0;
  }
  ~FixtureInPlace() { RemoveFixture(fixture_); }
  FixtureInPlace(const FixtureInPlace&) = delete;
  FixtureInPlace& operator=(const FixtureInPlace&) = delete;
  bool Imported() const { return imported_; }

 private:
  const CategoryFixture& fixture_;
  bool imported_ = false;
};

class CategoryFixtureUnderWine : public ::testing::TestWithParam<CategoryFixture> {};

TEST_P(CategoryFixtureUnderWine, GivesTheFindingsOfTheNativeScan) {
  const FixtureInPlace fixture(GetParam());
  ASSERT_TRUE(fixture.Imported());
  const ScratchFolder scratch;
  const CliOutput result = ScanCategory(scratch, GetParam(), L"tsv");
  EXPECT_EQ(result.status, 0u) << result.err;
  EXPECT_EQ(FixtureLines(result.out), FixtureLines(kFixtures / GetParam().expectedFile));
}

std::string FixtureName(const ::testing::TestParamInfo<CategoryFixture>& info) {
  const std::string_view file = info.param.regFile;
  return std::string(file.substr(0, file.find('.')));
}

INSTANTIATE_TEST_SUITE_P(Categories, CategoryFixtureUnderWine, ::testing::ValuesIn(kCategoryFixtures), FixtureName);

// The machine-wide key found empty in the 32-bit view has a 64-bit namesake that holds
// data. The finding carries the 32-bit view, and deleting through it removes the key
// found and leaves the namesake as it was.
TEST(EmptySoftwareKeysUnderWine, TheFindingsViewReachesTheKeyFoundAndNotItsNamesake) {
  const FixtureInPlace fixture(kSoftwareKeysFixture);
  ASSERT_TRUE(fixture.Imported());
  const ScratchFolder scratch;
  const CliOutput result = ScanCategory(scratch, kSoftwareKeysFixture, L"json");
  EXPECT_EQ(result.status, 0u) << result.err;
  const std::vector<std::string> lines = FixtureLines(result.out);
  ASSERT_EQ(lines.size(), 2u);
  for (const std::string& line : lines) EXPECT_NE(line.find("\"view\": \"32\""), std::string::npos) << line;

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
