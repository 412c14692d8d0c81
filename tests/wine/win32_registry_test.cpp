// The registry backend and the .reg reader and writer against the real registry and
// the registry editor of the Windows folder.
#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "../unit/latin1_locale.h"
#include "platform/reg_file.h"
#include "platform/substitute/substitute_registry.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_registry.h"
#include "registry_test_support.h"

namespace qm {

namespace {

using namespace testing;

std::wstring TempFile(const std::wstring& name) {
  wchar_t folder[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, folder);
  return std::wstring(folder) + name;
}

class Win32RegistryTest : public ::testing::Test {
 protected:
  Win32Registry registry;
  std::wstring name = UniqueName();
};

}  // namespace

TEST_F(Win32RegistryTest, ReadMasksOpenOnlyTheirOwnViewOfSoftware) {
  ScopedTestKey only64(registry, RootKey::LocalMachine, L"SOFTWARE\\" + name + L"_64");
  ScopedTestKey only32(registry, RootKey::LocalMachine, L"SOFTWARE\\" + name + L"_32");
  MakeKey(registry, RootKey::LocalMachine, only64.path(), access::AllAccess64);
  MakeKey(registry, RootKey::LocalMachine, only32.path(), KEY_ALL_ACCESS | KEY_WOW64_32KEY);

  Registry read64(registry, RootKey::LocalMachine, 0x20119);
  EXPECT_TRUE(read64.OpenKey(L"\\" + only64.path() + L"\\"));
  EXPECT_FALSE(read64.OpenKey(L"\\" + only32.path() + L"\\"));
  EXPECT_FALSE(read64.KeyExists(L"\\" + only32.path()));
  Registry read32(registry, RootKey::LocalMachine, 0x20219);
  EXPECT_TRUE(read32.OpenKey(L"\\" + only32.path() + L"\\"));
  EXPECT_FALSE(read32.OpenKey(L"\\" + only64.path() + L"\\"));
  EXPECT_FALSE(read32.KeyExists(L"\\" + only64.path()));
  EXPECT_TRUE(read32.KeyExists(L"\\SOFTWARE\\WOW6432Node\\" + name + L"_32"));
}

TEST_F(Win32RegistryTest, DeleteKeyRemovesTheNestedTreeIn64BitViewAndLeavesThe32BitNamesake) {
  ScopedTestKey key(registry, RootKey::LocalMachine, L"SOFTWARE\\" + name);
  MakeKey(registry, RootKey::LocalMachine, key.path() + L"\\A\\B\\C", access::AllAccess64,
          {{L"v", MakeDwordValue(1)}});
  MakeKey(registry, RootKey::LocalMachine, key.path() + L"\\A\\Second", access::AllAccess64);
  MakeKey(registry, RootKey::LocalMachine, key.path() + L"\\A", KEY_ALL_ACCESS | KEY_WOW64_32KEY,
          {{L"Where", MakeStringValue(L"32")}});

  Registry full64(registry, RootKey::LocalMachine, 0xF013F);
  EXPECT_TRUE(full64.DeleteKey(L"\\" + key.path() + L"\\"));
  EXPECT_FALSE(full64.KeyExists(L"\\" + key.path()));
  EXPECT_FALSE(full64.DeleteKey(L"\\" + key.path()));

  Registry read32(registry, RootKey::LocalMachine, 0x20219);
  ASSERT_TRUE(read32.OpenKey(L"\\" + key.path() + L"\\A"));
  EXPECT_EQ(read32.ReadString(L"Where"), L"32");
}

TEST_F(Win32RegistryTest, ValuesOfAnyLengthAndKindReadBackRaw) {
  ScopedTestKey key(registry, RootKey::CurrentUser, L"Software\\" + name);
  const std::wstring longName(5000, L'x');
  const RegValue big{regtype::Binary, Sequence(70000)};
  MakeKey(registry, RootKey::CurrentUser, key.path(), KEY_ALL_ACCESS, {{longName, big}, {L"", MakeDwordValue(5)}});
  MakeKey(registry, RootKey::CurrentUser, key.path() + L"\\" + std::wstring(255, L'k'), KEY_ALL_ACCESS);

  auto opened = registry.Open(RootKey::CurrentUser, L"\\" + key.path() + L"\\", KEY_READ);
  ASSERT_TRUE(opened);
  EXPECT_EQ(registry.Query(*opened, longName), big);
  EXPECT_EQ(registry.Query(*opened, L""), MakeDwordValue(5));
  EXPECT_FALSE(registry.Query(*opened, L"missing"));
  EXPECT_EQ(registry.ValueNames(*opened).size(), 2u);
  EXPECT_EQ(registry.SubKeyNames(*opened), (std::vector<std::wstring>{std::wstring(255, L'k')}));
  const auto info = registry.Info(*opened);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->subKeys, 1u);
  EXPECT_EQ(info->maxSubKeyLen, 255u);
  EXPECT_EQ(info->maxValueNameLen, 5000u);
  EXPECT_EQ(info->maxValueLen, 70000u);
  EXPECT_FALSE(registry.SetValue(*opened, L"x", MakeDwordValue(1)));  // opened for reading only
}

