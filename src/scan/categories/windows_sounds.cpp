// Windows sounds: the user's sound-event assignments of the default and the Explorer
// sections, in the current and the default scheme. An event whose sound file is gone
// is reported for deletion of the key's default value.
#include <array>

#include "platform/file_system.h"
#include "platform/shell.h"
#include "scan/categories/categories.h"
#include "scan/category_scan.h"
#include "text/text_ops.h"

namespace qm {

namespace {

constexpr std::wstring_view kDefaultAppKey = L"\\AppEvents\\Schemes\\Apps\\.Default\\";
constexpr std::wstring_view kExplorerKey = L"\\AppEvents\\Schemes\\Apps\\Explorer\\";

// The events below `path`; each event name followed by `scheme` names the key whose
// default value holds the sound.
struct SoundRow {
  RootKey root;
  std::wstring_view path;
  ItemKind items;
  std::wstring_view scheme;
};

constexpr std::array<SoundRow, 4> kRows{{
    {RootKey::CurrentUser, kDefaultAppKey, ItemKind::SubKeys, L"\\.Current\\"},
    {RootKey::CurrentUser, kDefaultAppKey, ItemKind::SubKeys, L"\\.Default\\"},
    {RootKey::CurrentUser, kExplorerKey, ItemKind::SubKeys, L"\\.Default\\"},
    {RootKey::CurrentUser, kExplorerKey, ItemKind::SubKeys, L"\\.Current\\"},
}};

// A bare file name counts as present when the Windows folder's "Media" holds it.
bool SoundIsPresent(const CategoryScan& scan, const std::wstring& sound) {
  FileSystem& files = scan.Files();
  return files.PathExists(scan.RunPath(sound)) ||
         files.PathExists(scan.SpecialFolderPath(csidl::Windows) + L"\\Media\\" + sound);
}

}  // namespace

void Sound(CategoryScan& scan) {
  if (scan.Stopped()) return;
  scan.ScanSources(kRows, access::Read64, [&](const SoundRow& row, Registry& registry, const std::wstring& name) {
    const std::wstring keyPath = std::wstring(row.path) + name + std::wstring(row.scheme);
    scan.ShowItem(keyPath);
    scan.WithOpenKey(registry, keyPath, [&] {
      auto sound = scan.ReadPlainString(registry, L"");
      if (!sound || sound->empty() || Contains(*sound, L"%") || SoundIsPresent(scan, *sound)) return;
      scan.Report(registry, {keyPath, {}, *sound, FindingAction::DeleteValue}, {keyPath, *sound});
    });
  });
}

}  // namespace qm
