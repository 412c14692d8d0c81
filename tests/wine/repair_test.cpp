// The repair through the core on the real registry: importing its backup with the
// registry editor of the Windows folder gives back exactly what it deleted, in the
// views it deleted it in, and the registry editor's export shows no difference.
#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_locale.h"
#include "platform/win32/win32_shell.h"
#include "quiet_repair_host.h"
#include "registry_test_support.h"
#include "repair/repair.h"
#include "scan/findings_list.h"
#include "wine_test_support.h"

namespace qm {

namespace {

using namespace testing;

constexpr std::uint32_t kAllAccess32 = KEY_ALL_ACCESS | KEY_WOW64_32KEY;

class RepairUnderWine : public ::testing::Test {
 protected:
  // The test's keys as the registry editor exports them, each into its own file.
  std::vector<Bytes> ExportTestKeys() {
    std::vector<Bytes> exports;
    for (const std::wstring& key : {L"HKEY_CURRENT_USER\\" + user.path(), L"HKEY_LOCAL_MACHINE\\" + machine.path(),
                                    L"HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\" + name}) {
      const auto file = std::filesystem::path(scratch.path()) / L"export.reg";
      RunRegedit(L"/e " + Quoted(file) + L" \"" + key + L"\"");
      exports.push_back(ReadFileBytes(file));
    }
    return exports;
  }

  std::optional<RegValue> ValueOf(RootKey root, const std::wstring& path, std::wstring_view valueName,
                                  std::uint32_t accessMask) {
    auto key = registry.Open(root, path, accessMask);
    return key ? registry.Query(*key, valueName) : std::nullopt;
  }

  void Add(RootKey root, std::wstring keyPath, std::wstring valueName, FindingAction action,
           RegView view = RegView::Bits64, bool checked = true) {
    findings.SetChecked(findings.Add({root, keyPath, valueName, L"", L"", action, view}), checked);
  }

  Win32Registry registry;
  Win32FileSystem files;
  Win32Shell shell;
  Win32Locale locale;
  Win32Clock clock;
  Platform platform{registry, files, shell, locale, clock};
  FindingsList findings;
  QuietRepairHost host;
  ScratchFolder scratch;
  std::wstring name = UniqueName();
  ScopedTestKey user{registry, RootKey::CurrentUser, L"Software\\" + name};
  ScopedTestKey machine{registry, RootKey::LocalMachine, L"SOFTWARE\\" + name};
};

}  // namespace

TEST_F(RepairUnderWine, RegeditImportOfTheBackupUndoesTheRepairInEveryView) {
  const auto values = EveryKindOfValue();
  auto kept = values;
  kept.push_back({L"Kept", MakeStringValue(L"its row is unchecked")});
  MakeKey(registry, RootKey::CurrentUser, user.path() + L"\\Values", KEY_ALL_ACCESS, kept);
  MakeKey(registry, RootKey::CurrentUser, user.path() + L"\\Tree", KEY_ALL_ACCESS, values);
  MakeKey(registry, RootKey::CurrentUser, user.path() + L"\\Tree\\Child A\\Grandchild", KEY_ALL_ACCESS,
          {{L"Deep", MakeDwordValue(3)}});
  MakeKey(registry, RootKey::CurrentUser, user.path() + L"\\Tree\\Child B", KEY_ALL_ACCESS);
  MakeKey(registry, RootKey::LocalMachine, machine.path(), access::AllAccess64, {{L"Only32", MakeStringValue(L"64")}});
  MakeKey(registry, RootKey::LocalMachine, machine.path() + L"\\Tree64\\Inner", access::AllAccess64,
          {{L"Binary", RegValue{regtype::Binary, Sequence(100)}}});
  MakeKey(registry, RootKey::LocalMachine, machine.path() + L"\\Namesake", access::AllAccess64,
          {{L"Keep", MakeStringValue(L"64-bit data")}});
  MakeKey(registry, RootKey::LocalMachine, machine.path(), kAllAccess32, {{L"Only32", MakeStringValue(L"32")}});
  MakeKey(registry, RootKey::LocalMachine, machine.path() + L"\\Namesake\\Inner", kAllAccess32, values);

  const std::wstring userPath = L"\\" + user.path() + L"\\";
  const std::wstring machinePath = L"\\" + machine.path() + L"\\";
  for (const RegFileValue& value : values) Add(RootKey::CurrentUser, userPath + L"Values\\", value.name, FindingAction::DeleteValue);
  Add(RootKey::CurrentUser, userPath + L"Values\\", L"Kept", FindingAction::DeleteValue, RegView::Bits64, false);
  Add(RootKey::CurrentUser, userPath + L"Tree\\", L"", FindingAction::DeleteKey);
  Add(RootKey::LocalMachine, machinePath + L"Tree64\\", L"", FindingAction::DeleteKey);
  Add(RootKey::LocalMachine, machinePath + L"Namesake\\", L"", FindingAction::DeleteKey, RegView::Bits32);
  Add(RootKey::LocalMachine, machinePath, L"Only32", FindingAction::DeleteValue, RegView::Bits32);

  const auto before = ExportTestKeys();
  const RepairResult result = Repair(platform, host, findings, scratch.path() + L"\\backups");
  EXPECT_EQ(result.deletedKeys, 3u);
  EXPECT_EQ(result.deletedValues, values.size() + 1);
  EXPECT_TRUE(findings.Empty());

  // Deleted in the rows' views only.
  auto valuesKey = registry.Open(RootKey::CurrentUser, user.path() + L"\\Values", KEY_READ);
  ASSERT_TRUE(valuesKey);
  EXPECT_EQ(registry.ValueNames(*valuesKey), std::vector<std::wstring>{L"Kept"});
  EXPECT_FALSE(registry.Open(RootKey::LocalMachine, machine.path() + L"\\Namesake", KEY_READ | KEY_WOW64_32KEY));
  EXPECT_EQ(ValueOf(RootKey::LocalMachine, machine.path() + L"\\Namesake", L"Keep", KEY_READ | KEY_WOW64_64KEY),
            MakeStringValue(L"64-bit data"));
  EXPECT_FALSE(ValueOf(RootKey::LocalMachine, machine.path(), L"Only32", KEY_READ | KEY_WOW64_32KEY));
  EXPECT_EQ(ValueOf(RootKey::LocalMachine, machine.path(), L"Only32", KEY_READ | KEY_WOW64_64KEY),
            MakeStringValue(L"64"));
  ASSERT_NE(ExportTestKeys(), before);

  RunRegedit(L"/s " + Quoted(std::filesystem::path(result.backupFile)));
  EXPECT_EQ(ExportTestKeys(), before);
}

}  // namespace qm
