// Component classes: Windows Installer and servicing records whose folders or files
// are gone. Three sections, each walking the subkeys of one key: the source folders
// of installed products, the key paths of components registered for the local system
// account, and the install locations of servicing packages. Every finding deletes one
// value.
#include <array>

#include "platform/file_system.h"
#include "scan/categories/categories.h"
#include "scan/category_scan.h"
#include "text/text_ops.h"

namespace qm {

namespace {

constexpr std::wstring_view kProductsKey = L"\\Installer\\Products\\";
constexpr std::wstring_view kComponentsKey =
    L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\Components\\";
constexpr std::wstring_view kPackagesKey =
    L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based Servicing\\Packages\\";

// The location that a text names is gone: its drive is ready and fixed, remote or a
// RAM disk, and no folder of that path exists.
bool LocationIsGone(const CategoryScan& scan, std::wstring_view text) {
  const std::wstring path = scan.RunPath(text);
  const std::wstring drive = DrivePart(path);
  FileSystem& files = scan.Files();
  if (!files.IsDriveReady(drive.empty() ? L'\0' : drive.front())) return false;
  const DriveType type = scan.DriveTypeOf(drive);
  if (type != DriveType::Fixed && type != DriveType::Remote && type != DriveType::RamDisk) return false;
  return !files.FolderExists(path);
}

// A folder stored as plain text in a value of the open key, reported when it is gone.
void TestLocationValue(CategoryScan& scan, Registry& registry, const std::wstring& keyPath,
                       std::wstring_view valueName) {
  if (scan.Stopped()) return;
  auto location = CategoryScan::ReadPlainString(registry, valueName);
  if (!location || location->empty() || Contains(*location, L"%") || !LocationIsGone(scan, *location)) return;
  scan.Report(registry, {keyPath, std::wstring(valueName), *location, FindingAction::DeleteValue},
              {keyPath, *location});
}

// A product's last-used source folder and its network source folders "1" and "2".
void ScanProduct(CategoryScan& scan, Registry& registry, const std::wstring& product) {
  const std::wstring productKey = std::wstring(kProductsKey) + product;
  scan.ShowItem(productKey);
  const std::wstring sourceList = productKey + L"\\SourceList\\";
  scan.WithOpenKey(registry, sourceList, [&] { TestLocationValue(scan, registry, sourceList, L"LastUsedSource"); });
  const std::wstring network = sourceList + L"Net\\";
  scan.WithOpenKey(registry, network, [&] {
    for (std::wstring_view name : {L"1", L"2"}) TestLocationValue(scan, registry, network, name);
  });
}

// A component key path as an ordinary path: the drive's colon stored as "?" restored,
// and the codes of the registry roots dropped (the root itself is not kept).
std::wstring DecodeComponentPath(std::wstring text) {
  ReplaceAll(text, L"?", L":");
  ReplaceAll(text, L"\\:", L"\\");
  for (std::wstring_view rootCode : {L"20:", L"21:", L"22:", L"02:", L"00:", L"01:"}) ReplaceAll(text, rootCode, L"");
  return text;
}

// Paths that are not tested: empty ones, references, registry and system locations,
// patterns, and keys that exist under one of the three roots.
bool IsPassedOver(const CategoryScan& scan, const std::wstring& path) {
  if (path.empty() || Contains(path, L"%") || path.find_first_of(L"<>*") != std::wstring::npos) return true;
  const std::wstring upper = scan.LocaleUpper(path);
  for (std::wstring_view word : {L"SOFTWARE", L"CLSID", L"SYSTEM", L"TYPELIB", L"RECORD", L"\\.", L"WINDOWS"})
    if (Contains(upper, word)) return true;
  for (RootKey root : {RootKey::LocalMachine, RootKey::CurrentUser, RootKey::ClassesRoot})
    if (scan.NewRegistry(root, access::Read64).KeyExists(L"\\" + path)) return true;
  return false;
}

// Every value of a component key that names a file or folder which is gone.
void ScanComponent(CategoryScan& scan, Registry& registry, const std::wstring& component) {
  const std::wstring componentKey = std::wstring(kComponentsKey) + component + L"\\";
  scan.ShowItem(componentKey);
  scan.WithOpenKey(registry, componentKey, [&] {
    for (const std::wstring& name : registry.GetValueNames()) {
      if (scan.Stopped()) return;
      auto stored = CategoryScan::ReadPlainString(registry, name);
      if (!stored) continue;
      const std::wstring path = DecodeComponentPath(*stored);
      if (IsPassedOver(scan, path) || !LocationIsGone(scan, path) || scan.Files().PathExists(path)) continue;
      scan.Report(registry, {componentKey, name, path, FindingAction::DeleteValue}, {componentKey, path});
    }
  });
}

// A servicing package's install location; its key path has no trailing backslash.
void ScanPackage(CategoryScan& scan, Registry& registry, const std::wstring& package) {
  const std::wstring packageKey = std::wstring(kPackagesKey) + package;
  scan.ShowItem(packageKey);
  scan.WithOpenKey(registry, packageKey, [&] { TestLocationValue(scan, registry, packageKey, L"InstallLocation"); });
}

struct Section {
  RootKey root;
  std::wstring_view path;
  ItemKind items;
  void (*scanItem)(CategoryScan& scan, Registry& registry, const std::wstring& name);
};

constexpr std::array<Section, 3> kSections{{
    {RootKey::ClassesRoot, kProductsKey, ItemKind::SubKeys, &ScanProduct},
    {RootKey::LocalMachine, kComponentsKey, ItemKind::SubKeys, &ScanComponent},
    {RootKey::LocalMachine, kPackagesKey, ItemKind::SubKeys, &ScanPackage},
}};

}  // namespace

void ClassKom(CategoryScan& scan) {
  if (scan.Stopped()) return;
  scan.ScanSources(kSections, access::Read64,
                   [&](const Section& section, Registry& registry, const std::wstring& name) {
                     section.scanItem(scan, registry, name);
                   });
}

}  // namespace qm
