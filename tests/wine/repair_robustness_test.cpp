// The repair of values no one would type by hand, on the real registry: names at the
// length limit and full of the characters an export file gives meaning to, string data
// with NULs inside, without an end or of an odd size, huge data and every value type.
// Importing the repair's backup with the registry editor of the Windows folder must give
// every value back with its type and its bytes, and reading the backup back must too.
#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "quiet_repair_host.h"
#include "registry_test_support.h"
#include "repair/repair.h"
#include "scan/findings_list.h"
#include "text/encoding.h"
#include "wine_test_support.h"
#include "win32/windows_platform.h"

namespace qm::testing {

namespace {

// Values whose names and data an export file has to escape or cannot write as text.
std::vector<RegFileValue> HostileValues() {
  std::vector<RegFileValue> values = EveryKindOfValue();
  const std::vector<RegFileValue> more{
      {std::wstring(16383, L'n'), MakeStringValue(L"the longest name")},
      {L"Name \"quoted\" \\ with \\\\ = and [brackets] ; not a comment", MakeStringValue(L"a\\\"b\" = [c]")},
      {L"=", MakeStringValue(L"=")},
      {L"@", MakeStringValue(L"not the default value")},
      {L"-", MakeStringValue(L"not a deletion")},
      {L"\\", MakeStringValue(L"\\")},
      {L"\"", MakeStringValue(L"\"")},
      {L" blanks around ", MakeStringValue(L" blanks around ")},
      {L"hex(2):00", MakeStringValue(L"hex(2):00")},
      {L"Ünïcødé 中文 עברית \U0001F600", MakeStringValue(L"Ünïcødé 中文 עברית \U0001F600")},
      {L"Tab\tin the name", MakeStringValue(L"tab\tin the data")},
      {L"Line\nbreak in the name", MakeStringValue(L"cr\ronly")},
      {L"NUL inside", RegValue{regtype::Sz, Joined(Utf16(L"before"), Utf16(L"after"))}},
      {L"No terminating NUL", RegValue{regtype::Sz, Utf16WithoutNul(L"no end")}},
      {L"Odd size", RegValue{regtype::Sz, Joined(Utf16(L"odd"), {'x'})}},
      {L"No data", RegValue{regtype::Sz, {}}},
      {L"Expand odd size", RegValue{regtype::ExpandSz, Joined(Utf16WithoutNul(L"%TEMP%"), {'x'})}},
      {L"Expand no data", RegValue{regtype::ExpandSz, {}}},
      {L"Multi no data", RegValue{regtype::MultiSz, {}}},
      {L"Multi no end", RegValue{regtype::MultiSz, Utf16WithoutNul(L"a")}},
      {L"Short dword", RegValue{regtype::Dword, {1, 2}}},
      {L"Long dword", RegValue{regtype::Dword, {1, 2, 3, 4, 5, 6}}},
      {L"No dword", RegValue{regtype::Dword, {}}},
      {L"Short qword", RegValue{regtype::Qword, {1, 2, 3}}},
      {L"None no data", RegValue{regtype::None, {}}},
      {L"Megabyte", MakeStringValue(std::wstring(1 << 20, L'm'))},
      {L"Megabyte binary", RegValue{regtype::Binary, Sequence(1 << 20)}},
  };
  values.insert(values.end(), more.begin(), more.end());
  return values;
}

// Data that Wine's registry editor does not give back exactly whatever the file says,
// as it does not with its own export either: string data without a terminating NUL
// gains one, and the odd last byte of string data turns into NULs. (A single byte of
// string data even makes it crash, so no such value is in the test.) The backup holds
// them exactly all the same, which reading it back shows.
const std::set<std::wstring, std::less<>> kNotRestoredByWineRegedit{L"No terminating NUL", L"Multi no end",
                                                                    L"Expand odd size"};

// A label for a value in failure messages, short even for the longest name.
std::string Label(const std::wstring& name) { return ToUtf8(name.substr(0, 60)); }

// Every value expected is there, with its type and bytes unless its name is in
// `notCompared`, and there is no other.
void ExpectSameValues(const std::map<std::wstring, RegValue>& actual, const std::map<std::wstring, RegValue>& expected,
                      const std::set<std::wstring, std::less<>>& notCompared = {}) {
  for (const auto& [name, value] : expected) {
    const auto found = actual.find(name);
    if (found == actual.end()) {
      ADD_FAILURE() << "missing: " << Label(name);
    } else if (!notCompared.contains(name)) {
      EXPECT_EQ(found->second, value) << Label(name);
    }
  }
  EXPECT_EQ(actual.size(), expected.size());
}

// The values a .reg file gives one key of HKEY_CURRENT_USER, by name.
std::map<std::wstring, RegValue> ValuesInFile(const RegFile& file, std::wstring_view path) {
  std::map<std::wstring, RegValue> values;
  for (const RegFileKey& key : file.keys)
    if (key.root == RootKey::CurrentUser && key.path == path)
      for (const RegFileValue& entry : key.values)
        if (entry.value) values.insert_or_assign(entry.name, *entry.value);
  return values;
}

class RepairOfHostileValues : public ::testing::Test {
 protected:
  std::map<std::wstring, RegValue> Values(const std::wstring& path) {
    return ValuesOf(registry, RootKey::CurrentUser, path, KEY_READ | KEY_WOW64_64KEY);
  }

