// MUI cache: the display names the shell cached for programs, in two keys of the
// user. Every name cached as plain text without an environment reference is offered
// for deletion of the value, whether or not its program still exists.
#include <array>

#include "scan/categories/categories.h"
#include "scan/category_scan.h"
#include "text/text_ops.h"

namespace qm {

namespace {

constexpr std::array<SourceKey, 2> kCacheKeys{{
    {RootKey::CurrentUser, L"\\Software\\Microsoft\\Windows\\ShellNoRoam\\MUICache\\", ItemKind::Values},
    {RootKey::CurrentUser, L"\\Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell\\MuiCache\\",
     ItemKind::Values},
}};

// The entry of the open cache key, reported when it is plain text without a reference.
void TestCachedName(CategoryScan& scan, Registry& cache, std::wstring_view cacheKey, const std::wstring& name) {
  auto displayName = CategoryScan::ReadPlainString(cache, name);
  if (!displayName) return;
  scan.ShowItem(name);
  if (Contains(*displayName, L"%")) return;
  scan.Report(cache, {std::wstring(cacheKey), name, *displayName, FindingAction::DeleteValue}, {name});
}

}  // namespace

void LoadFromMUI(CategoryScan& scan) {
  if (scan.Stopped()) return;
  scan.ScanSources(kCacheKeys, access::Read64,
                   [&](const SourceKey& cache, Registry& registry, const std::wstring& name) {
                     scan.WithOpenKey(registry, cache.path, [&] { TestCachedName(scan, registry, cache.path, name); });
                   });
}

}  // namespace qm
