#include "platform/substitute/substitute_registry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "latin1_locale.h"
#include "platform/error.h"

namespace qm {

namespace {

using Names = std::vector<std::wstring>;

class SubstituteRegistryTest : public ::testing::Test {
 protected:
  // Creates the key in the view of `accessMask`, with a value "Mark" telling where it was made.
  void Make(RootKey root, std::wstring_view path, std::uint32_t accessMask, std::wstring_view mark = L"") {
    auto key = registry.Create(root, path, accessMask);
    ASSERT_TRUE(key);
    if (!mark.empty()) {
      ASSERT_TRUE(registry.SetValue(*key, L"Mark", MakeStringValue(mark)));
    }
  }
  // The "Mark" value of the key opened in the view of `accessMask`, or "missing".
  std::wstring MarkOf(RootKey root, std::wstring_view path, std::uint32_t accessMask) {
    auto key = registry.Open(root, path, accessMask);
    if (!key) return L"missing";
    auto value = registry.Query(*key, L"Mark");
    return value ? StringFromRegData(value->data) : L"";
  }
  Names SubKeys(RootKey root, std::wstring_view path, std::uint32_t accessMask) {
    auto key = registry.Open(root, path, accessMask);
    return key ? registry.SubKeyNames(*key) : Names{L"missing"};
  }

