// Codecs: the multimedia driver table, one value per driver alias whose text is the
// driver's file name or path. An entry whose file is gone is reported for deletion
// of the value. Only plain strings are tested.
#include "platform/file_system.h"
#include "scan/categories/categories.h"
#include "scan/category_scan.h"
#include "text/text_ops.h"

namespace qm {

namespace {

constexpr std::wstring_view kDrivers32Key = L"\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32\\";
// Findings name the key without its trailing backslash.
constexpr std::wstring_view kFindingKey = L"\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32";

bool IsPresent(const CategoryScan& scan, const std::wstring& driver) {
  if (Contains(driver, L"%") || scan.Files().PathExists(driver)) return true;
  const std::wstring path = scan.RunPath(driver);
  return scan.Files().PathExists(path) || scan.OnRemovableOrCdRom(path);
}

// The key stays open while its values are tested.
void TestDrivers(CategoryScan& scan, Registry& registry, const std::vector<std::wstring>& aliases) {
  scan.StartProgress(aliases.size(), ProgressRule::CountMinusOne);
  scan.ForEachItem(aliases, [&](const std::wstring& alias) {
    scan.ProcessMessages();
    scan.TestFileValue(registry, kFindingKey, alias, TextTypes::StringOnly,
                       [&](const std::wstring& driver) { return IsPresent(scan, driver); });
  });
  scan.FinishProgress();
}

}  // namespace

void Codec(CategoryScan& scan) {
  if (scan.Stopped()) return;
  Registry registry = scan.NewRegistry(RootKey::LocalMachine, access::Read64);
  const auto aliases = scan.ReadItemNames(registry, kDrivers32Key, ItemKind::Values);
  if (!aliases || !registry.OpenKey(kDrivers32Key)) return;
  TestDrivers(scan, registry, *aliases);
  registry.CloseKey();
}

}  // namespace qm
