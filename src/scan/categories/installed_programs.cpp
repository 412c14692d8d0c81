// Installed programs: string values of installation records (uninstall entries,
// installer product records, INF-setup backups, new Start-menu shortcuts, installer
// patch sources) that name a file or folder which is gone. Each finding deletes only
// the offending value, never the record's key.
#include <array>
#include <span>

#include "platform/file_system.h"
#include "scan/categories/categories.h"
#include "scan/category_scan.h"
#include "text/text_ops.h"

namespace qm {

namespace {

// What a value names. An uninstall command with a "{" (a product code in braces)
// is not tested at all; otherwise it names a file.
enum class Target { Folder, File, UninstallCommand };

struct TestedValue {
  std::wstring_view name;
  Target target;
};

// A key whose subkeys are records (each opened as the key's path, a backslash, the
// subkey name and `recordSuffix`, and tested on `values` in order), or whose values
// each name a file.
struct RecordSource {
  RootKey root;
  std::wstring_view path;
  ItemKind items;
  std::wstring_view recordSuffix;
  std::span<const TestedValue> values;
};

constexpr std::array kUninstallValues{
    TestedValue{L"InstallSource", Target::Folder},   TestedValue{L"InstallLocation", Target::Folder},
    TestedValue{L"DisplayIcon", Target::File},       TestedValue{L"Readme", Target::File},
    TestedValue{L"UninstallString", Target::UninstallCommand},
};
constexpr std::array kProductValues{TestedValue{L"InstallSource", Target::Folder}};
constexpr std::array kInfSetupValues{
    TestedValue{L"BackupPath", Target::Folder},
    TestedValue{L"BackupFileName", Target::File},
    TestedValue{L"InstallINFFile", Target::File},
};
constexpr std::array kPatchValues{TestedValue{L"1", Target::Folder}};

// Scanned in this order, with one progress run over the items of all of them.
constexpr std::array kSources{
    // Uninstall
    RecordSource{RootKey::LocalMachine, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", ItemKind::SubKeys,
                 L"", kUninstallValues},
    // Installer UserData
    RecordSource{RootKey::LocalMachine,
                 L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\Products\\",
                 ItemKind::SubKeys, L"\\InstallProperties\\", kProductValues},
    // Advanced INF Setup
    RecordSource{RootKey::LocalMachine, L"SOFTWARE\\Microsoft\\Advanced INF Setup\\", ItemKind::SubKeys, L"\\",
                 kInfSetupValues},
    // StartPage NewShortcuts
    RecordSource{RootKey::CurrentUser, L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartPage\\NewShortcuts\\",
                 ItemKind::Values, L"", {}},
    // Installer Patches
    RecordSource{RootKey::ClassesRoot, L"\\Installer\\Patches\\", ItemKind::SubKeys, L"\\SourceList\\Net\\",
                 kPatchValues},
};

// The source's path taken from the root: with a leading and a trailing backslash.
std::wstring RootedPath(std::wstring_view path) {
  std::wstring rooted(path);
  if (!rooted.starts_with(L'\\')) rooted.insert(0, 1, L'\\');
  if (!rooted.ends_with(L'\\')) rooted += L'\\';
  return rooted;
}

bool TargetExists(const CategoryScan& scan, Target target, const std::wstring& path) {
  return target == Target::Folder ? scan.Files().FolderExists(path) : scan.Files().PathExists(path);
}

// Reports the value when its text names something missing on a fixed drive.
void ReportMissingPath(CategoryScan& scan, const Registry& registry, const std::wstring& keyPath,
                       std::wstring_view valueName, Target target, const std::wstring& text) {
  if (scan.Stopped() || text.empty() || Contains(text, L"%") || Contains(scan.LocaleLower(text), L"rundll32")) return;
  if (target == Target::UninstallCommand && Contains(text, L"{")) return;
  if (TargetExists(scan, target, text)) return;
  const std::wstring path = scan.RunPath(text);
  if (TargetExists(scan, target, path) || scan.OnRemovableOrCdRom(path)) return;
  scan.Report(registry, {keyPath, std::wstring(valueName), text, FindingAction::DeleteValue}, {keyPath, text});
}

// Tests a string value of the open key.
void TestValue(CategoryScan& scan, Registry& registry, const std::wstring& keyPath, const TestedValue& value) {
  if (scan.Stopped()) return;
  const auto text = CategoryScan::ReadPlainString(registry, value.name);
  if (!text) return;
  scan.ShowItem(*text);
  ReportMissingPath(scan, registry, keyPath, value.name, value.target, *text);
}

void TestItem(CategoryScan& scan, const RecordSource& source, Registry& registry, const std::wstring& name) {
  const bool isRecord = source.items == ItemKind::SubKeys;
  const std::wstring keyPath = isRecord ? RootedPath(source.path) + name + std::wstring(source.recordSuffix)
                                        : std::wstring(source.path);
  if (!registry.OpenKey(keyPath)) return;
  if (isRecord)
    for (const TestedValue& value : source.values) TestValue(scan, registry, keyPath, value);
  else
    TestValue(scan, registry, keyPath, {name, Target::File});
  registry.CloseKey();
}

}  // namespace

void LoadUninstall(CategoryScan& scan) {
  if (scan.Stopped()) return;
  scan.ScanSources(kSources, access::Read64,
                   [&](const RecordSource& source, Registry& registry, const std::wstring& name) {
                     scan.ProcessMessages();
                     scan.ShowItem(name);
                     TestItem(scan, source, registry, name);
                   });
}

}  // namespace qm
