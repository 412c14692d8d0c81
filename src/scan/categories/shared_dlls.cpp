// Shared DLLs: the reference-count list of shared libraries, whose value names are
// file paths. A name whose file is gone is reported for deletion of the value.
#include "platform/file_system.h"
#include "scan/categories/categories.h"
#include "scan/category_scan.h"
#include "text/case_mapping.h"
#include "text/text_ops.h"

namespace qm {

namespace {

constexpr std::wstring_view kSharedDllsKey = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs\\";

bool IsHealthy(const CategoryScan& scan, const std::wstring& path) {
  if (Contains(path, L"%") || scan.Files().PathExists(path) || scan.OnRemovableOrCdRom(path)) return true;
  const std::wstring upper = AsciiUpper(path);
  return Contains(upper, L"SYSTEMROOT") || Contains(upper, L"SYSTEM32");
}

}  // namespace

void SharedDLLs(CategoryScan& scan) {
  if (scan.Stopped()) return;
  Registry registry = scan.NewRegistry(RootKey::LocalMachine, access::Read64);
  scan.ScanKeyItems(registry, kSharedDllsKey, ItemKind::Values, ProgressRule::Count, [&](const std::wstring& name) {
    scan.ShowItem(name);
    if (IsHealthy(scan, name)) return;
    scan.Report(registry, {std::wstring(kSharedDllsKey), name, {}, FindingAction::DeleteValue}, {name});
  });
}

}  // namespace qm