// The API adds a NUL to string data that seems to lack one, judging by the bytes just
// past the data; the backend stores exactly what it is given, even when NULs follow.
TEST_F(Win32RegistryTest, StringDataIsStoredExactlyAsGiven) {
  ScopedTestKey key(registry, RootKey::CurrentUser, L"Software\\" + name);
  const std::vector<RegFileValue> values{
      {L"No NUL", RegValue{regtype::Sz, Utf16WithoutNul(L"text")}},
      {L"One byte", RegValue{regtype::Sz, {'x'}}},
      {L"Odd size", RegValue{regtype::ExpandSz, Joined(Utf16WithoutNul(L"%TEMP%"), {'x'})}},
      {L"Multi without an end", RegValue{regtype::MultiSz, Utf16WithoutNul(L"a")}},
      {L"No data", RegValue{regtype::Sz, {}}},
  };
  auto created = registry.Create(RootKey::CurrentUser, key.path(), KEY_ALL_ACCESS);
  ASSERT_TRUE(created);
  for (const auto& entry : values) {
    RegValue value = *entry.value;
    value.data.insert(value.data.end(), 2, 0);  // NULs just past the data, where the API looks
    value.data.resize(value.data.size() - 2);
    ASSERT_TRUE(registry.SetValue(*created, entry.name, value));
    EXPECT_EQ(registry.Query(*created, entry.name), entry.value) << ToUtf8(entry.name);
  }
}

TEST_F(Win32RegistryTest, RegeditExportLoadsIntoTheSubstituteAndIsWrittenBackByteIdentical) {
  ScopedTestKey key(registry, RootKey::CurrentUser, L"Software\\" + name);
  const auto values = EveryKindOfValue();
  MakeKey(registry, RootKey::CurrentUser, key.path(), KEY_ALL_ACCESS, values);
  MakeKey(registry, RootKey::CurrentUser, key.path() + L"\\Empty", KEY_ALL_ACCESS);
  MakeKey(registry, RootKey::CurrentUser, key.path() + L"\\Nested\\Deeper", KEY_ALL_ACCESS,
          {{L"Level", MakeDwordValue(2)}});

  const std::wstring file = TempFile(name + L".reg");
  RunRegedit(L"/e \"" + file + L"\" \"HKEY_CURRENT_USER\\" + key.path() + L"\"");
  const Bytes exported = ReadFileBytes(file);
  DeleteFileW(file.c_str());
  ASSERT_FALSE(exported.empty());

  Latin1Locale locale;
  SubstituteRegistry substitute;
  substitute.Import(ParseRegFile(exported, locale));
  EXPECT_EQ(EncodeRegFileText(substitute.ExportRegText(RootKey::CurrentUser, key.path(), RegView::Bits64)), exported);

  // What was read is what the registry holds.
  auto loaded = substitute.Open(RootKey::CurrentUser, key.path(), KEY_READ);
  ASSERT_TRUE(loaded);
  for (const auto& entry : values) EXPECT_EQ(substitute.Query(*loaded, entry.name), entry.value);
  EXPECT_TRUE(substitute.Open(RootKey::CurrentUser, key.path() + L"\\Nested\\Deeper", KEY_READ));
}

// The whole of HKLM\Software as the prefix holds it: thousands of keys with the names,
// data and order that real programs left there.
TEST_F(Win32RegistryTest, WholeSoftwareBranchExportedByRegeditIsWrittenBackByteIdentical) {
  const std::wstring file = TempFile(name + L"_software.reg");
  RunRegedit(L"/e \"" + file + L"\" \"HKEY_LOCAL_MACHINE\\Software\"");
  const Bytes exported = ReadFileBytes(file);
  DeleteFileW(file.c_str());
  ASSERT_GT(exported.size(), 100000u);

  Latin1Locale locale;
  const RegFile parsed = ParseRegFile(exported, locale);
  EXPECT_GT(parsed.keys.size(), 1000u);
  SubstituteRegistry substitute;
  substitute.Import(parsed);
  EXPECT_TRUE(EncodeRegFileText(substitute.ExportRegText(RootKey::LocalMachine, L"Software", RegView::Bits64)) ==
              exported);
}

TEST_F(Win32RegistryTest, RegeditImportsWhatTheWriterWritesToTheSameBytes) {
  ScopedTestKey key(registry, RootKey::CurrentUser, L"Software\\" + name);
  auto values = EveryKindOfValue();
  // Data kept as hex so that nothing is lost.
  values.push_back({L"Inner NUL", RegValue{regtype::Sz, Utf16(std::wstring(L"A\0B", 3))}});
  values.push_back({L"Short dword", RegValue{regtype::Dword, {1, 2}}});
  values.push_back({L"Long dword", RegValue{regtype::Dword, {1, 2, 3, 4, 5}}});
  const RegFile file{RegFileFormat::Version5, {{RootKey::CurrentUser, key.path(), false, values}}};

  const std::wstring path = TempFile(name + L"_import.reg");
  {
    const Bytes bytes = EncodeRegFileText(FormatRegText(file));
    std::ofstream(std::filesystem::path(path), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  RunRegedit(L"/s \"" + path + L"\"");
  DeleteFileW(path.c_str());

  auto opened = registry.Open(RootKey::CurrentUser, key.path(), KEY_READ);
  ASSERT_TRUE(opened);
  for (const auto& entry : values)
    EXPECT_EQ(registry.Query(*opened, entry.name), entry.value) << std::string(entry.name.begin(), entry.name.end());
}

}  // namespace qm
