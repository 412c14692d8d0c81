// Firewall: the authorised-applications lists of the domain and the standard
// profile, whose value names are program paths. An entry whose program is gone is
// reported for deletion of the value.
#include <array>

#include "platform/file_system.h"
#include "scan/categories/categories.h"
#include "scan/category_scan.h"
#include "text/text_ops.h"

namespace qm {

namespace {

constexpr std::array<SourceKey, 2> kAuthorizedLists{{
    {RootKey::LocalMachine,
     L"\\SYSTEM\\CurrentControlSet\\Services\\SharedAccess\\Parameters\\FirewallPolicy\\DomainProfile\\"
     L"AuthorizedApplications\\List\\",
     ItemKind::Values},
    {RootKey::LocalMachine,
     L"\\SYSTEM\\CurrentControlSet\\Services\\SharedAccess\\Parameters\\FirewallPolicy\\StandardProfile\\"
     L"AuthorizedApplications\\List\\",
     ItemKind::Values},
}};

// The program named by the entry is gone from a drive that is neither removable nor
// a CD-ROM. A name with an environment reference is never taken as gone.
bool ProgramIsGone(const CategoryScan& scan, const std::wstring& program) {
  if (Contains(program, L"%")) return false;
  const std::wstring path = scan.RunPath(program);
  return !scan.Files().PathExists(path) && !scan.OnRemovableOrCdRom(path);
}

// The entry of the open list, reported when it is plain text and its program is gone.
void TestAuthorizedEntry(CategoryScan& scan, Registry& list, std::wstring_view listKey, const std::wstring& program) {
  auto authorization = CategoryScan::ReadPlainString(list, program);
  if (!authorization || !ProgramIsGone(scan, program)) return;
  scan.Report(list, {std::wstring(listKey), program, *authorization, FindingAction::DeleteValue}, {program});
}

}  // namespace

void FirewallPolicy(CategoryScan& scan) {
  if (scan.Stopped()) return;
  scan.ScanSources(
      kAuthorizedLists, access::Read64, [&](const SourceKey& list, Registry& registry, const std::wstring& program) {
        scan.ShowItem(program);
        scan.WithOpenKey(registry, list.path, [&] { TestAuthorizedEntry(scan, registry, list.path, program); });
      });
}

}  // namespace qm
