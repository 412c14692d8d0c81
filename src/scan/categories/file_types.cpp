// File types: the per-user Explorer records of file extensions, the machine-wide
// class keys, the per-application registrations, their icon and command keys and
// version redirections. Reports keys left empty and keys that point at programs,
// icons or classes that are gone; every finding deletes a whole key.
#include <array>

#include "platform/file_system.h"
#include "scan/categories/categories.h"
#include "scan/category_scan.h"
#include "text/text_ops.h"

namespace qm {

namespace {

constexpr std::wstring_view kFileExtsKey = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\";
constexpr std::wstring_view kClassesKey = L"\\SOFTWARE\\Classes\\";
constexpr std::wstring_view kApplicationsKey = L"\\SOFTWARE\\Classes\\Applications\\";
constexpr std::wstring_view kOpenWithListSuffix = L"\\OpenWithList\\";

enum class FileTypeTest { EmptyKey, ExtensionRecord, Icon, ApplicationCommand, ClassCommand, CurrentVersion };

// One scan row: the subkeys of `path` are walked, and each subkey name followed by
// `suffix` names the key that `test` looks at.
struct FileTypeRow {
  RootKey root;
  std::wstring_view path;
  ItemKind items;
  std::wstring_view suffix;
  FileTypeTest test;
};

constexpr std::array<FileTypeRow, 11> kRows{{
    {RootKey::CurrentUser, kFileExtsKey, ItemKind::SubKeys, kOpenWithListSuffix, FileTypeTest::EmptyKey},
    {RootKey::CurrentUser, kFileExtsKey, ItemKind::SubKeys, L"\\", FileTypeTest::ExtensionRecord},
    {RootKey::LocalMachine, kClassesKey, ItemKind::SubKeys, L"\\", FileTypeTest::EmptyKey},
    {RootKey::LocalMachine, kClassesKey, ItemKind::SubKeys, L"\\DefaultIcon\\", FileTypeTest::Icon},
    {RootKey::LocalMachine, kApplicationsKey, ItemKind::SubKeys, L"\\", FileTypeTest::EmptyKey},
    {RootKey::LocalMachine, kApplicationsKey, ItemKind::SubKeys, L"\\shell\\open\\command\\",
     FileTypeTest::ApplicationCommand},
    {RootKey::LocalMachine, kApplicationsKey, ItemKind::SubKeys, L"\\shell\\play\\command\\",
     FileTypeTest::ApplicationCommand},
    {RootKey::LocalMachine, kApplicationsKey, ItemKind::SubKeys, L"\\shell\\Enqueue\\command\\",
     FileTypeTest::ApplicationCommand},
    {RootKey::LocalMachine, kClassesKey, ItemKind::SubKeys, L"\\shell\\open\\command\\", FileTypeTest::ClassCommand},
    {RootKey::LocalMachine, kClassesKey, ItemKind::SubKeys, L"\\shell\\print\\command\\", FileTypeTest::ClassCommand},
    {RootKey::LocalMachine, kClassesKey, ItemKind::SubKeys, L"\\CurVer\\", FileTypeTest::CurrentVersion},
}};

// The item key under test, open in `registry`.
struct FileTypeItem {
  const FileTypeRow& row;
  const std::wstring& name;  // the subkey of the row's base key
  const std::wstring& keyPath;
};

// The default value of an icon, command or CurVer key, with what the tests need of it.
struct DefaultText {
  std::wstring text;
  std::wstring lower;
  RegKeyInfo info;
};

std::optional<DefaultText> ReadDefaultText(const CategoryScan& scan, Registry& registry) {
  auto text = scan.ReadPlainString(registry, L"");
  if (!text) return std::nullopt;
  std::wstring lower = scan.LocaleLower(*text);
  auto info = registry.GetKeyInfo();
  if (!info) return std::nullopt;
  return DefaultText{std::move(*text), std::move(lower), *info};
}

bool ContainsAny(std::wstring_view text, std::initializer_list<std::wstring_view> parts) {
  for (std::wstring_view part : parts)
    if (Contains(text, part)) return true;
  return false;
}

bool FileIsGone(const CategoryScan& scan, const std::wstring& text) {
  return !scan.Files().PathExists(scan.RunPath(text));
}

// Whether the default text of an icon, command or CurVer key marks the key broken.
bool DefaultTextIsBroken(const CategoryScan& scan, Registry& registry, const FileTypeItem& item,
                         const DefaultText& value) {
  if (item.row.test == FileTypeTest::CurrentVersion)
    return !registry.KeyExists(std::wstring(kClassesKey) + value.text);
  if (value.text.empty() || Contains(value.text, L"%")) return false;
  switch (item.row.test) {
    case FileTypeTest::Icon:
      return value.info.subKeys == 0 && FileIsGone(scan, value.text) &&
             !Contains(scan.LocaleLower(item.name), L"appx") && !Contains(value.lower, L",1");
    case FileTypeTest::ApplicationCommand:
      return !Contains(value.lower, L"rundll32.exe") && FileIsGone(scan, value.text);
    case FileTypeTest::ClassCommand:
      return FileIsGone(scan, value.text) && !ContainsAny(value.lower, {L"rundll32.exe", L"devenv.exe", L"explorer"}) &&
             value.info.values <= 1;
    default: return false;
  }
}

void TestDefaultText(CategoryScan& scan, Registry& registry, const FileTypeItem& item) {
  auto value = ReadDefaultText(scan, registry);
  if (!value || !DefaultTextIsBroken(scan, registry, item, *value)) return;
  scan.Report(registry, {item.keyPath, {}, value->text}, {item.keyPath, value->text});
}

// The extension's own record is empty when it holds no values and its only subkey,
// "OpenWithList", is empty too. Deleting it then loses nothing; a record with other
// subkeys (the user's chosen program, the list of program ids) is left alone.
void TestExtensionRecord(CategoryScan& scan, Registry& registry, const FileTypeItem& item) {
  auto info = registry.GetKeyInfo();
  if (!info || info->values > 0 || info->subKeys != 1) return;
  const std::wstring openWithList = std::wstring(kFileExtsKey) + item.name + std::wstring(kOpenWithListSuffix);
  if (!registry.OpenKey(openWithList) || !scan.KeyIsEmpty(registry)) return;
  scan.Report(registry, {std::wstring(kFileExtsKey) + item.name, {}, {}}, {openWithList});
}

void TestItem(CategoryScan& scan, Registry& registry, const FileTypeItem& item) {
  switch (item.row.test) {
    case FileTypeTest::EmptyKey:
      if (scan.KeyIsEmpty(registry)) scan.Report(registry, {item.keyPath, {}, {}}, {item.keyPath});
      break;
    case FileTypeTest::ExtensionRecord: TestExtensionRecord(scan, registry, item); break;
    default: TestDefaultText(scan, registry, item); break;
  }
}

}  // namespace

void FileExts(CategoryScan& scan) {
  if (scan.Stopped()) return;
  scan.ScanSources(kRows, access::Read64, [&](const FileTypeRow& row, Registry& registry, const std::wstring& name) {
    const std::wstring keyPath = std::wstring(row.path) + name + std::wstring(row.suffix);
    scan.ShowItem(keyPath);
    if (scan.Stopped()) return;
    scan.WithOpenKey(registry, keyPath, [&] { TestItem(scan, registry, {row, name, keyPath}); });
  });
}

}  // namespace qm