  WindowsPlatform windows;
  Win32Registry registry;
  FindingsList findings;
  QuietRepairHost host;
  ScratchFolder scratch;
  ScopedTestKey root{registry, RootKey::CurrentUser, L"Software\\" + UniqueName()};
};

}  // namespace

TEST_F(RepairOfHostileValues, RegeditImportOfTheBackupGivesEveryValueBackByteForByte) {
  const std::vector<RegFileValue> values = HostileValues();
  const std::wstring valuesKey = root.path() + L"\\Values";
  // A key name of the longest length, with the characters a key line gives meaning to.
  const std::wstring treeName = L"Ключ [x] = \"q\" ; @ -" + std::wstring(255 - 20, L'k');
  const std::wstring treeKey = root.path() + L"\\" + treeName;
  MakeKey(registry, RootKey::CurrentUser, valuesKey, KEY_ALL_ACCESS | KEY_WOW64_64KEY, values);
  MakeKey(registry, RootKey::CurrentUser, treeKey, KEY_ALL_ACCESS | KEY_WOW64_64KEY, values);
  const std::wstring deepKey = treeKey + L"\\" + std::wstring(255, L'c');
  const std::map<std::wstring, RegValue> deepBefore{{L"x", MakeStringValue(L"deep")}};
  MakeKey(registry, RootKey::CurrentUser, deepKey, KEY_ALL_ACCESS | KEY_WOW64_64KEY, {{L"x", deepBefore.at(L"x")}});
  const auto before = Values(valuesKey);
  const auto treeBefore = Values(treeKey);
  ASSERT_EQ(before.size(), values.size());

  for (const RegFileValue& value : values)
    findings.Add({RootKey::CurrentUser, L"\\" + valuesKey + L"\\", value.name, L"", L"", FindingAction::DeleteValue});
  findings.Add({RootKey::CurrentUser, L"\\" + treeKey + L"\\", L"", L"", L"", FindingAction::DeleteKey});
  const RepairResult result = Repair(windows.Get(), host, findings, scratch.path() + L"\\backups");
  ASSERT_EQ(result.deletedValues, values.size());
  ASSERT_EQ(result.deletedKeys, 1u);
  ASSERT_TRUE(Values(valuesKey).empty());
  ASSERT_FALSE(registry.Open(RootKey::CurrentUser, treeKey, KEY_READ));

  const RegFile backup = ParseRegFile(ReadFileBytes(std::filesystem::path(result.backupFile)), windows.Get().locale);
  ExpectSameValues(ValuesInFile(backup, valuesKey), before);
  ExpectSameValues(ValuesInFile(backup, treeKey), treeBefore);
  ExpectSameValues(ValuesInFile(backup, deepKey), deepBefore);

  RunRegedit(L"/s " + Quoted(std::filesystem::path(result.backupFile)));
  ExpectSameValues(Values(valuesKey), before, kNotRestoredByWineRegedit);
  ExpectSameValues(Values(treeKey), treeBefore, kNotRestoredByWineRegedit);
  ExpectSameValues(Values(deepKey), deepBefore);
}

}  // namespace qm::testing