  SubstituteRegistry registry;
  Latin1Locale locale;
};

}  // namespace

TEST_F(SubstituteRegistryTest, SoftwareHas64And32BitViewsLike64BitWindows) {
  const auto hklm = RootKey::LocalMachine;
  Make(hklm, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", access::AllAccess64, L"64");
  Make(hklm, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", access::Read32 | 0xF003F, L"32");
  Make(hklm, L"Software\\Only32\\", access::AllAccess, L"default");  // no view bits: the 32-bit branch

  EXPECT_EQ(MarkOf(hklm, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs\\", access::Read64), L"64");
  EXPECT_EQ(MarkOf(hklm, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", access::Read32), L"32");
  EXPECT_EQ(MarkOf(hklm, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", access::Read), L"32");
  EXPECT_EQ(MarkOf(hklm, L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", access::Read64),
            L"32");
  EXPECT_EQ(MarkOf(hklm, L"SOFTWARE\\Only32", access::Read64), L"missing");
  EXPECT_EQ(MarkOf(hklm, L"SOFTWARE\\Only32", access::Read32), L"default");
  // The 32-bit view is not redirected twice, and SOFTWARE itself opens the 32-bit branch.
  EXPECT_EQ(MarkOf(hklm, L"software\\wow6432node\\Only32", access::Read32), L"default");
  EXPECT_EQ(SubKeys(hklm, L"SOFTWARE", access::Read32), (Names{L"Microsoft", L"Only32"}));
  EXPECT_EQ(SubKeys(hklm, L"SOFTWARE", access::Read64), (Names{L"Microsoft", L"WOW6432Node"}));

  // Outside HKLM\SOFTWARE both views are the same key.
  Make(hklm, L"SYSTEM\\CurrentControlSet\\Services\\X", access::Read32 | 0xF003F, L"shared");
  Make(RootKey::CurrentUser, L"Software\\X", access::Read32 | 0xF003F, L"user");
  EXPECT_EQ(MarkOf(hklm, L"SYSTEM\\CurrentControlSet\\Services\\X", access::Read64), L"shared");
  EXPECT_EQ(MarkOf(RootKey::CurrentUser, L"Software\\X", access::Read64), L"user");
}

TEST_F(SubstituteRegistryTest, ClassesRootIsTheMachineClassesKeyIn64BitView) {
  Make(RootKey::ClassesRoot, L".xyz", access::Read32 | 0xF003F, L"class");
  EXPECT_EQ(MarkOf(RootKey::LocalMachine, L"SOFTWARE\\Classes\\.xyz", access::Read64), L"class");
  EXPECT_EQ(MarkOf(RootKey::ClassesRoot, L".XYZ", access::Read), L"class");
  EXPECT_EQ(SubKeys(RootKey::ClassesRoot, L"", access::Read64), (Names{L".xyz"}));
  EXPECT_FALSE(registry.DeleteTree(RootKey::ClassesRoot, L"", access::AllAccess64));
  EXPECT_TRUE(registry.DeleteTree(RootKey::ClassesRoot, L".xyz", access::AllAccess));
  EXPECT_EQ(MarkOf(RootKey::LocalMachine, L"SOFTWARE\\Classes\\.xyz", access::Read64), L"missing");
}

TEST_F(SubstituteRegistryTest, NamesIgnoreCaseKeepTheirCaseKeysSortValuesInWriteOrder) {
  auto key = registry.Create(RootKey::CurrentUser, L"Software\\Ключ", access::AllAccess);
  ASSERT_TRUE(key);
  for (auto name : {L"Zeta", L"alpha", L"_first", L"Mid"}) ASSERT_TRUE(registry.Create(RootKey::CurrentUser, std::wstring(L"SOFTWARE\\КЛЮЧ\\") + name, access::AllAccess));
  EXPECT_TRUE(registry.Open(RootKey::CurrentUser, L"software\\ключ\\ALPHA", access::Read));
  EXPECT_EQ(registry.SubKeyNames(*key), (Names{L"_first", L"alpha", L"Mid", L"Zeta"}));

  registry.SetValue(*key, L"Path", MakeStringValue(L"a"));
  registry.SetValue(*key, L"Éte", MakeStringValue(L"b"));
  registry.SetValue(*key, L"", MakeStringValue(L"default"));
  registry.SetValue(*key, L"PATH", MakeStringValue(L"replaced"));  // same value, first spelling kept
  EXPECT_EQ(registry.ValueNames(*key), (Names{L"Path", L"Éte", L""}));
  EXPECT_EQ(registry.Query(*key, L"path"), MakeStringValue(L"replaced"));
  EXPECT_EQ(registry.Query(*key, L"éTE"), MakeStringValue(L"b"));

  // A value deleted and written again goes to the end.
  EXPECT_TRUE(registry.DeleteValue(*key, L"PATH"));
  EXPECT_FALSE(registry.DeleteValue(*key, L"Path"));
  EXPECT_EQ(registry.Query(*key, L"ÉTE"), MakeStringValue(L"b"));  // the values behind it moved up
  EXPECT_EQ(registry.Query(*key, L""), MakeStringValue(L"default"));
  registry.SetValue(*key, L"Path", MakeDwordValue(1));
  EXPECT_EQ(registry.ValueNames(*key), (Names{L"Éte", L"", L"Path"}));
  EXPECT_EQ(registry.Query(*key, L"path"), MakeDwordValue(1));
}

TEST_F(SubstituteRegistryTest, OpenKeysHaveOnlyTheRightsTheyWereOpenedWith) {
  Make(RootKey::CurrentUser, L"Software\\R\\Sub", access::AllAccess, L"x");
  auto reader = registry.Open(RootKey::CurrentUser, L"Software\\R\\Sub", access::Read64);
  ASSERT_TRUE(reader);
  EXPECT_TRUE(registry.Query(*reader, L"Mark"));
  EXPECT_FALSE(registry.SetValue(*reader, L"Mark", MakeDwordValue(1)));
  EXPECT_FALSE(registry.DeleteValue(*reader, L"Mark"));
  auto bare = registry.Open(RootKey::CurrentUser, L"Software\\R", 0);
  ASSERT_TRUE(bare);
  EXPECT_TRUE(registry.SubKeyNames(*bare).empty());
  EXPECT_FALSE(registry.Info(*bare));
}

TEST_F(SubstituteRegistryTest, KeyDeletedWhileOpenJustFails) {
  Make(RootKey::CurrentUser, L"Software\\Doomed\\Child", access::AllAccess, L"x");
  auto child = registry.Open(RootKey::CurrentUser, L"Software\\Doomed\\Child", access::AllAccess);
  ASSERT_TRUE(child);
  ASSERT_TRUE(registry.DeleteTree(RootKey::CurrentUser, L"Software\\Doomed", access::AllAccess));
  EXPECT_FALSE(registry.Query(*child, L"Mark"));
  EXPECT_FALSE(registry.SetValue(*child, L"Mark", MakeDwordValue(1)));
  EXPECT_FALSE(registry.DeleteValue(*child, L"Mark"));
  EXPECT_TRUE(registry.SubKeyNames(*child).empty());
  EXPECT_FALSE(registry.Info(*child));
  // A new key of the same name is another key.
  Make(RootKey::CurrentUser, L"Software\\Doomed\\Child", access::AllAccess);
  EXPECT_FALSE(registry.SetValue(*child, L"Mark", MakeDwordValue(1)));
  EXPECT_FALSE(registry.DeleteTree(RootKey::CurrentUser, L"Software\\Missing", access::AllAccess));
}

TEST_F(SubstituteRegistryTest, DeniedKeyCannotBeOpenedOrDeletedButIsListed) {
  Make(RootKey::LocalMachine, L"SOFTWARE\\Guarded\\Locked\\Inner", access::AllAccess64, L"x");
  ASSERT_TRUE(registry.DenyAccess(RootKey::LocalMachine, L"SOFTWARE\\Guarded\\Locked", RegView::Bits64));
  EXPECT_FALSE(registry.DenyAccess(RootKey::LocalMachine, L"SOFTWARE\\Guarded\\Nothing", RegView::Bits64));
  EXPECT_FALSE(registry.Open(RootKey::LocalMachine, L"SOFTWARE\\Guarded\\Locked", access::Read64));
  EXPECT_FALSE(registry.Create(RootKey::LocalMachine, L"SOFTWARE\\Guarded\\Locked", access::AllAccess64));
  EXPECT_EQ(MarkOf(RootKey::LocalMachine, L"SOFTWARE\\Guarded\\Locked\\Inner", access::Read64), L"x");
  EXPECT_EQ(SubKeys(RootKey::LocalMachine, L"SOFTWARE\\Guarded", access::Read64), (Names{L"Locked"}));
  EXPECT_FALSE(registry.DeleteTree(RootKey::LocalMachine, L"SOFTWARE\\Guarded", access::AllAccess64));
  EXPECT_EQ(MarkOf(RootKey::LocalMachine, L"SOFTWARE\\Guarded\\Locked\\Inner", access::Read64), L"x");
  EXPECT_EQ(registry.ExportRegText(RootKey::LocalMachine, L"SOFTWARE\\Guarded", RegView::Bits64),
            L"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Guarded]\r\n\r\n");
}

TEST_F(SubstituteRegistryTest, InfoCountsNamesInCharactersAndDataInBytes) {
  auto key = registry.Create(RootKey::CurrentUser, L"Software\\Info", access::AllAccess);
  ASSERT_TRUE(key);
  Make(RootKey::CurrentUser, L"Software\\Info\\ab", access::AllAccess);
  Make(RootKey::CurrentUser, L"Software\\Info\\Ж\U0001F600", access::AllAccess);  // three UTF-16 units
  registry.SetValue(*key, L"Name", MakeStringValue(L"12345"));                     // 12 bytes
  registry.SetValue(*key, L"Longer name", MakeDwordValue(7));
  const auto info = registry.Info(*key);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->subKeys, 2u);
  EXPECT_EQ(info->maxSubKeyLen, 3u);
  EXPECT_EQ(info->values, 2u);
  EXPECT_EQ(info->maxValueNameLen, 11u);
  EXPECT_EQ(info->maxValueLen, 12u);
  EXPECT_GT(info->lastWriteTime, 130000000000000000ull);  // after 2012
}

TEST_F(SubstituteRegistryTest, RegeditExportLoadsAndSavesByteIdentical) {
  const std::filesystem::path fixture = std::filesystem::path(QM_FIXTURES) / "registry" / "regedit_export.reg";
  registry.LoadRegFile(fixture, locale);
  const auto saved = std::filesystem::temp_directory_path() / ("qm_saved_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".reg");
  registry.SaveRegFile(saved, RootKey::CurrentUser, L"Software\\QuillmereFixture", RegView::Bits64);
  auto read = [](const std::filesystem::path& path) {
    std::ifstream stream(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
  };
  EXPECT_EQ(read(saved), read(fixture));
  std::filesystem::remove(saved);

  EXPECT_THROW(registry.LoadRegFile(fixture / "missing.reg", locale), Error);
  EXPECT_THROW(registry.ExportRegText(RootKey::CurrentUser, L"Software\\Missing", RegView::Bits64), Error);
}

TEST_F(SubstituteRegistryTest, ImportAppliesDeletionsAndExportNamesKeysAsAsked) {
  registry.ImportRegText(
      L"Windows Registry Editor Version 5.00\r\n\r\n"
      L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\App]\r\n\"Kept\"=\"1\"\r\n\"Dropped\"=\"2\"\r\n\r\n"
      L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\App\\Old]\r\n\r\n"
      L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\App]\r\n\"Bits\"=dword:00000040\r\n\r\n"
      L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\App]\r\n\"Dropped\"=-\r\n\r\n"
      L"[-HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\App\\Old]\r\n",
      locale);
  EXPECT_EQ(registry.ExportRegText(RootKey::LocalMachine, L"\\SOFTWARE\\App\\", RegView::Bits32),
            L"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\App]\r\n\"Kept\"=\"1\"\r\n\r\n");
  EXPECT_EQ(registry.ExportRegText(RootKey::LocalMachine, L"SOFTWARE\\App", RegView::Bits64),
            L"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\App]\r\n"
            L"\"Bits\"=dword:00000040\r\n\r\n");
  EXPECT_THROW(registry.ImportRegText(L"REGEDIT4\r\n[HKEY_CURRENT_USER\\X]\r\n\"a\"=hex:zz\r\n", locale), Error);
}

// The registry object over the substitute.
class RegistryObjectTest : public SubstituteRegistryTest {
 protected:
  void SetUp() override {
    registry.ImportRegText(
        L"Windows Registry Editor Version 5.00\r\n\r\n"
        L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor]\r\n"
        L"\"Sz\"=\"C:\\\\%WINDIR%\\\\a.exe\"\r\n"
        L"\"Cut\"=hex(1):41,00,00,00,42,00,00,00\r\n"
        L"\"Expand\"=hex(2):25,00,54,00,25,00,00,00,5a,00,00,00\r\n"
        L"\"Dword\"=dword:fffffffe\r\n"
        L"\"Multi\"=hex(7):41,00,00,00,00,00\r\n"
        L"\"Binary\"=hex:01\r\n"
        L"\"Qword\"=hex(b):01,00,00,00,00,00,00,00\r\n\r\n"
        L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App]\r\n\"Where\"=\"64\"\r\n\r\n"
        L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App\\Nested\\Deeper]\r\n\r\n"
        L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Vendor\\App]\r\n\"Where\"=\"32\"\r\n\r\n",
        locale);
  }
  Registry object{registry, RootKey::LocalMachine, access::Read64};
};

TEST_F(RegistryObjectTest, LeadingBackslashStartsAtTheRootOtherPathsBelowTheCurrentKey) {
  ASSERT_TRUE(object.OpenKey(L"\\SOFTWARE\\Vendor\\"));
  ASSERT_TRUE(object.OpenKey(L"App"));
  EXPECT_EQ(object.CurrentPath(), L"SOFTWARE\\Vendor\\App");
  EXPECT_EQ(object.ReadString(L"Where"), L"64");
  EXPECT_TRUE(object.KeyExists(L"Nested\\Deeper"));
  EXPECT_FALSE(object.KeyExists(L"\\Nested"));
  EXPECT_FALSE(object.OpenKey(L"\\SOFTWARE\\Missing"));
  EXPECT_EQ(object.CurrentPath(), L"SOFTWARE\\Vendor\\App");  // a failed open keeps the current key
  EXPECT_EQ(object.GetKeyNames(), (Names{L"Nested"}));
  ASSERT_TRUE(object.OpenKey(L"\\SOFTWARE\\Vendor\\App"));
  object.SetAccess(access::Read32);
  EXPECT_TRUE(object.KeyExists(L"\\SOFTWARE\\Vendor\\App"));
  EXPECT_FALSE(object.KeyExists(L"Nested"));  // below the current key, in the 32-bit view
  ASSERT_TRUE(object.OpenKey(L"\\SOFTWARE\\Vendor\\App\\"));
  EXPECT_EQ(object.ReadString(L"Where"), L"32");
  object.CloseKey();
  object.CloseKey();
  EXPECT_TRUE(object.GetValueNames().empty());
  EXPECT_FALSE(object.GetKeyInfo());
}

TEST_F(RegistryObjectTest, ReadsFollowTheValueKinds) {
  ASSERT_TRUE(object.OpenKey(L"\\SOFTWARE\\Vendor"));
  EXPECT_EQ(object.ReadString(L"Sz"), L"C:\\%WINDIR%\\a.exe");  // not expanded
  EXPECT_EQ(object.ReadString(L"Cut"), L"A");
  EXPECT_EQ(object.ReadString(L"Expand"), L"%T%");
  EXPECT_EQ(object.ReadString(L"Missing"), L"");
  EXPECT_EQ(object.ReadInteger(L"Dword"), -2);
  for (auto name : {L"Dword", L"Multi", L"Binary", L"Qword"}) {
    try {
      object.ReadString(name);
      ADD_FAILURE() << "no error for a non-string value";
    } catch (const Error& error) {
      EXPECT_EQ(error.Message(), std::wstring(L"Invalid data type for '") + name + L"'");
    }
  }
  for (auto name : {L"Sz", L"Missing", L"Binary"}) EXPECT_THROW(object.ReadInteger(name), Error);

  struct Kind {
    const wchar_t* name;
    RegDataKind kind;
  };
  for (auto k : {Kind{L"Sz", RegDataKind::String}, Kind{L"Cut", RegDataKind::String},
                 Kind{L"Expand", RegDataKind::ExpandString}, Kind{L"Dword", RegDataKind::Integer},
                 Kind{L"Binary", RegDataKind::Binary}, Kind{L"Multi", RegDataKind::Unknown},
                 Kind{L"Qword", RegDataKind::Unknown}, Kind{L"Missing", RegDataKind::Unknown}})
    EXPECT_EQ(object.GetDataType(k.name), k.kind) << k.name;
  EXPECT_TRUE(object.ValueExists(L"multi"));
  EXPECT_FALSE(object.ValueExists(L"Missing"));
}

TEST_F(RegistryObjectTest, DeleteKeyRemovesTheSubtreeInTheObjectsViewOnly) {
  object.SetAccess(access::AllAccess64);
  ASSERT_TRUE(object.OpenKey(L"\\SOFTWARE\\Vendor"));
  EXPECT_FALSE(object.DeleteKey(L"\\"));
  EXPECT_TRUE(object.DeleteKey(L"\\SOFTWARE\\Vendor\\App\\"));
  EXPECT_FALSE(object.KeyExists(L"\\SOFTWARE\\Vendor\\App\\Nested\\Deeper"));
  EXPECT_FALSE(object.DeleteKey(L"\\SOFTWARE\\Vendor\\App"));
  object.SetAccess(access::Read32);
  ASSERT_TRUE(object.OpenKey(L"\\SOFTWARE\\Vendor\\App"));
  EXPECT_EQ(object.ReadString(L"Where"), L"32");

  object.SetAccess(access::AllAccess64);
  ASSERT_TRUE(object.OpenKey(L"\\SOFTWARE\\Vendor"));
  EXPECT_TRUE(object.DeleteValue(L"Binary"));
  EXPECT_FALSE(object.DeleteValue(L"Binary"));
  EXPECT_FALSE(object.ValueExists(L"Binary"));
}

}  // namespace qm
